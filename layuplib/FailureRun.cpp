#include "layuplib/FailureRun.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <new>
#include <map>
#include <string>
#include <typeinfo>
#include <unordered_map>
#include <vector>

#include "host/CKpDB.h"
#include "host/CKpGUI.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatAllowStore.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResElem.h"
#include "layuplib/CKpResElemStore.h"
#include "layuplib/CKpResRefStore.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/CVekAddinFailureLaminaCowin.h"
#include "layuplib/CVekAddinFailureLaminaHankinson.h"
#include "layuplib/CVekAddinFailureLaminaHill.h"
#include "layuplib/CVekAddinFailureLaminaHoffman.h"
#include "layuplib/CVekAddinFailureLaminaMaximum.h"
#include "layuplib/CVekAddinFailureLaminaTsaiwu.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/IVekAddinFailureLamina.h"
#include "layuplib/store_or_free.h"

namespace {

// 1.0e12 as a single-precision float: the margin no layer has beaten yet.
const float kNoMargin = 1.0e12f;

// Result texts hold at most 255 characters.
std::string cut255(std::string s) {
    if (s.size() > 255) s.resize(255);
    return s;
}

// Owns the new working results of a run.
struct Working {
    std::vector<std::unique_ptr<CKpRes>> owned;
    CKpRes* add(int id) {
        owned.emplace_back(new (std::nothrow) CKpRes(id));
        return owned.back().get();
    }
};

// The element ids each laminate layer covers, ascending: what a result per
// laminate layer (CKpResStore::CreateFromLaminateLayers) would hold as its
// record ids, gathered without a record per element and layer, for the
// comparison with the result layers (CKpResRefStore::CompareWithLaminateLayers),
// with the same messages and outcome. 0; 1 invalid global ply ids; 2 no
// memory.
int LaminateLayerIds(CKpMsg* msg, CKpElemStore* elements, CKpLamStore* laminates, int global,
                     std::map<int, std::vector<int>>& layers) {
    try {
        // Per laminate, its layers' id lists in layer order; checked once.
        std::unordered_map<const CKpLam*, std::vector<std::vector<int>*>> byLam;
        CVekObjectStoreIterator<CKpElem> it(*elements);
        while (++it) {
            const CKpElem* e = it.key();
            if (!e->getSltd()) continue;
            CKpLam* lam = laminates->find(e->pid());
            if (!lam) continue;
            auto at = byLam.find(lam);
            if (at == byLam.end()) {
                if (global && lam->GPlyIdsOK(msg) != 1) {
                    if (msg) msg->Create(4, "Laminate '%s' has invalid global ply ids.", lam->name());
                    return 1;
                }
                std::vector<std::vector<int>*> lists;
                int p = 0;
                for (CKpLamLyr* lyr = lam->LamLyrs()->First(); lyr; lyr = lam->LamLyrs()->Next(lyr))
                    lists.push_back(&layers[global ? lyr->gplyid() : ++p]);
                at = byLam.emplace(lam, std::move(lists)).first;
            }
            // Elements come in ascending id order; an id met again (a layer
            // number twice in a laminate, an element id twice) adds nothing.
            for (std::vector<int>* ids : at->second)
                if (ids->empty() || ids->back() != e->id()) ids->push_back(e->id());
        }
    } catch (const std::bad_alloc&) {
        if (msg) msg->Create(4, "Cannot allocate memory.");
        return 2;
    }
    return 0;
}

// CKpResRefStore::CompareWithLaminateLayers on the laminate layers' ids; its
// messages and return values.
int CompareLayers(CKpMsg* msg, CKpResRefStore& results,
                  const std::map<int, std::vector<int>>& layers) {
    const int count = static_cast<int>(layers.size());
    if (count != results.entries()) {
        if (msg)
            msg->Create(2, "There are %d laminate layers and %d result layers.", count,
                        results.entries());
        return 1;
    }
    std::vector<int> ids;
    for (int k = 1; k <= count; ++k) {
        const auto lam = layers.find(k);
        if (lam == layers.end()) {
            if (msg) msg->Create(2, "Laminate layer %d is missing.", k);
            return 2;
        }
        CKpRes* result = results.GetLayerResult(k);
        if (!result) {
            if (msg) msg->Create(2, "Result layer %d is missing.", k);
            return 3;
        }
        int n = result->ResElems()->entries();
        bool differ = n != static_cast<int>(lam->second.size());
        if (!differ && n > 0) {
            try {
                ids.resize(static_cast<size_t>(n));
            } catch (const std::bad_alloc&) {
                ids.clear();
            }
            if (ids.size() == static_cast<size_t>(n)) {
                result->ResElems()->GetAllIds(n, ids.data());
                differ = ids != lam->second;
            } else {
                // No room for the ids: record by record.
                for (int i = 0; i < n && !differ; ++i) {
                    const CKpResElem* r = (*result->ResElems())[i];
                    differ = !r || r->id() != lam->second[static_cast<size_t>(i)];
                }
            }
        }
        if (differ) {
            if (msg) msg->Create(2, "Element ids differ for Laminate and Result layer %d.", k);
            return 4;
        }
    }
    return 0;
}

}  // namespace

