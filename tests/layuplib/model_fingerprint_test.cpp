// Bit-exact fingerprints of what the model's main paths produce: the faceted
// surface with its neighbour codes, subdomains and node directions, a drape
// grid, a failure run's results and a saved layup file. Each fingerprint is a
// 64-bit FNV-1a hash over the exact bits of every value (doubles and floats
// by their representation), recorded from a build whose results are known
// good. Speed work on the stores, the facet build, the drape and the failure
// run must leave every one of them unchanged.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatGeom.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpPlane.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/CVekAddinFailureLaminaTsaiwu.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/CalcStart.h"
#include "layuplib/find_nei.h"
#include "layuplib/make_axis.h"
#include "layuplib/pattern_wf.h"
#include "tests/support/MeshGen.h"

namespace {

const double kPi = 3.14159265358979323846;

// FNV-1a over the bytes of each value added.
class Hash {
  public:
    void bytes(const void* p, size_t n) {
        const unsigned char* c = static_cast<const unsigned char*>(p);
        for (size_t i = 0; i < n; ++i) {
            m_h ^= c[i];
            m_h *= 1099511628211ULL;
        }
    }
    void i(int v) { bytes(&v, sizeof v); }
    void d(double v) { bytes(&v, sizeof v); }
    void f(float v) { bytes(&v, sizeof v); }
    void pt(const CKpPoint& p) { d(p.getx()), d(p.gety()), d(p.getz()); }
    uint64_t value() const { return m_h; }

