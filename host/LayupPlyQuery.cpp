// Ply queries of the exported interface: counts, names, sizes, settings,
// region and drape results.

#include <climits>
#include <cstring>
#include <new>
#include <vector>

#include "host/LayupApi.h"
#include "host/LayupSlot.h"
#include "host/guard_export.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/IVekPlyStore.h"
#include "layuplib/angle_util.h"
#include "layuplib/copy_text.h"

namespace {

IVekPlyStore* plyStore(CKpLayup* m) {
    IVekPlyStore* s = m->GetPlyStore();
    if (!s) m->pMsg()->Create(4, "Invalid ply store.");
    return s;
}

bool matches(IVekPly* ply, int type) {
    return ply && (type == 0 || ply->GetType() == type);
}

int countMatching(IVekPlyStore* s, int type) {
    int n = 0;
    for (int i = 0; i < s->Count(); ++i) n += matches(s->Get(i), type) ? 1 : 0;
    return n;
}

void narrow(const double* d, float* f, int n) {
    for (int k = 0; k < n; ++k) f[k] = static_cast<float>(d[k]);
}

// A whole text into a caller's buffer (within a built-in, copy_text keeps
// to the host's slot).
void copyWhole(char* buffer, const char* text) {
    const size_t n = text ? std::strlen(text) : 0;
    copy_text(buffer, n < INT_MAX ? static_cast<int>(n) + 1 : INT_MAX, text);
}

// The ply of the draped and flat pattern functions and the mappings: null
// after "Invalid ply store." (*status = storeStatus) or "Ply name '%s' does
// not exist." (*status = plyStatus).
IVekPly* patternPly(CKpLayup* m, const char* name, int storeStatus, int plyStatus, int* status) {
    IVekPlyStore* s = plyStore(m);
    if (!s) {
        *status = storeStatus;
        return nullptr;
    }
    IVekPly* ply = name ? s->Get(name) : nullptr;
    if (!ply) {
        m->pMsg()->Create(4, "Ply name '%s' does not exist.", name ? name : "");
        *status = plyStatus;
    }
    return ply;
}

// per x n doubles for the model to fill, none for n below 1; false when they
// cannot be allocated.
bool allocate(std::vector<double>& v, int n, int per) {
    try {
        v.assign(n > 0 ? static_cast<size_t>(n) * per : 0, 0.0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

double* orNull(std::vector<double>& v) {
    return v.empty() ? nullptr : v.data();
}

// The seed curve group of LayupGetPly4 (counts and both arrays given).
void getSeedCurves(CKpLayup* m, IVekPly* ply, char* curveDir, const int* counts, int* elems,
                   int* edges) {
    if (curveDir) copyWhole(curveDir, ply->GetSeedCurveDirectionAngle());
    const int own0 = ply->GetNumSeedCurveEdges(0);
    const int own1 = ply->GetNumSeedCurveEdges(1);
    if (static_cast<long long>(counts[0]) + counts[1] != static_cast<long long>(own0) + own1) {
        m->pMsg()->Create(2,
                          "LayupGetPly: The ply axis element array sizes %d,%d are not equal to "
                          "the number of axis elements %d,%d.",
                          counts[0], counts[1], own0, own1);
        return;
    }
    // The ply refuses a count other than its own, so nothing lands beyond
    // the two counts' sum.
    ply->GetSeedCurveEdges(0, counts[0], elems, edges);
    ply->GetSeedCurveEdges(1, counts[1], elems + own0, edges + own0);
}

}  // namespace

extern "C" {

int LayupGetNumPlies(int type, int* count) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekPlyStore* s = plyStore(m);
        if (!s) return -1;
        const int n = countMatching(s, type);
        if (count) *count = n;
        return 0;
    });
}

int LayupGetPlyNames(int type, int size, char** names, int* results) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekPlyStore* s = plyStore(m);
        if (!s) return -1;
        const int n = countMatching(s, type);
        if (n != size) {
            m->pMsg()->Create(1,
                              "LayupGetPlyNames: The ply name array size %d is not equal to the "
                              "number of matching plies %d.",
                              size, n);
            return -1;
        }
        int k = 0;
        for (int i = 0; i < s->Count(); ++i) {
            IVekPly* ply = s->Get(i);
            if (!matches(ply, type)) continue;
            if (names && names[k]) copyWhole(names[k], ply->GetName());
            if (results) results[k] = ply->GetSimulationResult();
            ++k;
        }
        return 0;
    });
}

