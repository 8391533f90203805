#include "layuplib/SaveLaminate.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "layuplib/CKpCoord.h"
#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpField.h"
#include "layuplib/CKpFieldStore.h"
#include "layuplib/CKpFieldVal.h"
#include "layuplib/CKpFieldValStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpOrient.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpProp.h"
#include "layuplib/CKpPropElem.h"
#include "layuplib/CKpPropStore.h"
#include "layuplib/CKpStr.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/angle_util.h"
#include "layuplib/geom_util.h"
#include "layuplib/num_util.h"
#include "layuplib/store_or_free.h"

namespace {

const double kNoAngle = -1000.0;
const double kTenthDegree = kPi / 1800.0;

void allocError(CKpMsg* log) {
    if (log) log->Create(4, "Could not allocate memory.");
}

// Ids are handed out rising from the caller's first id; the largest int is
// never handed out, so a counter cannot wrap round into ids already used.
bool idLeft(CKpMsg* log, int counter, const char* what) {
    if (counter < INT_MAX) return true;
    if (log) log->Create(4, "No %s id is left below %d.", what, INT_MAX);
    return false;
}

// Inserts a newly created object. When the store cannot take it (it could
// not grow) the object is deleted, the allocation error issued and false
// returned.
template <class Store, class T>
bool insertNew(CKpMsg* log, Store* store, T* obj) {
    if (store_or_free(store, obj, nullptr, nullptr) == 0) return true;
    allocError(log);
    return false;
}

// ---- The ply stack as matching reads it ----

struct PlyRec {
    int gplyid;
    int mid;
    int sttid;
    double thck;      // ply thickness: material thickness with ignore thickness
    double mtrlthck;  // material thickness
    double drapedThck;
    double rotn;
};

// One element's stack, read once, since matching reads each ply many times.
// A layup ply builds its name afresh on every call, so the names are kept
// per layup ply for the whole run (a run renames nothing). The buffers keep
// their capacity from element to element.
class Stack {
  public:
    // The material state is read only with shear correction 1: it is
    // looked up by shear on every call.
    void load(const CKpElemLypPlyStore* plies, int ignoreThickness, int shearCorrection) {
        m_recs.clear();
        m_names.clear();
        for (const CKpElemLypPly* p = plies ? plies->First() : nullptr; p; p = plies->Next(p)) {
            PlyRec r;
            r.gplyid = p->gplyid();
            r.mid = p->mtrl();
            r.sttid = shearCorrection == 1 ? p->sttid() : 0;
            r.mtrlthck = p->mtrlthck();
            r.drapedThck = ignoreThickness ? 0.0 : p->thck();
            r.thck = ignoreThickness ? r.mtrlthck : r.drapedThck;
            r.rotn = p->rotn();
            m_recs.push_back(r);
            m_names.push_back(nameOf(p));
        }
    }
    int size() const { return static_cast<int>(m_recs.size()); }
    const PlyRec& operator[](int k) const { return m_recs[k]; }
    const char* name(int k) const { return m_names[k]; }

  private:
    const char* nameOf(const CKpElemLypPly* p) {
        const CKpLypPly* lypPly = p->getLypPly();
        auto it = m_nameOf.find(lypPly);
        if (it == m_nameOf.end()) it = m_nameOf.emplace(lypPly, p->GetLayupPlyName()).first;
        return it->second.c_str();  // map nodes never move
    }

    std::vector<PlyRec> m_recs;
    std::vector<const char*> m_names;
    std::unordered_map<const CKpLypPly*, std::string> m_nameOf;
};

// ---- The exactly compared key of a stack or laminate (FNV-1a) ----

class KeyHash {
  public:
    void add(int v) {
        const uint32_t u = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i) byte(static_cast<unsigned char>(u >> (8 * i)));
    }
    void add(const char* s) {
        for (; s && *s; ++s) byte(static_cast<unsigned char>(*s));
        byte(0);
    }
    uint64_t value() const { return m_h; }

  private:
    void byte(unsigned char b) {
        m_h ^= b;
        m_h *= 1099511628211ULL;
    }
    uint64_t m_h = 14695981039346656037ULL;
};

uint64_t stackKey(const Stack& s) {
    KeyHash h;
    h.add(s.size());
    for (int k = 0; k < s.size(); ++k) {
        h.add(s[k].gplyid);
        h.add(s[k].mid);
        h.add(s[k].sttid);
        h.add(s.name(k));
    }
    return h.value();
}

// Candidate property sets and laminates of one run by key, each bucket in
// ascending id order. Keys that collide only share a bucket: matching still
// compares everything.
class CandidateIndex {
  public:
    const std::vector<CKpProp*>* props(uint64_t key) const { return find(m_props, key); }
    const std::vector<CKpLam*>* lams(uint64_t key) const { return find(m_lams, key); }
    void add(uint64_t key, CKpProp* p) { insertById(m_props[key], p); }
    void add(uint64_t key, CKpLam* l) { insertById(m_lams[key], l); }

