#include "layuplib/CVekAddinModuleEnumerator.h"

#include <cstring>

#include "platform/PlatModule.h"

namespace {

using InstantiateFn = int (*)(const char*, const char*, void**);

// Asks `module` for the pair through its export: the object, or null when
// the module lacks the export, refuses, or throws.
void* AskModule(PlatModule* module, const char* component, const char* interfaceName) {
    void* symbol = PlatModuleSymbol(module, "InstantiateVekAddIn");
    if (!symbol) return nullptr;
    InstantiateFn instantiate = reinterpret_cast<InstantiateFn>(symbol);
    void* object = nullptr;
    try {
        if (instantiate(component, interfaceName, &object) != 0) return nullptr;
    } catch (...) {
        return nullptr;
    }
    return object;
}

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
    m_finder.Close();
    return 0;
}

int CVekAddinModuleEnumerator::Next() {
    if (m_position < static_cast<int>(m_components.size())) ++m_position;
    if (m_position < static_cast<int>(m_components.size())) return 0;
    // The module scan resumes where the last one stopped: within the open
    // folder, else with the folder at the cursor.
    for (;;) {
        if (!m_finder.IsValid()) {
            if (m_folderCursor >= static_cast<int>(m_folders.size())) break;
            const std::string& folder = m_folders[m_folderCursor++];
            if (m_finder.SetPath(folder.c_str()) != 0 || m_finder.SetMask(PlatModuleMask()) != 0 ||
                m_finder.FindFirst() != 0)
                continue;
        } else if (m_finder.FindNext() != 0) {
            m_finder.Close();
            continue;
        }
        if (m_finder.IsDirectory()) continue;
        if (ListModule(m_finder.GetFullFilePath())) {
            m_position = 0;
            return 0;
        }
    }
    m_components.clear();
    m_interfaces.clear();
    m_position = 0;
    return 1;
}

bool CVekAddinModuleEnumerator::ListModule(const char* path) {
    m_components.clear();
    m_interfaces.clear();
    PlatModule* module = PlatModuleLoad(path);
    if (!module) return false;
    void* object = AskModule(module, "VekAddinEnumerator", "IVekAddinEnumerator");
    if (object) {
        IVekAddinEnumerator* enumerator = static_cast<IVekAddinEnumerator*>(object);
        try {
            char component[256];
            char interfaceName[256];
            while (enumerator->Next() == 0) {
                if (enumerator->GetComponent(component, sizeof(component)) != 0 ||
                    enumerator->GetInterface(interfaceName, sizeof(interfaceName)) != 0)
                    break;
                // Terminated here too: a module may ignore the length.
                component[sizeof(component) - 1] = '\0';
                interfaceName[sizeof(interfaceName) - 1] = '\0';
                m_components.emplace_back(component);
                m_interfaces.emplace_back(interfaceName);
            }
        } catch (...) {
            m_components.clear();
            m_interfaces.clear();
        }
        // The module's code goes away below: its object must be gone first.
        try {
            enumerator->Release();
        } catch (...) {
        }
    }
    PlatModuleUnload(module);
    return !m_components.empty();
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
    for (PlatModule* module : m_modules) {
        if (void* object = AskModule(module, component, interfaceName)) {
            *out = object;
            return 0;
        }
    }
    // Only the listed folders are searched: an empty path searches none, so
    // an unknown pair never loads whatever lies in the working folder.
    try {
        for (const std::string& folder : m_folders) {
            CPLFindFile finder;
            if (finder.SetPath(folder.c_str()) != 0 || finder.SetMask(PlatModuleMask()) != 0)
                continue;
            for (int r = finder.FindFirst(); r == 0; r = finder.FindNext()) {
                if (finder.IsDirectory()) continue;
                std::string path = finder.GetFullFilePath();
                bool kept = false;
                for (const std::string& keptPath : m_modulePaths) kept = kept || keptPath == path;
                if (kept) continue;  // already asked above
                PlatModule* module = PlatModuleLoad(path.c_str());
                if (!module) continue;
                m_modules.reserve(m_modules.size() + 1);
                m_modulePaths.reserve(m_modulePaths.size() + 1);
                if (void* object = AskModule(module, component, interfaceName)) {
                    // Both lists have room and the path moves: no append throws.
                    m_modules.push_back(module);
                    m_modulePaths.push_back(std::move(path));
                    *out = object;
                    return 0;
                }
                PlatModuleUnload(module);
            }
        }
    } catch (...) {
        // Out of memory while searching: nothing supplied.
    }
    return 0;
}

int CVekAddinModuleEnumerator::Clear() {
    for (PlatModule* module : m_modules) PlatModuleUnload(module);
    m_modules.clear();
    m_modulePaths.clear();
    return 0;
}

const char* CVekAddinModuleEnumerator::GetKeptModulePath(int i) const {
    if (i < 0 || i >= static_cast<int>(m_modulePaths.size())) return nullptr;
    return m_modulePaths[i].c_str();
}
