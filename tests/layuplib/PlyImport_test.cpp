#include "layuplib/PlyImport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "layuplib/CKpCurve.h"
#include "layuplib/CKpCurveStore.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpIdStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLyp.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpLypPlyStore.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpOff.h"
#include "layuplib/CKpOffStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/IVekEvent.h"
#include "layuplib/IVekEventStore.h"
#include "layuplib/VekTList.h"
#include "layuplib/add_layer.h"
#include "tests/support/DrapedModel.h"
#include "tests/support/MeshGen.h"
#include "tests/support/SurfaceMeshes.h"

namespace {

using meshgen::Kind;

// Pattern element ids and total covered area of a ply.
struct Cover {
    std::vector<int> ids;
    double area = 0.0;
};

Cover CoverOf(CKpPly* ply) {
    Cover c;
    CKpPat* pat = ply->pPat();
    for (CKpPatElem* pe = pat->PatElems()->First(); pe; pe = pat->PatElems()->Next(pe)) {
        c.ids.push_back(pe->GetElemId());
        double a = 0.0;
        if (pe->pelem() && pe->pelem()->GetArea(&a) == 0) c.area += a;
    }
    return c;
}

std::vector<int> Events(CKpPly* ply) {
    std::vector<int> out;
    IVekEventStore* ev = ply->GetEventStore();
    for (int i = 0; i < ev->Count(); ++i) out.push_back(ev->Get(i)->GetType());
    return out;
}

std::vector<int> AllIds(CKpLayup& m) {
    std::vector<int> ids;
    for (int i = 0; i < m.pElems()->entries(); ++i) ids.push_back((*m.pElems())[i]->id());
    return ids;
}

int ImportAll(CKpLayup& target, CKpLayup& source, std::vector<int> area, int* flags = nullptr,
              int* uncovered = nullptr, std::vector<int>* uncoveredIds = nullptr) {
    std::vector<int> out(area.size() + 1);
    int n = 0;
    int status =
        target.Import(&source, static_cast<int>(area.size()), area.data(), 0.5, 5.0, 0, 0.0, 0,
                      source.pPlys()->entries(), flags, uncovered ? &n : nullptr, out.data());
    if (uncovered) *uncovered = n;
    if (uncoveredIds) uncoveredIds->assign(out.begin(), out.begin() + n);
    return status;
}

// The in-plane warp direction of a pattern element's element.
std::vector<double> Warp(CKpPly* ply, int elemId) {
    VekTList<int> ids;
    VekTList<double> mids, warps, wefts, sizes;
    EXPECT_EQ(ply->GetOrientations(ids, mids, warps, wefts, sizes), 0);
    for (int k = 0; k < ids.GetSize(); ++k)
        if (ids[k] == elemId) return {warps[3 * k], warps[3 * k + 1], warps[3 * k + 2]};
    return {};
}

}  // namespace

TEST(PlyImport, CoarseToFinePlateCoversTheSameAreaWithTheSameFibres) {
    drapedmodel::Model src(meshgen::Plate(Kind::Quad4, 4, 4, 4.0, 4.0));
    CKpPly* sp = src.Ply("P", 1.5, 1.5, 0.25);
    ASSERT_TRUE(sp);
    drapedmodel::Model dst(meshgen::Plate(Kind::Quad4, 8, 8, 4.0, 4.0, {1, 1001}));
    ASSERT_EQ(ImportAll(*dst.model, *src.model, AllIds(*dst.model)), 0);
    CKpPly* tp = dst.model->pPlys()->findByName("P");
    ASSERT_TRUE(tp);
    const Cover s = CoverOf(sp), t = CoverOf(tp);
    EXPECT_EQ(t.ids.size(), 64u);
    EXPECT_NEAR(t.area, s.area, 1e-9);
    EXPECT_EQ(Events(tp).back(), 4);  // meshes differ: pierced
    EXPECT_EQ(std::string(tp->pPat()->pttrnnm()), "P_pattern");
    // Fibres along x in both meshes.
    for (int id : {1001, 1030, 1064}) {
        std::vector<double> w = Warp(tp, id);
        ASSERT_EQ(w.size(), 3u) << id;
        EXPECT_NEAR(std::fabs(w[0]), 1.0, 1e-6) << id;
    }
    ASSERT_TRUE(tp->pMat());
    EXPECT_EQ(std::string(tp->pMat()->mtrlnm()), "CF");
}

