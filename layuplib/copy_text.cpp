#include "layuplib/copy_text.h"

#include <algorithm>
#include <cstring>

int copy_text(char* buffer, int size, const char* text) {
    if (!buffer || size < 1) return 1;
    if (!text) text = "";
    const size_t room = static_cast<size_t>(size) - 1;
    const size_t n = std::min(std::strlen(text), room);
    std::memcpy(buffer, text, n);
    buffer[n] = '\0';
    return 0;
}
