#include <gtest/gtest.h>

#include <string>

#include "F06Parser/CF06NameBranch.h"
#include "F06Parser/CSubcase.h"
#include "F06Parser/F06ResBuild.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResElem.h"
#include "layuplib/CKpResStore.h"

TEST(Subcase, LabelsCarryFrequencyTimeAndLoadFactor) {
    CSubcase s(1);
    EXPECT_STREQ(s.GetSubtitle(), "Default Loadcase");
    s.SetApproach(20);
    s.SetEigenvalue(39.47841760435743);
    EXPECT_STREQ(s.GetLabel(), "Default Subcase:Freq.=1");
    s.reinit();
    s.SetApproach(100);
    s.SetLoadFactor(0.5);
    s.SetLabel("LOAD");
    EXPECT_STREQ(s.GetLabel(), "LOAD 50%");
    s.SetLoadFactor(0.0);
    EXPECT_STREQ(s.GetLabel(), "LOAD");
    s.SetApproach(61);
    s.SetTime(0.05f);
    EXPECT_STREQ(s.GetLabel(), "LOAD:Time=0.05");
    s.SetApproach(51);
    s.SetFrequency(12.5);
    s.SetSubtitle("SUB");
    EXPECT_STREQ(s.GetLabel(), "LOAD:Freq.=12.5");
    EXPECT_STREQ(s.GetSubtitle(), "SUB");
}

TEST(ResultBuild, RecordsFileUnderResultsOfEqualNames) {
    CKpLayup model(nullptr, nullptr);
    CKpResStore* store = model.pRess();
    store->insert(new CKpRes(41));  // imported ids follow the store's highest
    CF06ResBranchArray branches;
    CF06NameBranch names;
    CKpRes* current = new CKpRes(store->maxId() + 1);
    const float f[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_EQ(CreateResElemForce(&model, &names, &branches, &current, "S", "L", 10, f, 0, nullptr),
              0);
    ASSERT_EQ(CreateResElemForce(&model, &names, &branches, &current, "S", "L", 11, f, 0, nullptr),
              0);
    EXPECT_EQ(store->entries(), 3);
    ASSERT_EQ(CreateResElemForce(&model, &names, &branches, &current, "S", "M", 10, f, 1, f), 0);
    ASSERT_EQ(store->entries(), 5);
    CKpRes* membrane = store->find(42);
    CKpRes* bending = store->find(43);
    ASSERT_TRUE(membrane && bending);
    EXPECT_STREQ(membrane->name(3), "Membrane Forces");
    EXPECT_EQ(membrane->GetNumElements(), 2);
    CKpResElem* e = membrane->ResElems()->find(10);
    ASSERT_EQ(e->GetNumFloats(), 6);
    const float m[6] = {1, 2, 0, 3, 8, 7};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(e->GetFloat(k), m[k]);
    e = bending->ResElems()->find(11);
    const float b[6] = {4, 5, 0, 6, 0, 0};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(e->GetFloat(k), b[k]);
    EXPECT_EQ(store->find(44)->ResElems()->find(10)->GetNumFloats(), 12);

    // Failure index with its bond index; stresses reordered.
    ASSERT_EQ(CreateResElemFailure(&model, &names, &branches, &current, "S", "L", "Hill Stress", 3,
                                   7, 0.25f, -1, 0.5f),
              0);
    const char* layer[5] = {"S", "L", "Failure Indices", "Hill Stress", "Layer 3"};
    const char* bond[5] = {"S", "L", "Failure Indices", "Hill Stress", "Interface 3-4"};
    ASSERT_TRUE(store->findByName(layer) && store->findByName(bond));
    EXPECT_EQ(store->findByName(bond)->ResElems()->find(7)->GetFloat(0), 0.5f);
    EXPECT_EQ(store->findByName(bond)->orient(), 4);
    EXPECT_EQ(store->findByName(bond)->type(), 1);
    const float s[5] = {1, 2, 3, 4, 5};
    ASSERT_EQ(CreateResElemStress(&model, &names, &branches, &current, "S", "L", 2, 7, s), 0);
    const char* stress[5] = {"S", "L", "Stress Tensor", "Fibre Directions", "Layer 2"};
    CKpResElem* t = store->findByName(stress)->ResElems()->find(7);
    const float want[6] = {1, 2, 0, 3, 5, 4};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(t->GetFloat(k), want[k]);
    // Only the current blank result is left to the caller.
    EXPECT_EQ(current->id(), store->maxId() + 1);
    delete current;
}

TEST(ResultBuild, LongNamesAreComparedWhole) {
    CKpLayup model(nullptr, nullptr);
    CF06ResBranchArray branches;
    CKpRes* current = new CKpRes(1);
    const std::string stem(300, 'x');
    const std::string a = stem + "A", b = stem + "B";
    const float s[5] = {1, 2, 3, 4, 5};
    ASSERT_EQ(CreateResElemStress(&model, nullptr, &branches, &current, a.c_str(), "L", 1, 1, s),
              0);
    ASSERT_EQ(CreateResElemStress(&model, nullptr, &branches, &current, b.c_str(), "L", 1, 1, s),
              0);
    ASSERT_EQ(model.pRess()->entries(), 2);
    EXPECT_EQ(std::string((*model.pRess())[1]->name(0)), b);
    // The same element again overwrites its record.
    const float s2[5] = {9, 2, 3, 4, 5};
    ASSERT_EQ(CreateResElemStress(&model, nullptr, &branches, &current, b.c_str(), "L", 1, 1, s2),
              0);
    EXPECT_EQ((*model.pRess())[1]->GetNumElements(), 1);
    EXPECT_EQ((*model.pRess())[1]->ResElems()->find(1)->GetFloat(0), 9.0f);
    delete current;
}

TEST(NameBranch, TreeOpensOneResultPerNameSet) {
    CF06NameBranch root;
    CKpRes a(1), b(2);
    const char* na[5] = {"S", "L", "Q", "C", "Layer 1"};
    const char* nb[5] = {"S", "L", "Q", "C", "Layer 2"};
    a.SetNames(na);
    b.SetNames(nb);
    EXPECT_EQ(root.InsertElem(&a, new CKpResElem(5)), 1);
    EXPECT_EQ(root.InsertElem(&a, new CKpResElem(6)), 0);
    EXPECT_EQ(root.InsertElem(&b, new CKpResElem(5)), 1);
    EXPECT_EQ(a.GetNumElements(), 2);
    EXPECT_EQ(b.GetNumElements(), 1);
    EXPECT_EQ(root.InsertElem(nullptr, nullptr), -1);
    EXPECT_EQ(root.RemoveBranch(&a), 0);
    EXPECT_EQ(root.RemoveBranch(&a), -1);
    // b's path survives the removal of a, whose nodes it shared.
    EXPECT_EQ(root.InsertElem(&b, new CKpResElem(9)), 0);
    EXPECT_EQ(b.GetNumElements(), 2);
}
