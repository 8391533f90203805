#include "fileformats/CFiberSimAnsysWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "layuplib/CKpLyp.h"
#include "layuplib/CKpLypPly.h"
#include "tests/support/ExchangeModel.h"
#include "tests/support/LypTestModel.h"

namespace {

std::string XmlPath(const std::string& name) {
    const char* dir = std::getenv("PLYSTRAND_EXPORT_DIR");
    if (dir && *dir) return std::string(dir) + "/" + name + ".xml";
    return xfiles::TempPath(name + ".xml");
}

// Two unit quads sharing an edge; plies 1 "Cut & trim" and 2 "Second" over
// both, material thickness 0.125; the layup has no name.
void BuildTwoQuads(CKpLayup& model) {
    const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 2, 1, 2.0, 1.0);
    const std::vector<int> patches(m.numElems(), 1);
    ASSERT_EQ(model.NewLayupMesh(m.numNodes(), m.nodeIds.data(), m.xyz.data(), m.numElems(),
                                 m.elemIds.data(), patches.data(), m.topologies.data(), m.width,
                                 m.connectivity.data(), 0.0, 0.0),
              0);
    CKpMat* mat = lyptest::AddMat(model, 1, 2, "UD tape");
    mat->setMtrlthck(0.125);
    lyptest::AddPly(model, 1, "Cut & trim", 2, mat, 1, 2);
    lyptest::AddPly(model, 2, "Second", 2, mat, 1, 2);
    ASSERT_EQ(CreateLayupPly(&model, nullptr, nullptr, 2, "Cut & trim", 1, 0, 0, 1001), 0);
    ASSERT_EQ(CreateLayupPly(&model, nullptr, nullptr, 2, "Second", 1, 0, 0, 1002), 0);
}

struct Triangle {
    int a, b, c;
    double warp, weft;
};

std::vector<Triangle> Triangles(const std::string& ply) {
    std::vector<Triangle> out;
    const std::regex rec(R"((\d+) (\d+) (\d+), (-?[0-9.]+), (-?[0-9.]+)<R/>)");
    for (std::sregex_iterator it(ply.begin(), ply.end(), rec), end; it != end; ++it)
        out.push_back({std::stoi((*it)[1]), std::stoi((*it)[2]), std::stoi((*it)[3]),
                       std::stod((*it)[4]), std::stod((*it)[5])});
    return out;
}

double Wrap(double a) {
    while (a > M_PI) a -= 2 * M_PI;
    while (a <= -M_PI) a += 2 * M_PI;
    return a;
}

}  // namespace

TEST(FiberSimAnsysWriter, WritesEveryPlyWithItsOwnPointAndTriangleTables) {
    ExchangeModel x("xml_two_quads");
    BuildTwoQuads(x.model);
    const std::string path = XmlPath("layup_two_quads");
    {
        CFiberSimAnsysWriter w;
        ASSERT_EQ(w.Write(path.c_str(), &x.model), 0);
    }
    const std::string doc = xfiles::ReadAll(path);
    EXPECT_EQ(
        doc.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<Laminate_Layup PART_NAME=\"KelvanorLayup\">\n"
                  "<Orientation XYZ=\"0.0 0.0 0.0\"/>\n"
                  "<Ply NAME=\"Cut &#038; trim\">\n"
                  "<Material NAME=\"UD tape\" THICKNESS=\"0.125\" CURED_THICKNESS=\"0.125\"/>\n"
                  "<Mesh_Point_Table COUNT=\"6\" RECORD=\"XYZ\">\n",
                  0),
        0u);
    const std::string tail = "</Mesh_Polygon_Table>\n</Ply>\n</Laminate_Layup>\n";
    ASSERT_GT(doc.size(), tail.size());
    EXPECT_EQ(doc.substr(doc.size() - tail.size()), tail);

    const size_t second = doc.find("<Ply NAME=\"Second\">");
    ASSERT_NE(second, std::string::npos);
    for (const std::string& ply : {doc.substr(0, second), doc.substr(second)}) {
        EXPECT_NE(ply.find("<Mesh_Point_Table COUNT=\"6\" RECORD=\"XYZ\">"), std::string::npos);
        EXPECT_NE(ply.find("<Mesh_Polygon_Table COUNT=\"4\" RECORD=\"NODES,WARP,WEFT\">"),
                  std::string::npos);
        // Points in order of first appearance: the first triangle is 1 2 3,
        // every number 1..6 is used and none beyond.
        const std::vector<Triangle> tris = Triangles(ply);
        ASSERT_EQ(tris.size(), 4u);
        EXPECT_EQ(tris[0].a, 1);
        EXPECT_EQ(tris[0].b, 2);
        EXPECT_EQ(tris[0].c, 3);
        std::vector<int> used(7, 0);
        for (const Triangle& t : tris)
            for (int n : {t.a, t.b, t.c}) {
                ASSERT_GE(n, 1);
                ASSERT_LE(n, 6);
                used[n] = 1;
            }
        for (int n = 1; n <= 6; ++n) EXPECT_EQ(used[n], 1) << n;
    }
    // The point records are the plate's nodes, each once.
    const std::regex point(R"((-?[0-9.]+) (-?[0-9.]+) (-?[0-9.]+)<R/>)");
    int points = 0;
    double sumX = 0.0;
    for (std::sregex_iterator it(doc.begin(), doc.begin() + second, point), end; it != end;
         ++it, ++points)
        sumX += std::stod((*it)[1]);
    EXPECT_EQ(points, 6);
    EXPECT_NEAR(sumX, 0 + 1 + 2 + 0 + 1 + 2, 1e-9);

    // Warp and weft keep the pattern's angle between them on every facet of
    // the flat plate: ply 1 element e has weft - warp = 1.5 + 0.001 e.
    const std::vector<Triangle> tris = Triangles(doc.substr(0, second));
    ASSERT_EQ(tris.size(), 4u);
    // The first facet runs along the element's reference edge.
    EXPECT_NEAR(tris[0].warp, 0.101, 1e-6);
    for (size_t t = 0; t < tris.size(); ++t) {
        const int elem = t < 2 ? 1 : 2;
        EXPECT_NEAR(std::fabs(Wrap(tris[t].weft - tris[t].warp)), 1.5 + 0.001 * elem, 2e-6) << t;
    }
}

