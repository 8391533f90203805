#include "layuplib/CVekAddin.h"

#include <new>

#include "layuplib/CVekAddinModuleEnumerator.h"

CVekAddin::CVekAddin() : m_moduleEnumerator(nullptr) {}

CVekAddin::~CVekAddin() {
    if (!m_moduleEnumerator) return;
    m_moduleEnumerator->Clear();
    m_moduleEnumerator->Release();
    m_moduleEnumerator = nullptr;
}

int CVekAddin::Create(const char* path) {
    if (m_moduleEnumerator) {
        m_moduleEnumerator->Clear();
        m_moduleEnumerator->Release();
        m_moduleEnumerator = nullptr;
    }
    CVekAddinModuleEnumerator* enumerator = new (std::nothrow) CVekAddinModuleEnumerator();
    if (!enumerator) return 1;
    enumerator->AddRef();
    enumerator->SetSearchPath(path ? path : "");
    m_moduleEnumerator = enumerator;
    return 0;
}

int CVekAddin::ModifySearchPath(const char* path) {
    if (!m_moduleEnumerator) return 1;
    return m_moduleEnumerator->SetSearchPath(path);
}

int CVekAddin::Clear() {
    if (m_moduleEnumerator) m_moduleEnumerator->Clear();
    return 0;
}

int CVekAddin::Instantiate(const char* component, const char* interfaceName, void** out) {
    if (!m_moduleEnumerator) return 1;
    if (m_moduleEnumerator->Instantiate(component, interfaceName, out) != 0) return 2;
    return 0;
}
