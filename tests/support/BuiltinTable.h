#ifndef PLYSTRAND_TESTS_SUPPORT_BUILTINTABLE_H
#define PLYSTRAND_TESTS_SUPPORT_BUILTINTABLE_H

#include <cstdlib>
#include <string>
#include <vector>

// The built-in commands as the host must see them: position, name, argument
// count and the kind of each argument (tests/blt/builtin_table.inc).
struct Builtin {
    int position;
    const char* name;
    int count;
    const char* kinds;  // blank-separated; "code*n" repeats a code
};

inline const Builtin kBuiltinTable[] = {
#include "tests/blt/builtin_table.inc"
};
constexpr int kBuiltinCount = static_cast<int>(sizeof kBuiltinTable / sizeof kBuiltinTable[0]);

// The argument kind codes of `kinds`, one per argument, repeats expanded
// ("i r[]*2" gives "i", "r[]", "r[]").
inline std::vector<std::string> BuiltinKinds(const char* kinds) {
    std::vector<std::string> out;
    const std::string s = kinds;
    size_t at = 0;
    while (at < s.size()) {
        size_t end = s.find(' ', at);
        if (end == std::string::npos) end = s.size();
        std::string code = s.substr(at, end - at);
        at = end + 1;
        if (code.empty()) continue;
        int repeat = 1;
        const size_t star = code.find('*');
        if (star != std::string::npos) {
            repeat = std::atoi(code.c_str() + star + 1);
            code.resize(star);
        }
        out.insert(out.end(), static_cast<size_t>(repeat), code);
    }
    return out;
}

#endif  // PLYSTRAND_TESTS_SUPPORT_BUILTINTABLE_H
