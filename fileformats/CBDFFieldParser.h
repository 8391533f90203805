#ifndef PLYSTRAND_FILEFORMATS_CBDFFIELDPARSER_H
#define PLYSTRAND_FILEFORMATS_CBDFFIELDPARSER_H

#include <cstdint>
#include <string>
#include <vector>

#include "fileformats/CBDFFields.h"

class CF06EchoBulk;
class CF06File;
class CF06FileBuffer;

// CBDFFieldParser: splits the lines of one bulk data card into a
// CBDFFields table.
//
// Line layouts:
//  - small field: cols 1-8 the name, 8 fields of 8 columns up to col 72,
//    cols 73-80 the continuation field;
//  - large field (a "*" in cols 1-8): 4 fields of 16 columns, the next line
//    (starting with "*") holds the other 4;
//  - free field (a "," in cols 1-8): fields separated by commas, up to 16
//    characters each, "$" ends the line; the whole line is read, 10 fields
//    to a row (name or mark, 8 data fields, continuation field).
// A tab advances to the next 8-column stop. Blanks inside a field are
// dropped; texts are taken in upper case. A field whose text begins with a
// digit, "-", "." or a "+" before a digit or a point and digit is a
// number (a double when it holds a "." or an exponent "E"/"e" after a
// digit, as "1e7", else an int up to the first non-digit); any other text
// a text. Continuation marks (a row's first field, the field after column
// 72 and the tenth field of a free-field row) are texts as written, a
// leading "+" included. A free-field line that ends with a comma after its
// tenth field keeps that field as its continuation mark.
// Each physical line (a large-field pair) gives one row; continuation
// lines begin with a blank, "*", "+" or ",", or follow a line whose
// continuation field is set; a line beginning with a letter always starts
// a new card. Comment lines ("$" first) inside a card are skipped.
class CBDFFieldParser {
  public:
    // Line formats.
    enum EFormat { eSmall = 0, eLarge = 1, eFree = 2 };

    CBDFFieldParser();
    virtual ~CBDFFieldParser();
    CBDFFieldParser(const CBDFFieldParser&) = delete;
    CBDFFieldParser& operator=(const CBDFFieldParser&) = delete;

    // Reads the card whose first line starts at pos into the table (reset
    // first) and returns the position where the next card starts. A
    // comment line or an empty line gives a table without rows. A number
    // out of range (an overflowing real or an int beyond the int range)
    // is kept as 0 and reported by GetError.
    std::int64_t Parse(std::int64_t pos, CF06FileBuffer& buffer);

    // Splits one line (n characters, tabs already expanded, no line end)
    // into the table. `format` in: eLarge when the line is the second half
    // of a large-field line, else anything; out: the format for the next
    // line (eLarge after a large first half, else eSmall). `continuation`
    // out: 1 when the line announces a continuation.
    void ParseRow(const char* line, int n, int& format, int& continuation);

    // The value of a bulk data number: blanks skipped, optional sign,
    // digits, "." and fraction, then an exponent given by "E"/"e" with an
    // optional sign or directly by "+" or "-" ("1.5-3" is 0.0015, "7.+2"
    // is 700). Reading stops at the first other character. A total
    // exponent below -390 gives 0; a value beyond the double range gives
    // an infinity.
    static double tod(const char* text);

    // Takes the column offset and echo file of a printed-output bulk echo
    // (defined with the printed-output reader).
    void SetF06Parameters(CF06EchoBulk* echo);

    // The table of the last card.
    CBDFFields& GetFields() { return m_fields; }
    const CBDFFields& GetFields() const { return m_fields; }

    // Line numbers (from 1) for messages: SetLineNumber gives the number of
    // the line at the next position handed to Parse; GetCardLine the line
    // on which the last card began.
    void SetLineNumber(std::int64_t line) { m_lineNo = line - 1; }
    std::int64_t GetCardLine() const { return m_cardLine; }

    // 0, or 1 when the last card held a number out of range; GetErrorText
    // then gives that field's text.
    int GetError() const { return m_error; }
    const char* GetErrorText() const { return m_errorText.c_str(); }

    // Whether the last line split ends inside a number whose exponent has
    // no digits yet ("1.5E", "7.+"): where the file ends there, the line
    // was cut.
    bool EndsInsideNumber() const { return m_cutNumber; }

  private:
    // Takes the line at pos (without its end) into m_text / m_textLen:
    // straight in the window, or built in m_line when tabs are expanded or
    // the line crosses windows (the text is valid until the window moves).
    // Returns the position of the next line.
    std::int64_t ReadLine(CF06FileBuffer& buffer, std::int64_t pos);
    // First character of the card text of the line at pos ('\n' for a line
    // too short, 0 at the end of the input).
    char FirstChar(CF06FileBuffer& buffer, std::int64_t pos);
    // Adds one field from n characters of text; a continuation mark
    // (`mark`) keeps a leading "+" as text.
    void AddField(const char* text, int n, bool mark = false);
    void Echo();

    CBDFFields m_fields;
    int m_colOffset;
    CF06EchoBulk* m_echoBulk;
    CF06File* m_echoFile;
    std::vector<char> m_line;
    const char* m_text;
    int m_textLen;
    std::int64_t m_lineNo;
    std::int64_t m_cardLine;
    int m_error;
    std::string m_errorText;
    bool m_cutNumber;
    bool m_openLine;  // the line read last ends the file without its line end
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFFIELDPARSER_H
