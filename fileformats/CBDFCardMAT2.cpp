#include "fileformats/CBDFCardMAT2.h"

#include "layuplib/CKpMat.h"

int CBDFCardMAT2::Write(CKpLayup* model) {
    CKpMat* mat = AddMaterial(model, GetValue(0, 1, 0), "mat2", 5);
    if (!mat) return -1;
    mat->SetEx(GetValue(0, 2, 0.0));
    mat->SetNuxy(GetValue(0, 3, 0.0));
    mat->SetC14(GetValue(0, 4, 0.0));
    mat->SetEy(GetValue(0, 5, 0.0));
    mat->SetC24(GetValue(0, 6, 0.0));
    mat->SetGxy(GetValue(0, 7, 0.0));
    mat->SetDensity(GetValue(0, 8, 0.0));
    mat->SetAlpx(GetValue(1, 1, 0.0));
    mat->SetAlpy(GetValue(1, 2, 0.0));
    mat->SetA4(GetValue(1, 3, 0.0));
    mat->SetTref(GetValue(1, 4, 0.0));
    mat->SetGe(GetValue(1, 5, 0.0));
    mat->SetFxt(GetValue(1, 6, 0.0));
    mat->SetFxc(GetValue(1, 7, 0.0));
    mat->SetFs12(GetValue(1, 8, 0.0));
    return 0;
}

int CBDFCardMAT2::Read(CVekObject* object) {
    CKpMat* mat = dynamic_cast<CKpMat*>(object);
    return mat ? ReadState(mat) : -1;
}

int CBDFCardMAT2::ReadState(CKpMatProp* s) {
    if (!s || !Start("MAT2")) return -1;
    m_fields->Add(s->GetExternalId());
    for (double v : {s->GetEx(), s->GetNuxy(), s->GetC14(), s->GetEy(), s->GetC24(), s->GetGxy(),
                     s->GetDensity()})
        m_fields->Add(v);
    m_fields->AddNewRow();
    m_fields->Add();
    for (double v : {s->GetAlpx(), s->GetAlpy(), s->GetA4(), s->GetTref(), s->GetGe(), s->GetFxt(),
                     s->GetFxc(), s->GetFs12()})
        m_fields->Add(v);
    return 0;
}
