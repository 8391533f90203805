#include "layuplib/CKpMat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "layuplib/CKpMatPropStore.h"
#include "layuplib/CKpMsg.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

// Allowable strains, in GetAllowStrain's order Xt Xc Yt Yc S12 S23 S31.
const double kStrains[7] = {0.012, 0.009, 0.004, 0.011, 0.02, 0.015, 0.018};

void setAllowables(CKpMatProp& s, const double v[7]) {
    s.setFt(v[0], v[2], 0.0), s.setFc(v[1], v[3], 0.0), s.setFs(v[4], v[5], v[6]);
}

// An anisotropic 2D state with Q = [[4 1 0] [1 2 0] [0 0 5]] (inverse by hand:
// S11 = 2/7, S22 = 4/7, S12 = -1/7, S33 = 1/5) and transverse shear 3, 6.
void makeAniso2D(CKpMatProp& s) {
    s.setDir(5), s.setE(4.0, 2.0, 0.0), s.setNuxy(1.0), s.setG(5.0, 3.0, 6.0);
}

}  // namespace

TEST(CKpMatStates, AddKeysIdsAndOrder) {
    CKpMat mat(7);
    EXPECT_EQ(mat.Count(), 1);
    EXPECT_EQ(mat.Add(0.0), static_cast<CKpMatProp*>(&mat));  // the base state

    CKpMatProp* a = mat.Add(0.3);
    CKpMatProp* b = mat.Add(-0.1);
    CKpMatProp* c = mat.Add(0.2);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(mat.Add(0.3), nullptr);  // a key is never held twice
    EXPECT_EQ(mat.Add(std::numeric_limits<double>::quiet_NaN()), nullptr);
    EXPECT_EQ((std::vector<int>{a->sttid(), b->sttid(), c->sttid()}), (std::vector<int>{1, 2, 3}));
    // Insertion order, never sorted by key.
    EXPECT_EQ((std::vector<CKpMatProp*>{mat.Get(-1), mat.Get(0), mat.Get(1), mat.Get(2), mat.Get(3),
                                        mat.Get(4)}),
              (std::vector<CKpMatProp*>{nullptr, &mat, a, b, c, nullptr}));

    // Ids continue from the largest, also after a state was changed by hand.
    c->setSttid(9);
    EXPECT_EQ(mat.Add(0.5)->sttid(), 10);

    EXPECT_EQ(mat.Clear(), 0);
    EXPECT_EQ(mat.Add(0.3)->sttid(), 1);
}

TEST(CKpMatStates, ExternalNamesByStateIdAndCopies) {
    CKpMat mat(2);
    mat.setExtmtrlnm("base");
    mat.Add(0.1)->setExtmtrlnm("first");
    EXPECT_EQ(
        (std::vector<std::string>{mat.extmtrlnmStt(0), mat.extmtrlnmStt(1), mat.extmtrlnmStt(5)}),
        (std::vector<std::string>{"base", "first", ""}));
    // A copied material takes every state, owned by itself; a copied state is
    // in no list.
    CKpMatProp stateCopy(*mat.Get(1));
    CKpMat copy(mat);
    mat.Clear();
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(std::string(copy.extmtrlnmStt(1)), "first");
    EXPECT_DOUBLE_EQ(copy.Get(1)->GetState(), 0.1);
    EXPECT_TRUE(stateCopy.Next() == nullptr && stateCopy.Prev() == nullptr);
}

TEST(CKpMatProp, AllowableFallbacksByDirectionality) {
    CKpMatProp s;
    s.setFt(100.0, 0.0, 0.0), s.setFc(0.0, 0.0, 0.0), s.setDir(1);
    EXPECT_EQ((std::vector<double>{s.GetFyt(), s.GetFxc()}), (std::vector<double>{100.0, 0.0}));
    s.setDir(4);  // Fyc falls back to the stored Fyt, 0
    EXPECT_EQ((std::vector<double>{s.GetFyt(), s.GetFxc(), s.GetFyc()}),
              (std::vector<double>{0.0, 100.0, 0.0}));
    s.setDir(5), s.setFxc(80.0);
    EXPECT_DOUBLE_EQ(s.GetFyc(), 80.0);
}