void TransferMsg(CKpMsg* msg, IVekAddinFailureLamina* criterion) {
    if (!msg || !criterion) return;
    int n = 0;
    if (criterion->GetNumMessages(n) != 0) return;
    for (int i = 0; i < n; ++i) {
        int len = 0;
        if (criterion->GetMessageLength(i, len) != 0 || len < 1) continue;
        std::vector<char> buffer(static_cast<size_t>(len) + 1, '\0');
        IVekAddinFailureLamina::EMessageType type = IVekAddinFailureLamina::eError;
        if (criterion->GetMessageString(i, type, buffer.data(), len + 1) != 0) continue;
        const int severity = type == 1 ? 1 : type == 2 ? 2 : 4;
        msg->Create(severity, "%s", buffer.data());
    }
}

int GetCriterionNameFromId(CKpMsg* msg, CKpGUI* gui, int id, char* name) {
    static const char* const names[6] = {"Tsai-Wu", "Maximum",   "Hill",
                                         "Hoffman", "Hankinson", "Cowin"};
    if (!name) return 0;
    if (id >= 1 && id <= 6) {
        std::strcpy(name, names[id - 1]);
    } else if (id == 7) {
        if (!gui || gui->FailUserName(name) != 0) {
            if (msg)
                msg->Create(2, "Could not get name of user failure criterion, setting to '%s'.",
                            "User");
            std::strcpy(name, "User");
        }
    }
    return 0;
}

int UpdateBondStrength(double bond, int basis, CKpMat* material, IVekAddinFailureLamina* criterion,
                       std::vector<double>* allowables) {
    if (!(bond > 0.0)) return 0;
    if (!material || !criterion || !allowables) return 1;
    int n = 0;
    if (criterion->GetNumAllowables(n) != 0) return 2;
    if (basis != 1 && basis != 2) return 3;
    for (int i = 0; i < n && static_cast<size_t>(i) < allowables->size(); ++i) {
        char label[256] = "";
        if (criterion->GetAllowableLabel(i, label, sizeof label) != 0) continue;
        const bool s23 = std::strcmp(label, "S23") == 0;
        const bool s31 = std::strcmp(label, "S31") == 0;
        if (!s23 && !s31) continue;
        double& a = (*allowables)[static_cast<size_t>(i)];
        if (basis == 1) {
            if (a > bond) a = bond;
        } else {
            const double g = s23 ? material->GetGyz() : material->GetGzx();
            if (g > 0.0 && a > bond / g) a = bond / g;
        }
    }
    return 0;
}

namespace {

// The operations of a built-in criterion whose object is exactly of class
// T, called as T's own rather than through the interface (so they can be
// inlined). Used like a pointer to the criterion.
template <class T>
class Exact {
  public:
    explicit Exact(T* c) : c_(c) {}
    operator IVekAddinFailureLamina*() const { return c_; }
    Exact* operator->() { return this; }
    int Clear() { return c_->T::Clear(); }
    int GetNumAllowables(int& n) { return c_->T::GetNumAllowables(n); }
    int SetAllowables(int count, const double* values) {
        return c_->T::SetAllowables(count, values);
    }
    int CheckAllowables() { return c_->T::CheckAllowables(); }
    int SetBasis(IVekAddinFailureLamina::EBasis basis) { return c_->T::SetBasis(basis); }
    int SetLoadInDirection(IVekAddinFailureLamina::ELoadDirection direction, double value) {
        return c_->T::SetLoadInDirection(direction, value);
    }
    int Run() { return c_->T::Run(); }
    int GetNumResults(int& n) { return c_->T::GetNumResults(n); }
    int GetdResult(int result, int value, double& v) { return c_->T::GetdResult(result, value, v); }
    int GetiResult(int result, int value, int& v) { return c_->T::GetiResult(result, value, v); }