  private:
    template <class T>
    static const std::vector<T*>* find(const std::unordered_map<uint64_t, std::vector<T*>>& map,
                                       uint64_t key) {
        auto it = map.find(key);
        return it == map.end() ? nullptr : &it->second;
    }
    // Counters hand out rising ids, so this is an append in practice.
    template <class T>
    static void insertById(std::vector<T*>& bucket, T* obj) {
        auto pos = std::upper_bound(bucket.begin(), bucket.end(), obj,
                                    [](const T* a, const T* b) { return a->id() < b->id(); });
        bucket.insert(pos, obj);
    }
    std::unordered_map<uint64_t, std::vector<CKpProp*>> m_props;
    std::unordered_map<uint64_t, std::vector<CKpLam*>> m_lams;
};

// ---- Matching on a loaded stack ----

int matchLam(const Stack& s, double T, double z0, CKpLam* lam, double angTol, double thkTol,
             int shearCorrection, double& a0, double& a1) {
    const int n = s.size();
    if (!lam || n < 1) return 0;
    const CKpLamLyrStore* lyrs = lam->LamLyrs();
    if (!lyrs || lyrs->entries() != n) return 0;
    if (std::fabs(z0 - lam->z0()) > RatPct(thkTol) * T) return 0;

    double lo = 0.0, hi = 0.0;
    int k = 0;
    for (const CKpLamLyr* lyr = lyrs->First(); lyr && k < n; lyr = lyrs->Next(lyr), ++k) {
        const PlyRec& p = s[k];
        if (p.gplyid != lyr->gplyid() || p.mid != lyr->mid()) return 0;
        if (shearCorrection == 1 && p.sttid != lyr->sttid()) return 0;
        if (std::strcmp(s.name(k), lyr->layupPlyName()) != 0) return 0;
        if (std::fabs(p.thck - lyr->t()) > RatPct(thkTol) * lyr->t()) return 0;
        const double d = pi_pi(p.rotn - lyr->theta());
        if (k == 0) {
            lo = hi = d;
        } else if (ang0_lt2pi(d - lo) > ang0_lt2pi(hi - lo)) {
            // Grow the arc on the side nearer to d.
            const double mid = pi_pi(ang0_lt2pi(hi - lo) / 2.0 + lo);
            if (pi_pi(d - mid) > 0.0)
                hi = d;
            else
                lo = d;
        }
        if (ang0_lt2pi(hi - lo) > 2.0 * angTol) return 0;
    }
    a0 = pi_pi(hi - angTol);
    a1 = pi_pi(lo + angTol);
    if (angTol > kPi && angTol > ang0_lt2pi(a1 - a0)) a1 = a0;
    return 1;
}

// A projection that succeeded and gave an angle.
bool projects(CKpMsg* log, const CKpDirn& N, const CKpDirn& R, const CKpDirn& v, double switchAngle,
              double& angle) {
    double a = kNoAngle;
    if (!SaveLaminateMatchProjVector(log, N, R, v, switchAngle, a) || a == kNoAngle) return false;
    angle = a;
    return true;
}

int createLam(CKpMsg* log, const char* name, const Stack& s, double theta, double z0,
              int ignoreThickness, int equallySpaced, int shearCorrection, double angTol,
              double thkTol, CKpLam*& out, int& lamCounter, CKpLamStore* lams) {
    if (!lams) return -1;
    if (!idLeft(log, lamCounter, "laminate")) return -1;
    const int id = lamCounter;
    CKpStr lamName(name ? name : "");
    lamName += id;
    CKpLam* lam = new (std::nothrow) CKpLam(id, lamName, z0);
    if (!lam || !lam->LamLyrs()) {
        delete lam;
        allocError(log);
        return -1;
    }
    if (!insertNew(log, lams, lam)) return -1;
    for (int k = 0; k < s.size(); ++k) {
        const PlyRec& p = s[k];
        CKpLamLyr* lyr = new (std::nothrow) CKpLamLyr();
        if (!lyr) {
            lams->eraseObject(lam);
            allocError(log);
            return -1;
        }
        lyr->setGplyid(p.gplyid);
        lyr->SetLayupPlyName(s.name(k));
        lyr->setMid(p.mid);
        if (shearCorrection == 1) lyr->setSttid(p.sttid);
        if (ignoreThickness)
            lyr->setT(p.mtrlthck);
        else if (equallySpaced)
            lyr->setT(eql_spcd_vars_thck(thkTol, p.mtrlthck, p.drapedThck));
        else
            lyr->setT(p.drapedThck);
        const double d = pi_pi(p.rotn - theta);
        lyr->setTheta(equallySpaced ? eql_spcd_vars_ang(angTol, d) : d);
        lam->LamLyrs()->InsertLast(lyr);
    }
    out = lam;
    lamCounter = id + 1;
    return 0;
}

