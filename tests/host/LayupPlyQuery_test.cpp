#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/IVekMaterialStore.h"
#include "layuplib/IVekPlyStore.h"
#include "layuplib/VekTList.h"
#include "platform/MorvekStub.h"
#include "tests/support/MeshGen.h"

namespace {

// Everything LayupCreatePly4 takes, with a draped 90-degree fabric seen
// from above the plate as the default.
struct PlyDef {
    int type = 3;
    std::string name = "P1";
    std::string material = "CF";
    float seed[3] = {0.5f, 0.5f, 0.0f};
    float app[3] = {0.0f, 0.0f, -1.0f};
    float ref[3] = {1.0f, 0.0f, 0.0f};
    float refAngle = 30.0f;
    int originFlag = 0;
    float origin[3] = {0.0f, 0.0f, 0.0f};
    std::string frame;
    float warpWeft = 90.0f, ratio = 1.0f, maxStrain = 45.0f, step = 0.25f;
    int curveType = 0;
    std::string curveDir = "Calc";
    std::vector<int> curveCounts, curveElems, curveEdges;
    int extension = 1, inadmMode = 0;
    float inadmTol = 0.0f;
    float bounds[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    std::vector<int> elems, orders;
    std::vector<int> splitElems, splitEdges, splitValues;
};

template <class T>
T* orNull(std::vector<T>& v) {
    return v.empty() ? nullptr : v.data();
}

int Create(PlyDef d) {
    if (d.orders.empty()) d.orders.assign(d.elems.size(), 0);
    return LayupCreatePly4(d.type, d.name.c_str(), d.material.c_str(), d.seed[0], d.seed[1],
                           d.seed[2], d.app[0], d.app[1], d.app[2], d.ref[0], d.ref[1], d.ref[2],
                           d.refAngle, d.originFlag, d.origin, d.frame.c_str(), d.warpWeft, d.ratio,
                           d.maxStrain, d.step, d.curveType, d.curveDir.c_str(),
                           orNull(d.curveCounts), orNull(d.curveElems), orNull(d.curveEdges),
                           d.extension, d.inadmMode, d.inadmTol, d.bounds[0], d.bounds[1],
                           d.bounds[2], d.bounds[3], static_cast<int>(d.elems.size()),
                           orNull(d.elems), orNull(d.orders), static_cast<int>(d.splitElems.size()),
                           orNull(d.splitElems), orNull(d.splitEdges), orNull(d.splitValues));
}

// Everything LayupGetPly4 writes; sentinels show what was not written.
struct PlyOut {
    int type = 0;
    char material[32] = "?";
    std::vector<int> elems, orders;
    float seed[3] = {-9, -9, -9}, app[3] = {-9, -9, -9}, ref[3] = {-9, -9, -9};
    float refAngle = -9;
    int originFlag = -9;
    float origin[3] = {-9, -9, -9};
    char frame[16] = "?";
    int curveType = -9;
    char curveDir[16] = "?";
    int curveCounts[2] = {0, 0};
    std::vector<int> curveElems, curveEdges;
    int extension = -9, inadmMode = -9;
    float inadmTol = -9, step = -9, maxStrain = -9, warpWeft = -9, ratio = -9;
    float bounds[4] = {-9, -9, -9, -9};
    std::vector<int> splitElems, splitEdges, splitValues;
    float strains[4] = {-9, -9, -9, -9};
    int simResult = -9;
};

// Sizes the arrays to the given counts, filled with -7.
void Size(PlyOut& o, int nElems, int c0, int c1, int nSplit) {
    o.elems.assign(static_cast<size_t>(nElems), -7);
    o.orders.assign(static_cast<size_t>(nElems), -7);
    o.curveCounts[0] = c0;
    o.curveCounts[1] = c1;
    o.curveElems.assign(static_cast<size_t>(c0 + c1) + 1, -7);
    o.curveEdges.assign(static_cast<size_t>(c0 + c1) + 1, -7);
    o.splitElems.assign(static_cast<size_t>(nSplit), -7);
    o.splitEdges.assign(static_cast<size_t>(nSplit), -7);
    o.splitValues.assign(static_cast<size_t>(nSplit), -7);
}

// Sizes the arrays to the given counts (filled with -7) and reads the ply.
int Get(const char* name, PlyOut& o, int nElems, int c0, int c1, int nSplit) {
    Size(o, nElems, c0, c1, nSplit);
    std::vector<char> text(name, name + std::strlen(name) + 1);
    return LayupGetPly4(&o.type, text.data(), o.material, nElems, o.elems.data(), o.orders.data(),
                        o.seed, o.app, o.ref, &o.refAngle, &o.originFlag, o.origin, o.frame,
                        static_cast<int>(sizeof o.frame), &o.curveType, o.curveDir, o.curveCounts,
                        o.curveElems.data(), o.curveEdges.data(), &o.extension, &o.inadmMode,
                        &o.inadmTol, &o.step, &o.maxStrain, &o.warpWeft, &o.ratio, o.bounds, nSplit,
                        orNull(o.splitElems), orNull(o.splitEdges), orNull(o.splitValues),
                        o.strains, &o.simResult);
}

struct Draped {
    int status = -99;
    std::vector<int> prevI, nextI, prevJ, nextJ, elems;
    std::vector<float> xyz, angles;
};

Draped GetDraped(const char* name, int trim) {
    Draped d;
    int n = -1;
    if (LayupGetPlyDrapedPatternNum(name, trim, &n) != 0 || n < 1) return d;
    for (auto* v : {&d.prevI, &d.nextI, &d.prevJ, &d.nextJ, &d.elems}) v->assign(n, -7);
    d.xyz.assign(3 * static_cast<size_t>(n), -7.0f);
    d.angles.assign(n, -7.0f);
    d.status =
        LayupGetPlyDrapedPattern(name, trim, n, d.prevI.data(), d.nextI.data(), d.prevJ.data(),
                                 d.nextJ.data(), d.elems.data(), d.xyz.data(), d.angles.data());
    return d;
}

struct Flat {
    int status = -99;
    std::vector<int> sizes;
    std::vector<float> uv;
    float origin[3] = {-9, -9, -9};
    float axes[9] = {-9, -9, -9, -9, -9, -9, -9, -9, -9};
};

Flat GetFlat(const char* name) {
    Flat f;
    int rings = -1, n = -1;
    if (LayupGetPlyFlatPatternNum(name, &rings, &n) != 0 || rings < 1) return f;
    f.sizes.assign(rings, -7);
    f.uv.assign(3 * static_cast<size_t>(n), -7.0f);
    f.status =
        LayupGetPlyFlatPattern(name, rings, n, f.sizes.data(), f.uv.data(), f.origin, f.axes);
    return f;
}

class LayupPlyQueryTest : public ::testing::Test {
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
    // An nx x ny plate of unit quads (element (i, j) has id j nx + i + 1)
    // and the material "CF".
    void LoadPlate(int nx, int ny) {
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, nx, ny, nx, ny);
        std::vector<int> nodeIds = m.nodeIds, elemIds = m.elemIds, tops = m.topologies,
                         rows = m.connectivity, values(m.elemIds.size(), 1);
        std::vector<float> xyz(m.xyz.begin(), m.xyz.end());
        all = m.elemIds;
        ASSERT_EQ(LayupNewLayupMesh(static_cast<int>(nodeIds.size()), nodeIds.data(), xyz.data(),
                                    static_cast<int>(elemIds.size()), elemIds.data(), values.data(),
                                    tops.data(), m.width, rows.data(), 0.0f, 0.0f),
                  0);
        IVekMaterial* mat = LayupSlotModel()->GetMaterialStore()->New(0);
        ASSERT_NE(mat, nullptr);
        mat->SetName("CF");
        mat->SetType(EVekMaterialScissor);
        mat->SetThickness(0.25);
        Log();
    }
    std::string Log() {
        std::ostringstream s;
        s << std::ifstream(path).rdbuf();
        const std::string whole = s.str();
        const std::string fresh = whole.substr(std::min(seen, whole.size()));
        seen = whole.size();
        return fresh;
    }
    static IVekPly* Ply(const char* name) { return LayupSlotModel()->GetPlyStore()->Get(name); }
    // The ply's element ids, ascending.
    static std::vector<int> Elements(const char* name) {
        IVekPly* ply = Ply(name);
        std::vector<int> ids(ply ? static_cast<size_t>(ply->GetNumElements()) : 0);
        if (ply) ply->GetElementIdsOrders(static_cast<int>(ids.size()), ids.data(), nullptr);
        std::sort(ids.begin(), ids.end());
        return ids;
    }

