#include "layuplib/surface_div.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/find_nei.h"
#include "tests/support/FacetSurface.h"
#include "tests/support/RecordingGUI.h"

namespace {

using meshgen::Kind;

// The divided edges are exactly the borders between selected and unselected
// elements, on both sides of each link. Empty, or the first facet edge that
// breaks it.
std::string bordersMismatch(FacetSurface& s) {
    for (int i = 0; i < s.facets.entries(); ++i) {
        const CKpFacet* f = s.facets.pFac(i);
        for (int e = 0; e < 3; ++e) {
            const CKpFacet* g = s.facets.pFac(f->getNeigh(e));
            if (!g) continue;
            const bool border = g->getElement() != f->getElement() &&
                                !f->getElement()->getSltd() != !g->getElement()->getSltd();
            if (f->GetNeighDivided(e) != border || g->GetNeighDivided(f->GetNeighEdge(e)) != border)
                return "facet " + std::to_string(i) + " edge " + std::to_string(e);
        }
    }
    return "";
}

}  // namespace

// Quad4 strip, elements 1 2 3; facets 2k and 2k+1 belong to element k+1.
//   5 --- 6 --- 7 --- 8
//   |  1  |  2  |  3  |
//   1 --- 2 --- 3 --- 4
// Facet 0 edge 1 (2 -> 6) and facet 3 edge 1 (6 -> 2) join elements 1, 2.
TEST(surface_div, DivisionsCreateAndDeleteOnBothSides) {
    FacetSurface s;
    ASSERT_EQ(s.Build(surfmesh::Plate(Kind::Quad4, 3, 1, 3.0, 1.0)), 6);
    CKpFacet* f0 = s.facets.pFac(0);
    CKpFacet* f3 = s.facets.pFac(3);
    ASSERT_EQ(f0->getNeigh(1), 3);
    ASSERT_EQ(f0->getNedge(1), 4);

    EXPECT_EQ(SurfaceCreateDivision(&s.facets, 0, 1), 0);
    EXPECT_EQ(std::make_pair(f0->getNedge(1), f3->getNedge(1)), std::make_pair(-3, -3));
    EXPECT_EQ(SurfaceCreateDivision(&s.facets, 3, 1), -1);  // already divided
    EXPECT_EQ(SurfaceDeleteDivision(&s.facets, 3, 1), 0);
    EXPECT_EQ(std::make_pair(f0->getNedge(1), f3->getNedge(1)), std::make_pair(4, 4));
    EXPECT_EQ(SurfaceDeleteDivision(&s.facets, 0, 1), -1);  // not divided
    // A free edge and a facet past the end.
    EXPECT_EQ(std::make_pair(SurfaceCreateDivision(&s.facets, 0, 0),
                             SurfaceCreateDivision(&s.facets, 6, 1)),
              std::make_pair(-1, -1));
    // A link that does not lead back is refused and left alone.
    f3->setNeigh(1, 2);
    EXPECT_EQ(SurfaceCreateDivision(&s.facets, 0, 1), -1);
    EXPECT_EQ(f0->getNedge(1), 4);
}

TEST(surface_div, SelectionTogglesTheBorders) {
    FacetSurface s;
    s.Build(surfmesh::Plate(Kind::Quad4, 3, 1, 3.0, 1.0));
    int pair[2] = {1, 2};
    ASSERT_EQ(surface_select_elements_order(&s.elems, &s.facets, 2, pair, 4), 0);
    EXPECT_EQ(s.elems.find(1)->getOrdr(), 4);
    EXPECT_FALSE(s.facets.pFac(0)->GetNeighDivided(1));  // shared edge of the pair
    EXPECT_TRUE(s.facets.pFac(2)->GetNeighDivided(1));   // border with element 3
    surface_unselect_elem(s.elems.find(1), &s.facets);
    EXPECT_TRUE(s.facets.pFac(0)->GetNeighDivided(1) && s.elems.find(1)->getOrdr() == 0);
    surface_select_elem(s.elems.find(2), &s.facets, 9);  // already selected
    EXPECT_EQ(s.elems.find(2)->getOrdr(), 4);
    EXPECT_EQ(bordersMismatch(s), "");
    EXPECT_EQ(surface_select_elements(&s.elems, &s.facets, -1, pair), -1);
    EXPECT_EQ(surface_select_elements(&s.elems, &s.facets, 1, nullptr), -1);
    EXPECT_EQ(s.elems.find(1)->getSltd(), 0);
}

TEST(surface_div, RandomSelectionsKeepDivisionsOnBordersUntilRestore) {
    FacetSurface s;
    s.Build(surfmesh::Plate(Kind::Tria6, 4, 3, 4.0, 3.0));
    std::mt19937 rng(5);
    for (int step = 0; step < 200; ++step) {
        CKpElem* e = s.elems.find(1 + static_cast<int>(rng() % 24));
        if (rng() % 2)
            surface_select_elem(e, &s.facets, step);
        else
            surface_unselect_elem(e, &s.facets);
        ASSERT_EQ(bordersMismatch(s), "") << "step " << step;
    }
    ASSERT_EQ(surface_restore(&s.elems, &s.facets), 0);
    EXPECT_EQ(bordersMismatch(s), "");  // nothing selected: nothing divided
    for (int i = 0; i < s.elems.entries(); ++i) EXPECT_EQ(s.elems[i]->getSltd(), 0);
}