TEST(CKpMatProp, StrainBasisConvertsOnceAndRoundTrips) {
    // Isotropic: E = 200, nu = 0.25, G = 80.
    CKpMatProp iso;
    iso.setDir(1), iso.setEx(200.0), iso.setNuxy(0.25);
    setAllowables(iso, kStrains);
    iso.SetBasis(EVekMaterialFailureBasisStrain);
    iso.SetBasis(EVekMaterialFailureBasisStrain);  // converts once
    EXPECT_TRUE(Near(iso.fxt(), 0.012 * 200.0, tol::loose));
    EXPECT_TRUE(Near(iso.fs23(), 0.015 * 80.0, tol::loose));

    // Orthotropic 2D.
    CKpMatProp ortho;
    ortho.setDir(4), ortho.setE(140.0, 10.0, 0.0), ortho.setG(5.0, 4.0, 3.0);
    setAllowables(ortho, kStrains);
    EXPECT_EQ(ortho.SetAllowStrain(), 0);
    EXPECT_TRUE(Near(ortho.fycRaw(), 0.011 * 10.0, tol::loose));
    EXPECT_TRUE(Near(ortho.fs31(), 0.018 * 3.0, tol::loose));

    // Anisotropic 2D: converted with the compliance, not with Q's diagonal.
    CKpMatProp aniso;
    makeAniso2D(aniso);
    setAllowables(aniso, kStrains);
    aniso.setF12(-0.5);
    EXPECT_EQ(aniso.SetAllowStrain(), 0);
    EXPECT_TRUE(Near(aniso.fxt(), 0.012 / (2.0 / 7.0), tol::loose));
    EXPECT_TRUE(Near(aniso.fytRaw(), 0.004 / (4.0 / 7.0), tol::loose));
    EXPECT_TRUE(Near(aniso.fs12(), 0.02 / 0.2, tol::loose));

    for (CKpMatProp* s : {&iso, &ortho, &aniso}) {
        float out[8];
        ASSERT_EQ(s->GetAllowStrain(nullptr, out), 0) << "dir " << s->dir();
        EXPECT_TRUE(NearArray(out, kStrains, 7, Tol{1e-7, 1e-6})) << "dir " << s->dir();
        EXPECT_TRUE(Near(s->fs31Strain(), kStrains[6], Tol{1e-7, 1e-6}));
    }
    EXPECT_DOUBLE_EQ(aniso.f12(), -0.5);  // F12 is never converted

    // A 3D state cannot be converted: 1, yet the flag is raised.
    CKpMatProp solid;
    solid.setDir(2), solid.setFxt(0.01);
    EXPECT_EQ(solid.SetAllowStrain(), 1);
    EXPECT_EQ(solid.GetBasis(), EVekMaterialFailureBasisStrain);
}

TEST(CKpMatProp, StrainAllowablesWithoutModuli) {
    RecordingGUI gui;
    CKpMsg log;
    log.SetGUI(&gui);

    // Transverse shear moduli unset: S23 and S31 are 0, not infinite.
    CKpMatProp ortho;
    ortho.setDir(4), ortho.setE(140.0, 10.0, 0.0), ortho.setGxy(5.0);
    setAllowables(ortho, kStrains);
    float out[8];
    ASSERT_EQ(ortho.GetAllowStrain(&log, out), 0);
    EXPECT_EQ((std::vector<float>{out[5], out[6]}), (std::vector<float>{0.0f, 0.0f}));
    EXPECT_TRUE(Near(out[0], 0.012 / 140.0, Tol{1e-9, 1e-6}));

    // A 3D state has no strain allowables: a failure, logged, nothing written.
    CKpMatProp solid;
    solid.setDir(3);
    out[0] = 7.0f;
    EXPECT_EQ(solid.GetAllowStrain(&log, out), 2);
    EXPECT_FLOAT_EQ(out[0], 7.0f);
    ASSERT_EQ(gui.texts(4).size(), 1u);
    EXPECT_EQ(gui.texts(4)[0], "Unsupported material directionality: 3");

    // Singular Q: 1.
    CKpMatProp flat;
    flat.setDir(5), flat.setE(1.0, 1.0, 0.0), flat.setNuxy(1.0), flat.setGxy(1.0);
    EXPECT_EQ(flat.GetAllowStrain(nullptr, out), 1);
    EXPECT_EQ(flat.SetAllowStrain(), 1);
    double flex[3][3];
    EXPECT_EQ(flat.GetFlexMatrix(flex), 2);
}