    std::vector<int> all;
    std::string path = ::testing::TempDir() + "plyq_" + std::to_string(::getpid()) + ".msg";
    size_t seen = 0;
};

bool Has(const std::string& log, const std::string& text) {
    return log.find(text) != std::string::npos;
}

// The log's messages without the drape's trace lines ("$# ...").
std::string Messages(const std::string& log) {
    std::istringstream in(log);
    std::string line, out;
    while (std::getline(in, line))
        if (line.compare(0, 2, "$#") != 0) out += line + "\n";
    return out;
}

}  // namespace

// ---------------------------------------------------------------- settings

TEST_F(LayupPlyQueryTest, GetPlyReturnsEverySettingAsGiven) {
    LoadPlate(4, 2);
    PlyDef d;
    d.elems = all;
    d.orders = {0, 0, 1, 1, 0, 0, 1, 1};
    d.refAngle = 30.0f;
    d.originFlag = 1;
    d.origin[0] = 1.5f;
    d.origin[1] = -2.0f;
    d.origin[2] = 0.25f;
    d.frame = "Frame7";
    d.warpWeft = 80.0f;
    d.ratio = 1.25f;
    d.maxStrain = 40.0f;
    d.step = 0.3f;
    d.curveType = 2;
    d.curveDir = "Bias";
    d.curveCounts = {2, 1};
    d.curveElems = {1, 2, 5};
    d.curveEdges = {1, 1, 4};
    d.extension = 2;
    d.inadmMode = 1;
    d.inadmTol = 0.125f;
    d.bounds[0] = -1.0f;
    d.bounds[1] = 2.0f;
    d.bounds[2] = -3.0f;
    d.bounds[3] = 4.0f;
    d.splitElems = {2, 6};
    d.splitEdges = {2, 2};
    d.splitValues = {5, 9};
    ASSERT_EQ(Create(d), 0);
    Log();

    PlyOut o;
    ASSERT_EQ(Get("P1", o, 8, 2, 1, 2), 0);
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(o.type, 3);
    EXPECT_STREQ(o.material, "CF");
    EXPECT_EQ(o.elems, all);
    EXPECT_EQ(o.orders, d.orders);
    for (int k = 0; k < 3; ++k) {
        EXPECT_FLOAT_EQ(o.seed[k], d.seed[k]);
        EXPECT_FLOAT_EQ(o.app[k], d.app[k]);
        EXPECT_FLOAT_EQ(o.ref[k], d.ref[k]);
        EXPECT_FLOAT_EQ(o.origin[k], d.origin[k]);
    }
    EXPECT_FLOAT_EQ(o.refAngle, 30.0f);
    EXPECT_EQ(o.originFlag, 1);
    EXPECT_STREQ(o.frame, "Frame7");
    EXPECT_EQ(o.curveType, 2);
    EXPECT_STREQ(o.curveDir, "Bias");
    EXPECT_EQ(std::vector<int>(o.curveElems.begin(), o.curveElems.begin() + 3), d.curveElems);
    EXPECT_EQ(std::vector<int>(o.curveEdges.begin(), o.curveEdges.begin() + 3), d.curveEdges);
    EXPECT_EQ(o.curveElems[3], -7);  // nothing past the counts
    EXPECT_EQ(o.extension, 2);
    EXPECT_EQ(o.inadmMode, 1);
    EXPECT_FLOAT_EQ(o.inadmTol, 0.125f);
    EXPECT_FLOAT_EQ(o.step, 0.3f);
    EXPECT_FLOAT_EQ(o.maxStrain, 40.0f);
    EXPECT_FLOAT_EQ(o.warpWeft, 80.0f);
    EXPECT_FLOAT_EQ(o.ratio, 1.25f);
    for (int k = 0; k < 4; ++k) EXPECT_FLOAT_EQ(o.bounds[k], d.bounds[k]);
    EXPECT_EQ(o.splitElems, d.splitElems);
    EXPECT_EQ(o.splitEdges, d.splitEdges);
    EXPECT_EQ(o.splitValues, d.splitValues);
    IVekPly* ply = Ply("P1");
    double strains[2], thick[2];
    ASSERT_EQ(ply->GetSimulationStrains(strains), 0);
    ASSERT_EQ(ply->GetSimulationThicknesses(thick), 0);
    EXPECT_FLOAT_EQ(o.strains[0], static_cast<float>(strains[0] * 180.0 / M_PI));
    EXPECT_FLOAT_EQ(o.strains[1], static_cast<float>(strains[1] * 180.0 / M_PI));
    EXPECT_FLOAT_EQ(o.strains[2], static_cast<float>(thick[0]));
    EXPECT_FLOAT_EQ(o.strains[3], static_cast<float>(thick[1]));
    EXPECT_EQ(o.simResult, ply->GetSimulationResult());

    // The older versions read the same settings, in their own places.
    int type = 0, curveType = -1, extension = -1, elems[8], orders[8], cc[2] = {2, 1}, ce[3], cd[3],
        se[2], sd[2], sim = -9;
    float seed[3], app[3], ref[3], refAngle = 0, step = 0, strain = 0, ww = 0, ratio = 0, bounds[4],
                                   oldStrains[4];
    char name[] = "P1", mat[8], dir[8];
    ASSERT_EQ(LayupGetPly(&type, name, mat, 8, elems, orders, seed, app, ref, &refAngle, &curveType,
                          dir, cc, ce, cd, &extension, &step, &strain, &ww, &ratio, bounds, 2, se,
                          sd, oldStrains, &sim),
              0);
    EXPECT_FLOAT_EQ(refAngle, 30.0f);
    EXPECT_FLOAT_EQ(step, 0.3f);
    EXPECT_FLOAT_EQ(strain, 40.0f);
    EXPECT_FLOAT_EQ(ww, 80.0f);
    EXPECT_FLOAT_EQ(ratio, 1.25f);
    EXPECT_FLOAT_EQ(bounds[3], 4.0f);
    EXPECT_EQ(se[1], 6);
    EXPECT_EQ(ce[2], 5);
    EXPECT_EQ(sim, o.simResult);

    // The frame name is cut to its buffer; without a buffer there is no
    // origin to report.
    int flag = -1;
    float org[3] = {-9, -9, -9};
    char small[5] = "????";
    ASSERT_EQ(LayupGetPly4(nullptr, name, nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, &flag, org, small, 4, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr),
              0);
    EXPECT_EQ(flag, 1);
    EXPECT_STREQ(small, "Fra");
    EXPECT_FLOAT_EQ(org[1], -2.0f);
    flag = -1;
    org[1] = -9;
    ASSERT_EQ(LayupGetPly4(nullptr, name, nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, &flag, org, nullptr, 4, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr),
              0);
    EXPECT_EQ(flag, 0);
    EXPECT_FLOAT_EQ(org[1], -9.0f);
}

