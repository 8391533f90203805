// CMorvek: layered results (getRes, putRes, ResNamesToIds,
// get_valid_int_subcase_2, getResultSizes, getResultValues).

#include <cctype>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "host/CMorvek.h"
#include "host/MorvekHost.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResElem.h"
#include "layuplib/CKpResElemStore.h"
#include "layuplib/CKpResStore.h"

namespace {

constexpr int kMaxLayers = 1024;
constexpr int kLabelSize = 80;
constexpr int kNameSize = 256;
// Points one element may have: its centroid and eight nodes.
constexpr int kMaxPoints = 9;

// Room for the labels of every layer, as the host's array of labels.
struct LabelBlock {
    std::vector<char> bytes = std::vector<char>(static_cast<size_t>(kMaxLayers) * kLabelSize, 0);
    char (*rows())[kLabelSize] { return reinterpret_cast<char(*)[kLabelSize]>(bytes.data()); }
    char* operator[](int k) { return bytes.data() + static_cast<size_t>(k) * kLabelSize; }
};

int valuesPerPoint(int type) {
    return type == 1 ? 1 : type == 2 ? 3 : type == 3 ? 6 : 0;
}

int report(CKpMsg* msg, const char* function, int status) {
    if (msg) msg->Create(4, " %s: status %d", function, status);
    return status;
}

// n when `text` is exactly "Layer <n>", else 0.
int layerOfName(const char* text) {
    int n = 0, used = 0;
    if (std::sscanf(text, "Layer %d%n", &n, &used) == 1 && text[used] == '\0') return n;
    return 0;
}

// The layer number of a host label (not the empty one); 0 for none.
int layerOfLabel(const char* label) {
    static const char kSection[] = "SECTION_POINT_";
    if (std::strncmp(label, kSection, sizeof kSection - 1) == 0) {
        int k = 0, used = 0;
        const char* rest = label + sizeof kSection - 1;
        if (std::sscanf(rest, "%d%n", &k, &used) != 1 || rest[used] != '\0') return 0;
        return (k >= 2 && (k + 1) % 3 == 0) ? (k + 1) / 3 : 0;
    }
    int n = 0, used = 0;
    if (std::sscanf(label, "Layer %d%n", &n, &used) == 1 && label[used] == '\0') return n;
    return 0;
}

}  // namespace

int CMorvek::ResNamesToIds(CKpMsg* msg, char* names[5], int ids[5], int* layerCount) {
    if (!names || !ids || !layerCount) return -1;
    for (int k = 0; k < 5; ++k) {
        ids[k] = 0;
        if (!names[k]) return -1;
    }
    *layerCount = 0;
    int status = DbFPostResultsLoad();
    if (status != 0) return report(msg, "DbFPostResultsLoad", status);
    ResUtlCClearResult();

    int id = 0;
    status = DbGetLoadCaseId(names[0], &id);
    if (status != 0) return report(msg, "DbGetLoadCaseId", status);
    if (id < 1) return 0;
    ids[0] = id;
    status = DrDbGetSubcaseId(names[0], names[1], &id);
    if (status != 0) return report(msg, "DrDbGetSubcaseId", status);
    if (id < 1) return 0;
    ids[1] = id;
    int secondary = 0;
    status = DrDbGetResultIds(names[2], names[3], &id, &secondary);
    if (status != 0) return report(msg, "DrDbGetResultIds", status);
    if (id < 1 || secondary < 1) return 0;
    ids[2] = id;
    ids[3] = secondary;

    try {
        std::vector<int> layerIds(kMaxLayers, 0);
        LabelBlock labels;
        int count = 0;
        status = ResUtlCGetResultLayers(ids, &count, layerIds.data(), labels.rows());
        if (status != 0) return report(msg, "ResUtlCGetResultLayers", status);
        if (count > kMaxLayers) return -1;
        *layerCount = count;
        const size_t prefix = std::strlen(names[4]);
        for (int k = 0; k < count; ++k) {
            labels[k][kLabelSize - 1] = '\0';
            if (std::strncmp(labels[k], names[4], prefix) == 0) ids[4] = layerIds[k];
        }
    } catch (const std::bad_alloc&) {
        if (msg) msg->Create(4, "Could not allocate memory.");
        return -1;
    }
    return 0;
}

