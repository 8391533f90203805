#include "layuplib/CKpFacet.h"

#include <cmath>
#include <new>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpNode.h"
#include "layuplib/geom_util.h"

CKP_BLOCK_POOLED_DEFINE(CKpFacet)

CKpFacet::CKpFacet(int id)
    : CVekObject(id),
      m_neigh{-1, -1, -1},
      m_nedge{-1, -1, -1},
      m_Pntd(0),
      m_FacetDirection(0),
      m_sbdmn(0),
      m_sbdmndnfg(0),
      m_neighn(),
      m_Nrpat(0),
      m_BdyStoreId(0),
      m_Hidden(0),
      m_element(nullptr),
      m_nodes(),
      m_branch(nullptr),
      m_Bdy(),
      m_wpang(-1000.0),
      m_wtang(-1000.0),
      m_strn(0.0) {}

CKpFacet::CKpFacet(const CKpFacet& other)
    : CVekObject(other),
      m_neigh{other.m_neigh[0], other.m_neigh[1], other.m_neigh[2]},
      m_nedge{other.m_nedge[0], other.m_nedge[1], other.m_nedge[2]},
      m_Pntd(other.m_Pntd),
      m_FacetDirection(other.m_FacetDirection),
      m_sbdmn(other.m_sbdmn),
      m_sbdmndnfg(other.m_sbdmndnfg),
      m_neighn{other.m_neighn[0], other.m_neighn[1], other.m_neighn[2]},
      m_Nrpat(other.m_Nrpat),
      m_BdyStoreId(other.m_BdyStoreId),
      m_Hidden(other.m_Hidden),
      m_element(other.m_element),
      m_nodes{other.m_nodes[0], other.m_nodes[1], other.m_nodes[2]},
      m_branch(copyBranch(other.m_branch)),
      m_Bdy{other.m_Bdy[0], other.m_Bdy[1], other.m_Bdy[2]},
      m_wpang(other.m_wpang),
      m_wtang(other.m_wtang),
      m_strn(other.m_strn) {}

CKpFacet& CKpFacet::operator=(const CKpFacet& other) {
    if (this == &other) return *this;
    // The record first: when it cannot be made nothing has changed.
    Branch* branch = copyBranch(other.m_branch);
    deleteBranch(m_branch);
    CVekObject::operator=(other);
    for (int i = 0; i < 3; ++i) {
        m_neigh[i] = other.m_neigh[i];
        m_nedge[i] = other.m_nedge[i];
        m_neighn[i] = other.m_neighn[i];
        m_nodes[i] = other.m_nodes[i];
        m_Bdy[i] = other.m_Bdy[i];
    }
    m_Pntd = other.m_Pntd;
    m_FacetDirection = other.m_FacetDirection;
    m_sbdmn = other.m_sbdmn;
    m_sbdmndnfg = other.m_sbdmndnfg;
    m_Nrpat = other.m_Nrpat;
    m_BdyStoreId = other.m_BdyStoreId;
    m_Hidden = other.m_Hidden;
    m_element = other.m_element;
    m_branch = branch;
    m_wpang = other.m_wpang;
    m_wtang = other.m_wtang;
    m_strn = other.m_strn;
    return *this;
}

std::atomic<long> CKpFacet::s_branches{0};

CKpFacet::Branch* CKpFacet::newBranch(const Branch* from) noexcept {
    Branch* branch = from ? new (std::nothrow) Branch(*from)
                          : new (std::nothrow) Branch{{nullptr, nullptr, nullptr},
                                                      {nullptr, nullptr, nullptr}};
    if (branch) s_branches.fetch_add(1, std::memory_order_relaxed);
    return branch;
}

CKpFacet::Branch* CKpFacet::copyBranch(const Branch* from) {
    if (!from) return nullptr;
    Branch* branch = newBranch(from);
    if (!branch) throw std::bad_alloc();
    return branch;
}

void CKpFacet::deleteBranch(Branch* branch) noexcept {
    if (!branch) return;
    delete branch;
    s_branches.fetch_sub(1, std::memory_order_relaxed);
}

