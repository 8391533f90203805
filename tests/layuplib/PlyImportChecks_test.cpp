#include "layuplib/PlyImportChecks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "layuplib/CKpMat.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/angle_util.h"
#include "tests/support/FacetSurface.h"
#include "tests/support/MessageCapture.h"

namespace {

std::string Inc(std::string s) {
    NameIncrement(s);
    return s;
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

CKpMat Draped(const char* name, double thickness) {
    CKpMat m(1);
    m.setMtrlnm(name);
    m.setLyrtp(3);
    m.setWpwtang(kPi / 2);
    m.setMaxstrn(0.5);
    m.setMtrlthck(thickness);
    m.setExtmtrlnm(name);
    return m;
}

}  // namespace

TEST(NameIncrement, RaisesTrailingNumberAsText) {
    EXPECT_EQ(Inc(""), "1");
    EXPECT_EQ(Inc("ply"), "ply1");
    EXPECT_EQ(Inc("ply9"), "ply10");
    EXPECT_EQ(Inc("ply09"), "ply10");
    EXPECT_EQ(Inc("12"), "13");
    EXPECT_EQ(Inc("a1b99"), "a1b100");
    EXPECT_EQ(Inc("ply99999999999"), "ply100000000000");
    EXPECT_EQ(Inc("p000"), "p1");
    // Long names keep all their text: nothing is cut.
    const std::string longName = std::string(300, 'x') + "41";
    EXPECT_EQ(Inc(longName), std::string(300, 'x') + "42");
}

TEST(MaterialDefaults, DrapedAngleStrainAndExternalName) {
    MessageCapture cap("matdef");
    CKpMat m(1);
    m.setMtrlnm("glass");
    m.setLyrtp(3);
    m.setWpwtang(3.0 * kPi / 180.0);
    m.setMaxstrn(0.0);
    EXPECT_EQ(MaterialDefaults(&cap.log, &m), 0);
    EXPECT_DOUBLE_EQ(m.wpwtang(), kPi / 2);
    EXPECT_DOUBLE_EQ(m.maxstrn(), kPi / 3);
    EXPECT_EQ(std::string(m.extmtrlnm()), "glass");
    const std::string body = cap.body();
    EXPECT_TRUE(Has(body, "Applying defaults to material 'glass':")) << body;
    EXPECT_TRUE(Has(body, "  updated wpwtang.")) << body;
    EXPECT_TRUE(Has(body, "  updated maxstrnn.")) << body;
    EXPECT_TRUE(Has(body, "  updated extmtrlnm.")) << body;

    // 90 degrees and a set strain are left alone; a type-5 material gets
    // nothing, not even its external name.
    cap.reset();
    CKpMat ok = Draped("ok", 1.0);
    ok.setWpwtang(kPi / 2);
    MaterialDefaults(&cap.log, &ok);
    EXPECT_DOUBLE_EQ(ok.wpwtang(), kPi / 2);
    EXPECT_FALSE(Has(cap.body(), "updated")) << cap.body();
    CKpMat other(2);
    other.setMtrlnm("solid");
    other.setLyrtp(5);
    MaterialDefaults(&cap.log, &other);
    EXPECT_EQ(std::string(other.extmtrlnm()), "");
}

TEST(MaterialEqual, RelativeToleranceAndFirstDifferenceReported) {
    MessageCapture cap("mateq");
    CKpMat a = Draped("cf", 1.0);
    CKpMat near = Draped("cf", 1.0005);
    CKpMat far = Draped("cf", 1.002);
    EXPECT_EQ(MaterialEqual(&cap.log, &a, &near), 1);
    EXPECT_TRUE(Has(cap.body(), "Comparing materials with names 'cf' and 'cf'")) << cap.body();
    cap.reset();
    EXPECT_EQ(MaterialEqual(&cap.log, &a, &far), 0);
    EXPECT_TRUE(Has(cap.body(), "  unequal mtrlthck:                1            1.002"))
        << cap.body();

    CKpMat otherName = Draped("gf", 1.0);
    cap.reset();
    EXPECT_EQ(MaterialEqual(&cap.log, &a, &otherName), 0);
    EXPECT_TRUE(Has(cap.body(), "  unequal mtrlnm:")) << cap.body();

    // Types 5 and up: equal once names and types agree.
    CKpMat s1(1), s2(2);
    s1.setMtrlnm("s"), s2.setMtrlnm("s");
    s1.setLyrtp(5), s2.setLyrtp(5);
    s1.setMtrlthck(1.0), s2.setMtrlthck(9.0);
    EXPECT_EQ(MaterialEqual(&cap.log, &s1, &s2), 1);
    s2.setLyrtp(6);
    EXPECT_EQ(MaterialEqual(&cap.log, &s1, &s2), 0);
}

TEST(PlyDefaults, DrapedPatternGetsDefaultsProjectedNone) {
    MessageCapture cap("plydef");
    CKpPat pat(1);
    pat.setPttrnnm("P_pattern");
    pat.setLyrtp(3);
    pat.setStwpwtang(0.0);
    pat.setStep(0.0);
    pat.setStdn(0);
    pat.setAxstp(9);
    pat.setExttp(0);
    auto* pe = new CKpPatElem;
    pe->setStdn(-1);
    pat.PatElems()->InsertLast(pe);
    EXPECT_EQ(PlyDefaults(&cap.log, &pat), 0);
    EXPECT_DOUBLE_EQ(pat.stwpwtang(), kPi / 2);
    EXPECT_DOUBLE_EQ(pat.step(), -1.0);
    EXPECT_EQ(pat.stdn(), -1);
    EXPECT_EQ(pat.axstp(), 0);
    EXPECT_EQ(pat.exttp(), 1);
    for (const char* line :
         {"Applying defaults to pattern 'P_pattern':", "  updated stwpwtang.", "  updated step.",
          "  updated stdn.", "  updated axstp.", "  updated exttp."})
        EXPECT_TRUE(Has(cap.body(), line)) << line;

    cap.reset();
    CKpPat proj(2);
    proj.setPttrnnm("Q_pattern");
    proj.setLyrtp(2);
    proj.setStep(0.0);
    proj.setAxstp(9);
    PlyDefaults(&cap.log, &proj);
    EXPECT_EQ(proj.axstp(), 9);
    EXPECT_DOUBLE_EQ(proj.step(), 0.0);
    EXPECT_FALSE(Has(cap.body(), "updated")) << cap.body();
}

namespace {

// A 4 x 4 plate and a draped pattern over all of it, seeded from above.
struct VerifyModel {
    FacetSurface s;
    CKpPat pat{1};
    VerifyModel() {
        EXPECT_GT(s.Build(surfmesh::Plate(meshgen::Kind::Quad4, 4, 4, 4.0, 4.0)), 0);
        pat.setPttrnnm("P_pattern");
        pat.setLyrtp(3);
        pat.setEye(1.5, 1.5, 5.0);
        pat.setEyed(0.0, 0.0, -1.0);
        pat.setRefd(1.0, 0.0, 0.0);
        for (int i = 0; i < s.elems.entries(); ++i) {
            auto* pe = new CKpPatElem;
            pe->setElemId(s.elems[i]->id());
            pe->setPelem(s.elems[i]);
            pe->setStdn(1);
            pe->setDnfg(1);
            pat.PatElems()->InsertLast(pe);
        }
    }
};

}  // namespace

TEST(VerifyPlyDnfg, CorrectsReversedElementAndWarnsOffSurface) {
    VerifyModel m;
    // The flag the surface gives every element (all normals agree).
    MessageCapture cap("verify");
    ASSERT_EQ(VerifyPlyDnfg(&cap.log, nullptr, &m.s.elems, &m.s.facets, &m.pat, "P"), 0);
    std::string body = cap.body();
    ASSERT_TRUE(Has(body, "Created boundary.")) << body;
    const int good = m.pat.PatElems()->First()->dnfg();
    for (CKpPatElem* pe = m.pat.PatElems()->First(); pe; pe = m.pat.PatElems()->Next(pe))
        EXPECT_EQ(pe->dnfg(), good);

    // One element reversed: corrected and reported by its id.
    CKpPatElem* third = m.pat.PatElems()->Next(m.pat.PatElems()->Next(m.pat.PatElems()->First()));
    third->setDnfg(-good);
    CKpPatElem* fourth = m.pat.PatElems()->Next(third);
    fourth->setStdn(0);
    cap.reset();
    ASSERT_EQ(VerifyPlyDnfg(&cap.log, nullptr, &m.s.elems, &m.s.facets, &m.pat, "P"), 0);
    body = cap.body();
    EXPECT_EQ(third->dnfg(), good);
    char line[128];
    std::snprintf(line, sizeof line, "  ply P seid      0 ueid %6d stdn  1 dnfg %2d ftdnfg %2d",
                  third->GetElemId(), -good, good);
    EXPECT_TRUE(Has(body, line)) << body;
    EXPECT_TRUE(Has(body, "    Corrected direction.")) << body;
    EXPECT_TRUE(Has(body, "    Cannot determine correct direction.")) << body;
    EXPECT_EQ(fourth->stdn(), 0);
    // The selection is restored.
    for (int i = 0; i < m.s.elems.entries(); ++i) EXPECT_EQ(m.s.elems[i]->getSltd(), 0);

    // Start point off the plate: a warning naming the ply, nothing changed.
    third->setDnfg(-good);
    m.pat.setEye(50.0, 50.0, 5.0);
    cap.reset();
    EXPECT_EQ(VerifyPlyDnfg(&cap.log, nullptr, &m.s.elems, &m.s.facets, &m.pat, "P"), 0);
    EXPECT_TRUE(Has(cap.body(), "When importing ply P, element directions cannot be verified"))
        << cap.body();
    EXPECT_EQ(third->dnfg(), -good);
}

TEST(VerifyPlyDnfg, DrapedPatternWithoutReferenceTakesItFromStartElement) {
    VerifyModel m;
    m.pat.setRefd(0.0, 0.0, 0.0);
    m.pat.setRefang(0.7);
    for (CKpPatElem* pe = m.pat.PatElems()->First(); pe; pe = m.pat.PatElems()->Next(pe))
        pe->setWarpAngle(kPi / 2);
    MessageCapture cap("verifyref");
    ASSERT_EQ(VerifyPlyDnfg(&cap.log, nullptr, &m.s.elems, &m.s.facets, &m.pat, "P"), 0);
    EXPECT_TRUE(Has(cap.body(), "  updated reference direction.")) << cap.body();
    EXPECT_DOUBLE_EQ(m.pat.refang(), 0.0);
    EXPECT_NEAR(std::hypot(m.pat.refdx(), std::hypot(m.pat.refdy(), m.pat.refdz())), 1.0, 1e-12);
    EXPECT_NEAR(m.pat.refdz(), 0.0, 1e-12);
}
