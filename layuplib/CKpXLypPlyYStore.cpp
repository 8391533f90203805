#include "layuplib/CKpXLypPlyYStore.h"

#include <new>

CKpXLypPlyYStore::~CKpXLypPlyYStore() {
    eraseAllObjects();
}

int CKpXLypPlyYStore::Add(int id, double thickness) {
    CKpXLypPlyY* item = new (std::nothrow) CKpXLypPlyY(id, thickness);
    if (!item) return -1;
    InsertLast(item);
    return 0;
}

int CKpXLypPlyYStore::HasId(int id) const {
    for (const CKpXLypPlyY* y = First(); y; y = Next(y))
        if (y->id() == id) return 1;
    return 0;
}

double CKpXLypPlyYStore::AveThick() const {
    if (entries() == 0) return 0.0;
    double sum = 0.0;
    for (const CKpXLypPlyY* y = First(); y; y = Next(y)) sum += y->thick();
    return sum / entries();
}

double CKpXLypPlyYStore::MaxThick() const {
    double most = 0.0;
    bool any = false;
    for (const CKpXLypPlyY* y = First(); y; y = Next(y)) {
        if (!any || y->thick() > most) most = y->thick();
        any = true;
    }
    return most;
}
