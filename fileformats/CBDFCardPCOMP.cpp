#include "fileformats/CBDFCardPCOMP.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/angle_util.h"

namespace {

struct LamOption {
    const char* text;
    int option;
};
const LamOption kOptions[] = {{"SYM", 2}, {"MEM", 6}, {"BEND", 7}, {"SMEAR", 8}, {"SMCORE", 9}};

// The material id a layer is written with: its material's external id (the
// MID of a read deck), else the stored id.
int LayerMid(CKpLamLyr* lyr) {
    int ext = lyr->GetExternalMaterialId();
    return ext > 0 ? ext : lyr->mid();
}

// The layers bottom first.
std::vector<CKpLamLyr*> Layers(const CKpLam* lam) {
    std::vector<CKpLamLyr*> out;
    CKpLamLyrStore* lyrs = lam->LamLyrs();
    if (!lyrs) return out;
    for (CKpLamLyr* lyr = lyrs->First(); lyr; lyr = lyrs->Next(lyr)) out.push_back(lyr);
    return out;
}

bool SameLayer(CKpLamLyr* a, CKpLamLyr* b) {
    return a->mid() == b->mid() && a->t() == b->t() && a->theta() == b->theta() &&
           a->sout() == b->sout() && a->gplyid() == b->gplyid();
}

}  // namespace

CBDFCardPCOMP::CBDFCardPCOMP() : CBDFCardPCOMP("PCOMP", 0) {}

CBDFCardPCOMP::CBDFCardPCOMP(const char* name, int grouped)
    : m_name(name), m_grouped(grouped), m_msg(nullptr) {}

CKpLam* CBDFCardPCOMP::NewLaminate(CKpLayup* model) {
    int pid = GetValue(0, 1, 0);
    if (pid < 1 || !model) return nullptr;
    CKpLamStore* lams = model->pLams();
    CKpLam* lam = lams->New(pid);
    if (!lam) lam = lams->New(0);  // a second card of one PID is a second laminate
    if (!lam) return nullptr;
    char name[48];
    std::snprintf(name, sizeof name, "%s.%d", m_grouped ? "pcompg" : "pcomp", pid);
    lam->name(name);
    lam->SetExtId(pid);
    const CF06FieldVariant* z0 = GetValue(0, 2);
    if (z0 && z0->IsNumber())
        lam->z0(z0->ToDouble());
    else
        lam->z0_blank(1);
    const CF06FieldVariant* sb = GetValue(0, 4);
    if (sb && sb->IsNumber()) lam->sb(sb->ToDouble());
    const CF06FieldVariant* opt = GetValue(0, 8);
    if (opt && opt->GetString()) {
        for (const LamOption& o : kOptions)
            if (std::strcmp(opt->GetString(), o.text) == 0) lam->lamopt(o.option);
    }
    return lam;
}

bool CBDFCardPCOMP::AddLayer(CKpLam* lam, int mid, double t, double thetaDeg,
                             const CF06FieldVariant* sout, int gplyid) {
    CKpLamLyr* lyr = new (std::nothrow) CKpLamLyr();
    if (!lyr) return false;
    lyr->setMid(mid);
    lyr->setT(t);
    lyr->setTheta(thetaDeg * kPi / 180.0);
    const char* text = sout ? sout->GetString() : nullptr;
    lyr->setSout(text ? (text[0] == 'Y' ? 2 : 1) : 0);
    lyr->setGplyid(gplyid);
    lam->LamLyrs()->InsertLast(lyr);
    return true;
}

int CBDFCardPCOMP::Write(CKpLayup* model) {
    CKpLam* lam = NewLaminate(model);
    if (!lam) return -1;
    int mid = 0;
    double t = 0.0;
    for (int r = 1; r < m_fields->GetRows(); ++r) {
        for (int c = 1; c <= 5; c += 4) {
            const CF06FieldVariant* fMid = GetValue(r, c);
            const CF06FieldVariant* fT = GetValue(r, c + 1);
            const CF06FieldVariant* fTheta = GetValue(r, c + 2);
            const CF06FieldVariant* fSout = GetValue(r, c + 3);
            if (!fMid && !fT && !fTheta && !fSout) break;  // the row's plies end
            if (fMid) mid = fMid->ToInt();
            if (fT) t = fT->ToDouble();
            double theta = fTheta ? fTheta->ToDouble() : 0.0;
            if (!AddLayer(lam, mid, t, theta, fSout, 0)) return -1;
        }
    }
    return lam->CreateTotalLayup() == 0 ? 0 : -1;
}

void CBDFCardPCOMP::AddSout(int code) {
    if (code == 2)
        m_fields->Add("YES");
    else if (code == 1)
        m_fields->Add("NO");
    else
        m_fields->Add("");
}

int CBDFCardPCOMP::StartLaminate(CKpLam* lam, int* count) {
    if (!Start(m_name)) return -1;
    m_fields->Add(lam->GetExtId() > 0 ? lam->GetExtId() : lam->id());
    if (!lam->z0_blank())
        m_fields->Add(lam->z0());
    else
        m_fields->Add();
    m_fields->Add();
    if (lam->sb() > 0.0)
        m_fields->Add(lam->sb());
    else
        m_fields->Add();
    const char* text = nullptr;
    for (const LamOption& o : kOptions)
        if (o.option == lam->lamopt()) text = o.text;
    std::vector<CKpLamLyr*> layers = Layers(lam);
    int n = static_cast<int>(layers.size());
    *count = n;
    if (lam->lamopt() == 2) {
        // Half the layers with SYM only when they mirror exactly.
        bool mirror = n % 2 == 0;
        for (int i = 0; mirror && i < n / 2; ++i) mirror = SameLayer(layers[i], layers[n - 1 - i]);
        if (mirror) {
            *count = n / 2;
        } else {
            text = nullptr;
            if (m_msg)
                m_msg->Create(2,
                              "Laminate '%s' is symmetric but its %d layers do not mirror; all "
                              "layers are written without SYM.",
                              lam->name(), n);
        }
    }
    if (text) {
        for (int k = 0; k < 3; ++k) m_fields->Add();
        m_fields->Add(text);
    }
    return 0;
}

int CBDFCardPCOMP::Read(CVekObject* object) {
    CKpLam* lam = dynamic_cast<CKpLam*>(object);
    int count = 0;
    if (!lam || StartLaminate(lam, &count) != 0) return -1;
    std::vector<CKpLamLyr*> layers = Layers(lam);
    for (int i = 0; i < count; ++i) {
        CKpLamLyr* lyr = layers[i];
        if (i % 2 == 0) {
            m_fields->AddNewRow();
            m_fields->Add();
        }
        m_fields->Add(LayerMid(lyr));
        m_fields->Add(lyr->t());
        m_fields->Add(Degrees(lyr->theta()));
        AddSout(lyr->sout());
    }
    return 0;
}
