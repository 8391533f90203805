#include "layuplib/CVekAddinEnumerator.h"

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

CVekAddinEnumerator::CVekAddinEnumerator() : m_refCount(0), m_position(-1) {}

CVekAddinEnumerator::~CVekAddinEnumerator() = default;

int CVekAddinEnumerator::AddRef() {
    return ++m_refCount;
}

int CVekAddinEnumerator::Release() {
    if (--m_refCount > 0) return m_refCount;
    delete this;
    return 0;
}

int CVekAddinEnumerator::QueryInterface(const char* interfaceName, void** out) {
    if (!out) return 1;
    if (interfaceName && std::strcmp(interfaceName, "IVekAddinEnumerator") == 0) {
        *out = static_cast<IVekAddinEnumerator*>(this);
        return 0;
    }
    *out = nullptr;
    return 1;
}

int CVekAddinEnumerator::Reset() {
    m_position = -1;
    return 0;
}

int CVekAddinEnumerator::Next() {
    const int size = static_cast<int>(m_components.size());
    if (m_position < size) ++m_position;  // parks one past the last pair
    return m_position < size ? 0 : 1;
}

int CVekAddinEnumerator::GetComponent(char* buffer, int len) {
    if (m_position < 0 || m_position >= static_cast<int>(m_components.size())) return 1;
    return CopyName(m_components[m_position], buffer, len);
}

int CVekAddinEnumerator::GetInterface(char* buffer, int len) {
    if (m_position < 0 || m_position >= static_cast<int>(m_components.size())) return 1;
    if (m_position >= static_cast<int>(m_interfaces.size())) return 2;
    return CopyName(m_interfaces[m_position], buffer, len);
}

int CVekAddinEnumerator::AddInterface(const char* component, const char* interfaceName) {
    if (!component || !interfaceName) return 1;
    try {
        m_components.reserve(m_components.size() + 1);
        m_interfaces.reserve(m_interfaces.size() + 1);
        m_components.emplace_back(component);
        m_interfaces.emplace_back(interfaceName);
    } catch (...) {
        // Keep the lists parallel when only the first append succeeded.
        if (m_components.size() > m_interfaces.size()) m_components.pop_back();
        return 1;
    }
    return 0;
}