TEST(CKpMatProp, AllowablesByLabel) {
    CKpMatProp s;
    s.setDir(1), s.setEx(100.0), s.setNuxy(0.0), s.setFt(10.0, 0.0, 3.0), s.setFc(6.0, 0.0, 4.0);
    s.setFs(2.0, 1.0, 0.5), s.setF123(-0.5, 0.25, 0.125);

    double v = -1.0;
    const struct {
        const char* label;
        double stress;
    } cases[] = {{"Xt", 10.0}, {"Yt", 10.0},  {"Zt", 3.0},   {"Xc", 6.0},
                 {"Yc", 6.0},  {"Zc", 4.0},   {"S12", 2.0},  {"S23", 1.0},
                 {"S31", 0.5}, {"F12", -0.5}, {"F23", 0.25}, {"F31", 0.125}};
    for (const auto& c : cases) {
        EXPECT_EQ(s.GetAllowableByLabel(EVekMaterialFailureBasisStress, c.label, &v), 0);
        EXPECT_DOUBLE_EQ(v, c.stress) << c.label;
    }
    v = -1.0;
    for (const char* label : {"xt", "Xt ", static_cast<const char*>(nullptr)})
        EXPECT_EQ(s.GetAllowableByLabel(EVekMaterialFailureBasisStress, label, &v), 1);
    EXPECT_DOUBLE_EQ(v, -1.0);

    EXPECT_EQ(s.GetAllowableByLabel(EVekMaterialFailureBasisStrain, "Yc", &v), 0);
    EXPECT_TRUE(Near(v, 0.06, Tol{1e-9, 1e-6}));
    EXPECT_EQ(s.GetAllowableByLabel(EVekMaterialFailureBasisStrain, "S12", &v), 0);
    EXPECT_TRUE(Near(v, 0.04, Tol{1e-9, 1e-6}));  // 2 x 2 (0 + 1) / 100
    for (const char* label : {"Zt", "Zc", "F23", "F31", "yc"})
        EXPECT_EQ(s.GetAllowableByLabel(EVekMaterialFailureBasisStrain, label, &v), 2) << label;
    EXPECT_EQ(s.GetAllowableByLabel(static_cast<EVekMaterialFailureBasis>(3), "Xt", &v), 3);

    // A 3D state: strain labels exist but read 0.0.
    s.setDir(2);
    EXPECT_EQ(s.GetAllowableByLabel(EVekMaterialFailureBasisStrain, "Xt", &v), 0);
    EXPECT_DOUBLE_EQ(v, 0.0);
}

