#include "fileformats/CSTLParser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "tests/support/ExchangeFiles.h"
#include "tests/support/ExchangeModel.h"
#include "tests/support/MeshGen.h"
#include "tests/support/SurfaceMeshes.h"
#include "tests/support/Tolerance.h"

namespace {

int ReadStl(ExchangeModel& m, const std::string& path, CSTLParser* out = nullptr) {
    CSTLParser parser;
    const int status = m.Read(parser, path, 0);
    if (out) out->SetType(parser.type());
    return status;
}

int ReadStlBytes(ExchangeModel& m, const std::string& bytes, int* type = nullptr) {
    const std::string path = xfiles::TempPath("in.stl");
    xfiles::WriteAll(path, bytes);
    CSTLParser parser;
    const int status = m.Read(parser, path, 0);
    if (type) *type = parser.type();
    std::remove(path.c_str());
    return status;
}

// The facets of the model's tria3 elements as nine floats each, in element
// order (the vertices of the element's node ids).
std::vector<std::vector<float>> Facets(CKpLayup& model) {
    std::vector<std::vector<float>> out;
    CVekObjectStoreIterator<CKpElem> it(*model.pElems());
    while (++it) {
        std::vector<float> f;
        for (int k = 0; k < 3; ++k) {
            CKpNode* n = model.pNodes()->find(it.key()->getunid(k));
            f.push_back(static_cast<float>(n->getCKpPointX()));
            f.push_back(static_cast<float>(n->getCKpPointY()));
            f.push_back(static_cast<float>(n->getCKpPointZ()));
        }
        out.push_back(f);
    }
    return out;
}

std::string Binary(const std::string& header, uint32_t count, const std::vector<float>& floats) {
    std::string bytes = header;
    bytes.resize(80, ' ');
    bytes.append(reinterpret_cast<const char*>(&count), 4);
    for (size_t k = 0; k < floats.size(); k += 12) {
        bytes.append(reinterpret_cast<const char*>(&floats[k]), 48);
        bytes.append(2, '\0');
    }
    return bytes;
}

TEST(CSTLParser, SampleFilesGiveTheirFacetsAndMergedNodes) {
    struct Case {
        const char* file;
        int type, elems, nodes, merged;
        double max[3];
    } cases[] = {
        {"HalfDonut_ascii.stl", 1, 288, 864, 144, {3, 0.5, 3}},
        {"HalfDonut_binary.stl", 2, 288, 864, 144, {3, 0.5, 3}},
        {"Moon_Chinese.stl", 1, 116, 348, 60, {1.62841, 0.35, 3}},
        {"Cube_binary.stl", 2, 12, 36, 8, {2, 2, 2}},
        {"triamid.stl", 2, 10, 30, 7, {4, 4, 4}},
    };
    for (const Case& c : cases) {
        ExchangeModel m("stlsample");
        CSTLParser type;
        ASSERT_EQ(ReadStl(m, xfiles::SampleFile(std::string("stl/") + c.file), &type), 0) << c.file;
        EXPECT_EQ(type.type(), c.type) << c.file;
        EXPECT_EQ(m.model.pElems()->entries(), c.elems) << c.file;
        EXPECT_EQ(m.model.pNodes()->entries(), c.nodes) << c.file;
        EXPECT_EQ(m.Count(4), 0) << c.file;
        m.model.pNodes()->Merge(m.model.pMsg(), m.model.pElems(), nullptr, 1e-12);
        EXPECT_EQ(m.model.pNodes()->entries(), c.merged) << c.file;
        double lo[3], hi[3];
        m.model.pNodes()->GetBounds(&lo[0], &hi[0], &lo[1], &hi[1], &lo[2], &hi[2]);
        for (int k = 0; k < 3; ++k) {
            EXPECT_TRUE(Near(lo[k], 0.0, Tol{1e-6, 0})) << c.file;
            EXPECT_TRUE(Near(hi[k], c.max[k], Tol{1e-5, 1e-6})) << c.file;
        }
    }
    // Both HalfDonut files hold the same facets.
    ExchangeModel a("stlda"), b("stldb");
    ReadStl(a, xfiles::SampleFile("stl/HalfDonut_ascii.stl"));
    ReadStl(b, xfiles::SampleFile("stl/HalfDonut_binary.stl"));
    EXPECT_EQ(Facets(a.model), Facets(b.model));
}

TEST(CSTLParser, AsciiFacetsInAnyCaseMakeNodesAndTriangles) {
    ExchangeModel m("stltwo");
    int type = 0;
    const std::string text =
        "SOLID two\n"
        "  FACET NORMAL 0 0 1\n    OUTER LOOP\n"
        "      VERTEX 0 0 0\n      VERTEX 1 0 0\n      VERTEX 1 1 0\n"
        "    ENDLOOP\n  ENDFACET\n"
        "  facet normal 0 0 1\r\n    outer loop\r\n"
        "      vertex 0 0 0\r\n      vertex 1 1 0\r\n      vertex 0 1 0.5\r\n"
        "    endloop\r\n  endfacet\r\n"
        "ENDSOLID two\n";
    ASSERT_EQ(ReadStlBytes(m, text, &type), 0) << m.Log();
    EXPECT_EQ(type, 1);
    EXPECT_NE(m.Log().find("STL file is ASCII"), std::string::npos);
    ASSERT_EQ(m.model.pNodes()->entries(), 6);
    ASSERT_EQ(m.model.pElems()->entries(), 2);
    CKpElem* second = m.model.pElems()->find(2);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->getgmtp(), 11);
    EXPECT_EQ(second->geteltp(), 1);
    EXPECT_EQ(second->getunid(0), 4);
    EXPECT_EQ(second->getunid(2), 6);
    EXPECT_EQ(m.model.pNodes()->find(6)->getCKpPointZ(), 0.5);
    ASSERT_NE(second->pOrient(), nullptr);
    EXPECT_STREQ(second->pOrient()->name(), "Default");
    EXPECT_EQ(m.model.pOrients()->entries(), 1);
}