int CMorvek::getRes(CKpMsg* msg, CKpResStore* results, char* names[5], int n, int* elemIds,
                    int* maxLayer) {
    if (!results || !names || !maxLayer || n < 0 || (n > 0 && !elemIds)) return -1;
    int ids[5] = {0, 0, 0, 0, 0};
    int count = 0;
    int status = ResNamesToIds(msg, names, ids, &count);
    if (status != 0) return status;
    if (count < 1) {
        if (msg)
            msg->Create(2, "Result %s,%s,%s,%s has no layers defined", names[0], names[1], names[2],
                        names[3]);
        return 0;
    }
    try {
        ResUtlCClearResult();
        std::vector<int> layerIds(kMaxLayers, 0);
        LabelBlock labels;
        int again = 0;
        status = ResUtlCGetResultLayers(ids, &again, layerIds.data(), labels.rows());
        if (status != 0) return report(msg, "ResUtlCGetResultLayers", status);
        if (again != count) return -1;

        std::vector<int> counts(n);
        std::vector<float> values;
        for (int k = 0; k < count; ++k) {
            // 3. The layer's number.
            labels[k][kLabelSize - 1] = '\0';
            int layer = 0;
            if (labels[k][0] == '\0') {
                int attribute = 0;
                char label[kLabelSize] = {0};
                status = res_db_getlayerposattr(layerIds[k], &layer, &attribute, label);
                if (status != 0) return report(msg, "res_db_getlayerposattr", status);
            } else {
                layer = layerOfLabel(labels[k]);
            }
            if (layer < 1) continue;

            // 3.1 Type.
            ids[4] = layerIds[k];
            char block[240] = {0};
            int a = 0, type = 0, b = 0, c = 0, d = 0;
            char blockA[48] = {0}, blockB[48] = {0};
            status = ResUtlCGetResultInfo(ids, block, &a, &type, &b, &c, &d, blockA, blockB);
            if (status != 0) return report(msg, "ResUtlCGetResultInfo", status);
            const int perPoint = valuesPerPoint(type);
            if (perPoint == 0) return -1;

            // 3.2 Values, with room for every point an element may have.
            values.assign(static_cast<size_t>(n) * kMaxPoints * perPoint, 0.0f);
            std::fill(counts.begin(), counts.end(), 0);
            char location[8] = "C";
            int outType = type, e = 0;
            status =
                ResUtlCExtractElemResults(ids, n, elemIds, "", location, -99, 1, perPoint, &outType,
                                          &e, counts.data(), values.data(), blockA, blockB);
            if (status != 0) return report(msg, "ResUtlCExtractElemResults", status);
            size_t points = 0;
            for (int i = 0; i < n; ++i) {
                if (counts[i] < 0 || counts[i] > kMaxPoints) return -1;
                points += static_cast<size_t>(counts[i]);
            }
            if (points > static_cast<size_t>(n) * kMaxPoints) return -1;

            // 3.3 The layer read.
            if (msg)
                msg->Create(1, "Extracted result: '%s' '%s' '%s' '%s' 'Layer %d'", names[0],
                            names[1], names[2], names[3], layer);
            std::snprintf(names[4], kNameSize, "Layer %d", layer);

            // 3.4 Location.
            int loc = 0;
            if (location[0] == 'C')
                loc = 1;
            else if (location[0] == 'N')
                loc = 2;
            else {
                if (msg) msg->Create(4, "'%c' is an unsupported result location.", location[0]);
                return -1;
            }

            // 3.5 The result; its analysis code is the first word from
            // character 160 of the info block.
            CKpRes* res = static_cast<CKpRes*>(results->New());
            if (!res) throw std::bad_alloc();
            const char* const resNames[5] = {names[0], names[1], names[2], names[3], names[4]};
            res->SetNames(resNames);
            res->orient(-99);
            res->type(type);
            res->loc(loc);
            block[239] = '\0';
            char code[80] = {0};
            if (std::sscanf(block + 160, "%79s", code) != 1) code[0] = '\0';
            res->acode(code);

            // 3.6 Each element's first point.
            size_t at = 0;
            for (int i = 0; i < n; ++i) {
                if (counts[i] > 0 &&
                    !res->FindOrCreateResElem(elemIds[i], perPoint, values.data() + at, 0, nullptr))
                    throw std::bad_alloc();
                at += static_cast<size_t>(counts[i]) * perPoint;
            }
            if (layer > *maxLayer) *maxLayer = layer;
        }
    } catch (const std::bad_alloc&) {
        if (msg) msg->Create(4, "Could not allocate memory.");
        return -1;
    }
    return 0;
}

int CMorvek::getResultSizes(CKpRes* result, int* nElems, int* nCentroid, int* nNodal) {
    if (!result) return -1;
    const int perPoint = valuesPerPoint(result->type());
    if (perPoint == 0) return -1;
    CKpResElemStore* records = result->ResElems();
    int elems = 0, centroid = 0, nodal = 0;
    for (int k = 0; k < records->entries(); ++k) {
        const CKpResElem* r = (*records)[k];
        ++elems;
        if (result->loc() == 1 || result->loc() == 3) ++centroid;
        if (result->loc() == 2 || result->loc() == 3) {
            const int points = r->GetNumFloats() / perPoint - (result->loc() == 3 ? 1 : 0);
            if (points > 0) nodal += points;
        }
    }
    if (nElems) *nElems = elems;
    if (nCentroid) *nCentroid = centroid;
    if (nNodal) *nNodal = nodal;
    return 0;
}