int LayupGetPlySizes(int type, const char* name, int* elementCount, int* splitEdgeCount,
                     int* seedCurveEdgeCounts) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekPlyStore* s = plyStore(m);
        if (!s) return -1;
        IVekPly* ply = name ? s->Get(name) : nullptr;
        if (!ply) {
            m->pMsg()->Create(4, "Could not find specified ply.");
            return -1;
        }
        if (type != 0 && ply->GetType() != type) {
            m->pMsg()->Create(4, "Ply not of specified type.");
            return -1;
        }
        if (elementCount) *elementCount = ply->GetNumElements();
        if (splitEdgeCount) *splitEdgeCount = ply->GetNumSplitEdges();
        if (seedCurveEdgeCounts) {
            seedCurveEdgeCounts[0] = ply->GetNumSeedCurveEdges(0);
            seedCurveEdgeCounts[1] = ply->GetNumSeedCurveEdges(1);
        }
        return 0;
    });
}

int LayupGetPly4(int* type, char* name, char* material, int nElems, int* elemIds, int* elemOrders,
                 float* seed, float* app, float* ref, float* refAngle, int* originFlag,
                 float* origin, char* frame, int frameSize, int* curveType, char* curveDir,
                 const int* curveCounts, int* curveElems, int* curveEdges, int* extension,
                 int* inadmMode, float* inadmTol, float* step, float* maxStrain, float* warpWeft,
                 float* ratio, float* bounds, int nSplit, int* splitElems, int* splitEdges,
                 int* splitValues, float* strains, int* simResult) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekPlyStore* s = plyStore(m);
        if (!s) return -1;
        IVekPly* ply = name ? s->Get(name) : nullptr;
        if (!ply) {
            m->pMsg()->Create(4, "Could not find specified ply.");
            return -1;
        }
        // 2. Type.
        if (type) {
            if (*type != 0 && *type != ply->GetType()) {
                m->pMsg()->Create(4, "Ply not of specified type.");
                return -1;
            }
            *type = ply->GetType();
        }
        // 3. Identity and directions. A ply is found by its exact name, so the
        // name is rewritten only if that ever changes, within the given text.
        if (std::strcmp(name, ply->GetName()) != 0)
            copy_text(name, static_cast<int>(std::strlen(name)) + 1, ply->GetName());
        if (material) copyWhole(material, ply->GetMaterialName());
        double xyz[3] = {0, 0, 0};
        if (seed && ply->GetSeedPoint(xyz) == 0) narrow(xyz, seed, 3);
        if (app && ply->GetApplicationDirection(xyz) == 0) narrow(xyz, app, 3);
        if (ref && ply->GetReferenceDirection(xyz) == 0) narrow(xyz, ref, 3);
        if (refAngle) *refAngle = degrees_as_float(ply->GetReferenceAngle());
        // 4. Origin: the frame name goes through a buffer of the caller's size
        // so that copy_text keeps it within the host's slot.
        if (originFlag && origin) {
            *originFlag = 0;
            std::vector<char> text;
            if (frame && frameSize > 0) {
                try {
                    text.assign(static_cast<size_t>(frameSize), '\0');
                } catch (const std::bad_alloc&) {
                    m->pMsg()->Create(4, "Could not allocate memory.");
                }
            }
            if (!text.empty() && ply->GetCoordOriginName(xyz, text.data(), frameSize) == 0) {
                *originFlag = 1;
                narrow(xyz, origin, 3);
                copy_text(frame, frameSize, text.data());
            }
        }
        // 5. Seed curves.
        if (curveType) *curveType = ply->GetSeedCurveType();
        if (curveCounts && curveElems && curveEdges)
            getSeedCurves(m, ply, curveDir, curveCounts, curveElems, curveEdges);
        // 6. Drape settings.
        if (extension) *extension = ply->GetExtensionType();
        if (inadmMode) *inadmMode = ply->GetInadmissibleMode();
        if (inadmTol) *inadmTol = static_cast<float>(ply->GetInadmissibleTolerance());
        if (step) *step = static_cast<float>(ply->GetStepLength());
        if (maxStrain) *maxStrain = degrees_as_float(ply->GetMaximumStrain());
        if (warpWeft) *warpWeft = degrees_as_float(ply->GetWarpWeftAngle());
        if (ratio) *ratio = static_cast<float>(ply->GetWarpWeftRatio());
        if (bounds) {
            double warp2[2] = {0, 0}, weft2[2] = {0, 0};
            if (ply->GetBounds(warp2, weft2) == 0) {
                narrow(warp2, bounds, 2);
                narrow(weft2, bounds + 2, 2);
            }
        }
        // 7. Elements.
        if (nElems > 0 && elemIds && elemOrders) {
            const int own = ply->GetNumElements();
            if (nElems != own)
                m->pMsg()->Create(2,
                                  "LayupGetPly: The ply element array size %d is not equal to the "
                                  "number of elements %d.",
                                  nElems, own);
            else
                ply->GetElementIdsOrders(nElems, elemIds, elemOrders);
        }
        // 8. Split edges.
        if (nSplit > 0 && splitElems && splitEdges) {
            const int own = ply->GetNumSplitEdges();
            if (nSplit != own)
                m->pMsg()->Create(
                    1,
                    "LayupGetPly: The ply split element array size %d is not equal to "
                    "the number of split elements %d.",
                    nSplit, own);
            else
                ply->GetSplitEdges(nSplit, splitElems, splitEdges, splitValues);
        }
        // 9. Simulation.
        if (strains) {
            double two[2] = {0, 0};
            if (ply->GetSimulationStrains(two) == 0) {
                strains[0] = degrees_as_float(two[0]);
                strains[1] = degrees_as_float(two[1]);
            }
            if (ply->GetSimulationThicknesses(two) == 0) narrow(two, strains + 2, 2);
        }
        if (simResult) *simResult = ply->GetSimulationResult();
        return 0;
    });
}

