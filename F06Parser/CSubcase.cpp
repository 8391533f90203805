#include "F06Parser/CSubcase.h"

#include <cmath>

#include "layuplib/angle_util.h"

CSubcase::CSubcase(int id) : CSubcase(id, nullptr, nullptr, nullptr) {}

CSubcase::CSubcase(int id, const char* title, const char* subtitle, const char* label)
    : CVekObject(id),
      m_approach(0),
      m_loadFactor(0.0),
      m_mode(0),
      m_eigenvalue(0.0),
      m_frequency(0.0),
      m_time(0.0),
      m_title(title ? title : ""),
      m_subtitle(subtitle ? subtitle : ""),
      m_label(label ? label : "") {}

void CSubcase::reinit() {
    m_approach = 0;
    m_loadFactor = 0.0;
    m_mode = 0;
    m_eigenvalue = m_frequency = m_time = 0.0;
    m_title = "";
    m_subtitle = "";
    m_label = "";
}

const char* CSubcase::GetSubtitle() {
    m_subtitleWork =
        m_subtitle.Size() > 0 ? static_cast<const char*>(m_subtitle) : "Default Loadcase";
    return m_subtitleWork;
}

const char* CSubcase::GetLabel() {
    m_labelWork = m_label.Size() > 0 ? static_cast<const char*>(m_label) : "Default Subcase";
    switch (GetAnalysisType()) {
        case 2:
            m_labelWork += ":Freq.=";
            // A negative eigenvalue (rigid-body mode) has no real frequency.
            m_labelWork += static_cast<double>(
                static_cast<float>(std::sqrt(std::fabs(m_eigenvalue)) * 0.5 / kPi));
            break;
        case 5:
            m_labelWork += ":Freq.=";
            m_labelWork += static_cast<double>(static_cast<float>(m_frequency));
            break;
        case 6:
            m_labelWork += ":Time=";
            m_labelWork += static_cast<double>(static_cast<float>(m_time));
            break;
        case 10:
            if (m_loadFactor > 0.0) {
                m_labelWork += " ";
                m_labelWork += m_loadFactor * 100.0;
                m_labelWork += "%";
            }
            break;
        default:
            break;
    }
    return m_labelWork;
}
