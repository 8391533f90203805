// plystrand_demo <output-folder>
//
// Builds a small layup model from mesh arrays, reads the mesh back, and
// lists the built-in lamina failure criteria. The model's messages go to
// <output-folder>/plystrand_demo.msg; warnings and errors also to stderr.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "host/CKpGUI.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/IVekAddinFailureLamina.h"

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

}  // namespace

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

    layup.CloseMessage();
    std::printf("messages: %s\n", msgPath.c_str());
    return 0;
}
