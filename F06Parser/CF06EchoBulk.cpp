#include "F06Parser/CF06EchoBulk.h"

#include <cstdio>
#include <cstring>

#include "F06Parser/CF06PageLoop.h"
#include "F06Parser/CF06Parser.h"
#include "fileformats/CBDFFieldParser.h"
#include "fileformats/CBDFParser.h"

namespace {

// The column of the ruler an unsorted echo prints above its cards (".", the
// digit 1 and ".." with any blanks between, as in ".   1  ..   2  .."), as
// an offset from `from`; -1 when the line [from, to) is no ruler. A sorted
// echo's ruler line begins with "COUNT" and does not match.
int RulerColumn(CF06FileBuffer& buffer, std::int64_t from, std::int64_t to) {
    std::int64_t p = from;
    while (p < to && buffer[p] == ' ') ++p;
    if (p >= to || buffer[p] != '.') return -1;
    const std::int64_t dot = p++;
    while (p < to && buffer[p] == ' ') ++p;
    if (p >= to || buffer[p] != '1') return -1;
    ++p;
    while (p < to && buffer[p] == ' ') ++p;
    if (p + 1 >= to || buffer[p] != '.' || buffer[p + 1] != '.') return -1;
    return static_cast<int>(dot - from);
}

}  // namespace

int CF06EchoBulk::IsOfType(CF06PageHeader& header) {
    return std::strstr(header.GetPageTitle(), "B U L K   D A T A   E C H O") ? 1 : 0;
}

int CF06EchoBulk::FindColPos(CF06FileBuffer& buffer, std::int64_t from, std::int64_t to) {
    std::int64_t p = from;
    while (p < to && buffer[p] != '-' && buffer[p] != 0) ++p;
    if (p >= to || buffer[p] != '-') return 0;
    ++p;
    while (p < to && buffer[p] == ' ') ++p;
    return static_cast<int>(p - from);
}

CF06File* CF06EchoBulk::GetEchoFile() {
    return m_owner && m_owner->HasEchoFile() ? m_owner->GetEchoFile() : nullptr;
}

CKpLayup* CF06EchoBulk::GetModel() {
    return m_owner ? m_owner->GetLayup() : nullptr;
}

std::int64_t CF06EchoBulk::FirstRow(std::int64_t end) {
    CF06FileBuffer& buffer = Buffer();
    // The ruler of an unsorted echo marks the card column.
    std::int64_t at = end;
    for (int k = 0; k < 3 && buffer[at] != 0; ++k) {
        const std::int64_t next = LineAfter(buffer, at);
        const int column = RulerColumn(buffer, at, next);
        if (column >= 0) {
            m_colPos = column;
            return next;
        }
        at = next;
    }
    at = SkipLines(end, 2);
    m_colPos = FindColPos(buffer, at, std::min<std::int64_t>(at + 80, LineAfter(buffer, at)));
    return at;
}

void CF06EchoBulk::CollectCards(std::int64_t& pos, std::string& cards) {
    CF06FileBuffer& buffer = Buffer();
    bool done = false;
    auto newPage = [&](CF06PageHeader& h) { return FirstRow(h.GetHeaderEndPos()); };
    auto accept = [&](CF06PageHeader& h) { return !done && IsOfType(h) == 1; };
    auto row = [&](std::int64_t at) {
        if (done) return;
        const std::int64_t end = LineAfter(buffer, at);
        std::string line;
        for (std::int64_t p = at + m_colPos; p < end; ++p) {
            const char c = buffer[p];
            if (c == '\n' || c == '\r' || c == 0) break;
            line += c;
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        if (line.empty()) return;
        cards += line;
        cards += '\n';
        m_owner->WriteEcho(line.c_str());
        m_owner->WriteEcho("\r\n");
        if (line.compare(0, 7, "ENDDATA") == 0) done = true;
    };
    pos = WalkPages(buffer, pos, accept, newPage, [&](std::int64_t at) {
        if (!done) row(at);
    });
    (void)done;
}

std::int64_t CF06EchoBulk::StartParsing(std::int64_t pos, CF06PageHeader header) {
    if (!m_owner || !m_store) return pos;
    std::int64_t at = FirstRow(header.GetHeaderEndPos());
    CBDFParser bulk;
    bulk.Parse(this, at);
    return at;
}

int CBDFParser::Parse(CF06EchoBulk* echo, std::int64_t& pos) {
    if (!echo || !echo->GetModel()) return 1;
    std::string cards;
    echo->CollectCards(pos, cards);
    // The cards, freed of page breaks and the echo's margin, are read as a
    // bulk data file.
    FILE* scratch = std::tmpfile();
    if (!scratch) return 1;
    std::fwrite(cards.data(), 1, cards.size(), scratch);
    std::rewind(scratch);
    CF06FileBuffer buffer;
    buffer.Attach(scratch);
    std::int64_t start = 0;
    const int result = Parse(buffer, start, echo->GetModel(), 1, "bulk data echo");
    buffer.Close();
    std::fclose(scratch);
    return result;
}

void CBDFFieldParser::SetF06Parameters(CF06EchoBulk* echo) {
    m_echoBulk = echo;
    m_colOffset = echo ? echo->GetColPos() : 0;
    m_echoFile = echo ? echo->GetEchoFile() : nullptr;
}
