// Stackings laid into the columns of the fill-solid filler, and the merge of
// alike bricks into sections.
#include <algorithm>
#include <new>

#include "layuplib/FillSolidElements.h"
#include "layuplib/LinAlg.h"
#include "layuplib/merge_sort.h"

namespace SolidElements {

namespace {

// Bricks of one column paired with the distance of one of their faces from
// a reference plane, ascending from the surface a stacking starts at.
struct Entry {
    SolidElement* elem;
    double distance;
};

// Adds the entry unless its distance equals the previous one exactly.
void addEntry(std::vector<Entry>& list, SolidElement* elem, double distance) {
    if (!list.empty() && list.back().distance == distance) return;
    list.push_back({elem, distance});
}

// Entries for face indices from..to (stepping towards `to`), each with the
// brick of face i + offset and the distance of face i's centroid.
void addRange(std::vector<Entry>& list, const SolidStackingTube& tube, const double* n, double d,
              int from, int to, int offset) {
    const int step = from <= to ? 1 : -1;
    for (int i = from; step > 0 ? i <= to : i >= to; i += step)
        addEntry(list, tube.Elements()[static_cast<size_t>(i + offset)],
                 LinAlg::ProjectionDistancePointPlane(tube.Centroid(i), n, d));
}

// Lays `stacking` into the bricks of `list`. Append order puts each piece at
// the end of its brick's section; insert order at the position where the
// section ended when this laying began (so pieces laid downwards still read
// bottom to top). Room left at the end becomes resin named `label`_resin.
void lay(const std::vector<Entry>& list, const FillSolidStacking& stacking, bool insert,
         const std::string& label, const std::string& resin) {
    if (list.empty()) return;
    const size_t last = list.size() - 1;
    std::vector<double> room(list.size());
    std::vector<size_t> insertAt(list.size());
    for (size_t k = 0; k < list.size(); ++k) {
        room[k] = k == 0 ? list[0].distance : list[k].distance - list[k - 1].distance;
        insertAt[k] = static_cast<size_t>(list[k].elem->GetSection()->NumLayers());
    }
    SolidStackingLayer* lastPiece = nullptr;  // latest piece placed in the last brick
    auto put = [&](size_t k, const SolidStackingLayer& layer, double thickness) {
        SolidSection* section = list[k].elem->GetSection();
        SolidStackingLayer piece(layer.GetName(), layer.GetMaterial(), thickness, layer.GetAngle());
        const size_t pos = insert ? insertAt[k] : static_cast<size_t>(section->NumLayers());
        section->InsertLayer(pos, piece);
        if (k == last) lastPiece = &section->Layer(static_cast<int>(pos));
    };

    size_t cur = 0;     // the brick being filled
    double used = 0.0;  // of its room
    bool full = false;  // no room left in the column
    for (int li = 0; li < stacking.NumLayers() && !full; ++li) {
        const SolidStackingLayer& layer = stacking.Layer(li);
        const double t = layer.GetThickness();
        const double rest = room[cur] - used;
        if (t < rest) {
            put(cur, layer, t);
            used += t;
            continue;
        }
        if (t == 0.0) continue;  // a layer of nothing that does not fit
        // The layer is cut at the brick boundary. A sliver of room at most
        // 0.001 below a further brick is left empty: the whole layer goes on.
        double remainder = t;
        if (!(rest <= 0.001 && cur != last)) {
            put(cur, layer, rest);
            remainder = t - rest;
        }
        ++cur;
        used = 0.0;
        while (cur <= last && room[cur] <= remainder) {
            put(cur, layer, room[cur]);
            remainder -= room[cur];
            ++cur;
        }
        if (cur <= last) {
            put(cur, layer, remainder);
            used = remainder;
            continue;
        }
        full = true;
        if (remainder > 0.0 && lastPiece && lastPiece->GetThickness() < t) {
            // The stacking is thicker than the column: the cut-off piece at
            // the top becomes resin and the later layers are dropped.
            lastPiece->SetName(layer.GetName() + "_resin");
            lastPiece->SetMaterial(resin);
            lastPiece->SetAngle(0.0);
        }
    }
    if (full || cur > last) return;
    // The layers ran out first: resin up to the end of the column.
    const SolidStackingLayer filler(label + "_resin", resin, 0.0, 0.0);
    for (size_t k = cur; k <= last; ++k) put(k, filler, room[k] - (k == cur ? used : 0.0));
}

}  // namespace

int FillSolidElements::ReadStacking(EStacking mode, const char* file1, const char* file2) {
    m_mode = mode;
    switch (mode) {
        case eBottomAndTop:
        case eFromMidplane:
            if (m_stackingA.Read(file1, m_messages) != 0) return 1;
            if (m_stackingB.Read(file2, m_messages) != 0) return 2;
            return 0;
        case eFromTop:
            return m_stackingA.Read(file2, m_messages) != 0 ? 3 : 0;
        case eFromBottom:
            return m_stackingA.Read(file1, m_messages) != 0 ? 4 : 0;
        default:
            return 0;
    }
}

int FillSolidElements::CreateSections(const char* resinMaterial, double thicknessTolPercent,
                                      double angleTol) {
    try {
        // 1. One section per brick (a second call starts over).
        m_resinMaterial = resinMaterial ? resinMaterial : "";
        m_sections.clear();
        for (const auto& elem : m_elements) {
            m_sections.push_back(std::make_unique<SolidSection>(thicknessTolPercent, angleTol));
            m_sections.back()->AddElement(elem.get());
            elem->SetSection(m_sections.back().get());
        }

        // 2.-5. Each column: distance lists from the reference planes, laid
        //       with the stackings the mode names.
        for (const auto& tubePtr : m_tubes) {
            const SolidStackingTube& tube = *tubePtr;
            if (!tube.HasMidsurface()) continue;
            const int n = tube.NumElements();
            const int m = tube.GetMidElement();
            double n0[3], d0, nn[3], dn;
            tube.Faces().front()->GetPlane(n0, d0);
            tube.Faces().back()->GetPlane(nn, dn);
            std::vector<Entry> first, second;
            switch (m_mode) {
                case eFromBottom:
                    addRange(first, tube, n0, d0, 1, n, -1);
                    lay(first, m_stackingA, false, "Bottom", m_resinMaterial);
                    break;
                case eFromTop:
                    addRange(first, tube, nn, dn, n - 1, 0, 0);
                    lay(first, m_stackingA, true, "Top", m_resinMaterial);
                    break;
                case eFromMidplane: {
                    double nm[3], dm;
                    tube.GetMidPlane(nm, dm);
                    addRange(first, tube, nm, dm, m, 0, 0);
                    lay(first, m_stackingA, true, "Bottom", m_resinMaterial);
                    addRange(second, tube, nm, dm, m + 1, n, -1);
                    lay(second, m_stackingB, false, "Top", m_resinMaterial);
                    break;
                }
                case eBottomAndTop: {
                    double mid[3];
                    tube.GetMidpoint(mid);
                    SolidElement* middle = tube.Elements()[static_cast<size_t>(m)];
                    if (m >= 1) addRange(first, tube, n0, d0, 1, m, -1);
                    addEntry(first, middle, LinAlg::ProjectionDistancePointPlane(mid, n0, d0));
                    lay(first, m_stackingA, false, "Bottom", m_resinMaterial);
                    if (m + 1 <= n - 1) addRange(second, tube, nn, dn, n - 1, m + 1, 0);
                    addEntry(second, middle, LinAlg::ProjectionDistancePointPlane(mid, nn, dn));
                    lay(second, m_stackingB, true, "Top", m_resinMaterial);
                    break;
                }
                default:
                    break;
            }
        }

        // 6. Totals.
        for (const auto& s : m_sections) s->UpdateThickness();

        // 7. Merge alike sections: a tolerant sort (ties in creation order),
        //    then each section joins the current representative when alike.
        std::vector<size_t> order(m_sections.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        merge_sort(order, [this](size_t a, size_t b) {
            return SolidSection::Compare(*m_sections[a], *m_sections[b]) < 0;
        });
        std::vector<std::unique_ptr<SolidSection>> owned;
        owned.reserve(order.size());
        for (size_t i : order) owned.push_back(std::move(m_sections[i]));
        m_sections.clear();
        SolidSection* rep = nullptr;
        for (auto& s : owned) {
            if (rep && SolidSection::Compare(*rep, *s) == 0) {
                rep->Absorb(*s);
                continue;  // s is destroyed with `owned`
            }
            rep = s.get();
            m_sections.push_back(std::move(s));
        }
    } catch (const std::bad_alloc&) {
        Message("CreateSections: out of memory");
        return 1;
    }
    return 0;
}

}  // namespace SolidElements
