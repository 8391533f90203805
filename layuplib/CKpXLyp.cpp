#include "layuplib/CKpXLyp.h"

#include <cmath>

#include "layuplib/CKpMsg.h"

CKpXLyp::CKpXLyp(int nodeId)
    : CVekObject(nodeId),
      m_plies(),
      m_elems(),
      m_offFlag(0),
      m_offset(0.0),
      m_offCount(0),
      m_snapCount(0),
      m_snapBottom(0.0),
      m_snapTop(0.0),
      m_bottomSnapped(0),
      m_topSnapped(0),
      m_snapRatio(1.0),
      m_splitIds(),
      m_splitRatios(),
      m_continuity(eNone) {}

CKpXLyp::~CKpXLyp() = default;

int CKpXLyp::SetOffset(int flag, double value) {
    if (m_offCount > 0 && flag != m_offFlag) return -1;
    m_offFlag = flag;
    ++m_offCount;
    m_offset += (value - m_offset) / m_offCount;
    return 0;
}

template <class F>
double CKpXLyp::WalkSplitRuns(F atSplit) const {
    if (m_elems.entries() == 0) return 0.0;
    std::vector<double> sums(static_cast<size_t>(m_elems.entries()), 0.0);
    auto largest = [&sums]() {
        double most = 0.0;
        for (double s : sums)
            if (s > most) most = s;
        return most;
    };
    double total = 0.0;
    for (const CKpXLypPly* p = m_plies.First(); p; p = m_plies.Next(p)) {
        if (p->IsSplit()) {
            total += largest();
            for (double& s : sums) s = 0.0;
            atSplit(p, total);
            continue;
        }
        for (const CKpXLypPlyY* y = p->Contributions().First(); y; y = p->Contributions().Next(y)) {
            int k = 0;
            for (const CKpXLypPlyY* e = m_elems.First(); e; e = m_elems.Next(e), ++k)
                if (e->id() == y->id()) {
                    sums[static_cast<size_t>(k)] += y->thick();
                    break;
                }
        }
    }
    return total + largest();
}

double CKpXLyp::TotThick() const {
    if (m_continuity == eContinuous) {
        double total = 0.0;
        for (const CKpXLypPly* p = m_plies.First(); p; p = m_plies.Next(p)) total += p->AveThick();
        return total;
    }
    if (m_continuity == eSplit) return WalkSplitRuns([](const CKpXLypPly*, double) {});
    return m_elems.MaxThick();
}

double CKpXLyp::GetOffset(int face) const {
    const double t = TotThick();
    double bottom = m_offset;  // flag 1: the reference is the bottom face
    if (m_offFlag == 0) bottom = m_offset - t / 2.0;
    if (m_offFlag == -1) bottom = m_offset - t;
    if (face < 0) return bottom;
    if (face == 0) return bottom + t / 2.0;
    return bottom + t;
}

double CKpXLyp::GetSnapOffset(int face) const {
    if (!m_bottomSnapped && !m_topSnapped) return GetOffset(face);
    const double bottom = m_bottomSnapped ? m_snapBottom : GetOffset(-1);
    const double top = m_topSnapped ? m_snapTop : GetOffset(1);
    if (face < 0) return bottom;
    if (face > 0) return top;
    return (bottom + top) / 2.0;
}