// ---- The process-wide frames of modes 1 and 6 ----

CKpCoord& modeFrame(int which) {
    static CKpCoord frames[2] = {CKpCoord(0), CKpCoord(0)};
    return frames[which == 1 ? 1 : 0];
}

// Origin (0,0,0), z towards primary x secondary, x-z plane through `inPlane`.
void setModeFrame(CKpCoord& frame, int id, const CKpDirn& normal, const CKpDirn& inPlane) {
    frame.setId(id);
    frame.setType(CKpCoordRectangular);
    frame.setRid(0);
    for (int i = 0; i < 3; ++i) {
        frame.setCoords(0.0, i);
        frame.setCoords(normal.Get(i), 3 + i);
        frame.setCoords(inPlane.Get(i), 6 + i);
    }
}

// Steps a to d of the vector check; -1 on an error.
int checkVectors(CKpMsg* log, bool axes, const CKpDirn& p, const CKpDirn& s, double& switchAngle) {
    if (p.mag() == 0.0) {
        if (log)
            log->Create(4,
                        axes ? "Primary coordinate axis <%g,%g,%g> has null length."
                             : "Primary vector <%g,%g,%g> has null length.",
                        p.getx(), p.gety(), p.getz());
        return -1;
    }
    if (s.mag() == 0.0) {
        if (log)
            log->Create(2,
                        axes ? "Secondary coordinate axis <%g,%g,%g> has null length, setting "
                               "switch angle to zero."
                             : "Secondary vector <%g,%g,%g> has null length, setting switch "
                               "angle to zero.",
                        s.getx(), s.gety(), s.getz());
        switchAngle = 0.0;
        return 0;
    }
    if (kTenthDegree > switchAngle) {
        if (log)
            log->Create(2, "Switch angle %g too small, reset to projection limit %g.",
                        degrees(switchAngle), degrees(kTenthDegree));
        switchAngle = kTenthDegree;
    }
    const double a = p.Angle(&s);
    if (switchAngle > a || a > kPi - switchAngle) {
        if (log)
            log->Create(4,
                        axes ? "Coordinate axes <%g,%g,%g> and <%g,%g,%g> separated by less "
                               "than switch angle %g."
                             : "Vectors <%g,%g,%g> and <%g,%g,%g> separated by less than "
                               "switch angle %g.",
                        p.getx(), p.gety(), p.getz(), s.getx(), s.gety(), s.getz(), switchAngle);
        return -1;
    }
    return 0;
}

// A new orientation (id highest + 1) in `orients`; null after an
// allocation failure (also when no id is left above the highest).
CKpOrient* newOrient(CKpMsg* log, CKpOrientStore* orients, const char* name, int type) {
    CKpOrient* orient =
        orients->maxId() < INT_MAX ? new (std::nothrow) CKpOrient(orients->maxId() + 1) : nullptr;
    if (!orient) {
        allocError(log);
        return nullptr;
    }
    orient->setName(name);
    orient->setType(type);
    if (!insertNew(log, orients, orient)) return nullptr;
    return orient;
}

// ---- One element ----

// Everything of a run that stays the same from element to element.
struct RunData {
    CKpMsg* log;
    const char* name;
    const int* options;
    int mode;
    CKpPoint pointA, pointB;
    CKpDirn primary, secondary, normal;
    CKpCoord* frame0;
    CKpCoord* frame1;
    double switchAngle, angTol, thkTol;
    int ignoreThickness, equallySpaced, shearCorrection;
    int* coordCounter;
    CKpField* field;
    CKpOrient* orient;
    const char* fieldName;
    int* lamCounter;
    int* propCounter;
    CKpCoordStore* coords;
    CKpOrientStore* orients;
    CKpLamStore* lams;
    CKpPropStore* props;
    CandidateIndex* index;  // null: the stores are searched in full
    Stack stack;            // scratch
};

bool needsGeometry(int mode) {
    switch (mode) {
        case 1:
        case 2:
        case 5:
        case 6:
        case 7:
        case 8:
        case 107:
        case 108:
        case 118:
        case 1108:
            return true;
        default:
            return false;
    }
}

bool isFrameMode(int mode) {
    return mode == 8 || mode == 107 || mode == 108 || mode == 118 || mode == 1108;
}

void linkOrient(CKpElem* elem, CKpOrient* orient) {
    elem->pOrient(orient);
    elem->orientId(orient ? orient->id() : 0);
}