namespace {

// A quarter cylinder of radius 2 about the x axis, 4 long, its crown up
// (the generator's cylinder turned so that the axis runs along x).
meshgen::Mesh QuarterCylinder(int nAround, int nAlong, meshgen::Numbering numbering = {}) {
    meshgen::Mesh m =
        meshgen::Cylinder(Kind::Quad4, nAround, nAlong, 2.0, std::acos(-1.0) / 2.0, 4.0, numbering);
    // A cyclic turn of the axes keeps the outward normals outward.
    for (std::size_t i = 0; i + 2 < m.xyz.size(); i += 3) {
        const double x = m.xyz[i], y = m.xyz[i + 1], z = m.xyz[i + 2];
        m.xyz[i] = z;
        m.xyz[i + 1] = x;
        m.xyz[i + 2] = y;
    }
    return m;
}

// Imports the one ply of `src` onto the whole of `dst` and checks that the
// imported ply covers the source ply's area and every element of `dst`.
void ExpectSameCover(drapedmodel::Model& src, CKpPly* sp, drapedmodel::Model& dst) {
    const Cover s = CoverOf(sp);
    ASSERT_EQ(s.ids.size(), static_cast<std::size_t>(src.model->pElems()->entries()));
    std::vector<int> all = AllIds(*dst.model);
    int n = -1;
    std::vector<int> uncovered;
    ASSERT_EQ(ImportAll(*dst.model, *src.model, all, nullptr, &n, &uncovered), 0);
    EXPECT_EQ(n, 0);
    CKpPly* tp = dst.model->pPlys()->findByName("P");
    ASSERT_TRUE(tp);
    Cover t = CoverOf(tp);
    std::sort(t.ids.begin(), t.ids.end());
    std::sort(all.begin(), all.end());
    EXPECT_EQ(t.ids, all);
    EXPECT_NEAR(t.area, s.area, 0.005 * s.area) << t.area << " vs " << s.area;
}

}  // namespace

TEST(PlyImport, CoarseToFineCurvedSurfacesCoverTheSameArea) {
    {
        SCOPED_TRACE("quarter cylinder");
        drapedmodel::Model src(QuarterCylinder(8, 4));
        CKpPly* sp = src.Ply("P", 2.0, 1.0, 0.25);
        ASSERT_TRUE(sp);
        drapedmodel::Model dst(QuarterCylinder(16, 8, {1, 1001}));
        ExpectSameCover(src, sp, dst);
    }
    {
        SCOPED_TRACE("hemisphere");
        drapedmodel::Model src(surfmesh::Hemisphere(Kind::Quad4, 48, 12, 2.0));
        CKpPly* sp = src.Ply("P", 0.3, 0.3, 0.25);
        ASSERT_TRUE(sp);
        drapedmodel::Model dst(surfmesh::Hemisphere(Kind::Quad4, 96, 24, 2.0));
        ExpectSameCover(src, sp, dst);
    }
}

