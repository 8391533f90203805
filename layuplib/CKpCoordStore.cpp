#include "layuplib/CKpCoordStore.h"

#include <cmath>
#include <new>
#include <vector>

namespace {

// A frame resolved to the basic frame: its origin and unit Cartesian axes.
struct BasicFrame {
    CKpPoint origin;
    CKpDirn ex, ey, ez;
};

// The basic frame of a frame whose defining points a, b, c are basic.
BasicFrame frameFromPoints(const CKpPoint& a, const CKpPoint& b, const CKpPoint& c) {
    BasicFrame f;
    f.origin = a;
    CKpDirn ac;
    f.ez.set2pts(&a, &b);
    ac.set2pts(&a, &c);
    f.ey.setCrossProduct(&f.ez, &ac);
    f.ex.setCrossProduct(&f.ey, &f.ez);
    f.ex.unitize();
    f.ey.unitize();
    f.ez.unitize();
    return f;
}

// Maps `p`, given in a frame of `type` whose basic form is `f`, to basic.
CKpPoint toBasic(const BasicFrame& f, CKpCoordType type, const CKpPoint& p) {
    const double deg = std::acos(-1.0) / 180.0;
    double x = p.getx(), y = p.gety(), z = p.getz();
    if (type == CKpCoordCylindrical) {
        const double r = p.getx(), th = p.gety() * deg;
        x = r * std::cos(th);
        y = r * std::sin(th);
        z = p.getz();
    } else if (type == CKpCoordSpherical) {
        const double r = p.getx(), th = p.gety() * deg, ph = p.getz() * deg;
        x = r * std::sin(th) * std::cos(ph);
        y = r * std::sin(th) * std::sin(ph);
        z = r * std::cos(th);
    }
    CKpPoint out = f.origin;
    out.AddXYZ(x * f.ex.getx() + y * f.ey.getx() + z * f.ez.getx(),
               x * f.ex.gety() + y * f.ey.gety() + z * f.ez.gety(),
               x * f.ex.getz() + y * f.ey.getz() + z * f.ez.getz());
    return out;
}

}  // namespace

CKpCoordStore::CKpCoordStore(CKpLayup* layup) : CVekObjectStore<CKpCoord>(64), m_layup(layup) {}

CKpCoordStore::~CKpCoordStore() {
    eraseAllObjects();
}

int CKpCoordStore::insert(CKpCoord* coord) {
    if (!coord) return -1;
    coord->SetCoordStore(this);
    if (CVekObjectStore<CKpCoord>::insert(coord) != 0) {  // the store could not grow
        coord->SetCoordStore(nullptr);
        return -1;
    }
    return 0;
}

int CKpCoordStore::GetBasicCoords(int frameId, CKpPoint* point) {
    if (frameId < 0 || !point) return -1;
    if (frameId == 0) return 0;

    // 1. Collect the chain of frames from `frameId` down to the one defined
    //    in the basic frame. The chain cannot be longer than the store
    //    without visiting a frame twice, so a longer chain is a loop.
    //    Working down the chain (instead of resolving each defining point
    //    recursively) keeps the cost linear in its length and the stack
    //    flat.
    std::vector<CKpCoord*> chain;
    try {
        const size_t limit = static_cast<size_t>(entries());
        int id = frameId;
        while (id != 0) {
            if (id < 0 || chain.size() >= limit) return -1;
            CKpCoord* coord = find(id);
            if (!coord) return -1;
            chain.push_back(coord);
            id = coord->rid();
        }
    } catch (const std::bad_alloc&) {
        return -1;
    }

    // 2. Resolve the frames from the bottom of the chain upward: each
    //    frame's A, B and C are mapped through the frame below it.
    BasicFrame below;
    CKpCoordType belowType = CKpCoordRectangular;
    for (size_t k = chain.size(); k-- > 0;) {
        const CKpCoord* coord = chain[k];
        CKpPoint abc[3];
        for (int j = 0; j < 3; ++j) {
            abc[j].Set(coord->coords(3 * j), coord->coords(3 * j + 1), coord->coords(3 * j + 2));
            if (k + 1 < chain.size()) abc[j] = toBasic(below, belowType, abc[j]);
        }
        below = frameFromPoints(abc[0], abc[1], abc[2]);
        belowType = coord->type();
    }

    // 3. The point itself, in the frame at the top of the chain.
    *point = toBasic(below, belowType, *point);
    return 0;
}

int CKpCoordStore::Count() {
    return entries();
}

IVekCoord* CKpCoordStore::Get(int position) {
    CKpCoord* coord = (*this)[position];
    return coord;
}
