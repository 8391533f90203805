// The stand-in host's command scripts (.kps): one statement a line, '#'
// starts a comment.
//
//   int n                     integer, 0; `int n = 5` with a value
//   real t = 0.5              real
//   string s[64] = "a.lyp"    text of at most 64 characters
//   int ids[3] = 1 2 3        arrays: count, then as many values (or none:
//   real r[2]                 zeros); `int none[0]` is empty; a negative
//   string names[4][32]       count is reported as given, with no storage
//   kp_open_layup(s, 0, 1)    a registered built-in with literals (1, 0.5,
//                             "text") or variables; its result goes into
//                             the integer `status`
//   expect status == 0        a variable, or an element from 1 (names[1]),
//   expect names[1] != "P1"   against a literal (reals within 1e-6)
//   expect error 103 7000019 2     an argument error of the last call
//                                  (class, code, position or counts)
//   answer 1                  queues the answer to the next question
//   db open NAME | db load FILE | db save FILE | db close
//                             the database (a loaded FILE relative to the
//                             script's folder; save writes every record to
//                             FILE in the working folder)
//   abort on | abort off      the interrupt polls
//
// The host's messages are printed as they arrive, "[code severity] text";
// failures as "file:line: reason".

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/MorvekStub.h"
#include "platform/MorvekStubState.h"

namespace {

struct Var {
    SmSym rec{};
    char kind = 'i';  // 'i', 'r', 's'
    bool array = false;
    Var() = default;
    Var(const Var&) = delete;
    Var& operator=(const Var&) = delete;
    ~Var() { MorvekStubSymFree(&rec); }
};

struct Token {
    enum Type { Name, Number, String, Punct, End } type;
    std::string text;
};

std::vector<Token> tokenize(const std::string& line, std::string& error) {
    std::vector<Token> out;
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == '#') break;
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '"') {
            const size_t end = line.find('"', i + 1);
            if (end == std::string::npos) {
                error = "unterminated text";
                return {};
            }
            out.push_back({Token::String, line.substr(i + 1, end - i - 1)});
            i = end + 1;
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            size_t j = i;
            while (j < line.size() && (std::isalnum(static_cast<unsigned char>(line[j])) ||
                                       line[j] == '_' || line[j] == '.' || line[j] == '/'))
                ++j;
            out.push_back({Token::Name, line.substr(i, j - i)});
            i = j;
        } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' ||
                   c == '.') {
            size_t j = i + 1;
            while (j < line.size() &&
                   (std::isalnum(static_cast<unsigned char>(line[j])) || line[j] == '.' ||
                    ((line[j] == '-' || line[j] == '+') &&
                     (line[j - 1] == 'e' || line[j - 1] == 'E'))))
                ++j;
            out.push_back({Token::Number, line.substr(i, j - i)});
            i = j;
        } else if ((c == '=' || c == '!') && i + 1 < line.size() && line[i + 1] == '=') {
            out.push_back({Token::Punct, line.substr(i, 2)});
            i += 2;
        } else {
            out.push_back({Token::Punct, std::string(1, c)});
            ++i;
        }
    }
    out.push_back({Token::End, ""});
    return out;
}

bool parseInt(const std::string& s, int& v) {
    char* end = nullptr;
    const long long x = std::strtoll(s.c_str(), &end, 10);
    if (s.empty() || *end != '\0' || x < -2147483648LL || x > 2147483647LL) return false;
    v = static_cast<int>(x);
    return true;
}

bool parseReal(const std::string& s, double& v) {
    char* end = nullptr;
    v = std::strtod(s.c_str(), &end);
    return !s.empty() && *end == '\0';
}

bool isIntLiteral(const std::string& s) {
    int v = 0;
    return parseInt(s, v);
}

class Runner {
  public:
    Runner(std::string path) : m_path(std::move(path)) {
        const size_t slash = m_path.rfind('/');
        m_dir = slash == std::string::npos ? "" : m_path.substr(0, slash + 1);
        declare("status", 'i', false);
    }

