#include "fileformats/CBDFCardCQUAD8.h"

#include "layuplib/CKpElem.h"

namespace {
const int kRows[8] = {0, 0, 0, 0, 0, 1, 0, 1};
const int kCols[8] = {3, 7, 4, 8, 5, 1, 6, 2};
}  // namespace

CBDFCardCQUAD8::CBDFCardCQUAD8() : CBDFCardGEOM("CQUAD8", 2, 8, kRows, kCols, 1, 7) {}

int CBDFCardCQUAD8::Read(CVekObject* object) {
    CKpElem* elem = StartElement(object);
    if (!elem) return -1;
    for (int i : {0, 2, 4, 6, 1, 3}) m_fields->Add(elem->getunid(i));
    m_fields->AddNewRow();
    m_fields->Add();
    m_fields->Add(elem->getunid(5));
    m_fields->Add(elem->getunid(7));
    if (HasOrientation(elem)) {
        for (int k = 0; k < 4; ++k) m_fields->Add();
        AddOrientation(elem);
    }
    return 0;
}