// The first candidate in ascending id order for which `fits` holds: from the
// index bucket when there is an index, else from the whole store.
template <class T, class Store, class Fits>
T* firstFit(const std::vector<T*>* bucket, bool indexed, Store* store, Fits fits) {
    if (indexed) {
        if (bucket)
            for (T* c : *bucket)
                if (fits(c)) return c;
        return nullptr;
    }
    if (!store) return nullptr;
    CVekObjectStoreIterator<T> it(*store);
    while (++it)
        if (it.key() && fits(it.key())) return it.key();
    return nullptr;
}

int saveElem(RunData& r, CKpElem* shell, const CKpElemLypPlyStore* plies, int offFlag,
             double offValue, CKpElem* elem) {
    // 1. Elements without plies get no property set.
    if (!plies || plies->entries() == 0) return 0;
    CKpMsg* log = r.log;
    if (!shell || !elem) {
        if (log) log->Create(4, "Missing element for saving a laminate.");
        return -1;
    }
    const int mode = r.mode;

    // 2.-3. Tolerances and the stack.
    const double angTol = std::min(r.angTol, shell->getangtol());
    const double thkTol = std::min(r.thkTol, shell->getthktol());
    Stack& s = r.stack;
    s.load(plies, r.ignoreThickness, r.shearCorrection);
    if (s.size() == 0) return 0;
    double T = 0.0;
    for (int k = 0; k < s.size(); ++k) T += s[k].thck;
    const double z0 = offFlag == -1 ? offValue - T : offFlag == 0 ? offValue - T / 2.0 : offValue;
    const uint64_t key = r.index ? stackKey(s) : 0;

    CKpDirn N, R;
    if (needsGeometry(mode) && (shell->GetNormal(&N) != 0 || shell->GetReference(&R) != 0)) {
        if (log) log->Create(4, "Could not calculate the geometry of element %d.", shell->id());
        return -1;
    }
    const bool needsOrient = mode == 4 || mode == 9 || mode == 2004;
    if ((needsOrient && !r.orient) || (mode == 9 && !r.field) ||
        ((mode == 2 || isFrameMode(mode)) && !r.coords) || !r.lams || !r.props) {
        if (log) log->Create(4, "Missing data for saving the laminate of element %d.", elem->id());
        return -1;
    }

    // 4. The element orientation.
    CKpDirn primary = r.primary, secondary = r.secondary;
    double switchAngle = r.switchAngle;
    if (mode == 7 || mode == 107) {
        primary.Set(1.0, 0.0, 0.0);
        secondary.Set(0.0, 0.0, 1.0);
        switchAngle = kTenthDegree;
    }
    double theta = shell->theta();
    CKpDirn dirn;
    CKpCoord* frame = nullptr;
    CKpPoint point;
    auto angleFailed = [&]() {
        if (log)
            log->Create(4, "Could not calculate the material angle of element %d.", elem->id());
        return -1;
    };
    switch (mode) {
        case 0:
        case 1:
        case 2:
        case 3:
            break;
        case 4:
            linkOrient(elem, r.orient);
            theta = 0.0;
            elem->theta(theta);
            break;
        case 5:
        case 6:
        case 7: {
            double a = kNoAngle;
            if (SaveLaminateMatchProjVector(log, N, R, primary, switchAngle, a)) {
                theta = a;
                dirn = primary;
                if (mode == 6) frame = r.frame0;
            } else {
                theta = ang_dn_elem(log, secondary, N, R);
                dirn = secondary;
                if (mode == 6) frame = r.frame1;
            }
            if (theta == kNoAngle) return angleFailed();
            elem->theta(theta);
            break;
        }
        case 8:
        case 107:
        case 108:
        case 118:
        case 1108: {
            double a = kNoAngle;
            if (SaveLaminateMatchProjVector(log, N, R, primary, switchAngle, a)) {
                theta = a;
                point = r.pointA;
            } else {
                theta = ang_dn_elem(log, secondary, N, R);
                point = r.pointB;
            }
            if (theta == kNoAngle) return angleFailed();
            double c0, c1;
            frame = firstFit<CKpCoord>(nullptr, false, r.coords, [&](CKpCoord* f) {
                return SaveLaminateMatchCoord(point, N, R, theta, theta, f, angTol, thkTol, c0,
                                              c1) == 1;
            });
            if (!frame && SaveLaminateCreateCoord(log, point, N, R, theta, theta, frame,
                                                  *r.coordCounter, r.coords) != 0)
                return -1;
            CKpDirn ax[3];
            if (frame->axes(nullptr, ax) != 0) return angleFailed();
            dirn = ax[0];
            theta = ang_dn_elem(log, dirn, N, R);
            if (theta == kNoAngle) return angleFailed();
            elem->theta(theta);
            break;
        }
        case 9: {
            linkOrient(elem, r.orient);
            theta = s[0].rotn;
            elem->theta(theta);
            CKpFieldValStore* vals = r.field->GetFieldVals();
            if (!vals) {
                allocError(log);
                return -1;
            }
            CKpFieldVal* val = vals->find(elem->id());
            if (!val) {
                val = new (std::nothrow) CKpFieldVal(elem->id());
                if (!val) {
                    allocError(log);
                    return -1;
                }
                if (!insertNew(log, vals, val)) return -1;
            }
            if (val->SetVals(1, &theta) != 0) {
                allocError(log);
                return -1;
            }
            vals->SetIsConstantValValid(0);
            break;
        }
        case 2004:
            linkOrient(elem, r.orient);
            theta = shell->GetThetaAnsys(log);
            elem->theta(theta);
            break;
        default:
            if (log) log->Create(4, "Unsupported property mode.");
            return -1;
    }

    // 5. An existing property set that fits.
    const CKpPoint origin;
    double a0 = 0.0, a1 = 0.0;
    auto propFits = [&](CKpProp* P) {
        if (!matchLam(s, T, z0, P->pLam(), angTol, thkTol, r.shearCorrection, a0, a1)) return false;
        double a = kNoAngle, c0 = 0.0, c1 = 0.0;
        switch (mode) {
            case 1:
                return projects(log, N, R, P->pDirn(), switchAngle, a) &&
                       SaveLaminateMatchAng(a0, a1, a) == 1;
            case 2:
                return SaveLaminateMatchCoord(origin, N, R, a0, a1, P->pCoord(), kPi / 36.0, thkTol,
                                              c0, c1) == 1 &&
                       SaveLaminateMatchAng(c0, c1, P->rotn()) == 1;
            case 3:
                return SaveLaminateMatchAng(a0, a1, P->rotn()) == 1;
            case 8:
            case 107:
            case 108:
            case 118:
            case 1108:
                return SaveLaminateMatchCoord(point, N, R, a0, a1, P->pCoord(), angTol, thkTol, c0,
                                              c1) == 1 &&
                       projects(log, N, R, P->pDirn(), switchAngle, a) && a0 != a1 &&
                       SaveLaminateMatchAng(a0, a1, a) == 1;
            default:  // 0, 4, 5, 6, 7, 9, 2004
                return SaveLaminateMatchAng(a0, a1, theta) == 1;
        }
    };
    const bool indexed = r.index != nullptr;
    if (CKpProp* P =
            firstFit<CKpProp>(indexed ? r.index->props(key) : nullptr, indexed, r.props, propFits))
        return SaveLaminateAddElem(log, P, elem);

    // 6. The laminate: an existing one that fits (and holds `held` in its
    // arc when asked), else a new one.
    auto fittingLam = [&](bool holds, double held) {
        return firstFit<CKpLam>(
            indexed ? r.index->lams(key) : nullptr, indexed, r.lams, [&](CKpLam* L) {
                return matchLam(s, T, z0, L, angTol, thkTol, r.shearCorrection, a0, a1) &&
                       (!holds || SaveLaminateMatchAng(a0, a1, held) == 1);
            });
    };
    CKpLam* lam = nullptr;
    bool newLam = false;
    auto makeLam = [&](double ref) {
        newLam = true;
        return createLam(log, r.name, s, ref, z0, r.ignoreThickness, r.equallySpaced,
                         r.shearCorrection, angTol, thkTol, lam, *r.lamCounter, r.lams);
    };
    double propAngle = 0.0;
    int axis = 0;
    switch (mode) {
        case 1: {
            double a = kNoAngle;
            if (projects(log, N, R, primary, switchAngle, a)) {
                axis = 3;
                dirn = primary;
            } else if (projects(log, N, R, r.normal, switchAngle, a)) {
                // The solver then takes the material direction from the frame's
                // z axis, the normal vector, so the reference angle comes from it.
                axis = 2;
                dirn = secondary;
            } else {
                if (log)
                    log->Create(4,
                                "Could not project the primary or the normal vector onto "
                                "element %d.",
                                elem->id());
                return -1;
            }
            theta = a;
            lam = fittingLam(true, theta);
            if (!lam && makeLam(theta) != 0) return -1;
            frame = r.frame0;
            break;
        }
        case 2: {
            theta = s[0].rotn;
            lam = fittingLam(false, 0.0);
            if (!lam) {
                if (makeLam(theta) != 0) return -1;
                a0 = pi_pi(theta - angTol);
                a1 = pi_pi(theta + angTol);
            }
            double c0, c1;
            frame = firstFit<CKpCoord>(nullptr, false, r.coords, [&](CKpCoord* f) {
                return SaveLaminateMatchCoord(origin, N, R, a0, a1, f, kPi / 36.0, thkTol, c0,
                                              c1) == 1 &&
                       SaveLaminateMatchAng(c0, c1, 0.0) == 1;
            });
            if (!frame && SaveLaminateCreateCoord(log, origin, N, R, a0, a1, frame, *r.coordCounter,
                                                  r.coords) != 0)
                return -1;
            break;
        }
        case 3:
            theta = s[0].rotn;
            lam = fittingLam(true, theta);
            if (!lam && makeLam(theta) != 0) return -1;
            propAngle = theta;
            break;
        case 8:
        case 107:
        case 108:
        case 118:
        case 1108:
            lam = fittingLam(true, theta);
            if (!lam && makeLam(theta) != 0) return -1;
            break;
        default:  // 0, 4, 5, 6, 7, 9, 2004: every property set has its own laminate
            if (makeLam(theta) != 0) return -1;
            break;
    }
    if (newLam && r.index) r.index->add(key, lam);

    // 7. The property set.
    CKpProp* prop = nullptr;
    if (SaveLaminateCreateProp(log, r.name, r.options, mode, propAngle, dirn, axis, lam, frame,
                               r.fieldName ? r.fieldName : "", elem, prop, *r.propCounter,
                               r.props) != 0)
        return -1;
    if (r.index) r.index->add(key, prop);
    return 0;
}

}  // namespace

