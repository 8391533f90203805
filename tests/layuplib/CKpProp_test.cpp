#include "layuplib/CKpProp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "layuplib/CKpCoord.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpPropStore.h"

namespace {

// n value buffers of the documented capacity plus a spare one, filled with
// a marker so that writes past the word count show.
struct Words {
    std::vector<std::string> buf;
    std::vector<char*> values;
    std::vector<int> ids, types;
    explicit Words(int n)
        : buf(n + 1, std::string(IVekPropertySet::WORD_VALUE_LEN, '#')),
          values(n + 1),
          ids(n + 1, -7),
          types(n + 1, -7) {
        for (int k = 0; k <= n; ++k) values[k] = &buf[k][0];
    }
    int get(CKpProp& p, int n) {
        return p.GetWordIdsTypesValues(n, ids.data(), types.data(), values.data());
    }
};

struct Props : ::testing::Test {
    CKpLam lam{12};
    CKpCoord frame{5};
    const int options[6] = {1, 2, 3, 4, 5, 6};
    // Property set 7 of a run named "P"; the angle 190.5 degrees reads as -169.5.
    CKpProp make(int mode, CKpCoord* coord) {
        CKpDirn dirn;
        dirn.Set(1.0, 0.5, -2.0);
        return CKpProp(7, "P", mode, &lam, coord, 190.5 * std::acos(-1.0) / 180, dirn, 2, options);
    }
};

}  // namespace

TEST_F(Props, WordsOfEveryMode) {
    struct Case {
        int mode;
        std::vector<int> ids, types;
        std::vector<std::string> values;
    };
    const std::string angle = "          -169.5";  // "%16.8G"
    const std::vector<Case> cases = {
        {1, {13, 21, 1079}, {5, 9, 3}, {"m:P12", "Coord5", "2"}},
        {2, {13, 21, 20}, {5, 9, 1}, {"m:P12", "Coord5", angle}},
        {3, {13, 20}, {5, 1}, {"m:P12", angle}},
        {4, {13}, {5}, {"m:P12"}},
        {7, {13}, {5}, {"m:P12"}},
        {2004, {13}, {5}, {"m:P12"}},
        {5, {13, 20}, {5, 2}, {"m:P12", "<1,0.5,-2>"}},
        {6, {13, 20}, {5, 9}, {"m:P12", "Coord5"}},
        {8, {13, 20}, {5, 9}, {"m:P12", "Coord5"}},
        {108, {13, 20}, {5, 9}, {"m:P12", "Coord5"}},
        {9, {13, 20}, {5, 1}, {"m:P12", "f:Field3"}},
        {118, {13, 21}, {5, 9}, {"m:EqMat", "Coord5"}},  // the equivalent material
        {1108, {13, 21}, {5, 9}, {"m:P12", "Coord5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        CKpProp p = make(c.mode, &frame);
        p.fieldName("Field3");
        p.matName("EqMat");
        const int n = static_cast<int>(c.ids.size());
        ASSERT_EQ(p.GetNumWords(), n);
        Words w(n);
        ASSERT_EQ(w.get(p, n), 0);
        EXPECT_EQ(std::vector<int>(w.ids.begin(), w.ids.end() - 1), c.ids);
        EXPECT_EQ(std::vector<int>(w.types.begin(), w.types.end() - 1), c.types);
        EXPECT_EQ(std::vector<std::string>(w.values.begin(), w.values.end() - 1), c.values);
        EXPECT_EQ(w.ids[n] + w.types[n], -14);  // the spare entry untouched
        EXPECT_EQ(w.buf[n][0], '#');
    }
}

TEST_F(Props, AccessorsRefusalsAndMissingLinks) {
    CKpProp p(7, "P", 1, &lam, &frame, 0.0, CKpDirn(), 3, options), bare(7);
    p.GetName();
    EXPECT_STREQ(p.GetName(), "P7");  // rebuilt, not appended again
    EXPECT_STREQ(bare.GetName(), "7");
    int got[6] = {};
    EXPECT_EQ(p.GetOptions(got) + p.GetOptions(nullptr), 1);
    EXPECT_EQ(got[5], 6);

    CKpProp none = make(0, nullptr), odd = make(13009, nullptr), p2 = make(2, &frame);
    EXPECT_EQ(none.GetWordIdsTypesValues(0, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(odd.GetNumWords(), 0);
    EXPECT_EQ(odd.GetWordIdsTypesValues(0, nullptr, nullptr, nullptr), 2);
    Words w(4);
    EXPECT_EQ(w.get(p2, 2), 1);
    EXPECT_EQ(w.get(p2, 4), 1);
    w.values[1] = nullptr;
    EXPECT_EQ(w.get(p2, 3), 3);
    EXPECT_EQ(w.ids[0], -7);  // nothing written by any refusal

    // Mode 8 without a frame and a detached laminate read as id 0; a long
    // name is cut to the buffer.
    CKpProp p8 = make(8, nullptr);
    p8.pLam(nullptr);
    Words v(2);
    ASSERT_EQ(v.get(p8, 2), 0);
    EXPECT_EQ((std::vector<std::string>{v.values[0], v.values[1]}),
              (std::vector<std::string>{"m:P0", "Coord0"}));
    CKpProp p9 = make(9, nullptr);
    p9.fieldName(std::string(1000, 'f').c_str());
    ASSERT_EQ(v.get(p9, 2), 0);
    EXPECT_EQ(std::string(v.values[1]).size(), IVekPropertySet::WORD_VALUE_LEN - 1u);
}

TEST(CKpPropStore, ElementIdsAndStoreOrder) {
    CKpPropStore store;
    for (int id : {9, 3, 6}) store.insert(new CKpProp(id));
    EXPECT_STREQ(store.Get(0)->GetName(), "3");
    CKpProp* p = store.find(6);
    for (int e : {40, 10, 30}) p->pPropElems().insert(new CKpPropElem(e));
    int ids[4] = {0, 0, 0, -1};
    EXPECT_EQ(p->GetElemIds(2, ids), 1);
    EXPECT_EQ(ids[0], 0);
    ASSERT_EQ(p->GetElemIds(3, ids), 0);
    EXPECT_EQ(ids[0] * 10000 + ids[1] * 100 + ids[2], 103040);
    EXPECT_EQ(ids[3], -1);
}
