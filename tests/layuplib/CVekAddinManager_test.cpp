#include "layuplib/CVekAddinManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layuplib/CVekAddinFailureLaminaHill.h"
#include "layuplib/CVekAddinFailureLaminaMaximum.h"
#include "layuplib/CVekAddinModuleEnumerator.h"
#include "layuplib/IVekAddinEnumerator.h"

namespace {

// A criterion that counts its destructions.
struct Probe : CVekAddinFailureLaminaHill {
    static int destroyed;
    ~Probe() override { ++destroyed; }
};
int Probe::destroyed = 0;

std::string Pair(const CVekAddinManager& m, int i) {
    char c[64] = "", f[64] = "";
    if (m.GetEnumerateInterface(i, c, sizeof(c), f, sizeof(f)) != 0) return "<none>";
    return std::string(c) + "|" + f;
}

}  // namespace

TEST(AddinManager, ListsBuiltinsInRegistrationOrder) {
    CVekAddinManager m;
    auto* hill = new CVekAddinFailureLaminaHill;
    EXPECT_EQ(std::vector<int>({m.AddBuiltin(nullptr, "IVekAddinFailureLamina", hill),
                                m.AddBuiltin("Builtin:Hill", nullptr, hill),
                                m.AddBuiltin("Builtin:Hill", "IVekAddinFailureLamina", nullptr)}),
              std::vector<int>({1, 1, 1}));
    EXPECT_EQ(m.AddBuiltin("Builtin:Maximum", "IVekAddinFailureLamina",
                           new CVekAddinFailureLaminaMaximum),
              0);
    EXPECT_EQ(m.AddBuiltin("Builtin:Hill", "IVekAddinFailureLamina", hill), 0);
    EXPECT_EQ(m.GetEnumerateSize(), 0);  // until rebuilt
    EXPECT_EQ(m.CreateEnumerateList(), 0);
    EXPECT_EQ(m.CreateEnumerateList(), 0);  // rebuilding does not duplicate
    ASSERT_EQ(m.GetEnumerateSize(), 2);
    EXPECT_EQ(Pair(m, 0), "Builtin:Maximum|IVekAddinFailureLamina");
    EXPECT_EQ(Pair(m, 1), "Builtin:Hill|IVekAddinFailureLamina");

    char c[8] = "keep", f[8] = "keep";
    EXPECT_EQ(m.GetEnumerateInterface(2, c, sizeof(c), f, sizeof(f)), 1);
    EXPECT_EQ(m.GetEnumerateInterface(-1, c, sizeof(c), f, sizeof(f)), 1);
    EXPECT_EQ(m.GetEnumerateInterface(0, nullptr, 8, f, sizeof(f)), 1);
    EXPECT_EQ(std::string(c) + f, "keepkeep");
    EXPECT_EQ(m.GetEnumerateInterface(1, c, 5, f, sizeof(f)), 0);
    EXPECT_EQ(std::string(c) + "|" + f, "Buil|IVekAdd");
}

TEST(AddinManager, InstantiateHandsOutReferences) {
    CVekAddinManager m;
    auto* hill = new CVekAddinFailureLaminaHill;
    m.AddBuiltin("Builtin:Hill", "IVekAddinFailureLamina", hill);

    void* p = nullptr;
    EXPECT_EQ(m.Instantiate("Builtin:Hill", "IVekAddinFailureLamina", &p), 0);
    EXPECT_EQ(p, static_cast<IVekUnknown*>(hill));
    EXPECT_EQ(m.Instantiate("Builtin:Hill", "IVekAddinFailureLamina", &p), 0);
    EXPECT_EQ(hill->AddRef(), 4);  // manager + two instances + this one
    hill->Release();
    hill->Release();
    hill->Release();

    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(m.Instantiate("Builtin:Hill", "IVekUnknown", &none), 0);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(m.Instantiate(nullptr, "IVekAddinFailureLamina", &none), 1);
    EXPECT_EQ(m.Instantiate("Builtin:Hill", "IVekAddinFailureLamina", nullptr), 1);
}

TEST(AddinManager, ClearReleasesBuiltins) {
    Probe::destroyed = 0;
    {
        CVekAddinManager m;
        for (const char* name : {"a", "b"}) m.AddBuiltin(name, "IVekAddinFailureLamina", new Probe);
        m.CreateEnumerateList();
        EXPECT_EQ(m.Clear(), 0);
        EXPECT_EQ(Probe::destroyed, 2);
        void* p = reinterpret_cast<void*>(1);
        EXPECT_EQ(m.Instantiate("a", "IVekAddinFailureLamina", &p), 0);
        EXPECT_EQ(p, nullptr);
        m.AddBuiltin("c", "IVekAddinFailureLamina", new Probe);
    }
    EXPECT_EQ(Probe::destroyed, 3);  // the destructor releases what is left
}

TEST(AddinManager, SearchPathAndModuleEnumerator) {
    CVekAddinManager m;
    EXPECT_EQ(m.SetSearchPath(nullptr), 1);
    EXPECT_EQ(m.SetSearchPath("/no/such/dir;/another"), 0);
    EXPECT_EQ(m.CreateEnumerateList(), 0);  // no module is found
    EXPECT_EQ(m.GetEnumerateSize(), 0);

    void* p = nullptr;
    ASSERT_EQ(m.Instantiate("VekAddinModuleEnumerator", "IVekAddinEnumerator", &p), 0);
    ASSERT_NE(p, nullptr);
    auto* e = static_cast<IVekAddinEnumerator*>(p);
    char buf[32];
    EXPECT_EQ(std::vector<int>({e->GetComponent(buf, sizeof(buf)), e->Next(),
                                e->GetInterface(buf, sizeof(buf))}),
              std::vector<int>({1, 1, 1}));
    e->Release();
}

TEST(AddinModuleEnumerator, SplitsTheSearchPath) {
    auto* e = new CVekAddinModuleEnumerator;
    e->AddRef();
    EXPECT_EQ(e->SetSearchPath("dirA;;dirB;"), 0);
    EXPECT_STREQ(e->GetSearchPath(), "dirA;;dirB;");
    ASSERT_EQ(e->GetNumSearchFolders(), 2);
    EXPECT_EQ(std::string(e->GetSearchFolder(0)) + "|" + e->GetSearchFolder(1), "dirA|dirB");
    EXPECT_EQ(e->GetSearchFolder(2), nullptr);
    EXPECT_EQ(e->SetSearchPath(nullptr), 1);
    EXPECT_STREQ(e->GetSearchPath(), "dirA;;dirB;");
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(e->Instantiate("Builtin:Hill", "IVekAddinFailureLamina", &out), 0);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(e->Release(), 0);
}
