#include "layuplib/CKpNode.h"

#include <cstdio>
#include <new>

#include "layuplib/CKpFacRefStore.h"

CKpNode::CKpNode(int id)
    : CVekObject(id),
      Cp(0),
      merge(nullptr),
      max_off(0.0),
      min_off(0.0),
      fac_off(0.0),
      facRefs(nullptr),
      incompleteFlag(1) {}

CKpNode::~CKpNode() {
    delFacRefs();
}

CKpFacRefStore* CKpNode::FacRefs() {
    if (!facRefs) facRefs = new (std::nothrow) CKpFacRefStore();
    return facRefs;
}

void CKpNode::delFacRefs() {
    delete facRefs;  // deletes its entries
    facRefs = nullptr;
}

int CKpNode::write(char* buffer, size_t size, int index) const {
    if (!buffer || size == 0) return -1;
    const int n =
        std::snprintf(buffer, size, "%03d %-4s\n%03d %d %d\n%03d %.8G %.8G %.8G\n", 100, "NODE",
                      101, index, id(), 102, point.getx(), point.gety(), point.getz());
    if (n < 0 || static_cast<size_t>(n) >= size) {
        buffer[0] = '\0';
        return -1;
    }
    return n;
}