TEST(PlyImport, IdenticalMeshMapsAndSecondImportAsksForNames) {
    drapedmodel::Model src(meshgen::Plate(Kind::Quad4, 4, 4, 4.0, 4.0));
    CKpPly* sp = src.Ply("P", 1.5, 1.5, 0.25);
    ASSERT_TRUE(sp);
    drapedmodel::Model dst(meshgen::Plate(Kind::Quad4, 4, 4, 4.0, 4.0));
    ASSERT_EQ(ImportAll(*dst.model, *src.model, AllIds(*dst.model)), 0);
    CKpPly* first = dst.model->pPlys()->findByName("P");
    ASSERT_TRUE(first);
    EXPECT_EQ(Events(first).back(), 3);
    // Same element, same angles.
    CKpPatElem* a = sp->pPat()->PatElems()->First();
    CKpPatElem* b = first->pPat()->PatElems()->First();
    EXPECT_EQ(a->GetElemId(), b->GetElemId());
    EXPECT_NEAR(a->warpAngle(), b->warpAngle(), 1e-12);
    // The equal material is shared, no question asked.
    EXPECT_EQ(dst.model->pMats()->entries(), 1);

    // Second time: the ply question, answered yes: P1 with P1_pattern.
    dst.gui.answers = {1};
    dst.gui.messages.clear();
    ASSERT_EQ(ImportAll(*dst.model, *src.model, AllIds(*dst.model)), 0);
    CKpPly* second = dst.model->pPlys()->findByName("P1");
    ASSERT_TRUE(second);
    EXPECT_EQ(std::string(second->pPat()->pttrnnm()), "P1_pattern");
    bool asked = false;
    for (const auto& m : dst.gui.messages)
        if (m.channel == 100003 && m.severity == 2821)
            asked = m.text ==
                    "A ply with the name P already exists in the target model. Do you wish to "
                    "modify the ply name to P1? If not, this ply will be ignored.";
    EXPECT_TRUE(asked);
    EXPECT_EQ(dst.model->pMats()->entries(), 1);

    // Third time, answered no: skipped. Then abort: -1, nothing added.
    src.model->pPlys()->findByName("P1")->setname("P");
    dst.gui.answers = {2};
    ASSERT_EQ(ImportAll(*dst.model, *src.model, AllIds(*dst.model)), 0);
    EXPECT_EQ(dst.model->pPlys()->entries(), 2);
    dst.gui.answers = {4};
    EXPECT_EQ(ImportAll(*dst.model, *src.model, AllIds(*dst.model)), -1);
    EXPECT_EQ(dst.model->pPlys()->entries(), 2);
}

TEST(PlyImport, MaterialClashAskedAndCopiedWithItsStates) {
    drapedmodel::Model src(meshgen::Plate(Kind::Quad4, 4, 4, 4.0, 4.0));
    ASSERT_TRUE(src.Ply("P", 1.5, 1.5, 0.25));
    src.model->pMats()->findByName("CF")->Add(0.2);
    src.model->pMats()->findByName("CF")->setLyrtp(3);
    drapedmodel::Model dst(meshgen::Plate(Kind::Quad4, 4, 4, 4.0, 4.0));
    dst.model->pMats()->findByName("CF")->setLyrtp(3);
    dst.model->pMats()->findByName("CF")->setMtrlthck(0.5);
    dst.gui.answers = {1};
    ASSERT_EQ(ImportAll(*dst.model, *src.model, AllIds(*dst.model)), 0);
    CKpMat* copy = dst.model->pMats()->findByName("CF1");
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->id(), 2);
    EXPECT_EQ(copy->Count(), 2);  // base state and the further one
    EXPECT_EQ(dst.model->pPlys()->findByName("P")->pMat(), copy);
    bool asked = false;
    for (const auto& m : dst.gui.messages)
        asked |= m.channel == 100002 && m.severity == 3333 &&
                 m.text.find("A material with the name: CF already exists") == 0;
    EXPECT_TRUE(asked);
}

TEST(PlyImport, RefusesBadSourcesAndShortFlags) {
    drapedmodel::Model m(meshgen::Plate(Kind::Quad4, 2, 2, 2.0, 2.0));
    ASSERT_TRUE(m.Ply("P", 0.5, 0.5, 0.25));
    std::vector<int> area = AllIds(*m.model);
    EXPECT_EQ(
        m.model->Import(nullptr, 4, area.data(), 0.5, 5.0, 0, 0.0, 0, 0, nullptr, nullptr, nullptr),
        -1);
    EXPECT_EQ(ImportAll(*m.model, *m.model, area), -1);
    EXPECT_EQ(m.model->pPlys()->entries(), 1);

    drapedmodel::Model src(meshgen::Plate(Kind::Quad4, 2, 2, 2.0, 2.0));
    ASSERT_TRUE(src.Ply("A", 0.5, 0.5, 0.25));
    ASSERT_TRUE(src.Ply("B", 0.5, 0.5, 0.25));
    int flags[1] = {1};
    EXPECT_EQ(m.model->Import(src.model.get(), 4, area.data(), 0.5, 5.0, 0, 0.0, 0, 1, flags,
                              nullptr, nullptr),
              -1);
    EXPECT_EQ(m.model->pPlys()->entries(), 1);
}

