#include "layuplib/CKpFacet.h"

#include <cmath>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpNode.h"
#include "layuplib/geom_util.h"

CKpFacet::CKpFacet(int id)
    : CVekObject(id),
      m_element(nullptr),
      m_nodes(),
      m_neigh{-1, -1, -1},
      m_nedge{-1, -1, -1},
      m_neighn(),
      m_neigha(),
      m_nedgea(),
      m_sbdmn(0),
      m_sbdmndnfg(0),
      m_FacetDirection(0),
      m_wpang(-1000.0),
      m_wtang(-1000.0),
      m_strn(0.0),
      m_Nrpat(0),
      m_Pntd(0),
      m_BdyStoreId(0),
      m_Hidden(0),
      m_Bdy() {}

CKpFacet::CKpFacet(const CKpFacet& other) = default;

CKpFacet::~CKpFacet() = default;

CKpNode* CKpFacet::getCKpNode(int i) const {
    return validIndex(i) ? m_nodes[i] : nullptr;
}

void CKpFacet::setCKpNode(int i, CKpNode* node) {
    if (validIndex(i)) m_nodes[i] = node;
}

CKpPoint* CKpFacet::getCKpPoint(int i) const {
    CKpNode* node = getCKpNode(i);
    return node ? node->getCKpPoint() : nullptr;
}

CKpDirn* CKpFacet::getCKpDirn(int i) const {
    CKpNode* node = getCKpNode(i);
    return node ? node->getCKpDirn() : nullptr;
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

int CKpFacet::getNeigh(int i) const {
    return validIndex(i) ? m_neigh[i] : -1;
}

void CKpFacet::setNeigh(int i, int facet) {
    if (validIndex(i)) m_neigh[i] = facet;
}

int CKpFacet::getNedge(int i) const {
    return validIndex(i) ? m_nedge[i] : -1;
}

void CKpFacet::setNedge(int i, int code) {
    if (validIndex(i)) m_nedge[i] = code;
}

int CKpFacet::getNeighn(int i) const {
    return validIndex(i) ? m_neighn[i] : 0;
}

void CKpFacet::setNeighn(int i, int n) {
    if (validIndex(i)) m_neighn[i] = n;
}

int* CKpFacet::getNeigha(int i) const {
    return validIndex(i) ? m_neigha[i] : nullptr;
}

void CKpFacet::setNeigha(int i, int* facets) {
    if (validIndex(i)) m_neigha[i] = facets;
}

int* CKpFacet::getNedgea(int i) const {
    return validIndex(i) ? m_nedgea[i] : nullptr;
}

void CKpFacet::setNedgea(int i, int* codes) {
    if (validIndex(i)) m_nedgea[i] = codes;
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
