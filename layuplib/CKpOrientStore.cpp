#include "layuplib/CKpOrientStore.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <new>

#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFieldStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CVekObjectStoreIterator.h"

namespace {

// Inserts `obj` into `store`; false (the object deleted) when the store could
// not grow.
template <class Store, class T>
bool insertOrDelete(Store& store, T* obj) {
    if (store.insert(obj) == 0) return true;
    delete obj;
    return false;
}

}  // namespace

CKpOrientStore::CKpOrientStore(CKpLayup* layup) : CVekObjectStore<CKpOrient>(64), m_layup(layup) {}

CKpOrientStore::~CKpOrientStore() {
    eraseAllObjects();
}

int CKpOrientStore::insert(CKpOrient* orient) {
    if (!orient) return -1;
    orient->SetOrientStore(this);
    if (CVekObjectStore<CKpOrient>::insert(orient) != 0) {
        orient->SetOrientStore(nullptr);
        return -1;
    }
    return 0;
}

int CKpOrientStore::SetOrientationAngles(int n, const int* elemIds, const double* angles) {
    if (!m_layup) return 1;
    if (n > 0 && (!elemIds || !angles)) {
        m_layup->pMsg()->Create(4, "Null arrays passed to CKpOrientStore::SetOrientationAngles().");
        return -1;
    }
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(angles[i])) {
            m_layup->pMsg()->Create(
                4,
                "Non-finite angle for element %d passed to CKpOrientStore::SetOrientationAngles().",
                elemIds[i]);
            return -1;
        }
    }
    CKpFieldStore* fields = m_layup->pFields();
    CKpElemStore* elems = m_layup->pElems();
    if (!fields || !elems) return -1;

    // No id left above the highest: nothing is made.
    if (fields->maxId() == INT_MAX || maxId() == INT_MAX) return -1;

    // 1. The field that stands for the per-element values.
    CKpField* field = new (std::nothrow) CKpField(fields->maxId() + 1);
    if (!field) return -1;
    field->SetName("Theta");
    field->SetType(EVekFieldThickness);
    if (!insertOrDelete(*fields, field)) return -1;

    // 2. The orientation that refers to it.
    CKpOrient* orient = new (std::nothrow) CKpOrient(maxId() + 1);
    if (!orient) return -1;
    orient->setName("Theta");
    orient->setType(CKpOrient::TypeElemValues);
    orient->setRefId(field->id());
    if (!insertOrDelete(*this, orient)) return -1;

    // 3. The elements.
    for (int i = 0; i < n; ++i) {
        CKpElem* e = elems->find(elemIds[i]);
        if (!e) continue;
        e->pOrient(orient);
        e->orientId(orient->id());
        e->theta(angles[i]);
    }
    return 0;
}

int CKpOrientStore::Clear() {
    if (!m_layup) return 1;
    CKpElemStore* elems = m_layup->pElems();
    if (!elems) return 2;
    CKpCoordStore* coords = m_layup->pCoords();
    if (!coords) return 3;
    if (elems->orientClear() != 0) return 4;
    eraseAllObjects();
    coords->eraseAllObjects();
    return 0;
}

int CKpOrientStore::SetElemReferences() {
    if (!m_layup) return 1;
    CKpElemStore* elems = m_layup->pElems();
    if (!elems) return 2;
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it) {
        CKpElem* e = it.key();
        if (e->orientId() > 0) e->pOrient(find(e->orientId()));
    }
    return 0;
}

int CKpOrientStore::SetElemTheta(CKpMsg* log) {
    if (!m_layup) return 1;
    CKpElemStore* elems = m_layup->pElems();
    if (!elems) return 2;
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it) {
        CKpElem* e = it.key();
        const CKpOrient* o = e->pOrient();
        if (!o) continue;
        switch (o->type()) {
            case CKpOrient::TypeAngle:
                e->theta(o->value(0));
                break;
            case CKpOrient::TypeCoord:
            case CKpOrient::TypeDirection: {
                CKpDirn d;
                d.Set(o->values());
                double angle = -1000.0;
                // The sentinel -1000 must never become an element's theta.
                if (e->GetProjectedAngle(nullptr, d, &angle) != 0 || angle == -1000.0 ||
                    !std::isfinite(angle)) {
                    e->theta(0.0);
                    if (log)
                        log->Create(2,
                                    "Could not project vector <%g,%g,%g> from orientation '%s' "
                                    "onto element %d, setting THETA=0",
                                    o->value(0), o->value(1), o->value(2), o->name(), e->id());
                } else {
                    e->theta(angle);
                }
                break;
            }
            default:
                break;  // theta is given elsewhere (values, ANSYS) or kept
        }
    }
    return 0;
}

int CKpOrientStore::SetDefaultIfNeeded() {
    if (!m_layup) return 1;
    CKpElemStore* elems = m_layup->pElems();
    if (!elems) return 2;
    int missing = 0;
    {
        CVekObjectStoreIterator<CKpElem> it(*elems);
        while (++it)
            if (!it.key()->pOrient()) ++missing;
    }
    if (missing == 0) return 0;

    if (maxId() == INT_MAX) return -1;  // no id left above the highest
    CKpOrient* def = new (std::nothrow) CKpOrient(maxId() + 1);
    if (!def) return -1;
    def->setName("Default");
    def->setType(CKpOrient::TypeDefault);
    if (!insertOrDelete(*this, def)) return -1;

    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it) {
        CKpElem* e = it.key();
        if (e->pOrient()) continue;
        e->pOrient(def);
        e->orientId(def->id());
    }
    return 0;
}

int CKpOrientStore::SetDirectionsByCoords(CKpMsg* log, CKpCoordStore* coords) {
    CVekObjectStoreIterator<CKpOrient> it(*this);
    while (++it) {
        CKpOrient* o = it.key();
        if (o->type() != CKpOrient::TypeCoord) continue;
        if (o->refId() == 0) {
            o->setValues(1.0, 0.0, 0.0);
            continue;
        }
        CKpCoord* frame = coords ? coords->find(o->refId()) : nullptr;
        if (!frame) {
            if (log) log->Create(2, "Could not find Coord %d", o->refId());
            continue;
        }
        CKpPoint origin;
        frame->GetOrigin(&origin);
        CKpDirn axes[3];
        if (frame->axes(&origin, axes) != 0) axes[0].SetNull();
        o->setValues(axes[0].getx(), axes[0].gety(), axes[0].getz());
    }
    return 0;
}

CKpOrient* CKpOrientStore::findByName(const char* name) {
    if (!name) return nullptr;
    CVekObjectStoreIterator<CKpOrient> it(*this);
    while (++it)
        if (std::strcmp(it.key()->name(), name) == 0) return it.key();
    return nullptr;
}
