#ifndef PLYSTRAND_F06PARSER_CF06FIELDPARSER_H
#define PLYSTRAND_F06PARSER_CF06FIELDPARSER_H

#include <cstdint>

#include "F06Parser/CF06FieldVariant.h"
#include "layuplib/CVekTemplateArray.h"

class CF06FileBuffer;

// CF06FieldParser: splits one line of a printed report into fields
// separated by blanks and tabs (the line ends at a 0 byte, CR or LF). A
// field holds at most 20 characters; a longer run continues as a new field.
// A field that begins with a digit, or "-" and a digit, is a number (a
// double when it holds ".", else an int); anything else is a text. The
// variants are reused from line to line.
class CF06FieldParser {
  public:
    CF06FieldParser();
    virtual ~CF06FieldParser();
    CF06FieldParser(const CF06FieldParser&) = delete;
    CF06FieldParser& operator=(const CF06FieldParser&) = delete;

    // Splits the line at pos. 0.
    int Parse(std::int64_t pos, CF06FileBuffer& buffer);
    // Number of fields of the current line.
    int GetSize() const { return m_count; }
    // The type tag of field i (-1: the last field); empty outside.
    int GetType(int i) const { return (*this)[i].GetType(); }
    // Field i (-1: the last one), or an empty variant.
    const CF06FieldVariant& operator[](int i) const;

  private:
    // The splitting, over any source of the line's bytes by position.
    template <class Byte>
    void Split(std::int64_t pos, Byte byte);

    CVekTemplateArray<CF06FieldVariant> m_fields;
    int m_count;
    CF06FieldVariant m_empty;
};

#endif  // PLYSTRAND_F06PARSER_CF06FIELDPARSER_H
