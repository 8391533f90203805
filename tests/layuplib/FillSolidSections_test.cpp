#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layuplib/FillSolidElements.h"
#include "tests/support/BrickGen.h"
#include "tests/support/FillSolidHelpers.h"
#include "tests/support/StackingFile.h"
#include "tests/support/Tolerance.h"

using namespace SolidElements;
using brickgen::Order;

namespace {

struct Expected {
    const char* name;
    double thickness;
};

// Compares the layers of element `elemId`'s section, bottom to top.
::testing::AssertionResult HasLayers(IFillSolid& f, int elemId,
                                     const std::vector<Expected>& expected) {
    const std::vector<fillsolid::Piece> got = fillsolid::LayersOf(f, elemId);
    std::string list;
    for (const fillsolid::Piece& p : got) list += " " + p.name + ":" + std::to_string(p.thickness);
    if (got.size() != expected.size())
        return ::testing::AssertionFailure() << "element " << elemId << " holds" << list;
    for (size_t i = 0; i < got.size(); ++i)
        if (got[i].name != expected[i].name ||
            !withinTol(got[i].thickness, expected[i].thickness, {1e-12, 0}))
            return ::testing::AssertionFailure()
                   << "element " << elemId << " layer " << i << " of" << list;
    return ::testing::AssertionSuccess();
}

// A filler over a column of bricks with the given z levels (1 x 1 wide),
// picked at z = 0, with stackings A and B laid in `mode`.
fillsolid::Filler Column(const std::vector<double>& levels, IFillSolid::EStacking mode,
                         const std::vector<stackfile::Layer>& a,
                         const std::vector<stackfile::Layer>& b = {}) {
    const brickgen::BrickMesh m = brickgen::Block(Order::Hex8, {0, 1}, {0, 1}, levels,
                                                  [](double u, double v, double w, double* p) {
                                                      p[0] = u;
                                                      p[1] = v;
                                                      p[2] = w;
                                                  });
    fillsolid::Filler f = fillsolid::Make();
    EXPECT_EQ(fillsolid::Load(*f, m), 0);
    EXPECT_EQ(fillsolid::Tubes(*f, m), 0);
    const std::string pa = stackfile::Write(stackfile::TempPath("colA"), a);
    const std::string pb = stackfile::Write(stackfile::TempPath("colB"), b);
    // Mode 2 reads its one stacking from file 2.
    if (mode == IFillSolid::eFromTop)
        EXPECT_EQ(f->ReadStacking(mode, nullptr, pa.c_str()), 0);
    else
        EXPECT_EQ(f->ReadStacking(mode, pa.c_str(), pb.c_str()), 0);
    EXPECT_EQ(f->CreateSections("Resin", 0.0, 0.0), 0);
    return f;
}

}  // namespace

