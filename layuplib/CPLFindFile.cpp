#include "layuplib/CPLFindFile.h"

#include <cstdlib>

#include "layuplib/CPLStringUtils.h"

namespace {

bool endsWith(const std::string& text, const char* tail) {
    std::string t(tail);
    return text.size() >= t.size() && text.compare(text.size() - t.size(), t.size(), t) == 0;
}

}  // namespace

CPLFindFile::CPLFindFile()
    : m_hSearch(nullptr),
      m_Record{std::string(), 0u, 0u},
      m_pszMask(nullptr),
      m_szSeparator{'/', '\0'} {}

CPLFindFile::~CPLFindFile() {
    Close();
    std::free(m_pszMask);
}

int CPLFindFile::SetPath(const char* directory) {
    Close();
    if (!directory) return 1;
    try {
        m_strPath = directory;
    } catch (...) {
        return 1;
    }
    return 0;
}

int CPLFindFile::SetMask(const char* mask) {
    if (!mask) return 1;
    char* copy = CPLStringUtils::StrDup(mask);
    if (!copy) return 1;
    std::free(m_pszMask);
    m_pszMask = copy;
    return 0;
}

void CPLFindFile::SetFullPath() {
    m_strFullPath = m_strPath;
    if (!endsWith(m_strPath, m_szSeparator)) m_strFullPath += m_szSeparator;
    m_strFullPath += m_Record.name;
}

int CPLFindFile::FindFirst() {
    Close();
    try {
        std::string pattern = m_strPath;
        if (m_pszMask) {
            if (!endsWith(pattern, m_szSeparator)) pattern += m_szSeparator;
            pattern += m_pszMask;
        }
        m_hSearch = PlatFindFirst(pattern.c_str(), &m_Record);
        if (!m_hSearch) return 1;
        SetFullPath();
    } catch (...) {
        Close();
        return 1;
    }
    return 0;
}

int CPLFindFile::FindNext() {
    if (!m_hSearch) return 1;
    PlatFindRecord next;
    if (PlatFindNext(m_hSearch, &next) != 0) return 1;
    try {
        m_Record = next;
        SetFullPath();
    } catch (...) {
        Close();
        return 1;
    }
    return 0;
}

void CPLFindFile::Close() {
    PlatFindClose(m_hSearch);
    m_hSearch = nullptr;
    m_Record.name.clear();
    m_Record.attributes = 0;
    m_Record.sizeLow = 0;
    m_strFullPath.clear();
}
