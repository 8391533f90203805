#ifndef PLYSTRAND_FILEFORMATS_CDBPARSER_H
#define PLYSTRAND_FILEFORMATS_CDBPARSER_H

#include <cstdint>
#include <string>
#include <vector>

#include "F06Parser/CF06TextBuffer.h"
#include "layuplib/CKpStr.h"

class CDBCommand;
class CDBFormatString;

// CDBParser: turns an ANSYS CDB file into a sequence of commands. A command
// is one line, a name and comma-separated arguments ("ET,1,181"), followed
// by rows of block data: free comma-separated numbers, or numbers in fixed
// columns under one or more format lines such as "(3i8,6e16.9)". Text after
// "!" is a comment. The parser keeps one line of look-ahead: the line that
// ends a command's block is pushed back and starts the next command.
//
// The CDB writer uses the same object to open, write and close its file.
//
// Rows the parser cannot take are dropped with an error text naming the
// file line, delivered with the command (CDBCommand::GetError) while reading
// goes on: a fixed-column row that ends inside a field (characters other
// than blanks in a field cut by the line end; rows that leave off whole
// trailing fields are complete), rows under a refused format line, and a
// line holding a NUL byte (the line is dropped). Lines end at LF, CR LF or
// CR.
class CDBParser {
  public:
    CDBParser();
    // Closes the file (waiting output is written).
    virtual ~CDBParser();
    CDBParser(const CDBParser&) = delete;
    CDBParser& operator=(const CDBParser&) = delete;

    // Opens `path` for reading. 0; 1 with the last error "Wrong arguments"
    // for a null path; 2 with "Unable to open file <path>" when it cannot be
    // opened.
    int OpenRead(const char* path);
    // Opens `path` for writing (text mode when `binary` is 0); codes and
    // texts as OpenRead.
    int OpenWrite(const char* path, int binary);
    // Closes the file. 0; -1 when a write or the close failed.
    int Close();
    // Buffered write of `text` without its terminator. 0; -1 when a write
    // of this file has failed (now or before).
    int Write(const char* text);
    int Write(const char* text, int n);

    // Reads the next command with its block rows into `cmd` (cleared first;
    // its line number set). Returns
    //   0  a command was read and the line after it belongs to the next one;
    //  -1  the file ended before another command (`cmd` empty);
    //   1  a parse error: the last error is set ("This parser doesn't
    //      support condensed format" for a "$" outside a comment, "Was
    //      expecting a line after format on line N" when the file ends
    //      after a format line); or, with the last error left as it was, the
    //      file ended right after the command or inside its block data (the
    //      command is complete and usable).
    int GetNextCommand(CDBCommand& cmd);

    // Line number of the line read last (from 1; every line counts, empty
    // ones too).
    int GetLineCount() const { return m_lineNo; }

    // Empty until an operation fails; each failure overwrites it.
    CKpStr m_lastError;

  private:
    // The next non-empty line into m_line (the pushed-back one first).
    // false at the end of the file.
    bool NextLine();
    // One physical line into m_line; false at the end of the file. A line
    // holding a NUL byte is dropped with an error and the next one taken.
    bool ReadLine();
    void ParseCommmandArguments(CDBCommand& cmd);
    int ParseCommandBlocks(CDBCommand& cmd);
    void ParseCommandBlock(CDBCommand& cmd);
    int ParseCommandBlockFormat(std::vector<CDBFormatString*>& formats, bool& refused);
    int ParseCommandFormatBlocks(const std::vector<CDBFormatString*>& formats, bool refused,
                                 CDBCommand& cmd);
    void ParseCommandFormatBlock(const std::vector<CDBFormatString*>& formats, CDBCommand& cmd);
    void AddError(CDBCommand& cmd, const char* format, ...) __attribute__((format(printf, 3, 4)));

    CF06TextBuffer m_text;
    CKpStr m_line;
    CKpStr m_argText;
    int m_pushedBack;
    int m_lineNo;
    int m_curLine;  // line number of m_line
    std::int64_t m_pos;
    std::string m_scratch;
    std::vector<std::string> m_pendingErrors;
};

// atof of the `end - begin` characters at `begin` (no terminator needed):
// leading blanks skipped, the longest number prefix taken, 0.0 when none.
double CdbAtof(const char* begin, const char* end);

#endif  // PLYSTRAND_FILEFORMATS_CDBPARSER_H
