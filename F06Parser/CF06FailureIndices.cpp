#include "F06Parser/CF06FailureIndices.h"

#include <cstdio>
#include <cstring>

#include "F06Parser/CF06PageLoop.h"
#include "F06Parser/CF06Parser.h"
#include "layuplib/CKpRes.h"

int CF06FailureIndices::IsOfType(CF06PageHeader& header) {
    const char* title = header.GetPageTitle();
    if (std::strstr(title,
                    "F A I L U R E   I N D I C E S   F O R   L A Y E R E D   C O M P O S "
                    "I T E   E L E M E N T S")) {
        m_quantity = "Failure Indices";
        return 1;
    }
    if (std::strstr(title,
                    "S T R E N G T H   R A T I O S   F O R   L A Y E R E D   C O M P O S "
                    "I T E   E L E M E N T S")) {
        m_quantity = "Reserve Factors";
        return 1;
    }
    return 0;
}

std::int64_t CF06FailureIndices::StartParsing(std::int64_t pos, CF06PageHeader header) {
    if (!m_owner || !m_store) return pos;
    CF06FileBuffer& buffer = Buffer();
    int eid = 0, ply = 0;
    float pending = 0.0f;
    char theory[32] = "";
    auto newPage = [&](CF06PageHeader& h) {
        PageNames(h);
        return SkipLines(h.GetHeaderEndPos(), 2);
    };
    auto accept = [&](CF06PageHeader& h) { return IsOfType(h) == 1; };
    auto file = [&](const char* layerName, float value) {
        const char* names[5] = {m_subtitle.c_str(), m_label.c_str(), m_quantity, theory, layerName};
        File(names, 4, 1, 1, eid, 1, &value);
    };
    auto row = [&](std::int64_t at) {
        m_fields.Parse(at, buffer);
        const int n = m_fields.GetSize();
        char layer[40];
        if ((n == 4 || n == 5) && m_fields.GetType(1) == CF06FieldVariant::eString) {
            eid = m_fields[0].ToInt();
            std::snprintf(theory, sizeof theory, "%s", m_fields[1].GetString());
            CKpRes::Theory(theory);
            ply = m_fields[2].ToInt();
            std::snprintf(layer, sizeof layer, "Layer %d", ply);
            file(layer, m_fields[3]);
        } else if ((n == 2 || n == 3) && m_fields[1].IsNumber() && m_fields[0].IsNumber()) {
            std::snprintf(layer, sizeof layer, "Interface %d-%d", ply, ply + 1);
            file(layer, pending);
            ply = m_fields[0].ToInt();
            std::snprintf(layer, sizeof layer, "Layer %d", ply);
            file(layer, m_fields[1]);
        } else if (n >= 1 && m_fields[0].IsNumber()) {
            pending = m_fields[0];
        }
    };
    return WalkPages(buffer, newPage(header), accept, newPage, row);
}
