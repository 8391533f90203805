#include "fileformats/CBDFCardMAT8.h"

#include <cmath>

#include "layuplib/CKpMat.h"

namespace {

// sqrt(Xt Xc Yt Yc) with the state's defaults; 0 when not positive.
double AllowableScale(CKpMatProp* s) {
    double product = s->GetFxt() * s->GetFxc() * s->GetFyt() * s->GetFyc();
    return product > 0.0 && std::isfinite(product) ? std::sqrt(product) : 0.0;
}

double Ratio(double value, double modulus) {
    return modulus != 0.0 ? value / modulus : 0.0;
}

}  // namespace

int CBDFCardMAT8::Write(CKpLayup* model) {
    CKpMat* mat = AddMaterial(model, GetValue(0, 1, 0), "mat8", 4);
    if (!mat) return -1;
    mat->SetEx(GetValue(0, 2, -1.0));
    mat->SetEy(GetValue(0, 3, -1.0));
    mat->SetNuxy(GetValue(0, 4, 0.0));
    mat->SetGxy(GetValue(0, 5, 0.0));
    mat->SetGzx(GetValue(0, 6, 0.0));
    mat->SetGyz(GetValue(0, 7, 0.0));
    mat->SetDensity(GetValue(0, 8, 0.0));
    mat->SetAlpx(GetValue(1, 1, 0.0));
    mat->SetAlpy(GetValue(1, 2, 0.0));
    mat->SetTref(GetValue(1, 3, 0.0));
    mat->SetFxt(GetValue(1, 4, 0.0));
    mat->SetFxc(GetValue(1, 5, 0.0));
    mat->SetFyt(GetValue(1, 6, 0.0));
    mat->SetFyc(GetValue(1, 7, 0.0));
    mat->SetFs12(GetValue(1, 8, 0.0));
    mat->SetGe(GetValue(2, 1, 0.0));
    if (GetValue(2, 3, 0.0) == 1.0) mat->SetAllowStrain();
    mat->SetF12(GetValue(2, 2, 0.0) * AllowableScale(mat));
    return 0;
}

int CBDFCardMAT8::Read(CVekObject* object) {
    CKpMat* mat = dynamic_cast<CKpMat*>(object);
    return mat ? ReadState(mat) : -1;
}

int CBDFCardMAT8::ReadState(CKpMatProp* s) {
    if (!s || !Start("MAT8")) return -1;
    m_fields->Add(s->GetExternalId());
    for (double v : {s->GetEx(), s->GetEy(), s->GetNuxy(), s->GetGxy(), s->GetGzx(), s->GetGyz(),
                     s->GetDensity()})
        m_fields->Add(v);
    bool strain = s->GetBasis() == EVekMaterialFailureBasisStrain;
    double ex = s->GetEx(), ey = s->GetEy(), gxy = s->GetGxy();
    m_fields->AddNewRow();
    m_fields->Add();
    m_fields->Add(s->GetAlpx());
    m_fields->Add(s->GetAlpy());
    m_fields->Add(s->GetTref());
    if (strain) {
        m_fields->Add(Ratio(s->GetFxt(), ex));
        m_fields->Add(Ratio(s->GetFxc(), ex));
        m_fields->Add(Ratio(s->GetFyt(), ey));
        m_fields->Add(Ratio(s->GetFyc(), ey));
        m_fields->Add(Ratio(s->GetFs12(), gxy));
    } else {
        for (double v : {s->GetFxt(), s->GetFxc(), s->GetFyt(), s->GetFyc(), s->GetFs12()})
            m_fields->Add(v);
    }
    m_fields->AddNewRow();
    m_fields->Add();
    m_fields->Add(s->GetGe());
    double scale = AllowableScale(s);
    m_fields->Add(scale > 0.0 ? s->GetF12() / scale : 0.0);
    if (strain) m_fields->Add(1.0);
    return 0;
}