TEST(PlyImport, DeclinedPliesLeaveTheAreaUncovered) {
    drapedmodel::Model src(meshgen::Plate(Kind::Quad4, 2, 2, 2.0, 2.0));
    ASSERT_TRUE(src.Ply("A", 0.5, 0.5, 0.25));
    drapedmodel::Model dst(meshgen::Plate(Kind::Quad4, 2, 2, 2.0, 2.0));
    std::vector<int> area = AllIds(*dst.model);
    int flags[1] = {0};
    int n = -1;
    std::vector<int> ids;
    ASSERT_EQ(ImportAll(*dst.model, *src.model, area, flags, &n, &ids), 0);
    EXPECT_EQ(ids, area);
    flags[0] = 1;
    ASSERT_EQ(ImportAll(*dst.model, *src.model, area, flags, &n, &ids), 0);
    EXPECT_EQ(n, 0);
}

TEST(PlyImport, SwitchesIdsAndCurves) {
    std::string text = "  -bdfwpwt   skin ply";
    std::string word;
    GetSwitch(text, word);
    EXPECT_EQ(word, "-bdfwpwt");
    EXPECT_EQ(text, "skin ply");
    std::string longText = std::string(400, 'w') + " rest";
    GetSwitch(longText, word);
    EXPECT_EQ(word.size(), 400u);
    EXPECT_EQ(longText, "rest");

    CKpIdStore ids;
    EXPECT_EQ(AddIdToStore(&ids, 5), 0);
    EXPECT_EQ(AddIdToStore(&ids, 5), 0);
    EXPECT_EQ(AddIdToStore(&ids, 0), 0);
    EXPECT_EQ(AddIdToStore(&ids, -3), 0);
    EXPECT_EQ(ids.entries(), 1);

    CKpCurveStore curves;
    const double pts[6] = {0, 0, 0, 1, 2, 3};
    ASSERT_EQ(CreateCurve(nullptr, "c", 2, 2, pts, &curves), 0);
    ASSERT_EQ(CreateCurve(nullptr, "d", 2, 2, pts, &curves), 0);
    EXPECT_EQ(curves.maxId(), 2);
    EXPECT_DOUBLE_EQ(curves.find(2)->coord(5), 3.0);
}

namespace {

// Three plies over a 4 x 4 plate and a target on the same mesh.
struct PreviewPair {
    drapedmodel::Model src{meshgen::Plate(Kind::Quad4, 4, 4, 4.0, 4.0)};
    drapedmodel::Model dst{meshgen::Plate(Kind::Quad4, 4, 4, 4.0, 4.0)};
    PreviewPair() {
        for (const char* n : {"A", "B", "C"}) EXPECT_TRUE(src.Ply(n, 1.5, 1.5, 0.25));
    }
    std::vector<int> Flags(int status) {
        std::vector<int> f(3, 7);
        EXPECT_EQ(SetImportPlyFlags(dst.model.get(), src.model.get(), "f.lyp", 3, f.data(), 1, 0),
                  status);
        return f;
    }
    std::vector<std::string> Questions() {
        std::vector<std::string> q;
        for (const auto& m : dst.gui.messages)
            if (m.channel == 100001 && m.severity == 2821) q.push_back(m.text);
        return q;
    }
};

}  // namespace

TEST(PlyImportPreview, AnswersDecideEachPly) {
    {
        PreviewPair p;
        p.dst.gui.answers = {2, 3};  // no, then yes to all
        EXPECT_EQ(p.Flags(0), (std::vector<int>{0, 1, 1}));
        std::vector<std::string> q = p.Questions();
        ASSERT_EQ(q.size(), 2u);
        EXPECT_EQ(q[0], "Do you want to import ply A from the file f.lyp?");
        // The selection is drawn in segment 7, the fibre marks in segment 3.
        bool elems = false, marks = false;
        for (const auto& d : p.src.gui.draws) {
            elems |= d.segment == 7;
            marks |= d.segment == 3;
        }
        EXPECT_TRUE(elems && marks);
    }
    {
        PreviewPair p;
        p.dst.gui.answers = {5};  // no to all
        EXPECT_EQ(p.Flags(0), (std::vector<int>{0, 0, 0}));
        EXPECT_EQ(p.Questions().size(), 1u);
    }
    {
        PreviewPair p;
        p.dst.gui.answers = {1, 4};  // yes, then abort: the aborted ply stays out
        std::vector<int> f = p.Flags(-1);
        EXPECT_EQ(f[0], 1);
        EXPECT_EQ(f[1], 0);
        std::vector<std::string> errors = p.dst.gui.texts(4);
        EXPECT_NE(std::find(errors.begin(), errors.end(), "Import Ply aborted"), errors.end());
    }
    {
        // Without preview every traced ply is taken, outlines become curves.
        PreviewPair p;
        std::vector<int> f(3, 7);
        ASSERT_EQ(
            SetImportPlyFlags(p.dst.model.get(), p.src.model.get(), "f.lyp", 3, f.data(), 0, 1), 0);
        EXPECT_EQ(f, (std::vector<int>{1, 1, 1}));
        ASSERT_EQ(p.dst.model->pCurves()->entries(), 3);
        CKpCurve* c = p.dst.model->pCurves()->find(1);
        EXPECT_EQ(std::string(c->name()), "A");
        EXPECT_EQ(c->type(), 2);
        EXPECT_EQ(c->count(), 16);  // the plate's rim, 4 edges a side
        for (int i = 0; i < c->count(); ++i) {
            const double x = c->coord(3 * i), y = c->coord(3 * i + 1);
            EXPECT_TRUE(x == 0.0 || x == 4.0 || y == 0.0 || y == 4.0) << x << " " << y;
        }
    }
}

