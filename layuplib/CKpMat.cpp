#include "layuplib/CKpMat.h"

#include <climits>
#include <cmath>
#include <new>

#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMatPropStore.h"
#include "layuplib/CKpMatStore.h"

CKpMat::CKpMat(int id)
    : CVekObject(id),
      m_store(nullptr),
      m_oldid(0),
      m_lyrtp(0),
      m_mtrlthck(0.0),
      m_wpwtang(0.0),
      m_maxstrn(0.0),
      m_a1(0.0),
      m_a2(0.0),
      m_a3(0.0),
      m_b1(0.0),
      m_b2(0.0),
      m_b3(0.0),
      m_states(new (std::nothrow) CKpMatPropStore) {}

CKpMat::CKpMat(int id, int type, const char* name, double thickness, double warpWeftAngle,
               double maxStrain, const char* extName, int extId, int tropy, double ex, double ey,
               double ez, double nuxy, double nuyz, double nuzx, double gxy, double gyz, double gzx,
               double c14, double c15, double c16, double c24, double c25, double c26, double c34,
               double c35, double c36, double c45, double c46, double c56, double alpx, double alpy,
               double alpz, double a4, double a5, double a6, double fxt, double fyt, double fzt,
               double fxc, double fyc, double fzc, double fs12, double fs23, double fs31,
               double f12, double f23, double f31, double dens, double tref, double ge, double a1,
               double a2, double a3, double b1, double b2, double b3)
    : CVekObject(id),
      CKpMatProp(0, 0.0, 1.0, extName, extId, tropy, ex, ey, ez, nuxy, nuyz, nuzx, gxy, gyz, gzx,
                 c14, c15, c16, c24, c25, c26, c34, c35, c36, c45, c46, c56, alpx, alpy, alpz, a4,
                 a5, a6, fxt, fyt, fzt, fxc, fyc, fzc, fs12, fs23, fs31, f12, f23, f31, dens, tref,
                 ge),
      m_store(nullptr),
      m_oldid(0),
      m_lyrtp(0),
      m_mtrlthck(thickness),
      m_wpwtang(warpWeftAngle),
      m_maxstrn(maxStrain),
      m_a1(a1),
      m_a2(a2),
      m_a3(a3),
      m_b1(b1),
      m_b2(b2),
      m_b3(b3),
      m_states(new (std::nothrow) CKpMatPropStore) {
    setMtrlnm(name);
    setLyrtp(type);
}

CKpMat::CKpMat(const CKpMat& other)
    : IVekMaterial(other),
      IVekMaterialStateStore(other),
      CVekObject(other),
      CKpMatProp(other),
      m_store(nullptr),
      m_oldid(other.m_oldid),
      m_lyrtp(other.m_lyrtp),
      m_mtrlnm(other.m_mtrlnm),
      m_mtrlthck(other.m_mtrlthck),
      m_wpwtang(other.m_wpwtang),
      m_maxstrn(other.m_maxstrn),
      m_a1(other.m_a1),
      m_a2(other.m_a2),
      m_a3(other.m_a3),
      m_b1(other.m_b1),
      m_b2(other.m_b2),
      m_b3(other.m_b3),
      m_states(new (std::nothrow) CKpMatPropStore) {
    // Further states belong to the material as much as the base state: a
    // copy without them would lose the properties at larger shear.
    if (!m_states || !other.m_states) return;
    for (CKpMatProp* st = other.m_states->First(); st; st = other.m_states->Next(st)) {
        CKpMatProp* copy = new (std::nothrow) CKpMatProp(*st);
        if (copy) m_states->InsertLast(copy);
    }
}

CKpMat::~CKpMat() {
    delete m_states;  // deletes the further states
    m_states = nullptr;
}

CKpLayup* CKpMat::GetLayup() const {
    return m_store ? m_store->GetLayup() : nullptr;
}

int CKpMat::SetName(const char* name) {
    if (!name) return -1;
    if (m_store && m_store->findByName(name)) return -1;
    m_mtrlnm = name;
    return 0;
}

int CKpMat::Clear() {
    if (m_states) m_states->eraseAllObjects();
    return 0;
}