TEST(FillSolidSections, CutsPadsAndOverflows) {
    // 0.6 into two bricks of 1.0: the first takes the layers and 0.4 of
    // resin, the second is all resin.
    fillsolid::Filler f =
        Column({0, 1, 2}, IFillSolid::eFromBottom, {{"L1", "UD", 0.2, 0}, {"L2", "UD", 0.4, 0}});
    EXPECT_TRUE(HasLayers(*f, 1, {{"L1", 0.2}, {"L2", 0.4}, {"Bottom_resin", 0.4}}));
    EXPECT_TRUE(HasLayers(*f, 2, {{"Bottom_resin", 1.0}}));
    const std::vector<fillsolid::Piece> resin = fillsolid::LayersOf(*f, 2);
    EXPECT_EQ(resin[0].material, "Resin");
    EXPECT_EQ(resin[0].angle, 0.0);

    // A layer crossing a boundary 0.1 above its start is cut into 0.1 and
    // 0.2; pieces keep name, material and angle.
    f = Column({0, 1, 2}, IFillSolid::eFromBottom, {{"L0", "UD", 0.9, 0}, {"L1", "Fab", 0.3, 30}});
    EXPECT_TRUE(HasLayers(*f, 1, {{"L0", 0.9}, {"L1", 0.1}}));
    EXPECT_TRUE(HasLayers(*f, 2, {{"L1", 0.2}, {"Bottom_resin", 0.8}}));
    const std::vector<fillsolid::Piece> cut = fillsolid::LayersOf(*f, 2);
    EXPECT_EQ(cut[0].material, "Fab");
    EXPECT_TRUE(Near(cut[0].angle, 30 * 0.0174532925199433, tol::angle));

    // A rest of 0.0005 stays empty and the whole layer goes on.
    f = Column({0, 1, 2}, IFillSolid::eFromBottom, {{"L0", "UD", 0.9995, 0}, {"L1", "UD", 0.3, 0}});
    EXPECT_TRUE(HasLayers(*f, 1, {{"L0", 0.9995}}));
    EXPECT_TRUE(HasLayers(*f, 2, {{"L1", 0.3}, {"Bottom_resin", 0.7}}));
    // ... but not in the last brick, where the sliver is used.
    f = Column({0, 1}, IFillSolid::eFromBottom, {{"L0", "UD", 0.9995, 0}, {"L1", "UD", 0.3, 0}});
    EXPECT_TRUE(HasLayers(*f, 1, {{"L0", 0.9995}, {"L1_resin", 0.0005}}));

    // Thicker than the column: the cut-off top piece becomes resin and the
    // later layers are dropped.
    f = Column({0, 0.5, 1}, IFillSolid::eFromBottom,
               {{"L0", "UD", 0.7, 10}, {"L1", "UD", 0.5, 20}, {"L2", "UD", 0.2, 0}});
    EXPECT_TRUE(HasLayers(*f, 1, {{"L0", 0.5}}));
    EXPECT_TRUE(HasLayers(*f, 2, {{"L0", 0.2}, {"L1_resin", 0.3}}));
    const std::vector<fillsolid::Piece> top = fillsolid::LayersOf(*f, 2);
    EXPECT_EQ(top[1].material, "Resin");
    EXPECT_EQ(top[1].angle, 0.0);

    // An empty stacking: resin over the whole column.
    f = Column({0, 1, 3}, IFillSolid::eFromBottom, {});
    EXPECT_TRUE(HasLayers(*f, 1, {{"Bottom_resin", 1.0}}));
    EXPECT_TRUE(HasLayers(*f, 2, {{"Bottom_resin", 2.0}}));
}

TEST(FillSolidSections, FourModesOnAThreeBrickColumn) {
    // Bricks 1, 2, 3 from z = 0 to 3; the mid-surface lies in brick 2.
    const std::vector<stackfile::Layer> a = {{"a1", "UD", 0.3, 0}, {"a2", "UD", 0.8, 0}};
    const std::vector<stackfile::Layer> b = {{"b1", "UD", 0.4, 0}, {"b2", "UD", 0.9, 0}};
    const std::vector<double> z = {0, 1, 2, 3};

    fillsolid::Filler f = Column(z, IFillSolid::eFromBottom, a);
    EXPECT_TRUE(HasLayers(*f, 1, {{"a1", 0.3}, {"a2", 0.7}}));
    EXPECT_TRUE(HasLayers(*f, 2, {{"a2", 0.1}, {"Bottom_resin", 0.9}}));
    EXPECT_TRUE(HasLayers(*f, 3, {{"Bottom_resin", 1.0}}));

    f = Column(z, IFillSolid::eFromTop, a);
    EXPECT_TRUE(HasLayers(*f, 3, {{"a2", 0.7}, {"a1", 0.3}}));
    EXPECT_TRUE(HasLayers(*f, 2, {{"Top_resin", 0.9}, {"a2", 0.1}}));
    EXPECT_TRUE(HasLayers(*f, 1, {{"Top_resin", 1.0}}));

    f = Column(z, IFillSolid::eBottomAndTop, a, b);
    EXPECT_EQ(f->Tubes()[0]->GetMidElement(), 1);
    EXPECT_TRUE(HasLayers(*f, 1, {{"a1", 0.3}, {"a2", 0.7}}));
    EXPECT_TRUE(
        HasLayers(*f, 2, {{"a2", 0.1}, {"Bottom_resin", 0.4}, {"Top_resin", 0.2}, {"b2", 0.3}}));
    EXPECT_TRUE(HasLayers(*f, 3, {{"b2", 0.6}, {"b1", 0.4}}));

    f = Column(z, IFillSolid::eFromMidplane, a, b);
    EXPECT_TRUE(HasLayers(*f, 1, {{"Bottom_resin", 0.4}, {"a2", 0.6}}));
    EXPECT_TRUE(HasLayers(*f, 2, {{"a2", 0.2}, {"a1", 0.3}, {"b1", 0.4}, {"b2", 0.1}}));
    EXPECT_TRUE(HasLayers(*f, 3, {{"b2", 0.8}, {"Top_resin", 0.2}}));

    // Any other mode lays nothing: one empty section per brick, merged.
    f = Column(z, static_cast<IFillSolid::EStacking>(9), a, b);
    int n = 0;
    f->GetNumSections(n);
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(HasLayers(*f, 2, {}));
}

