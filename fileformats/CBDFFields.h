#ifndef PLYSTRAND_FILEFORMATS_CBDFFIELDS_H
#define PLYSTRAND_FILEFORMATS_CBDFFIELDS_H

#include <memory>
#include <vector>

#include "F06Parser/CF06FieldVariant.h"

class CF06FileBuffer;

// CBDFFields: the fields of one bulk data card as a table of rows. Row 0 is
// the line with the card name: col 0 the name (or, in further rows, the
// continuation mark), cols 1 to 8 the data fields, col 9 the continuation
// field. The card objects decide which value goes where.
//
// Rows and field objects come from pools that are reused: Reset forgets
// the rows without freeing anything, so a reader that parses millions of
// cards allocates only while the largest card grows the pools.
class CBDFFields {
  public:
    CBDFFields();
    ~CBDFFields();
    CBDFFields(const CBDFFields&) = delete;
    CBDFFields& operator=(const CBDFFields&) = delete;

    // No rows, no fields (the pools stay).
    void Reset();
    // Starts the next row; fields are added to it from now on.
    void AddNewRow();
    // Appends a field to the current row (a row is started when there is
    // none). The text is copied; a null text adds an empty field.
    void Add(int value);
    void Add(double value);
    void Add(const char* text);
    // An empty field.
    void Add();
    // A cleared field appended to the current row, for the caller to set.
    CF06FieldVariant* GetNewField() {
        if (!m_current || m_nFields == static_cast<int>(m_fields.size())) return GrowField();
        CF06FieldVariant* field = m_fields[m_nFields++].get();
        field->Clear();
        m_current->push_back(field);
        return field;
    }

    // Number of rows in use.
    int GetRows() const { return m_nRows; }
    // Number of fields in row `row` (-1: the last row); 0 for a row that
    // does not exist.
    int GetCols(int row) const;
    // The field at (row, col), or null when the position does not exist or
    // the field is empty.
    const CF06FieldVariant* GetValue(int row, int col) const {
        if (row < 0 || row >= m_nRows || col < 0 || col >= static_cast<int>(m_rows[row].size()))
            return nullptr;
        const CF06FieldVariant* field = m_rows[row][col];
        return field->IsEmpty() ? nullptr : field;
    }
    // The number at (row, col) (an int widened, a double truncated), or
    // `def` when the position does not exist or the field is empty or a
    // text.
    double GetValue(int row, int col, double def) const {
        const CF06FieldVariant* field = GetValue(row, col);
        return field && field->IsNumber() ? field->ToDouble() : def;
    }
    int GetValue(int row, int col, int def) const {
        const CF06FieldVariant* field = GetValue(row, col);
        return field && field->IsNumber() ? field->ToInt() : def;
    }
    // The text at (row, col), or null.
    const char* GetString(int row, int col) const;

    // Writes every row in use in small field (8 columns) or, when a double
    // of the row needs more than 8 characters, large field (16 columns):
    // col 0 and col 9 8 wide (a "*" after them in large field), the data
    // fields padded to the width, doubles in the format's short form (see
    // FormatDouble), 4 fields per line in large field with "*" lines for
    // the rest, and a closing "*" line after a last large row of fewer than
    // 6 fields. 0, or -1 when a write failed.
    int Write(CF06FileBuffer& out) const;

    // The bulk data text of `value` into out (room for 17 bytes): "%#.14G"
    // without the exponent's "E" and leading zeros ("1.-5"), trailing
    // mantissa zeros removed ("1."), no "0" before the point (".5"), at
    // most 16 characters; zero is "0.". Returns the length.
    static int FormatDouble(double value, char* out);

  private:
    // GetNewField when a row must be started or the pool grown.
    CF06FieldVariant* GrowField();

    std::vector<std::vector<CF06FieldVariant*>> m_rows;
    int m_nRows;
    std::vector<CF06FieldVariant*>* m_current;
    std::vector<std::unique_ptr<CF06FieldVariant>> m_fields;
    int m_nFields;
    mutable std::vector<char> m_out;  // Write's line, kept between calls
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFFIELDS_H