CKpFacet::~CKpFacet() {
    deleteBranch(m_branch);
}

bool CKpFacet::makeBranch() {
    if (!reserveBranch()) throw std::bad_alloc();
    return true;
}

bool CKpFacet::reserveBranch() noexcept {
    if (!m_branch) m_branch = newBranch(nullptr);
    return m_branch != nullptr;
}

int CKpFacet::GetElemId() const {
    return m_element ? m_element->id() : -1;
}

int CKpFacet::GetVertex(int nodeId) const {
    for (int i = 0; i < 3; ++i) {
        if (m_nodes[i] && m_nodes[i]->id() == nodeId) return i;
    }
    return -1;
}

void CKpFacet::GetNormal(CKpDirn* normal) const {
    if (!normal) return;
    normal->SetNull();
    const CKpPoint* p0 = getCKpPoint(0);
    const CKpPoint* p1 = getCKpPoint(1);
    const CKpPoint* p2 = getCKpPoint(2);
    if (!p0 || !p1 || !p2) return;
    normal->Set3Points(p0, p1, p2);
    normal->unitize();
}

double CKpFacet::Area() const {
    const CKpPoint* p0 = getCKpPoint(0);
    const CKpPoint* p1 = getCKpPoint(1);
    const CKpPoint* p2 = getCKpPoint(2);
    if (!p0 || !p1 || !p2) return 0.0;
    return calc_area(p0, p1, p2);
}

double CKpFacet::GetVertexAngle(int i) const {
    if (!validIndex(i)) return 0.0;
    const CKpPoint* p0 = getCKpPoint(i);
    const CKpPoint* p1 = getCKpPoint((i + 1) % 3);
    const CKpPoint* p2 = getCKpPoint((i + 2) % 3);
    if (!p0 || !p1 || !p2) return 0.0;
    return ang_3pts(p0, p1, p2);
}

double CKpFacet::GetAngle(const CKpDirn* d) const {
    if (!d) return 0.0;
    const CKpPoint* p0 = getCKpPoint(0);
    const CKpPoint* p1 = getCKpPoint(1);
    const CKpPoint* p2 = getCKpPoint(2);
    if (!p0 || !p1 || !p2) return 0.0;
    CKpDirn x, y, z;
    SetAxes3Points(p0, p1, p2, &x, &y, &z);
    return std::atan2(d->DotProduct(&y), d->DotProduct(&x));
}

double CKpFacet::GetAngle(const CKpPoint* a, const CKpPoint* b) const {
    if (!a || !b) return 0.0;
    CKpDirn d;
    d.set2pts(a, b);
    return GetAngle(&d);
}

CKpDirn CKpFacet::GetDirn(double angle) const {
    CKpDirn out;
    const CKpPoint* p0 = getCKpPoint(0);
    const CKpPoint* p1 = getCKpPoint(1);
    const CKpPoint* p2 = getCKpPoint(2);
    if (!p0 || !p1 || !p2) return out;
    CKpDirn x, y, z;
    SetAxes3Points(p0, p1, p2, &x, &y, &z);
    x.Scale(std::cos(angle));
    y.Scale(std::sin(angle));
    out = x;
    out.Add(y);
    return out;
}

void CKpFacet::MoveToCentroid(CKpPoint* p, double f) const {
    if (!p) return;
    const CKpPoint* p0 = getCKpPoint(0);
    const CKpPoint* p1 = getCKpPoint(1);
    const CKpPoint* p2 = getCKpPoint(2);
    if (!p0 || !p1 || !p2) return;
    for (int k = 0; k < 3; ++k) {
        const double centroid = (p0->Get(k) + p1->Get(k) + p2->Get(k)) / 3.0;
        p->Set(k, (1.0 - f) * p->Get(k) + f * centroid);
    }
}

