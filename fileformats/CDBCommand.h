#ifndef PLYSTRAND_FILEFORMATS_CDBCOMMAND_H
#define PLYSTRAND_FILEFORMATS_CDBCOMMAND_H

#include <vector>

#include "layuplib/CKpStr.h"
#include "layuplib/CVekTemplateArray.h"
#include "layuplib/CVekTemplateList.h"

// CDBCommand: one command of a CDB file as the command parser delivers it:
// the command word, its comma-separated arguments (trimmed; empty fields
// count) and the rows of block data that follow it, each a list of reals in
// file order. Rows are kept in one contiguous array (no allocation per row);
// each row remembers the file line it came from.
//
// Rows the parser had to drop (a row cut inside a field, a NUL byte, a
// refused format line) are not stored; each leaves an error text naming its
// line (GetError), for the reader to report.
class CDBCommand {
  public:
    CDBCommand();
    virtual ~CDBCommand();
    CDBCommand(const CDBCommand&) = delete;
    CDBCommand& operator=(const CDBCommand&) = delete;

    // The command word ("ET", "NBLOCK", "/PREP7", ...), trimmed.
    CKpStr& Name() { return m_name; }
    const CKpStr& Name() const { return m_name; }
    // Line number of the command line (from 1).
    int Line() const { return m_line; }
    void SetLine(int line) { m_line = line; }

    // ---- arguments
    // Appends a copy of `text` (null adds nothing).
    void AddArgument(const char* text);
    int GetNumArguments() const { return m_args.GetSize(); }
    // Argument i (from 0; -1 the last); null when there is none.
    CKpStr* GetArgument(int i) const { return m_args[i]; }
    // The argument's text, "" when it does not exist.
    const char* GetArgumentText(int i) const;
    // atoi / atof of the argument; 0 / 0.0 when it does not exist.
    int GetArgumentAsInteger(int i) const;
    double GetArgumentAsDouble(int i) const;

    // ---- block rows
    // Appends the values of `values` as a new row (file line 0) and deletes
    // the list (the command takes it over). Null adds nothing.
    void AddBlockValues(CVekTemplateList<double>* values);
    // Starts a new, empty row read from file line `line`; AddValue appends to
    // the last row started.
    void BeginRow(int line);
    void AddValue(double v) { m_values.push_back(v); }
    // Removes the last row (with its values).
    void DropLastRow();
    int GetNumRows() const { return static_cast<int>(m_rowStart.size()); }
    // Number of values of row `row` (-1 the last); 0 outside the rows.
    int GetRowSize(int row) const;
    // File line of row `row` (-1 the last); 0 outside the rows.
    int GetRowLine(int row) const;
    // Value `col` of row `row` (-1 the last row); 0.0 when the row has fewer
    // than col + 1 values or does not exist.
    double GetBlockValue(int row, int col) const;

    // ---- dropped rows
    void AddError(const char* text);
    int GetNumErrors() const { return m_errors.GetSize(); }
    const char* GetError(int i) const;

    // Deletes the arguments, rows and errors; the name is emptied.
    void Clear();

  private:
    int rowIndex(int row) const { return row == -1 ? GetNumRows() - 1 : row; }

    CKpStr m_name;
    int m_line;
    CVekTemplateArray<CKpStr> m_args;
    std::vector<double> m_values;
    std::vector<size_t> m_rowStart;
    std::vector<int> m_rowLine;
    CVekTemplateArray<CKpStr> m_errors;
};

#endif  // PLYSTRAND_FILEFORMATS_CDBCOMMAND_H