  private:
    uint64_t m_h = 14695981039346656037ULL;
};

// The surface: per facet its element, vertex nodes, neighbours (single and
// branch lists with their codes), subdomain and direction flag, area; per
// node its position, direction and offset range; per element its direction
// flag.
uint64_t SurfaceHash(CKpLayup& model) {
    Hash h;
    CKpFacetStore* facets = model.pFacs();
    h.i(facets->entries());
    for (int i = 0; i < facets->entries(); ++i) {
        const CKpFacet* f = facets->pFac(i);
        h.i(f ? 1 : 0);
        if (!f) continue;
        h.i(f->GetElemId());
        for (int e = 0; e < 3; ++e) {
            h.i(f->getCKpNode(e) ? f->getCKpNode(e)->id() : -1);
            h.i(f->getNeigh(e)), h.i(f->getNedge(e)), h.i(f->getNeighn(e));
            for (int k = 0; f->getNeigha(e) && k < f->getNeighn(e); ++k)
                h.i(f->getNeigha(e)[k]), h.i(f->getNedgea(e)[k]);
        }
        h.i(f->getSbdmn()), h.i(f->getSbdmndnfg());
        h.d(f->Area());
    }
    CVekObjectStoreIterator<CKpNode> nit(*model.pNodes());
    while (++nit) {
        const CKpNode* n = nit.key();
        h.i(n->id()), h.i(n->incomplete());
        h.pt(*n->getCKpPoint());
        h.d(n->getCKpDirnX()), h.d(n->getCKpDirnY()), h.d(n->getCKpDirnZ());
        h.d(n->getmax_off()), h.d(n->getmin_off()), h.d(n->getfac_off());
    }
    CVekObjectStoreIterator<CKpElem> eit(*model.pElems());
    while (++eit) h.i(eit.key()->id()), h.i(eit.key()->getetdnfg());
    return h.value();
}

// A hemisphere of radius 1 about the origin, pole on +z: nRings rings of
// 2 nRings cells from the rim to the pole (quad4, a fan of tria3 at the
// pole), meridians turned by half a cell so fibres along x and y miss the
// edges.
meshgen::Mesh Hemisphere(int nRings) {
    const int nAround = 2 * nRings;
    meshgen::Mesh m;
    m.width = 4;
    for (int j = 0; j < nRings; ++j)
        for (int i = 0; i < nAround; ++i) {
            const double up = j * (kPi / 2) / nRings, around = (i + 0.5) * 2 * kPi / nAround;
            m.nodeIds.push_back(j * nAround + i + 1);
            m.xyz.insert(m.xyz.end(), {std::cos(up) * std::cos(around),
                                       std::cos(up) * std::sin(around), std::sin(up)});
        }
    const int pole = nRings * nAround + 1;
    m.nodeIds.push_back(pole);
    m.xyz.insert(m.xyz.end(), {0.0, 0.0, 1.0});
    auto node = [nAround](int j, int i) { return j * nAround + (i % nAround) + 1; };
    for (int j = 0; j < nRings; ++j)
        for (int i = 0; i < nAround; ++i) {
            m.elemIds.push_back(static_cast<int>(m.elemIds.size()) + 1);
            if (j + 1 < nRings) {
                m.topologies.push_back(4);
                m.connectivity.insert(m.connectivity.end(), {node(j, i), node(j, i + 1),
                                                             node(j + 1, i + 1), node(j + 1, i)});
            } else {
                m.topologies.push_back(3);
                m.connectivity.insert(m.connectivity.end(), {node(j, i), node(j, i + 1), pole, 0});
            }
        }
    return m;
}

// Three fins of two quads each on one shared edge along y (branch edges,
// each facet with two partners), plus a tria3 on the far edge of fin 1.
//
//        fin 2 (z up)
//          |
//  fin 1 --+-- fin 3 (tilted down)
meshgen::Mesh Fins() {
    meshgen::Mesh m;
    m.width = 4;
    auto addNode = [&m](int id, double x, double y, double z) {
        m.nodeIds.push_back(id);
        m.xyz.insert(m.xyz.end(), {x, y, z});
    };
    for (int j = 0; j < 3; ++j) addNode(1 + j, 0, j, 0);  // the shared edge
    const double dir[3][3] = {{-1, 0, 0}, {0, 0, 1}, {0.8, 0, -0.6}};
    int id = 10;
    for (int fin = 0; fin < 3; ++fin)
        for (int j = 0; j < 3; ++j, ++id) addNode(id, dir[fin][0], j, dir[fin][2]);
    addNode(50, -2, 0.5, 0);
    for (int fin = 0; fin < 3; ++fin)
        for (int j = 0; j < 2; ++j) {
            const int o = 10 + 3 * fin + j;
            m.elemIds.push_back(static_cast<int>(m.elemIds.size()) + 1);
            m.topologies.push_back(4);
            m.connectivity.insert(m.connectivity.end(), {1 + j, 2 + j, o + 1, o});
        }
    m.elemIds.push_back(100);
    m.topologies.push_back(3);
    m.connectivity.insert(m.connectivity.end(), {10, 11, 50, 0});
    return m;
}

struct Surface {
    const char* name;
    meshgen::Mesh mesh;
    uint64_t expected;
};

TEST(ModelFingerprint, SurfacesOfVariousMeshesAreUnchanged) {
    using meshgen::Kind;
    meshgen::Numbering shuffled;
    shuffled.firstNode = 7;
    shuffled.firstElem = 3;
    shuffled.shuffleSeed = 5;
    const Surface cases[] = {
        {"quad4 plate", meshgen::Plate(Kind::Quad4, 12, 9, 3.0, 2.0), 0xbb70dd2a4c46df30ULL},
        {"quad4 plate shuffled", meshgen::Plate(Kind::Quad4, 12, 9, 3.0, 2.0, shuffled),
         0xf58204ce8b0df658ULL},
        {"tria3 cylinder", meshgen::Cylinder(Kind::Tria3, 16, 5, 1.5, 2 * kPi, 4.0),
         0xa86fc13b7325bd4bULL},
        {"quad8 cylinder", meshgen::Cylinder(Kind::Quad8, 10, 4, 2.0, kPi, 3.0),
         0x2214b02c8d3242feULL},
        {"tria6 plate", meshgen::Plate(Kind::Tria6, 5, 4, 1.0, 1.0, shuffled),
         0xb1e44abf99827d86ULL},
        {"hemisphere", Hemisphere(12), 0x1848e3b145c9b529ULL},
        {"fins", Fins(), 0xad14ef6466552f75ULL},
    };
    for (const Surface& c : cases) {
        CKpLayup model(nullptr, nullptr);
        ASSERT_EQ(meshgen::LoadModel(model, c.mesh), 0) << c.name;
        ASSERT_GT(model.pFacs()->entries(), 0) << c.name;
        int most = 0;
        for (int i = 0; i < model.pFacs()->entries(); ++i)
            for (int e = 0; e < 3; ++e) most = std::max(most, model.pFacs()->pFac(i)->getNeighn(e));
        EXPECT_EQ(most, std::strcmp(c.name, "fins") == 0 ? 2 : 1) << c.name;
        const uint64_t first = SurfaceHash(model);
        // A rebuild on the same model takes back what the first build added.
        ASSERT_NE(model.pFacs()->CreateFacets(), 0) << c.name;
        EXPECT_EQ(SurfaceHash(model), first) << c.name << " after a rebuild";
        EXPECT_EQ(first, c.expected) << c.name << ": 0x" << std::hex << first;
    }
}

// The drape grid: bounds, then per point its position, facet, side flag,
// angles, strain and end data.
uint64_t GridHash(const CKpDrape& grid) {
    Hash h;
    int u0 = 0, u1 = 0, v0 = 0, v1 = 0;
    grid.GetBounds(u0, u1, v0, v1);
    h.i(u0), h.i(u1), h.i(v0), h.i(v1);
    for (int u = u0; u <= u1; ++u)
        for (int v = v0; v <= v1; ++v) {
            const CKpDrapePt* p = grid.pDrapePt(u, v);
            h.i(p ? 1 : 0);
            if (!p) continue;
            h.pt(p->GetPoint());
            h.i(p->GetFacet()), h.i(p->GetDnfg());
            h.d(p->GetWarpAngMinus()), h.d(p->GetWarpAngPlus());
            h.d(p->GetWeftAngMinus()), h.d(p->GetWeftAngPlus());
            h.d(p->GetStrn()), h.d(p->GetThck());
            for (int d = 0; d < 4; ++d) {
                h.i(p->GetJoined(d));
                h.d(p->GetEndFrac(d));
                h.i(p->GetEndFacet(d)), h.i(p->GetEndEdge(d));
            }
        }
    return h.value();
}

TEST(ModelFingerprint, HemisphereDrapeGridIsUnchanged) {
    CKpLayup model(nullptr, nullptr);
    ASSERT_EQ(meshgen::LoadModel(model, Hemisphere(30)), 0);
    ASSERT_EQ(model.SelectAreaEID(-1, nullptr, 0), 0);
    ASSERT_EQ(find_selected_neighbour(nullptr, nullptr, model.pFacs(), model.pElems()), 0);
    CKpPoint eye, start;
    CKpDirn look, ref;
    eye.Set(0.0, 0.0, 5.0);
    look.Set(0.0, 0.0, -1.0);
    ref.Set(1.0, 0.0, 0.0);
    int facet = -1, side = 0;
    double warp = 0.0, weft = 0.0;
    CKpPlane warpPlane, weftPlane;
    ASSERT_EQ(CalcStart(nullptr, model.pFacs(), eye, look, 0, facet, start, side), 0);
    ASSERT_EQ(CalcStartDirn(nullptr, model.pFacs()->pFac(facet), start, look, ref, 0.0, 1, kPi / 2,
                            warp, weft, &warpPlane, &weftPlane),
              0);
    ASSERT_EQ(CalcAxes(nullptr, nullptr, model.pFacs(), 1, facet, start, warp, weft, warpPlane,
                       weftPlane, model.pDrapeSim()),
              0);
    model.pDrapeSim()->pBound()->Set(1.0, 1.0, 0.0, 0.0, 0.0, 0.0);
    CKpMat mat(1);
    mat.setMtrlthck(0.2);
    const CKpMatGeom geom(kPi / 2, 1.0, 0.0);
    ASSERT_EQ(pattern_wf(nullptr, nullptr, nullptr, model.pFacs(), &mat, 1, 1, model.pDrapeSim(),
                         geom, 0.0, 80 * kPi / 180, (kPi / 2) / 12, side),
              0);
    const uint64_t grid = GridHash(*model.pDrapeSim()->pDrape());
    EXPECT_EQ(grid, 0xc25f462cd26727c3ULL) << "0x" << std::hex << grid;
}

TEST(ModelFingerprint, TsaiWuFailureRunResultsAreUnchanged) {
    const int elements = 60, layers = 5;
    CKpLayup model(nullptr, nullptr);
    ASSERT_EQ(meshgen::LoadModel(model, meshgen::Plate(meshgen::Kind::Quad4, 10, 6, 1.0, 1.0)), 0);
    CKpMat* m = new CKpMat(1);
    m->setMtrlnm("M1");
    m->setFxt(1500), m->setFxc(1200), m->setFyt(50), m->setFyc(250);
    m->setFs12(70), m->setFs23(40), m->setFs31(60);
    model.pMats()->insert(m);
    CKpLam* lam = new CKpLam(1);
    for (int k = 0; k < layers; ++k) {
        CKpLamLyr* lyr = new CKpLamLyr;
        lyr->setMid(1), lyr->setT(0.1);
        lam->LamLyrs()->InsertLast(lyr);
    }
    model.pLams()->insert(lam);
    for (int e = 1; e <= elements; ++e) model.pElems()->find(e)->pid(1);
    // Stresses from a fixed sequence, different for every element and layer.
    uint32_t seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(static_cast<int>(seed >> 8) % 2001 - 1000) / 1000.0f;
    };
    for (int k = 0; k < layers; ++k) {
        const std::string layer = "Layer " + std::to_string(k + 1);
        const char* nm[5] = {"LC", "SC", "Stress Tensor", "", layer.c_str()};
        CKpRes* r = new CKpRes(k + 1, nm, 1, 3, 1);
        for (int e = 1; e <= elements; ++e) {
            const float v[6] = {800 * next(), 40 * next(), 0, 50 * next(), 0, 0};
            r->FindOrCreateResElem(e, 6, v, 0, nullptr);
        }
        model.pRess()->insert(r);
    }
    std::vector<int> ids(elements);
    for (int e = 0; e < elements; ++e) ids[e] = e + 1;
    auto* tw = new CVekAddinFailureLaminaTsaiwu;
    tw->AddRef();
    const char* names[5] = {"LC", "SC", "", "", ""};
    const int wanted[2] = {0, 3};
    int out[2] = {0, 0};
    const int status = model.GetResultStore()->CreateResultsFailureLamina(
        elements, ids.data(), names, tw, 0, 1, 1, IVekResultStore::eStress, 0, nullptr, 0, nullptr,
        2, wanted, nullptr, nullptr, out);
    tw->Release();
    ASSERT_EQ(status, 0);
    EXPECT_GT(out[1], out[0]);

