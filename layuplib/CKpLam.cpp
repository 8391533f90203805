#include "layuplib/CKpLam.h"

#include <new>

#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"

CKpLam::CKpLam(int id)
    : CVekObject(id),
      m_store(nullptr),
      m_z0Blank(1),
      m_z0(0.0),
      m_nsm(0.0),
      m_sb(0.0),
      m_ft(1),
      m_tref(0.0),
      m_ge(0.0),
      m_lamopt(1),
      m_layers(new (std::nothrow) CKpLamLyrStore(this)),
      m_extId(0) {}

CKpLam::~CKpLam() {
    delete m_layers;  // deletes the layers
    m_layers = nullptr;
}

CKpLayup* CKpLam::GetLayup() const {
    return m_store ? m_store->GetLayup() : nullptr;
}

double CKpLam::z0() const {
    return m_z0Blank ? -0.5 * t() : m_z0;
}

double CKpLam::t() const {
    double sum = 0.0;
    if (!m_layers) return sum;
    for (const CKpLamLyr* lyr = m_layers->First(); lyr; lyr = m_layers->Next(lyr)) sum += lyr->t();
    return sum;
}
