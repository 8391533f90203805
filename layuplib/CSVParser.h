#ifndef PLYSTRAND_LAYUPLIB_CSVPARSER_H
#define PLYSTRAND_LAYUPLIB_CSVPARSER_H

#include <cstdio>
#include <string>
#include <vector>

namespace SolidElements {

// CSVParser: reads comma-separated text one logical line at a time. Bytes
// are taken as they stand (no encoding is assumed).
//
// Line rules: a line ends at a line feed (also inside quotes) or at the end
// of the file; carriage returns are dropped; a line whose first non-blank
// character is the comment character ("#") is skipped; a double quote opens
// a quoted part, in which a comma is text, two double quotes give one, and a
// single double quote closes it (quote characters are not kept); a comma
// outside quotes ends a field; fields are not trimmed. An empty line gives
// one empty field.
class CSVParser {
  public:
    CSVParser() = default;
    ~CSVParser();
    CSVParser(const CSVParser&) = delete;
    CSVParser& operator=(const CSVParser&) = delete;

    // Opens `path` for reading (closing a file already open). 0; 1 for a
    // null path; 2 when the file cannot be opened.
    int Open(const char* path);
    // Closes the file when one is open.
    void Close();

    // Clears `fields` and reads the next logical line into it. 0 with the
    // fields; 1 when no file is open; 2 at the end of the file, when no
    // character of a new line could be read. May throw std::bad_alloc.
    int ReadNextLine(std::vector<std::string>& fields);

  private:
    std::FILE* m_file = nullptr;
    char m_comment = '#';
};

}  // namespace SolidElements

#endif  // PLYSTRAND_LAYUPLIB_CSVPARSER_H
