#include "fileformats/CBDFCardMAT1.h"

#include "layuplib/CKpMat.h"

int CBDFCardMAT1::Write(CKpLayup* model) {
    CKpMat* mat = AddMaterial(model, GetValue(0, 1, 0), "mat1", 1);
    if (!mat) return -1;
    double e = GetValue(0, 2, 0.0);
    double g = GetValue(0, 3, 0.0);
    double nu = GetValue(0, 4, 0.0);
    // One of E, G, NU blank: it follows from the other two, as the solver
    // takes it (a division by zero leaves it 0).
    const bool hasE = GetValue(0, 2) != nullptr;
    const bool hasG = GetValue(0, 3) != nullptr;
    const bool hasNu = GetValue(0, 4) != nullptr;
    if (hasE && hasNu && !hasG && 1.0 + nu != 0.0)
        g = e / (2.0 * (1.0 + nu));
    else if (hasE && hasG && !hasNu && g != 0.0)
        nu = e / (2.0 * g) - 1.0;
    else if (hasG && hasNu && !hasE)
        e = 2.0 * g * (1.0 + nu);
    mat->SetEx(e);
    mat->SetGxy(g);
    mat->SetNuxy(nu);
    mat->SetDensity(GetValue(0, 5, 0.0));
    mat->SetAlpx(GetValue(0, 6, 0.0));
    mat->SetTref(GetValue(0, 7, 0.0));
    mat->SetGe(GetValue(0, 8, 0.0));
    mat->SetFxt(GetValue(1, 1, 0.0));
    mat->SetFxc(GetValue(1, 2, 0.0));
    mat->SetFs12(GetValue(1, 3, 0.0));
    return 0;
}

int CBDFCardMAT1::Read(CVekObject* object) {
    CKpMat* mat = dynamic_cast<CKpMat*>(object);
    return mat ? ReadState(mat) : -1;
}

int CBDFCardMAT1::ReadState(CKpMatProp* s) {
    if (!s || !Start("MAT1")) return -1;
    m_fields->Add(s->GetExternalId());
    for (double v : {s->GetEx(), s->GetGxy(), s->GetNuxy(), s->GetDensity(), s->GetAlpx(),
                     s->GetTref(), s->GetGe()})
        m_fields->Add(v);
    m_fields->AddNewRow();
    m_fields->Add();
    for (double v : {s->GetFxt(), s->GetFxc(), s->GetFs12()}) m_fields->Add(v);
    return 0;
}
