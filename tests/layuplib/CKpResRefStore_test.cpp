#include "layuplib/CKpResRefStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layuplib/CKpMsg.h"
#include "layuplib/CKpResStore.h"
#include "tests/support/RecordingGUI.h"

namespace {

// A store of layer results: each entry is (result type, layer name,
// element ids that have a record).
struct Layer {
    const char* type;
    const char* layer;
    std::vector<int> elements;
};

void Fill(CKpResStore& store, const std::vector<Layer>& layers, const char* loadCase = "LC1") {
    for (const Layer& l : layers) {
        const char* names[5] = {loadCase, "Static", l.type, "Normal", l.layer};
        CKpRes* r = static_cast<CKpRes*>(store.New());
        r->SetNames(names);
        const float value = 1.0f;
        for (int e : l.elements) r->FindOrCreateResElem(e, 1, &value, 0, nullptr);
    }
}

struct Fixture : ::testing::Test {
    RecordingGUI gui;
    CKpMsg msg;
    CKpResStore results;
    CKpResRefStore refs;
    const char* names[5] = {"LC1", "Static", "Stress Tensor", "Normal", ""};
    Fixture() { msg.SetGUI(&gui); }
    std::vector<int> Layers() {
        std::vector<int> out;
        for (int k = 0; k <= 100; ++k)
            if (refs.GetLayerResult(k)) out.push_back(k);
        return out;
    }
};

}  // namespace

using LayerMap = Fixture;

TEST_F(LayerMap, PicksMatchingResultsAndReadsLayerNumbers) {
    Fill(results, {{"Stress Tensor", "Layer 2", {1}},
                   {"Stress", "Layer 1", {1}},
                   {"Stress Tensor", "Layer 0", {1}},
                   {"Stress Tensor", "Layer x", {1}},
                   {"Stress Tensor", "Layer ", {1}},
                   {"Stress Tensor", "Layer 99999999999", {1}},
                   {"Stress Tensor", "", {1}},
                   {"Shell Forces", "Layer 4", {1}},
                   {"Stress Tensor", "Layer 12", {1}}});
    Fill(results, {{"Stress Tensor", "Layer 5", {1}}}, "LC2");
    ASSERT_EQ(refs.CreateReferencesToLayerResults(&msg, &results, names, 1, 1), 0);
    EXPECT_EQ(Layers(), (std::vector<int>{1, 2, 12}));
    EXPECT_EQ(refs.GetLayerResult(12)->id(), 9);
    EXPECT_TRUE(gui.messages.empty());

    // Without `match` the first four names decide, whatever the type.
    CKpResRefStore byNames;
    const char* forces[5] = {"LC1", "Static", "Shell Forces", "Normal", "ignored"};
    ASSERT_EQ(byNames.CreateReferencesToLayerResults(&msg, &results, forces, 0, 0), 0);
    EXPECT_EQ(byNames.entries(), 1);
    EXPECT_NE(byNames.GetLayerResult(4), nullptr);
}

TEST_F(LayerMap, RefusesDuplicatesAndStrainOnStress) {
    Fill(results, {{"Stress Tensor", "Layer 3", {1}}, {"Stress", "Layer 3", {1}}});
    EXPECT_EQ(refs.CreateReferencesToLayerResults(&msg, &results, names, 1, 2), 2);
    EXPECT_EQ(gui.texts(2), (std::vector<std::string>{"Duplicate results for Layer 3"}));

    CKpResStore strains;
    Fill(strains, {{"Stress Tensor", "Layer 1", {1}}, {"Strain Tensor", "Layer 2", {1}}});
    CKpResRefStore onStress;
    EXPECT_EQ(onStress.CreateReferencesToLayerResults(&msg, &strains, names, 1, 1), 1);
    EXPECT_EQ(gui.texts(2).back(),
              "Calculating failure criteria for strain results on the basis of stress is not "
              "supported");
    CKpResRefStore onStrain;
    EXPECT_EQ(onStrain.CreateReferencesToLayerResults(&msg, &strains, names, 1, 2), 0);
    EXPECT_EQ(onStrain.entries(), 2);
    EXPECT_EQ(refs.CreateReferencesToLayerResults(&msg, nullptr, names, 1, 2), 1);
}