TEST(CSTLParser, FormDetectionEmptyFilesAndZeroCounts) {
    ExchangeModel m("stlform");
    int type = 0;
    // "solid" at the start but no facet within the first 1023 bytes: binary,
    // and its header declares no facet, so it is no STL file.
    std::string late =
        "solid x\n" + std::string(1100, ' ') + "facet normal 0 0 1\nouter loop\nvertex 0 0 0\n";
    late.resize(84 + 50, ' ');
    const uint32_t zero = 0;
    std::memcpy(&late[80], &zero, 4);
    EXPECT_EQ(ReadStlBytes(m, late, &type), -1);
    EXPECT_EQ(type, 2);
    EXPECT_TRUE(m.Has(4, "is not an STL file: its binary header declares no facet.")) << m.Log();
    EXPECT_EQ(ReadStlBytes(m, "", &type), -1);
    EXPECT_TRUE(m.Has(4, "in.stl' is empty.")) << m.Log();
    EXPECT_EQ(ReadStlBytes(m, Binary("x", 0, {}), &type), -1);
    EXPECT_EQ(m.model.pElems()->entries(), 0);
    // An ASCII-looking header without "solid" anywhere is binary too, and
    // too short for the binary header.
    EXPECT_EQ(ReadStlBytes(m, "facet normal outer loop vertex", &type), -1);
    EXPECT_EQ(type, 2);
    EXPECT_TRUE(m.Has(4,
                      "is not an STL file: its 30 bytes hold neither an ASCII solid nor the "
                      "84-byte binary header."))
        << m.Log();
    CSTLParser parser;
    EXPECT_EQ(m.Read(parser, "/nonexistent/x.stl", 0), -1);
    EXPECT_TRUE(m.Has(4, "STL file '/nonexistent/x.stl' does not exist."));
    EXPECT_EQ(m.model.pNodes()->entries(), 0);
}

TEST(CSTLParser, ReadingIntoAPopulatedModelNumbersOnFromTheHighestIds) {
    ExchangeModel m("stlids");
    meshgen::Numbering num;
    num.firstNode = 50;
    num.firstElem = 70;
    meshgen::Load(meshgen::Plate(meshgen::Kind::Quad4, 1, 1, 1.0, 1.0, num), *m.model.pNodes(),
                  *m.model.pElems());
    ASSERT_EQ(ReadStlBytes(m, Binary("", 1, {0, 0, 1, 0, 0, 5, 1, 0, 5, 0, 1, 5})), 0);
    EXPECT_EQ(m.model.pElems()->entries(), 2);
    ASSERT_NE(m.model.pElems()->find(71), nullptr);
    EXPECT_EQ(m.model.pElems()->find(71)->getunid(0), 54);
    EXPECT_EQ(m.model.pNodes()->find(56)->getCKpPointZ(), 5.0);
}

