#include "layuplib/CKpFlatPatPtStore.h"

#include "layuplib/CKpFlatPatPt.h"

CKpFlatPatPtStore::~CKpFlatPatPtStore() {
    eraseAllObjects();
}

void CKpFlatPatPtStore::eraseAllObjects() {
    while (head) {
        CKpFlatPatPt* next = head->getNext();
        delete head;
        head = next;
    }
}