TEST(PlyImport, ReversedNormalsAndTurnedFramesKeepGlobalFibres) {
    drapedmodel::Model src(meshgen::Plate(Kind::Quad4, 4, 4, 4.0, 4.0));
    CKpPly* sp = src.Ply("P", 1.5, 1.5, 0.25);
    ASSERT_TRUE(sp);
    // Target: 8 x 8 with every element's node order turned (frames turned
    // by 90 degrees) and, for odd ids, reversed (normals -z).
    meshgen::Mesh fine = meshgen::Plate(Kind::Quad4, 8, 8, 4.0, 4.0, {1, 1001});
    for (int e = 0; e < fine.numElems(); ++e) {
        int* r = fine.connectivity.data() + static_cast<size_t>(e) * fine.width;
        std::rotate(r, r + 1, r + 4);
        if (fine.elemIds[e] % 2) std::swap(r[1], r[3]);
    }
    drapedmodel::Model dst(fine);
    ASSERT_EQ(ImportAll(*dst.model, *src.model, AllIds(*dst.model)), 0);
    CKpPly* tp = dst.model->pPlys()->findByName("P");
    ASSERT_TRUE(tp);
    EXPECT_EQ(CoverOf(tp).ids.size(), 64u);
    const std::vector<double> ref = Warp(sp, 1);
    ASSERT_EQ(ref.size(), 3u);
    for (int id : {1001, 1002, 1027, 1064}) {
        std::vector<double> w = Warp(tp, id);
        ASSERT_EQ(w.size(), 3u) << id;
        // Fibre directions are lines: compare up to sign, in the plane.
        EXPECT_NEAR(std::fabs(w[0] * ref[0] + w[1] * ref[1]), 1.0, 1e-6) << id;
    }
    // A reversed element carries the negated drape flag.
    int flags[2] = {0, 0};
    for (CKpPatElem* pe = tp->pPat()->PatElems()->First(); pe;
         pe = tp->pPat()->PatElems()->Next(pe))
        if (pe->GetElemId() == 1001 || pe->GetElemId() == 1002)
            flags[pe->GetElemId() - 1001] = pe->dnfg();
    EXPECT_EQ(flags[0], -flags[1]);
}