TEST(CSTLParser, TruncatedAndMalformedFacetsAreErrorsAndEarlierFacetsStay) {
    const std::vector<float> two = {0, 0, 1, 0, 0, 0, 1, 0, 0, 1, 1, 0,
                                    0, 0, 1, 0, 0, 0, 1, 1, 0, 0, 1, 0};
    {
        // Count 3 over two records and half of a third.
        ExchangeModel m("stlcut");
        std::string bytes = Binary("", 3, two) + std::string(25, '\0');
        EXPECT_EQ(ReadStlBytes(m, bytes), -1);
        EXPECT_EQ(m.model.pElems()->entries(), 2);
        EXPECT_TRUE(m.Has(4, "declares 3 facets but holds only 2")) << m.Log();
    }
    {
        ExchangeModel m("stlnan");
        std::vector<float> bad = two;
        bad[5] = NAN;
        EXPECT_EQ(ReadStlBytes(m, Binary("", 2, bad)), -1);
        EXPECT_EQ(m.model.pElems()->entries(), 1);
        EXPECT_TRUE(m.Has(4, "facet 1 has a coordinate that is not finite"));
    }
    {
        // Twelve facets that are not finite and one that is: five messages
        // name their facet, one line counts the other seven.
        ExchangeModel m("stlflood");
        std::vector<float> many;
        for (int k = 0; k < 13; ++k) {
            many.insert(many.end(), two.begin(), two.begin() + 12);
            if (k < 12) many[many.size() - 7] = NAN;
        }
        EXPECT_EQ(ReadStlBytes(m, Binary("", 13, many)), -1);
        EXPECT_EQ(m.model.pElems()->entries(), 1);
        const std::string log = m.Log();
        size_t named = 0;
        for (size_t at = log.find("has a coordinate that is not finite"); at != std::string::npos;
             at = log.find("has a coordinate that is not finite", at + 1))
            ++named;
        EXPECT_EQ(named, 5u) << log;
        EXPECT_TRUE(m.Has(4, "facet 5 has a coordinate"));
        EXPECT_FALSE(m.Has(4, "facet 6 has a coordinate"));
        EXPECT_TRUE(m.Has(4, "7 more facets with a coordinate that is not finite were skipped."))
            << log;
    }
    const std::string good =
        "facet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 0 0\nvertex 1 1 0\nendloop\n"
        "endfacet\n";
    struct Case {
        const char* what;
        std::string text;
        const char* message;
    } cases[] = {
        {"two vertex lines",
         "facet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 0 0\nendloop\nendfacet\n",
         "facet 2 (line 9) has 2 vertex lines"},
        {"two numbers",
         "facet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 0\nvertex 1 1 0\nendloop\n"
         "endfacet\n",
         "facet 2, line 12: the vertex line does not hold three numbers"},
        {"NUL",
         std::string("facet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 0") + '\0' +
             " 0\nvertex 1 1 0\nendloop\nendfacet\n",
         "line 12 holds a NUL byte"},
    };
    for (const Case& c : cases) {
        ExchangeModel m("stlbad");
        EXPECT_EQ(ReadStlBytes(m, "solid s\n" + good + c.text + good + "endsolid s\n"), -1)
            << c.what;
        EXPECT_EQ(m.model.pElems()->entries(), 2) << c.what;
        EXPECT_TRUE(m.Has(4, c.message)) << c.what << "\n" << m.Log();
    }
    {
        ExchangeModel m("stlend");
        EXPECT_EQ(ReadStlBytes(m, "solid s\n" + good + good +
                                      "facet normal 0 0 1\nouter loop\n"
                                      "vertex 0 0 0\nvertex 1 0 0\nvertex 1 1 0"),
                  -1);
        EXPECT_EQ(m.model.pElems()->entries(), 2);
        EXPECT_TRUE(m.Has(4, "ends inside facet 3 (line 16)")) << m.Log();
    }
    // A vertex line longer than 80 characters keeps its z.
    ExchangeModel m("stllong");
    std::string longLine =
        "solid s\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 0 0\n"
        "vertex     1.000000000000000000000000000000000     "
        "1.000000000000000000000000000000000     7.5\nendloop\nendfacet\nendsolid s\n";
    ASSERT_EQ(ReadStlBytes(m, longLine), 0);
    EXPECT_EQ(m.model.pNodes()->find(3)->getCKpPointZ(), 7.5);
}