    int run() {
        std::ifstream in(m_path);
        if (!in) {
            std::printf("%s: cannot read the script\n", m_path.c_str());
            return -1;
        }
        std::string line;
        while (std::getline(in, line)) {
            ++m_line;
            statement(line);
            flushMessages();
        }
        return m_failures;
    }

  private:
    void fail(const std::string& reason) {
        ++m_failures;
        std::printf("%s:%d: %s\n", m_path.c_str(), m_line, reason.c_str());
        std::fflush(stdout);
    }

    void flushMessages() {
        const auto& messages = morvekstub::Messages();
        if (messages.size() < m_printed) m_printed = 0;  // after a reset
        for (; m_printed < messages.size(); ++m_printed)
            std::printf("[%d %d] %s\n", messages[m_printed].code, messages[m_printed].severity,
                        messages[m_printed].text.c_str());
        std::fflush(stdout);
    }

    Var* declare(const std::string& name, char kind, bool array) {
        std::unique_ptr<Var>& slot = m_vars[name];
        slot.reset(new Var);
        slot->kind = kind;
        slot->array = array;
        return slot.get();
    }

    Var* find(const std::string& name) {
        const auto found = m_vars.find(name);
        return found == m_vars.end() ? nullptr : found->second.get();
    }

    void statement(const std::string& line) {
        std::string error;
        std::vector<Token> t = tokenize(line, error);
        if (!error.empty()) return fail(error);
        if (t[0].type == Token::End) return;
        const std::string& head = t[0].text;
        if (t[0].type == Token::Name && (head == "int" || head == "real" || head == "string"))
            return declaration(t);
        if (t[0].type == Token::Name && head == "expect") return expectation(t);
        if (t[0].type == Token::Name && head == "answer") {
            int v = 0;
            if (t[1].type != Token::Number || !parseInt(t[1].text, v))
                return fail("answer needs an integer");
            MorvekStubAnswer(v);
            return;
        }
        if (t[0].type == Token::Name && head == "db") return database(line);
        if (t[0].type == Token::Name && head == "abort") {
            if (t[1].text != "on" && t[1].text != "off") return fail("abort needs on or off");
            MorvekStubRequestAbort(t[1].text == "on");
            return;
        }
        if (t[0].type == Token::Name && t[1].text == "(") return call(t);
        fail("unknown statement '" + head + "'");
    }

    void declaration(const std::vector<Token>& t) {
        const char kind = t[0].text[0];
        if (t[1].type != Token::Name) return fail("a declaration needs a name");
        const std::string name = t[1].text;
        size_t i = 2;
        std::vector<int> dims;
        while (t[i].text == "[") {
            int v = 0;
            if (t[i + 1].type != Token::Number || !parseInt(t[i + 1].text, v) ||
                t[i + 2].text != "]")
                return fail("a bracket needs an integer");
            dims.push_back(v);
            i += 3;
        }
        std::vector<Token> values;
        if (t[i].text == "=") {
            for (++i; t[i].type != Token::End; ++i) values.push_back(t[i]);
        } else if (t[i].type != Token::End) {
            return fail("unexpected '" + t[i].text + "'");
        }
        const bool array = kind == 's' ? dims.size() == 2 : dims.size() == 1;
        if (dims.size() > (kind == 's' ? 2u : 1u)) return fail("too many brackets");
        Var* v = declare(name, kind, array);
        if (kind == 's') {
            const int max = dims.empty() ? 0 : dims.back();
            if (!array) {
                std::string text = values.empty() ? "" : values[0].text;
                if (!values.empty() && values[0].type != Token::String)
                    return fail("a text needs quotes");
                MorvekStubSymString(&v->rec, text.c_str(),
                                    dims.empty() ? static_cast<int>(text.size()) : max);
                return;
            }
            const int n = dims[0];
            MorvekStubSymStringArray(&v->rec, n > 0 ? n : 0, max);
            if (n < 0) MorvekStubSymSetCount(&v->rec, n);
            char* block = SmSymGetDataPtr(&v->rec);
            for (size_t k = 0; k < values.size() && static_cast<int>(k) < n; ++k)
                std::strncpy(block + k * (max + 1), values[k].text.c_str(),
                             static_cast<size_t>(max));
            return;
        }
        const int n = array ? dims[0] : 1;
        if (static_cast<int>(values.size()) > (n > 0 ? n : 0))
            return fail("more values than elements");
        std::vector<int> ints(n > 0 ? n : 0, 0);
        std::vector<float> reals(n > 0 ? n : 0, 0.0f);
        for (size_t k = 0; k < values.size(); ++k) {
            double d = 0.0;
            if (values[k].type != Token::Number || !parseReal(values[k].text, d))
                return fail("'" + values[k].text + "' is not a number");
            if (kind == 'i' && !parseInt(values[k].text, ints[k]))
                return fail("'" + values[k].text + "' is not an integer");
            reals[k] = static_cast<float>(d);
        }
        if (!array) {
            if (kind == 'i')
                MorvekStubSymInt(&v->rec, ints[0]);
            else
                MorvekStubSymReal(&v->rec, reals[0]);
            return;
        }
        if (kind == 'i')
            MorvekStubSymIntArray(&v->rec, ints.data(), n > 0 ? n : 0);
        else
            MorvekStubSymRealArray(&v->rec, reals.data(), n > 0 ? n : 0);
        if (n < 0) MorvekStubSymSetCount(&v->rec, n);
    }

