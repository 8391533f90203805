#include "layuplib/GetOldPlyPat.h"

#include "layuplib/CKpLayup.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"

int GetOldPlyPat(CKpLayup* model, const char* plyName, CKpPly** ply, CKpPat** pat) {
    if (!model || !ply || !pat) return -1;
    CKpMsg* msg = model->pMsg();
    CKpPly* found = plyName ? model->pPlys()->findByName(plyName) : nullptr;
    if (!found) {
        msg->Create(4, "Could not find ply '%s' to modify.", plyName ? plyName : "");
        return -1;
    }
    // The linked pattern, else the one the ply names by id.
    CKpPat* pattern = found->pPat();
    if (!pattern) pattern = model->pPats()->find(found->pttrnid());
    if (!pattern) {
        msg->Create(4, "Could not find pattern for ply '%s'.", plyName);
        return -1;
    }
    *ply = found;
    *pat = pattern;
    return 0;
}
