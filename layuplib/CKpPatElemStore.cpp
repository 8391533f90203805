#include "layuplib/CKpPatElemStore.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/angle_util.h"

namespace {

// a wrapped into (-pi, pi]: the pattern keeps +pi, never -pi.
double wrapHalfOpen(double a) {
    a = pi_pi(a);
    return a <= -kPi ? a + 2.0 * kPi : a;
}

}  // namespace

int CKpPatElemStore::SetElemIdsOrders(int n, const int* ids, const int* orders) {
    if (!ids) return 1;
    CKpBlockPool::Hold hold(CKpPatElem::pool());
    for (int i = 0; i < n; ++i) {
        CKpPatElem* pe = new (std::nothrow) CKpPatElem;
        if (!pe) return -1;
        pe->setElemId(ids[i]);
        pe->SetOrder(orders ? orders[i] : 0);
        InsertLast(pe);
    }
    return 0;
}

int CKpPatElemStore::GetMaxOrder() const {
    int maxOrder = 0;
    bool any = false;
    for (const CKpPatElem* pe = First(); pe; pe = Next(pe)) {
        if (!any || pe->order() > maxOrder) maxOrder = pe->order();
        any = true;
    }
    return maxOrder;
}

int CKpPatElemStore::GetElemIdsOrder(int order, int& count, int* ids, int size) const {
    count = 0;
    for (const CKpPatElem* pe = First(); pe; pe = Next(pe)) {
        if (pe->order() != order) continue;
        if (ids && count < size) ids[count] = pe->GetElemId();
        ++count;
    }
    return 0;
}

int CKpPatElemStore::GetElemIds(int* ids, int size) const {
    if (!ids) return 0;
    int n = 0;
    for (const CKpPatElem* pe = First(); pe && n < size; pe = Next(pe)) ids[n++] = pe->GetElemId();
    return n;
}

int CKpPatElemStore::SortById() {
    std::vector<CKpPatElem*> items;
    try {
        items.reserve(static_cast<size_t>(entries()));
    } catch (...) {
        return -1;
    }
    for (CKpPatElem* pe = First(); pe; pe = Next(pe)) items.push_back(pe);
    std::stable_sort(items.begin(), items.end(), [](const CKpPatElem* a, const CKpPatElem* b) {
        return a->GetElemId() < b->GetElemId();
    });
    while (DeleteFirst()) {
    }
    for (CKpPatElem* pe : items) InsertLast(pe);
    return 0;
}

int CKpPatElemStore::SimulationTransfer(CKpElemStore* elements, CKpFacetStore* facets, int stdn) {
    if (!elements || !facets) return -1;
    CKpBlockPool::Hold hold(CKpPatElem::pool());
    CVekObjectStoreIterator<CKpElem> it(*elements);
    while (++it) {
        CKpElem* elem = it.key();
        if (!elem || elem->getnfac() < 1) continue;
        const CKpFacet* first = facets->pFac(elem->getfacs(0));
        if (!first) continue;  // no frame to measure the angles in

        // 1. Running means over the reached facets, weighted by hit count.
        int total = 0, dnfg = 0;
        double warp = 0.0, weft = 0.0, shear = 0.0;
        for (int k = 0; k < elem->getnfac(); ++k) {
            const CKpFacet* f = facets->pFac(elem->getfacs(k));
            if (!f || f->getNrpat() <= 0) continue;
            const int c = f->getNrpat();
            const bool isFirst = total == 0;
            total += c;
            dnfg = f->getFacetDirection();
            // Facets of one element have their own local axes: carry each
            // angle across as a direction.
            const CKpDirn wpDir = f->GetDirn(f->getwpang());
            const CKpDirn wtDir = f->GetDirn(f->getwtang());
            const double a = first->GetAngle(&wpDir);
            const double b = first->GetAngle(&wtDir);
            const double s = f->getstrn();
            if (isFirst) {
                warp = a;
                weft = b;
                shear = s;
                continue;
            }
            const double w = static_cast<double>(c) / total;
            warp = wrapHalfOpen(warp + w * wrapHalfOpen(a - warp));
            weft = wrapHalfOpen(weft + w * wrapHalfOpen(b - weft));
            shear = shear + w * (s - shear);
        }
        if (total < 1 || elem->getIntr() != 0) continue;

        // 2. One entry for the element.
        CKpPatElem* pe = new (std::nothrow) CKpPatElem;
        if (!pe) return -1;
        pe->setElemId(elem->id());
        pe->setPelem(elem);
        pe->setStdn(stdn);
        pe->setDnfg(dnfg);
        pe->setWarpAngle(wrapHalfOpen(warp));
        pe->setWeftAngle(wrapHalfOpen(weft));
        pe->setShear(shear);
        pe->setThickness(0.0);
        pe->SetOrder(elem->getOrdr());
        InsertLast(pe);
    }
    return 0;
}

int CKpPatElemStore::UpdateFromProjection(CKpElemStore* elements, CKpFacetStore* facets, int stdn) {
    if (!elements || !facets) return -1;
    if (facets->SimulationInterpolate() != 0) return -1;
    CKpBlockPool::Hold hold(CKpPatElem::pool());
    eraseAllObjects();
    return SimulationTransfer(elements, facets, stdn);
}

int CKpPatElemStore::UpdateFromDraping(CKpMsg* log, CKpDrape* drape, CKpElemStore* elements,
                                       CKpFacetStore* facets, int stdn) {
    if (!drape || !elements || !facets) return -1;
    if (facets->SimulationInitialise() != 0 || facets->SimulationTransfer(log, drape) != 0 ||
        facets->SimulationInterpolate() != 0)
        return -1;
    CKpBlockPool::Hold hold(CKpPatElem::pool());
    eraseAllObjects();
    return SimulationTransfer(elements, facets, stdn);
}