TEST(surface_div, DivideElementEdge) {
    FacetSurface s;
    s.Build(surfmesh::Plate(Kind::Quad4, 3, 1, 3.0, 1.0));
    RecordingGUI gui;
    CKpMsg msg;
    msg.SetGUI(&gui);
    // Element 2 is 2 3 7 6: edge 2 (3 -> 7) borders element 3, edge 1 is free.
    EXPECT_EQ(surface_divide_elementid(&msg, &s.elems, &s.facets, 2, 2), 0);
    EXPECT_EQ(surface_divide_elementid(&msg, &s.elems, &s.facets, 2, 2), 0);  // left divided
    EXPECT_TRUE(s.facets.pFac(5)->GetNeighDivided(1) && s.facets.pFac(2)->GetNeighDivided(1));
    EXPECT_TRUE(gui.messages.empty());

    for (auto [elem, edge] : {std::pair<int, int>{2, 1}, {2, 5}, {99, 1}})
        EXPECT_EQ(surface_divide_elementid(&msg, &s.elems, &s.facets, elem, edge), -1) << elem;
    s.facets.pFac(2)->setNeigh(0, 3);  // corrupt: edge 1 of element 2 inside it
    s.facets.pFac(2)->setNedge(0, 4);
    EXPECT_EQ(surface_divide_elementid(&msg, &s.elems, &s.facets, 2, 1), -1);
    EXPECT_EQ(gui.texts(4),
              (std::vector<std::string>{"Element 2 edge 1 on boundary.",
                                        "Element 2 edge 5 undefined.", "Element 99 does not exist.",
                                        "Selected edge lies within an element."}));
}

TEST(surface_div, RestoreCutsBranchLinks) {
    FacetSurface s;
    const double third = 2.0 * std::acos(-1.0) / 3.0;
    s.Build(surfmesh::Fins(Kind::Quad4, {0.0, third, 2.0 * third}, {1.0}, 1.0));
    // Fins 1 and 2 selected: their spine edge becomes an ordinary link.
    int pair[2] = {1, 2};
    surface_select_elements(&s.elems, &s.facets, 2, pair);
    ASSERT_EQ(find_selected_neighbour(nullptr, nullptr, &s.facets, &s.elems), 0);
    std::vector<std::pair<int, int>> branch;
    for (int i = 0; i < s.facets.entries(); ++i)
        for (int e = 0; e < 3; ++e)
            if (s.facets.pFac(i)->getNeighn(e) > 1) branch.push_back({i, e});
    ASSERT_EQ(branch.size(), 3u);
    EXPECT_GE(s.facets.pFac(branch[0].first)->getNeigh(branch[0].second), 0);
    for (int i = 0; i < s.nodes.entries(); ++i) s.nodes[i]->setCKpDirn(1.0, 0.0, 0.0);

    ASSERT_EQ(surface_restore(&s.elems, &s.facets), 0);
    for (auto [f, e] : branch) {
        const CKpFacet* facet = s.facets.pFac(f);
        // The partners stay; directions are cleared on the spine only.
        EXPECT_EQ(std::vector<double>({double(facet->getNeigh(e)), double(facet->getNedge(e)),
                                       double(facet->getNeighn(e)), facet->getCKpDirn(e)->getx(),
                                       facet->getCKpDirn((e + 1) % 3)->getx(),
                                       facet->getCKpDirn((e + 2) % 3)->getx()}),
                  std::vector<double>({-1, -1, 2, 0, 0, 1}))
            << f;
    }
    EXPECT_EQ(s.elems.find(1)->getSltd(), 0);
}

// Two unit squares, element 1 at z = 0 (facets 0, 1) and element 2 at z = 1
// (facets 2, 3); (0.25, 0.1) lies in facets 0 and 2, nearest to edge 0.
TEST(surface_div, RayPicksTheFirstFacetAhead) {
    meshgen::Mesh top = surfmesh::Plate(Kind::Quad4, 1, 1, 1.0, 1.0);
    for (size_t k = 2; k < top.xyz.size(); k += 3) top.xyz[k] = 1.0;
    FacetSurface s;
    ASSERT_EQ(s.Build(surfmesh::Join(surfmesh::Plate(Kind::Quad4, 1, 1, 1.0, 1.0), top, 0.0)), 4);

    struct Case {
        double z, dz;
        int ret, facet, sense;
    };
    const Case cases[] = {{5, -1, 1, 2, 1},  {0.5, 1, 1, 2, -1}, {0.5, -1, 1, 0, 1},
                          {-5, 1, 1, 0, -1}, {5, 1, 0, -9, -9},  {-5, -2, 0, -9, -9}};
    for (const Case& c : cases) {
        int facet = -9, edge = -9, sense = -9;
        EXPECT_EQ(select_facet_vector(nullptr, &s.facets, 0.25, 0.1, c.z, 0, 0, c.dz, &facet, &edge,
                                      &sense),
                  c.ret)
            << c.z << " " << c.dz;
        EXPECT_EQ(facet, c.facet) << c.z << " " << c.dz;
        EXPECT_EQ(sense, c.sense) << c.z << " " << c.dz;
        EXPECT_EQ(edge, c.ret ? 0 : -9);
    }
    // Hidden facets are passed; (0.9, 0.5) is nearest to edge 1 (x = 1).
    s.facets.pFac(2)->setHidden(1);
    int facet = -1, edge = -1;
    select_facet_vector(nullptr, &s.facets, 0.9, 0.5, 5, 0, 0, -1, &facet, &edge, nullptr);
    EXPECT_TRUE(facet == 0 && edge == 1);
}