int LayupGetPly3(int* type, char* name, char* material, int nElems, int* elemIds, int* elemOrders,
                 float* seed, float* app, float* ref, float* refAngle, int* originFlag,
                 float* origin, char* frame, int frameSize, int* curveType, char* curveDir,
                 const int* curveCounts, int* curveElems, int* curveEdges, int* extension,
                 float* step, float* maxStrain, float* warpWeft, float* ratio, float* bounds,
                 int nSplit, int* splitElems, int* splitEdges, int* splitValues, float* strains,
                 int* simResult) {
    return guard_export(__func__, -1, [&]() -> int {
        int mode = 0;
        float tolerance = 0.0f;
        return LayupGetPly4(type, name, material, nElems, elemIds, elemOrders, seed, app, ref,
                            refAngle, originFlag, origin, frame, frameSize, curveType, curveDir,
                            curveCounts, curveElems, curveEdges, extension, &mode, &tolerance, step,
                            maxStrain, warpWeft, ratio, bounds, nSplit, splitElems, splitEdges,
                            splitValues, strains, simResult);
    });
}

int LayupGetPly2(int* type, char* name, char* material, int nElems, int* elemIds, int* elemOrders,
                 float* seed, float* app, float* ref, float* refAngle, int* curveType,
                 char* curveDir, const int* curveCounts, int* curveElems, int* curveEdges,
                 int* extension, float* step, float* maxStrain, float* warpWeft, float* ratio,
                 float* bounds, int nSplit, int* splitElems, int* splitEdges, int* splitValues,
                 float* strains, int* simResult) {
    return guard_export(__func__, -1, [&]() -> int {
        int mode = 0, flag = 0;
        float tolerance = 0.0f, origin[3] = {0, 0, 0};
        char frame[256] = "";
        return LayupGetPly4(type, name, material, nElems, elemIds, elemOrders, seed, app, ref,
                            refAngle, &flag, origin, frame, static_cast<int>(sizeof frame),
                            curveType, curveDir, curveCounts, curveElems, curveEdges, extension,
                            &mode, &tolerance, step, maxStrain, warpWeft, ratio, bounds, nSplit,
                            splitElems, splitEdges, splitValues, strains, simResult);
    });
}

int LayupGetPly(int* type, char* name, char* material, int nElems, int* elemIds, int* elemOrders,
                float* seed, float* app, float* ref, float* refAngle, int* curveType,
                char* curveDir, const int* curveCounts, int* curveElems, int* curveEdges,
                int* extension, float* step, float* maxStrain, float* warpWeft, float* ratio,
                float* bounds, int nSplit, int* splitElems, int* splitEdges, float* strains,
                int* simResult) {
    return LayupGetPly2(type, name, material, nElems, elemIds, elemOrders, seed, app, ref, refAngle,
                        curveType, curveDir, curveCounts, curveElems, curveEdges, extension, step,
                        maxStrain, warpWeft, ratio, bounds, nSplit, splitElems, splitEdges, nullptr,
                        strains, simResult);
}

int LayupGetPlyBoundaryNum(const char* name, int* contourCount, int* pointCount) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        return m->GetPlyBoundaryNum(name, contourCount, pointCount);
    });
}

