#include "layuplib/CKpNode.h"

#include <cstdio>
#include <new>

#include "layuplib/CKpFacRefStore.h"
#include "layuplib/number_text.h"

CKP_BLOCK_POOLED_DEFINE(CKpNode)

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
    NumberLine line(buffer, size);
    line.Code(100).Text("NODE").End();
    line.Code(101).Int(index).Int(id()).End();
    line.Code(102).Real(point.getx()).Real(point.gety()).Real(point.getz()).End();
    return line.Length();
}
