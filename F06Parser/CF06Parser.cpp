#include "F06Parser/CF06Parser.h"

#include <cstring>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "F06Parser/CF06EchoBulk.h"
#include "F06Parser/CF06EchoControl.h"
#include "F06Parser/CF06EchoFile.h"
#include "F06Parser/CF06FailureIndices.h"
#include "F06Parser/CF06ForcesIn.h"
#include "F06Parser/CF06StressesLCE.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/input_file_check.h"
#include "layuplib/user_break.h"

CF06Parser::CF06Parser()
    : m_store(nullptr),
      m_model(nullptr),
      m_parsers(10, 1),
      m_cycle(),
      m_forces(1),
      m_stresses(1),
      m_failures(1),
      m_echoOn(0),
      m_pages(0) {}

CF06Parser::~CF06Parser() {
    m_echo.Close();
}

void CF06Parser::SetFlags(int flags) {
    m_forces = (flags & 1) ? 1 : 0;
    m_stresses = (flags & 2) ? 1 : 0;
    m_failures = (flags & 4) ? 1 : 0;
}

int CF06Parser::SetEcho(char on, const char* path) {
    m_echoOn = on;
    if (!on || !path || !path[0]) return 0;
    m_echoPath = path;
    return m_echo.OpenWrite(path, 1) != 0 ? 1 : 0;
}

void CF06Parser::WriteEcho(std::int64_t from, std::int64_t to) {
    if (m_echoPath.empty()) return;
    char chunk[4096];
    while (from < to) {
        const int n = static_cast<int>(to - from < 4096 ? to - from : 4096);
        const std::int64_t next = m_buffer.ReadIntoBuffer(from, chunk, n);
        if (next <= from) break;
        m_echo.WriteData(chunk, static_cast<int>(next - from));
        from = next;
    }
    m_echo.Flush();
}

void CF06Parser::WriteEcho(const char* text) {
    if (m_echoPath.empty() || !text) return;
    m_echo.Write(text);
    m_echo.Flush();
}

namespace {

// A page header of the solver's printed output: its title line ends in
// "PAGE" and the page number.
bool isPageTitle(const char* title) {
    const char* end = title + std::strlen(title);
    const char* p = end;
    while (p > title && p[-1] >= '0' && p[-1] <= '9') --p;
    if (p == end) return false;
    while (p > title && p[-1] == ' ') --p;
    return p - title >= 4 && std::strncmp(p - 4, "PAGE", 4) == 0;
}

// The blank-separated fields of a report line after its carriage-control
// column, each as [begin, end) columns.
std::vector<std::pair<size_t, size_t>> fieldsOf(const std::string& line) {
    std::vector<std::pair<size_t, size_t>> fields;
    size_t i = 1;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const size_t begin = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > begin) fields.emplace_back(begin, i);
    }
    return fields;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A field that starts as a number does: a digit, or a sign or point before
// one.
bool startsNumber(const std::string& f) {
    size_t i = f[0] == '+' || f[0] == '-' ? 1 : 0;
    if (i < f.size() && f[i] == '.') ++i;
    return i < f.size() && isDigit(f[i]);
}

// A number cut short: a lone sign, or an exponent with fewer than the two
// digits the report always writes ("1.5E", "1.5E+", "1.5E+0").
bool isCutNumber(const std::string& f) {
    if (f == "-" || f == "+") return true;
    if (!startsNumber(f)) return false;
    const size_t e = f.find_first_of("eE");
    if (e == std::string::npos) return false;
    size_t i = e + 1;
    if (i < f.size() && (f[i] == '+' || f[i] == '-')) ++i;
    size_t digits = 0;
    while (i + digits < f.size() && isDigit(f[i + digits])) ++digits;
    return i + digits == f.size() && digits < 2;
}

// Whether the last line of a file, which has no line end, is cut: it ends
// inside a number, or it stops short of the table row before it while its
// fields stand in that row's columns (a row short of its fields). Any other
// last line is complete.
bool lastLineCut(const std::string& last, const std::string& before) {
    const auto fields = fieldsOf(last);
    if (!fields.empty() && fields.back().second == last.size() &&
        isCutNumber(last.substr(fields.back().first)))
        return true;
    const auto row = fieldsOf(before);
    if (row.empty() || !startsNumber(before.substr(row[0].first, row[0].second - row[0].first)))
        return false;
    if (fields.size() > row.size()) return false;
    for (size_t k = 0; k < fields.size(); ++k) {
        const size_t from = k == 0 ? 0 : row[k - 1].second;
        if (fields[k].second <= from || fields[k].second > row[k].second) return false;
    }
    return fields.size() < row.size() || fields.back().second < row.back().second;
}

}  // namespace

// The last two lines of the file (at most the last 64 KiB of it); false when
// the file's last byte ends a line.
bool CF06Parser::LastLines(std::int64_t size, std::string& last, std::string& before) {
    const char lastByte = m_buffer[size - 1];
    if (lastByte == '\n' || lastByte == '\r') return false;
    const std::int64_t from = size > 65536 ? size - 65536 : 0;
    std::string tail(static_cast<size_t>(size - from), '\0');
    const std::int64_t got = m_buffer.ReadIntoBuffer(from, &tail[0], static_cast<int>(tail.size()));
    tail.resize(static_cast<size_t>(got > from ? got - from : 0));
    const size_t cut = tail.find_last_of("\r\n");
    last = cut == std::string::npos ? tail : tail.substr(cut + 1);
    before.clear();
    if (cut == std::string::npos) return true;
    // The line before ends where its line end (LF, CR or CR LF) begins; a
    // line the tail holds only in part stays unknown (empty).
    const size_t end = tail[cut] == '\n' && cut > 0 && tail[cut - 1] == '\r' ? cut - 1 : cut;
    const size_t start = end == 0 ? std::string::npos : tail.find_last_of("\r\n", end - 1);
    if (start != std::string::npos)
        before = tail.substr(start + 1, end - start - 1);
    else if (from == 0)
        before = tail.substr(0, end);
    return true;
}