void CKpFacet::GetElemOnEdge(int edge, CKpElem** elem, int& elemEdge) const {
    if (elem) *elem = m_element;
    elemEdge = -1;
    if (!validIndex(edge) || !m_element) return;
    const CKpNode* from = m_nodes[edge];
    const CKpNode* to = m_nodes[GetNextVertex(edge)];
    if (!from || !to) return;
    const int nnod = m_element->getnnod();
    for (int k = 0; k < nnod; ++k) {
        if (m_element->getckpnodes(k) == from && m_element->getckpnodes((k + 1) % nnod) == to) {
            elemEdge = k;
            return;
        }
    }
}

int CKpFacet::OffsetPoint(CKpPoint& p, CKpDirn& d, int lypPlyId, int top) const {
    if (!m_element) return -1;
    const double offset = m_element->GetLypPlyOffset(lypPlyId, top);
    p.AddXYZ(d.getx() * offset, d.gety() * offset, d.getz() * offset);
    return 0;
}

int CKpFacet::GetNeighFacRelDnfg(CKpFacetStore* facets, int nodeId, CKpFacet* other) const {
    if (!other) return 0;
    if (other == this || other->id() == id()) return 1;
    if (!facets) return 0;
    const int v = GetVertex(nodeId);
    if (v < 0) return 0;

    // Two turning senses: out through the edge that ends at the node, then
    // through the edge that starts there.
    const int startEdge[2] = {(v + 2) % 3, v};
    const int turn[2] = {-1, 1};
    const int maxSteps = facets->entries();
    for (int k = 0; k < 2; ++k) {
        const CKpFacet* cur = this;
        int curIndex = id();
        int e = startEdge[k];
        int sign = 1;
        for (int step = 0; step < maxSteps; ++step) {
            const int g = cur->m_neigh[e];
            int code = cur->m_nedge[e];
            if (cur->m_neighn[e] < 1 || g == -1 || code == -1) break;
            const CKpFacet* next = facets->pFac(g);
            if (code < -1) code += 7;
            const int h = code >= 3 ? code - 3 : code;
            // The shared edge must hold the node; otherwise the links
            // contradict each other and the fan cannot be followed.
            const bool holds = next && h >= 0 && h < 3 &&
                               ((next->m_nodes[h] && next->m_nodes[h]->id() == nodeId) ||
                                (next->m_nodes[GetNextVertex(h)] &&
                                 next->m_nodes[GetNextVertex(h)]->id() == nodeId));
            if (!holds) {
                CKpLayup* layup = facets->GetLayup();
                if (layup)
                    layup->pMsg()->Create(4,
                                          "Facet %d edge %d: the neighbour link to facet %d does "
                                          "not match around node %d.",
                                          curIndex, e, g, nodeId);
                return 0;
            }
            if (next == this || g == id()) return 0;
            if (code < 3) sign = -sign;
            if (next == other || g == other->id()) return sign;
            e = sign * turn[k] > 0 ? (h + 1) % 3 : (h + 2) % 3;
            cur = next;
            curIndex = g;
        }
    }
    return 0;
}

int CKpFacet::GetNeighEdge(int i) const {
    if (!validIndex(i)) return -1;
    int code = m_nedge[i];
    if (code < -1) code += 7;
    if (code >= 3) code -= 3;
    return code;
}

int CKpFacet::GetNeighDnfg(int i) const {
    if (!validIndex(i)) return 0;
    int code = m_nedge[i];
    if (code == -1) return 0;
    if (code < -1) code += 7;
    return code < 3 ? -1 : 1;
}

int CKpFacet::GetNeighDivided(int i) const {
    return validIndex(i) && m_nedge[i] < -1 ? 1 : 0;
}

int CKpFacet::GetNeighConnected(int i) const {
    return validIndex(i) && m_nedge[i] >= 0 && m_nedge[i] < 6 ? 1 : 0;
}

CKpBdy* CKpFacet::GetBdy(int k) const {
    return validIndex(k) ? m_Bdy[k] : nullptr;
}

void CKpFacet::SetBdy(int k, CKpBdy* bdy) {
    if (validIndex(k)) m_Bdy[k] = bdy;
}
