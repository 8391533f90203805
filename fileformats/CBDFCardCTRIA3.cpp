#include "fileformats/CBDFCardCTRIA3.h"

#include "layuplib/CKpElem.h"

namespace {
const int kRows[3] = {0, 0, 0};
const int kCols[3] = {3, 4, 5};
}  // namespace

CBDFCardCTRIA3::CBDFCardCTRIA3() : CBDFCardGEOM("CTRIA3", 11, 3, kRows, kCols, 0, 6) {}

int CBDFCardCTRIA3::Read(CVekObject* object) {
    CKpElem* elem = StartElement(object);
    if (!elem) return -1;
    for (int i = 0; i < 3; ++i) m_fields->Add(elem->getunid(i));
    AddOrientation(elem);
    return 0;
}
