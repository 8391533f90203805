#include "layuplib/CKpNodeStore.h"

#include <cmath>
#include <climits>
#include <cstdlib>
#include <new>

#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpRefStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/geom_util.h"

namespace {

bool isLive(const CKpNode* node) {
    return !node->incomplete() && !node->getMerge();
}

}  // namespace

int cmpNodePos(const void* pa, const void* pb) {
    const CKpNode* a = *static_cast<CKpNode* const*>(pa);
    const CKpNode* b = *static_cast<CKpNode* const*>(pb);
    if (!a || !b) return a ? -1 : (b ? 1 : 0);
    const double ka = a->Pos();
    const double kb = b->Pos();
    if (ka != kb) return ka < kb ? -1 : 1;
    return (a->id() > b->id()) - (a->id() < b->id());
}

CKpNodeStore::CKpNodeStore() : CKpAscendingStore<CKpNode>(64) {}

CKpNodeStore::~CKpNodeStore() = default;

void CKpNodeStore::eraseAllObjects() {
    CKpBlockPool::Hold hold(CKpNode::pool());
    if (CKpNode::DeletePlain(m_sorted, m_sortedCount, m_pending, m_pendingCount)) {
        forgetAllObjects();
        return;
    }
    CVekObjectStore<CKpNode>::eraseAllObjects();
}

CKpNode* CKpNodeStore::NewNode(int id) {
    return new (std::nothrow) CKpNode(id);
}

CKpNode* CKpNodeStore::CreateNode(const CKpPoint* point, int* nextId) {
    if (!point || !nextId || *nextId < 1) return nullptr;
    CKpNode* node = new (std::nothrow) CKpNode(*nextId);
    if (!node) return nullptr;
    node->setCKpPoint(*point);
    node->setIncompleteFlag(0);
    if (insert(node) != 0) {  // the store could not grow
        delete node;
        return nullptr;
    }
    *nextId = *nextId < INT_MAX ? *nextId + 1 : 0;
    return node;
}

int CKpNodeStore::GetNumNodes() {
    int n = 0;
    CVekObjectStoreIterator<CKpNode> it(*this);
    while (++it)
        if (isLive(it.key())) ++n;
    return n;
}

int CKpNodeStore::GetNodes(int n, int* ids, double* xyz) {
    if (n != GetNumNodes()) return 1;
    if (n > 0 && (!ids || !xyz)) return 1;
    int k = 0;
    CVekObjectStoreIterator<CKpNode> it(*this);
    while (++it) {
        const CKpNode* node = it.key();
        if (!isLive(node)) continue;
        ids[k] = node->id();
        node->getCKpPoint()->Get(xyz + 3 * k);
        ++k;
    }
    return 0;
}

int CKpNodeStore::GetBounds(double* xmin, double* xmax, double* ymin, double* ymax, double* zmin,
                            double* zmax) {
    if (!xmin || !xmax || !ymin || !ymax || !zmin || !zmax) return -1;
    CVekObjectStoreIterator<CKpNode> it(*this);
    if (!++it) return -1;
    const CKpPoint* p = it.key()->getCKpPoint();
    double lo[3] = {p->getx(), p->gety(), p->getz()};
    double hi[3] = {lo[0], lo[1], lo[2]};
    while (++it) {
        p = it.key()->getCKpPoint();
        for (int k = 0; k < 3; ++k) {
            const double v = p->Get(k);
            if (v < lo[k]) lo[k] = v;
            if (v > hi[k]) hi[k] = v;
        }
    }
    *xmin = lo[0];
    *xmax = hi[0];
    *ymin = lo[1];
    *ymax = hi[1];
    *zmin = lo[2];
    *zmax = hi[2];
    return 0;
}

int CKpNodeStore::GetBoundsDiagonal(double* d) {
    if (!d) return -1;
    *d = 0.0;
    double b[6];
    if (GetBounds(&b[0], &b[1], &b[2], &b[3], &b[4], &b[5]) != 0) return -1;
    const double dx = b[1] - b[0];
    const double dy = b[3] - b[2];
    const double dz = b[5] - b[4];
    *d = std::sqrt(dx * dx + dy * dy + dz * dz);
    return 0;
}

int CKpNodeStore::SetBasicCoords(CKpCoordStore* frames) {
    if (!frames) return -1;
    CVekObjectStoreIterator<CKpNode> it(*this);
    while (++it) {
        CKpNode* node = it.key();
        if (node->GetCp() != 0) frames->GetBasicCoords(node->GetCp(), node->getCKpPoint());
    }
    return 0;
}

int CKpNodeStore::CreateSortPos(CKpMsg* msg, CVekObjectStore<CVekObject>* subset, int* n,
                                CKpNode*** array) {
    if (n) *n = 0;
    if (array) *array = nullptr;
    if (!n || !array) return -1;

    // 1. Count, then collect in id order.
    int count = 0;
    CVekObjectStoreIterator<CKpNode> it(*this);
    while (++it)
        if (!subset || subset->find(it.key()->id())) ++count;
    if (count == 0) return 0;
    CKpNode** nodes = new (std::nothrow) CKpNode*[count];
    if (!nodes) {
        if (msg) msg->Create(4, "Could not allocate memory.");
        return -1;
    }
    int k = 0;
    it.reset(*this);
    while (++it)
        if (!subset || subset->find(it.key()->id())) nodes[k++] = it.key();

    // 2. Sort by position key.
    std::qsort(nodes, count, sizeof(CKpNode*), cmpNodePos);
    *n = count;
    *array = nodes;
    return 0;
}

