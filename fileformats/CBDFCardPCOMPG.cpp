#include "fileformats/CBDFCardPCOMPG.h"

#include <vector>

#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpMat.h"

CBDFCardPCOMPG::CBDFCardPCOMPG() : CBDFCardPCOMP("PCOMPG", 1) {}

int CBDFCardPCOMPG::Write(CKpLayup* model) {
    CKpLam* lam = NewLaminate(model);
    if (!lam) return -1;
    int mid = 0;
    double t = 0.0;
    for (int r = 1; r < m_fields->GetRows(); ++r) {
        const CF06FieldVariant* gply = GetValue(r, 1);
        if (!gply) break;
        const CF06FieldVariant* fMid = GetValue(r, 2);
        const CF06FieldVariant* fT = GetValue(r, 3);
        if (fMid) mid = fMid->ToInt();
        if (fT) t = fT->ToDouble();
        if (!AddLayer(lam, mid, t, GetValue(r, 4, 0.0), GetValue(r, 5), gply->ToInt())) return -1;
    }
    return lam->CreateTotalLayup() == 0 ? 0 : -1;
}

int CBDFCardPCOMPG::Read(CVekObject* object) {
    CKpLam* lam = dynamic_cast<CKpLam*>(object);
    int count = 0;
    if (!lam || StartLaminate(lam, &count) != 0) return -1;
    CKpLamLyrStore* lyrs = lam->LamLyrs();
    int i = 0;
    for (CKpLamLyr* lyr = lyrs ? lyrs->First() : nullptr; lyr && i < count;
         lyr = lyrs->Next(lyr), ++i) {
        m_fields->AddNewRow();
        m_fields->Add();
        m_fields->Add(lyr->gplyid());
        int ext = lyr->GetExternalMaterialId();
        m_fields->Add(ext > 0 ? ext : lyr->mid());
        m_fields->Add(lyr->t());
        m_fields->Add(Degrees(lyr->theta()));
        AddSout(lyr->sout());
    }
    return 0;
}