// ---- Public functions ----

int SaveLaminate(CKpMsg* log, const char* name, const int options[6], CKpElemStore* elems, int mode,
                 int coordId0, int coordId1, CKpDirn primary, CKpDirn secondary, double switchAngle,
                 double angTol, double thkTol, int firstCoordId, int firstFieldId, int firstLamId,
                 int firstPropId, int ignoreThickness, int equallySpaced, int shearCorrection,
                 CKpPropStore* props, CKpLamStore* lams, CKpCoordStore* coords,
                 CKpFieldStore* fields, CKpOrientStore* orients) {
    if (!elems || !props || !lams || !coords || !fields || !orients) {
        if (log) log->Create(4, "Missing store for saving laminates.");
        return -1;
    }
    if (!name) name = "";

    // 1. What an earlier run made.
    props->eraseAllObjects();
    if (mode != 0) orients->Clear();
    if (lams->Clear() != 0) lams->eraseAllObjects();

    try {
        // 2. Mode set-up.
        CKpDirn normal;
        CKpField* field = nullptr;
        CKpOrient* orient = nullptr;
        switch (mode) {
            case 0:
            case 2:
            case 3:
            case 7:
                break;
            case 1:
                normal.setCrossProduct(&primary, &secondary);
                setModeFrame(modeFrame(0), coordId0, normal, primary);
                break;
            case 4:
                if (!(orient = newOrient(log, orients, "Default", 0))) return -1;
                break;
            case 5:
            case 8:
            case 108:
            case 118:
            case 1108:
                if (checkVectors(log, false, primary, secondary, switchAngle) != 0) return -1;
                break;
            case 6:
                if (checkVectors(log, true, primary, secondary, switchAngle) != 0) return -1;
                normal.setCrossProduct(&primary, &secondary);
                setModeFrame(modeFrame(0), coordId0, normal, primary);
                setModeFrame(modeFrame(1), coordId1, normal, secondary);
                break;
            case 9: {
                CKpStr fieldName(name);
                fieldName += firstFieldId;
                // Its orientation too needs an id: both are checked first, so
                // that no field is left without one.
                if (fields->maxId() < INT_MAX && orients->maxId() < INT_MAX)
                    field = new (std::nothrow) CKpField(fields->maxId() + 1);
                if (!field) {
                    allocError(log);
                    return -1;
                }
                field->SetName(fieldName);
                field->SetType(EVekFieldThickness);
                if (!insertNew(log, fields, field)) return -1;
                if (!(orient = newOrient(log, orients, fieldName, CKpOrient::TypeElemValues)))
                    return -1;
                orient->setRefId(field->id());
                break;
            }
            case 2004:
                if (!(orient = newOrient(log, orients, "Default(ANSYS)", 10))) return -1;
                break;
            default:
                if (log) log->Create(4, "Unsupported property mode.");
                return -1;
        }

        // 3. Tolerances and counters.
        int coordCounter = firstCoordId, lamCounter = firstLamId, propCounter = firstPropId;
        CandidateIndex index;
        RunData r{log,
                  name,
                  options,
                  mode,
                  CKpPoint(),
                  CKpPoint(),
                  primary,
                  secondary,
                  normal,
                  &modeFrame(0),
                  &modeFrame(1),
                  switchAngle,
                  std::max(0.0, angTol),
                  std::max(0.0, thkTol),
                  ignoreThickness,
                  equallySpaced,
                  shearCorrection,
                  &coordCounter,
                  field,
                  orient,
                  field ? field->GetName() : "",
                  &lamCounter,
                  &propCounter,
                  coords,
                  orients,
                  lams,
                  props,
                  &index,
                  Stack()};

        // 4. The selected elements in ascending id order.
        CVekObjectStoreIterator<CKpElem> it(*elems);
        while (++it) {
            CKpElem* e = it.key();
            if (!e || !e->getSltd()) continue;
            if (saveElem(r, e, e->getElemLypPlies(), e->getoff_fg(), e->getoff_val(), e) != 0)
                return -1;
        }
    } catch (const std::bad_alloc&) {
        allocError(log);
        return -1;
    }
    return 0;
}