    Hash h;
    CVekObjectStoreIterator<CKpRes> it(*model.pRess());
    while (++it) {
        CKpRes* r = it.key();
        h.i(r->id()), h.i(r->type()), h.i(r->loc()), h.i(r->orient());
        for (int k = 0; k < 5; ++k) {
            const char* s = r->name(k);
            h.bytes(s ? s : "", s ? std::strlen(s) + 1 : 1);
        }
        const int n = r->GetNumElements();
        std::vector<int> eids(n), nInts(n), nFloats(n);
        ASSERT_EQ(r->GetElementIdsNums(n, eids.data(), nInts.data(), nFloats.data()), 0);
        size_t ti = 0, tf = 0;
        for (int e = 0; e < n; ++e) ti += nInts[e], tf += nFloats[e];
        std::vector<int> ints(ti + 1);
        std::vector<float> floats(tf + 1);
        ASSERT_EQ(r->GetElementResults(ints.data(), floats.data()), 0);
        for (int e = 0; e < n; ++e) h.i(eids[e]), h.i(nInts[e]), h.i(nFloats[e]);
        for (size_t k = 0; k < ti; ++k) h.i(ints[k]);
        for (size_t k = 0; k < tf; ++k) h.f(floats[k]);
    }
    EXPECT_EQ(h.value(), 0x2c160cc61914ffb5ULL) << "0x" << std::hex << h.value();
}

