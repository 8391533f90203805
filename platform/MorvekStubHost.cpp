// The host functions the stand-in host defines (host/MorvekHost.h).

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_set>

#include "host/MorvekHost.h"
#include "platform/MorvekStubState.h"

using morvekstub::state;
using morvekstub::takeFailure;

extern "C" {

int DbNameGet(int maxLength, char* name) {
    int status = 0;
    if (takeFailure("DbNameGet", &status)) return status;
    if (!name || maxLength < 0) return 2;
    const std::string& db = state().db.name;
    const size_t n = std::min(db.size(), static_cast<size_t>(maxLength));
    std::memcpy(name, db.data(), n);
    name[n] = '\0';
    return 0;
}

int DbFCreateNodes(int count, int*, int*, float* xyz, int, int* ids, int* out) {
    int status = 0;
    if (takeFailure("DbFCreateNodes", &status)) return status;
    if (count < 0 || (count > 0 && (!xyz || !ids))) return 2;
    auto& db = state().db;
    std::unordered_set<int> seen;
    seen.reserve(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k)
        if (db.node(ids[k]) || !seen.insert(ids[k]).second) return 1;
    for (int k = 0; k < count; ++k) db.addNode(ids[k], xyz + 3 * k);
    if (out) *out = 0;
    return 0;
}

int DbFCreateElems(int count, int width, int* topologies, int*, int*, int* nodeIds, int, int* ids,
                   int* out) {
    int status = 0;
    if (takeFailure("DbFCreateElems", &status)) return status;
    if (count < 0 || width < 0 || (count > 0 && (!topologies || !nodeIds || !ids || width < 1)))
        return 2;
    auto& db = state().db;
    std::unordered_set<int> seen;
    seen.reserve(static_cast<size_t>(count));
    for (int e = 0; e < count; ++e) {
        if (morvekstub::nodesOfTopology(topologies[e]) > width) return 2;
        if (db.elem(ids[e]) || !seen.insert(ids[e]).second) return 1;
    }
    for (int e = 0; e < count; ++e) {
        // Only the slots the topology gives are read.
        const int k = morvekstub::nodesOfTopology(topologies[e]);
        db.addElem(ids[e], topologies[e], k > 0 ? k : width,
                   nodeIds + static_cast<size_t>(e) * width);
    }
    morvekstub::ElemsCall& call = state().lastElems;
    call.count = count;
    call.width = width;
    call.topologies.assign(topologies, topologies + count);
    call.ids.assign(ids, ids + count);
    call.rows.assign(nodeIds, nodeIds + static_cast<size_t>(count) * width);
    if (out) *out = 0;
    return 0;
}

int GmDrawArrow(int handle, int colour, float* base, float* tip, float size) {
    int status = 0;
    if (takeFailure("GmDrawArrow", &status)) return status;
    morvekstub::Drawing d{morvekstub::Drawing::Arrow, handle, colour, {}, size, {0, 0}, ""};
    for (int k = 0; k < 3; ++k) {
        d.points[k] = base ? base[k] : 0.0f;
        d.points[3 + k] = tip ? tip[k] : 0.0f;
    }
    state().drawings.push_back(d);
    return 0;
}

int GmDrawResultArrow(int handle, int colour, float* base, float* vector, float scale, int style,
                      const char* label, int one) {
    int status = 0;
    if (takeFailure("GmDrawResultArrow", &status)) return status;
    morvekstub::Drawing d{morvekstub::Drawing::ResultArrow,
                          handle,
                          colour,
                          {},
                          scale,
                          {style, one},
                          label ? label : ""};
    for (int k = 0; k < 3; ++k) {
        d.points[k] = base ? base[k] : 0.0f;
        d.points[3 + k] = vector ? vector[k] : 0.0f;
    }
    state().drawings.push_back(d);
    return 0;
}

int MAT_LamCalcFailUser(float*, float*, float*) {
    int status = 0;
    if (takeFailure("MAT_LamCalcFailUser", &status)) return status;
    return 1;  // no user routine
}

}  // extern "C"