  private:
    T* c_;
};

// `criterion` as a T when the object is of class T itself (not derived from
// it); otherwise null.
template <class T>
T* exactly(IVekAddinFailureLamina* criterion) {
    return criterion && typeid(*criterion) == typeid(T) ? static_cast<T*>(criterion) : nullptr;
}

// One evaluation (see RunFailureLamina) with `count` allowables at
// `allowables`, the criterion's results going to `sink`: sink.size()
// results of sink.floats(i) floats and sink.ints(i) ints, written by
// sink.setFloat(i, j, v) and sink.setInt(i, j, v). `criterion` is a
// pointer to the interface or an Exact: the same calls in the same order.
template <class Sink, class Criterion>
int RunCriterion(CKpMsg* msg, const float loads[6], const double* allowables, size_t count,
                 Sink& sink, Criterion criterion, int basis, std::vector<double>& padded) {
    if (!criterion) {
        if (msg) msg->Create(4, "Pointer to addin failure criterion is null.");
        return 1;
    }
    criterion->Clear();
    int n = 0;
    if (criterion->GetNumAllowables(n) != 0 || n < 1) {
        if (msg) msg->Create(4, "Failure criterion has no allowables.");
        return 2;
    }
    // Positions the material never set are 0 for the criterion.
    const double* values = allowables;
    if (count < static_cast<size_t>(n)) {
        padded.assign(allowables, allowables + count);
        padded.resize(static_cast<size_t>(n), 0.0);
        values = padded.data();
    }
    if (criterion->SetAllowables(n, values) != 0 || criterion->CheckAllowables() != 0) {
        TransferMsg(msg, criterion);
        return 3;
    }
    criterion->SetBasis(basis == 1 ? IVekAddinFailureLamina::eStress
                                   : IVekAddinFailureLamina::eStrain);
#pragma GCC unroll 6
    for (int d = 0; d < 6; ++d)
        criterion->SetLoadInDirection(static_cast<IVekAddinFailureLamina::ELoadDirection>(d),
                                      static_cast<double>(loads[d]));
    if (criterion->Run() != 0) {
        TransferMsg(msg, criterion);
        return 4;
    }
    int results = 0;
    criterion->GetNumResults(results);
    sink.read(criterion, results);
    return 0;
}

// The values of the first min(results, sink.size()) results into `sink`:
// of each result its floats, then its ints, value by value.
template <class Sink, class Criterion>
void ReadResults(Criterion& criterion, int results, Sink& sink) {
    for (int i = 0; i < results && static_cast<size_t>(i) < sink.size(); ++i) {
        for (int j = 0; j < sink.floats(i); ++j) {
            double v = 0.0;
            criterion->GetdResult(i, j, v);
            sink.setFloat(i, j, static_cast<float>(v));
        }
        for (int j = 0; j < sink.ints(i); ++j) {
            int v = 0;
            criterion->GetiResult(i, j, v);
            sink.setInt(i, j, v);
        }
    }
}

// The criterion's results into records.
struct RecordSink {
    std::vector<CKpResElem*>& records;
    size_t size() const { return records.size(); }
    int floats(int i) const { return records[static_cast<size_t>(i)]->GetNumFloats(); }
    int ints(int i) const { return records[static_cast<size_t>(i)]->GetNumInts(); }
    void setFloat(int i, int j, float v) { records[static_cast<size_t>(i)]->SetFloat(j, v); }
    void setInt(int i, int j, int v) { records[static_cast<size_t>(i)]->SetInt(j, v); }
    template <class Criterion>
    void read(Criterion& criterion, int results) {
        ReadResults(criterion, results, *this);
    }
};

// The criterion's results side by side, in the shapes of records (counts
// of 0 to 255; a record refuses others and is left empty): what a run
// keeps of each evaluation without a call per value.
struct FlatSink {
    std::vector<int> nFloats, nInts;
    std::vector<size_t> atFloat, atInt;
    std::vector<float> floatValues;
    std::vector<int> intValues;
    // Adds a result of `nd` floats and `ni` ints (zero).
    void add(int nd, int ni) {
        if (nd < 0 || nd > CKpResElem::kMaxCount || ni < 0 || ni > CKpResElem::kMaxCount)
            nd = ni = 0;
        oneEach = oneEach && nd == 1 && ni == 1;
        nFloats.push_back(nd), nInts.push_back(ni);
        atFloat.push_back(floatValues.size()), atInt.push_back(intValues.size());
        floatValues.resize(floatValues.size() + static_cast<size_t>(nd), 0.0f);
        intValues.resize(intValues.size() + static_cast<size_t>(ni), 0);
    }
    // Every result has one float and one int (the built-in criteria): result
    // i's values are then at i.
    bool oneEach = true;
    // ReadResults, shorter for the built-in shape.
    template <class Criterion>
    void read(Criterion& criterion, int results) {
        if (!oneEach) {
            ReadResults(criterion, results, *this);
            return;
        }
        const int n = std::min(results, static_cast<int>(size()));
        float* floats = floatValues.data();
        int* ints = intValues.data();
        for (int i = 0; i < n; ++i) {
            double d = 0.0;
            criterion->GetdResult(i, 0, d);
            floats[i] = static_cast<float>(d);
            int v = 0;
            criterion->GetiResult(i, 0, v);
            ints[i] = v;
        }
    }
    size_t size() const { return nFloats.size(); }
    int floats(int i) const { return nFloats[static_cast<size_t>(i)]; }
    int ints(int i) const { return nInts[static_cast<size_t>(i)]; }
    void setFloat(int i, int j, float v) {
        floatValues[atFloat[static_cast<size_t>(i)] + static_cast<size_t>(j)] = v;
    }
    void setInt(int i, int j, int v) {
        intValues[atInt[static_cast<size_t>(i)] + static_cast<size_t>(j)] = v;
    }
    // The values of result i; null when it has none.
    const float* floatsOf(size_t i) const {
        return nFloats[i] > 0 ? floatValues.data() + atFloat[i] : nullptr;
    }
    const int* intsOf(size_t i) const {
        return nInts[i] > 0 ? intValues.data() + atInt[i] : nullptr;
    }
    // The first float of result j; 0 when there is none.
    float first(int j) const {
        const size_t k = static_cast<size_t>(j);
        if (oneEach) return k < size() ? floatValues[k] : 0.0f;
        return k < size() && nFloats[k] > 0 ? floatValues[atFloat[k]] : 0.0f;
    }
};

}  // namespace