int LayupGetPlyBoundary(const char* name, int contourCount, int pointCount, int* contourSizes,
                        float* points, int* pointIds) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        std::vector<double> xyz;
        if (!allocate(xyz, pointCount, 3)) {
            m->pMsg()->Create(4, "Could not allocate memory.");
            return -1;
        }
        const int rc =
            m->GetPlyBoundary(name, contourCount, pointCount, contourSizes, orNull(xyz), pointIds);
        if (rc == 0 && points) narrow(xyz.data(), points, static_cast<int>(xyz.size()));
        return rc;
    });
}

int LayupGetPlyHolesNum(const char* name, int* count) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        return m->GetPlyHolesNum(name, count);
    });
}

int LayupGetPlyHoles(const char* name, int count, int* elementIds) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        return m->GetPlyHoles(name, count, elementIds);
    });
}

int LayupGetPlyDrapedPatternNum(const char* name, int trim, int* pointCount) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        int status = 0;
        IVekPly* ply = patternPly(m, name, -1, -1, &status);
        return ply ? ply->GetDrapedPatternSizes(trim, pointCount) : status;
    });
}

int LayupGetPlyDrapedPattern(const char* name, int trim, int pointCount, int* previousFirst,
                             int* nextFirst, int* previousSecond, int* nextSecond, int* elementIds,
                             float* points, float* angles) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        int status = 0;
        IVekPly* ply = patternPly(m, name, 1, 2, &status);
        if (!ply) return status;
        std::vector<double> xyz, shear;
        if (!allocate(xyz, pointCount, 3) || !allocate(shear, pointCount, 1)) return 3;
        const int rc =
            ply->GetDrapedPattern(trim, pointCount, previousFirst, nextFirst, previousSecond,
                                  nextSecond, elementIds, orNull(xyz), orNull(shear));
        if (rc == 0) {
            if (points) narrow(xyz.data(), points, static_cast<int>(xyz.size()));
            if (angles) narrow(shear.data(), angles, static_cast<int>(shear.size()));
        }
        return rc;
    });
}

int LayupGetPlyFlatPatternNum(const char* name, int* contourCount, int* pointCount) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        int status = 0;
        IVekPly* ply = patternPly(m, name, -1, -1, &status);
        return ply ? ply->GetFlatPatternSizes(contourCount, pointCount) : status;
    });
}

int LayupGetPlyFlatPattern(const char* name, int contourCount, int pointCount, int* contourSizes,
                           float* points, float* origin, float* axes) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        int status = 0;
        IVekPly* ply = patternPly(m, name, 1, 2, &status);
        if (!ply) return status;
        std::vector<double> xyz;
        if (!allocate(xyz, pointCount, 3)) return 3;
        double o[3] = {0, 0, 0}, a[9] = {0, 0, 0, 0, 0, 0, 0, 0, 0};
        const int rc = ply->GetFlatPattern(contourCount, pointCount, contourSizes, orNull(xyz),
                                           origin ? o : nullptr, axes ? a : nullptr);
        if (rc != 0) return rc;
        if (points) narrow(xyz.data(), points, static_cast<int>(xyz.size()));
        if (origin) narrow(o, origin, 3);
        // The ply gives axis j in column j; the caller gets it as entries 3j..3j+2.
        if (axes)
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) axes[3 * j + i] = static_cast<float>(a[3 * i + j]);
        return 0;
    });
}

int LayupGetPly3DFrom2D(const char* name, float* flatPoint, float* point, int* elementId) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        int status = 0;
        IVekPly* ply = patternPly(m, name, -1, -1, &status);
        if (!ply) return status;
        if (!flatPoint) return -1;
        const double uv[3] = {flatPoint[0], flatPoint[1], 0.0};
        double xyz[3] = {0, 0, 0};
        const int rc = ply->Get3DFrom2D(uv, xyz, elementId);
        if (rc == 0 && point) narrow(xyz, point, 3);
        return rc;
    });
}

int LayupGetPly2DFrom3D(const char* name, float* point, float tolerance, float* flatPoint) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        int status = 0;
        IVekPly* ply = patternPly(m, name, -1, -1, &status);
        if (!ply) return status;
        if (!point) return -1;
        const double xyz[3] = {point[0], point[1], point[2]};
        double uv[2] = {0, 0};
        const int rc = ply->Get2DFrom3D(xyz, tolerance, uv);
        if (rc == 0 && flatPoint) narrow(uv, flatPoint, 2);
        return rc;
    });
}

}  // extern "C"
