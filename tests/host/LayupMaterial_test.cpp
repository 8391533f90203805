#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "platform/MorvekStub.h"

namespace {

constexpr int kValues = 42;

// Arrays for `states` states in the flat layout of the material functions.
struct States {
    explicit States(int states)
        : keys(states), names(states), ids(states), tropies(states), values() {
        for (auto& v : values) v.assign(static_cast<size_t>(states), 0.0f);
        for (int i = 0; i < states; ++i) {
            names[i] = "ext" + std::to_string(i);
            ptrs.push_back(&names[i][0]);
        }
    }
    // Every value of every state different.
    void fill() {
        for (size_t i = 0; i < keys.size(); ++i) {
            keys[i] = 10.0f * i;
            ids[i] = 100 + static_cast<int>(i);
            tropies[i] = 1 + static_cast<int>(i) % 5;
            for (int k = 0; k < kValues; ++k) values[k][i] = 1000.0f * i + k + 0.5f;
        }
    }
    float* v(int k) { return values[static_cast<size_t>(k)].data(); }

    std::vector<float> keys;
    std::vector<std::string> names;
    std::vector<char*> ptrs;
    std::vector<int> ids, tropies;
    std::array<std::vector<float>, kValues> values;
};

int Create(int type, const char* name, int n, States& s, float wwa = 90.0f, float strain = 30.0f) {
    return LayupCreateMaterial(
        type, name, 0.25f, wwa, strain, n, s.keys.data(), s.ptrs.data(), s.ids.data(),
        s.tropies.data(), s.v(0), s.v(1), s.v(2), s.v(3), s.v(4), s.v(5), s.v(6), s.v(7), s.v(8),
        s.v(9), s.v(10), s.v(11), s.v(12), s.v(13), s.v(14), s.v(15), s.v(16), s.v(17), s.v(18),
        s.v(19), s.v(20), s.v(21), s.v(22), s.v(23), s.v(24), s.v(25), s.v(26), s.v(27), s.v(28),
        s.v(29), s.v(30), s.v(31), s.v(32), s.v(33), s.v(34), s.v(35), s.v(36), s.v(37), s.v(38),
        s.v(39), s.v(40), s.v(41));
}

int Modify(const char* name, const char* newName, int n, States& s) {
    return LayupModifyMaterial(
        3, name, newName, 0.5f, 45.0f, 20.0f, n, s.keys.data(), s.ptrs.data(), s.ids.data(),
        s.tropies.data(), s.v(0), s.v(1), s.v(2), s.v(3), s.v(4), s.v(5), s.v(6), s.v(7), s.v(8),
        s.v(9), s.v(10), s.v(11), s.v(12), s.v(13), s.v(14), s.v(15), s.v(16), s.v(17), s.v(18),
        s.v(19), s.v(20), s.v(21), s.v(22), s.v(23), s.v(24), s.v(25), s.v(26), s.v(27), s.v(28),
        s.v(29), s.v(30), s.v(31), s.v(32), s.v(33), s.v(34), s.v(35), s.v(36), s.v(37), s.v(38),
        s.v(39), s.v(40), s.v(41));
}

// Reads every state back into `s` (sized for the material's states).
int ReadStates(const char* name, States& s, float* thick, float* wwa, float* strain) {
    for (auto& n : s.names) n.assign(32, 'x');
    for (size_t i = 0; i < s.names.size(); ++i) s.ptrs[i] = &s.names[i][0];
    return LayupGetMaterialStates(
        0, name, thick, wwa, strain, 0, s.keys.data(), s.ptrs.data(), s.ids.data(),
        s.tropies.data(), s.v(0), s.v(1), s.v(2), s.v(3), s.v(4), s.v(5), s.v(6), s.v(7), s.v(8),
        s.v(9), s.v(10), s.v(11), s.v(12), s.v(13), s.v(14), s.v(15), s.v(16), s.v(17), s.v(18),
        s.v(19), s.v(20), s.v(21), s.v(22), s.v(23), s.v(24), s.v(25), s.v(26), s.v(27), s.v(28),
        s.v(29), s.v(30), s.v(31), s.v(32), s.v(33), s.v(34), s.v(35), s.v(36), s.v(37), s.v(38),
        s.v(39), s.v(40), s.v(41));
}

class LayupMaterialTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        MorvekStubReset();
        ASSERT_EQ(LayupConstruct(0, "", ""), 0);
        ASSERT_EQ(LayupOpenMessage(path.c_str()), 0);
    }
    void TearDown() override {
        LayupCloseMessage();
        LayupDestruct();
        MorvekStubReset();
        std::remove(path.c_str());
    }
    // The message file so far; later calls see only what came after.
    std::string Log() {
        std::ostringstream s;
        s << std::ifstream(path).rdbuf();
        const std::string all = s.str();
        const std::string fresh = all.substr(std::min(seen, all.size()));
        seen = all.size();
        return fresh;
    }
    static int Count() {
        int n = -7;
        EXPECT_EQ(LayupGetNumMaterials(0, &n), 0);
        return n;
    }

    std::string path = ::testing::TempDir() + "material_" + std::to_string(::getpid()) + ".msg";
    size_t seen = 0;
};

}  // namespace