int SaveLaminateElem(CKpMsg* log, const char* name, const int options[6], int mode,
                     const CKpPoint& pointA, const CKpPoint& pointB, CKpDirn primary,
                     CKpDirn secondary, CKpDirn normal, CKpCoord* frame0, CKpCoord* frame1,
                     double switchAngle, double angTol, double thkTol, int ignoreThickness,
                     int equallySpaced, int shearCorrection, int& coordCounter, CKpField* field,
                     CKpOrient* orient, const char* fieldName, int& lamCounter, int& propCounter,
                     CKpCoordStore* coords, CKpFieldStore* /*fields*/, CKpOrientStore* orients,
                     CKpLamStore* lams, CKpPropStore* props, CKpElem* shell,
                     CKpElemLypPlyStore* plies, int offFlag, double offValue, CKpElem* elem) {
    try {
        RunData r{log,
                  name ? name : "",
                  options,
                  mode,
                  pointA,
                  pointB,
                  primary,
                  secondary,
                  normal,
                  frame0,
                  frame1,
                  switchAngle,
                  angTol,
                  thkTol,
                  ignoreThickness,
                  equallySpaced,
                  shearCorrection,
                  &coordCounter,
                  field,
                  orient,
                  fieldName,
                  &lamCounter,
                  &propCounter,
                  coords,
                  orients,
                  lams,
                  props,
                  nullptr,
                  Stack()};
        return saveElem(r, shell, plies, offFlag, offValue, elem);
    } catch (const std::bad_alloc&) {
        allocError(log);
        return -1;
    }
}