TEST_F(LayerMap, GlobalLayerCodes) {
    // Each case: layers with their elements, and the code of AreGlobalLayers.
    struct Case {
        std::vector<Layer> layers;
        int code;
    } cases[] = {
        {{{"Stress", "Layer 1", {1, 2, 3}}, {"Stress", "Layer 2", {1, 3}}}, 0},
        {{{"Stress", "Layer 2", {1}}, {"Stress", "Layer 3", {1}}}, 1},
        {{{"Stress", "Layer 1", {1}}, {"Stress", "Layer 3", {1}}}, 2},
        {{{"Stress", "Layer 1", {1}}, {"Stress", "Layer 2", {1, 2}}}, 3},
        {{{"Stress", "Layer 1", {1, 2}}, {"Stress", "Layer 2", {1, 3}}}, 4},
        {{}, 0},
        // Three layers: the middle one is checked against both neighbours.
        {{{"Stress", "Layer 1", {1, 2, 3, 5, 9}},
          {"Stress", "Layer 2", {2, 3, 5, 9}},
          {"Stress", "Layer 3", {3, 9}}},
         0},
        {{{"Stress", "Layer 1", {1, 2, 3, 4}},
          {"Stress", "Layer 2", {1, 2, 4}},
          {"Stress", "Layer 3", {1, 3}}},
         4},
        {{{"Stress", "Layer 1", {2, 4, 6}},
          {"Stress", "Layer 2", {2, 4, 6}},
          {"Stress", "Layer 3", {1, 6}}},
         4},
        {{{"Stress", "Layer 1", {2, 4, 6}},
          {"Stress", "Layer 2", {2, 4, 6}},
          {"Stress", "Layer 3", {6, 7}}},
         4},
    };
    for (const Case& c : cases) {
        CKpResStore store;
        Fill(store, c.layers);
        CKpResRefStore map;
        ASSERT_EQ(map.CreateReferencesToLayerResults(&msg, &store, names, 1, 1), 0);
        EXPECT_EQ(map.AreGlobalLayers(), c.code) << c.layers.size() << " layers";
    }

    Fill(results, {{"Stress", "Layer 1", {1, 2, 3}},
                   {"Stress", "Layer 2", {1, 3}},
                   {"Stress", "Layer 3", {3}}});
    ASSERT_EQ(refs.CreateReferencesToLayerResults(&msg, &results, names, 1, 1), 0);
    EXPECT_EQ(std::vector<int>({refs.GetMaxLayerOnElement(1), refs.GetMaxLayerOnElement(2),
                                refs.GetMaxLayerOnElement(3), refs.GetMaxLayerOnElement(4)}),
              std::vector<int>({2, 1, 3, 0}));
}

TEST_F(LayerMap, ComparedWithLaminateLayers) {
    Fill(results, {{"Stress", "Layer 1", {1, 2}}, {"Stress", "Layer 2", {1}}});
    ASSERT_EQ(refs.CreateReferencesToLayerResults(&msg, &results, names, 1, 1), 0);

    // The laminate side: result id = layer number, one record per element.
    auto laminate = [](std::vector<std::vector<int>> layers, int firstId) {
        auto* store = new CKpResStore;
        for (size_t k = 0; k < layers.size(); ++k) {
            auto* r = new CKpRes(firstId + static_cast<int>(k));
            store->insert(r);
            const float id = 7.0f;
            for (int e : layers[k]) r->FindOrCreateResElem(e, 1, &id, 0, nullptr);
        }
        return store;
    };
    struct Case {
        std::vector<std::vector<int>> layers;
        int firstId;
        int code;
        const char* text;
    } cases[] = {
        {{{1, 2}, {1}}, 1, 0, nullptr},
        {{{1, 2}}, 1, 1, "There are 1 laminate layers and 2 result layers."},
        {{{1, 2}, {1}}, 2, 2, "Laminate layer 1 is missing."},
        {{{1, 2}, {2}}, 1, 4, "Element ids differ for Laminate and Result layer 2."},
    };
    for (const Case& c : cases) {
        gui.clear();
        CKpResStore* lam = laminate(c.layers, c.firstId);
        EXPECT_EQ(refs.CompareWithLaminateLayers(&msg, lam), c.code);
        EXPECT_EQ(gui.texts(2),
                  c.text ? std::vector<std::string>{c.text} : std::vector<std::string>{});
        delete lam;
    }

    // A result layer missing under the same count.
    CKpResStore gap;
    Fill(gap, {{"Stress", "Layer 1", {1}}, {"Stress", "Layer 3", {1}}});
    CKpResRefStore gapRefs;
    ASSERT_EQ(gapRefs.CreateReferencesToLayerResults(&msg, &gap, names, 1, 1), 0);
    CKpResStore* lam = laminate({{1}, {1}}, 1);
    EXPECT_EQ(gapRefs.CompareWithLaminateLayers(&msg, lam), 3);
    EXPECT_EQ(gui.texts(2).back(), "Result layer 2 is missing.");
    delete lam;
}