TEST_F(LayupMaterialTest, ThreeStatesReadBackValueByValue) {
    States in(3);
    in.fill();
    ASSERT_EQ(Create(3, "CF", 2, in), 0);

    int n = -1;
    ASSERT_EQ(LayupGetNumMaterialStates(0, "CF", &n), 0);
    EXPECT_EQ(n, 2);
    States out(3);
    float thick = 0, wwa = 0, strain = 0;
    ASSERT_EQ(ReadStates("CF", out, &thick, &wwa, &strain), 0);
    EXPECT_FLOAT_EQ(thick, 0.25f);
    EXPECT_EQ(wwa, 90.0f);  // through radians and back
    EXPECT_EQ(strain, 30.0f);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(out.keys[i], i == 0 ? 0.0f : in.keys[i]) << i;
        EXPECT_STREQ(out.ptrs[i], ("ext" + std::to_string(i)).c_str());
        EXPECT_EQ(out.ids[i], 100 + i);
        EXPECT_EQ(out.tropies[i], in.tropies[i]);
        for (int k = 0; k < kValues; ++k) EXPECT_EQ(out.values[k][i], in.values[k][i]) << i << k;
    }

    // The base state through the single-value query.
    int type = 0, id = 0, tropy = 0;
    float v[kValues] = {};
    char ext[16] = {};
    ASSERT_EQ(LayupGetMaterial(&type, "CF", &thick, &wwa, &strain, ext, &id, &tropy, &v[0], &v[1],
                               &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9], &v[10],
                               &v[11], &v[12], &v[13], &v[14], &v[15], &v[16], &v[17], &v[18],
                               &v[19], &v[20], &v[21], &v[22], &v[23], &v[24], &v[25], &v[26],
                               &v[27], &v[28], &v[29], &v[30], &v[31], &v[32], &v[33], &v[34],
                               &v[35], &v[36], &v[37], &v[38], &v[39], &v[40], &v[41]),
              0);
    EXPECT_EQ(type, 3);
    EXPECT_STREQ(ext, "ext0");
    EXPECT_EQ(id, 100);
    for (int k = 0; k < kValues; ++k) EXPECT_EQ(v[k], in.values[k][0]) << k;
    type = 2;
    EXPECT_EQ(LayupGetMaterial(&type, "CF", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
              -1);
    EXPECT_NE(Log().find("Material not of specified type."), std::string::npos);
}

TEST_F(LayupMaterialTest, CreateChecksNamesAndKeys) {
    States s(3);
    s.fill();
    s.keys[2] = s.keys[1];  // two further states with one key
    ASSERT_EQ(Create(1, "GF", 2, s), 0);
    std::string log = Log();
    EXPECT_NE(log.find("Could not create state 0.174533 for material 'GF'"), std::string::npos)
        << log;
    int n = -1;
    LayupGetNumMaterialStates(0, "GF", &n);
    EXPECT_EQ(n, 1);
    int type = 0;
    ASSERT_EQ(LayupGetNumMaterials(2, &n), 0);
    EXPECT_EQ(n, 1);  // painted is kept as projected

    EXPECT_EQ(Create(3, "GF", 0, s), -1);
    EXPECT_NE(Log().find("Could not name material 'GF'"), std::string::npos);
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(Create(3, "", 0, s), -1);
    EXPECT_NE(Log().find("Cannot create a material with no name."), std::string::npos);

    // No state at all: the base state keeps its zeros.
    ASSERT_EQ(Create(4, "Empty", -1, s), 0);
    States out(1);
    float t, w, m;
    ASSERT_EQ(ReadStates("Empty", out, &t, &w, &m), 0);
    for (int k = 0; k < kValues; ++k) EXPECT_EQ(out.values[k][0], 0.0f) << k;
    EXPECT_EQ(out.ids[0], 0);
    (void)type;

    // A deleted name is free again.
    ASSERT_EQ(LayupDeleteMaterial(99, "Empty"), 0);
    EXPECT_NE(Log().find("Material 'Empty' deleted"), std::string::npos);
    EXPECT_EQ(LayupDeleteMaterial(0, "Empty"), -1);
    EXPECT_NE(Log().find("Could not find material 'Empty'"), std::string::npos);
    EXPECT_EQ(Create(4, "Empty", 0, s), 0);
}

