// Offset regions and the surface intersection of the exported interface.

#include <cstring>
#include <string>
#include <vector>

#include "blt/lamlayup.h"
#include "host/LayupApi.h"
#include "host/LayupSlot.h"
#include "host/guard_export.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/IVekOffsetStore.h"
#include "layuplib/copy_text.h"

namespace {

// The layup's offset store; a missing one is reported on the layup's messages.
IVekOffsetStore* offsetStore(CKpLayup* m) {
    IVekOffsetStore* store = m->GetOffsetStore();
    if (!store) m->pMsg()->Create(4, "Invalid offset store.");
    return store;
}

}  // namespace

extern "C" {

int LayupSetOffset2(const char* name, float value, int flag, float sx, float sy, float sz, float dx,
                    float dy, float dz, int count, int* elementIds) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekOffsetStore* store = offsetStore(m);
        if (!store) return 1;
        IVekOffset* off = store->New();
        if (!off) return 2;
        const std::string own = name && *name ? std::string(name) : std::to_string(off->GetId());
        const double seed[3] = {sx, sy, sz};
        const double dir[3] = {dx, dy, dz};
        off->SetName(own.c_str());
        off->SetElementIds(count, elementIds);
        off->SetSeedPoint(seed);
        off->SetApplicationDirection(dir);
        off->SetOffsetValue(value);
        off->SetOffsetFlag(static_cast<EVekOffsetFlag>(flag));
        if (off->Apply() != 0) {
            m->pMsg()->Create(4, "Could not set offset region data");
            return 3;
        }
        m->pMsg()->Create(1, "Offset region data set");
        return 0;
    });
}

int LayupSetOffset(float value, int flag, float sx, float sy, float sz, float dx, float dy,
                   float dz, int count, int* elementIds) {
    return LayupSetOffset2("", value, flag, sx, sy, sz, dx, dy, dz, count, elementIds);
}

int LayupRestoreOffset(void) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekOffsetStore* store = offsetStore(m);
        if (!store) return 1;
        if (store->Clear() != 0) {
            m->pMsg()->Create(4, "Could not restore offset");
            return 2;
        }
        m->pMsg()->Create(1, "Offset restored");
        return 0;
    });
}

int LayupGetNoOffRegions(int, int* count) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekOffsetStore* store = offsetStore(m);
        if (!store) return 1;
        if (count) *count = store->Count();
        return 0;
    });
}

int LayupGetOffRegionsSize(int, int* sizes) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekOffsetStore* store = offsetStore(m);
        if (!store) return 1;
        const int n = store->Count();
        if (BltArrayShort(sizes, n)) {
            m->pMsg()->Create(4, "The offset region size array holds fewer than %d entries.", n);
            return -1;
        }
        for (int i = 0; i < n && sizes; ++i)
            if (IVekOffset* off = store->Get(i)) sizes[i] = off->GetNumElements();
        return 0;
    });
}

int LayupGetOffsetDefn2(int, int nameSize, char** names, float* values, int* flags, int* elementIds,
                        float* seeds, float* directions) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekOffsetStore* store = offsetStore(m);
        if (!store) return 1;
        const int n = store->Count();
        long long total = 0;
        for (int i = 0; i < n; ++i)
            if (IVekOffset* off = store->Get(i)) total += off->GetNumElements();
        // Host arrays are checked before anything is written.
        if (BltArrayShort(names, n) || BltArrayShort(values, n) || BltArrayShort(flags, n) ||
            BltArrayShort(elementIds, total) || BltArrayShort(seeds, 3LL * n) ||
            BltArrayShort(directions, 3LL * n)) {
            m->pMsg()->Create(4, "The offset definition arrays are too small for %d regions.", n);
            return -1;
        }
        long long at = 0;
        for (int i = 0; i < n; ++i) {
            IVekOffset* off = store->Get(i);
            if (!off) continue;
            if (names && names[i] && nameSize >= 1) copy_text(names[i], nameSize, off->GetName());
            if (values) values[i] = static_cast<float>(off->GetOffsetValue());
            if (flags) flags[i] = off->GetOffsetFlag();
            const int count = off->GetNumElements();
            if (count > 0) {
                std::vector<int> ids(static_cast<size_t>(count));
                if (off->GetElementIds(count, ids.data()) != 0) return 2;
                if (elementIds) std::memcpy(elementIds + at, ids.data(), ids.size() * sizeof(int));
                at += count;
            }
            double p[3] = {0, 0, 0}, d[3] = {0, 0, 0};
            off->GetSeedPoint(p);
            off->GetApplicationDirection(d);
            for (int k = 0; k < 3; ++k) {
                if (seeds) seeds[3 * i + k] = static_cast<float>(p[k]);
                if (directions) directions[3 * i + k] = static_cast<float>(d[k]);
            }
        }
        return 0;
    });
}

int LayupGetOffsetDefn(int unused, float* values, int* flags, int* elementIds, float* seeds,
                       float* directions) {
    return LayupGetOffsetDefn2(unused, 0, nullptr, values, flags, elementIds, seeds, directions);
}

int LayupGetSurfaceIntersect(int count, int* elementIds, float* point, float* direction,
                             int* hitElementId, float* hitPoint, float* hitNormal) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        double p[3] = {0, 0, 0}, d[3] = {0, 0, 0}, hp[3] = {0, 0, 0}, hn[3] = {0, 0, 0};
        for (int k = 0; k < 3; ++k) {
            p[k] = point ? point[k] : 0.0f;
            d[k] = direction ? direction[k] : 0.0f;
        }
        int hit = 0;
        const int rc = m->GetElemIntersect(count, elementIds, p, d, &hit, hp, hn);
        if (hitElementId) *hitElementId = hit;
        for (int k = 0; k < 3; ++k) {
            if (hitPoint) hitPoint[k] = static_cast<float>(hp[k]);
            if (hitNormal) hitNormal[k] = static_cast<float>(hn[k]);
        }
        return rc;
    });
}

}  // extern "C"