TEST(CSTLParser, ALastLineWithoutItsLineEndReadsAsTheFileWithIt) {
    for (const char* name : {"HalfDonut_ascii.stl", "Moon_Chinese.stl"}) {
        SCOPED_TRACE(name);
        const std::string whole = xfiles::ReadAll(xfiles::SampleFile(std::string("stl/") + name));
        ASSERT_EQ(whole.back(), '\n');
        ExchangeModel a("stlwhole"), b("stlopen");
        ASSERT_EQ(ReadStlBytes(a, whole), 0) << a.Log();
        EXPECT_EQ(ReadStlBytes(b, whole.substr(0, whole.size() - 1)), 0) << b.Log();
        EXPECT_EQ(b.Count(2) + b.Count(4), 0) << b.Log();
        EXPECT_GT(a.model.pElems()->entries(), 100);
        EXPECT_EQ(Facets(b.model), Facets(a.model));
        // The closing line cut inside its keyword: the file is cut.
        const size_t end = whole.rfind('\n', whole.size() - 2) + 1;
        ExchangeModel c("stlcutend");
        EXPECT_EQ(ReadStlBytes(c, whole.substr(0, end + 5)), -1);
        EXPECT_EQ(c.model.pElems()->entries(), a.model.pElems()->entries());
        EXPECT_TRUE(c.Has(4, "ends without \"endsolid\"")) << c.Log();
    }
}

// A model of `mesh` with its faceted surface.
void LoadSurface(ExchangeModel& m, const meshgen::Mesh& mesh) {
    ASSERT_EQ(meshgen::LoadModel(m.model, mesh), 0) << m.Log();
    ASSERT_GT(m.model.pFacs()->entries(), 0);
}

std::string WriteStl(ExchangeModel& m, int type, int* status = nullptr) {
    const std::string path = xfiles::TempPath("out.stl");
    CSTLParser parser;
    const int s = m.Write(parser, path, 1, type);
    if (status) *status = s;
    std::string bytes = xfiles::ReadAll(path);
    std::remove(path.c_str());
    return bytes;
}

TEST(CSTLParser, WritingOneQuadGivesTwoFacetsWithItsNormal) {
    ExchangeModel m("stlquad");
    LoadSurface(m, meshgen::Plate(meshgen::Kind::Quad4, 1, 1, 1.0, 1.0));
    int status = -1;
    const std::string bin = WriteStl(m, 2, &status);
    ASSERT_EQ(status, 0);
    ASSERT_EQ(bin.size(), 184u);
    EXPECT_EQ(bin.substr(0, 80), std::string(76, ' ') + "TEST");
    uint32_t count;
    std::memcpy(&count, &bin[80], 4);
    EXPECT_EQ(count, 2u);
    for (int f = 0; f < 2; ++f) {
        float normal[3];
        std::memcpy(normal, &bin[84 + 50 * f], 12);
        EXPECT_EQ(normal[0], 0.0f);
        EXPECT_EQ(normal[2], 1.0f);
        EXPECT_EQ(bin[84 + 50 * f + 48], '\0');
    }
    const std::string text = WriteStl(m, 1, &status);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(text.compare(0, 11, "solid TEST\n"), 0);
    EXPECT_EQ(text.substr(text.size() - 15), "endsolid TEST\r\n");
    EXPECT_EQ(text.find('\r'), text.size() - 2);  // the only CR
    EXPECT_NE(text.find("facet normal 0.000000 0.000000 1.000000\nouter loop\nvertex "),
              std::string::npos);

    CSTLParser full;
    EXPECT_EQ(m.Write(full, "/dev/full", 1, 2), -1);
    EXPECT_TRUE(m.Has(4, "Could not write file '/dev/full'."));
}