TEST_F(LayupPlyQueryTest, GetPlyCountMismatchesSkipOnlyTheirGroup) {
    LoadPlate(4, 2);
    PlyDef d;
    d.elems = all;
    d.curveCounts = {2, 1};
    d.curveElems = {1, 2, 5};
    d.curveEdges = {1, 1, 4};
    d.splitElems = {2};
    d.splitEdges = {2};
    ASSERT_EQ(Create(d), 0);
    Log();

    // Elements: 7 given for 8; everything else is still written.
    PlyOut o;
    ASSERT_EQ(Get("P1", o, 7, 2, 1, 1), 0);
    std::string log = Log();
    EXPECT_TRUE(Has(log,
                    "LayupGetPly: The ply element array size 7 is not equal to the number of "
                    "elements 8."))
        << log;
    EXPECT_EQ(o.elems, std::vector<int>(7, -7));
    EXPECT_EQ(o.orders, std::vector<int>(7, -7));
    EXPECT_FLOAT_EQ(o.refAngle, 30.0f);
    EXPECT_EQ(o.curveElems[2], 5);
    EXPECT_EQ(o.splitElems[0], 2);
    EXPECT_EQ(o.simResult, 0);

    // Seed curves: a wrong sum warns; a right sum split otherwise finds both
    // curves' counts wrong and writes nothing.
    ASSERT_EQ(Get("P1", o, 8, 2, 2, 1), 0);
    log = Log();
    EXPECT_TRUE(Has(log,
                    "LayupGetPly: The ply axis element array sizes 2,2 are not equal to the "
                    "number of axis elements 2,1."))
        << log;
    EXPECT_EQ(o.curveElems, std::vector<int>(5, -7));
    EXPECT_EQ(o.elems, all);
    ASSERT_EQ(Get("P1", o, 8, 1, 2, 1), 0);
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(o.curveElems, std::vector<int>(4, -7));

    // Split edges: information only.
    ASSERT_EQ(Get("P1", o, 8, 2, 1, 3), 0);
    log = Log();
    EXPECT_TRUE(Has(log,
                    "LayupGetPly: The ply split element array size 3 is not equal to the "
                    "number of split elements 1."))
        << log;
    EXPECT_EQ(o.splitElems, std::vector<int>(3, -7));

    // Lookups fail before anything is written.
    PlyOut none;
    none.type = 2;
    std::vector<char> text = {'P', '1', '\0'};
    EXPECT_EQ(LayupGetPly4(&none.type, text.data(), none.material, 0, nullptr, nullptr, none.seed,
                           nullptr, nullptr, &none.refAngle, nullptr, nullptr, nullptr, 0, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, 0, nullptr, nullptr, nullptr,
                           nullptr, &none.simResult),
              -1);
    EXPECT_TRUE(Has(Log(), "Ply not of specified type."));
    EXPECT_EQ(none.type, 2);
    EXPECT_STREQ(none.material, "?");
    EXPECT_FLOAT_EQ(none.seed[0], -9.0f);
    EXPECT_EQ(none.simResult, -9);
    EXPECT_EQ(Get("P9", none, 8, 2, 1, 1), -1);
    EXPECT_TRUE(Has(Log(), "Could not find specified ply."));
    EXPECT_EQ(none.elems, std::vector<int>(8, -7));

    // Type 0 asks for any type and receives the ply's; without an origin
    // the flag is 0 and the origin untouched.
    none.type = 0;
    ASSERT_EQ(Get("P1", none, 8, 2, 1, 1), 0);
    EXPECT_EQ(none.type, 3);
    EXPECT_EQ(none.originFlag, 0);
    EXPECT_FLOAT_EQ(none.origin[0], -9.0f);
}

