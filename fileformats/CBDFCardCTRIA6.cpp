#include "fileformats/CBDFCardCTRIA6.h"

#include "layuplib/CKpElem.h"

namespace {
const int kRows[6] = {0, 0, 0, 0, 0, 0};
const int kCols[6] = {3, 6, 4, 7, 5, 8};
}  // namespace

CBDFCardCTRIA6::CBDFCardCTRIA6() : CBDFCardGEOM("CTRIA6", 12, 6, kRows, kCols, 1, 1) {}

int CBDFCardCTRIA6::Read(CVekObject* object) {
    CKpElem* elem = StartElement(object);
    if (!elem) return -1;
    for (int i : {0, 2, 4, 1, 3, 5}) m_fields->Add(elem->getunid(i));
    if (HasOrientation(elem)) {
        m_fields->AddNewRow();
        m_fields->Add();
        AddOrientation(elem);
    }
    return 0;
}
