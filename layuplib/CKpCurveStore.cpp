#include "layuplib/CKpCurveStore.h"

CKpCurveStore::CKpCurveStore() : CVekObjectStore<CKpCurve>(64) {}

CKpCurveStore::~CKpCurveStore() {
    eraseAllObjects();
}
