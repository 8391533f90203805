#include "layuplib/CVekAddinModuleEnumerator.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "layuplib/CKpLayup.h"
#include "layuplib/CVekAddinEnumerator.h"
#include "layuplib/CVekAddinFailureLaminaHill.h"
#include "layuplib/CVekAddinManager.h"
#include "layuplib/IVekAddinFailureLamina.h"
#include "platform/PlatModule.h"
#include "tests/support/RecordingGUI.h"

namespace fs = std::filesystem;

namespace {

// Two search folders:
//   one/  0broken.so (text), 1noexport.so (no export), addin_B.so
//   two/  addin_A.so
// so that the folder order (B before A) differs from the name order.
class AddinModules : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string tmpl = ::testing::TempDir() + "addins_XXXXXX";
        ASSERT_NE(mkdtemp(&tmpl[0]), nullptr);
        root = tmpl;
        one = root + "/one";
        two = root + "/two";
        fs::create_directories(one);
        fs::create_directories(two);
        FILE* f = std::fopen((one + "/0broken.so").c_str(), "wb");
        std::fputs("not a library\n", f);
        std::fclose(f);
        fs::copy_file(PLYSTRAND_TEST_ADDIN_NOEXPORT, one + "/1noexport.so");
        fs::copy_file(PLYSTRAND_TEST_ADDIN_B, one + "/addin_B.so");
        fs::copy_file(PLYSTRAND_TEST_ADDIN_A, two + "/addin_A.so");
    }
    void TearDown() override { fs::remove_all(root); }

    // Whether the process holds the module at `path` loaded.
    static bool Loaded(const std::string& path) {
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (handle) dlclose(handle);
        return handle != nullptr;
    }
    static std::vector<std::string> Pairs(const CVekAddinManager& m) {
        std::vector<std::string> out;
        for (int i = 0; i < m.GetEnumerateSize(); ++i) {
            char c[128], f[128];
            EXPECT_EQ(m.GetEnumerateInterface(i, c, sizeof(c), f, sizeof(f)), 0);
            out.push_back(std::string(c) + "|" + f);
        }
        return out;
    }
    // Runs a criterion on Xt = 200, s1 = 50: the failure index.
    static double Index(void* object) {
        auto* c = static_cast<IVekAddinFailureLamina*>(object);
        const double xt = 200.0;
        c->Clear();
        c->SetAllowables(1, &xt);
        c->SetLoadInDirection(IVekAddinFailureLamina::eS1, 50.0);
        EXPECT_EQ(c->Run(), 0);
        double index = -1.0;
        c->GetdResult(3, 0, index);
        return index;
    }

    std::string root, one, two;
};

}  // namespace

TEST_F(AddinModules, ListsFolderByFolderAndUnloadsAfterListing) {
    CVekAddinManager m;
    m.AddBuiltin("Builtin:Hill", "IVekAddinFailureLamina", new CVekAddinFailureLaminaHill);
    ASSERT_EQ(m.SetSearchPath((";" + one + ";;" + two + ";/no/such/folder").c_str()), 0);
    for (int pass = 0; pass < 2; ++pass) {  // a rebuilt list scans from the start
        ASSERT_EQ(m.CreateEnumerateList(), 0);
        EXPECT_EQ(Pairs(m), (std::vector<std::string>{"Builtin:Hill|IVekAddinFailureLamina",
                                                      "AddinB:FibreRatio|IVekAddinFailureLamina",
                                                      "AddinA:FibreRatio|IVekAddinFailureLamina"}));
    }
    EXPECT_FALSE(Loaded(one + "/addin_B.so"));
    EXPECT_FALSE(Loaded(two + "/addin_A.so"));

    // The enumerator lists one module at a time, own pairs included.
    void* p = nullptr;
    ASSERT_EQ(m.Instantiate("VekAddinModuleEnumerator", "IVekAddinEnumerator", &p), 0);
    auto* e = static_cast<IVekAddinEnumerator*>(p);
    std::vector<std::string> seen;
    char buf[256];
    while (e->Next() == 0) {
        ASSERT_EQ(e->GetComponent(buf, sizeof(buf)), 0);
        seen.push_back(buf);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"AddinB:FibreRatio", "AddinB:Enumerator",
                                              "AddinA:FibreRatio", "AddinA:Enumerator"}));
    EXPECT_EQ(e->Next(), 1);
    EXPECT_EQ(e->GetComponent(buf, sizeof(buf)), 1);
    e->Release();
}

