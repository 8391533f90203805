#include "layuplib/CKpElem.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <new>
#include <typeinfo>

#include "layuplib/CKpElemAnsys.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemRefStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpOrient.h"
#include "layuplib/geom_util.h"
#include "layuplib/number_text.h"

CKP_BLOCK_POOLED_DEFINE(CKpElem)

namespace {

struct TypeInfo {
    int gmtp;
    int nnod;
    int nfac;
    int nvert;
    int topology;
};

constexpr TypeInfo kTypes[] = {
    {1, 4, 2, 4, 4},    {2, 8, 8, 4, 8},     {11, 3, 1, 3, 3},   {12, 6, 6, 3, 6},
    {101, 8, 0, 0, 28}, {102, 20, 0, 0, 20}, {111, 6, 0, 0, 26}, {112, 15, 0, 0, 25},
};

// Asked for on every node and facet access: a jump, not a search.
const TypeInfo* typeOf(int gmtp) {
    switch (gmtp) {
        case 1:
            return &kTypes[0];
        case 2:
            return &kTypes[1];
        case 11:
            return &kTypes[2];
        case 12:
            return &kTypes[3];
        case 101:
            return &kTypes[4];
        case 102:
            return &kTypes[5];
        case 111:
            return &kTypes[6];
        case 112:
            return &kTypes[7];
        default:
            return nullptr;
    }
}

// Bytes of the node and facet array block of a type of the table.
size_t arrayBytes(const TypeInfo& t) {
    return static_cast<size_t>(t.nnod) * sizeof(CKpNode*) +
           static_cast<size_t>(t.nnod + t.nfac) * sizeof(int);
}

// The block pool of the node and facet arrays of the table's type k: one
// per type, each slot the type's exact size, so that a quad4's arrays cost
// their 56 bytes and no heap header or call.
CKpBlockPool& arrayPool(size_t k) {
    // Never destroyed: elements may outlive static destruction.
    static CKpBlockPool* const pools[8] = {
        new CKpBlockPool(arrayBytes(kTypes[0]), 8), new CKpBlockPool(arrayBytes(kTypes[1]), 8),
        new CKpBlockPool(arrayBytes(kTypes[2]), 8), new CKpBlockPool(arrayBytes(kTypes[3]), 8),
        new CKpBlockPool(arrayBytes(kTypes[4]), 8), new CKpBlockPool(arrayBytes(kTypes[5]), 8),
        new CKpBlockPool(arrayBytes(kTypes[6]), 8), new CKpBlockPool(arrayBytes(kTypes[7]), 8)};
    return *pools[k];
}
static_assert(sizeof(kTypes) / sizeof(kTypes[0]) == 8, "one array pool per type");

// The header's inline counts agree with the table.
constexpr bool countsAgree() {
    for (const TypeInfo& t : kTypes)
        if (CKpElem::NnodOfGmtp(t.gmtp) != t.nnod || CKpElem::NfacOfGmtp(t.gmtp) != t.nfac)
            return false;
    return CKpElem::NnodOfGmtp(0) == 0 && CKpElem::NfacOfGmtp(0) == 0;
}
static_assert(countsAgree(), "CKpElem's inline counts differ from the type table");

// Stored (perimeter) position of each solver position.
const int kQuad8Kor[8] = {0, 2, 4, 6, 1, 3, 5, 7};
const int kTria6Kor[6] = {0, 2, 4, 1, 3, 5};

}  // namespace

CKpElem::CKpElem(int id, int type)
    : CVekObject(id),
      gmtp(type),
      eltp(0),
      tpmd(0),
      part(0),
      PatchID(0),
      etdnfg(0),
      off_fg(0),
      m_pid(0),
      m_orientId(0),
      sidefg(0),
      Sltd(0),
      Ordr(0),
      Intr(0),
      ckpnodes(nullptr),
      m_pOrient(nullptr),
      elemRefs(nullptr),
      lypPlies(nullptr),
      m_pAnsys(nullptr),
      angtol(std::acos(-1.0) / 36.0),
      thktol(5.0),
      off_val(0.0),
      m_theta(0.0) {
    if (const TypeInfo* t = typeOf(gmtp)) {
        // One block: the node pointers, then the node ids, then the facet
        // indices. A million elements then cost one allocation each instead
        // of three, and all or nothing keeps every count in step with its
        // array.
        const size_t nnod = static_cast<size_t>(t->nnod);
        if (void* block = arrayPool(static_cast<size_t>(t - kTypes)).allocate(arrayBytes(*t))) {
            ckpnodes = static_cast<CKpNode**>(block);
            std::fill(ckpnodes, ckpnodes + nnod, nullptr);
            std::fill(unid(), unid() + nnod + t->nfac, 0);
        }
    }
    lypPlies = new (std::nothrow) CKpElemLypPlyStore();
}

