// The columns of bricks through the thickness, the mid-surface and the
// coordinate systems of the fill-solid filler.
#include <algorithm>
#include <cmath>
#include <deque>
#include <new>
#include <set>

#include "layuplib/FillSolidElements.h"
#include "layuplib/LinAlg.h"
#include "layuplib/merge_sort.h"

namespace SolidElements {

namespace {
const double kPointTol = 1e-6;  // mid-surface points closer than this coincide

// Position of a mid-surface point of a column whose first face was turned
// over: corners in reversed cycle order, each mid-side point on its edge.
int flippedPosition(int k) {
    if (k < 4) return 3 - k;
    return 4 + (10 - k) % 4;  // m0 m1 m2 m3 -> m2 m1 m0 m3
}
}  // namespace

int FillSolidElements::CreateStackingTubes(int elemId, const int* faceNodes, int nFaceNodes) {
    // 1. The picked face: a free face of the element, given by all its nodes.
    SolidElement* elem = FindElement(elemId);
    SolidElementFace* start = nullptr;
    if (elem && faceNodes && nFaceNodes > 0 && nFaceNodes <= 8) {
        int key[8];
        std::copy(faceNodes, faceNodes + nFaceNodes, key);
        std::sort(key, key + nFaceNodes);
        for (int k = 0; k < elem->GetNumFaces() && !start; ++k)
            if (elem->GetFace(k)->HasKey(key, nFaceNodes)) start = elem->GetFace(k);
    }
    if (!start) {
        Message("Selected Face is not part of the selected elements");
        return 1;
    }
    if (start->GetTwin()) {
        Message("Selected Face is not a free face");
        return 1;
    }

    // 2.-5. Columns one at a time from a queue of entry faces, spreading
    //       across the picked surface.
    const size_t firstTube = m_tubes.size();
    m_numThrough = -1;
    try {
        std::deque<SolidElementFace*> queue{start};
        while (!queue.empty()) {
            SolidElementFace* entry = queue.front();
            queue.pop_front();
            if (entry->GetTube()) continue;
            m_tubes.push_back(std::make_unique<SolidStackingTube>(entry->NumNodes()));
            SolidStackingTube* tube = m_tubes.back().get();
            if (WalkTube(tube, entry) != 0) return 3;
            if (m_numThrough == -1) {
                m_numThrough = tube->NumElements();
            } else if (tube->NumElements() != m_numThrough) {
                Message(
                    "The first stacking tube has %d elements through the thickness, but "
                    "Element %d is part of a stacking tube with %d elements - this must be "
                    "constant throughout the selected region",
                    m_numThrough, entry->GetElement()->GetID(), tube->NumElements());
                return 2;
            }
            SolidElement* first = tube->Elements().front();
            const SolidElementFace* base = first->GetFace(0);
            for (int k = 2; k < 6; ++k) {
                const SolidElementFace* twin = first->GetFace(k)->GetTwin();
                if (!twin || twin->GetElement()->GetTube()) continue;
                SolidElement* next = twin->GetElement();
                for (int j = 0; j < 6; ++j) {
                    SolidElementFace* candidate = next->GetFace(j);
                    if (candidate == twin || candidate->CountSharedNodes(*base) < 2) continue;
                    queue.push_back(candidate);
                    break;
                }
            }
        }
        // 6. The mid-surface.
        BuildMidsurface(firstTube);
    } catch (const std::bad_alloc&) {
        Message("CreateStackingTubes: out of memory");
        return 1;
    }
    return 0;
}

int FillSolidElements::WalkTube(SolidStackingTube* tube, SolidElementFace* entry) {
    for (;;) {
        SolidElement* elem = entry->GetElement();
        if (elem->GetTube()) {
            Message("Element %d is reached by two stacking tubes", elem->GetID());
            return 3;
        }
        if (elem->GetFace(0) != entry) {
            elem->ReorientBase(entry);
            m_orientationChanged = true;
        }
        entry->SetTube(tube);
        tube->AddElement(elem);
        elem->SetTube(tube);
        SolidElementFace* far = elem->GetFace(1)->GetTwin();
        if (!far) return 0;
        entry = far;
    }
}

void FillSolidElements::BuildMidsurface(size_t firstTube) {
    for (size_t t = firstTube; t < m_tubes.size(); ++t) BuildTubeMidsurface(*m_tubes[t]);
    MergeMidpoints();
}

void FillSolidElements::BuildTubeMidsurface(SolidStackingTube& tube) {
    const int nodes = tube.GetFaceNodeCount();
    const int nElems = tube.NumElements();
    // cumulative[level * nodes + k]: length along node position k from the
    // picked face up to face `level`.
    std::vector<double> cumulative(static_cast<size_t>(nElems + 1) * nodes, 0.0);
    double centroid[3];

    // 1. Walk the column, matching each brick's node positions to the face
    //    below, and sum the lengths of the through-thickness edges.
    for (int level = 0; level < nElems; ++level) {
        SolidElement* elem = tube.Elements()[static_cast<size_t>(level)];
        SolidElementFace* bottom = elem->GetFace(0);
        SolidElementFace* top = elem->GetFace(1);
        bottom->GetMidpoint(centroid);
        tube.AddFace(bottom, centroid);
        for (int k = 0; k < nodes; ++k)
            cumulative[static_cast<size_t>(level + 1) * nodes + k] =
                cumulative[static_cast<size_t>(level) * nodes + k] +
                LinAlg::Distance(top->NodeXYZ(k), bottom->NodeXYZ(k));
        if (level + 1 == nElems) {
            top->GetMidpoint(centroid);
            tube.AddFace(top, centroid);
            break;
        }
        SolidElementFace* twin = top->GetTwin();
        if (twin->Node(0) != top->Node(0) || twin->Node(1) != top->Node(1)) {
            int perm[8];
            bool complete = true;
            for (int k = 0; k < nodes; ++k) {
                perm[k] = twin->FindNode(top->Node(k));
                if (perm[k] < 0) complete = false;
            }
            SolidElement* next = twin->GetElement();
            if (complete)
                for (int f = 0; f < 6; ++f) next->GetFace(f)->Permute(perm);
        }
    }

    // 2. The mid-surface point of each node position: halfway along the
    //    summed edge lengths.
    const bool flipped = tube.Faces().front()->IsFlipped();
    std::vector<Midpoint*> points(static_cast<size_t>(nodes), nullptr);
    std::vector<int> candidates(static_cast<size_t>(nodes), 0);
    for (int k = 0; k < nodes; ++k) {
        const double half = 0.5 * cumulative[static_cast<size_t>(nElems) * nodes + k];
        double p[3];
        int candidate = 0;
        if (!(half > 0.0)) {
            // Bricks tapered to nothing here: every level holds the same
            // point.
            std::copy(tube.Faces().front()->NodeXYZ(k), tube.Faces().front()->NodeXYZ(k) + 3, p);
        } else {
            int level = 1;
            while (level < nElems && cumulative[static_cast<size_t>(level) * nodes + k] < half)
                ++level;
            const double c = cumulative[static_cast<size_t>(level - 1) * nodes + k];
            const double* a = tube.Faces()[static_cast<size_t>(level - 1)]->NodeXYZ(k);
            const double* b = tube.Faces()[static_cast<size_t>(level)]->NodeXYZ(k);
            double ab[3];
            LinAlg::Vector(a, b, ab);
            const double s = std::sqrt((half - c) * (half - c) / LinAlg::NormSquared(ab));
            for (int i = 0; i < 3; ++i) p[i] = a[i] + s * ab[i];
            candidate = level - 1;
        }
        m_midpoints.push_back(std::make_unique<Midpoint>(p[0], p[1], p[2]));
        const int position = flipped ? flippedPosition(k) : k;
        points[static_cast<size_t>(position)] = m_midpoints.back().get();
        candidates[static_cast<size_t>(k)] = candidate;
    }
    tube.SetPoints(points);

    // 3. The brick that holds the mid-surface.
    std::set<int> distinct(candidates.begin(), candidates.end());
    if (distinct.size() == 1) {
        tube.SetMidElement(*distinct.begin());
        return;
    }
    double m[3];
    tube.GetMidpoint(m);
    const std::vector<int> ordered(distinct.begin(), distinct.end());
    for (size_t i = 0; i + 1 < ordered.size(); ++i) {
        const double t = LinAlg::ProjectionPointLine(tube.Centroid(ordered[i]),
                                                     tube.Centroid(ordered[i + 1]), m);
        if (t >= 0.0 && t <= 1.0) {
            tube.SetMidElement(ordered[i]);
            return;
        }
    }
    tube.SetMidElement(ordered.back());
}

void FillSolidElements::MergeMidpoints() {
    // Sort by x, then y, then z, coordinates closer than the tolerance
    // counting as equal; ties keep creation order.
    std::vector<Midpoint*> sorted;
    sorted.reserve(m_midpoints.size());
    for (const auto& p : m_midpoints) sorted.push_back(p.get());
    merge_sort(sorted, [](const Midpoint* a, const Midpoint* b) {
        for (int c = 0; c < 3; ++c) {
            const double d = a->GetXYZ()[c] - b->GetXYZ()[c];
            if (std::fabs(d) >= kPointTol) return d < 0.0;
        }
        return false;
    });
    m_midNodes.clear();
    const Midpoint* rep = nullptr;
    for (Midpoint* p : sorted) {
        bool same = rep != nullptr;
        for (int c = 0; c < 3 && same; ++c)
            same = std::fabs(p->GetXYZ()[c] - rep->GetXYZ()[c]) < kPointTol;
        if (same) {
            p->SetRepresentative(rep);
        } else {
            p->SetRepresentative(nullptr);
            p->SetID(static_cast<int>(m_midNodes.size()));
            m_midNodes.push_back(p);
            rep = p;
        }
    }
}

int FillSolidElements::NodesPerMidElement() const {
    return SolidElement::NodesPerFace(m_meshType);
}

int FillSolidElements::GetMidsurfaceElementSizes(int& nNodes, int& nElems, int& nodesPerElem) {
    nNodes = static_cast<int>(m_midNodes.size());
    nElems = static_cast<int>(m_tubes.size());
    nodesPerElem = NodesPerMidElement();
    return 0;
}

int FillSolidElements::ExtractMidsurfaceConnectivity(int firstNodeId, int firstElemId,
                                                     std::vector<int>& nodeIds,
                                                     std::vector<double>& xyz,
                                                     std::vector<int>& elemIds,
                                                     std::vector<int>& conn, int& nodesPerElem) {
    bool built = !m_midNodes.empty() && !m_tubes.empty();
    for (const auto& tube : m_tubes) built = built && tube->HasMidsurface();
    if (!built) {
        Message("Midplane has not been contstructed");
        return 1;
    }
    try {
        nodesPerElem = NodesPerMidElement();
        nodeIds.clear();
        xyz.clear();
        elemIds.clear();
        conn.clear();
        for (size_t i = 0; i < m_midNodes.size(); ++i) {
            nodeIds.push_back(firstNodeId + static_cast<int>(i));
            xyz.insert(xyz.end(), m_midNodes[i]->GetXYZ(), m_midNodes[i]->GetXYZ() + 3);
        }
        for (size_t t = 0; t < m_tubes.size(); ++t) {
            elemIds.push_back(firstElemId + static_cast<int>(t));
            for (const Midpoint* p : m_tubes[t]->Points()) conn.push_back(firstNodeId + p->GetID());
        }
    } catch (const std::bad_alloc&) {
        Message("ExtractMidsurfaceConnectivity: out of memory");
        return 1;
    }
    return 0;
}

int FillSolidElements::GetMidsurface(int* nodeIds, double* xyz, int* elemIds, int* nodesPerElem,
                                     int* conn) {
    std::vector<int> ids, elems, rows;
    std::vector<double> points;
    int perElem = 0;
    if (ExtractMidsurfaceConnectivity(1, 1, ids, points, elems, rows, perElem) != 0) return 1;
    if (!nodeIds || !xyz || !elemIds || !nodesPerElem || !conn) {
        Message("GetMidsurface: an output array is missing");
        return 1;
    }
    std::copy(ids.begin(), ids.end(), nodeIds);
    std::copy(points.begin(), points.end(), xyz);
    std::copy(elems.begin(), elems.end(), elemIds);
    std::fill(nodesPerElem, nodesPerElem + elems.size(), perElem);
    std::copy(rows.begin(), rows.end(), conn);
    return 0;
}

int FillSolidElements::CreateCSys(const double* x, const double* y, const double* z,
                                  double angleTol) {
    if (!x || !y || !z) {
        Message("CreateCSys: a reference vector is missing");
        return 1;
    }
    std::copy(x, x + 3, m_refX);
    std::copy(y, y + 3, m_refY);
    std::copy(z, z + 3, m_refZ);
    try {
        // 1. One system per column (a second call starts over).
        m_csys.clear();
        for (const auto& tube : m_tubes) tube->SetCSys(nullptr);
        for (const auto& tube : m_tubes) {
            if (!tube->HasMidsurface()) continue;
            double axes[3][3], origin[3];
            tube->GetMidNormal(axes[2]);
            if (LinAlg::IsParallel(x, axes[2], 1e-6)) return 1;
            LinAlg::ProjectionOntoPlane(x, axes[2], axes[0]);
            LinAlg::CrossProduct(axes[2], axes[0], axes[1]);
            tube->GetMidpoint(origin);
            m_csys.push_back(std::make_unique<SolidCSys>(axes[0], axes[1], axes[2], origin,
                                                         tube.get(), angleTol));
            for (SolidElement* e : tube->Elements()) m_csys.back()->AddElement(e);
            tube->SetCSys(m_csys.back().get());
        }
        // 2. Merge alike systems into the first of them: every pair is
        //    compared, so this is quadratic in the number of columns.
        for (size_t i = 0; i < m_csys.size(); ++i) {
            if (!m_csys[i]) continue;
            for (size_t j = i + 1; j < m_csys.size(); ++j) {
                if (!m_csys[j] || !m_csys[i]->IsAlike(*m_csys[j])) continue;
                m_csys[i]->Absorb(*m_csys[j]);
                m_csys[j].reset();
            }
        }
        m_csys.erase(std::remove(m_csys.begin(), m_csys.end(), nullptr), m_csys.end());
    } catch (const std::bad_alloc&) {
        Message("CreateCSys: out of memory");
        return 1;
    }
    return 0;
}

}  // namespace SolidElements
