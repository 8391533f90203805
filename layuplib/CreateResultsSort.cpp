#include "layuplib/CreateResultsSort.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <new>
#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLyp.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResElem.h"
#include "layuplib/CKpResRefStore.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/angle_util.h"
#include "layuplib/store_or_free.h"

namespace {

std::string cut255(std::string s) {
    if (s.size() > 255) s.resize(255);
    return s;
}

// "%G" with a point appended when the text has none.
std::string withPoint(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%G", v);
    std::string s(text);
    if (s.find('.') == std::string::npos) s += ".";
    return s;
}

}  // namespace

std::string GetPaddedStrInt(int value, int count) {
    int width = 0;
    for (long long c = count; c > 0; c /= 10) ++width;
    if (count < 10) width = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

std::string SetResultSectionName(const int* flags, const char* const* separators,
                                 const char* prefix, int number, int count,
                                 const CKpLypPly* layupPly) {
    std::string out;
    if (!flags) return out;
    const CKpPly* ply = layupPly ? layupPly->pPly() : nullptr;
    for (int i = 0; i < 8; ++i) {
        if (!flags[i]) continue;
        switch (i) {
            case 0:
                out += prefix ? prefix : "";
                break;
            case 1:
                out += GetPaddedStrInt(number, count);
                break;
            case 2:
                out += ply ? const_cast<CKpPly*>(ply)->GetName() : "";
                break;
            case 3:
                out += ply && ply->pMat() ? ply->pMat()->GetName() : "";
                break;
            case 4:
                out += withPoint(ply && ply->pMat() ? ply->pMat()->mtrlthck() : 0.0);
                break;
            case 5:
                out += withPoint(ply && ply->pPat() ? ply->pPat()->refang() * 180.0 / kPi : 0.0);
                break;
            case 6: {
                char text[32] = "Unknown";
                if (ply) ply->lyrtp(text, sizeof text);
                out += text;
                break;
            }
            case 7:
                out += layupPly && layupPly->side() >= 1 ? "Original" : "Reversed";
                break;
        }
        bool later = false;
        for (int j = i + 1; j < 8; ++j) later = later || flags[j];
        if (later && separators && separators[i]) out += separators[i];
    }
    return out;
}

int CreateResultsSort2(int mode, CKpMsg* msg, CKpResStore* results, CKpDB*, CKpElemStore* elements,
                       CKpLyp* layup, CKpLamStore* laminates, const char* const names[5],
                       const int* flags, const char* const* separators, int option, int* ids) {
    // 1.-3. Mode, elements and plies.
    if (mode != 0 && mode != 1) {
        msg->Create(4, "Results sort mode %d is not supported.", mode);
        return -1;
    }
    const int nElems = elements ? elements->entries() : 0;
    if (nElems < 1) {
        msg->Create(4, "There are no elements in the Layup model.");
        return -1;
    }
    const int nPlies = mode == 0 ? (layup ? layup->GetNumLayupPlyIDs() : 0)
                                 : (laminates ? laminates->GetNumGlobalPlyIDs() : 0);
    if (nPlies < 1) {
        msg->Create(4, "There are no plies in the Layup model.");
        return -1;
    }
    std::vector<int> plyIds(static_cast<size_t>(nPlies));
    const int got = mode == 0 ? layup->GetLayupPlyIDsNamesThicks(nPlies, plyIds.data(), nullptr,
                                                                 nullptr, 0, nullptr)
                              : laminates->GetGlobalPlyIDsNamesThicks(nPlies, plyIds.data(),
                                                                      nullptr, nullptr, 0, nullptr);
    if (got != 0) {
        msg->Create(4, "There are no plies in the Layup model.");
        return -1;
    }
    // 4.-7. The layer results.
    static const char* const none[5] = {"", "", "", "", ""};
    if (!names) names = none;
    std::string text[5];
    for (int i = 0; i < 4; ++i) text[i] = cut255(names[i] ? names[i] : "");
    const char* match[5] = {text[0].c_str(), text[1].c_str(), text[2].c_str(), text[3].c_str(), ""};
    CKpResRefStore layerMap;
    if (layerMap.CreateReferencesToLayerResults(msg, results, match, 0, 0) != 0) {
        msg->Create(4, "Could not create references to layer results");
        return -1;
    }
    if (layerMap.entries() == 0) {
        msg->Create(4, "No layer results exist");
        return -1;
    }
    if (layerMap.AreGlobalLayers() != 0) {
        msg->Create(4,
                    "Global layer results selected - these are already sorted on the basis of "
                    "global plies.");
        return -1;
    }
    CKpRes* first = layerMap[0] ? layerMap[0]->GetRes() : nullptr;
    if (!first) {
        msg->Create(4, "Could not find first layer result.");
        return -1;
    }
    // 8.-9. One new result per ply.
    if (!text[3].empty()) text[3] += " ";
    text[3] = cut255(text[3] + (mode == 0 ? "(Sort-Layup)" : "(Sort-GPlyID)"));
    // One new result per ply above the highest id, and one past the last
    // handed back: all within the int range, or none is made.
    if (static_cast<long long>(results->maxId()) + nPlies >= INT_MAX) {
        msg->Create(4, "Could not allocate memory.");
        return -1;
    }
    const int firstId = results->maxId() + 1;
    std::map<int, CKpRes*> byPly;
    const int nLypPlies = layup ? layup->LypPlys().entries() : 0;
    for (int plyId : plyIds) {
        if (mode == 1) {
            text[4] = "Layer " + std::to_string(plyId);
        } else {
            CKpLypPly* lp = layup->LypPlys().find(plyId);
            text[4] = lp ? cut255(SetResultSectionName(flags, separators, layup->name(), lp->id(),
                                                       nLypPlies, lp))
                         : std::to_string(plyId + 1000);
        }
        const char* nm[5] = {text[0].c_str(), text[1].c_str(), text[2].c_str(), text[3].c_str(),
                             text[4].c_str()};
        CKpRes* r = new (std::nothrow)
            CKpRes(results->maxId() + 1, nm, first->orient(), first->type(), first->loc());
        if (!r) {
            msg->Create(4, "Could not allocate memory.");
            return -1;
        }
        if (store_or_free(results, r, nullptr, "result") != 0) {
            msg->Create(4, "Could not allocate memory.");
            return -1;
        }
        byPly[plyId] = r;
    }
    const int endId = results->maxId() + 1;
    // 10. Copy each covered element's layer record.
    std::vector<int> elemIds(static_cast<size_t>(nElems)), layers(static_cast<size_t>(nElems)),
        dirs(static_cast<size_t>(nElems));
    for (int plyId : plyIds) {
        CKpRes* out = byPly[plyId];
        if (!out) {
            msg->Create(4, "Could not find output result for ply %d.", plyId);
            continue;
        }
        int count = 0;
        const int status =
            mode == 1
                ? laminates->GetGlobalPlyLayers(plyId, nElems, count, elemIds.data(), layers.data())
                : layup->GetLayupPlyLayers(option, plyId, nElems, count, elemIds.data(),
                                           layers.data(), dirs.data());
        if (status != 0) count = 0;
        for (int k = 0; k < count; ++k) {
            const size_t kk = static_cast<size_t>(k);
            CKpRes* in = layerMap.GetLayerResult(layers[kk]);
            if (!in) {
                msg->Create(2, "Could not find result for layer %d.", layers[kk]);
                continue;
            }
            const CKpResElem* rec = in->ResElems()->find(elemIds[kk]);
            if (!rec) {
                msg->Create(4, "Could not find result for element %d layer %d.", elemIds[kk],
                            layers[kk]);
                continue;
            }
            CKpResElem* copy = out->FindOrCreateResElem(elemIds[kk], *rec);
            if (!copy) {
                msg->Create(4, "Could not allocate memory.");
                return -1;
            }
            if (mode == 0 && out->type() == 3 && copy->GetNumFloats() >= 6 && dirs[kk] < 0)
                for (int j = 3; j < 6; ++j) copy->SetFloat(j, -copy->GetFloat(j));
        }
    }
    if (ids) {
        ids[0] = firstId;
        ids[1] = endId;
    }
    return 0;
}