int SaveLaminateMatchLam(CKpElemLypPlyStore* plies, int n, double T, double z0, CKpLam* lam,
                         double angTol, double thkTol, int ignoreThickness, int shearCorrection,
                         double& a0, double& a1) {
    if (!plies || n < 1 || n != plies->entries()) return 0;
    try {
        Stack s;
        s.load(plies, ignoreThickness, shearCorrection);
        return matchLam(s, T, z0, lam, angTol, thkTol, shearCorrection, a0, a1);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int SaveLaminateMatchAng(double a0, double a1, double a) {
    if (a1 == a0) return 0;
    return ang0_lt2pi(a - a0) <= ang0_lt2pi(a1 - a0) ? 1 : 0;
}

int SaveLaminateMatchProjVector(CKpMsg* log, CKpDirn N, CKpDirn R, CKpDirn v, double switchAngle,
                                double& angle) {
    v.unitize();
    if (!v.IsNull()) {
        const double a = N.Angle(&v);
        if (switchAngle > a || a > kPi - switchAngle) return 0;
    }
    angle = ang_dn_elem(log, v, N, R);
    return 1;
}

int SaveLaminateMatchCoord(const CKpPoint& P, CKpDirn N, CKpDirn R, double a0, double a1,
                           CKpCoord* F, double angTol, double distTol, double& c0, double& c1) {
    if (!F) return 0;
    CKpPoint origin;
    F->GetOrigin(&origin);
    if (dist_2pt(&origin, &P) > distTol) return 0;
    CKpDirn ax[3];
    if (F->axes(nullptr, ax) != 0) return 0;
    if (N.Angle(&ax[2]) > angTol) return 0;

    double c[2];
    const double a[2] = {a0, a1};
    for (int i = 0; i < 2; ++i) {
        CKpDirn x = R, y, w;
        rotate_dirn_dirn(&N, &R, a[i], &x);
        y.setCrossProduct(&N, &x);
        w.setCrossProduct(&y, &ax[2]);
        c[i] = ang_dn_coord(w, F);
        if (c[i] == kNoAngle) return 0;
    }
    if (pi_pi(c[1] - c[0]) >= 0.0) {
        c0 = c[0];
        c1 = c[1];
    } else {
        c0 = c[1];
        c1 = c[0];
    }
    return 1;
}

int SaveLaminateCreateLam(CKpMsg* log, const char* name, CKpElemLypPlyStore* plies, double theta,
                          int n, double z0, int ignoreThickness, int equallySpaced,
                          int shearCorrection, double angTol, double thkTol, CKpLam*& lam,
                          int& lamCounter, CKpLamStore* lams) {
    if (!plies || !lams || n != plies->entries()) return -1;
    try {
        Stack s;
        s.load(plies, ignoreThickness, shearCorrection);
        return createLam(log, name, s, theta, z0, ignoreThickness, equallySpaced, shearCorrection,
                         angTol, thkTol, lam, lamCounter, lams);
    } catch (const std::bad_alloc&) {
        allocError(log);
        return -1;
    }
}

int SaveLaminateCreateCoord(CKpMsg* log, const CKpPoint& P, CKpDirn N, CKpDirn R, double a0,
                            double a1, CKpCoord*& frame, int& coordCounter, CKpCoordStore* coords) {
    if (!coords) return -1;
    if (!idLeft(log, coordCounter, "coordinate frame")) return -1;
    CKpCoord* f = new (std::nothrow) CKpCoord(coordCounter);
    if (!f) {
        allocError(log);
        return -1;
    }
    CKpDirn x = R;
    rotate_dirn_dirn(&N, &R, pi_pi(pi_pi(a1 - a0) / 2.0 + a0), &x);
    f->setType(CKpCoordRectangular);
    f->setRid(0);
    for (int i = 0; i < 3; ++i) {
        f->setCoords(P.Get(i), i);
        f->setCoords(P.Get(i) + N.Get(i), 3 + i);
        f->setCoords(P.Get(i) + x.Get(i), 6 + i);
    }
    if (!insertNew(log, coords, f)) return -1;
    frame = f;
    ++coordCounter;
    return 0;
}

int SaveLaminateCreateProp(CKpMsg* log, const char* name, const int options[6], int mode,
                           double angle, const CKpDirn& direction, int axis, CKpLam* lam,
                           CKpCoord* frame, const char* fieldName, CKpElem* elem, CKpProp*& prop,
                           int& propCounter, CKpPropStore* props) {
    if (!props || !elem) return -1;
    if (!idLeft(log, propCounter, "property set")) return -1;
    CKpProp* p = new (std::nothrow)
        CKpProp(propCounter, name ? name : "", mode, lam, frame, angle, direction, axis, options);
    if (!p) {
        allocError(log);
        return -1;
    }
    p->fieldName(fieldName ? fieldName : "");
    if (SaveLaminateAddElem(log, p, elem) != 0) {
        delete p;
        return -1;
    }
    if (!insertNew(log, props, p)) return -1;
    prop = p;
    ++propCounter;
    return 0;
}

int SaveLaminateAddElem(CKpMsg* log, CKpProp* prop, CKpElem* elem) {
    if (!prop || !elem) return -1;
    CKpPropElem* entry = new (std::nothrow) CKpPropElem(elem->id());
    CKpPropElemStore& entries = prop->pPropElems();
    if (!entry || entries.insert(entry) != 0) {
        delete entry;
        allocError(log);
        return -1;
    }
    if (prop->pLam()) elem->pid(prop->pLam()->id());
    return 0;
}

int SaveLaminateCalcData(CKpElemLypPlyStore* plies, int offFlag, double offValue,
                         int ignoreThickness, int& n, double& T, double& z0) {
    n = 0;
    T = 0.0;
    for (const CKpElemLypPly* p = plies ? plies->First() : nullptr; p; p = plies->Next(p)) {
        ++n;
        T += ignoreThickness ? p->mtrlthck() : p->thck();
    }
    z0 = offFlag == -1 ? offValue - T : offFlag == 0 ? offValue - T / 2.0 : offValue;
    return 0;
}

namespace {

// q rounded: its integer part, plus 1 for a fraction >= 0.5, minus 1 for
// one below -0.5. Kept in double: q may exceed every integer type.
double roundStep(double q) {
    const double whole = std::trunc(q);
    const double frac = q - whole;
    if (frac >= 0.5) return whole + 1.0;
    if (frac < -0.5) return whole - 1.0;
    return whole;
}

}  // namespace

double eql_spcd_vars_ang(double tol, double a) {
    const double m = std::ceil(kPi / (std::max(kTenthDegree, std::fabs(tol)) * 1.001));
    const double step = kPi / m;
    if (!std::isfinite(a)) return a;
    const double k = roundStep(pi_pi(a) / step);
    if (k <= -m) return m * step;  // -pi is given as pi
    return k * step;
}

double eql_spcd_vars_thck(double tol, double t0, double t) {
    const double step = RatPct(std::max(0.001, std::fabs(tol))) * t0;
    if (step == 0.0) return t;  // no spacing without a nominal thickness
    return t0 + roundStep((t - t0) / step) * step;
}
