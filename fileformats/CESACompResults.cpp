#include "fileformats/CESACompResults.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "layuplib/number_text.h"

namespace {

const size_t kCellChars = 128;

std::string Trim(const std::string& s) {
    const char* ws = " \t\r\n";
    const size_t a = s.find_first_not_of(ws);
    if (a == std::string::npos) return "";
    const size_t b = s.find_last_not_of(ws);
    return s.substr(a, b - a + 1);
}

// The bounds of `text` without leading and trailing white space.
void TrimBounds(const std::string& text, size_t& first, size_t& length) {
    const char* ws = " \t\r\n";
    first = text.find_first_not_of(ws);
    if (first == std::string::npos) {
        first = 0;
        length = 0;
        return;
    }
    length = text.find_last_not_of(ws) - first + 1;
}

// A positive decimal integer filling the whole text, else 0.
int PositiveId(const std::string& text) {
    if (text.empty()) return 0;
    int id;
    // Plain digits, the common case, without strtol.
    if (ParseInt(text.data(), text.size(), id)) return id >= 1 ? id : 0;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < 1 || v > INT_MAX) return 0;
    return static_cast<int>(v);
}

CESACompResults* Doc(CXMLParserChild* h) {
    return static_cast<CESACompResults*>(h->GetDocument());
}

// EVAR named "VRIM_Name": its text, trimmed, names the results.
class CESACompResEVAR : public CXMLParserChild {
  public:
    CESACompResEVAR() { SetElementName("EVAR"); }
    void OnChildData(const char* text, int length) override { m_text.append(text, length); }
    void OnEndChildElement(const char* name) override {
        if (std::strcmp(name, "EVAR") == 0) Doc(this)->SetName(Trim(m_text).c_str());
    }

  private:
    std::string m_text;
};

// DTABLE: tr rows of td cells, applied when each cell ends.
class CESACompResDTABLE : public CXMLParserChild {
  public:
    explicit CESACompResDTABLE(const char* table) : m_table(table) { SetElementName("DTABLE"); }

    CXMLParserChild* OnStartChildElement(const char* name, const char**) override {
        if (std::strcmp(name, "tr") == 0) {
            m_row.reset(new CESACompResTRow);
            ++m_rowNumber;
            m_column = -1;
            m_inCell = false;
        } else if (std::strcmp(name, "td") == 0) {
            ++m_column;
            m_cell.clear();
            m_inCell = true;
        }
        return nullptr;
    }

    void OnChildData(const char* text, int length) override {
        // Only the characters that can be kept are collected, after leading
        // white space, so a huge cell costs no memory.
        if (!m_inCell || !m_row) return;
        m_cell.append(text, length);
        if (m_cell.size() > 4 * kCellChars) m_cell = Trim(m_cell).substr(0, 2 * kCellChars);
    }

    void OnEndChildElement(const char* name) override {
        if (std::strcmp(name, "td") == 0) {
            m_inCell = false;
            if (m_row) {
                // Trim(m_cell).substr(0, kCellChars), in a buffer kept from
                // cell to cell.
                size_t first, length;
                TrimBounds(m_cell, first, length);
                m_text.assign(m_cell, first, length < kCellChars ? length : kCellChars);
                Apply(m_text);
            }
        } else if (std::strcmp(name, "tr") == 0 && m_row) {
            if (m_row->GetElementId() > 0) {
                Doc(this)->AddTableRow(m_row.release());
            } else {
                Doc(this)->AddWarning("Table " + m_table + ", row " + std::to_string(m_rowNumber) +
                                      ": no positive element id, row skipped");
                m_row.reset();
            }
        }
    }

  private:
    void Apply(const std::string& text) {
        switch (m_column) {
            case 0:
                m_row->SetElementId(PositiveId(text));
                break;
            case 1: {
                // A whole number as strtod reads it; otherwise strtod's
                // reading of its start.
                double value;
                if (!ParseReal(text.data(), text.size(), value))
                    value = std::strtod(text.c_str(), nullptr);
                m_row->SetValue(value);
                break;
            }
            case 2:
                m_row->SetFailureMode(text.c_str());
                break;
            case 3:
                m_row->SetCriticalLayer(text.c_str());
                break;
            default:
                break;
        }
    }

    std::string m_table;
    int m_rowNumber = 0;
    std::unique_ptr<CESACompResTRow> m_row;
    std::string m_cell;
    std::string m_text;  // the trimmed cell
    int m_column = -1;
    bool m_inCell = false;
};

class CESACompResObject : public CXMLParserChild {
  public:
    CESACompResObject() { SetElementName("OBJECT"); }
    CXMLParserChild* OnStartChildElement(const char* name, const char** attributes) override {
        const char* attr = CXMLParser::GetAttributeValue(attributes, "name");
        if (std::strcmp(name, "EVAR") == 0 && attr && std::strcmp(attr, "VRIM_Name") == 0)
            return new CESACompResEVAR;
        if (std::strcmp(name, "DTABLE") == 0 && attr) {
            Doc(this)->AddTable(new CESACompResTable(attr));
            return new CESACompResDTABLE(attr);
        }
        return nullptr;
    }
};

}  // namespace

CESACompResults::CESACompResults() : m_current(nullptr), m_currentTable(nullptr) {}
CESACompResults::~CESACompResults() = default;

int CESACompResults::Load(const char* path) {
    if (!path) return 1;
    return Create(path) != 0 ? 2 : 0;
}

void CESACompResults::AddTable(CESACompResTable* table) {
    if (!table) return;
    m_tables.emplace_back(table);
    m_currentTable = table;
}

void CESACompResults::AddTableRow(CESACompResTRow* row) {
    if (!m_currentTable) {
        delete row;
        return;
    }
    m_currentTable->AddRow(row);
}

CESACompResTable* CESACompResults::GetTable(int i) const {
    return i >= 0 && i < GetNumTables() ? m_tables[i].get() : nullptr;
}

void CESACompResults::OnStartElement(const char* name, const char** attributes) {
    CXMLParserChild* handler = nullptr;
    if (m_current) {
        handler = m_current->OnStartChildElement(name, attributes);
        if (handler) handler->SetParent(m_current);
    } else if (std::strcmp(name, "OBJECT") == 0) {
        handler = new CESACompResObject;
    }
    if (!handler) return;
    handler->SetDocument(this);
    m_handlers.emplace_back(handler);
    m_current = handler;
}

void CESACompResults::OnEndElement(const char* name) {
    if (m_handlers.size() <= 1) return;
    m_current->OnEndChildElement(name);
    if (std::strcmp(m_current->GetElementName(), name) == 0) {
        m_handlers.pop_back();
        m_current = m_handlers.back().get();
    }
}

void CESACompResults::OnData(const char* text, int length) {
    if (m_current) m_current->OnChildData(text, length);
}