TEST_F(LayupMaterialTest, ModifyRebuildsStatesAndMayTakeAnotherName) {
    States s(3);
    s.fill();
    ASSERT_EQ(Create(3, "A", 2, s), 0);
    ASSERT_EQ(Create(3, "B", 0, s), 0);
    Log();

    States m(2);
    m.fill();
    m.keys[1] = 15.0f;
    ASSERT_EQ(Modify("A", "A2", 1, m), 0);
    std::string log = Log();
    EXPECT_NE(log.find("Material state created"), std::string::npos);
    EXPECT_NE(log.find("Material modified"), std::string::npos);
    States out(2);
    float t, w, st;
    ASSERT_EQ(ReadStates("A2", out, &t, &w, &st), 0);
    EXPECT_FLOAT_EQ(t, 0.5f);
    EXPECT_FLOAT_EQ(w, 45.0f);
    EXPECT_FLOAT_EQ(st, 20.0f);
    EXPECT_FLOAT_EQ(out.keys[1], 15.0f);
    EXPECT_EQ(out.ids[1], 101);
    for (int k = 0; k < kValues; ++k) EXPECT_EQ(out.values[k][1], m.values[k][1]) << k;

    ASSERT_EQ(Modify("A2", "A2", 0, m), 0);
    int n = -1;
    LayupGetNumMaterialStates(0, "A2", &n);
    EXPECT_EQ(n, 0);

    // Renaming onto another material's name is accepted.
    EXPECT_EQ(Modify("A2", "B", 0, m), 0);
    EXPECT_EQ(Modify("nope", "C", 0, m), -1);
    EXPECT_NE(Log().find("Could not find specified material."), std::string::npos);
    EXPECT_EQ(Modify("B", "", 0, m), -1);
    EXPECT_NE(Log().find("Cannot modify a material with no name."), std::string::npos);
}

TEST_F(LayupMaterialTest, NamesNeedTheExactArraySize) {
    States s(1);
    ASSERT_EQ(Create(3, "one", 0, s), 0);
    ASSERT_EQ(Create(2, "two", 0, s), 0);
    ASSERT_EQ(Create(3, "three", 0, s), 0);
    char a[16] = "untouched", b[16] = "untouched", c[16] = "untouched", d[16] = "untouched";
    char* names[4] = {a, b, c, d};
    EXPECT_EQ(LayupGetMaterialNames(3, 3, names), -1);
    EXPECT_NE(Log().find("LayupGetMaterialNames: The material name array size 3 is not equal to "
                         "the number of matching materials 2."),
              std::string::npos);
    EXPECT_STREQ(a, "untouched");
    ASSERT_EQ(LayupGetMaterialNames(3, 2, names), 0);
    EXPECT_STREQ(a, "one");
    EXPECT_STREQ(b, "three");
    ASSERT_EQ(LayupGetMaterialNames(0, 3, names), 0);
    EXPECT_STREQ(b, "two");
}

TEST_F(LayupMaterialTest, EmptySlotGivesOne) {
    LayupCloseMessage();
    LayupDestruct();
    States s(1);
    int n = 0;
    EXPECT_EQ(Create(3, "x", 0, s), 1);
    EXPECT_EQ(LayupGetNumMaterials(0, &n), 1);
    EXPECT_EQ(LayupDeleteMaterial(0, "x"), 1);
    ASSERT_EQ(LayupConstruct(0, "", ""), 0);
}