int CF06Parser::Parse(const char* path, CKpResStore* store) {
    if (!path || !store || !m_model) return 1;
    CKpMsg* msg = m_model->pMsg();
    // 1. Missing, a directory or empty: said before anything is read.
    std::int64_t size = 0;
    const std::string problem = input_file_problem(path, &size);
    if (!problem.empty()) {
        msg->Create(4, "Printed output file '%s' %s.", path, problem.c_str());
        return 1;
    }
    m_store = store;
    m_cycle[0] = '\0';
    m_pages = 0;
    m_parsers.DeleteAll();
    auto add = [this](CF06ParserType* p) {
        if (p && m_parsers.Add(p) < 0) delete p;
    };
    if (m_echoOn) {
        add(new (std::nothrow) CF06EchoFile(this, store));
        add(new (std::nothrow) CF06EchoControl(this, store));
        add(new (std::nothrow) CF06EchoBulk(this, store));
    }
    if (m_failures) add(new (std::nothrow) CF06FailureIndices(this, store));
    if (m_stresses) add(new (std::nothrow) CF06StressesLCE(this, store));
    if (m_forces) add(new (std::nothrow) CF06ForcesIn(this, store));
    if (m_buffer.OpenRead(path, 1) != 0) {
        msg->Create(4, "Printed output file '%s' cannot be opened.", path);
        return 1;
    }
    if (m_buffer.SetBufferSize(2 * 1024 * 1024, 512) != 0) {
        msg->Create(4, "Could not allocate memory.");
        m_buffer.Close();
        return 1;
    }
    const int resultsBefore = store->entries();
    // 2. The scan; a page at the very start of the file has no line feed
    //    before its "1".
    std::int64_t pos = 1;
    bool stopped = false;
    if (m_buffer[0] == '1') {
        const std::int64_t p = OnPageBreak(0);
        if (p <= 0)
            stopped = true;  // every page parser is done
        else
            pos = p - 1;
    }
    int polls = 0;
    while (!stopped) {
        const char c = m_buffer[pos];
        if (c == 0) break;
        if (++polls == 1000) {
            polls = 0;
            if (user_break(m_model->pGUI(), 1)) {
                stopped = true;
                break;
            }
        }
        if (c == '\n') {
            const char next = m_buffer[pos + 1];
            if (next == '1') {
                const std::int64_t p = OnPageBreak(pos + 1);
                if (p <= 0) {
                    stopped = true;  // every page parser is done
                    break;
                }
                pos = p > pos ? p - 1 : pos + 1;
                continue;
            }
            if (m_buffer[pos + 2] == '^') {
                pos = OnComment(pos + 2);
                continue;
            }
        }
        ++pos;
    }
    // 3. What the file was: no page header at all is no printed output; a
    //    last line without its line end that holds less than its row is a
    //    cut file.
    int status = 0;
    std::string last, before;
    if (m_pages == 0) {
        msg->Create(4, "Printed output file '%s' is not printed output: it holds no page header.",
                    path);
        status = 1;
    } else if (!stopped && LastLines(size, last, before) && lastLineCut(last, before)) {
        std::int64_t lines = 1;
        for (std::int64_t i = 0; i < size; ++i) lines += m_buffer[i] == '\n';
        msg->Create(4,
                    "Printed output file '%s' ends early inside line %lld; the results before it "
                    "were read.",
                    path, static_cast<long long>(lines));
        status = 1;
    } else if (store->entries() == resultsBefore) {
        msg->Create(1, "Printed output file '%s' holds no layered results.", path);
    }
    m_buffer.Close();
    if (m_echoOn) m_echo.Close();
    m_parsers.DeleteAll();
    return status;
}

std::int64_t CF06Parser::OnPageBreak(std::int64_t pos) {
    CF06PageHeader header;
    const std::int64_t after = header.Parse(pos, m_buffer);
    if (isPageTitle(header.GetTitle())) ++m_pages;
    if (header.GetPageTitle()[0] == '\0' || m_parsers.GetSize() == 0) return after;
    for (int i = 0; i < m_parsers.GetSize(); ++i) {
        CF06ParserType* parser = m_parsers.GetAt(i);
        if (!parser->IsOfType(header)) continue;
        const std::int64_t next = parser->StartParsing(after, header);
        if (parser->IsRemovable()) {
            m_parsers.Delete(i);
            if (m_parsers.GetSize() == 0) return 0;
        }
        // Never step back: a parser that read nothing lets the scan go on.
        return next > pos ? next : after;
    }
    return after;
}

std::int64_t CF06Parser::OnComment(std::int64_t q) {
    if (m_buffer[q + 1] != '^' || m_buffer[q + 2] != '^') return q;
    const std::int64_t at = m_buffer.FindString(q, "DESIGN CYCLE NUMBER=", 1);
    if (at >= 0) {
        std::int64_t p = at + 20;
        while (m_buffer[p] == ' ') ++p;
        int n = 0;
        char digits[10];
        while (m_buffer[p] >= '0' && m_buffer[p] <= '9') {
            if (n < 9) digits[n++] = m_buffer[p];
            ++p;
        }
        digits[n] = '\0';
        std::memcpy(m_cycle, digits, static_cast<size_t>(n) + 1);
    }
    // Go on at the line feed that ends the line.
    std::int64_t p = q;
    while (m_buffer[p] != 0 && m_buffer[p] != '\n') ++p;
    return p;
}