TEST_F(AddinModules, InstantiateKeepsTheModuleUntilClear) {
    auto* e = new CVekAddinModuleEnumerator;
    e->AddRef();
    e->SetSearchPath((one + ";" + two).c_str());
    void* first = nullptr;
    ASSERT_EQ(e->Instantiate("AddinA:FibreRatio", "IVekAddinFailureLamina", &first), 0);
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(e->GetNumKeptModules(), 1);
    EXPECT_EQ(std::string(e->GetKeptModulePath(0)), two + "/addin_A.so");
    EXPECT_TRUE(Loaded(two + "/addin_A.so"));
    EXPECT_DOUBLE_EQ(Index(first), 0.25);

    // Listing again loads and unloads the modules; the kept one stays and
    // its object still answers.
    e->Reset();
    while (e->Next() == 0) {
    }
    EXPECT_DOUBLE_EQ(Index(first), 0.25);

    // A second instance comes from the kept module; B is loaded for good
    // when asked for its own pair.
    void* second = nullptr;
    ASSERT_EQ(e->Instantiate("AddinA:FibreRatio", "IVekAddinFailureLamina", &second), 0);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    void* fromB = nullptr;
    ASSERT_EQ(e->Instantiate("AddinB:FibreRatio", "IVekAddinFailureLamina", &fromB), 0);
    ASSERT_NE(fromB, nullptr);
    EXPECT_EQ(e->GetNumKeptModules(), 2);

    // Refusals: an unknown pair, and a module that throws.
    for (const char* refused : {"AddinA:Nothing", "AddinA:Throws"}) {
        void* none = reinterpret_cast<void*>(1);
        EXPECT_EQ(e->Instantiate(refused, "IVekAddinFailureLamina", &none), 0);
        EXPECT_EQ(none, nullptr) << refused;
    }
    EXPECT_EQ(e->GetNumKeptModules(), 2);

    for (void* object : {first, second, fromB})
        static_cast<IVekAddinFailureLamina*>(object)->Release();
    EXPECT_EQ(e->Clear(), 0);
    EXPECT_EQ(e->GetNumKeptModules(), 0);
    EXPECT_FALSE(Loaded(two + "/addin_A.so"));
    EXPECT_FALSE(Loaded(one + "/addin_B.so"));
    e->Release();
}

TEST_F(AddinModules, OnlyListedFoldersAreSearched) {
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
    ASSERT_EQ(chdir(two.c_str()), 0);
    CVekAddinManager m;  // empty search path
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(m.Instantiate("AddinA:FibreRatio", "IVekAddinFailureLamina", &p), 0);
    EXPECT_EQ(p, nullptr);
    EXPECT_FALSE(Loaded(two + "/addin_A.so"));

    // "." names the working folder.
    m.SetSearchPath(".");
    EXPECT_EQ(m.Instantiate("AddinA:FibreRatio", "IVekAddinFailureLamina", &p), 0);
    EXPECT_NE(p, nullptr);
    EXPECT_TRUE(Loaded(two + "/addin_A.so"));
    if (p) static_cast<IVekAddinFailureLamina*>(p)->Release();
    m.Clear();
    EXPECT_FALSE(Loaded(two + "/addin_A.so"));
    ASSERT_EQ(chdir(cwd), 0);

    EXPECT_EQ(PlatModuleLoad("addin_A.so"), nullptr);  // never the library search path
}

TEST_F(AddinModules, ModelListsBuiltinsThenModules) {
    ASSERT_EQ(setenv("VEKAddinPath", (one + ";" + two).c_str(), 1), 0);
    RecordingGUI gui;
    {
        CKpLayup model(nullptr, &gui);
        unsetenv("VEKAddinPath");
        ILayup* api = &model;
        int count = 0;
        ASSERT_EQ(api->GetAddins(&count, "IVekAddinFailureLamina", nullptr), 0);
        ASSERT_EQ(count, 9);
        std::vector<void*> slots(9, nullptr);
        ASSERT_EQ(api->GetAddins(&count, "IVekAddinFailureLamina", slots.data()), 0);
        std::vector<std::string> names;
        for (void* s : slots) {
            char name[64] = "";
            ASSERT_NE(s, nullptr);
            static_cast<IVekAddinFailureLamina*>(s)->GetName(name, sizeof(name));
            names.push_back(name);
        }
        EXPECT_EQ(names,
                  (std::vector<std::string>{"TsaiWu", "Maximum", "Hill", "Hoffman", "Hankinson",
                                            "Cowin", "User", "FibreRatio", "FibreRatio"}));
        EXPECT_DOUBLE_EQ(Index(slots[8]), 0.25);
        for (void* s : slots) static_cast<IVekAddinFailureLamina*>(s)->Release();
        EXPECT_TRUE(Loaded(two + "/addin_A.so"));
    }
    EXPECT_FALSE(Loaded(two + "/addin_A.so"));  // the model's manager unloaded it
}

TEST(AddinEnumerator, ListsWhatWasAdded) {
    auto* e = new CVekAddinEnumerator;
    EXPECT_EQ(e->AddRef(), 1);
    EXPECT_EQ(e->AddInterface("a", nullptr), 1);
    e->AddInterface("first", "IOne");
    e->AddInterface("second", "ITwo");
    char c[4], f[8];
    EXPECT_EQ(e->GetComponent(c, sizeof(c)), 1);  // before the first Next
    std::vector<std::string> seen;
    while (e->Next() == 0) {
        e->GetComponent(c, sizeof(c));
        e->GetInterface(f, sizeof(f));
        seen.push_back(std::string(c) + "|" + f);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"fir|IOne", "sec|ITwo"}));
    EXPECT_EQ(e->Next(), 1);
    EXPECT_EQ(e->GetInterface(f, sizeof(f)), 1);
    e->Reset();
    EXPECT_EQ(e->Next(), 0);
    void* self = nullptr;
    EXPECT_EQ(e->QueryInterface("IVekAddinEnumerator", &self), 0);
    EXPECT_EQ(self, static_cast<IVekAddinEnumerator*>(e));
    EXPECT_EQ(e->QueryInterface("IVekUnknown", &self), 1);
    EXPECT_EQ(e->Release(), 0);
}