TEST(FillSolidSections, AlikeBricksShareASectionWithinTheTolerance) {
    // A slab tapering from 0.99 to 1.01 over two bricks: rooms 0.995 and
    // 1.005, so the resin on top of one 0.5 layer differs by 0.01 = 1% of
    // the mean section thickness.
    const brickgen::BrickMesh m =
        brickgen::TaperedSlab(Order::Hex8, 2, 1, {0, 1}, 2, 1, 0.99, 1.01);
    const std::string path =
        stackfile::Write(stackfile::TempPath("merge"), {{"L", "UD", 0.5, 0.0}});
    auto sections = [&](double pct, double angleTol) {
        fillsolid::Filler f = fillsolid::Make();
        EXPECT_EQ(fillsolid::Load(*f, m), 0);
        EXPECT_EQ(fillsolid::Tubes(*f, m), 0);
        EXPECT_EQ(f->ReadStacking(IFillSolid::eFromBottom, path.c_str(), nullptr), 0);
        EXPECT_EQ(f->CreateSections("Resin", pct, angleTol), 0);
        int n = 0;
        f->GetNumSections(n);
        std::vector<int> sizes;
        for (int i = 0; i < n; ++i) {
            IFillSolidSection* s = nullptr;
            f->GetSection(i, s);
            int ne = 0;
            s->GetNumElementIDs(ne);
            sizes.push_back(ne);
            // The bad index is refused and leaves the output alone.
            IFillSolidSectionLayer* layer = nullptr;
            EXPECT_EQ(s->GetLayer(-1, layer), 1);
            EXPECT_EQ(s->GetLayer(2, layer), 1);
            EXPECT_EQ(layer, nullptr);
            // Texts are cut to the buffer; no buffer or no room writes nothing.
            EXPECT_EQ(s->GetLayer(0, layer), 0);
            char buf[3] = {'x', 'x', 'x'};
            EXPECT_EQ(layer->GetLayerName(nullptr, 3), 0);
            EXPECT_EQ(layer->GetLayerMaterial(buf, 0), 0);
            EXPECT_EQ(buf[0], 'x');
            EXPECT_EQ(layer->GetLayerMaterial(buf, 2), 0);
            EXPECT_STREQ(buf, "U");
        }
        return sizes;
    };
    EXPECT_EQ(sections(1.5, 0.0), std::vector<int>({2}));
    EXPECT_EQ(sections(0.5, 0.0), std::vector<int>({1, 1}));
}

TEST(FillSolidSections, SortAndMergeOrderIsStableForEqualSections) {
    // A 5 x 4 box of one brick each: every brick alike, so all merge into
    // the first brick's section and keep input order.
    const brickgen::BrickMesh m = brickgen::Box(Order::Hex8, 5, 4, 1, 5, 4, 1);
    fillsolid::Filler f = fillsolid::Make();
    ASSERT_EQ(fillsolid::Load(*f, m), 0);
    ASSERT_EQ(fillsolid::Tubes(*f, m), 0);
    const std::string path = stackfile::Write(stackfile::TempPath("stable"),
                                              {{"L", "UD", 0.25, 0.0}, {"M", "UD", 0.25, 90}});
    ASSERT_EQ(f->ReadStacking(IFillSolid::eFromBottom, path.c_str(), nullptr), 0);
    ASSERT_EQ(f->CreateSections("Resin", 0.0, 0.0), 0);
    int n = 0;
    f->GetNumSections(n);
    ASSERT_EQ(n, 1);
    IFillSolidSection* s = nullptr;
    f->GetSection(0, s);
    int ne = 0;
    s->GetNumElementIDs(ne);
    std::vector<int> ids(ne);
    s->GetElementIDs(ids.data());
    EXPECT_EQ(ids, m.elemIds);
}