int CKpNodeStore::Merge(CKpMsg* msg, CKpElemStore* elems, CVekObjectStore<CVekObject>* subset,
                        double tolerance) {
    // 1. Tolerance: 0 merges nothing; a negative one is relative to the
    //    size of the model.
    if (tolerance == 0.0) return 0;
    if (tolerance < 0.0) {
        double diagonal = 0.0;
        if (GetBoundsDiagonal(&diagonal) != 0) return -1;
        tolerance = -tolerance * diagonal;
    }

    // 2. Nodes sorted by x + y + z.
    int n = 0;
    CKpNode** sorted = nullptr;
    if (CreateSortPos(msg, subset, &n, &sorted) != 0) return 0;

    // 3. Window scan: two points within the tolerance on each axis differ by
    //    less than 3 x tolerance in x + y + z.
    int merged = 0;
    for (int i = 0; i < n; ++i) {
        CKpNode* a = sorted[i];
        if (!a || a->getMerge()) continue;
        const double limit = a->Pos() + 3.0 * tolerance;
        for (int j = i + 1; j < n && sorted[j] && sorted[j]->Pos() < limit; ++j) {
            CKpNode* b = sorted[j];
            if (b->getMerge() || !nearby(a->getCKpPoint(), b->getCKpPoint(), tolerance)) continue;
            b->setMerge(a);
            ++merged;
        }
    }

    // 4. Free the sorted array.
    delete[] sorted;
    if (merged == 0) return 0;

    // 5. Re-point the elements at the survivors.
    if (elems) {
        CVekObjectStoreIterator<CKpElem> eit(*elems);
        while (++eit) {
            CKpElem* e = eit.key();
            const int nn = e->getnnod();
            for (int i = 0; i < nn; ++i) {
                CKpNode* node = find(e->getunid(i));
                if (!node || !node->getMerge()) continue;
                // Follow the chain to its end; the bound guards against a
                // cycle left by a caller.
                for (int hops = 0; node->getMerge() && hops <= merged; ++hops)
                    node = node->getMerge();
                e->setunid(i, node->id());
                e->setckpnodes(i, node);
            }
        }
    }

    // 6. Delete the merged nodes, compacting the sorted array in one pass.
    download_cache();
    size_t kept = 0;
    for (size_t k = 0; k < m_sortedCount; ++k) {
        CKpNode* node = toT(m_sorted[k]);
        if (node->getMerge()) {
            delete node;
        } else {
            m_ids[kept] = m_ids[k];
            m_sorted[kept++] = m_sorted[k];
        }
    }
    m_sortedCount = kept;

    // 7. The count.
    return merged;
}

int CKpNodeStore::CreateSelNodeElemRef(CKpMsg* msg, CKpElemStore* elems, CKpRefStore* refs) {
    if (!elems || !refs) return -1;
    int selected = 0;
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it) {
        const CKpElem* e = it.key();
        if (!e->getSltd()) continue;
        ++selected;
        const int nn = e->getnnod();
        for (int i = 0; i < nn; ++i) {
            CKpRef* ref = refs->findOrCreate(e->getunid(i));
            if (!ref) return -1;
            CVekObjectStore<CVekObject>& ids = ref->GetElems();
            if (ids.find(e->id())) continue;
            CVekObject* obj = new (std::nothrow) CVekObject(e->id());
            if (!obj) return -1;
            if (ids.insert(obj) != 0) {
                delete obj;
                return -1;
            }
        }
    }
    int most = 0;
    CVekObjectStoreIterator<CKpRef> rit(*refs);
    while (++rit)
        if (rit.key()->GetElems().entries() > most) most = rit.key()->GetElems().entries();
    if (msg) {
        msg->Create(1, " The selected %d elements reference %d nodes.", selected, refs->entries());
        msg->Create(1, " The selected nodes reference at most %d elements.", most);
    }
    return 0;
}

int CKpNodeStore::CreateSelNodeNormals(CKpMsg* msg, CKpRefStore* refs, CKpElemStore* elems,
                                       CKpFacetStore* facets) {
    if (!refs || !elems || !facets) return -1;
    int computed = 0;
    CVekObjectStoreIterator<CKpRef> rit(*refs);
    while (++rit) {
        CKpRef* ref = rit.key();
        CKpNode* node = find(ref->id());
        if (!node || !node->getCKpDirn()->IsNull()) continue;

        // 1. Angle-weighted facet normals around the node, each turned to
        //    agree with its element.
        CKpDirn sum;
        CVekObjectStoreIterator<CVekObject> eit(ref->GetElems());
        while (++eit) {
            const CKpElem* e = elems->find(eit.key()->id());
            if (!e) continue;
            CKpDirn en;
            if (e->GetNormal(&en) != 0) continue;
            const int nfac = e->getnfac();
            for (int k = 0; k < nfac; ++k) {
                const CKpFacet* f = facets->pFac(e->getfacs(k));
                if (!f) continue;
                for (int v = 0; v < 3; ++v) {
                    if (f->getCKpNode(v) != node) continue;
                    CKpDirn fn;
                    f->GetNormal(&fn);
                    if (fn.DotProduct(&en) < 0.0) fn.Reverse();
                    fn.Scale(f->GetVertexAngle(v));
                    sum.Add(fn);
                }
            }
        }

        // 2. Unit length when not zero.
        sum.unitize();
        node->setCKpDirn(sum);
        ++computed;
    }
    if (msg) msg->Create(1, " Directions calculated for %d selected nodes.", computed);
    return 0;
}

int CKpNodeStore::DelFacRefs() {
    CVekObjectStoreIterator<CKpNode> it(*this);
    while (++it) it.key()->delFacRefs();
    return 0;
}

void CKpNodeStore::SortedArrays(CVekObject* const** nodes, const int** ids) {
    download_cache();
    const bool any = m_sortedCount > 0;
    if (nodes) *nodes = any ? m_sorted : nullptr;
    if (ids) *ids = any ? m_ids : nullptr;
}
