#ifndef PLYSTRAND_TESTS_SUPPORT_DRAPEDMODEL_H
#define PLYSTRAND_TESTS_SUPPORT_DRAPEDMODEL_H

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "layuplib/CKpLayup.h"
#include "layuplib/CKpPly.h"
#include "layuplib/IVekMaterialStore.h"
#include "layuplib/IVekPlyStore.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"

// A model on a test mesh with the material "CF" (thickness 0.25, 90-degree
// fabric, shear limit 60 degrees) and plies draped over the whole mesh,
// seen from (x, y, 10) looking down, fibres along x.
namespace drapedmodel {

struct Model {
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};

    explicit Model(const meshgen::Mesh& mesh) {
        EXPECT_EQ(meshgen::LoadModel(*model, mesh), 0);
        IVekMaterial* mat = model->GetMaterialStore()->New(1);
        mat->SetName("CF");
        mat->SetThickness(0.25);
        mat->SetWarpWeftAngle(std::acos(-1.0) / 2.0);
        mat->SetMaximumStrain(std::acos(-1.0) / 3.0);
    }

    // A draped ply named `name`, step `step` (model units), simulated.
    CKpPly* Ply(const char* name, double x, double y, double step) {
        IVekPly* ply = model->GetPlyStore()->New();
        EXPECT_EQ(ply->SetName(name), 0);
        EXPECT_EQ(ply->SetType(EVekMaterialScissor), 0);
        EXPECT_EQ(ply->SetMaterialName("CF"), 0);
        const double eye[3] = {x, y, 10.0}, down[3] = {0.0, 0.0, -1.0}, ref[3] = {1.0, 0.0, 0.0};
        ply->SetSeedPoint(eye);
        ply->SetApplicationDirection(down);
        ply->SetReferenceDirection(ref);
        ply->SetProjectionMethod(0);
        ply->SetStepLength(step);
        ply->SetExtensionType(1);
        EXPECT_EQ(ply->Simulate(), 0);
        return static_cast<CKpPly*>(ply);
    }
};

}  // namespace drapedmodel

#endif  // PLYSTRAND_TESTS_SUPPORT_DRAPEDMODEL_H
