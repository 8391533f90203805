// The stand-in host's load case, subcase, layer and result functions
// (host/MorvekHost.h). Statuses: 0 success, 1 an unknown object, 2 a bad
// argument; DbGetSubcaseTitle gives -1 for an unknown subcase.

#include <algorithm>
#include <cstring>
#include <string>

#include "host/MorvekHost.h"
#include "platform/MorvekStubState.h"

using morvekstub::state;
using morvekstub::takeFailure;

namespace {

#define STUB_ENTRY(name) \
    int status_ = 0;     \
    if (takeFailure(name, &status_)) return status_

constexpr int kMaxLayers = 1024;
constexpr int kLabelSize = 80;
// Points of one element: its centroid and eight nodes.
constexpr int kMaxPoints = 9;

std::string trimRight(const char* text) {
    std::string s = text ? text : "";
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// The result that five host ids name (the layer id is not looked at).
morvekstub::Result* resultOf(const int* ids5) {
    if (!ids5) return nullptr;
    auto& db = state().db;
    const int p = ids5[2], s = ids5[3];
    if (p < 1 || s < 1 || p > static_cast<int>(db.primaries.size()) ||
        s > static_cast<int>(db.secondaries.size()))
        return nullptr;
    const auto found = db.results.find(
        morvekstub::ResultKey(ids5[0], ids5[1], db.primaries[p - 1], db.secondaries[s - 1]));
    return found == db.results.end() ? nullptr : &found->second;
}

int valuesPerPoint(int type) {
    return type == 1 ? 1 : type == 2 ? 3 : type == 3 ? 6 : 0;
}

}  // namespace

extern "C" {

int DbFPostResultsLoad(void) {
    STUB_ENTRY("DbFPostResultsLoad");
    return 0;
}

int ResUtlCClearResult(void) {
    STUB_ENTRY("ResUtlCClearResult");
    return 0;
}

int DbGetLoadCaseId(const char* loadCase, int* id) {
    STUB_ENTRY("DbGetLoadCaseId");
    if (!loadCase || !id) return 2;
    for (const auto& lc : state().db.loadCases)
        if (lc.second.name == loadCase) {
            *id = lc.first;
            return 0;
        }
    return 1;
}

int DrDbGetSubcaseId(const char* loadCase, const char* subcase, int* id) {
    STUB_ENTRY("DrDbGetSubcaseId");
    if (!loadCase || !subcase || !id) return 2;
    const auto& db = state().db;
    for (const auto& lc : db.loadCases) {
        if (lc.second.name != loadCase) continue;
        for (const auto& sc : db.subcases)
            if (sc.first.first == lc.first && sc.second.name == subcase) {
                *id = sc.first.second;
                return 0;
            }
    }
    return 1;
}

int DrDbGetResultIds(const char* primary, const char* secondary, int* primaryId, int* secondaryId) {
    STUB_ENTRY("DrDbGetResultIds");
    if (!primary || !secondary || !primaryId || !secondaryId) return 2;
    auto& db = state().db;
    const int p = morvekstub::labelId(db.primaries, primary, false);
    const int s = morvekstub::labelId(db.secondaries, secondary, false);
    if (p == 0 || s == 0) return 1;
    *primaryId = p;
    *secondaryId = s;
    return 0;
}

int ResUtlCGetResultLayers(int* ids5, int* layerCount, int* layerIds, char (*labels)[80]) {
    STUB_ENTRY("ResUtlCGetResultLayers");
    const morvekstub::Result* r = resultOf(ids5);
    if (!r) return 1;
    if (!layerCount) return 2;
    std::vector<int> held;
    for (const auto& v : r->values) held.push_back(std::get<0>(v.first));
    held.erase(std::unique(held.begin(), held.end()), held.end());  // keys sorted by layer
    *layerCount = static_cast<int>(held.size());
    const auto& layers = state().db.layers;
    for (size_t k = 0; k < held.size() && k < static_cast<size_t>(kMaxLayers); ++k) {
        if (layerIds) layerIds[k] = held[k];
        const auto found = layers.find(held[k]);
        if (labels)
            morvekstub::copyText(found == layers.end() ? "" : found->second.label, labels[k],
                                 kLabelSize);
    }
    return 0;
}

int res_db_getlayerposattr(int layerId, int* position, int* attribute, char* label) {
    STUB_ENTRY("res_db_getlayerposattr");
    const auto& layers = state().db.layers;
    const auto found = layers.find(layerId);
    if (found == layers.end()) return 1;
    if (position) *position = found->second.position;
    if (attribute) *attribute = 0;
    if (label) morvekstub::copyText(found->second.label, label, kLabelSize);
    return 0;
}

int ResUtlCGetResultInfo(int* ids5, char* block240, int* a, int* type, int* b, int* c, int* d,
                         void* block48A, void* block48B) {
    STUB_ENTRY("ResUtlCGetResultInfo");
    const morvekstub::Result* r = resultOf(ids5);
    if (!r) return 1;
    if (block240) {
        // The analysis code is the first word from character 160 on.
        std::memset(block240, ' ', 240);
        block240[239] = '\0';
        std::memcpy(block240 + 160, r->code.data(), std::min<size_t>(r->code.size(), 78));
    }
    for (int* p : {a, b, c, d})
        if (p) *p = 0;
    if (type) *type = r->type;
    if (block48A) std::memset(block48A, 0, 48);
    if (block48B) std::memset(block48B, 0, 48);
    return 0;
}

int ResUtlCExtractElemResults(int* ids5, int count, int* elemIds, const char*, char* location, int,
                              int, int perPoint, int* type, int* a, int* pointCounts, float* values,
                              void*, void*) {
    STUB_ENTRY("ResUtlCExtractElemResults");
    const morvekstub::Result* r = resultOf(ids5);
    if (!r) return 1;
    if (count < 0 || (count > 0 && (!elemIds || !pointCounts || !values)) || !location ||
        perPoint != valuesPerPoint(r->type))
        return 2;
    const int layer = ids5[4];
    // Centroid values when the layer has any, else nodal ones.
    char loc = 'N';
    const auto first = r->values.lower_bound(std::make_tuple(layer, 'C', INT32_MIN));
    if (first != r->values.end() && std::get<0>(first->first) == layer &&
        std::get<1>(first->first) == 'C')
        loc = 'C';
    size_t at = 0;
    for (int e = 0; e < count; ++e) {
        const auto found = r->values.find(std::make_tuple(layer, loc, elemIds[e]));
        if (found == r->values.end()) {
            pointCounts[e] = 0;
            continue;
        }
        const std::vector<float>& v = found->second;
        pointCounts[e] = static_cast<int>(v.size()) / perPoint;
        std::copy(v.begin(), v.end(), values + at);
        at += v.size();
    }
    location[0] = loc;
    location[1] = '\0';
    if (type) *type = r->type;
    if (a) *a = 0;
    return 0;
}

int DbFCreateLoadCase(const char* name, int, const char* description, int, int* a, const char*,
                      double, int* b, int* loadCaseId) {
    STUB_ENTRY("DbFCreateLoadCase");
    if (!name || !loadCaseId) return 2;
    auto& cases = state().db.loadCases;
    for (const auto& lc : cases)
        if (lc.second.name == name) return 1;
    const int id = morvekstub::nextId(cases);
    cases[id] = morvekstub::LoadCase{name, description ? description : ""};
    if (a) *a = 0;
    if (b) *b = 0;
    *loadCaseId = id;
    return 0;
}

int DbFCreateSubCase(int loadCaseId, const char* name, int* subcaseId, int* a) {
    STUB_ENTRY("DbFCreateSubCase");
    auto& db = state().db;
    if (!name || !subcaseId) return 2;
    if (!db.loadCases.count(loadCaseId)) return 1;
    int id = 1;
    for (const auto& sc : db.subcases) {
        if (sc.first.first != loadCaseId) continue;
        if (sc.second.name == name) return 1;
        id = std::max(id, sc.first.second + 1);
    }
    db.subcases[{loadCaseId, id}] = morvekstub::Subcase{name, ""};
    if (a) *a = 0;
    *subcaseId = id;
    return 0;
}

int DbGetSubcaseTitle(int loadCaseId, int subcaseId, char* title256) {
    STUB_ENTRY("DbGetSubcaseTitle");
    const auto& subcases = state().db.subcases;
    const auto found = subcases.find({loadCaseId, subcaseId});
    if (found == subcases.end() || !title256) return -1;
    morvekstub::copyText(found->second.title, title256, 256);
    return 0;
}

int DbtCreateSectPos(int, const char* label, int, float*, int* sectPosId) {
    STUB_ENTRY("DbtCreateSectPos");
    if (!sectPosId) return 2;
    auto& positions = state().db.sectionPositions;
    const int id = morvekstub::nextId(positions);
    positions[id] = label ? label : "";
    *sectPosId = id;
    return 0;
}

int DbtCreateLayers(int, int layer, int sectPosId, int* layerId) {
    STUB_ENTRY("DbtCreateLayers");
    auto& db = state().db;
    const auto pos = db.sectionPositions.find(sectPosId);
    if (pos == db.sectionPositions.end()) return 1;
    if (!layerId) return 2;
    const std::string label = trimRight(pos->second.c_str()).substr(0, kLabelSize - 1);
    // A layer of the same label and position is the same layer.
    for (const auto& l : db.layers)
        if (l.second.label == label && l.second.position == layer) {
            *layerId = l.first;
            return 0;
        }
    const int id = morvekstub::nextId(db.layers);
    db.layers[id] = morvekstub::Layer{label, layer};
    *layerId = id;
    return 0;
}

int ResUtlCCreateElemResult(int* ids5, const char* primary, const char* secondary, int count,
                            int* elemIds, int, int perPoint, int type, const char* location,
                            int* pointCounts, float* values) {
    STUB_ENTRY("ResUtlCCreateElemResult");
    if (!ids5 || !primary || !secondary || !location || count < 0 ||
        (count > 0 && (!elemIds || !pointCounts || !values)))
        return 2;
    const char loc = location[0];
    if ((loc != 'C' && loc != 'N') || perPoint < 1 || perPoint != valuesPerPoint(type)) return 2;
    auto& db = state().db;
    if (!db.subcases.count({ids5[0], ids5[1]}) || !db.layers.count(ids5[4])) return 1;
    for (int e = 0; e < count; ++e)
        if (pointCounts[e] < 0 || pointCounts[e] > kMaxPoints) return 2;
    morvekstub::labelId(db.primaries, primary, true);
    morvekstub::labelId(db.secondaries, secondary, true);
    morvekstub::Result& r = db.results[morvekstub::ResultKey(ids5[0], ids5[1], primary, secondary)];
    if (!r.values.empty() && r.type != type) return 2;
    r.type = type;
    size_t at = 0;
    for (int e = 0; e < count; ++e) {
        const size_t n = static_cast<size_t>(pointCounts[e]) * perPoint;
        if (n > 0)
            r.values[std::make_tuple(ids5[4], loc, elemIds[e])].assign(values + at,
                                                                       values + at + n);
        at += n;
    }
    return 0;
}

}  // extern "C"