TEST(PlyImport, LayupAndOffsetsComeAlong) {
    drapedmodel::Model src(meshgen::Plate(Kind::Quad4, 4, 4, 4.0, 4.0));
    ASSERT_TRUE(src.Ply("P", 1.5, 1.5, 0.25));
    ASSERT_EQ(CreateLayupPly(src.model.get(), "g1", "s1", 3, "P", 1, 0.0, 0.0, 7), 0);
    CKpOff* off = new CKpOff(1);
    src.model->pOffs()->insert(off);
    const int ids[2] = {1, 2};
    off->SetName("edge");
    off->SetElementIds(2, ids);
    off->SetOffsetValue(0.5);

    drapedmodel::Model dst(meshgen::Plate(Kind::Quad4, 8, 8, 4.0, 4.0, {1, 1001}));
    ASSERT_TRUE(dst.Ply("P", 1.5, 1.5, 0.25));  // the name clash renames to P1
    dst.gui.answers = {1};
    std::vector<int> area = AllIds(*dst.model);
    ASSERT_EQ(dst.model->Import(src.model.get(), static_cast<int>(area.size()), area.data(), 0.5,
                                5.0, 0, 0.0, 1, 1, nullptr, nullptr, nullptr),
              0);
    CKpLypPlyStore& lps = dst.model->pLyp()->LypPlys();
    ASSERT_EQ(lps.entries(), 1);
    EXPECT_EQ(std::string(lps[0]->lyrnm()), "P1");
    EXPECT_EQ(lps[0]->gplyid(), 7);
    EXPECT_EQ(dst.model->pLyp()->id(), 1);
    // Source elements 1 and 2 (x 0..2, y 0..1) lie over 8 fine elements.
    ASSERT_EQ(dst.model->pOffs()->entries(), 1);
    CKpOff* t = (*dst.model->pOffs())[0];
    EXPECT_EQ(std::string(t->name()), "edge");
    EXPECT_DOUBLE_EQ(t->offsetValue(), 0.5);
    std::vector<int> got(t->GetNumElements());
    t->GetElementIds(static_cast<int>(got.size()), got.data());
    EXPECT_EQ(got, (std::vector<int>{1001, 1002, 1003, 1004, 1009, 1010, 1011, 1012}));
}

TEST(PlyImportPreview, HoledPlyAsksWhetherToContinue) {
    // A 6 x 6 plate with its centre 2 x 2 cells cut out: each ply's outline
    // has an inner boundary round the hole.
    drapedmodel::Model src(surfmesh::PlateWithHole(Kind::Quad4, 6, 6.0, 2));
    drapedmodel::Model dst(surfmesh::PlateWithHole(Kind::Quad4, 6, 6.0, 2));
    for (const char* n : {"A", "B"}) ASSERT_TRUE(src.Ply(n, 0.5, 0.5, 0.25));
    ASSERT_EQ(CoverOf(src.model->pPlys()->findByName("A")).ids.size(), 32u);
    dst.gui.answers = {1, 2};  // yes to the first, no to the second
    std::vector<int> f(2, 7);
    ASSERT_EQ(SetImportPlyFlags(dst.model.get(), src.model.get(), "h.lyp", 2, f.data(), 1, 0), 0);
    EXPECT_EQ(f, (std::vector<int>{1, 0}));
    std::vector<RecordingGUI::MessageCall> asked;
    for (const auto& m : dst.gui.messages)
        if (m.severity == 2821) asked.push_back(m);
    ASSERT_EQ(asked.size(), 2u);
    for (size_t i = 0; i < asked.size(); ++i) {
        EXPECT_EQ(asked[i].channel, 100001);
        EXPECT_EQ(asked[i].text, std::string("The area covered by ply ") + (i ? "B" : "A") +
                                     " from the file h.lyp contains interior holes. Do you wish "
                                     "to continue?");
    }
    EXPECT_TRUE(dst.gui.answers.empty());
}

namespace {

template <class Store>
std::vector<int> StoreIds(Store* store) {
    std::vector<int> out;
    for (int i = 0; i < store->entries(); ++i) out.push_back((*store)[i]->id());
    return out;
}

bool Logged(const drapedmodel::Model& m, const std::string& error) {
    const std::vector<std::string> errors = m.gui.texts(4);
    return std::find(errors.begin(), errors.end(), error) != errors.end();
}

}  // namespace

