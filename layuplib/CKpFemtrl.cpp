#include "layuplib/CKpFemtrl.h"

void CKpFemtrl::DeleteList(CKpFemtrl* first) {
    while (first) {
        CKpFemtrl* next = first->next;
        delete first;
        first = next;
    }
}