TEST(FiberSimAnsysWriter, UsesTheLayupNameAndReportsFailures) {
    ExchangeModel x("xml_failures");
    BuildTwoQuads(x.model);
    x.model.pLyp()->setName("Wing skin <upper>");
    const std::string named = XmlPath("layup_named");
    {
        CFiberSimAnsysWriter w;
        EXPECT_EQ(w.Write(nullptr, &x.model), 1);
        EXPECT_EQ(w.Write(named.c_str(), nullptr), 1);
        ASSERT_EQ(w.Write(named.c_str(), &x.model), 0);
    }
    EXPECT_NE(xfiles::ReadAll(named).find("PART_NAME=\"Wing skin &#060;upper&#062;\""),
              std::string::npos);

    {
        CFiberSimAnsysWriter w;
        EXPECT_EQ(w.Write("/nonexistent-dir/layup.xml", &x.model), 2);
        EXPECT_TRUE(x.Has(4, "Unable to write to XML file: /nonexistent-dir/layup.xml"));
        // The data does not fit: a truncated file is a failure too.
        EXPECT_EQ(w.Write("/dev/full", &x.model), 2);
        EXPECT_TRUE(x.Has(4, "Unable to write to XML file: /dev/full"));
    }

    // A layup ply that refers to no ply.
    x.model.pLyp()->LypPlys()[1]->setPly(nullptr);
    const std::string broken = xfiles::TempPath("layup_broken.xml");
    CFiberSimAnsysWriter w;
    EXPECT_EQ(w.Write(broken.c_str(), &x.model), 3);
    EXPECT_TRUE(x.Has(4, "Writing Layup Plies Failed"));
    std::remove(broken.c_str());
}

// A warped plate whose coordinates hit every case of "%lf": halves of the
// last decimal (ties to even), values that round to "-0.000000", large and
// negative ones; two plies over overlapping element ranges. The document is
// compared byte for byte with the one a printf-based writer gave.
TEST(FiberSimAnsysWriter, LargeDocumentKeepsItsBytes) {
    ExchangeModel x("xml_large");
    meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 12, 9, 12.0, 9.0);
    for (int i = 0; i < m.numNodes(); ++i) {
        double* p = &m.xyz[3 * static_cast<size_t>(i)];
        p[0] = (p[0] - 6.0) * 0.0078125 * 37.0 + (i % 5 == 0 ? 1e9 * 3.7 : 0.0);
        p[1] = p[1] * -1234.5678901;
        p[2] = i % 3 == 0 ? -1e-7 * i : (i % 3 == 1 ? 0.5e-6 * i : 2.5e-6);
    }
    const std::vector<int> patches(m.numElems(), 1);
    ASSERT_EQ(x.model.NewLayupMesh(m.numNodes(), m.nodeIds.data(), m.xyz.data(), m.numElems(),
                                   m.elemIds.data(), patches.data(), m.topologies.data(), m.width,
                                   m.connectivity.data(), 0.0, 0.0),
              0);
    CKpMat* mat = lyptest::AddMat(x.model, 1, 2, "UD <tape>");
    mat->setMtrlthck(0.1875);
    lyptest::AddPly(x.model, 1, "First", 2, mat, 1, 80);
    lyptest::AddPly(x.model, 2, "Second \xC3\xA9", 2, mat, 30, 108);
    ASSERT_EQ(CreateLayupPly(&x.model, nullptr, nullptr, 2, "First", 1, 0, 0, 1001), 0);
    ASSERT_EQ(CreateLayupPly(&x.model, nullptr, nullptr, 2, "Second \xC3\xA9", 1, 0, 0, 1002), 0);
    const std::string path = XmlPath("layup_large");
    {
        CFiberSimAnsysWriter w;
        ASSERT_EQ(w.Write(path.c_str(), &x.model), 0);
    }
    const std::string doc = xfiles::ReadAll(path);
    unsigned long long h = 14695981039346656037ull;
    for (unsigned char c : doc) h = (h ^ c) * 1099511628211ull;
    char hash[24];
    std::snprintf(hash, sizeof hash, "%016llx", h);
    EXPECT_EQ(doc.size(), 18815u);
    EXPECT_EQ(std::string(hash), "a9a707a1b4f63381");
    EXPECT_NE(doc.find("-0.000000"), std::string::npos);
}