// A target store already holding the highest id (a layup file may give
// one) has no id for the pattern, ply, material copy, offset or curve an
// import makes: that ply is refused whole with its message, the plies
// imported before it stay, and nothing of a wrapped id is made.
TEST(PlyImport, NothingIsMadePastTheHighestIdOfTheTarget) {
    const int top = 2147483647;
    drapedmodel::Model src(meshgen::Plate(Kind::Quad4, 4, 4, 4.0, 4.0));
    ASSERT_TRUE(src.Ply("A", 1.5, 1.5, 0.25));
    ASSERT_TRUE(src.Ply("B", 2.5, 2.5, 0.25));
    {
        // The pattern store ends one below: A takes the last id, B is refused.
        drapedmodel::Model dst(meshgen::Plate(Kind::Quad4, 4, 4, 4.0, 4.0));
        ASSERT_EQ(dst.model->pPats()->insert(new CKpPat(top - 1)), 0);
        EXPECT_EQ(ImportAll(*dst.model, *src.model, AllIds(*dst.model)), -1);
        EXPECT_TRUE(Logged(dst, "Could not add pattern"));
        EXPECT_EQ(StoreIds(dst.model->pPats()), (std::vector<int>{top - 1, top}));
        ASSERT_EQ(StoreIds(dst.model->pPlys()), (std::vector<int>{1}));
        CKpPly* a = dst.model->pPlys()->find(1);
        EXPECT_STREQ(a->name(), "A");
        EXPECT_EQ(a->pPat()->id(), top);
        EXPECT_EQ(CoverOf(a).ids, CoverOf(src.model->pPlys()->findByName("A")).ids);
    }
    {
        // A ply at the highest id: neither A's pattern nor its ply is made.
        drapedmodel::Model dst(meshgen::Plate(Kind::Quad4, 4, 4, 4.0, 4.0));
        CKpPly* own = dst.Ply("Own", 1.5, 1.5, 0.25);
        ASSERT_EQ(dst.model->pPlys()->updateId(own, top), 0);
        EXPECT_EQ(ImportAll(*dst.model, *src.model, AllIds(*dst.model)), -1);
        EXPECT_TRUE(Logged(dst, "Could not allocate memory."));
        EXPECT_EQ(StoreIds(dst.model->pPats()), (std::vector<int>{own->pPat()->id()}));
        EXPECT_EQ(StoreIds(dst.model->pPlys()), (std::vector<int>{top}));
    }
    {
        // A material to copy (its name is new to the target) at the highest id.
        drapedmodel::Model other(meshgen::Plate(Kind::Quad4, 4, 4, 4.0, 4.0));
        ASSERT_TRUE(other.Ply("G", 1.5, 1.5, 0.25));
        other.model->pMats()->findByName("CF")->setMtrlnm("GF");
        drapedmodel::Model dst(meshgen::Plate(Kind::Quad4, 4, 4, 4.0, 4.0));
        ASSERT_EQ(dst.model->pMats()->insert(new CKpMat(top)), 0);
        EXPECT_EQ(ImportAll(*dst.model, *other.model, AllIds(*dst.model)), -1);
        EXPECT_TRUE(Logged(dst, "Could not allocate memory."));
        EXPECT_EQ(StoreIds(dst.model->pMats()), (std::vector<int>{1, top}));
        EXPECT_EQ(dst.model->pPats()->entries() + dst.model->pPlys()->entries(), 0);
    }
    {
        // An offset to carry over at the highest id: the plies come, the
        // offset does not, and the import says it failed.
        drapedmodel::Model withOff(meshgen::Plate(Kind::Quad4, 4, 4, 4.0, 4.0));
        ASSERT_TRUE(withOff.Ply("P", 1.5, 1.5, 0.25));
        CKpOff* off = new CKpOff(1);
        ASSERT_EQ(withOff.model->pOffs()->insert(off), 0);
        const int elems[2] = {1, 2};
        off->SetName("edge");
        off->SetElementIds(2, elems);
        drapedmodel::Model dst(meshgen::Plate(Kind::Quad4, 4, 4, 4.0, 4.0));
        ASSERT_EQ(dst.model->pOffs()->insert(new CKpOff(top)), 0);
        EXPECT_EQ(ImportAll(*dst.model, *withOff.model, AllIds(*dst.model)), -1);
        EXPECT_TRUE(Logged(dst, "Could not allocate memory."));
        EXPECT_EQ(StoreIds(dst.model->pOffs()), (std::vector<int>{top}));
        EXPECT_EQ(StoreIds(dst.model->pPlys()), (std::vector<int>{1}));
    }
    {
        // A curve (a ply outline, say) past a curve of the highest id.
        drapedmodel::Model dst(meshgen::Plate(Kind::Quad4, 1, 1, 1.0, 1.0));
        CKpCurveStore curves;
        ASSERT_EQ(curves.insert(new CKpCurve(top, "top", 2, 0)), 0);
        const double pts[6] = {0, 0, 0, 1, 2, 3};
        EXPECT_EQ(CreateCurve(dst.model->pMsg(), "c", 2, 2, pts, &curves), -1);
        EXPECT_TRUE(Logged(dst, "Could not allocate memory."));
        EXPECT_EQ(StoreIds(&curves), (std::vector<int>{top}));
    }
}