    void call(const std::vector<Token>& t) {
        const std::string& name = t[0].text;
        SmBltFn fn = MorvekStubFindBuiltin(name.c_str());
        if (!fn) return fail("no built-in '" + name + "'");
        std::vector<SmSym> records;
        std::vector<size_t> temporaries;
        size_t i = 2;
        bool ok = true;
        while (ok && t[i].text != ")") {
            SmSym rec{};
            const Token& a = t[i];
            if (a.type == Token::String) {
                MorvekStubSymString(&rec, a.text.c_str(), static_cast<int>(a.text.size()));
                temporaries.push_back(records.size());
            } else if (a.type == Token::Number) {
                double d = 0.0;
                if (!parseReal(a.text, d)) {
                    fail("'" + a.text + "' is not a number");
                    ok = false;
                    break;
                }
                if (isIntLiteral(a.text))
                    MorvekStubSymInt(&rec, static_cast<int>(d));
                else
                    MorvekStubSymReal(&rec, static_cast<float>(d));
                temporaries.push_back(records.size());
            } else if (const Var* v = a.type == Token::Name ? find(a.text) : nullptr) {
                rec = v->rec;  // the same storage: outputs land in the variable
            } else {
                fail("unknown argument '" + a.text + "'");
                ok = false;
                break;
            }
            records.push_back(rec);
            ++i;
            if (t[i].text == ",")
                ++i;
            else if (t[i].text != ")") {
                fail("expected ',' or ')'");
                ok = false;
            }
        }
        if (ok) {
            SmSym result{};
            m_errorsBefore = MorvekStubErrorCount();
            SmSym* back = fn(static_cast<int>(records.size()),
                             records.empty() ? nullptr : records.data(), &result);
            m_errorsAfter = MorvekStubErrorCount();
            if (back == &result) MorvekStubSymInt(&find("status")->rec, result.intValue);
        }
        for (size_t k : temporaries) MorvekStubSymFree(&records[k]);
    }

    // `db open NAME`, `db load FILE`, `db save FILE`, `db close`: the rest of the line, as
    // written, is the name or file.
    void database(const std::string& line) {
        std::string rest = line.substr(line.find("db") + 2);
        const size_t hash = rest.find('#');
        if (hash != std::string::npos) rest.erase(hash);
        const size_t a = rest.find_first_not_of(" \t");
        const size_t b = a == std::string::npos ? a : rest.find_first_of(" \t", a);
        const std::string what = a == std::string::npos ? "" : rest.substr(a, b - a);
        std::string arg = b == std::string::npos ? "" : rest.substr(b);
        arg.erase(0, std::min(arg.size(), arg.find_first_not_of(" \t\r")));
        arg.erase(arg.find_last_not_of(" \t\r") + 1);
        if (what == "close" && arg.empty()) {
            MorvekStubOpenDatabase("");
        } else if (what == "open" && !arg.empty()) {
            MorvekStubOpenDatabase(arg.c_str());
        } else if (what == "load" && !arg.empty()) {
            const std::string file = arg[0] == '/' ? arg : m_dir + arg;
            if (MorvekStubLoadDatabase(file.c_str()) != 0) fail("cannot load " + file);
        } else if (what == "save" && !arg.empty()) {
            // Written where the script runs, never beside the script.
            if (MorvekStubSaveDatabase(arg.c_str()) != 0) fail("cannot save " + arg);
        } else {
            fail("db needs open NAME, load FILE, save FILE or close");
        }
    }