// ---------------------------------------------------------------- older versions

namespace {

// The versions without origin and inadmissible options, from a PlyDef.
int CreateOlder(PlyDef d) {
    if (d.orders.empty()) d.orders.assign(d.elems.size(), 0);
    return LayupCreatePly2(d.type, d.name.c_str(), d.material.c_str(), d.seed[0], d.seed[1],
                           d.seed[2], d.app[0], d.app[1], d.app[2], d.ref[0], d.ref[1], d.ref[2],
                           d.refAngle, d.warpWeft, d.ratio, d.maxStrain, d.step, d.curveType,
                           d.curveDir.c_str(), orNull(d.curveCounts), orNull(d.curveElems),
                           orNull(d.curveEdges), d.extension, d.bounds[0], d.bounds[1], d.bounds[2],
                           d.bounds[3], static_cast<int>(d.elems.size()), orNull(d.elems),
                           orNull(d.orders), static_cast<int>(d.splitElems.size()),
                           orNull(d.splitElems), orNull(d.splitEdges), orNull(d.splitValues));
}

int ModifyOlder(const char* old, PlyDef d) {
    if (d.orders.empty()) d.orders.assign(d.elems.size(), 0);
    return LayupModifyPly2(d.type, old, d.name.c_str(), d.material.c_str(), d.seed[0], d.seed[1],
                           d.seed[2], d.app[0], d.app[1], d.app[2], d.ref[0], d.ref[1], d.ref[2],
                           d.refAngle, d.warpWeft, d.ratio, d.maxStrain, d.step, d.curveType,
                           d.curveDir.c_str(), orNull(d.curveCounts), orNull(d.curveElems),
                           orNull(d.curveEdges), d.extension, d.bounds[0], d.bounds[1], d.bounds[2],
                           d.bounds[3], static_cast<int>(d.elems.size()), orNull(d.elems),
                           orNull(d.orders), static_cast<int>(d.splitElems.size()),
                           orNull(d.splitElems), orNull(d.splitEdges), orNull(d.splitValues));
}

// As Get, through the version without inadmissible options (they stay -9).
int GetOlder(const char* name, PlyOut& o, int nElems, int c0, int c1, int nSplit) {
    Size(o, nElems, c0, c1, nSplit);
    std::vector<char> text(name, name + std::strlen(name) + 1);
    return LayupGetPly3(&o.type, text.data(), o.material, nElems, o.elems.data(), o.orders.data(),
                        o.seed, o.app, o.ref, &o.refAngle, &o.originFlag, o.origin, o.frame,
                        static_cast<int>(sizeof o.frame), &o.curveType, o.curveDir, o.curveCounts,
                        o.curveElems.data(), o.curveEdges.data(), &o.extension, &o.step,
                        &o.maxStrain, &o.warpWeft, &o.ratio, o.bounds, nSplit, orNull(o.splitElems),
                        orNull(o.splitEdges), orNull(o.splitValues), o.strains, &o.simResult);
}

}  // namespace