TEST(ModelFingerprint, SavedLayupFileBytesAreUnchanged) {
    CKpLayup model(nullptr, nullptr);
    ASSERT_EQ(
        meshgen::LoadModel(model, meshgen::Cylinder(meshgen::Kind::Quad4, 12, 6, 1.0, kPi, 2.0)),
        0);
    const std::string path = ::testing::TempDir() + "fingerprint.lyp";
    ASSERT_EQ(model.SaveLayup(path.c_str(), 0, 0), 0);
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    ASSERT_FALSE(bytes.empty());
    // Record 001 holds the path saved to: hashed as the recording wrote it,
    // to /tmp/fingerprint.lyp, wherever the temp folder is now.
    const std::string record = "\n001 " + path + "\n";
    const size_t at = bytes.find(record);
    ASSERT_NE(at, std::string::npos) << "no record 001 naming " << path;
    bytes.replace(at, record.size(), "\n001 /tmp/fingerprint.lyp\n");
    Hash h;
    h.bytes(bytes.data(), bytes.size());
    EXPECT_EQ(h.value(), 0xfe87160cd60b2fb6ULL)
        << bytes.size() << " bytes, 0x" << std::hex << h.value();

    // The surface rebuilt on opening the file (from the positions as the
    // file rounds them).
    CKpLayup reopened(nullptr, nullptr);
    ASSERT_EQ(model.SaveLayup(path.c_str(), 0, 0), 0);
    ASSERT_EQ(reopened.OpenLayup(path.c_str(), 0), 0);
    std::remove(path.c_str());
    const uint64_t surface = SurfaceHash(reopened);
    EXPECT_EQ(surface, 0xe1850c0ac00c76cfULL) << "0x" << std::hex << surface;
}

}  // namespace
