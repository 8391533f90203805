#include "layuplib/CVekAddinManager.h"

#include <cstring>

#include "layuplib/CVekAddinModuleEnumerator.h"
#include "layuplib/IVekUnknown.h"

namespace {

int CopyName(const std::string& name, char* buffer, int len) {
    const size_t copied = name.size() < static_cast<size_t>(len) - 1 ? name.size() : len - 1;
    std::memcpy(buffer, name.data(), copied);
    buffer[copied] = '\0';
    return 0;
}

}  // namespace

CVekAddinManager::CVekAddinManager() {
    Create("");
}

CVekAddinManager::~CVekAddinManager() {
    Clear();
}

int CVekAddinManager::SetSearchPath(const char* path) {
    if (!path) return 1;
    if (!*this) return Create(path);
    return ModifySearchPath(path);
}

int CVekAddinManager::AddBuiltin(const char* component, const char* interfaceName,
                                 IVekUnknown* object) {
    if (!component || !interfaceName || !object) return 1;
    try {
        m_builtinComponents.reserve(m_builtinComponents.size() + 1);
        m_builtinInterfaces.reserve(m_builtinInterfaces.size() + 1);
        m_builtinObjects.reserve(m_builtinObjects.size() + 1);
        std::string c(component), i(interfaceName);
        // Nothing below throws, so the three lists stay parallel.
        m_builtinComponents.push_back(std::move(c));
        m_builtinInterfaces.push_back(std::move(i));
        m_builtinObjects.push_back(object);
    } catch (...) {
        return 1;
    }
    object->AddRef();
    return 0;
}

int CVekAddinManager::Clear() {
    for (IVekUnknown* object : m_builtinObjects) object->Release();
    m_builtinObjects.clear();
    m_builtinComponents.clear();
    m_builtinInterfaces.clear();
    CVekAddin::Clear();
    return 0;
}

int CVekAddinManager::CreateEnumerateList() {
    m_enumComponents.clear();
    m_enumInterfaces.clear();
    try {
        for (size_t k = 0; k < m_builtinComponents.size(); ++k) {
            m_enumComponents.push_back(m_builtinComponents[k]);
            m_enumInterfaces.push_back(m_builtinInterfaces[k]);
        }
        if (m_moduleEnumerator) {
            m_moduleEnumerator->Reset();
            char component[128];
            char interfaceName[128];
            while (m_moduleEnumerator->Next() == 0) {
                if (m_moduleEnumerator->GetComponent(component, sizeof(component)) != 0 ||
                    m_moduleEnumerator->GetInterface(interfaceName, sizeof(interfaceName)) != 0)
                    continue;
                // A module's own enumerator is not a component to offer.
                if (std::strcmp(interfaceName, "IVekAddinEnumerator") == 0) continue;
                m_enumComponents.emplace_back(component);
                m_enumInterfaces.emplace_back(interfaceName);
            }
        }
    } catch (...) {
        m_enumComponents.clear();
        m_enumInterfaces.clear();
        return 1;
    }
    return 0;
}

int CVekAddinManager::GetEnumerateInterface(int index, char* component, int componentLen,
                                            char* interfaceName, int interfaceLen) const {
    if (!component || !interfaceName || componentLen < 1 || interfaceLen < 1) return 1;
    if (index < 0 || index >= GetEnumerateSize()) return 1;
    CopyName(m_enumComponents[index], component, componentLen);
    CopyName(m_enumInterfaces[index], interfaceName, interfaceLen);
    return 0;
}

int CVekAddinManager::Instantiate(const char* component, const char* interfaceName, void** out) {
    if (!component || !interfaceName || !out) return 1;
    for (size_t k = 0; k < m_builtinObjects.size(); ++k) {
        if (m_builtinComponents[k] == component && m_builtinInterfaces[k] == interfaceName) {
            m_builtinObjects[k]->AddRef();
            *out = m_builtinObjects[k];
            return 0;
        }
    }
    return CVekAddin::Instantiate(component, interfaceName, out) != 0 ? 1 : 0;
}