// Every setting given to the older create and modify versions lands in its
// own place, read back through the older query; they carry no origin.
TEST_F(LayupPlyQueryTest, OlderVersionsCreateModifyAndReadEverySetting) {
    LoadPlate(4, 2);
    PlyDef d;
    d.name = "P2";
    d.elems = all;
    d.orders = {0, 0, 1, 1, 0, 0, 1, 1};
    d.seed[0] = 1.5f;
    d.refAngle = 15.0f;
    d.warpWeft = 80.0f;
    d.ratio = 1.25f;
    d.maxStrain = 40.0f;
    d.step = 0.3f;
    d.curveType = 2;
    d.curveDir = "Weft";
    d.curveCounts = {2, 1};
    d.curveElems = {1, 2, 5};
    d.curveEdges = {1, 1, 4};
    d.extension = 2;
    d.bounds[0] = -1.0f;
    d.bounds[1] = 2.0f;
    d.bounds[2] = -3.0f;
    d.bounds[3] = 4.0f;
    d.splitElems = {2, 6};
    d.splitEdges = {2, 3};
    d.splitValues = {5, 9};
    ASSERT_EQ(CreateOlder(d), 0);
    EXPECT_TRUE(Has(Log(), "Ply 'P2' created."));

    PlyOut o;
    ASSERT_EQ(GetOlder("P2", o, 8, 2, 1, 2), 0);
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(o.type, 3);
    EXPECT_STREQ(o.material, "CF");
    EXPECT_EQ(o.elems, all);
    EXPECT_EQ(o.orders, d.orders);
    for (int k = 0; k < 3; ++k) {
        EXPECT_FLOAT_EQ(o.seed[k], d.seed[k]) << k;
        EXPECT_FLOAT_EQ(o.app[k], d.app[k]) << k;
        EXPECT_FLOAT_EQ(o.ref[k], d.ref[k]) << k;
    }
    EXPECT_FLOAT_EQ(o.refAngle, 15.0f);
    EXPECT_EQ(o.originFlag, 0);
    EXPECT_FLOAT_EQ(o.origin[0], -9.0f);
    EXPECT_EQ(o.curveType, 2);
    EXPECT_STREQ(o.curveDir, "Weft");
    EXPECT_EQ(o.curveElems, (std::vector<int>{1, 2, 5, -7}));
    EXPECT_EQ(o.curveEdges, (std::vector<int>{1, 1, 4, -7}));
    EXPECT_EQ(o.extension, 2);
    EXPECT_EQ(o.inadmMode, -9);
    EXPECT_FLOAT_EQ(o.inadmTol, -9.0f);
    EXPECT_FLOAT_EQ(o.step, 0.3f);
    EXPECT_FLOAT_EQ(o.maxStrain, 40.0f);
    EXPECT_FLOAT_EQ(o.warpWeft, 80.0f);
    EXPECT_FLOAT_EQ(o.ratio, 1.25f);
    for (int k = 0; k < 4; ++k) EXPECT_FLOAT_EQ(o.bounds[k], d.bounds[k]) << k;
    EXPECT_EQ(o.splitElems, d.splitElems);
    EXPECT_EQ(o.splitEdges, d.splitEdges);
    EXPECT_EQ(o.splitValues, d.splitValues);
    IVekPly* ply = Ply("P2");
    ASSERT_NE(ply, nullptr);
    EXPECT_EQ(o.simResult, ply->GetSimulationResult());
    double thick[2] = {0, 0};
    ASSERT_EQ(ply->GetSimulationThicknesses(thick), 0);
    EXPECT_FLOAT_EQ(o.strains[2], static_cast<float>(thick[0]));
    // The newest query agrees, and finds the inadmissible options at 0.
    PlyOut n;
    ASSERT_EQ(Get("P2", n, 8, 2, 1, 2), 0);
    EXPECT_EQ(n.inadmMode, 0);
    EXPECT_FLOAT_EQ(n.inadmTol, 0.0f);
    EXPECT_FLOAT_EQ(n.strains[0], o.strains[0]);
    EXPECT_EQ(n.splitValues, o.splitValues);

    // A ply with an origin, replaced through the older modify: new settings
    // under the new name, the old ply's id, and no origin any more.
    PlyDef withOrigin;
    withOrigin.name = "P1";
    withOrigin.elems = all;
    withOrigin.originFlag = 1;
    withOrigin.origin[0] = 0.5f;
    withOrigin.frame = "Frame7";
    ASSERT_EQ(Create(withOrigin), 0);
    CKpPlyStore* plies = static_cast<CKpLayup*>(LayupSlotModel())->pPlys();
    const int id = plies->findByName("P1")->id();
    PlyOut before;
    ASSERT_EQ(GetOlder("P1", before, 8, 0, 0, 0), 0);
    ASSERT_EQ(before.originFlag, 1);
    EXPECT_STREQ(before.frame, "Frame7");
    Log();

    PlyDef m;
    m.name = "P1b";
    m.elems = {1, 2, 3, 4};
    m.orders = {0, 1, 2, 3};
    m.ref[0] = 0.0f;
    m.ref[1] = 1.0f;
    m.refAngle = -20.0f;
    m.warpWeft = 70.0f;
    m.ratio = 0.75f;
    m.maxStrain = 35.0f;
    m.step = 0.2f;
    m.curveDir = "Bias";
    m.extension = 3;
    m.bounds[1] = 1.5f;
    m.splitElems = {3};
    m.splitEdges = {2};
    m.splitValues = {11};
    ASSERT_EQ(ModifyOlder("P1", m), 0);
    EXPECT_TRUE(Has(Log(), "Ply 'P1b' modified."));
    EXPECT_EQ(Ply("P1"), nullptr);
    ASSERT_NE(Ply("P1b"), nullptr);
    EXPECT_EQ(plies->findByName("P1b")->id(), id);
    EXPECT_EQ(LayupSlotModel()->GetPlyStore()->Count(), 2);

    PlyOut after;
    ASSERT_EQ(GetOlder("P1b", after, 4, 0, 0, 1), 0);
    EXPECT_EQ(after.elems, m.elems);
    EXPECT_EQ(after.orders, m.orders);
    EXPECT_FLOAT_EQ(after.ref[0], 0.0f);
    EXPECT_FLOAT_EQ(after.ref[1], 1.0f);
    EXPECT_FLOAT_EQ(after.refAngle, -20.0f);
    EXPECT_EQ(after.originFlag, 0);
    EXPECT_STREQ(after.curveDir, "Bias");
    EXPECT_EQ(after.extension, 3);
    EXPECT_FLOAT_EQ(after.step, 0.2f);
    EXPECT_FLOAT_EQ(after.maxStrain, 35.0f);
    EXPECT_FLOAT_EQ(after.warpWeft, 70.0f);
    EXPECT_FLOAT_EQ(after.ratio, 0.75f);
    EXPECT_FLOAT_EQ(after.bounds[1], 1.5f);
    EXPECT_EQ(after.splitValues, (std::vector<int>{11}));
    EXPECT_EQ(after.simResult, 0);

    // Refusals: a missing ply, a taken name; nothing changes.
    EXPECT_EQ(ModifyOlder("P9", m), -1);
    EXPECT_TRUE(Has(Log(), "Ply name 'P9' does not exist."));
    m.name = "P2";
    EXPECT_EQ(ModifyOlder("P1b", m), -1);
    EXPECT_TRUE(Has(Log(), "Ply name 'P2' already used."));
    d.name = "P1b";
    EXPECT_EQ(CreateOlder(d), -1);
    EXPECT_TRUE(Has(Log(), "Ply name 'P1b' already used."));
    EXPECT_EQ(LayupSlotModel()->GetPlyStore()->Count(), 2);
    PlyOut none;
    EXPECT_EQ(GetOlder("P9", none, 4, 0, 0, 0), -1);
    EXPECT_TRUE(Has(Log(), "Could not find specified ply."));
    EXPECT_EQ(none.elems, std::vector<int>(4, -7));
    none.type = 2;
    EXPECT_EQ(GetOlder("P1b", none, 4, 0, 0, 0), -1);
    EXPECT_TRUE(Has(Log(), "Ply not of specified type."));
    EXPECT_FLOAT_EQ(none.refAngle, -9.0f);

    LayupCloseMessage();
    LayupDestruct();
    EXPECT_EQ(CreateOlder(d), 1);
    EXPECT_EQ(ModifyOlder("P1b", m), 1);
    EXPECT_EQ(GetOlder("P1b", none, 4, 0, 0, 0), 1);
}

// ---------------------------------------------------------------- region edit

