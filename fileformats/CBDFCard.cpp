#include "fileformats/CBDFCard.h"

#include <cmath>
#include <cstdio>

#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"

CBDFCard::CBDFCard() : m_fields(nullptr) {}

CBDFCard::~CBDFCard() = default;

int CBDFCard::Write(CKpLayup*) {
    return 0;
}

int CBDFCard::Read(CVekObject*) {
    return 0;
}

bool CBDFCard::Start(const char* name) {
    if (!m_fields) return false;
    m_fields->Reset();
    m_fields->AddNewRow();
    m_fields->Add(name);
    return true;
}

double CBDFCard::Degrees(double radians) {
    double deg = std::round(radians * 180.0 / M_PI * 1000.0) / 1000.0;
    if (!std::isfinite(deg)) return 0.0;
    deg = std::fmod(deg, 360.0);
    if (deg > 180.0) deg -= 360.0;
    if (deg < -180.0) deg += 360.0;
    return deg == 0.0 ? 0.0 : deg;  // no "-0."
}

CKpMat* CBDFCard::AddMaterial(CKpLayup* model, int mid, const char* prefix, int tropy) {
    if (!model || mid < 1) return nullptr;
    CKpMatStore* mats = model->pMats();
    CKpMat* mat = mats->New(mid);
    if (!mat) mat = mats->New(0);  // a second card of one MID is a second material
    if (!mat) return nullptr;
    char name[48];
    std::snprintf(name, sizeof name, "%s.%d", prefix, mid);
    mat->setMtrlnm(name);  // duplicates of a MID share the name
    mat->SetExternalName(name);
    mat->SetExternalId(mid);
    mat->SetTropy(static_cast<EVekMaterialTropy>(tropy));
    return mat;
}
