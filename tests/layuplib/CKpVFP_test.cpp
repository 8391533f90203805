// The VFP file of a draped ply: the STL mesh section (facets per element,
// element normals, the CR LF "endsolid" line) and the grid lines of the ply
// section, read back and compared with the drape grid.

#include "layuplib/CKpVFP.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpDrapeSim.h"
#include "tests/support/DrapedModel.h"
#include "tests/support/ExportRead.h"

namespace {

using exportread::Lines;
using exportread::TempPath;
using exportread::Text;

struct Sections {
    std::vector<std::string> mesh, ply;
};

Sections Split(const std::vector<std::string>& lines) {
    Sections s;
    std::vector<std::string>* into = nullptr;
    for (const std::string& l : lines) {
        if (l == "*MESH")
            into = &s.mesh;
        else if (l == "*PLY")
            into = &s.ply;
        else if (into && l.compare(0, 2, "**") != 0)
            into->push_back(l);
    }
    return s;
}

TEST(CKpVFP, DrapedPlyOnQuadPlate) {
    drapedmodel::Model m(meshgen::Plate(meshgen::Kind::Quad4, 4, 3, 40.0, 30.0));
    CKpPly* ply = m.Ply("P1", 20.0, 15.0, 5.0);
    const std::string path = TempPath("plate.vfp");
    ASSERT_EQ(ply->Export3dVFP(path.c_str(), "My part", 0), 0);

    const std::string text = Text(path);
    EXPECT_EQ(text.compare(0, 40, "**\n** surface description in ASCII STL f"), 0);
    EXPECT_NE(text.find("\nendsolid My part\r\n**\n** draped pattern for ply\n"),
              std::string::npos);
    EXPECT_EQ(text.find('\r'), text.find("\r\n**\n** draped"));  // the only CR

    const Sections s = Split(Lines(path));
    ASSERT_FALSE(s.mesh.empty());
    EXPECT_EQ(s.mesh.front(), "solid My part");
    EXPECT_EQ(s.mesh.back(), "endsolid My part");
    ASSERT_EQ(s.mesh.size(), 2u + 12u * 2u * 7u);  // two facets of seven lines per quad
    for (size_t f = 1; f + 1 < s.mesh.size(); f += 7) {
        EXPECT_EQ(s.mesh[f], "facet normal 0.000000 0.000000 1.000000");
        EXPECT_EQ(s.mesh[f + 1], "outer loop");
        EXPECT_EQ(s.mesh[f + 5], "endloop");
        EXPECT_EQ(s.mesh[f + 6], "endfacet");
    }
    // Facet vertices lie on the plate.
    double x, y, z;
    ASSERT_EQ(std::sscanf(s.mesh[3].c_str(), "vertex %lf %lf %lf", &x, &y, &z), 3);
    EXPECT_DOUBLE_EQ(z, 0.0);
    EXPECT_LE(x, 40.0);

    // One line per grid point, j then i ascending, "ood" 0, the entry order.
    CKpDrape* drape = m.model->pDrapeSim()->pDrape();
    int umin, umax, vmin, vmax;
    drape->GetBounds(umin, umax, vmin, vmax);
    size_t line = 0;
    int points = 0;
    for (int j = vmin; j <= vmax; ++j)
        for (int i = umin; i <= umax; ++i) {
            const CKpDrapePt* pt = drape->pDrapePt(i, j);
            if (!pt) continue;
            ++points;
            ASSERT_LT(line, s.ply.size());
            std::istringstream in(s.ply[line++]);
            int li, lj, ood, order;
            double px, py, pz;
            in >> li >> lj >> px >> py >> pz >> ood >> order;
            EXPECT_EQ(li, i);
            EXPECT_EQ(lj, j);
            EXPECT_NEAR(px, pt->GetPoint().getx(), 1e-4);
            EXPECT_NEAR(py, pt->GetPoint().gety(), 1e-4);
            EXPECT_EQ(ood, 0);
            EXPECT_EQ(order, pt->GetId());
        }
    EXPECT_GT(points, 20);
    EXPECT_EQ(line, s.ply.size());
    std::remove(path.c_str());
}

TEST(CKpVFP, TrianglesGiveOneFacetEach) {
    drapedmodel::Model m(meshgen::Plate(meshgen::Kind::Tria3, 2, 2, 20.0, 20.0));
    CKpPly* ply = m.Ply("P1", 10.0, 10.0, 4.0);
    const std::string path = TempPath("tria.vfp");
    ASSERT_EQ(ply->Export3dVFP(path.c_str(), "T", 0), 0);
    EXPECT_EQ(Split(Lines(path)).mesh.size(), 2u + 8u * 7u);
    std::remove(path.c_str());
}

TEST(CKpVFP, RefusalsWriteNothing) {
    drapedmodel::Model m(meshgen::Plate(meshgen::Kind::Quad4, 2, 2, 20.0, 20.0));
    CKpPly* ply = m.Ply("P1", 10.0, 10.0, 4.0);
    m.gui.messages.clear();
    EXPECT_EQ(ply->Export3dVFP("/nonexistent-dir/p.vfp", "X", 0), -1);
    ASSERT_FALSE(m.gui.messages.empty());
    EXPECT_EQ(m.gui.messages.back().text,
              "Could not open file '/nonexistent-dir/p.vfp' for writing.");
    EXPECT_EQ(CKpVFP().Write(nullptr, "x.vfp", "X", 0), -1);
}

}  // namespace