TEST_F(LayupPlyQueryTest, ModifyPlyEditGrowsAndShrinksTheRegion) {
    LoadPlate(4, 2);
    PlyDef d;
    d.elems = {1, 2, 5, 6};
    ASSERT_EQ(Create(d), 0);
    d.name = "Ref";
    d.elems = {1, 2, 3, 5, 6, 7};
    ASSERT_EQ(Create(d), 0);  // the grown region draped afresh
    Log();

    ASSERT_EQ(LayupModifyPlyEdit("P1", "", 2, std::vector<int>{3, 7}.data(), 0, nullptr), 0);
    EXPECT_EQ(Messages(Log()), "");
    ASSERT_NE(Ply("P1"), nullptr);  // an empty new name keeps the name
    EXPECT_EQ(Elements("P1"), (std::vector<int>{1, 2, 3, 5, 6, 7}));
    EXPECT_EQ(Ply("P1")->GetSimulationResult(), 0);
    // The added elements take the fibre directions of the drape around them,
    // which on a flat plate are those of a fresh drape.
    IVekPly* edited = Ply("P1");
    IVekPly* fresh = Ply("Ref");
    VekTList<int> ids1, ids2;
    VekTList<double> mids1, warps1, wefts1, sizes1, mids2, warps2, wefts2, sizes2;
    ASSERT_EQ(edited->GetOrientations(ids1, mids1, warps1, wefts1, sizes1), 0);
    ASSERT_EQ(fresh->GetOrientations(ids2, mids2, warps2, wefts2, sizes2), 0);
    for (int k = 0; k < ids1.GetSize(); ++k) {
        int j = 0;
        while (j < ids2.GetSize() && ids2[j] != ids1[k]) ++j;
        ASSERT_LT(j, ids2.GetSize());
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(warps1[3 * k + c], warps2[3 * j + c], 1e-9) << ids1[k];
            EXPECT_NEAR(wefts1[3 * k + c], wefts2[3 * j + c], 1e-9) << ids1[k];
        }
    }

    // Removing elements takes them out of the ply; the new name is taken.
    ASSERT_EQ(LayupModifyPlyEdit("P1", "P1b", 0, nullptr, 2, std::vector<int>{3, 7}.data()), 0);
    EXPECT_EQ(Ply("P1"), nullptr);
    ASSERT_NE(Ply("P1b"), nullptr);
    EXPECT_EQ(Elements("P1b"), (std::vector<int>{1, 2, 5, 6}));
    int n = 0;
    ASSERT_EQ(LayupGetPlySizes(0, "P1b", &n, nullptr, nullptr), 0);
    EXPECT_EQ(n, 4);
}

TEST_F(LayupPlyQueryTest, ModifyPlyEditRefusesATakenNameAndSkipsUnknownIds) {
    LoadPlate(4, 2);
    PlyDef d;
    d.elems = {1, 2, 5, 6};
    ASSERT_EQ(Create(d), 0);
    d.name = "P2";
    ASSERT_EQ(Create(d), 0);
    Log();

    // Another ply's name: refused before the region changes.
    EXPECT_EQ(LayupModifyPlyEdit("P1", "P2", 1, std::vector<int>{3}.data(), 0, nullptr), -1);
    EXPECT_TRUE(Has(Log(), "Ply name 'P2' already used."));
    EXPECT_EQ(Elements("P1"), (std::vector<int>{1, 2, 5, 6}));
    EXPECT_EQ(LayupSlotModel()->GetPlyStore()->Count(), 2);
    EXPECT_EQ(LayupModifyPlyEdit("P9", "", 0, nullptr, 0, nullptr), -1);
    EXPECT_TRUE(Has(Log(), "Could not find specified ply."));
    EXPECT_EQ(LayupModifyPlyEdit(nullptr, "", 0, nullptr, 0, nullptr), -1);

    // Unknown ids in both lists change nothing: the same region and
    // directions as the edit without them.
    std::vector<int> add = {3, 999, -4}, remove = {0, 12345};
    ASSERT_EQ(LayupModifyPlyEdit("P1", "P1", 3, add.data(), 2, remove.data()), 0);
    ASSERT_EQ(LayupModifyPlyEdit("P2", nullptr, 1, add.data(), 0, nullptr), 0);
    EXPECT_EQ(Messages(Log()), "");
    EXPECT_EQ(Elements("P1"), (std::vector<int>{1, 2, 3, 5, 6}));
    EXPECT_EQ(Elements("P2"), Elements("P1"));
    PlyOut o1, o2;
    ASSERT_EQ(Get("P1", o1, 5, 0, 0, 0), 0);
    ASSERT_EQ(Get("P2", o2, 5, 0, 0, 0), 0);
    EXPECT_EQ(o1.elems, o2.elems);
    EXPECT_EQ(o1.orders, o2.orders);
}

// ---------------------------------------------------------------- region

TEST_F(LayupPlyQueryTest, BoundaryAndHolesOfAHoledPlate) {
    LoadPlate(6, 6);
    PlyDef d;
    // Every element but the 2 x 2 block in the middle.
    const std::vector<int> hole = {15, 16, 21, 22};
    for (int id : all)
        if (std::find(hole.begin(), hole.end(), id) == hole.end()) d.elems.push_back(id);
    ASSERT_EQ(Create(d), 0);
    Log();

    int contours = -1, points = -1;
    ASSERT_EQ(LayupGetPlyBoundaryNum("P1", &contours, &points), 0);
    EXPECT_EQ(contours, 2);
    EXPECT_EQ(points, 25 + 9);  // 24 and 8 unit edges, each ring closed
    int holes = -1;
    ASSERT_EQ(LayupGetPlyHolesNum("P1", &holes), 0);
    ASSERT_EQ(holes, 4);
    std::vector<int> ids(4, -7);
    ASSERT_EQ(LayupGetPlyHoles("P1", 4, ids.data()), 0);
    EXPECT_EQ(ids, hole);
    EXPECT_EQ(LayupGetPlyHoles("P1", 3, ids.data()), 2);

    std::vector<int> sizes(2, -7), nodes(points, -7);
    std::vector<float> xyz(3 * static_cast<size_t>(points), -7.0f);
    ASSERT_EQ(LayupGetPlyBoundary("P1", 2, points, sizes.data(), xyz.data(), nodes.data()), 0);
    ASSERT_EQ(sizes[0] + sizes[1], points);
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{9, 25}));
    // Every point on a node of the ring it closes; the hole's on its edge.
    int onHole = 0;
    for (int p = 0; p < points; ++p) {
        const float x = xyz[3 * p], y = xyz[3 * p + 1];
        EXPECT_FLOAT_EQ(xyz[3 * p + 2], 0.0f);
        EXPECT_FLOAT_EQ(x, std::round(x));
        EXPECT_FLOAT_EQ(y, std::round(y));
        EXPECT_EQ(nodes[p],
                  static_cast<int>(std::lround(y)) * 7 + static_cast<int>(std::lround(x)) + 1);
        const bool outer = x == 0 || x == 6 || y == 0 || y == 6;
        const bool inner =
            x >= 2 && x <= 4 && y >= 2 && y <= 4 && (x == 2 || x == 4 || y == 2 || y == 4);
        EXPECT_TRUE(outer || inner) << x << " " << y;
        onHole += inner;
    }
    EXPECT_EQ(onHole, 9);

    // Counts other than the model's: refused, nothing written.
    std::fill(xyz.begin(), xyz.end(), -7.0f);
    EXPECT_EQ(LayupGetPlyBoundary("P1", 1, points, sizes.data(), xyz.data(), nodes.data()), -1);
    EXPECT_TRUE(Has(Log(),
                    "LayupGetPlyBoundary: The allocated contour array size 1 is not equal "
                    "to the number of contours 2."));
    EXPECT_EQ(LayupGetPlyBoundary("P1", 2, points - 1, sizes.data(), xyz.data(), nodes.data()), -1);
    EXPECT_TRUE(Has(Log(),
                    "LayupGetPlyBoundary: The allocated point array size 33 is not equal to "
                    "the number of points 34."));
    EXPECT_FLOAT_EQ(xyz[0], -7.0f);
}

