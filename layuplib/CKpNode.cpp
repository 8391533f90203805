#include "layuplib/CKpNode.h"

#include <atomic>
#include <cstdio>
#include <new>
#include <typeinfo>

#include "layuplib/CKpFacRefStore.h"
#include "layuplib/number_text.h"

CKP_BLOCK_POOLED_DEFINE(CKpNode)

namespace {

// Facet reference lists alive in all nodes: while there are none, no node
// need be asked for its own.
std::atomic<long> s_facRefLists{0};

}  // namespace

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
    if (!facRefs) {
        facRefs = new (std::nothrow) CKpFacRefStore();
        if (facRefs) s_facRefLists.fetch_add(1, std::memory_order_relaxed);
    }
    return facRefs;
}

void CKpNode::delFacRefs() {
    if (!facRefs) return;
    delete facRefs;  // deletes its entries
    facRefs = nullptr;
    s_facRefLists.fetch_sub(1, std::memory_order_relaxed);
}

bool CKpNode::DeletePlain(CVekObject* const* a, size_t na, CVekObject* const* b,
                          size_t nb) noexcept {
    const bool anyLists = s_facRefLists.load(std::memory_order_relaxed) != 0;
    for (int k = 0; k < 2; ++k) {
        CVekObject* const* objs = k == 0 ? a : b;
        const size_t n = k == 0 ? na : nb;
        for (size_t i = 0; i < n; ++i) {
            if (typeid(*objs[i]) != typeid(CKpNode)) return false;
            if (anyLists && static_cast<const CKpNode*>(objs[i])->facRefs) return false;
        }
    }
    // Every destructor would leave the node's memory as it is.
    if (pool().releaseAllHeld(na + nb)) return true;
    for (size_t i = 0; i < na; ++i) operator delete(static_cast<CKpNode*>(a[i]), sizeof(CKpNode));
    for (size_t i = 0; i < nb; ++i) operator delete(static_cast<CKpNode*>(b[i]), sizeof(CKpNode));
    return true;
}

int CKpNode::write(char* buffer, size_t size, int index) const {
    NumberLine line(buffer, size);
    line.Code(100).Text("NODE").End();
    line.Code(101).Int(index).Int(id()).End();
    line.Code(102).Real(point.getx()).Real(point.gety()).Real(point.getz()).End();
    return line.Length();
}
