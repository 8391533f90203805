#include "layuplib/CreateSubLayups.h"

#include <climits>
#include <deque>
#include <map>
#include <new>
#include <utility>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFieldStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpSetStore.h"
#include "layuplib/CKpStr.h"
#include "layuplib/CKpSubLypPlyStore.h"
#include "layuplib/CKpSubLypStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/store_or_free.h"

namespace {

// Inserts `obj` into `store`; false (the object deleted) when the store could
// not grow.
template <class Store, class T>
bool insertOrDelete(Store& store, T* obj) {
    return store_or_free(&store, obj, nullptr, nullptr) == 0;
}

// A new field in `fields` (id highest + 1) with name, type and defaults;
// null when memory runs out or no id is left above the highest.
CKpField* newField(CKpFieldStore& fields, const char* name, EVekFieldType type, int n,
                   const double* defaults) {
    if (fields.maxId() == INT_MAX) return nullptr;
    CKpField* field = new (std::nothrow) CKpField(fields.maxId() + 1);
    if (!field || !field->GetFieldVals()) {
        delete field;
        return nullptr;
    }
    field->SetName(name);
    field->SetType(type);
    if (field->SetDefaultValues(n, defaults) != 0) {
        delete field;
        return nullptr;
    }
    return insertOrDelete(fields, field) ? field : nullptr;
}

// The thickness and rotation fields made for one ply.
struct PlyFields {
    CKpField* thick = nullptr;
    CKpField* rotn = nullptr;
};

// The steps after the layup plies were sorted; `accepted` bottom first,
// `made` keyed by the ids of their plies, filled here.
int build(const char* name, int ignoreThickness, CKpLayup* model,
          const std::deque<CKpLypPly*>& accepted, std::map<int, PlyFields>& made) {
    CKpFieldStore* fields = model->pFields();
    CKpSubLypStore* subLyps = model->pSubLyps();
    CKpSetStore* sets = model->pSets();
    CKpPlyStore* plys = model->pPlys();
    if (!fields || !subLyps || !sets || !plys) return -1;

    // 6. The orientation field of the area.
    CKpStr text(name);
    text += "_Orientation";
    const double dirs[6] = {1.0, 0.0, 0.0, 0.0, 1.0, 0.0};
    CKpField* orient = newField(*fields, text, EVekFieldOrientation, 6, dirs);
    if (!orient) return -1;
    if (model->pElems()->GetOrientationFromFirstLayer(orient) != 0) return -1;

    // 7. The thickness and rotation fields of each ply.
    for (auto& entry : made) {
        CKpPly* ply = plys->find(entry.first);
        if (!ply) continue;
        CKpMat* mat = ply->pMat();
        const double t = mat ? mat->GetThickness() : 0.0;
        const double zero = 0.0;
        ply->GetThicknessFieldName(name, text);
        entry.second.thick = newField(*fields, text, EVekFieldThickness, 1, &t);
        if (!entry.second.thick) return -1;
        ply->GetRotationFieldName(name, text);
        entry.second.rotn = newField(*fields, text, EVekFieldRotation, 1, &zero);
        if (!entry.second.rotn) return -1;
        if (ply->GetThicknessesAndRotations(ignoreThickness, entry.second.thick,
                                            entry.second.rotn) != 0)
            return -1;
    }

    // 8. The sub-layup.
    if (subLyps->maxId() == INT_MAX) return 3;  // no id left above the highest
    CKpSubLyp* sub = new (std::nothrow) CKpSubLyp(subLyps->maxId() + 1);
    if (!sub || !sub->GetSubLypPlys()) {
        delete sub;
        return 3;
    }
    sub->SetName(name);
    sub->SetOrientation(orient);
    if (!insertOrDelete(*subLyps, sub)) return 3;
    CKpSubLypPlyStore& subPlys = *sub->GetSubLypPlys();

    // 9. Its plies, bottom first.
    for (CKpLypPly* lp : accepted) {
        if (subPlys.maxId() == INT_MAX) return 4;  // no id left above the highest
        CKpSubLypPly* sp = new (std::nothrow) CKpSubLypPly(subPlys.maxId() + 1, lp);
        if (!sp || !insertOrDelete(subPlys, sp)) return 4;
        CKpPly* ply = lp->pPly();
        text = name;
        text += "_";
        text += ply->name();
        CKpSet* set = sets->findByName(text);
        if (!set) {
            if (sets->maxId() == INT_MAX) return 5;  // no id left above the highest
            set = new (std::nothrow) CKpSet(sets->maxId() + 1);
            if (!set) return 5;
            set->setName(text);
            if (ply->SetSelectedElemIds(set) != 0) {
                delete set;
                return 5;
            }
            if (!insertOrDelete(*sets, set)) return 5;
        }
        sp->SetSet(set);
        // The fields this run made for the ply: a field of the same name left
        // by an earlier run must not stand in for them.
        const auto it = made.find(ply->id());
        if (it != made.end() && it->second.thick) {
            sp->SetFieldThick(it->second.thick);
            sp->SetFieldRotn(it->second.rotn);
        } else {
            ply->GetThicknessFieldName(name, text);
            sp->SetFieldThick(fields->findByName(text));
            ply->GetRotationFieldName(name, text);
            sp->SetFieldRotn(fields->findByName(text));
        }
    }
    return 0;
}

}  // namespace

int CreateSubLayups(const char* name, int ignoreThickness, CKpLayup* model) {
    if (!model || !model->pElems()) return 1;
    if (!name) name = "";
    CKpMsg* log = model->pMsg();

    // 2. The layup plies on the selected elements.
    CVekObjectStore<CVekObject> onSelection(64);
    struct Eraser {
        CVekObjectStore<CVekObject>& ids;
        ~Eraser() { ids.eraseAllObjects(); }
    } eraser{onSelection};
    if (model->pElems()->GetSelectedLypPlyIds(onSelection) != 0) return -1;

    try {
        // 3. Negative sides at the bottom in reverse id order, positive ones
        // on top in id order.
        std::deque<CKpLypPly*> accepted;
        std::map<int, PlyFields> plies;
        int refused = 0;
        CVekObjectStoreIterator<CKpLypPly> it(model->pLyp()->LypPlys());
        while (++it) {
            CKpLypPly* lp = it.key();
            if (!onSelection.find(lp->id())) continue;
            CKpPly* ply = lp->pPly();
            if (!ply) return -1;
            const int s = ply->GetSideOfSelectedElems() * lp->sideNotZero();
            if (s > 0) {
                accepted.push_back(lp);
            } else if (s < 0) {
                accepted.push_front(lp);
            } else {
                log->Create(2,
                            "Layup ply %d referencing ply %s instance %d has inconsistent "
                            "directions on selected elements and cannot be added to sublayup.",
                            lp->id(), ply->name(), lp->instance());
                ++refused;
                continue;
            }
            plies.emplace(ply->id(), PlyFields());
        }
        if (refused > 0) {
            log->Create(4, "%d layup plies have inconsistent dirctions on selected elements.",
                        refused);
            return 2;
        }
        if (accepted.empty()) {
            log->Create(2, "No acceptable layup plies on selected area.");
            return 0;
        }
        return build(name, ignoreThickness, model, accepted, plies);
    } catch (...) {  // the containers ran out of memory
        return -1;
    }
}