int RunFailureLamina(CKpMsg* msg, CKpGUI*, const float loads[6],
                     const std::vector<double>& allowables, std::vector<CKpResElem*>& outputs,
                     IVekAddinFailureLamina* criterion, int basis) {
    std::vector<double> padded;
    RecordSink sink{outputs};
    return RunCriterion(msg, loads, allowables.data(), allowables.size(), sink, criterion, basis,
                        padded);
}

int CreateResultsFailure(CKpMsg* msg, CKpLayup* layup, const char* const names[5],
                         IVekAddinFailureLamina* criterion, int perLayer, int worst,
                         int criticalLayers, int basis, CKpMatAllowStore* allowables, int nResults,
                         const int* resultIndices, const char* description, const char* reportFile,
                         int* ids) {
    // 1. The criterion.
    int nAllow = 0;
    if (!criterion) {
        msg->Create(2, "Invalid pointer to failure component.");
        return -1;
    }
    if (criterion->GetNumAllowables(nAllow) != 0 || nAllow < 1) {
        msg->Create(2, "Failure criterion has no allowables.");
        return -1;
    }
    // 2. The requested results, ascending, with their labels.
    std::vector<int> wanted;
    if (resultIndices && nResults > 0) wanted.assign(resultIndices, resultIndices + nResults);
    std::sort(wanted.begin(), wanted.end());
    std::vector<std::string> labels;
    for (int idx : wanted) {
        char label[256] = "";
        if (criterion->GetResultLabel(idx, label, sizeof label) != 0) {
            msg->Create(2, "Could not get result label for result index %d.", idx);
            return -1;
        }
        labels.emplace_back(label);
    }
    // 3. The layer results of the load case.
    CKpResStore* store = layup->pRess();
    CKpResRefStore layerMap;
    if (layerMap.CreateReferencesToLayerResults(msg, store, names, 1, basis) != 0) {
        msg->Create(2, "Could not create references to layer results");
        return -1;
    }
    if (layerMap.entries() == 0) {
        msg->Create(2, "No layer results exist");
        return -1;
    }
    // 4.-5. Local or global layer numbers, checked against the laminates.
    const int global = layerMap.AreGlobalLayers();
    std::map<int, std::vector<int>> lamLayers;
    if (LaminateLayerIds(msg, layup->pElems(), layup->pLams(), global, lamLayers) != 0) {
        msg->Create(2, "Could not create a result from laminate layers");
        return -1;
    }
    const int compared = CompareLayers(msg, layerMap, lamLayers);
    std::map<int, std::vector<int>>().swap(lamLayers);
    if (compared != 0)
        msg->Create(2,
                    "Laminate layers do not match result layers exactly. This can happen if ply "
                    "results are not requested for all elements, or multiple layups are used.");
    if (global) msg->Create(2, "Global layer results selected");
    // 6. The first layer result gives orientation and location.
    CKpResRef* firstRef = layerMap[0];
    CKpRes* first = firstRef ? firstRef->GetRes() : nullptr;
    if (!first) {
        msg->Create(2, "Could not find first layer result.");
        return -1;
    }
    // 7. Working results: the worst per element and one per layer.
    Working work;
    CKpRes* worstWork = work.add(0);
    CKpResRefStore layerWork;
    std::vector<int> layerNumbers;
    for (int i = 0; i < layerMap.entries(); ++i) layerNumbers.push_back(layerMap[i]->id());
    for (int n : layerNumbers) {
        CKpRes* r = work.add(n);
        CKpResRef* ref = new (std::nothrow) CKpResRef(n, r);
        if (!r || !ref || !worstWork) {
            delete ref;
            msg->Create(4, "Cannot allocate memory");
            return -1;
        }
        if (store_or_free(&layerWork, ref, msg, "layer reference") != 0) return -1;
    }
    // 8. Names of the new results.
    char critName[256] = "";
    criterion->GetName(critName, sizeof critName);
    std::string theory = std::string(critName) + " " + (basis == 1 ? "Stress" : "Strain");
    if (description && *description) theory += std::string(" (") + description + ")";
    theory = cut255(theory);
    // The new results take the ids above the highest, and one past the last
    // is handed back: all of them must stay within the int range.
    const long long made =
        (worst ? static_cast<long long>(wanted.size()) : 0) + (criticalLayers ? 1 : 0) +
        (perLayer
             ? static_cast<long long>(wanted.size()) * static_cast<long long>(layerNumbers.size())
             : 0);
    if (store->maxId() + made >= INT_MAX) {
        msg->Create(4, "Cannot allocate memory");
        return -1;
    }
    const int firstId = store->maxId() + 1;
    auto create = [&](const std::string& text2, const std::string& text4) -> CKpRes* {
        const std::string t2 = cut255(text2), t4 = cut255(text4);
        const char* nm[5] = {names[0], names[1], t2.c_str(), theory.c_str(), t4.c_str()};
        CKpRes* r =
            new (std::nothrow) CKpRes(store->maxId() + 1, nm, first->orient(), 1, first->loc());
        return store_or_free(store, r, msg, "result") == 0 ? r : nullptr;
    };
    // 9. The new results.
    std::vector<CKpRes*> worstRes;
    CKpRes* critRes = nullptr;
    std::vector<std::vector<CKpRes*>> perLayerRes(wanted.size());
    if (worst)
        for (const std::string& label : labels) {
            worstRes.push_back(create(label + " (Worst)*", ""));
            if (!worstRes.back()) return -1;
        }
    if (criticalLayers && !(critRes = create("Critical Layers (Worst)*", ""))) return -1;
    if (perLayer)
        for (size_t w = 0; w < wanted.size(); ++w)
            for (int n : layerNumbers) {
                perLayerRes[w].push_back(create(labels[w] + "*", "Layer " + std::to_string(n)));
                if (!perLayerRes[w].back()) return -1;
            }
    const int endId = store->maxId() + 1;
    // 10. One output record per criterion result.
    int nCrit = 0;
    criterion->GetNumResults(nCrit);
    FlatSink out;
    for (int j = 0; j < nCrit; ++j) {
        int nd = 0, ni = 0, ns = 0;
        criterion->GetNumResultValues(j, nd, ni, ns);
        out.add(nd, ni);
    }
    // When the criterion is one of the built-in classes itself, its calls
    // are made directly rather than through the interface.
    auto* tsaiWu = exactly<CVekAddinFailureLaminaTsaiwu>(criterion);
    auto* maximum = exactly<CVekAddinFailureLaminaMaximum>(criterion);
    auto* hill = exactly<CVekAddinFailureLaminaHill>(criterion);
    auto* hoffman = exactly<CVekAddinFailureLaminaHoffman>(criterion);
    auto* hankinson = exactly<CVekAddinFailureLaminaHankinson>(criterion);
    auto* cowin = exactly<CVekAddinFailureLaminaCowin>(criterion);
    std::vector<double> allowCopy, padded;
    auto evaluate = [&](const float* loads, const std::vector<double>& allow) {
        auto run = [&](auto c) {
            return RunCriterion(msg, loads, allow.data(), allow.size(), out, c, basis, padded);
        };
        if (tsaiWu) return run(Exact<CVekAddinFailureLaminaTsaiwu>(tsaiWu));
        if (maximum) return run(Exact<CVekAddinFailureLaminaMaximum>(maximum));
        if (hill) return run(Exact<CVekAddinFailureLaminaHill>(hill));
        if (hoffman) return run(Exact<CVekAddinFailureLaminaHoffman>(hoffman));
        if (hankinson) return run(Exact<CVekAddinFailureLaminaHankinson>(hankinson));
        if (cowin) return run(Exact<CVekAddinFailureLaminaCowin>(cowin));
        return run(criterion);
    };
    // 11. Every selected element and layer. The worst layer's records of an
    // element are kept here while its layers run and stored once, when the
    // element is done (or the run stops within it): a record per element
    // rather than one per improving layer, each the last one written.
    struct Held {
        int nFloats = 0, nInts = 0;
        std::vector<float> floats;
        std::vector<int> ints;
    };
    std::vector<Held> worstHeld(worstRes.size());
    bool haveWorst = false;  // a layer of the element ran
    float worstF[2] = {kNoMargin, 0.0f};
    int worstI[3] = {0, 0, 0};
    bool improved = false;  // a layer beat the no-margin value
    float critLayer = 0.0f;
    auto flush = [&](int id) {
        const bool ok =
            !haveWorst ||
            (worstWork->FindOrCreateResElem(id, 2, worstF, 3, worstI) &&
             [&] {
                 if (!improved) return true;
                 for (size_t k = 0; k < worstRes.size(); ++k) {
                     const Held& h = worstHeld[k];
                     if (h.nFloats < 0) continue;
                     if (!worstRes[k]->FindOrCreateResElem(id, h.nFloats, h.floats.data(),
                                                           h.nInts, h.ints.data()))
                         return false;
                 }
                 return !critRes || critRes->FindOrCreateResElem(id, 1, &critLayer, 0, nullptr);
             }());
        haveWorst = improved = false;
        worstF[0] = kNoMargin, worstF[1] = 0.0f;
        worstI[0] = worstI[1] = worstI[2] = 0;
        return ok;
    };
    // What the layers of a laminate look up, found once per laminate: the
    // stores do not change during the run, and the messages and the order of
    // the checks stay those of each element and layer.
    struct LayerPlan {
        int n;          // layer number
        int mid;        // the layer's material id
        CKpMat* mat;    // null: no such material
        CKpMatAllow* allow;
        CKpRes* layerRes;
        int input;      // position of layerRes among the layer results; -1 none
        int nvals;      // values per record of layerRes
    };
    std::unordered_map<const CKpLam*, std::vector<LayerPlan>> plans;
    const CKpLam* planLam = nullptr;
    const std::vector<LayerPlan>* plan = nullptr;
    // The records of each layer result in id order. Elements come in
    // ascending id order: with dense ids (no gaps, so no id twice) an
    // element's record is at its id's slot, otherwise at a cursor or a
    // little after it; where it is not there, a find. Either way the
    // records of the next elements are fetched while this one is worked on.
    struct Input {
        CKpResElemStore* store;
        CVekObject** records;
        int count;
        long long first;  // the first id when dense, else LLONG_MIN
        int at;
    };
    std::vector<Input> inputs;
    for (int i = 0; i < layerMap.entries(); ++i) {
        CKpRes* r = layerMap[i]->GetRes();
        CKpResElemStore* st = r ? r->ResElems() : nullptr;
        Input in{st, nullptr, 0, LLONG_MIN, 0};
        if (st && (*st)[0]) {  // merges, so the sorted array holds every record
            in.records = st->data();
            in.count = st->entries();
            const CVekObject* lo = in.records[0];
            const CVekObject* hi = in.records[in.count - 1];
            if (lo && hi &&
                static_cast<long long>(hi->id()) - lo->id() == static_cast<long long>(in.count) - 1)
                in.first = lo->id();
        }
        inputs.push_back(in);
    }
    auto inputRecord = [&inputs](int k, int id) -> const CKpResElem* {
        Input& in = inputs[static_cast<size_t>(k)];
        long long at = 0;
        if (in.first != LLONG_MIN) {
            at = static_cast<long long>(id) - in.first;
            if (at < 0 || at >= in.count) return nullptr;  // beyond the dense ids
            if (!in.records[at] || in.records[at]->id() != id) return in.store->find(id);
        } else {
            while (in.at < in.count && in.records[in.at] && in.records[in.at]->id() < id) ++in.at;
            at = in.at;
            // With an id twice the find picks the holder.
            if (!(at < in.count && in.records[at] && in.records[at]->id() == id &&
                  (at + 1 == in.count ||
                   (in.records[at + 1] && in.records[at + 1]->id() != id))))
                return in.store ? in.store->find(id) : nullptr;
        }
        // The records a few elements on, and their slots further on still.
        if (at + 4 < in.count) __builtin_prefetch(in.records[at + 4]);
        if (at + 32 < in.count) __builtin_prefetch(&in.records[at + 32]);
        return static_cast<const CKpResElem*>(in.records[at]);
    };
    // The element whose records are held; elements sharing an id share them.
    int heldId = 0;
    CVekObjectStoreIterator<CKpElem> eit(*layup->pElems());
    while (++eit) {
        CKpElem* e = eit.key();
        if (!e->getSltd()) continue;
        if (haveWorst && e->id() != heldId && !flush(heldId)) return -1;
        heldId = e->id();
        CKpLam* lam = layup->pLams()->find(e->pid());
        if (!lam) {
            msg->Create(4, " Cannot find laminate id %6d referenced by element id %6d", e->pid(),
                        e->id());
            continue;
        }
        if (lam != planLam) {
            auto at = plans.find(lam);
            if (at == plans.end()) {
                std::vector<LayerPlan> layers;
                int p = 0;
                for (CKpLamLyr* lyr = lam->LamLyrs()->First(); lyr;
                     lyr = lam->LamLyrs()->Next(lyr)) {
                    const int n = global ? lyr->gplyid() : ++p;
                    CKpMat* mat = layup->pMats()->find(lyr->mid());
                    CKpMatAllow* allow = mat ? allowables->find(mat->id()) : nullptr;
                    CKpResRef* ref = layerMap.find(n);
                    int input = -1;
                    if (ref)
                        for (int i = 0; i < layerMap.entries(); ++i)
                            if (layerMap[i] == ref) input = i;
                    CKpRes* res = ref ? ref->GetRes() : nullptr;
                    layers.push_back(
                        {n, lyr->mid(), mat, allow, res, input, res ? res->nvals() : 0});
                }
                at = plans.emplace(lam, std::move(layers)).first;
            }
            planLam = lam;
            plan = &at->second;
        }
        for (const LayerPlan& lp : *plan) {
            const int n = lp.n;
            CKpMat* mat = lp.mat;
            if (!mat) {
                msg->Create(4, " Cannot find material id %6d referenced by element id %6d",
                            lp.mid, e->id());
                continue;
            }
            CKpMatAllow* allow = lp.allow;
            if (!allow) {
                msg->Create(4, " Cannot find material allowable store for material id %6d",
                            mat->id());
                flush(heldId);
                return -1;
            }
            CKpRes* layerRes = lp.layerRes;
            if (!layerRes) {
                msg->Create(4, "Could not find layer result for element %d layer %d.", e->id(), n);
                continue;
            }
            const CKpResElem* rec = lp.input >= 0 ? inputRecord(lp.input, e->id())
                                                  : layerRes->ResElems()->find(e->id());
            if (!rec) continue;
            // Loads: the record's values in its own order; missing ones 0.
            float loads[6] = {0, 0, 0, 0, 0, 0};
            const int nv = std::min(std::min(lp.nvals, rec->GetNumFloats()), 6);
            if (nv > 0) {
                const float* values = rec->Floats();
                if (nv == 6) {
                    // The usual full record, without a loop.
                    loads[0] = values[0], loads[1] = values[1], loads[2] = values[2];
                    loads[3] = values[3], loads[4] = values[4], loads[5] = values[5];
                } else {
                    for (int v = 0; v < nv; ++v) loads[v] = values[v];
                }
            }
            if (basis != 1 && !layerRes->IsStrainResult()) {
                float strain[6] = {0, 0, 0, 0, 0, 0};
                if (mat->Stress2Strain(msg, loads, strain) != 0) {
                    msg->Create(4, " Error converting stress to strain for material '%s'",
                                mat->GetName());
                    flush(heldId);
                    return -1;
                }
                std::copy(strain, strain + 6, loads);
            }
            // Without a bond strength the allowables are the material's own.
            const std::vector<double>* allowUsed = &allow->GetAllowables();
            if (lam->sb() > 0.0) {
                allowCopy.assign(allowUsed->begin(), allowUsed->end());
                UpdateBondStrength(lam->sb(), basis, mat, criterion, &allowCopy);
                allowUsed = &allowCopy;
            }
            if (evaluate(loads, *allowUsed) != 0) {
                msg->Create(4, "Failure calculation failed for element %d layer %d.", e->id(), n);
                continue;
            }
            const float margin = out.first(0);
            const float index = out.first(3);
            const int component = static_cast<int>(out.first(2));
            // The worst layer of the element: strictly smaller margins win.
            haveWorst = true;
            if (margin < worstF[0]) {
                worstF[0] = margin, worstF[1] = index;
                worstI[0] = component, worstI[1] = mat->id(), worstI[2] = n;
                for (size_t k = 0; k < worstRes.size(); ++k) {
                    const size_t j = static_cast<size_t>(wanted[k]);
                    Held& h = worstHeld[k];
                    h.nFloats = -1;  // none for this criterion result
                    if (j >= out.size()) continue;
                    h.nFloats = out.nFloats[j];
                    h.nInts = out.nInts[j];
                    // A value or two: copied here rather than by the library.
                    h.floats.resize(static_cast<size_t>(h.nFloats));
                    h.ints.resize(static_cast<size_t>(h.nInts));
                    for (int v = 0; v < h.nFloats; ++v) h.floats[v] = out.floatsOf(j)[v];
                    for (int v = 0; v < h.nInts; ++v) h.ints[v] = out.intsOf(j)[v];
                }
                critLayer = static_cast<float>(n);
                improved = true;
            }
            if (perLayer) {
                CKpRes* lw = layerWork.GetLayerResult(n);
                if (!lw) {
                    msg->Create(2, "Could not find pointer to layer result.");
                    flush(heldId);
                    return -1;
                }
                const float f[2] = {margin, index};
                const int i2[2] = {component, mat->id()};
                if (!lw->FindOrCreateResElem(e->id(), 2, f, 2, i2)) return -1;
                const auto at = std::find(layerNumbers.begin(), layerNumbers.end(), n);
                for (size_t k = 0; k < wanted.size(); ++k) {
                    const size_t j = static_cast<size_t>(wanted[k]);
                    if (at == layerNumbers.end() || j >= out.size()) {
                        msg->Create(2, "Could not find pointer to layer result.");
                        flush(heldId);
                        return -1;
                    }
                    CKpRes* pr = perLayerRes[k][static_cast<size_t>(at - layerNumbers.begin())];
                    if (!pr->FindOrCreateResElem(e->id(), out.nFloats[j], out.floatsOf(j),
                                                 out.nInts[j], out.intsOf(j)))
                        return -1;
                }
            }
        }
    }
    if (!flush(heldId)) return -1;
    // 12. The report; its outcome does not change the run's.
    PrintResults(msg, layup->pDB(), names, critName, basis, description, reportFile, criterion,
                 allowables, worstWork, &layerWork);
    // 13. The ids of the new results.
    if (ids) {
        ids[0] = firstId;
        ids[1] = endId;
    }
    return 0;
}

