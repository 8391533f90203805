// fill_solid_demo <output-folder>
//
// Fills a small slab of 8-node bricks (4 x 2 bricks across, 2 through a
// thickness that grows from 2 to 3 along x) with a stacking file written to
// <output-folder>/fill_solid_demo.csv (a folder the caller chooses), laid
// from the bottom face, prints the columns, the sections with their layers
// bottom to top, then writes the result into a layup model and prints its
// materials, plies and layup. Exit 1 when a step fails.

#include <cstdio>
#include <string>
#include <vector>

#include "layuplib/CKpLayup.h"
#include "layuplib/IFillSolid.h"
#include "layuplib/IVekLayupPly.h"
#include "layuplib/IVekLayupPlyStore.h"
#include "layuplib/IVekMaterialStore.h"
#include "layuplib/IVekPlyLayup.h"
#include "layuplib/IVekPlyStore.h"

using SolidElements::IFillSolid;

namespace {

const int kNx = 4, kNy = 2, kNz = 2;

int NodeId(int i, int j, int k) {
    return 1 + i + (kNx + 1) * (j + (kNy + 1) * k);
}

int Fail(IFillSolid* filler, const char* step) {
    char text[512];
    filler->GetLastError(text, sizeof text);
    std::fprintf(stderr, "%s failed: %s\n", step, text);
    filler->Release();
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output-folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const std::string stacking = folder + "/fill_solid_demo.csv";
    if (FILE* f = std::fopen(stacking.c_str(), "w")) {
        std::fputs(
            "# name,material,thickness,angle\n"
            "Outer,\"Fabric, 200g\",0.25,45\n"
            "UD 0,UD300,0.5,0\n"
            "UD 90,UD300,0.5,90\n"
            "UD 0,UD300,0.5,0\n"
            "Core,Foam,1.0,0\n",
            f);
        std::fclose(f);
    } else {
        std::fprintf(stderr, "cannot write %s\n", stacking.c_str());
        return 1;
    }

    // The slab: x 0..4, y 0..2, z from 0 to 2 + x / 4 in two equal layers.
    std::vector<int> nodeIds, elemIds, types, conn;
    std::vector<double> xyz;
    for (int k = 0; k <= kNz; ++k)
        for (int j = 0; j <= kNy; ++j)
            for (int i = 0; i <= kNx; ++i) {
                nodeIds.push_back(NodeId(i, j, k));
                xyz.insert(xyz.end(), {double(i), double(j), (2.0 + 0.25 * i) * k / kNz});
            }
    for (int k = 0; k < kNz; ++k)
        for (int j = 0; j < kNy; ++j)
            for (int i = 0; i < kNx; ++i) {
                elemIds.push_back(static_cast<int>(elemIds.size()) + 1);
                types.push_back(28);
                conn.insert(conn.end(),
                            {NodeId(i, j, k), NodeId(i + 1, j, k), NodeId(i + 1, j + 1, k),
                             NodeId(i, j + 1, k), NodeId(i, j, k + 1), NodeId(i + 1, j, k + 1),
                             NodeId(i + 1, j + 1, k + 1), NodeId(i, j + 1, k + 1)});
            }

    IFillSolid* filler = nullptr;
    if (CreateFillSolid(filler) != 0) return 1;
    if (filler->Create(static_cast<int>(nodeIds.size()), nodeIds.data(), xyz.data(),
                       static_cast<int>(elemIds.size()), elemIds.data(), types.data(), 8,
                       conn.data()) != 0)
        return Fail(filler, "Create");
    const int bottom[4] = {NodeId(0, 0, 0), NodeId(1, 0, 0), NodeId(1, 1, 0), NodeId(0, 1, 0)};
    if (filler->CreateStackingTubes(1, bottom, 4) != 0) return Fail(filler, "CreateStackingTubes");
    const double x[3] = {1, 0, 0}, y[3] = {0, 1, 0}, z[3] = {0, 0, 1};
    if (filler->CreateCSys(x, y, z, 0.1) != 0) return Fail(filler, "CreateCSys");
    if (filler->ReadStacking(IFillSolid::eFromBottom, stacking.c_str(), nullptr) != 0)
        return Fail(filler, "ReadStacking");
    if (filler->CreateSections("Resin", 1.0, 0.01) != 0) return Fail(filler, "CreateSections");

    int midNodes = 0, midElems = 0, perElem = 0, systems = 0, sections = 0;
    filler->GetMidsurfaceElementSizes(midNodes, midElems, perElem);
    filler->GetNumCSys(systems);
    filler->GetNumSections(sections);
    std::printf("%d columns of %d bricks; mid-surface of %d nodes; %d coordinate system(s)\n",
                midElems, kNz, midNodes, systems);
    for (int s = 0; s < sections; ++s) {
        SolidElements::IFillSolidSection* section = nullptr;
        filler->GetSection(s, section);
        int nElems = 0, nLayers = 0;
        section->GetNumElementIDs(nElems);
        section->GetNumLayers(nLayers);
        std::vector<int> ids(nElems);
        section->GetElementIDs(ids.data());
        std::printf("section %d, bricks", s + 1);
        for (int id : ids) std::printf(" %d", id);
        std::printf(":\n");
        for (int l = 0; l < nLayers; ++l) {
            SolidElements::IFillSolidSectionLayer* layer = nullptr;
            section->GetLayer(l, layer);
            char name[128], material[128];
            double thickness = 0, angle = 0;
            layer->GetLayerName(name, sizeof name);
            layer->GetLayerMaterial(material, sizeof material);
            layer->GetLayerThickness(thickness);
            layer->GetLayerAngle(angle);
            std::printf("  %-14s %-14s %8.4f %6.1f deg\n", name, material, thickness,
                        angle / 0.0174532925199433);
        }
    }

    CKpLayup model(nullptr, nullptr);
    if (filler->CreateLayup(&model) != 0) return Fail(filler, "CreateLayup");
    IVekMaterialStore* mats = model.GetMaterialStore();
    std::printf("materials:");
    for (int i = 0; i < mats->Count(); ++i) std::printf(" %s", mats->Get(i)->GetName());
    IVekPlyStore* plies = model.GetPlyStore();
    std::printf("\nplies:");
    for (int i = 0; i < plies->Count(); ++i) std::printf(" %s", plies->Get(i)->GetName());
    IVekLayupPlyStore* layup = model.GetPlyLayup()->GetLayupPlyStore();
    std::printf("\nlayup, bottom first:");
    for (int i = 0; i < layup->Count(); ++i) std::printf(" %s", layup->Get(i)->GetPlyName());
    std::printf("\n");
    filler->Release();
    return 0;
}
