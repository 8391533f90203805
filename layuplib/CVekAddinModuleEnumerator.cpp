#include "layuplib/CVekAddinModuleEnumerator.h"

#include <cstring>

namespace {

int CopyName(const std::string& name, char* buffer, int len) {
    if (!buffer || len < 1) return 1;
    const size_t copied = name.size() < static_cast<size_t>(len) - 1 ? name.size() : len - 1;
    std::memcpy(buffer, name.data(), copied);
    buffer[copied] = '\0';
    return 0;
}

}  // namespace

CVekAddinModuleEnumerator::CVekAddinModuleEnumerator()
    : m_refCount(0), m_position(-1), m_folderCursor(0) {}

CVekAddinModuleEnumerator::~CVekAddinModuleEnumerator() {
    Clear();
}

int CVekAddinModuleEnumerator::AddRef() {
    ++m_refCount;
    return 0;
}

int CVekAddinModuleEnumerator::Release() {
    if (--m_refCount > 0) return m_refCount;
    delete this;
    return 0;
}

int CVekAddinModuleEnumerator::QueryInterface(const char* interfaceName, void** out) {
    if (!out) return 1;
    if (interfaceName && std::strcmp(interfaceName, "IVekAddinEnumerator") == 0) {
        *out = static_cast<IVekAddinEnumerator*>(this);
        return 0;
    }
    *out = nullptr;
    return 1;
}

int CVekAddinModuleEnumerator::Reset() {
    m_position = -1;
    m_folderCursor = 0;
    m_components.clear();
    m_interfaces.clear();
    return 0;
}

int CVekAddinModuleEnumerator::Next() {
    ++m_position;
    if (m_position < static_cast<int>(m_components.size())) return 0;
    // The module scan: every folder counts as scanned, and no module is
    // loaded, so nothing further is listed.
    m_folderCursor = static_cast<int>(m_folders.size());
    m_position = static_cast<int>(m_components.size());
    return 1;
}

int CVekAddinModuleEnumerator::GetComponent(char* buffer, int len) {
    if (m_position < 0 || m_position >= static_cast<int>(m_components.size())) return 1;
    return CopyName(m_components[m_position], buffer, len);
}

int CVekAddinModuleEnumerator::GetInterface(char* buffer, int len) {
    if (m_position < 0 || m_position >= static_cast<int>(m_components.size())) return 1;
    if (m_position >= static_cast<int>(m_interfaces.size())) return 2;
    return CopyName(m_interfaces[m_position], buffer, len);
}

int CVekAddinModuleEnumerator::SetSearchPath(const char* path) {
    if (!path) return 1;
    try {
        std::vector<std::string> folders;
        const char* start = path;
        for (const char* p = path;; ++p) {
            if (*p != ';' && *p != '\0') continue;
            if (p > start) folders.emplace_back(start, p);
            if (*p == '\0') break;
            start = p + 1;
        }
        m_searchPath = path;
        m_folders.swap(folders);
    } catch (...) {
        return 1;
    }
    return 0;
}

const char* CVekAddinModuleEnumerator::GetSearchFolder(int i) const {
    if (i < 0 || i >= static_cast<int>(m_folders.size())) return nullptr;
    return m_folders[i].c_str();
}

int CVekAddinModuleEnumerator::Instantiate(const char* component, const char* interfaceName,
                                           void** out) {
    if (!component || !interfaceName || !out) return 1;
    *out = nullptr;
    if (std::strcmp(component, "VekAddinModuleEnumerator") == 0 &&
        std::strcmp(interfaceName, "IVekAddinEnumerator") == 0) {
        AddRef();
        Reset();
        *out = static_cast<IVekAddinEnumerator*>(this);
        return 0;
    }
    return 0;
}

int CVekAddinModuleEnumerator::Clear() {
    return 0;
}
