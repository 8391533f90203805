#include "fileformats/CBDFCardCQUAD4.h"

#include "layuplib/CKpElem.h"

namespace {
const int kRows[4] = {0, 0, 0, 0};
const int kCols[4] = {3, 4, 5, 6};
}  // namespace

CBDFCardCQUAD4::CBDFCardCQUAD4() : CBDFCardGEOM("CQUAD4", 1, 4, kRows, kCols, 0, 7) {}

int CBDFCardCQUAD4::Read(CVekObject* object) {
    CKpElem* elem = StartElement(object);
    if (!elem) return -1;
    for (int i = 0; i < 4; ++i) m_fields->Add(elem->getunid(i));
    AddOrientation(elem);
    return 0;
}
