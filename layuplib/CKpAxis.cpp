#include "layuplib/CKpAxis.h"

#include <cstdlib>
#include <cstring>

#include "layuplib/CKpAxisPt.h"

namespace {
constexpr int kInitialSlots = 512;
constexpr int kGrowth = 128;
// Far beyond any traced axis; keeps i + 128 clear of overflow.
constexpr int kMaxSlot = 100000000;
}  // namespace

CKpAxis::CKpAxis() : points(nullptr), capacity(0), count(0) {
    points = static_cast<CKpAxisPt**>(std::calloc(kInitialSlots, sizeof(CKpAxisPt*)));
    if (points) capacity = kInitialSlots;
}

CKpAxis::~CKpAxis() {
    reinit();
    std::free(points);
}

CKpAxisPt* CKpAxis::pAxisPt(int i) const {
    return (i >= 0 && i < count) ? points[i] : nullptr;
}

int CKpAxis::pAxisPt(int i, CKpAxisPt* point) {
    if (i < 0 || i > kMaxSlot) return -1;
    if (i >= capacity) {
        const int grown = i + kGrowth;
        auto* array =
            static_cast<CKpAxisPt**>(std::calloc(static_cast<size_t>(grown), sizeof(CKpAxisPt*)));
        if (!array) return -1;
        if (points) std::memcpy(array, points, static_cast<size_t>(capacity) * sizeof(CKpAxisPt*));
        std::free(points);
        points = array;
        capacity = grown;
    }
    if (points[i]) return -1;  // a slot is written only while empty
    points[i] = point;
    if (i + 1 > count) count = i + 1;
    return 0;
}

void CKpAxis::reinit() {
    for (int i = 0; i < count; ++i) {
        delete points[i];
        points[i] = nullptr;
    }
    count = 0;
}
