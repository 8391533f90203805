#include "layuplib/CKpLypPly.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"

CKpLypPly::CKpLypPly(int id)
    : CVekObject(id),
      m_plyType(0),
      m_plyId(0),
      m_ply(nullptr),
      m_instance(0),
      m_side(0),
      m_thckOverride(0.0),
      m_angleOffset(0.0),
      m_gplyid(0) {}

CKpLypPly::~CKpLypPly() = default;

void CKpLypPly::setPly(CKpPly* ply) {
    m_ply = ply;
    if (!ply) return;
    m_plyType = ply->lyrtp();
    m_plyId = ply->id();
}

int CKpLypPly::lyrtp() const {
    return m_ply ? m_ply->lyrtp() : m_plyType;
}

int CKpLypPly::lyrid() const {
    return m_ply ? m_ply->id() : m_plyId;
}

const char* CKpLypPly::lyrnm() const {
    return m_ply ? m_ply->name() : "";
}

int CKpLypPly::stdn() const {
    return m_ply ? m_ply->stdn() : 0;
}

const char* CKpLypPly::GetPlyNameInstance() {
    if (!m_ply) return m_defaultName;
    try {
        std::string text(m_ply->name());
        if (m_instance > 1) text += "_" + std::to_string(m_instance);
        m_nameBuf = text.c_str();
        if (m_nameBuf.Size() != static_cast<int>(text.size())) m_nameBuf.Clear();
    } catch (...) {
        m_nameBuf.Clear();
    }
    return m_nameBuf;
}

const char* CKpLypPly::GetPlyGroup() {
    return m_plyGroup;
}

const char* CKpLypPly::GetSequence() {
    return m_sequence;
}

const char* CKpLypPly::GetName() {
    return GetPlyNameInstance();
}

EVekMaterialType CKpLypPly::GetType() {
    return static_cast<EVekMaterialType>(lyrtp());
}

const char* CKpLypPly::GetPlyName() {
    return lyrnm();
}

int CKpLypPly::GetInstance() {
    return m_instance;
}

int CKpLypPly::GetSide() {
    return m_side;
}

double CKpLypPly::GetAngleOffset() {
    return m_angleOffset;
}

double CKpLypPly::GetThicknessOverride() {
    return m_thckOverride;
}

int CKpLypPly::GetGlobalPlyID() {
    return m_gplyid;
}

int CKpLypPly::GetNumElements() {
    const CKpPat* pat = m_ply ? m_ply->pPat() : nullptr;
    return (pat && pat->PatElems()) ? pat->PatElems()->entries() : 0;
}

int CKpLypPly::GetThicksOrients(int n, int* vertexCounts, double* lowerPoints, double* middlePoints,
                                double* upperPoints, double* midpoints, double* warpDirections,
                                double* weftDirections, double* sizes) {
    if (n != GetNumElements()) return 1;
    if (n < 1) return 2;
    if (!m_ply) return 3;
    CKpLayup* model = m_ply->GetPlyStore() ? m_ply->GetPlyStore()->GetLayup() : nullptr;
    if (!model) return 4;
    CKpElemStore* elems = model->pElems();

    // Packed arrays advance by the corners of each element written.
    size_t packed = 0;
    int i = 0;
    for (const CKpPatElem* pe = m_ply->pPat()->PatElems()->First(); pe && i < n;
         pe = m_ply->pPat()->PatElems()->Next(pe), ++i) {
        CKpElem* elem = elems ? elems->find(pe->GetElemId()) : nullptr;
        if (!elem) continue;
        double z[3];
        CKpElemLypPly* entry = nullptr;
        if (elem->GetLypPlyOffsets(id(), z, &entry) != 0 || !entry) continue;
        const int nv = elem->GetNumVertices();
        if (nv < 3 || nv > 4) continue;
        const bool flipped = entry->GetElemDnfg() < 0;
        const double lower = flipped ? z[2] : z[0];
        const double upper = flipped ? z[0] : z[2];
        double low[12], mid[12], up[12];
        if (elem->GetOffsetSurface(lower, low) != 0 || elem->GetOffsetSurface(z[1], mid) != 0 ||
            elem->GetOffsetSurface(upper, up) != 0)
            continue;
        double centre[3], warp[3], weft[3], area = 0.0;
        if (elem->GetOffsetMidpt(z[1], centre) != 0 ||
            elem->GetDirection(pe->warpAngle(), warp) != 0 ||
            elem->GetDirection(pe->weftAngle(), weft) != 0 || elem->GetArea(&area) != 0)
            continue;

        const size_t count = 3 * static_cast<size_t>(nv);
        if (vertexCounts) vertexCounts[i] = nv;
        if (lowerPoints) std::copy(low, low + count, lowerPoints + packed);
        if (middlePoints) std::copy(mid, mid + count, middlePoints + packed);
        if (upperPoints) std::copy(up, up + count, upperPoints + packed);
        packed += count;
        if (midpoints) std::copy(centre, centre + 3, midpoints + 3 * static_cast<size_t>(i));
        if (warpDirections) std::copy(warp, warp + 3, warpDirections + 3 * static_cast<size_t>(i));
        if (weftDirections) std::copy(weft, weft + 3, weftDirections + 3 * static_cast<size_t>(i));
        if (sizes) sizes[i] = 0.5 * std::sqrt(area);
    }
    return 0;
}
