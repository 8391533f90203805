#include "layuplib/Messages.h"

namespace SolidElements {

void Messages::AddMessage(const char* text, EType type) {
    try {
        m_texts.emplace_back(text ? text : "");
        m_types.push_back(type);
    } catch (...) {
        // Keep the two lists the same length when memory runs out.
        if (m_texts.size() > m_types.size()) m_texts.pop_back();
    }
}

int Messages::GetNumMessages() const {
    return static_cast<int>(m_types.size());
}

const char* Messages::GetMessage(int i) const {
    if (i < 0 || i >= GetNumMessages()) return "";
    return m_texts[static_cast<size_t>(i)].c_str();
}

Messages::EType Messages::GetType(int i) const {
    if (i < 0 || i >= GetNumMessages()) return eError;
    return m_types[static_cast<size_t>(i)];
}

}  // namespace SolidElements
