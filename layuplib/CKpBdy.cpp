#include "layuplib/CKpBdy.h"

#include <cstdlib>
#include <new>

#include "layuplib/CKpFlatPatPtBdyStore.h"

CKpBdy::CKpBdy()
    : seq(0), facet(0), edge(0), dirn(0), prev(nullptr), next(nullptr), flatPatPts(nullptr) {}

CKpBdy::~CKpBdy() {
    delete flatPatPts;
}

CKpFlatPatPtBdyStore* CKpBdy::pFlatPatPts() {
    if (!flatPatPts) flatPatPts = new (std::nothrow) CKpFlatPatPtBdyStore();
    return flatPatPts;
}

int DeleteBoundary(CKpBdy*& ring) {
    CKpBdy* segment = ring;
    while (segment) {
        CKpBdy* next = segment->Next();
        delete segment;
        segment = (next == ring) ? nullptr : next;
    }
    ring = nullptr;
    return 0;
}

int DeleteIntrBys(CKpBdy**& holes, int& count) {
    if (holes) {
        for (int i = 0; i < count; ++i) DeleteBoundary(holes[i]);
        std::free(holes);
    }
    holes = nullptr;
    count = 0;
    return 0;
}