int CMorvek::getResultValues(CKpRes* result, int* elemIds, int* centroidCounts,
                             float* centroidValues, int* nodalCounts, float* nodalValues) {
    if (!result) return -1;
    const int perPoint = valuesPerPoint(result->type());
    if (perPoint == 0) return -1;
    const int loc = result->loc();
    CKpResElemStore* records = result->ResElems();
    size_t c = 0, nv = 0;
    for (int k = 0; k < records->entries(); ++k) {
        const CKpResElem* r = (*records)[k];
        if (elemIds) elemIds[k] = r->id();
        const int floats = r->GetNumFloats();
        const int centroid = (loc == 1 || loc == 3) ? 1 : 0;
        int nodal = (loc == 2 || loc == 3) ? floats / perPoint - centroid : 0;
        if (nodal < 0) nodal = 0;
        if (centroidCounts) centroidCounts[k] = centroid;
        if (nodalCounts) nodalCounts[k] = nodal;
        for (int v = 0; v < centroid * perPoint; ++v, ++c)
            if (centroidValues) centroidValues[c] = v < floats ? r->GetFloat(v) : 0.0f;
        for (int v = 0; v < nodal * perPoint; ++v, ++nv)
            if (nodalValues) nodalValues[nv] = r->GetFloat(centroid * perPoint + v);
    }
    return 0;
}

int CMorvek::get_valid_int_subcase_2(CKpMsg* msg, char* loadCaseName, int loadCaseId,
                                     int subcaseId) {
    char title[256] = {0};
    const int status = DbGetSubcaseTitle(loadCaseId, subcaseId, title);
    if (status == -1) return 0;
    if (status != 0) return subcaseId;
    title[255] = '\0';
    const char* colon = std::strchr(title, ':');
    if (!colon || title[0] != 'A' || !std::isdigit(static_cast<unsigned char>(title[1])))
        return subcaseId;
    const std::string name = "a" + std::string(static_cast<const char*>(title) + 1, colon) + "_" +
                             std::string(colon + 1);
    int id = 0;
    if (DrDbGetSubcaseId(loadCaseName ? loadCaseName : "", name.c_str(), &id) != 0) {
        int out = 0;
        DbFCreateSubCase(loadCaseId, name.c_str(), &id, &out);
        if (msg)
            msg->Create(2,
                        "The selected results appear to be in an attached subcase. The generated "
                        "results will be placed in the subcase '%s'",
                        name.c_str());
    }
    return id;
}

int CMorvek::putRes(CKpMsg* msg, CKpResStore* results, int lowId, int highId) {
    if (!results) return 0;
    DbFPostResultsLoad();
    ResUtlCClearResult();
    try {
        for (int k = 0; k < results->entries(); ++k) {
            CKpRes* res = (*results)[k];
            if (res->id() < lowId || res->id() > highId) continue;

            // 1.-3. Load case and subcase, made when missing.
            std::string loadCase = res->name(0);
            int lcid = 0;
            if (DbGetLoadCaseId(loadCase.c_str(), &lcid) != 0) {
                int a = 0, b = 0;
                DbFCreateLoadCase(loadCase.c_str(), 1, "Created by KP", 0, &a, "", 0.0, &b, &lcid);
            }
            std::string subcase = res->name(1);
            if (subcase.empty()) subcase = "Default Subcase";
            int scid = 0;
            if (DrDbGetSubcaseId(loadCase.c_str(), subcase.c_str(), &scid) != 0) {
                int a = 0;
                DbFCreateSubCase(lcid, subcase.c_str(), &scid, &a);
            }
            scid = get_valid_int_subcase_2(msg, &loadCase[0], lcid, scid);

            // 4. Section position and layer.
            const int layer = layerOfName(res->name(4));
            const char* label = layer > 0 ? " " : res->name(4);
            float zeros[2] = {0.0f, 0.0f};
            int sectPos = 0, layerId = 0;
            DbtCreateSectPos(1, label, 0, zeros, &sectPos);
            DbtCreateLayers(1, layer, sectPos, &layerId);

            // 5.-6. The centroid values.
            int nElems = 0, nCentroid = 0, nNodal = 0;
            if (getResultSizes(res, &nElems, &nCentroid, &nNodal) != 0 || nElems == 0) continue;
            if (res->loc() != 1 && res->loc() != 3) continue;
            const int perPoint = valuesPerPoint(res->type());
            std::vector<int> elemIds(nElems), counts(nElems);
            std::vector<float> values(static_cast<size_t>(nCentroid) * perPoint);
            getResultValues(res, elemIds.data(), counts.data(), values.data(), nullptr, nullptr);
            int ids[5] = {lcid, scid, 0, 0, layerId};
            const int status =
                ResUtlCCreateElemResult(ids, res->name(2), res->name(3), nElems, elemIds.data(), 0,
                                        perPoint, res->type(), "C", counts.data(), values.data());
            if (status == 0 && msg)
                msg->Create(1, "Stored result: '%s' '%s' '%s' '%s' '%s'", loadCase.c_str(),
                            subcase.c_str(), res->name(2), res->name(3), res->name(4));
        }
    } catch (const std::bad_alloc&) {
        if (msg) msg->Create(4, "Could not allocate memory.");
    }
    DbFPostResultsLoad();
    return 0;
}

int CMorvek::putRes(CKpMsg* msg, CKpResStore* results) {
    return putRes(msg, results, 0, 32768);
}
