#include "layuplib/CKpSelect.h"

#include <gtest/gtest.h>

class CKpLayup;

namespace {
// Only the address is used: the objects under test keep it without calling it.
CKpLayup* fakeLayup() {
    static int token;
    return reinterpret_cast<CKpLayup*>(&token);
}
}  // namespace

TEST(CKpSelect, SetLayupAndClear) {
    CKpSelect select;
    IVekSelect* iface = &select;
    EXPECT_EQ(static_cast<void*>(iface), static_cast<void*>(&select));
    EXPECT_EQ(select.SetLayup(nullptr), 1);
    EXPECT_EQ(select.GetLayup(), nullptr);
    EXPECT_EQ(select.SetLayup(fakeLayup()), 0);
    EXPECT_EQ(select.GetLayup(), fakeLayup());
    EXPECT_EQ(select.SetLayup(nullptr), 1);  // keeps the model
    EXPECT_EQ(select.GetLayup(), fakeLayup());
    EXPECT_EQ(iface->Clear(), 0);
    EXPECT_EQ(select.ClearResults(), 0);
    EXPECT_EQ(select.GetLayup(), fakeLayup());
}
