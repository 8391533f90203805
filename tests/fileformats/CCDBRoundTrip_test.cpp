#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "fileformats/CCDBParser.h"
#include "layuplib/CKpAnsys.h"
#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpElemAnsys.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "tests/support/ExchangeFiles.h"
#include "tests/support/ExchangeModel.h"
#include "tests/support/MeshGen.h"
#include "tests/support/Tolerance.h"

namespace {

const Tol kCdb{1e-12, 1e-7};

void ExpectSameNodes(CKpLayup& a, CKpLayup& b) {
    ASSERT_EQ(a.pNodes()->entries(), b.pNodes()->entries());
    CVekObjectStoreIterator<CKpNode> it(*a.pNodes());
    while (++it) {
        CKpNode* na = it.key();
        CKpNode* nb = b.pNodes()->find(na->id());
        ASSERT_NE(nb, nullptr) << "node " << na->id();
        EXPECT_TRUE(Near(nb->getCKpPointX(), na->getCKpPointX(), kCdb)) << "node " << na->id();
        EXPECT_TRUE(Near(nb->getCKpPointY(), na->getCKpPointY(), kCdb)) << "node " << na->id();
        EXPECT_TRUE(Near(nb->getCKpPointZ(), na->getCKpPointZ(), kCdb)) << "node " << na->id();
    }
}

// Elements with their nodes, and the layers and offset of their laminates
// (laminate ids may differ: real constant sets get new ones).
void ExpectSameElements(CKpLayup& a, CKpLayup& b) {
    ASSERT_EQ(a.pElems()->entries(), b.pElems()->entries());
    CVekObjectStoreIterator<CKpElem> it(*a.pElems());
    while (++it) {
        CKpElem* ea = it.key();
        CKpElem* eb = b.pElems()->find(ea->id());
        ASSERT_NE(eb, nullptr) << "element " << ea->id();
        ASSERT_EQ(eb->getgmtp(), ea->getgmtp()) << "element " << ea->id();
        for (int k = 0; k < ea->getnnod(); ++k) EXPECT_EQ(eb->getunid(k), ea->getunid(k));
        ASSERT_NE(eb->pOrient(), nullptr);
        ASSERT_NE(ea->pOrient(), nullptr);
        EXPECT_STREQ(eb->pOrient()->name(), ea->pOrient()->name()) << "element " << ea->id();
        EXPECT_TRUE(Near(eb->theta(), ea->theta(), tol::loose)) << "element " << ea->id();
        CKpLam* la = a.pLams()->find(ea->pid());
        CKpLam* lb = b.pLams()->find(eb->pid());
        ASSERT_EQ(la == nullptr, lb == nullptr) << "element " << ea->id();
        if (!la) continue;
        ASSERT_EQ(lb->NumLayers(), la->NumLayers()) << "element " << ea->id();
        EXPECT_EQ(lb->z0_blank(), la->z0_blank()) << "element " << ea->id();
        EXPECT_TRUE(Near(lb->z0(), la->z0(), kCdb)) << "element " << ea->id();
        for (CKpLamLyr *ya = la->LamLyrs()->First(), *yb = lb->LamLyrs()->First(); ya && yb;
             ya = la->LamLyrs()->Next(ya), yb = lb->LamLyrs()->Next(yb)) {
            EXPECT_EQ(yb->mid(), ya->mid());
            EXPECT_TRUE(Near(yb->t(), ya->t(), Tol{1e-15, 1e-6})) << "element " << ea->id();
            EXPECT_TRUE(Near(yb->theta(), ya->theta(), Tol{1e-9, 1e-6})) << "element " << ea->id();
        }
    }
}

void ExpectSameMaterials(CKpLayup& a, CKpLayup& b) {
    ASSERT_EQ(a.pMats()->entries(), b.pMats()->entries());
    CVekObjectStoreIterator<CKpMat> it(*a.pMats());
    while (++it) {
        CKpMat* ma = it.key();
        CKpMat* mb = b.pMats()->find(ma->id());
        ASSERT_NE(mb, nullptr);
        const double va[] = {ma->ex(),   ma->ey(),   ma->ez(),   ma->nuxy(), ma->nuyz(), ma->nuzx(),
                             ma->gxy(),  ma->gyz(),  ma->gzx(),  ma->alpx(), ma->alpy(), ma->alpz(),
                             ma->dens(), ma->tref(), ma->fxt(),  ma->fxc(),  ma->fyt(),  ma->fyc(),
                             ma->fzt(),  ma->fzc(),  ma->fs12(), ma->fs23(), ma->fs31(), ma->f12(),
                             ma->f23(),  ma->f31()};
        const double vb[] = {mb->ex(),   mb->ey(),   mb->ez(),   mb->nuxy(), mb->nuyz(), mb->nuzx(),
                             mb->gxy(),  mb->gyz(),  mb->gzx(),  mb->alpx(), mb->alpy(), mb->alpz(),
                             mb->dens(), mb->tref(), mb->fxt(),  mb->fxc(),  mb->fyt(),  mb->fyc(),
                             mb->fzt(),  mb->fzc(),  mb->fs12(), mb->fs23(), mb->fs31(), mb->f12(),
                             mb->f23(),  mb->f31()};
        EXPECT_TRUE(NearArray(vb, va, sizeof va / sizeof *va, kCdb)) << "material " << ma->id();
    }
}

// Writes `a` with `what` and reads the file into `b`.
void WriteAndRead(ExchangeModel& a, ExchangeModel& b, int what) {
    const std::string path = xfiles::TempPath("rt.cdb");
    CCDBParser writer;
    ASSERT_EQ(a.Write(writer, path, what), 0) << a.Log();
    CCDBParser reader;
    ASSERT_EQ(b.Read(reader, path), 0) << b.Log();
    EXPECT_EQ(b.Count(2) + b.Count(4), 0) << b.Log();
    std::remove(path.c_str());
}

TEST(CCDBRoundTrip, SectionSampleReadWrittenAndReadAgain) {
    ExchangeModel a("rt_a"), b("rt_b");
    CCDBParser reader;
    ASSERT_EQ(a.Read(reader, xfiles::SampleFile("cdb/linear_shell_with_MAPDL_sections.cdb")), 0);
    WriteAndRead(a, b, 7);
    ExpectSameNodes(a.model, b.model);
    ExpectSameElements(a.model, b.model);
    ExpectSameMaterials(a.model, b.model);
    EXPECT_LT(b.model.pMats()->find(1)->alpx(), 0.0);
    EXPECT_EQ(b.model.pLams()->entries(), 3);
}

TEST(CCDBRoundTrip, SectionsAndRealConstantSetsOfEveryNodeLocation) {
    ExchangeModel a("rt_gen_a"), b("rt_gen_b");
    CKpLayup& m = a.model;
    // quad4 and tria3 on sections, quad8 and tria6 on laminates with nodes at
    // mid (no offset), bottom and top; coordinates far from and near zero.
    struct Part {
        meshgen::Kind kind;
        int first;
        int lam;
    } parts[] = {{meshgen::Kind::Quad4, 1, 5},
                 {meshgen::Kind::Tria3, 100, 6},
                 {meshgen::Kind::Quad8, 200, 7},
                 {meshgen::Kind::Tria6, 300, 8},
                 {meshgen::Kind::Quad8, 400, 9}};
    for (const Part& p : parts) {
        meshgen::Numbering num;
        num.firstNode = p.first * 10;
        num.firstElem = p.first;
        meshgen::Mesh mesh = meshgen::Plate(p.kind, 2, 2, 1.234567e6, 2.5e-7, num);
        for (size_t k = 0; k < mesh.xyz.size(); k += 3) mesh.xyz[k] -= 0.6e6;
        meshgen::Load(mesh, *m.pNodes(), *m.pElems());
        for (int id : mesh.elemIds) m.pElems()->find(id)->pid(p.lam);
    }
    auto lam = [&m](int id, const char* name, double t) {
        CKpLam* l = new CKpLam(id);
        l->name(name);
        for (int k = 0; k < 3; ++k) {
            CKpLamLyr* y = new CKpLamLyr;
            y->setMid(1 + k % 2);
            y->setTheta((k * 45.0 - 45.0) * M_PI / 180.0);
            y->setT(t);
            l->LamLyrs()->InsertLast(y);
        }
        m.pLams()->insert(l);
        return l;
    };
    lam(5, "Sec5", 0.25)->z0(-0.375);  // user offset
    lam(6, "Sec6", 2.5e-7);
    lam(7, "17", 0.125);              // mid: KEYOPT(11) 0
    lam(8, "18", 0.125)->z0(0.0);     // bottom: KEYOPT(11) 1
    lam(9, "19", 0.125)->z0(-0.375);  // top: KEYOPT(11) 2
    for (int id : {1, 2}) {
        CKpMat* mat = new CKpMat(id);
        mat->setDir(4);
        mat->setEx(140000);
        mat->setEy(9000);
        mat->setGxy(4500);
        mat->setNuxy(0.3);
        mat->setAlpx(-1e-6);
        mat->setFxt(2000);
        mat->setFxc(1200);
        m.pMats()->insert(mat);
    }
    WriteAndRead(a, b, 7);
    // a has no orientations of its own: its elements are compared with b's by
    // their laminates below, and b with a second round trip in full.
    ExpectSameNodes(a.model, b.model);
    ASSERT_EQ(b.model.pElems()->entries(), a.model.pElems()->entries());
    // Written again from b and read into c: the same model once more.
    ExchangeModel c("rt_gen_c");
    WriteAndRead(b, c, 7);
    ExpectSameNodes(b.model, c.model);
    ExpectSameElements(b.model, c.model);
    ExpectSameMaterials(b.model, c.model);
    // Against the original: every element's laminate stack and offset.
    CVekObjectStoreIterator<CKpElem> it(*a.model.pElems());
    while (++it) {
        CKpLam* la = a.model.pLams()->find(it.key()->pid());
        CKpLam* lb = b.model.pLams()->find(b.model.pElems()->find(it.key()->id())->pid());
        ASSERT_NE(lb, nullptr) << "element " << it.key()->id();
        ASSERT_EQ(lb->NumLayers(), 3);
        EXPECT_TRUE(Near(lb->t(), la->t(), Tol{1e-15, 1e-6})) << "element " << it.key()->id();
        EXPECT_TRUE(Near(lb->z0(), la->z0(), Tol{1e-12, 1e-6})) << "element " << it.key()->id();
        EXPECT_TRUE(Near(lb->LamLyrs()->First()->theta(), -M_PI / 4, tol::loose));
    }
    ExpectSameMaterials(a.model, b.model);
}

TEST(CCDBRoundTrip, ElementCoordinateSystemsTravelAsLocalFrames) {
    ExchangeModel a("rt_frame_a"), b("rt_frame_b");
    meshgen::Load(meshgen::Plate(meshgen::Kind::Quad4, 1, 1, 1.0, 1.0), *a.model.pNodes(),
                  *a.model.pElems());
    CKpCoord* frame = new CKpCoord(21);
    const double origin[3] = {1.0, -2.0, 0.5};
    const double angles[3] = {30 * M_PI / 180, 20 * M_PI / 180, -10 * M_PI / 180};
    frame->SetCoordsByOriginDefault(origin);
    frame->SetCoordsByEulerAngles(angles);
    a.model.pCoords()->insert(frame);
    CKpElemAnsys* ansys = a.model.pElems()->find(1)->CreateAnsys();
    ansys->Set(1, 1);
    ansys->Set(3, 21);
    a.model.pAnsys()->pEts()->insert(new CKpAnsysEt(1, 181));
    WriteAndRead(a, b, 7);
    CKpCoord* back = b.model.pCoords()->find(21);
    ASSERT_NE(back, nullptr);
    for (int i = 0; i < 9; ++i)
        EXPECT_TRUE(Near(back->coords(i), frame->coords(i), tol::loose)) << i;
    EXPECT_STREQ(b.model.pElems()->find(1)->pOrient()->name(), "Coord.21");
}

}  // namespace
