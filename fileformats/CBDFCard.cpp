#include "fileformats/CBDFCard.h"

#include <cmath>
#include <cstdio>
#include <new>

#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/angle_util.h"

CBDFCard::CBDFCard() : m_fields(nullptr), m_path(nullptr), m_line(0) {}

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
    double deg = std::round(radians * 180.0 / kPi * 1000.0) / 1000.0;
    if (!std::isfinite(deg)) return 0.0;
    deg = std::fmod(deg, 360.0);
    if (deg > 180.0) deg -= 360.0;
    if (deg < -180.0) deg += 360.0;
    return deg == 0.0 ? 0.0 : deg;  // no "-0."
}

CKpMat* CBDFCard::AddMaterial(CKpLayup* model, int mid, const char* prefix, int tropy) {
    if (!model || mid < 1) return nullptr;
    CKpMatStore* mats = model->pMats();
    CKpMat* mat = nullptr;
    if (!mats->find(mid)) {
        mat = mats->New(mid);
    } else {
        // The store takes a second object of an id; New refuses one.
        mat = new (std::nothrow) CKpMat(mid);
        if (mat && mats->insert(mat) != 0) {
            delete mat;
            mat = nullptr;
        }
        if (mat && model->pMsg()) {
            const char* card = GetFields() ? GetFields()->GetString(0, 0) : nullptr;
            model->pMsg()->Create(2,
                                  "%s %d on line %lld of '%s' repeats a material id; it is added "
                                  "as a further material with id %d.",
                                  card ? card : prefix, mid, m_line, m_path ? m_path : "", mid);
        }
    }
    if (!mat) return nullptr;
    char name[48];
    std::snprintf(name, sizeof name, "%s.%d", prefix, mid);
    mat->setMtrlnm(name);  // duplicates of a MID share the name
    mat->SetExternalName(name);
    mat->SetExternalId(mid);
    mat->SetTropy(static_cast<EVekMaterialTropy>(tropy));
    return mat;
}
