#include "layuplib/CKpFlatPatPtStore.h"

#include "layuplib/CKpFlatPatPt.h"

CKpFlatPatPtStore::~CKpFlatPatPtStore() {
    eraseAllObjects();
}

void CKpFlatPatPtStore::InsertAfter(CKpFlatPatPt* after, CKpFlatPatPt* point) {
    if (!point) return;
    if (!after) {
        point->setNext(head);
        head = point;
        return;
    }
    point->setNext(after->getNext());
    after->setNext(point);
}

int CKpFlatPatPtStore::GetNumPoints() const {
    int n = 0;
    for (const CKpFlatPatPt* p = head; p; p = p->getNext()) ++n;
    return n;
}

int CKpFlatPatPtStore::GetNumPlotPoints() const {
    int n = 0;
    for (const CKpFlatPatPt* p = head; p; p = p->getNext())
        if (p->getPlot() != 0) ++n;
    return n;
}

int CKpFlatPatPtStore::GetBounds(double& umin, double& umax, double& vmin, double& vmax) const {
    if (!head) return -1;
    umin = umax = head->getU();
    vmin = vmax = head->getV();
    for (const CKpFlatPatPt* p = head->getNext(); p; p = p->getNext()) {
        if (p->getU() < umin) umin = p->getU();
        if (p->getU() > umax) umax = p->getU();
        if (p->getV() < vmin) vmin = p->getV();
        if (p->getV() > vmax) vmax = p->getV();
    }
    return 0;
}

void CKpFlatPatPtStore::eraseAllObjects() {
    while (head) {
        CKpFlatPatPt* next = head->getNext();
        delete head;
        head = next;
    }
}
