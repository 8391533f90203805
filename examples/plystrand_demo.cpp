// plystrand_demo <output-folder>
//
// Builds a small layup model from mesh arrays, reads the mesh back, lays a
// ply over the plate, saves the model as a compressed layup file
// <output-folder>/plystrand_demo.lyp.gz, opens it into a second model and
// checks that both agree (exit 1 when they do not), lists the built-in
// lamina failure criteria, then drapes a woven ply over a hemisphere from
// its pole and prints the shear of the draped fabric and the size of the
// flat pattern it must be cut from. The model's messages go to
// <output-folder>/plystrand_demo.msg; warnings and errors also to stderr.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "host/CKpGUI.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/IVekAddinFailureLamina.h"
#include "layuplib/IVekMaterialStore.h"
#include "layuplib/IVekPlyLayup.h"
#include "layuplib/IVekPlyStore.h"
#include "layuplib/PlyImport.h"
#include "layuplib/add_layer.h"
#include "layuplib/store_or_free.h"

namespace {

// A host without windows: messages to stderr, nothing drawn.
class ConsoleGUI : public CKpGUI {
  public:
    int UiAbort() override { return 0; }
    int Message(int, int severity, const char* text) override {
        std::fprintf(stderr, "%s: %s\n", severity == 4 ? "error" : "warning", text);
        return 0;
    }
    int GraSetColor(int) override { return 0; }
    int GraDrawPolygon(int, int, int, float, int, float*) override { return 0; }
    int GraDrawLine(int, int, int, float, float*, float*) override { return 0; }
    int GraDrawMarker(int, int, int, float, float*, int, int) override { return 0; }
    int GraDrawArrow(int, int, int, float, float*, float*, float) override { return 0; }
    int GraDrawResultArrow(int, int, int, float, float*, float*, float, int, const char*) override {
        return 0;
    }
    int GraDeleteSegment(int) override { return 0; }
    int FailUserName(char*) override { return -1; }
    int FailUser(float*, float*, float*) override { return 1; }
};

// Covers every element of `model` with one ply of carbon tape as a finished
// drape would leave it: the pattern's elements filled with fibres along x,
// the result set to success; then places the ply in the layup. 0, or -1.
int AddSimulatedPly(CKpLayup& model) {
    CKpMat* mat = new CKpMat(1);
    mat->setLyrtp(EVekMaterialProjected);
    mat->setMtrlnm("Carbon tape");
    mat->setMtrlthck(0.25);
    if (store_or_free(model.pMats(), mat, model.pMsg(), "material") != 0) return -1;

    CKpPat* pat = new CKpPat(1);
    pat->setLyrtp(EVekMaterialProjected);
    pat->SetNameByPlyName("Ply 1");
    pat->setStdn(1);
    // Seen from above, warp along x.
    pat->setEye(0.5, 0.5, 1.0);
    pat->setEyed(0.0, 0.0, -1.0);
    pat->setRefd(1.0, 0.0, 0.0);
    CKpElemStore* elems = model.pElems();
    for (int k = 0; CKpElem* e = (*elems)[k]; ++k) {
        CKpPatElem* pe = new CKpPatElem;
        pe->setElemId(e->id());
        pe->setPelem(e);
        pe->setStdn(1);
        pe->setDnfg(1);
        pe->setWeftAngle(1.5707963267948966);  // warp along x, weft along y
        pat->PatElems()->InsertLast(pe);
    }
    pat->setSimResult(0);
    if (store_or_free(model.pPats(), pat, model.pMsg(), "pattern") != 0 ||
        store_or_free(model.pPlys(), new CKpPly(1, "Ply 1", EVekMaterialProjected, mat, pat),
                      model.pMsg(), "ply") != 0)
        return -1;
    return model.CreateLayupPly(nullptr, nullptr, EVekMaterialProjected, "Ply 1", 1, 0.0, 0.0, 1);
}

// A hemisphere of radius `r` (pole on +z, rim in the xy plane): triangles
// round the pole, quads elsewhere, `rings` element rings of `around`
// elements each, normals outwards. Loads it into `model`. 0, or -1.
int LoadHemisphere(ILayup& model, int around, int rings, double r) {
    const double pi = std::acos(-1.0);
    std::vector<int> nodeIds{1}, elemIds, patchIds, topologies, connectivity;
    std::vector<double> xyz{0.0, 0.0, r};
    auto node = [around](int ring, int k) { return 2 + (ring - 1) * around + k % around; };
    for (int ring = 1; ring <= rings; ++ring) {
        const double polar = 0.5 * pi * ring / rings;
        for (int k = 0; k < around; ++k) {
            const double az = 2.0 * pi * k / around;
            nodeIds.push_back(node(ring, k));
            xyz.insert(xyz.end(), {r * std::sin(polar) * std::cos(az),
                                   r * std::sin(polar) * std::sin(az), r * std::cos(polar)});
        }
    }
    for (int ring = 1; ring <= rings; ++ring)
        for (int k = 0; k < around; ++k) {
            elemIds.push_back(int(elemIds.size()) + 1);
            patchIds.push_back(0);
            if (ring == 1) {
                topologies.push_back(3);
                connectivity.insert(connectivity.end(), {1, node(1, k), node(1, k + 1), 0});
            } else {
                topologies.push_back(4);
                connectivity.insert(connectivity.end(), {node(ring - 1, k), node(ring, k),
                                                         node(ring, k + 1), node(ring - 1, k + 1)});
            }
        }
    return model.NewLayupMesh(int(nodeIds.size()), nodeIds.data(), xyz.data(), int(elemIds.size()),
                              elemIds.data(), patchIds.data(), topologies.data(), 4,
                              connectivity.data(), 0.0, 0.0);
}

// Drapes a 0/90 woven ply over the upper part of a unit hemisphere from its
// pole and prints the drape's shear and the flat pattern's extent. 0, or 1.
int DrapeHemisphere(CKpGUI& gui) {
    const double pi = std::acos(-1.0);
    CKpLayup model(nullptr, &gui);
    if (LoadHemisphere(model, 48, 16, 1.0) != 0) return 1;

    IVekMaterial* mat = model.GetMaterialStore()->New(1);
    mat->SetName("Carbon weave");
    mat->SetThickness(0.25);
    mat->SetWarpWeftAngle(0.5 * pi);
    mat->SetMaximumStrain(45.0 * pi / 180.0);

    // Elements above 30 degrees of latitude (the upper 10 of 16 rings).
    std::vector<int> ids;
    for (int e = 1; e <= 48 * 10; ++e) ids.push_back(e);
    IVekPly* ply = model.GetPlyStore()->New();
    ply->SetName("Cap");
    ply->SetType(EVekMaterialScissor);
    ply->SetMaterialName("Carbon weave");
    ply->SetElementIdsOrders(int(ids.size()), ids.data(), nullptr);
    const double eye[3] = {0.0, 0.0, 5.0}, down[3] = {0.0, 0.0, -1.0}, ref[3] = {1.0, 0.0, 0.0};
    ply->SetSeedPoint(eye);
    ply->SetApplicationDirection(down);
    ply->SetReferenceDirection(ref);
    ply->SetStepLength(0.08);
    ply->SetExtensionType(1);
    if (ply->Simulate() != 0) {
        std::fprintf(stderr, "error: the hemisphere ply did not drape\n");
        return 1;
    }

    int n = 0;
    model.GetDrapedPatternSizes(1, &n);
    std::vector<int> mi(n), pi_(n), mj(n), pj(n), elems(n);
    std::vector<double> pos(3 * size_t(n)), shear(n);
    if (n < 1 || model.GetDrapedPattern(1, n, mi.data(), pi_.data(), mj.data(), pj.data(),
                                        elems.data(), pos.data(), shear.data()) != 0)
        return 1;
    double sum = 0.0, worst = 0.0;
    for (double s : shear) {
        sum += std::fabs(s);
        worst = std::max(worst, std::fabs(s));
    }
    std::printf("hemisphere drape: %d grid points, shear mean %.2f, max %.2f degrees\n", n, sum / n,
                worst);

    int rings = 0, points = 0;
    if (model.GetFlatPatternSizes(&rings, &points) != 0 || points < 1) return 1;
    std::vector<int> counts(rings);
    std::vector<double> flat(3 * size_t(points));
    if (model.GetFlatPattern(rings, points, counts.data(), flat.data()) != 0) return 1;
    double lo[2] = {flat[0], flat[1]}, hi[2] = {flat[0], flat[1]};
    for (int k = 0; k < counts[0]; ++k)
        for (int c = 0; c < 2; ++c) {
            lo[c] = std::min(lo[c], flat[3 * k + c]);
            hi[c] = std::max(hi[c], flat[3 * k + c]);
        }
    std::printf("flat pattern: %d outline(s), %d points, %.3f x %.3f (warp x weft)\n", rings,
                points, hi[0] - lo[0], hi[1] - lo[1]);
    return 0;
}

}  // namespace

