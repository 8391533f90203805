#ifndef PLYSTRAND_FILEFORMATS_CESACOMPRESULTS_H
#define PLYSTRAND_FILEFORMATS_CESACOMPRESULTS_H

#include <memory>
#include <string>
#include <vector>

#include "fileformats/CESACompResTable.h"
#include "fileformats/CXMLParser.h"
#include "fileformats/CXMLParserChild.h"
#include "layuplib/CKpStr.h"

// CESACompResults: an ESAComp results document. Inside the first OBJECT
// element, an EVAR named "VRIM_Name" gives the results name and every
// DTABLE with a name attribute a table whose tr rows hold td cells: element
// id, value, failure mode, critical layer. Cell text is collected from the
// cell's start to its end tag (text may arrive in many pieces), trimmed of
// white space and cut to 128 characters. A row without a positive integer
// id is skipped with a warning (Warnings()).
class CESACompResults : public CXMLParser {
  public:
    CESACompResults();
    ~CESACompResults() override;

    // 0; 1 for a null path; 2 when Create fails (LastError says why).
    int Load(const char* path);

    // The table becomes the current table (null ignored; owned).
    void AddTable(CESACompResTable* table);
    // Appends to the current table (owned); without one the row is dropped.
    void AddTableRow(CESACompResTRow* row);
    int GetNumTables() const { return static_cast<int>(m_tables.size()); }
    CESACompResTable* GetTable(int i) const;
    const char* GetName() const { return m_name; }
    void SetName(const char* name) { m_name = name; }
    // Warnings about rows skipped, in document order.
    const std::vector<std::string>& Warnings() const { return m_warnings; }
    void AddWarning(const std::string& text) { m_warnings.push_back(text); }

  protected:
    void OnStartElement(const char* name, const char** attributes) override;
    void OnEndElement(const char* name) override;
    void OnData(const char* text, int length) override;

  private:
    CXMLParserChild* m_current;
    std::vector<std::unique_ptr<CXMLParserChild>> m_handlers;
    std::vector<std::unique_ptr<CESACompResTable>> m_tables;
    CESACompResTable* m_currentTable;
    CKpStr m_name;
    std::vector<std::string> m_warnings;
};

#endif
