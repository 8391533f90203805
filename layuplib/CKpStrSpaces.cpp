#include "layuplib/CKpStrSpaces.h"

#include <cstring>

namespace {
const char kBlankMark = '\xFE';
const char kBlankMarkText[] = "\xFE";
}  // namespace

CKpStrSpaces::CKpStrSpaces() {
    Clear();
}

void CKpStrSpaces::Clear() {
    m_spaces = "";
    m_noSpaces = kBlankMarkText;
}

void CKpStrSpaces::Set(const char* text) {
    Clear();
    if (!text) return;
    int n = static_cast<int>(std::strlen(text));
    while (n > 0 && text[n - 1] == kBlankMark) --n;
    if (n == 0) return;
    m_spaces.Set(text, n);
    m_noSpaces.Set(text, n);
    char* spaces = m_spaces.Buffer();
    char* noSpaces = m_noSpaces.Buffer();
    if (!spaces || !noSpaces) return;
    for (int i = 0; i < n; ++i) {
        if (text[i] == ' ' || text[i] == kBlankMark) {
            spaces[i] = ' ';
            noSpaces[i] = kBlankMark;
        }
    }
}
