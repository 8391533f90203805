#include "layuplib/copy_text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A 12-byte slot at the start of a 64-byte area whose size "the host" fixed.
char g_area[64];
int slotRoom(const char* buffer) {
    return buffer >= g_area && buffer < g_area + 12 ? static_cast<int>(g_area + 12 - buffer) : -1;
}

}  // namespace

TEST(copy_text, CutsAtTheSizeAndAtAForeignSlot) {
    char buffer[8];
    EXPECT_EQ(copy_text(buffer, 4, "abcdef"), 0);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(copy_text(buffer, 8, nullptr), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(copy_text(buffer, 0, "x"), 1);
    EXPECT_EQ(copy_text(nullptr, 8, "x"), 1);

    // Inside the slot the text stops at the slot's end whatever size the
    // caller believed; elsewhere the size counts.
    std::memset(g_area, '#', sizeof g_area);
    SetCopyTextRoom(&slotRoom);
    EXPECT_EQ(copy_text(g_area, 64, "a name longer than the slot"), 0);
    EXPECT_STREQ(g_area, "a name long");
    EXPECT_EQ(g_area[12], '#');
    EXPECT_EQ(copy_text(g_area + 8, 64, "wxyz"), 0);
    EXPECT_STREQ(g_area + 8, "wxy");
    EXPECT_EQ(copy_text(g_area + 20, 64, "outside the slot"), 0);
    EXPECT_STREQ(g_area + 20, "outside the slot");
    SetCopyTextRoom(nullptr);
    EXPECT_EQ(copy_text(g_area, 64, "a name longer than the slot"), 0);
    EXPECT_STREQ(g_area, "a name longer than the slot");
}
