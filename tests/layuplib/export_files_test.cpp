// The manufacturing files of two drapes (a plate and a hemisphere), written
// through the ply's and the model's export operations. With the
// environment variable PLYSTRAND_EXPORT_DIR set, the files stay in that
// folder with a list of the counts an independent reader must find
// ("expect.txt", one "key value" per line); scripts/check-exports.sh reads
// them with ezdxf, OpenCASCADE and a laser grammar check of our own.
// Without it they are written to the temp folder, checked here and removed.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "layuplib/CKpBdyStore.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpFile.h"
#include "layuplib/CKpFlatPat.h"
#include "layuplib/CKpFlatPatPtStore.h"
#include "layuplib/CKpFlatPatStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLyp.h"
#include "layuplib/ExportLaserLayup.h"
#include "layuplib/gen_flat_pat_igs.h"
#include "tests/support/DrapedModel.h"
#include "tests/support/ExportRead.h"
#include "tests/support/SurfaceMeshes.h"

namespace {

struct Written {
    std::vector<std::string> files;
    std::map<std::string, int> expect;
};

// Writes every file of the ply `name` of `m` with prefix `tag` into `dir`.
void WriteAll(drapedmodel::Model& m, CKpPly* ply, const std::string& dir, const std::string& tag,
              Written& w) {
    CKpLayup& model = *m.model;
    auto file = [&](const std::string& name) {
        w.files.push_back(dir + "/" + tag + name);
        return w.files.back();
    };
    ASSERT_EQ(ply->Export2dIGES(file("_flat.igs").c_str(), 1 | 2 | 4 | 32), 0);
    ASSERT_EQ(ply->Export3dIGES(file("_draped.igs").c_str(), 31), 0);
    CKpFile mould;
    mould.SetName(file("_mould.igs").c_str());
    ASSERT_EQ(gen_mould_surf_igs(model.pMsg(), model.pNodes(), model.pFacs(), &mould), 0);
    ASSERT_EQ(ply->Export2dDXF(file("_flat.dxf").c_str(), "Ply", "", 1 | 2 | 4 | 32), 0);
    ASSERT_EQ(ply->Export2dDXF(file("_spline.dxf").c_str(), "Ply", "SPLINE", 1), 0);
    ASSERT_EQ(ply->Export3dDXF(file("_draped.dxf").c_str(), "Ply", 31), 0);
    const std::string vk = file("_ply.vk");
    std::remove(vk.c_str());  // the ply file is appended to
    ASSERT_EQ(ply->Export3dLaser(1, vk.c_str(), 1), 0);
    ASSERT_EQ(ply->Export2dVirtek(file("_2d.vk").c_str(), 0), 0);
    const char* names[1] = {ply->name()};
    const int types[1] = {3}, counts[1] = {2}, sides[1] = {1}, gids[1] = {0};
    const double offsets[1] = {0}, thick[1] = {0};
    model.pLyp()->SetName("Stack");
    ASSERT_EQ(model.pLyp()->Create(1, nullptr, nullptr, types, names, counts, sides, offsets, thick,
                                   gids),
              0);
    const int ids[2] = {1, 2};
    ASSERT_EQ(ExportLayupLaser(&model, 2, ids, nullptr, 0, 1, 0.05, 0.001, 0, 1, "sep_", 0.05, 1, 1,
                               1, 1, 1, "flat_", file("_layup.vk").c_str(), 0),
              0);
    // Simulating again for the layup leaves the same drape.
    CKpDrapeSim* drape = model.pDrapeSim();
    const int segments = CKpBdyStore::GetNumSegs(model.pBdys()->GetBdy(0));
    int outlines = 0, outlineLines = 0;
    for (CKpFlatPat* f = drape->pFlatPats()->First(); f; f = drape->pFlatPats()->Next(f)) {
        const int n = f->GetPoints().GetNumPlotPoints();
        w.expect[tag + ".outline" + std::to_string(outlines) + ".points"] = n;
        outlineLines += n >= 2 ? n - 1 : 0;
        ++outlines;
    }
    w.expect[tag + ".segments"] = segments;
    w.expect[tag + ".outlines"] = outlines;
    w.expect[tag + ".flat.edges"] = outlineLines + 2;
    w.expect[tag + ".facets"] = model.pFacs()->entries();
}

void CheckHere(const Written& w, const std::string& tag) {
    // The draped DXF's boundary polyline has one vertex more than the ring.
    const std::vector<std::string> dxf = exportread::Lines(w.files[5]);
    int vertices = 0;
    bool onBound = false;
    for (size_t k = 0; k + 1 < dxf.size(); k += 2) {
        if (dxf[k] == "  0" && dxf[k + 1] == "POLYLINE") onBound = dxf[k + 3] == "Ply_bound";
        if (onBound && dxf[k] == "0  " && dxf[k + 1] == "VERTEX") ++vertices;
        if (dxf[k] == "0  " && dxf[k + 1] == "SEQEND") onBound = false;
    }
    EXPECT_EQ(vertices, w.expect.at(tag + ".segments") + 1);
    // Every IGES file is fixed-column, with its sequence numbers in order.
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(exportread::ReadIges(w.files[k]).wellFormed);
}

void WriteAndCheck(drapedmodel::Model& m, CKpPly* ply, const std::string& tag) {
    const char* env = std::getenv("PLYSTRAND_EXPORT_DIR");
    const std::string dir = env && *env ? env : exportread::TempPath(tag + "_dir");
    if (!env || !*env) {
        ASSERT_EQ(std::system(("mkdir -p '" + dir + "'").c_str()), 0);
    }
    Written w;
    WriteAll(m, ply, dir, tag, w);
    if (::testing::Test::HasFatalFailure()) return;
    CheckHere(w, tag);
    if (env && *env) {
        std::ofstream out(dir + "/expect.txt", std::ios::app);
        for (const auto& kv : w.expect) out << kv.first << " " << kv.second << "\n";
    } else {
        for (const std::string& f : w.files) std::remove(f.c_str());
        std::remove(dir.c_str());
    }
}

}  // namespace

TEST(ExportFiles, Plate) {
    drapedmodel::Model m(meshgen::Plate(meshgen::Kind::Quad4, 10, 5, 10.0, 5.0));
    CKpPly* ply = m.Ply("Plate", 5.2, 2.3, 0.5);
    WriteAndCheck(m, ply, "plate");
}

TEST(ExportFiles, Hemisphere) {
    drapedmodel::Model m(surfmesh::Hemisphere(surfmesh::Kind::Quad4, 32, 12, 1.0));
    CKpPly* ply = m.Ply("Dome", 0.0, 0.0, 0.1);
    WriteAndCheck(m, ply, "dome");
}