// ---------------------------------------------------------------- drape results

TEST_F(LayupPlyQueryTest, FlatPatternAxesArriveTransposed) {
    LoadPlate(4, 2);
    PlyDef d;
    d.elems = all;
    d.seed[0] = 1.5f;
    d.seed[1] = 0.5f;
    ASSERT_EQ(Create(d), 0);
    Log();

    const Flat f = GetFlat("P1");
    ASSERT_EQ(f.status, 0);
    ASSERT_EQ(f.sizes.size(), 1u);
    EXPECT_EQ(static_cast<size_t>(f.sizes[0]) * 3, f.uv.size());
    // Fibre axis at 30 degrees to x about the upward normal, across axis at
    // 120 degrees, normal up: axis j in entries 3j..3j+2.
    const float c = std::cos(static_cast<float>(M_PI) / 6), s = 0.5f;
    const float want[9] = {c, s, 0, -s, c, 0, 0, 0, 1};
    for (int k = 0; k < 9; ++k) EXPECT_NEAR(f.axes[k], want[k], 1e-6) << k;
    EXPECT_FLOAT_EQ(f.origin[0], 1.5f);
    EXPECT_FLOAT_EQ(f.origin[1], 0.5f);
    EXPECT_FLOAT_EQ(f.origin[2], 0.0f);

    // Placed by that frame from the seed point, the outline of the flat
    // plate lies on the plate's edges and reaches its four corners.
    float lo[2] = {1e9f, 1e9f}, hi[2] = {-1e9f, -1e9f};
    for (size_t p = 0; p < f.uv.size(); p += 3) {
        EXPECT_FLOAT_EQ(f.uv[p + 2], 0.0f);
        const float x = f.origin[0] + f.uv[p] * f.axes[0] + f.uv[p + 1] * f.axes[3];
        const float y = f.origin[1] + f.uv[p] * f.axes[1] + f.uv[p + 1] * f.axes[4];
        EXPECT_TRUE(std::fabs(x) < 1e-3 || std::fabs(x - 4) < 1e-3 || std::fabs(y) < 1e-3 ||
                    std::fabs(y - 2) < 1e-3)
            << x << " " << y;
        lo[0] = std::min(lo[0], x), lo[1] = std::min(lo[1], y);
        hi[0] = std::max(hi[0], x), hi[1] = std::max(hi[1], y);
    }
    EXPECT_NEAR(lo[0], 0.0f, 1e-3);
    EXPECT_NEAR(lo[1], 0.0f, 1e-3);
    EXPECT_NEAR(hi[0], 4.0f, 1e-3);
    EXPECT_NEAR(hi[1], 2.0f, 1e-3);

    // Statuses of their own for a missing ply.
    int rings = 0, n = 0;
    std::vector<float> none(3);
    EXPECT_EQ(LayupGetPlyFlatPattern("P9", 1, 1, &rings, none.data(), nullptr, nullptr), 2);
    EXPECT_TRUE(Has(Log(), "Ply name 'P9' does not exist."));
    EXPECT_EQ(LayupGetPlyFlatPatternNum("P9", &rings, &n), -1);
    int k = 0;
    EXPECT_EQ(LayupGetPlyDrapedPattern("P9", 0, 1, &k, &k, &k, &k, &k, none.data(), none.data()),
              2);
    EXPECT_EQ(LayupGetPlyDrapedPatternNum("P9", 0, &n), -1);
}

