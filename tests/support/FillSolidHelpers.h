#ifndef PLYSTRAND_TESTS_SUPPORT_FILLSOLIDHELPERS_H
#define PLYSTRAND_TESTS_SUPPORT_FILLSOLIDHELPERS_H

#include <memory>
#include <string>
#include <vector>

#include "layuplib/FillSolidElements.h"
#include "tests/support/BrickGen.h"

// Small helpers around a fill-solid filler for tests, fuzzing and
// benchmarks.
namespace fillsolid {

struct Releaser {
    void operator()(SolidElements::IFillSolid* f) const {
        if (f) f->Release();
    }
};
using Filler = std::unique_ptr<SolidElements::FillSolidElements, Releaser>;

// A new filler from the exported factory (null when it fails).
inline Filler Make() {
    SolidElements::IFillSolid* f = nullptr;
    if (CreateFillSolid(f) != 0) return Filler();
    return Filler(static_cast<SolidElements::FillSolidElements*>(f));
}

// Create with the generator's arrays.
inline int Load(SolidElements::IFillSolid& f, const brickgen::BrickMesh& m) {
    return f.Create(m.numNodes(), m.nodeIds.data(), m.xyz.data(), m.numElems(), m.elemIds.data(),
                    m.elemTypes.data(), m.stride, m.conn.data());
}

// CreateStackingTubes from the lower-w face of brick (i, j, 0).
inline int Tubes(SolidElements::IFillSolid& f, const brickgen::BrickMesh& m, int i = 0, int j = 0) {
    const std::vector<int> face = m.WFace(i, j, 0, false);
    return f.CreateStackingTubes(m.ElemId(i, j, 0), face.data(), static_cast<int>(face.size()));
}

// The latest message of the filler ("" when none).
inline std::string LastMessage(const SolidElements::FillSolidElements& f) {
    const int n = f.GetMessages().GetNumMessages();
    return n > 0 ? f.GetMessages().GetMessage(n - 1) : "";
}

// The mid-surface as GetMidsurface gives it.
struct Midsurface {
    int status = -1;
    int perElem = 0;
    std::vector<int> nodeIds, elemIds, counts, conn;
    std::vector<double> xyz;
    const double* Pos(int id) const { return xyz.data() + 3 * (id - 1); }
};

inline Midsurface GetMid(SolidElements::IFillSolid& f) {
    Midsurface s;
    int nn = 0, ne = 0;
    f.GetMidsurfaceElementSizes(nn, ne, s.perElem);
    s.nodeIds.resize(nn);
    s.xyz.resize(3 * static_cast<size_t>(nn));
    s.elemIds.resize(ne);
    s.counts.resize(ne);
    s.conn.resize(static_cast<size_t>(ne) * s.perElem);
    int dummy[1];
    double dummyD[1];
    s.status = f.GetMidsurface(nn ? s.nodeIds.data() : dummy, nn ? s.xyz.data() : dummyD,
                               ne ? s.elemIds.data() : dummy, ne ? s.counts.data() : dummy,
                               ne ? s.conn.data() : dummy);
    return s;
}

// One layer of a section as read back.
struct Piece {
    std::string name, material;
    double thickness, angle;
};

inline std::vector<Piece> Layers(SolidElements::IFillSolidSection& s) {
    std::vector<Piece> out;
    int n = 0;
    s.GetNumLayers(n);
    for (int i = 0; i < n; ++i) {
        SolidElements::IFillSolidSectionLayer* l = nullptr;
        if (s.GetLayer(i, l) != 0) break;
        char name[256], mat[256];
        Piece p{};
        l->GetLayerName(name, sizeof name);
        l->GetLayerMaterial(mat, sizeof mat);
        l->GetLayerThickness(p.thickness);
        l->GetLayerAngle(p.angle);
        p.name = name;
        p.material = mat;
        out.push_back(p);
    }
    return out;
}

// The layers of the section holding element `elemId` (empty when none).
inline std::vector<Piece> LayersOf(SolidElements::IFillSolid& f, int elemId) {
    int ns = 0;
    f.GetNumSections(ns);
    for (int i = 0; i < ns; ++i) {
        SolidElements::IFillSolidSection* s = nullptr;
        f.GetSection(i, s);
        int ne = 0;
        s->GetNumElementIDs(ne);
        std::vector<int> ids(ne);
        s->GetElementIDs(ids.data());
        for (int id : ids)
            if (id == elemId) return Layers(*s);
    }
    return {};
}

}  // namespace fillsolid

#endif  // PLYSTRAND_TESTS_SUPPORT_FILLSOLIDHELPERS_H
