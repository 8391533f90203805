#include "F06Parser/CF06EchoControl.h"

#include <cctype>
#include <cstring>

#include "F06Parser/CF06PageLoop.h"
#include "F06Parser/CF06Parser.h"

int CF06EchoControl::IsOfType(CF06PageHeader& header) {
    return std::strstr(header.GetPageTitle(), "C A S E    C O N T R O L    E C H O") ? 1 : 0;
}

std::int64_t CF06EchoControl::StartParsing(std::int64_t pos, CF06PageHeader header) {
    if (!m_owner || !m_store) return pos;
    CF06FileBuffer& buffer = Buffer();
    auto newPage = [&](CF06PageHeader& h) { return SkipLines(h.GetHeaderEndPos(), 2); };
    auto accept = [&](CF06PageHeader& h) { return IsOfType(h) == 1; };
    auto row = [&](std::int64_t at) {
        if (buffer[at] == '0') return;
        const std::int64_t end = LineAfter(buffer, at);
        std::int64_t p = at;
        while (p < end) {
            const unsigned char c = static_cast<unsigned char>(buffer[p]);
            if (c == '$' || std::isalpha(c) || c == '\n') break;
            ++p;
        }
        if (p < end && buffer[p] != '\n') m_owner->WriteEcho(p, end);
    };
    return WalkPages(buffer, newPage(header), accept, newPage, row);
}
