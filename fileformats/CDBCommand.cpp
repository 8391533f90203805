#include "fileformats/CDBCommand.h"

#include <cstdlib>

CDBCommand::CDBCommand() : m_line(0), m_args(10, 1), m_errors(10, 1) {}

CDBCommand::~CDBCommand() = default;

void CDBCommand::AddArgument(const char* text) {
    if (!text) return;
    CKpStr* arg = new CKpStr(text);
    if (m_args.Add(arg) < 0) delete arg;
}

const char* CDBCommand::GetArgumentText(int i) const {
    const CKpStr* arg = m_args[i];
    return arg ? static_cast<const char*>(*arg) : "";
}

int CDBCommand::GetArgumentAsInteger(int i) const {
    return std::atoi(GetArgumentText(i));
}

double CDBCommand::GetArgumentAsDouble(int i) const {
    return std::atof(GetArgumentText(i));
}

void CDBCommand::AddBlockValues(CVekTemplateList<double>* values) {
    if (!values) return;
    BeginRow(0);
    for (int i = 0; i < values->GetSize(); ++i) AddValue((*values)[i]);
    delete values;
}

void CDBCommand::BeginRow(int line) {
    m_rowStart.push_back(m_values.size());
    m_rowLine.push_back(line);
}

void CDBCommand::DropLastRow() {
    if (m_rowStart.empty()) return;
    m_values.resize(m_rowStart.back());
    m_rowStart.pop_back();
    m_rowLine.pop_back();
}

int CDBCommand::GetRowSize(int row) const {
    row = rowIndex(row);
    if (row < 0 || row >= GetNumRows()) return 0;
    const size_t end = row + 1 < GetNumRows() ? m_rowStart[row + 1] : m_values.size();
    return static_cast<int>(end - m_rowStart[row]);
}

int CDBCommand::GetRowLine(int row) const {
    row = rowIndex(row);
    if (row < 0 || row >= GetNumRows()) return 0;
    return m_rowLine[row];
}

double CDBCommand::GetBlockValue(int row, int col) const {
    row = rowIndex(row);
    if (col < 0 || col >= GetRowSize(row)) return 0.0;
    return m_values[m_rowStart[row] + col];
}

void CDBCommand::AddError(const char* text) {
    CKpStr* e = new CKpStr(text ? text : "");
    if (m_errors.Add(e) < 0) delete e;
}

const char* CDBCommand::GetError(int i) const {
    const CKpStr* e = m_errors[i];
    return e ? static_cast<const char*>(*e) : "";
}

void CDBCommand::Clear() {
    m_name = "";
    m_line = 0;
    m_args.DeleteAll();
    m_values.clear();
    m_rowStart.clear();
    m_rowLine.clear();
    m_errors.DeleteAll();
}