TEST_F(LayupPlyQueryTest, FlatAndDrapedPointsMapBothWays) {
    LoadPlate(4, 2);
    PlyDef d;
    d.elems = all;
    d.seed[0] = 1.5f;
    d.seed[1] = 0.5f;
    ASSERT_EQ(Create(d), 0);
    const Flat f = GetFlat("P1");
    ASSERT_EQ(f.status, 0);
    Log();

    // A flat point lands where the placing frame puts it on the flat plate
    // (up to the start point's nudge into its facet, 0.001 of the way to the
    // facet's centre), and comes back to itself.
    const float cases[][2] = {{0.3f, 0.2f}, {1.1f, -0.4f}, {-0.7f, 0.6f}};
    for (const auto& uv : cases) {
        float flat[2] = {uv[0], uv[1]}, xyz[3] = {-9, -9, -9}, back[2] = {-9, -9};
        int elem = -1;
        ASSERT_EQ(LayupGetPly3DFrom2D("P1", flat, xyz, &elem), 0) << Log();
        EXPECT_NEAR(xyz[0], f.origin[0] + uv[0] * f.axes[0] + uv[1] * f.axes[3], 1e-3);
        EXPECT_NEAR(xyz[1], f.origin[1] + uv[0] * f.axes[1] + uv[1] * f.axes[4], 1e-3);
        EXPECT_NEAR(xyz[2], 0.0f, 1e-6);
        EXPECT_EQ(elem, static_cast<int>(std::floor(xyz[1])) * 4 +
                            static_cast<int>(std::floor(xyz[0])) + 1);
        ASSERT_EQ(LayupGetPly2DFrom3D("P1", xyz, 1e-3f, back), 0) << Log();
        EXPECT_NEAR(back[0], uv[0], 1e-4);
        EXPECT_NEAR(back[1], uv[1], 1e-4);
    }

    // A point above the surface farther than the tolerance: refused, the
    // output untouched.
    float above[3] = {1.5f, 0.5f, 1.0f}, back[2] = {-9, -9};
    EXPECT_EQ(LayupGetPly2DFrom3D("P1", above, 0.1f, back), -1);
    EXPECT_TRUE(Has(Log(),
                    "The projection distance of 1 is greater than the distance tolerance "
                    "0.1"));
    EXPECT_FLOAT_EQ(back[0], -9.0f);
    ASSERT_EQ(LayupGetPly2DFrom3D("P1", above, 1.5f, back), 0);
    EXPECT_NEAR(back[0], 0.0f, 1e-3);
    EXPECT_NEAR(back[1], 0.0f, 1e-3);

    float flat[2] = {0.1f, 0.1f}, xyz[3] = {-9, -9, -9};
    int elem = -1;
    EXPECT_EQ(LayupGetPly3DFrom2D("P9", flat, xyz, &elem), -1);
    EXPECT_TRUE(Has(Log(), "Ply name 'P9' does not exist."));
    EXPECT_EQ(LayupGetPly2DFrom3D("P9", xyz, 1.0f, flat), -1);
    EXPECT_FLOAT_EQ(xyz[0], -9.0f);
    EXPECT_EQ(elem, -1);
}

TEST_F(LayupPlyQueryTest, DrapedPatternGridIsJoinedBothWays) {
    LoadPlate(4, 2);
    PlyDef d;
    d.elems = all;
    d.seed[0] = 1.5f;
    d.seed[1] = 0.5f;
    ASSERT_EQ(Create(d), 0);

    const Draped g = GetDraped("P1", 1);
    ASSERT_EQ(g.status, 0);
    const int n = static_cast<int>(g.elems.size());
    ASSERT_GT(n, 20);
    for (int k = 0; k < n; ++k) {
        // Each join is seen from both of its ends.
        if (g.nextI[k] >= 0) {
            EXPECT_EQ(g.prevI[g.nextI[k]], k);
        }
        if (g.nextJ[k] >= 0) {
            EXPECT_EQ(g.prevJ[g.nextJ[k]], k);
        }
        if (g.prevI[k] >= 0) {
            EXPECT_EQ(g.nextI[g.prevI[k]], k);
        }
        // On the plate, over the element under it, unsheared.
        const float x = g.xyz[3 * k], y = g.xyz[3 * k + 1];
        EXPECT_GE(x, -1e-4f);
        EXPECT_LE(x, 4.0001f);
        EXPECT_GE(y, -1e-4f);
        EXPECT_LE(y, 2.0001f);
        EXPECT_FLOAT_EQ(g.xyz[3 * k + 2], 0.0f);
        EXPECT_GE(g.elems[k], 1);
        EXPECT_LE(g.elems[k], 8);
        EXPECT_NEAR(g.angles[k], 0.0f, 1e-3);
    }
    // Neighbours along the fibre lie one step apart at 30 degrees.
    int joined = 0;
    for (int k = 0; k < n; ++k) {
        const int j = g.nextI[k];
        if (j < 0) continue;
        const float dx = g.xyz[3 * j] - g.xyz[3 * k], dy = g.xyz[3 * j + 1] - g.xyz[3 * k + 1];
        if (std::hypot(dx, dy) < 0.24f) continue;  // a fibre end on the outline
        EXPECT_NEAR(std::atan2(dy, dx) * 180 / M_PI, 30.0, 1e-3);
        EXPECT_NEAR(std::hypot(dx, dy), 0.25, 1e-4);
        ++joined;
    }
    EXPECT_GT(joined, 10);

    // A count other than the model's: refused, nothing converted.
    std::vector<int> i(n - 1, -7);
    std::vector<float> xyz(3 * static_cast<size_t>(n - 1), -7.0f), a(n - 1, -7.0f);
    EXPECT_NE(LayupGetPlyDrapedPattern("P1", 1, n - 1, i.data(), i.data(), i.data(), i.data(),
                                       i.data(), xyz.data(), a.data()),
              0);
    EXPECT_FLOAT_EQ(xyz[0], -7.0f);
    EXPECT_FLOAT_EQ(a[0], -7.0f);
}

TEST_F(LayupPlyQueryTest, QueryOnAnotherPlySimulatesItAgain) {
    LoadPlate(4, 2);
    PlyDef d;
    d.elems = all;
    d.seed[0] = 1.5f;
    d.seed[1] = 0.5f;
    ASSERT_EQ(Create(d), 0);
    const Draped first = GetDraped("P1", 0);
    const Flat firstFlat = GetFlat("P1");
    ASSERT_EQ(first.status, 0);
    ASSERT_EQ(firstFlat.status, 0);

    // P2 drapes at another angle and becomes the current drape.
    d.name = "P2";
    d.refAngle = -20.0f;
    d.elems = {1, 2, 3, 5, 6, 7};
    ASSERT_EQ(Create(d), 0);
    const Draped second = GetDraped("P2", 0);
    ASSERT_EQ(second.status, 0);
    EXPECT_NE(second.elems.size(), first.elems.size());

    // P1's results again: the same as right after its creation.
    const Draped again = GetDraped("P1", 0);
    ASSERT_EQ(again.status, 0);
    EXPECT_EQ(again.elems, first.elems);
    EXPECT_EQ(again.nextI, first.nextI);
    EXPECT_EQ(again.prevJ, first.prevJ);
    EXPECT_EQ(again.xyz, first.xyz);
    const Flat flatAgain = GetFlat("P2");
    ASSERT_EQ(flatAgain.status, 0);
    EXPECT_NEAR(flatAgain.axes[1], std::sin(-20.0 * M_PI / 180), 1e-6);
    const Flat firstAgain = GetFlat("P1");
    EXPECT_EQ(firstAgain.sizes, firstFlat.sizes);
    EXPECT_EQ(firstAgain.uv, firstFlat.uv);
}
