#include "F06Parser/CF06StressesLCE.h"

#include <cstdio>
#include <cstring>

#include "F06Parser/CF06PageLoop.h"
#include "F06Parser/CF06Parser.h"

int CF06StressesLCE::IsOfType(CF06PageHeader& header) {
    return std::strstr(header.GetPageTitle(),
                       "S T R E S S E S   I N   L A Y E R E D   C O M P O S I T E   E L E M E N T "
                       "S") != nullptr;
}

std::int64_t CF06StressesLCE::StartParsing(std::int64_t pos, CF06PageHeader header) {
    if (!m_owner || !m_store) return pos;
    CF06FileBuffer& buffer = Buffer();
    auto newPage = [&](CF06PageHeader& h) {
        PageNames(h);
        return SkipLines(h.GetHeaderEndPos(), 2);
    };
    auto accept = [&](CF06PageHeader& h) { return IsOfType(h) == 1; };
    auto row = [&](std::int64_t at) {
        m_fields.Parse(at + 1, buffer);
        if (m_fields.GetSize() < 7 || m_fields.GetType(0) != CF06FieldVariant::eInt ||
            m_fields.GetType(1) != CF06FieldVariant::eInt)
            return;
        char layer[32];
        std::snprintf(layer, sizeof layer, "Layer %d", m_fields[1].ToInt());
        const char* names[5] = {m_subtitle.c_str(), m_label.c_str(), "Stress Tensor",
                                "Fibre Directions", layer};
        const float v[6] = {m_fields[2], m_fields[3], 0.0f, m_fields[4], m_fields[6], m_fields[5]};
        File(names, 4, 3, 1, m_fields[0].ToInt(), 6, v);
    };
    return WalkPages(buffer, newPage(header), accept, newPage, row);
}