    void expectation(const std::vector<Token>& t) {
        if (t[1].text == "error") {
            int want[4] = {0, 0, 0, -2};
            int n = 0;
            for (size_t i = 2; t[i].type != Token::End && n < 4; ++i, ++n)
                if (!parseInt(t[i].text, want[n])) return fail("expect error needs integers");
            if (n < 3) return fail("expect error needs class, code and position");
            for (int e = m_errorsBefore; e < m_errorsAfter; ++e) {
                int got[4];
                MorvekStubGetError(e, &got[0], &got[1], &got[2], &got[3]);
                if (got[0] == want[0] && got[1] == want[1] && got[2] == want[2] &&
                    (n < 4 || got[3] == want[3]))
                    return;
            }
            std::string seen;
            for (int e = m_errorsBefore; e < m_errorsAfter; ++e) {
                int got[4];
                MorvekStubGetError(e, &got[0], &got[1], &got[2], &got[3]);
                seen += " " + std::to_string(got[0]) + " " + std::to_string(got[1]) + " " +
                        std::to_string(got[2]) + (got[3] >= 0 ? " " + std::to_string(got[3]) : "") +
                        ";";
            }
            return fail("expected argument error not reported (reported:" +
                        (seen.empty() ? " none" : seen) + ")");
        }
        Var* v = t[1].type == Token::Name ? find(t[1].text) : nullptr;
        if (!v) return fail("unknown variable '" + t[1].text + "'");
        size_t i = 2;
        int index = 0;
        if (t[i].text == "[") {
            if (!parseInt(t[i + 1].text, index) || t[i + 2].text != "]")
                return fail("an index needs an integer");
            i += 3;
        }
        const std::string op = t[i].text;
        if (op != "==" && op != "!=") return fail("expect needs == or !=");
        const Token& lit = t[i + 1];
        const int k = index > 0 ? index - 1 : 0;
        const int count = v->array ? SmSymArrayElems(&v->rec) : 1;
        if ((v->array && (index < 1 || index > count)) || (!v->array && index != 0))
            return fail("index out of range for '" + t[1].text + "'");
        bool equal = false;
        std::string got;
        if (v->kind == 's') {
            if (lit.type != Token::String) return fail("a text compares with a quoted text");
            const int max = SmSymGetStringMax(&v->rec);
            got = SmSymGetDataPtr(&v->rec) + static_cast<size_t>(k) * (max + 1);
            equal = got == lit.text;
        } else {
            double want = 0.0;
            if (lit.type != Token::Number || !parseReal(lit.text, want))
                return fail("a number compares with a number");
            // Each in its own type: an int through float would lose digits.
            const double value = v->kind == 'i' ? static_cast<double>(SmSymGetIntPtr(&v->rec)[k])
                                                : static_cast<double>(SmSymGetRealPtr(&v->rec)[k]);
            equal = v->kind == 'i'
                        ? value == want
                        : std::fabs(value - want) <= 1e-6 * std::max(1.0, std::fabs(want));
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%.9g", value);
            got = buffer;
        }
        if (equal != (op == "==")) fail("expectation failed: " + t[1].text + " is " + got);
    }

    std::string m_path, m_dir;
    int m_line = 0;
    int m_failures = 0;
    size_t m_printed = 0;
    int m_errorsBefore = 0, m_errorsAfter = 0;
    std::map<std::string, std::unique_ptr<Var>> m_vars;
};

}  // namespace

extern "C" int MorvekStubRunScript(const char* path) {
    if (!path) return -1;
    Runner runner(path);
    return runner.run();
}
