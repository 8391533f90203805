#include "F06Parser/CF06EchoFile.h"

#include <cstdio>
#include <cstring>

#include "F06Parser/CF06PageLoop.h"
#include "F06Parser/CF06Parser.h"
#include "layuplib/num_util.h"

int CF06EchoFile::IsOfType(CF06PageHeader& header) {
    static const char* const kTitles[2] = {
        "K O R B E L D    F I L E    A N D    S Y S T E M    P A R A M E T E R    E C H O",
        "K O R B E L D    E X E C U T I V E    C O N T R O L    E C H  O"};
    // The label line has its blank runs cut to two: so are the titles.
    const char* label = header.GetRawLabel();
    for (const char* title : kTitles) {
        char squeezed[128];
        std::snprintf(squeezed, sizeof squeezed, "%s", title);
        StringStripSpaces(squeezed);
        if (std::strstr(label, title) || std::strstr(label, squeezed)) return 1;
    }
    return 0;
}

std::int64_t CF06EchoFile::StartParsing(std::int64_t pos, CF06PageHeader header) {
    if (!m_owner || !m_store) return pos;
    CF06FileBuffer& buffer = Buffer();
    m_owner->WriteEcho(header.GetPageTitle());
    m_owner->WriteEcho("\r\n");
    std::int64_t from = header.GetHeaderEndPos();
    for (std::int64_t at = from;;) {
        const char c = buffer[at];
        if (c == 0) {
            m_owner->WriteEcho(from, at);
            return at;
        }
        if (c == '1' && buffer[at - 1] == '\n') {
            m_owner->WriteEcho(from, at);
            CF06PageHeader next;
            next.Parse(at, buffer);
            if (!IsOfType(next)) return at;
            m_owner->WriteEcho(next.GetPageTitle());
            m_owner->WriteEcho("\r\n");
            from = at = next.GetHeaderEndPos();
            continue;
        }
        at = LineAfter(buffer, at);
    }
}