TEST(CSTLParser, WrittenSurfacesReadBack) {
    for (int type : {2, 1}) {
        ExchangeModel a("stlrt_a"), b("stlrt_b");
        LoadSurface(a, surfmesh::Sphere(meshgen::Kind::Tria3, 12, 8, 1.234567));
        const std::string path = xfiles::TempPath("rt.stl");
        CSTLParser writer;
        ASSERT_EQ(a.Write(writer, path, 1, type), 0);
        ASSERT_EQ(ReadStl(b, path), 0);
        std::remove(path.c_str());
        // Each element's facet in the facet store against the facet read.
        ASSERT_EQ(b.model.pElems()->entries(), a.model.pElems()->entries());
        CVekObjectStoreIterator<CKpElem> it(*a.model.pElems());
        int k = 1;
        while (++it) {
            CKpFacet* fac = a.model.pFacs()->pFac(it.key()->getfacs(0));
            CKpElem* eb = b.model.pElems()->find(k++);
            for (int v = 0; v < 3; ++v) {
                CKpNode* na = fac->getCKpNode(v);
                CKpNode* nb = b.model.pNodes()->find(eb->getunid(v));
                const double pa[3] = {na->getCKpPointX(), na->getCKpPointY(), na->getCKpPointZ()};
                const double pb[3] = {nb->getCKpPointX(), nb->getCKpPointY(), nb->getCKpPointZ()};
                for (int c = 0; c < 3; ++c) {
                    if (type == 2)
                        EXPECT_EQ(pb[c], static_cast<double>(static_cast<float>(pa[c])));
                    else
                        EXPECT_TRUE(Near(pb[c], pa[c], Tol{1e-6, 0}));
                }
            }
        }
    }
}

// admesh's report value after `label` (":" then the number); NAN when absent.
double AdmeshValue(const std::string& report, const std::string& label) {
    size_t at = report.find(label);
    if (at == std::string::npos) return NAN;
    at = report.find(':', at);
    return std::atof(report.c_str() + at + 1);
}

TEST(CSTLParser, ClosedSurfacesPassAnIndependentChecker) {
    if (std::system("command -v admesh >/dev/null 2>&1") != 0) GTEST_SKIP() << "admesh missing";
    for (meshgen::Kind kind : {meshgen::Kind::Tria3, meshgen::Kind::Quad4}) {
        ExchangeModel m("stladmesh");
        LoadSurface(m, surfmesh::Sphere(kind, 16, 10, 2.0));
        // The mesh's own volume: divergence theorem over its facets.
        double volume = 0.0;
        for (int i = 0; i < m.model.pFacs()->entries(); ++i) {
            CKpFacet* f = m.model.pFacs()->pFac(i);
            CKpDirn p[3];
            for (int v = 0; v < 3; ++v)
                p[v].Set(f->getCKpNode(v)->getCKpPointX(), f->getCKpNode(v)->getCKpPointY(),
                         f->getCKpNode(v)->getCKpPointZ());
            volume += (p[0].getx() * (p[1].gety() * p[2].getz() - p[1].getz() * p[2].gety()) -
                       p[0].gety() * (p[1].getx() * p[2].getz() - p[1].getz() * p[2].getx()) +
                       p[0].getz() * (p[1].getx() * p[2].gety() - p[1].gety() * p[2].getx())) /
                      6.0;
        }
        const std::string path = xfiles::TempPath("sphere.stl");
        CSTLParser writer;
        ASSERT_EQ(m.Write(writer, path, 1, 2), 0);
        const std::string out = xfiles::TempPath("admesh.txt");
        ASSERT_EQ(std::system(("admesh -e '" + path + "' > '" + out + "' 2>&1").c_str()), 0);
        const std::string report = xfiles::ReadAll(out);
        std::remove(path.c_str());
        std::remove(out.c_str());
        EXPECT_EQ(AdmeshValue(report, "Number of facets"), m.model.pFacs()->entries()) << report;
        EXPECT_EQ(AdmeshValue(report, "Total disconnected facets"), 0) << report;
        EXPECT_EQ(AdmeshValue(report, "Backwards edges"), 0) << report;
        EXPECT_TRUE(Near(AdmeshValue(report, "Volume"), volume, Tol{1e-5, 1e-5})) << report;
        EXPECT_GT(volume, 0.0);
    }
}

}  // namespace

// An orientation of the highest id in the model read into (a layup file may
// give one) leaves no id for the orientation STL elements take: the read
// fails before any node or element is made; nothing of a wrapped id is made.
TEST(CSTLParser, NoOrientationPastTheHighestIdOfTheModel) {
    ExchangeModel m("stltoporient");
    ASSERT_EQ(m.model.pOrients()->insert(new CKpOrient(2147483647)), 0);
    EXPECT_EQ(ReadStlBytes(m, Binary("", 1, {0, 0, 1, 0, 0, 5, 1, 0, 5, 0, 1, 5})), -1);
    EXPECT_TRUE(m.Has(4, "Could not allocate memory.")) << m.Log();
    EXPECT_EQ(m.model.pNodes()->entries() + m.model.pElems()->entries(), 0);
    ASSERT_EQ(m.model.pOrients()->entries(), 1);
    EXPECT_EQ(m.model.pOrients()->minId(), 2147483647);
}
