#include "F06Parser/CF06ForcesIn.h"

#include <cstring>

#include "F06Parser/CF06PageLoop.h"
#include "F06Parser/CF06Parser.h"

int CF06ForcesIn::IsOfType(CF06PageHeader& header) {
    const char* title = header.GetPageTitle();
    return std::strstr(title, "F O R C E S   I N   Q U A D R I L A T E R A L   E L E M E N T S") ||
                   std::strstr(title, "F O R C E S   I N   T R I A N G U L A R   E L E M E N T S")
               ? 1
               : 0;
}

int CF06ForcesIn::GetNrOfVectorsFromHeader(const char* title) {
    if (std::strstr(title, "Q U A D 4") || std::strstr(title, "Q U A D 8") ||
        std::strstr(title, "Q U A D R"))
        return 5;
    if (std::strstr(title, "T R I A 6") || std::strstr(title, "T R I A R")) return 4;
    return 1;
}

void CF06ForcesIn::FileElement(int eid, const float v[8], int orient, int loc) {
    const float membrane[6] = {v[0], v[1], 0.0f, v[2], v[7], v[6]};
    const float bending[6] = {v[3], v[4], 0.0f, v[5], 0.0f, 0.0f};
    const char* names[5] = {m_subtitle.c_str(), m_label.c_str(), "Shell Forces", "Membrane Forces",
                            ""};
    File(names, orient, 3, loc, eid, 6, membrane);
    names[3] = "Bending Moments";
    File(names, orient, 3, loc, eid, 6, bending);
}

std::int64_t CF06ForcesIn::StartParsing(std::int64_t pos, CF06PageHeader header) {
    if (!m_owner || !m_store) return pos;
    CF06FileBuffer& buffer = Buffer();
    int vectors = 0, orient = 1, seen = 0, expected = 0;
    auto newPage = [&](CF06PageHeader& h) {
        PageNames(h);
        // An element's corner rows may go on after a page break.
        const int now = GetNrOfVectorsFromHeader(h.GetPageTitle());
        if (now != vectors) seen = expected = 0;
        vectors = now;
        std::int64_t at = SkipLines(h.GetHeaderEndPos(), 3);
        // A heading line above the column titles pushes them down a line.
        orient = 1;
        m_fields.Parse(at + 1, buffer);
        if (m_fields.GetType(0) == CF06FieldVariant::eString) {
            orient = 3;
            at = SkipLines(at, 1);
        }
        return at;
    };
    auto accept = [&](CF06PageHeader& h) { return IsOfType(h) == 1; };
    auto row = [&](std::int64_t at) {
        m_fields.Parse(at + 1, buffer);
        const int n = m_fields.GetSize();
        float v[8];
        if (n == 10 && m_fields.GetType(0) == CF06FieldVariant::eInt) {
            // Corner output: the centre row, then one row per corner grid.
            for (int k = 0; k < 8; ++k) v[k] = m_fields[2 + k];
            FileElement(m_fields[0].ToInt(), v, orient, vectors > 1 ? 3 : 1);
            seen = 1;
            expected = vectors;
        } else if (n == 9 && m_fields.GetType(0) == CF06FieldVariant::eInt) {
            if (seen > 0 && seen < expected) {
                ++seen;  // a corner row
                return;
            }
            for (int k = 0; k < 8; ++k) v[k] = m_fields[1 + k];
            FileElement(m_fields[0].ToInt(), v, orient, 1);
            seen = expected = 0;
        }
    };
    return WalkPages(buffer, newPage(header), accept, newPage, row);
}