// Area (square model units) of the elements a ply's pattern covers.
double CoveredArea(CKpPly* ply) {
    double total = 0.0;
    CKpPat* pat = ply ? ply->pPat() : nullptr;
    if (!pat) return 0.0;
    for (CKpPatElem* pe = pat->PatElems()->First(); pe; pe = pat->PatElems()->Next(pe)) {
        double a = 0.0;
        if (pe->pelem() && pe->pelem()->GetArea(&a) == 0) total += a;
    }
    return total;
}

// The plies of the saved layup file imported onto a plate of the same size
// meshed twice as finely; each ply's covered area beside the original's.
int ImportOntoFinerMesh(CKpGUI& gui, CKpLayup& original, const std::string& lypPath) {
    const int nx = 40, ny = 20;
    const double h = 0.5;
    std::vector<int> nodeIds, elemIds, patchIds, topologies, connectivity;
    std::vector<double> xyz;
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i) {
            nodeIds.push_back(j * (nx + 1) + i + 1);
            xyz.insert(xyz.end(), {h * i, h * j, 0.0});
        }
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            const int c = j * (nx + 1) + i + 1;
            elemIds.push_back(100000 + j * nx + i + 1);
            patchIds.push_back(0);
            topologies.push_back(4);
            connectivity.insert(connectivity.end(), {c, c + 1, c + nx + 2, c + nx + 1});
        }
    CKpLayup fine(nullptr, &gui);
    if (fine.NewLayupMesh(int(nodeIds.size()), nodeIds.data(), xyz.data(), int(elemIds.size()),
                          elemIds.data(), patchIds.data(), topologies.data(), 4,
                          connectivity.data(), 0.0, 0.0) != 0)
        return 1;
    const std::string msgPath = lypPath.substr(0, lypPath.rfind('/') + 1) + "plystrand_import.msg";
    fine.OpenMessage(msgPath.c_str());
    const char* files[1] = {lypPath.c_str()};
    // Angle tolerance 0.5 rad, distance 5 % of the mesh's extent, the
    // elements' own normals; no preview, no layup, no curves.
    if (ImportMultipleLayups(&fine, int(elemIds.size()), elemIds.data(), 1, files, 0.5, 5.0, 0, 0,
                             0, 0, 0, 0.0, nullptr, nullptr) != 0)
        return 1;
    std::printf("plies imported onto a %d x %d mesh of the plate:\n", nx, ny);
    CKpPlyStore* plies = original.pPlys();
    for (int k = 0; k < plies->entries(); ++k) {
        CKpPly* ply = (*plies)[k];
        CKpPly* copy = fine.pPlys()->findByName(ply->GetName());
        std::printf("  %s: covered area %.4f, original %.4f\n", ply->GetName(), CoveredArea(copy),
                    CoveredArea(ply));
    }
    fine.CloseMessage();
    return 0;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output-folder>\n", argv[0]);
        return 2;
    }
    const std::string msgPath = std::string(argv[1]) + "/plystrand_demo.msg";

    ConsoleGUI gui;
    CKpLayup model(nullptr, &gui);
    ILayup& layup = model;
    if (layup.OpenMessage(msgPath.c_str()) != 0) return 1;

    // A 20 x 10 plate of unit quad4 elements in the xy plane.
    const int nx = 20, ny = 10;
    std::vector<int> nodeIds, elemIds, patchIds, topologies, connectivity;
    std::vector<double> xyz;
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i) {
            nodeIds.push_back(j * (nx + 1) + i + 1);
            xyz.insert(xyz.end(), {double(i), double(j), 0.0});
        }
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            const int c = j * (nx + 1) + i + 1;  // lower-left corner
            elemIds.push_back(j * nx + i + 1);
            patchIds.push_back(0);
            topologies.push_back(4);
            connectivity.insert(connectivity.end(), {c, c + 1, c + nx + 2, c + nx + 1});
        }
    if (layup.NewLayupMesh(int(nodeIds.size()), nodeIds.data(), xyz.data(), int(elemIds.size()),
                           elemIds.data(), patchIds.data(), topologies.data(), 4,
                           connectivity.data(), 0.0, 0.0) != 0)
        return 1;

    // Read the mesh back.
    int nNodes = 0, nElems = 0, width = 0;
    layup.GetMeshSizes(&nNodes, &nElems, &width);
    std::vector<int> ids(nNodes), eids(nElems), patches(nElems), topos(nElems);
    std::vector<int> rows(size_t(nElems) * width);
    std::vector<double> coords(3 * size_t(nNodes));
    if (layup.GetMesh(nNodes, ids.data(), coords.data(), nElems, eids.data(), patches.data(),
                      topos.data(), width, rows.data()) != 0)
        return 1;
    double lo[3] = {coords[0], coords[1], coords[2]}, hi[3] = {lo[0], lo[1], lo[2]};
    for (int k = 0; k < nNodes; ++k)
        for (int c = 0; c < 3; ++c) {
            lo[c] = std::min(lo[c], coords[3 * k + c]);
            hi[c] = std::max(hi[c], coords[3 * k + c]);
        }
    std::printf("mesh: %d nodes, %d elements, up to %d nodes per element\n", nNodes, nElems, width);
    std::printf("node bounds: x %g..%g  y %g..%g  z %g..%g\n", lo[0], hi[0], lo[1], hi[1], lo[2],
                hi[2]);

    // A ply over the plate, saved compressed and opened into a second model.
    if (AddSimulatedPly(model) != 0) return 1;
    const std::string lypPath = std::string(argv[1]) + "/plystrand_demo.lyp.gz";
    if (layup.SaveLayup(lypPath.c_str(), 0, 6) != 0) return 1;
    CKpLayup reopened(nullptr, &gui);
    ILayup& copy = reopened;
    if (copy.OpenLayup(lypPath.c_str(), 1) != 0) return 1;
    const int match = layup.CheckMatch(&copy);
    const int plies[2] = {layup.GetPlyStore()->Count(), copy.GetPlyStore()->Count()};
    const int layers[2] = {layup.GetPlyLayup()->GetNumLayupPlyIDs(),
                           copy.GetPlyLayup()->GetNumLayupPlyIDs()};
    std::printf("saved %s and opened it again\n", lypPath.c_str());
    std::printf("  meshes match: %s\n", match == 0 ? "yes" : "no");
    std::printf("  plies: %d saved, %d opened\n", plies[0], plies[1]);
    std::printf("  layup plies: %d saved, %d opened\n", layers[0], layers[1]);
    if (match != 0 || plies[0] != plies[1] || layers[0] != layers[1]) {
        std::fprintf(stderr, "error: the reopened model differs from the saved one\n");
        return 1;
    }

    if (ImportOntoFinerMesh(gui, model, lypPath) != 0) {
        std::fprintf(stderr, "error: the plies could not be imported onto the finer mesh\n");
        return 1;
    }

    int api = 0, file = 0, lib = 0;
    layup.GetVersions(&api, &file, &lib);
    std::printf("versions: interface %d, file %d, library %d\n", api, file, lib);

    // Count the failure criteria, then instantiate and name them.
    int count = 0;
    layup.GetAddins(&count, "IVekAddinFailureLamina", nullptr);
    std::vector<void*> criteria(count, nullptr);
    if (count > 0) layup.GetAddins(&count, "IVekAddinFailureLamina", criteria.data());
    std::printf("failure criteria: %d\n", count);
    for (void* p : criteria) {
        if (!p) continue;
        auto* criterion = static_cast<IVekAddinFailureLamina*>(p);
        char name[64];
        criterion->GetName(name, sizeof(name));
        std::printf("  %s\n", name);
        criterion->Release();
    }

    if (DrapeHemisphere(gui) != 0) return 1;

    layup.CloseMessage();
    std::printf("messages: %s\n", msgPath.c_str());
    return 0;
}