CKpElem::PoolHold::PoolHold() noexcept
    : m_elems(CKpElem::pool()),
      m_stacks(CKpElemLypPlyStore::pool()),
      m_arrays{CKpBlockPool::Hold(arrayPool(0)), CKpBlockPool::Hold(arrayPool(1)),
               CKpBlockPool::Hold(arrayPool(2)), CKpBlockPool::Hold(arrayPool(3)),
               CKpBlockPool::Hold(arrayPool(4)), CKpBlockPool::Hold(arrayPool(5)),
               CKpBlockPool::Hold(arrayPool(6)), CKpBlockPool::Hold(arrayPool(7))} {}

CKpElem::~CKpElem() {
    if (ckpnodes) {  // the block of all three arrays
        const TypeInfo* t = typeOf(gmtp);
        arrayPool(static_cast<size_t>(t - kTypes)).release(ckpnodes, arrayBytes(*t));
    }
    delete lypPlies;  // deletes its entries
    DeleteElemRefs();
    delete m_pAnsys;
}

bool CKpElem::DeletePlain(CVekObject* const* a, size_t na, CVekObject* const* b,
                          size_t nb) noexcept {
    CVekObject* const* lists[2] = {a, b};
    const size_t counts[2] = {na, nb};
    size_t arrays[8] = {};  // node and facet array blocks per type
    size_t stacks = 0;
    for (int k = 0; k < 2; ++k)
        for (size_t i = 0; i < counts[k]; ++i) {
            if (typeid(*lists[k][i]) != typeid(CKpElem)) return false;
            const CKpElem* e = static_cast<const CKpElem*>(lists[k][i]);
            if (e->elemRefs || e->m_pAnsys || (e->lypPlies && e->lypPlies->First())) return false;
            if (e->ckpnodes) ++arrays[typeOf(e->gmtp) - kTypes];
            if (e->lypPlies) ++stacks;
        }
    // Every destructor would leave the element's memory as it is. The
    // elements are read for what goes back slot by slot, so their own
    // slots go last.
    bool arraysBack[8];
    for (size_t t = 0; t < 8; ++t)
        arraysBack[t] = arrays[t] == 0 || arrayPool(t).releaseAllHeld(arrays[t]);
    const bool stacksBack = stacks == 0 || CKpElemLypPlyStore::pool().releaseAllHeld(stacks);
    bool allBack = stacksBack;
    for (size_t t = 0; t < 8; ++t) allBack = allBack && arraysBack[t];
    if (allBack && pool().releaseAllHeld(na + nb)) return true;
    for (int k = 0; k < 2; ++k)
        for (size_t i = 0; i < counts[k]; ++i) {
            CKpElem* e = static_cast<CKpElem*>(lists[k][i]);
            if (e->ckpnodes) {
                const TypeInfo* t = typeOf(e->gmtp);
                const size_t at = static_cast<size_t>(t - kTypes);
                if (!arraysBack[at]) arrayPool(at).release(e->ckpnodes, arrayBytes(*t));
            }
            if (e->lypPlies && !stacksBack)
                CKpElemLypPlyStore::operator delete(e->lypPlies, sizeof(CKpElemLypPlyStore));
            operator delete(e, sizeof(CKpElem));
        }
    return true;
}

int CKpElem::GetNumVertices() const {
    const TypeInfo* t = typeOf(gmtp);
    return (t && ckpnodes) ? t->nvert : 0;
}

bool CKpElem::IsSupportedTopology(int topology) {
    return topology == 3 || topology == 4 || topology == 6 || topology == 8;
}

int CKpElem::GetNumNodesForTopology(int topology) {
    return IsSupportedTopology(topology) ? topology : 0;
}

int CKpElem::GetGmtpForTopology(int topology) {
    switch (topology) {
        case 3:
            return 11;
        case 6:
            return 12;
        case 4:
            return 1;
        case 8:
            return 2;
        default:
            return 0;
    }
}

int CKpElem::GetTopologyForGmtp(int type) {
    const TypeInfo* t = typeOf(type);
    return t ? t->topology : 0;
}

bool CKpElem::isShell() const {
    return (gmtp == 1 || gmtp == 2 || gmtp == 11 || gmtp == 12) && ckpnodes;
}

int CKpElem::storedPos(int k) const {
    if (gmtp == 2) return kQuad8Kor[k];
    if (gmtp == 12) return kTria6Kor[k];
    return k;
}

