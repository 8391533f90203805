#include "layuplib/CalcElementData2.h"

#include "layuplib/CKpElem.h"

int CalcElementData2(CKpMsg*, const CKpElem* elem, CKpPoint* midpt, CKpDirn* normal, CKpDirn* ref,
                     double* area) {
    if (!elem || !midpt || !normal || !ref || !area) return -1;
    int status = elem->GetMidpt(midpt);
    if (status != 0) return status;
    status = elem->GetNormal(normal);
    if (status != 0) return status;
    status = elem->GetReference(ref);
    if (status != 0) return status;
    return elem->GetArea(area);
}
