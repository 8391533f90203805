#include "F06Parser/CF06PageHeader.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "F06Parser/CF06FileBuffer.h"
#include "layuplib/angle_util.h"
#include "layuplib/num_util.h"

CF06PageHeader::CF06PageHeader()
    : m_title(),
      m_subtitle(),
      m_label(),
      m_type(0),
      m_value(0.0f),
      m_pageTitle(),
      m_start(0),
      m_headerEnd(0) {}

CF06PageHeader::~CF06PageHeader() = default;

namespace {

std::int64_t ReadLine(CF06FileBuffer& buffer, std::int64_t pos, char* line, bool squeeze) {
    pos = buffer.GetLine(pos, line, 133);
    if (line[0] == '0' || line[0] == '1') line[0] = ' ';
    StringStripLeadTrail(line);
    if (squeeze) StringStripSpaces(line);
    return pos;
}

}  // namespace

std::int64_t CF06PageHeader::Parse(std::int64_t pos, CF06FileBuffer& buffer) {
    m_start = pos;
    pos = ReadLine(buffer, pos, m_title, true);
    pos = ReadLine(buffer, pos, m_subtitle, true);
    pos = ReadLine(buffer, pos, m_label, true);
    const std::int64_t afterLabel = pos;
    m_type = 0;
    m_value = 0.0f;
    m_pageTitle[0] = '\0';
    while (buffer[pos] != 0) {
        pos = ReadLine(buffer, pos, m_pageTitle, false);
        float v;
        if (std::strncmp(m_pageTitle, "EIGENVALUE =", 12) == 0 &&
            std::sscanf(m_pageTitle + 12, "%f", &v) == 1) {
            m_type = 2;
            m_value = static_cast<float>(std::sqrt(std::fabs(v)) * 0.5 / kPi);
        } else if (std::strncmp(m_pageTitle, "TIME =", 6) == 0 &&
                   std::sscanf(m_pageTitle + 6, "%f", &v) == 1) {
            m_type = 6;
            m_value = v;
        } else if (m_pageTitle[0] != '\0') {
            break;
        }
        m_pageTitle[0] = '\0';
    }
    m_headerEnd = pos;
    return afterLabel;
}

const char* CF06PageHeader::GetSubTitle() {
    if (m_subtitle[0] == '\0') std::strcpy(m_subtitle, "Default Loadcase");
    return m_subtitle;
}

const char* CF06PageHeader::GetLabel() {
    m_labelWork = m_label[0] ? m_label : "Default Subcase";
    char number[64];
    if (m_type == 2) {
        std::snprintf(number, sizeof number, ":Freq.=%g", m_value);
        m_labelWork += number;
    } else if (m_type == 6) {
        std::snprintf(number, sizeof number, ":Time=%g", m_value);
        m_labelWork += number;
    }
    return m_labelWork.c_str();
}