namespace {

// Writes to the report, remembering whether any write failed.
struct Report {
    FILE* fp;
    bool ok = true;
    void operator()(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        va_list args;
        va_start(args, format);
        if (std::vfprintf(fp, format, args) < 0) ok = false;
        va_end(args);
    }
};

}  // namespace

int PrintResults(CKpMsg* msg, CKpDB* db, const char* const names[5], const char* criterionName,
                 int basis, const char*, const char* reportFile, IVekAddinFailureLamina* criterion,
                 CKpMatAllowStore* allowables, CKpRes* worst, CKpResRefStore* layers) {
    // 1.-2. The file.
    if (!reportFile || !*reportFile) {
        msg->Create(1, "No file name given for failure results.");
        return 0;
    }
    FILE* fp = std::fopen(reportFile, "w");
    if (!fp) {
        msg->Create(4, "Could not open file '%s' for writing.", reportFile);
        return -1;
    }
    Report put{fp};
    const std::string critName = criterionName ? criterionName : "";
    // Components are named only for the criteria that tell fibre from
    // matrix failure.
    const bool modeNames = critName != "Maximum" && critName != "User";
    auto component = [&](const char* numberFormat, const char* textFormat, int c) {
        if (modeNames && (c == 1 || c == 2))
            put(textFormat, c == 1 ? "FIBER MODE" : "MATRIX MODE");
        else
            put(numberFormat, c);
    };
    auto finish = [&](int status) {
        if (std::ferror(fp)) put.ok = false;
        const bool closed = std::fclose(fp) == 0;
        if (status == 0 && (!put.ok || !closed)) {
            msg->Create(4, "Could not write file '%s'.", reportFile);
            return -1;
        }
        return status;
    };

    // 3.-4. Header.
    char dbName[256] = "";
    if (db && db->exists() && db->getName(dbName) != 0) dbName[0] = '\0';
    char date[64] = "";
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(date, sizeof date, "%a %b %d %H:%M:%S %Y\n", &local);
    put("Composite Failure Results Generated by Plystrand\n");
    put("-------------------------------------------------------\n");
    put(" \n");
    put("Date     : %s", date);
    put("Time     : %s", date);
    put("Database : %s\n", dbName);
    put("User     : %s\n", "");
    put(" \n");

    // 5. The most critical element.
    float minMargin = kNoMargin, minIndex = 0.0f;
    int minElem = 0, minLayer = 0, minComp = 0;
    CVekObjectStoreIterator<CKpResElem> wit(*worst->ResElems());
    while (++wit) {
        const CKpResElem* r = wit.key();
        if (r->GetFloat(0) < minMargin) {
            minMargin = r->GetFloat(0);
            minIndex = r->GetFloat(1);
            minElem = r->id();
            minComp = r->GetInt(0);
            minLayer = r->GetInt(2);
        }
    }
    // 6. Summary.
    put("Summary of Failure Analysis Results\n");
    put("-----------------------------------\n");
    put(" \n");
    put("Loadcase                 : %s\n", names[0] ? names[0] : "");
    put("Subcase                  : %s\n", names[1] ? names[1] : "");
    put("Result                   : %s%s\n", names[2] ? names[2] : "", names[3] ? names[3] : "");
    put("Failure Criterion        : %s\n", critName.c_str());
    put("Failure Basis            : %s\n", basis == 1 ? "Stress" : "Strain");
    put("Minimum Margin of safety : %16.8E\n", static_cast<double>(minMargin));
    put("Element id               : %d\n", minElem);
    put("Critical Ply             : %d\n", minLayer);
    component("Critical Component       : %d\n", "Critical Component       : %s\n", minComp);
    put("Failure Index            : %16.8E\n", static_cast<double>(minIndex));
    put(" \n");

    // 7.-8. Allowables per material.
    int nAllow = 0;
    if (!criterion) {
        msg->Create(2, "Invalid pointer to failure component.");
        return finish(-1);
    }
    if (criterion->GetNumAllowables(nAllow) != 0 || nAllow < 1) {
        msg->Create(2, "Failure criterion has no allowables.");
        return finish(-1);
    }
    put("Material Values Used\n");
    put("--------------------\n");
    put(" \n");
    CVekObjectStoreIterator<CKpMatAllow> ait(*allowables);
    while (++ait) {
        const CKpMatAllow* a = ait.key();
        put("Material Name : %s\n", a->GetName());
        put("Material ID   : %d\n", a->id());
        for (int i = 0; i < nAllow; ++i) {
            char label[256] = "";
            criterion->GetAllowableLabel(i, label, sizeof label);
            put("%-16s", label);
        }
        put("\n");
        for (double v : a->GetAllowables()) put("%16.8E", v);
        put("\n");
        put("\n");
    }

    // 9. One line per element.
    put("Summary of Element Failure Analysis Results\n");
    put("-------------------------------------------\n");
    put(" \n");
    put("Element   Critical Ply  Margin of Safety  Critical Comp.   Failure Index\n");
    wit.reset(*worst->ResElems());
    while (++wit) {
        const CKpResElem* r = wit.key();
        put("%8d", r->id());
        put("  %8d", r->GetInt(2));
        put("      %16.8E", static_cast<double>(r->GetFloat(0)));
        component(" %16d", " %16s", r->GetInt(0));
        put(" %16.8E", static_cast<double>(r->GetFloat(1)));
        put("\n");
    }
    put(" \n");
    put(" \n");
    put(" \n");

    // 10. One table per element.
    put("Element Failure Analysis Results\n");
    put("--------------------------------\n");
    wit.reset(*worst->ResElems());
    while (++wit) {
        const int elemId = wit.key()->id();
        put(" \n");
        put("Element ID = %8d\n", elemId);
        put("---------------------\n");
        put("Ply       Material  Margin of Safety  Critical Comp.   Failure Index\n");
        for (int i = 0; layers && i < layers->entries(); ++i) {
            CKpResRef* ref = (*layers)[i];
            if (!ref) {
                msg->Create(4, "Could not get results reference for layer %d.", i + 1);
                return finish(-1);
            }
            CKpRes* lr = ref->GetRes();
            if (!lr) {
                msg->Create(4, "Could not get results pointer for layer %d.", i + 1);
                return finish(-1);
            }
            const CKpResElem* r = lr->ResElems()->find(elemId);
            if (!r) break;
            put("%8d", ref->id());
            put("  %8d", r->GetInt(1));
            put("  %16.8E", static_cast<double>(r->GetFloat(0)));
            component(" %16d", " %16s", r->GetInt(0));
            put(" %16.8E", static_cast<double>(r->GetFloat(1)));
            put("\n");
        }
    }
    // 11. Close.
    return finish(0);
}
