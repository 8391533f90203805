#include "layuplib/copy_text.h"

#include <algorithm>
#include <cstring>

namespace {
CopyTextRoom g_room = nullptr;
}  // namespace

void SetCopyTextRoom(CopyTextRoom room) {
    g_room = room;
}

int copy_text(char* buffer, int size, const char* text) {
    if (g_room && buffer) {
        const int room = g_room(buffer);
        if (room >= 0 && room < size) size = room;
    }
    if (!buffer || size < 1) return 1;
    if (!text) text = "";
    const size_t room = static_cast<size_t>(size) - 1;
    const size_t n = std::min(std::strlen(text), room);
    std::memcpy(buffer, text, n);
    buffer[n] = '\0';
    return 0;
}