int CKpXLyp::SetSnap(CKpMsg* msg, double tolerance, int count, const double* values) {
    m_snapCount = 0;
    m_bottomSnapped = m_topSnapped = 0;
    m_snapBottom = m_snapTop = 0.0;
    if (count <= 0) return 0;
    if (count >= 3) {
        if (msg)
            msg->Create(4, " Only two snap values can be defined, but node %d has %d values.", id(),
                        count);
        return -1;
    }
    if (!values) return 0;
    const double t = TotThick();
    if (tolerance < 0.0) tolerance = std::fabs(tolerance) * t;
    const double face[2] = {GetOffset(-1), GetOffset(1)};
    int* snapped[2] = {&m_bottomSnapped, &m_topSnapped};
    double* snap[2] = {&m_snapBottom, &m_snapTop};
    for (int i = 0; i < count; ++i) {
        const double v = values[i];
        const double d0 = std::fabs(v - face[0]);
        const double d1 = std::fabs(v - face[1]);
        const int f = d1 < d0 ? 1 : 0;
        const double dist = f ? d1 : d0;
        if (!(dist <= tolerance)) continue;
        if (*snapped[f]) {
            if (msg)
                msg->Create(1,
                            " More than one snap point for face %d on node %d at values %8g and "
                            "%8g. The closest node to the face will be chosen.",
                            f, id(), *snap[f], v);
            if (dist < std::fabs(*snap[f] - face[f])) *snap[f] = v;
            continue;
        }
        *snap[f] = v;
        *snapped[f] = 1;
        ++m_snapCount;
    }
    if (m_snapCount == 0) return 0;
    const double bottom = m_bottomSnapped ? m_snapBottom : face[0];
    const double top = m_topSnapped ? m_snapTop : face[1];
    // A stack without thickness cannot be scaled to the snapped faces.
    if (t > 0.0) m_snapRatio = (top - bottom) / t;
    return 0;
}

int CKpXLyp::SetSplitRatios(CKpMsg* msg) {
    if (m_continuity != eSplit && m_continuity != eContinuous) return 0;
    m_splitIds.clear();
    m_splitRatios.clear();
    int splits = 0;
    for (const CKpXLypPly* p = m_plies.First(); p; p = m_plies.Next(p))
        if (p->IsSplit()) ++splits;
    if (splits == 0) return 0;

    double total = 0.0;
    if (m_continuity == eContinuous) {
        for (const CKpXLypPly* p = m_plies.First(); p; p = m_plies.Next(p)) {
            total += p->AveThick();
            if (p->IsSplit()) {
                m_splitIds.push_back(p->GetLypPlyId());
                m_splitRatios.push_back(total);
            }
        }
    } else {
        total = WalkSplitRuns([this](const CKpXLypPly* p, double sofar) {
            m_splitIds.push_back(p->GetLypPlyId());
            m_splitRatios.push_back(sofar);
        });
    }
    for (double& r : m_splitRatios) {
        r = total != 0.0 ? r / total : 0.0;
        if (r < 1e-12) r = 0.0;
        if (r > 0.999999999999) r = 1.0;
    }

    for (const CKpXLypPly* p = m_plies.First(); p; p = m_plies.Next(p)) {
        if (!p->IsSplit()) continue;
        int covered = 0;
        for (const CKpXLypPlyY* e = m_elems.First(); e; e = m_elems.Next(e))
            if (p->Contributions().HasId(e->id())) ++covered;
        if (covered < m_elems.entries()) {
            if (msg)
                msg->Create(4,
                            "Split defined by layup ply %d only covers %d of %d elements "
                            "referenced by node %d",
                            p->GetLypPlyId(), p->Contributions().entries(), m_elems.entries(),
                            id());
            return -1;
        }
    }
    return 0;
}

int CKpXLyp::GetSplitRatio(CKpMsg* msg, int face, int lypPlyId, double& ratio) const {
    for (size_t i = 0; i < m_splitIds.size(); ++i) {
        if (m_splitIds[i] != lypPlyId) continue;
        ratio = face >= 0 ? m_splitRatios[i] : 1.0 - m_splitRatios[i];
        return 0;
    }
    if (msg)
        msg->Create(4, "Could not find split ply with layup ply id %d on node %d", lypPlyId, id());
    return -1;
}

int CKpXLyp::CompressButted() {
    if (m_continuity != eContinuous) return 0;
    CKpXLypPly* p = m_plies.First();
    while (p) {
        CKpXLypPly* next = m_plies.Next(p);
        CKpXLypPly* passed = nullptr;
        for (CKpXLypPly* q = m_plies.Prev(p); q; q = m_plies.Prev(q)) {
            if (q->HasIds(*p)) break;
            passed = q;
        }
        if (passed) {
            CKpXLypPlyStore* butted = passed->GetButtedPlys();
            if (butted) {
                m_plies.Delete(p);
                butted->InsertLast(p);
            }
        }
        p = next;
    }
    return 0;
}
