#include "layuplib/CKpSolidGenSet.h"

#include <gtest/gtest.h>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpNodeStore.h"

class CKpLayup;

namespace {
// Only the address is used: the objects under test keep it without calling it.
CKpLayup* fakeLayup() {
    static int token;
    return reinterpret_cast<CKpLayup*>(&token);
}
}  // namespace

TEST(CKpSolidGenSet, SetLayupAndClearEmptiesTheGeneratedMesh) {
    CKpSolidGenSet gen;
    IVekSolidGenSet* iface = &gen;
    EXPECT_EQ(static_cast<void*>(iface), static_cast<void*>(&gen));
    EXPECT_EQ(gen.SetLayup(nullptr), 1);
    EXPECT_EQ(gen.GetLayup(), nullptr);
    EXPECT_EQ(gen.SetLayup(fakeLayup()), 0);
    EXPECT_EQ(gen.GetLayup(), fakeLayup());

    gen.pSolidNodes()->insert(gen.pSolidNodes()->NewNode(5));
    gen.pSolidElems()->insert(new CKpElem(1, 101));
    EXPECT_EQ(gen.pSolidNodes()->entries(), 1);
    EXPECT_EQ(iface->Clear(), 0);
    EXPECT_EQ(gen.pSolidNodes()->entries(), 0);
    EXPECT_EQ(gen.pSolidElems()->entries(), 0);
    EXPECT_EQ(gen.GetLayup(), fakeLayup());  // the model stays bound
}