int CKpElem::cornerPos(int c) const {
    return (gmtp == 2 || gmtp == 12) ? 2 * c : c;
}

CKpElemAnsys* CKpElem::CreateAnsys() {
    if (!m_pAnsys) m_pAnsys = new (std::nothrow) CKpElemAnsys();
    return m_pAnsys;
}

int CKpElem::GetNumElemRefs() const { return elemRefs ? elemRefs->entries() : 0; }

CKpElemRefStore* CKpElem::pElemRefs() {
    if (!elemRefs) elemRefs = new (std::nothrow) CKpElemRefStore();
    return elemRefs;
}

void CKpElem::DeleteElemRefs() {
    if (!elemRefs) return;
    elemRefs->eraseAllObjects();
    delete elemRefs;
    elemRefs = nullptr;
}

double CKpElem::getckpnodesX(int i) const {
    const CKpNode* node = getckpnodes(i);
    return node ? node->getCKpPointX() : 0.0;
}

double CKpElem::getckpnodesY(int i) const {
    const CKpNode* node = getckpnodes(i);
    return node ? node->getCKpPointY() : 0.0;
}

double CKpElem::getckpnodesZ(int i) const {
    const CKpNode* node = getckpnodes(i);
    return node ? node->getCKpPointZ() : 0.0;
}

void CKpElem::setfacs(int i, int index) {
    assert(i >= 0 && i < getnfac());
    if (i < 0 || i >= getnfac()) return;
    facs()[i] = index;
}

CKpNode* CKpElem::GetNodeKor(CKpMsg* msg, int i) const {
    const int n = getnnod();
    if (i < 0 || i >= n) {
        if (msg) msg->Create(4, "Attempt to access element node %d of %d", i + 1, n);
        return nullptr;
    }
    return ckpnodes[storedPos(i)];
}

int CKpElem::GetUnidKor(int i) const {
    if (i < 0 || i >= getnnod()) return 0;
    return unid()[storedPos(i)];
}

int CKpElem::SetConnectivityKor(int n, const int* ids) {
    // Once per element of a mesh: the shell test and the stored positions
    // written out here rather than asked for (isShell, storedPos per node).
    const bool shell = (gmtp == 1 || gmtp == 2 || gmtp == 11 || gmtp == 12) && ckpnodes;
    if (!ids || !shell || n != getnnod()) return -1;
    const int* at = gmtp == 2 ? kQuad8Kor : gmtp == 12 ? kTria6Kor : nullptr;
    int* stored = unid();
    if (at)
        for (int k = 0; k < n; ++k) stored[at[k]] = ids[k];
    else
        for (int k = 0; k < n; ++k) stored[k] = ids[k];
    return 0;
}

void CKpElem::GetFacOnEdge(int edge, int& facet, int& facetEdge) const {
    facet = -1;
    facetEdge = -1;
    if (edge < 0 || getnfac() == 0) return;
    switch (gmtp) {
        case 1:
            if (edge < 4) {
                facet = edge / 2;
                facetEdge = edge % 2;
            }
            break;
        case 11:
            if (edge < 3) {
                facet = 0;
                facetEdge = edge;
            }
            break;
        case 2:
        case 12:
            if (edge < getnfac()) {
                facet = edge;
                facetEdge = 0;
            }
            break;
        default:
            break;
    }
}

int CKpElem::GetFacEdges(CKpMsg* msg, int edge, int* count, int* facets, int* facetEdges) const {
    if (count) *count = 0;
    if (!count || !facets || !facetEdges) return -1;
    if (!isShell() || getnfac() == 0) {
        if (msg) msg->Create(4, "Element %d unsupported geometry type %d.", id(), gmtp);
        return -1;
    }
    const int nvert = GetNumVertices();
    if (edge < 1 || edge > nvert) {
        if (msg) msg->Create(4, "Element %d edge %d undefined.", id(), edge);
        return -1;
    }
    if (gmtp == 1 || gmtp == 11) {
        int f = 0;
        int e = 0;
        GetFacOnEdge(edge - 1, f, e);
        *count = 1;
        facets[0] = facs()[f];
        facetEdges[0] = e;
    } else {
        // A quadratic side is two perimeter segments, each edge 0 of its
        // fan facet.
        *count = 2;
        facets[0] = facs()[2 * edge - 2];
        facets[1] = facs()[2 * edge - 1];
        facetEdges[0] = 0;
        facetEdges[1] = 0;
    }
    return 0;
}

double CKpElem::thck() const {
    double sum = 0.0;
    if (!lypPlies) return sum;
    for (CKpElemLypPly* p = lypPlies->First(); p; p = lypPlies->Next(p)) sum += p->thck();
    return sum;
}

