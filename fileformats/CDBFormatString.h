#ifndef PLYSTRAND_FILEFORMATS_CDBFORMATSTRING_H
#define PLYSTRAND_FILEFORMATS_CDBFORMATSTRING_H

#include "layuplib/CVekTemplateList.h"

// CDBFormatString: one Fortran-style format line of a CDB block, such as
// "(3i8,6e16.9)": per item its repeat count (at least 1), type letter,
// field width in characters and precision, in the order written. Only the
// counts and widths steer reading; letter and precision are kept.
class CDBFormatString {
  public:
    // Largest field width accepted.
    enum { MAX_WIDTH = 1000 };

    CDBFormatString() : m_count(10), m_type(10), m_width(10), m_precision(10) {}
    CDBFormatString(const CDBFormatString&) = delete;
    CDBFormatString& operator=(const CDBFormatString&) = delete;

    // Parses `text` (any former items are dropped). Per item after the "(":
    // a repeat count (digits; 1 when absent or 0), the type letter (any
    // character), the width (digits; 0 when absent), optionally "." and the
    // precision; a "," starts the next item, any other character ends the
    // parse (so "(3i9,6e21.13e3)" gives (3, i, 9, 0) and (6, e, 21, 13)).
    // Returns 0 when parsed; 1 when the text does not start with "(" (no
    // items); 2 when the line is refused (no items): an item of width 0 or
    // above MAX_WIDTH, or a digit run of more than 9 digits.
    int Parse(const char* text);

    // The four values of item i (0-based); nothing is written for an i
    // outside 0..GetNumFormats()-1.
    void GetFormat(int i, int& count, char& type, int& width, int& precision) const;
    int GetNumFormats() const { return m_count.GetSize(); }

  private:
    void clear();

    CVekTemplateList<int> m_count;
    CVekTemplateList<char> m_type;
    CVekTemplateList<int> m_width;
    CVekTemplateList<int> m_precision;
};

// Reads the run of decimal digits at the start of `text` into `value` (0
// when the text does not start with a digit; -1 when the run has more than
// 9 digits, which an int might not hold) and returns the position after the
// run.
const char* GetNumber(const char* text, int& value);

#endif  // PLYSTRAND_FILEFORMATS_CDBFORMATSTRING_H