CKpMatProp* CKpMat::Add(double strain) {
    if (strain == 0.0) return this;
    // A NaN key could never be found again, an infinite one means nothing.
    if (!std::isfinite(strain)) return nullptr;
    for (int i = 0; i < Count(); ++i) {
        CKpMatProp* state = Get(i);
        if (state && state->GetState() == strain) return nullptr;
    }
    if (!m_states) return nullptr;
    int largest = 0;
    for (CKpMatProp* st = m_states->First(); st; st = m_states->Next(st))
        if (st->sttid() > largest) largest = st->sttid();
    if (largest == INT_MAX) return nullptr;
    CKpMatProp* state = new (std::nothrow) CKpMatProp;
    if (!state) return nullptr;
    m_states->InsertLast(state);
    state->setStrn(strain);
    state->setSttid(largest + 1);
    return state;
}

int CKpMat::Count() {
    return (m_states ? m_states->entries() : 0) + 1;
}

CKpMatProp* CKpMat::Get(int index) {
    if (index < 0) return nullptr;
    if (index == 0) return this;
    return m_states ? m_states->GetIndex(index - 1) : nullptr;
}

int CKpMat::setMatVal(int type, const char* name, double thickness, double warpWeftAngle,
                      double maxStrain, const char* extName, int extId, int tropy, double ex,
                      double ey, double ez, double nuxy, double nuyz, double nuzx, double gxy,
                      double gyz, double gzx, double c14, double c15, double c16, double c24,
                      double c25, double c26, double c34, double c35, double c36, double c45,
                      double c46, double c56, double alpx, double alpy, double alpz, double a4,
                      double a5, double a6, double fxt, double fyt, double fzt, double fxc,
                      double fyc, double fzc, double fs12, double fs23, double fs31, double f12,
                      double f23, double f31, double dens, double tref, double ge, double a1,
                      double a2, double a3, double b1, double b2, double b3) {
    setLyrtp(type);
    setMtrlnm(name);
    m_mtrlthck = thickness;
    m_wpwtang = warpWeftAngle;
    m_maxstrn = maxStrain;
    setMatPropVal(extName, extId, tropy, ex, ey, ez, nuxy, nuyz, nuzx, gxy, gyz, gzx, c14, c15, c16,
                  c24, c25, c26, c34, c35, c36, c45, c46, c56, alpx, alpy, alpz, a4, a5, a6, fxt,
                  fyt, fzt, fxc, fyc, fzc, fs12, fs23, fs31, f12, f23, f31, dens, tref, ge);
    setA(a1, a2, a3);
    setB(b1, b2, b3);
    return 0;
}

void CKpMat::setLyrtp(int type) {
    if (type == EVekMaterialPainted) {
        m_lyrtp = EVekMaterialProjected;
        logPaintedConverted();
        return;
    }
    m_lyrtp = type;
}

void CKpMat::logPaintedConverted() const {
    if (CKpLayup* layup = GetLayup())
        layup->pMsg()->Create(
            1, "Material '%s' has been converted from 'Painted' to 'Projected' type.", mtrlnm());
}

const char* CKpMat::extmtrlnmStt(int sttid) const {
    if (sttid == 0) return extmtrlnm();
    if (!m_states) return "";
    for (const CKpMatProp* st = m_states->First(); st; st = m_states->Next(st))
        if (st->sttid() == sttid) return st->extmtrlnm();
    return "";
}

int CKpMat::SetDirAutoStates() {
    if (!m_states) return 0;
    for (CKpMatProp* st = m_states->First(); st; st = m_states->Next(st)) st->SetDirAuto();
    return 0;
}

int CKpMat::ConvertPaintedToProjected() {
    if (m_lyrtp != EVekMaterialPainted) return 1;
    m_lyrtp = EVekMaterialProjected;
    logPaintedConverted();
    return 0;
}

int CKpMat::color() const {
    // Widened so that id INT_MIN cannot overflow.
    long long r = (static_cast<long long>(id()) - 1) % 15;
    if (r < 0) r += 15;
    return static_cast<int>(r) + 1;
}
