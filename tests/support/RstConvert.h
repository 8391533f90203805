#ifndef PLYSTRAND_TESTS_SUPPORT_RSTCONVERT_H
#define PLYSTRAND_TESTS_SUPPORT_RSTCONVERT_H

#include <string>

// Conversion of ANSYS results files between the solver's internal
// (little-endian) form and the external (big-endian) form the reader takes.
//
// The file is copied record by record (record lengths in 4-byte words, as
// from release 10 on): the three framing words are byte-swapped as 4-byte
// ints, the data by the type in the record's flag word (8-byte units for
// doubles, 4 for ints and single-precision reals, 2 for short ints), and
// the standard header's word 1 (the file format) is set. A length word of
// -1 marks the end of the records: it and the rest of the file are swapped
// as 4-byte words (a remainder of fewer than 4 bytes is copied). Converting
// a file to the external form and back gives the original bytes when the
// original format word is the one given back.
namespace rstfile {

// `internal` to the external form in `external` (format word 1). false,
// with the reason in `why` when given, for a compressed record or a record
// whose framing does not hold (length, footer, data not whole units).
bool ToExternal(const std::string& internal, std::string& external, std::string* why = nullptr);

// `external` back to the internal form in `internal`, its format word set
// to `formatWord` (-1 as current releases write). false as above.
bool ToInternal(const std::string& external, std::string& internal, int formatWord = -1,
                std::string* why = nullptr);

}  // namespace rstfile

#endif  // PLYSTRAND_TESTS_SUPPORT_RSTCONVERT_H