TEST(CKpMatProp, StressToStrain) {
    RecordingGUI gui;
    CKpMsg log;
    log.SetGUI(&gui);
    const float stress[6] = {10.0f, -4.0f, 2.0f, 3.0f, 1.5f, -2.5f};
    float e[6];

    CKpMatProp iso;
    iso.setDir(1), iso.setEx(1000.0), iso.setNuxy(0.3);
    ASSERT_EQ(iso.Stress2Strain(&log, stress, e), 0);
    const double iso_e[6] = {(10 + 1.2 - 0.6) / 1000, (-4 - 0.6 - 3) / 1000, (2 - 3 + 1.2) / 1000,
                             3 * 2.6 / 1000,          1.5 * 2.6 / 1000,      -2.5 * 2.6 / 1000};
    EXPECT_TRUE(NearArray(e, iso_e, 6, Tol{1e-9, 1e-6}));

    // Orthotropic 2D without transverse shear moduli: those strains are 0.
    CKpMatProp ortho;
    ortho.setDir(4), ortho.setE(100.0, 20.0, 0.0), ortho.setNuxy(0.25), ortho.setGxy(5.0);
    ASSERT_EQ(ortho.Stress2Strain(&log, stress, e), 0);
    const double ortho_e[6] = {(10 + 1.0) / 100, -4.0 / 20 - 2.5 / 100, 0, 0.6, 0, 0};
    EXPECT_TRUE(NearArray(e, ortho_e, 6, Tol{1e-9, 1e-6}));

    // Anisotropic 2D: S = Q^-1 by hand (see makeAniso2D).
    CKpMatProp aniso;
    makeAniso2D(aniso);
    ASSERT_EQ(aniso.Stress2Strain(&log, stress, e), 0);
    const double aniso_e[6] = {(2 * 10 + 4) / 7.0, (-10 - 16) / 7.0, 0, 3 / 5.0, 0.5, -2.5 / 6};
    EXPECT_TRUE(NearArray(e, aniso_e, 6, Tol{1e-9, 1e-6}));
    double flex[3][3];
    EXPECT_EQ(ortho.GetFlexMatrix(flex), 1);
    EXPECT_TRUE(gui.texts(4).empty());

    // Failures write nothing and say why.
    aniso.setE(4.0, 1.0, 0.0);
    aniso.setNuxy(2.0);  // det of the in-plane 2x2 block is exactly 0
    e[0] = 99.0f;
    EXPECT_EQ(aniso.Stress2Strain(&log, stress, e), -1);
    EXPECT_FLOAT_EQ(e[0], 99.0f);
    ASSERT_EQ(gui.texts(4).size(), 1u);
    EXPECT_EQ(gui.texts(4)[0].rfind("Error inverting matrix:\n", 0), 0u);
}

TEST(CKpMatProp, DirectionalityFromConstants) {
    // Each constant added moves the state on: Ex, Gyz, C24, Nuzx, C56.
    CKpMatProp s;
    const std::pair<void (CKpMatProp::*)(double), int> steps[] = {{&CKpMatProp::setEx, 1},
                                                                  {&CKpMatProp::setGyz, 4},
                                                                  {&CKpMatProp::setC24, 5},
                                                                  {&CKpMatProp::setNuzx, 2},
                                                                  {&CKpMatProp::setC56, 3}};
    for (const auto& st : steps) {
        (s.*st.first)(0.2);
        s.SetDirAuto();
        EXPECT_EQ(s.dir(), st.second);
    }

    // A material sets its further states, not its base state.
    CKpMat mat(1);
    mat.setDir(4);
    mat.Add(0.1)->setEz(3.0);
    mat.Add(0.2);
    EXPECT_EQ(mat.SetDirAutoStates(), 0);
    EXPECT_EQ((std::vector<int>{mat.dir(), mat.Get(1)->dir(), mat.Get(2)->dir()}),
              (std::vector<int>{4, 2, 1}));
}

TEST(CKpMatProp, DimensionlessInteraction) {
    CKpMatProp s;
    s.setDir(4), s.setFt(4.0, 9.0, 0.0), s.setFyc(1.0), s.setF12(-0.5);
    // Fxc falls back to Fxt: R = sqrt(4 x 4 x 9 x 1) = 12.
    EXPECT_EQ(s.SetF12Dimensionless(), 0);
    EXPECT_DOUBLE_EQ(s.f12(), -6.0);
    s.setFyc(-1.0);  // a product below 0 has no real root
    EXPECT_EQ(s.SetF12Dimensionless(), 1);
    EXPECT_DOUBLE_EQ(s.f12(), -6.0);
}
