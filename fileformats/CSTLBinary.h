#ifndef PLYSTRAND_FILEFORMATS_CSTLBINARY_H
#define PLYSTRAND_FILEFORMATS_CSTLBINARY_H

#include <cstdint>

#include "fileformats/CSTLParser.h"

// CSTLBinary: the binary form of STL for its parser (numbers little-endian):
// an 80-byte header, the facet count (unsigned 32-bit), then 50 bytes per
// facet: normal, vertex 1, 2, 3 (three floats each) and a 2-byte attribute.
class CSTLBinary {
  public:
    explicit CSTLBinary(CSTLParser* parser) : m_parser(parser) {}

    // Reads the facets. A count of 0 adds nothing and succeeds. Each facet
    // needs its full 50 bytes: when the data end first, the complete facets
    // stay, the error "STL file '<name>' declares <n> facets but holds only
    // <k>." is given and -1 returned. A facet with a coordinate that is not
    // finite is dropped with an error naming it (-1 at the end). 0 otherwise.
    int Parse();

    // Header of 76 blanks and "TEST", the total facet count, per facet the
    // normal and vertices as floats and two zero bytes. 0; -1 when a write
    // fails.
    int Write();

  private:
    static std::int64_t NextLongInteger(const unsigned char* bytes);
    static float NextFloat(const unsigned char* bytes);
    // The nine vertex floats of a 50-byte record (bytes 12-47).
    static void NextFacet(CSTLParser::CSTLFacet& facet, const unsigned char* record);
    static unsigned char* WriteLongInteger(std::uint32_t value, unsigned char* bytes);
    static unsigned char* WriteFloat(float value, unsigned char* bytes);

    CSTLParser* m_parser;
};

#endif  // PLYSTRAND_FILEFORMATS_CSTLBINARY_H
