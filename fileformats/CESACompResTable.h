#ifndef PLYSTRAND_FILEFORMATS_CESACOMPRESTABLE_H
#define PLYSTRAND_FILEFORMATS_CESACOMPRESTABLE_H

#include <memory>
#include <vector>

#include "fileformats/CESACompResTRow.h"
#include "layuplib/CKpStr.h"

// CESACompResTable: a named table of an ESAComp results document; owns its
// rows, in document order.
class CESACompResTable {
  public:
    explicit CESACompResTable(const char* name) : m_name(name) {}
    const char* GetName() const { return m_name; }
    int GetNumRows() const { return static_cast<int>(m_rows.size()); }
    // Row i, or null outside 0..GetNumRows()-1.
    CESACompResTRow* GetRow(int i) const {
        return i >= 0 && i < GetNumRows() ? m_rows[i].get() : nullptr;
    }
    // Takes ownership; null is ignored.
    void AddRow(CESACompResTRow* row) {
        if (row) m_rows.emplace_back(row);
    }

  private:
    CKpStr m_name;
    std::vector<std::unique_ptr<CESACompResTRow>> m_rows;
};

#endif