double CKpElem::off() const {
    if (off_fg == -1) return off_val - thck();
    if (off_fg == 0) return off_val - thck() / 2.0;
    return off_val;
}

int CKpElem::GetLypPlyOffsets(int lypPlyId, double* z, CKpElemLypPly** ply) const {
    if (!z) return -1;
    if (!lypPlies) return 1;
    double bottom = off();
    for (CKpElemLypPly* p = lypPlies->First(); p; p = lypPlies->Next(p)) {
        if (!p->getLypPly()) return 2;
        const double t = p->thck();
        if (p->getLypPlyId() == lypPlyId) {
            z[0] = bottom;
            z[1] = bottom + t / 2.0;
            z[2] = bottom + t;
            if (ply) *ply = p;
            return 0;
        }
        bottom += t;
    }
    return 3;
}

double CKpElem::GetLypPlyOffset(int lypPlyId, int top) const {
    double z[3];
    if (GetLypPlyOffsets(lypPlyId, z, nullptr) != 0) return 0.0;
    return top > 0 ? z[2] : z[0];
}

int CKpElem::CheckShape() const {
    const int n = getnnod();
    if (n == 0) return 0;
    const int* const ids = unid();
    for (int i = 0; i < n; ++i) {
        const int id = ids[i];
        if (id < 1) return 1;
        for (int j = 0; j < i; ++j)
            if (ids[j] == id) return 1;
    }
    return 0;
}

double CKpElem::thetaKor(CKpMsg* msg) const {
    switch (gmtp) {
        case 1:
        case 2: {
            CKpPoint p[4];
            if (corners(p) != 4) return 0.0;
            CKpDirn d1;
            CKpDirn d2;
            d1.set2pts(&p[0], &p[2]);  // corner 3 - corner 1
            d2.set2pts(&p[3], &p[1]);  // corner 2 - corner 4
            double a1 = 0.0;
            double a2 = 0.0;
            if (GetProjectedAngle(msg, d1, &a1) != 0 || GetProjectedAngle(msg, d2, &a2) != 0)
                return 0.0;
            return (a1 + a2) / 2.0;
        }
        case 11:
        case 12:
            return 0.0;
        default:
            if (msg) msg->Create(4, "Element %d unsupported element geometry type %d.", id(), gmtp);
            return 0.0;
    }
}

double CKpElem::GetThetaAnsys(CKpMsg* msg) const {
    switch (gmtp) {
        case 1: {
            CKpPoint p[4];
            if (corners(p) != 4) {
                if (msg)
                    msg->Create(2,
                                "GetThetaAnsys() on element %d failed as node pointers have not "
                                "been set.",
                                id());
                return 0.0;
            }
            CKpPoint m1;
            CKpPoint m2;
            m1.SetMid(&p[3], &p[0]);
            m2.SetMid(&p[1], &p[2]);
            CKpDirn d;
            d.set2pts(&m1, &m2);
            double a = 0.0;
            return GetProjectedAngle(msg, d, &a) == 0 ? a : 0.0;
        }
        case 2:
        case 11:
        case 12:
            return 0.0;
        default:
            if (msg) msg->Create(4, "Element %d unsupported element geometry type %d.", id(), gmtp);
            return 0.0;
    }
}

int CKpElem::GetProjectedAngle(CKpMsg* msg, const CKpDirn& d, double* angle) const {
    if (!angle) return -1;
    CKpDirn n;
    CKpDirn r;
    if (GetNormal(&n) != 0 || GetReference(&r) != 0) return -1;
    *angle = ang_dn_elem(msg, d, n, r);
    return *angle == -1000.0 ? -1 : 0;
}

int CKpElem::write(char* buffer, size_t size, int index) const {
    NumberLine line(buffer, size);
    line.Code(200).Text("ELEMENT").End();
    line.Code(201).Int(index).Int(id()).Int(part);
    if (PatchID >= 1) line.Int(PatchID);
    line.End();
    line.Code(202).Int(eltp).Int(gmtp).Int(tpmd).End();
    const int n = getnnod();
    line.Code(203).Int(n).End();
    line.Code(204);
    for (int i = 0; i < n; ++i) line.Int(unid()[i]);
    line.End();
    line.Code(206).Real(angtol).Real(thktol).End();
    line.Code(207).Int(off_fg).Real(off_val).End();
    if (m_pAnsys) {
        line.Code(208);
        for (int i = 0; i < 8; ++i) line.Int(m_pAnsys->Get(i));
        line.End();
    }
    if (m_pOrient && m_pOrient->type() != 0)
        line.Code(209).Int(m_pOrient->id()).Real(m_theta).End();
    return line.Length();
}
