#include "layuplib/CKpRef.h"

CKpRef::CKpRef(int id) : CVekObject(id), elems(64) {}

CKpRef::~CKpRef() {
    elems.eraseAllObjects();
}
