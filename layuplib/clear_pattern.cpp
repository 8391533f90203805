#include "layuplib/clear_pattern.h"

#include "layuplib/CKpDrape.h"
#include "layuplib/CKpFlatPatStore.h"
#include "layuplib/CKpOln.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPly.h"

int DeletePattern(CKpDrape* drape, CKpPat*& pattern, int& keep) {
    if (drape) drape->reinit();
    if (keep == 0) delete pattern;
    pattern = nullptr;
    keep = 0;
    return 0;
}

int clear_ply(CKpPly*& ply, int& keep) {
    if (keep == 0) delete ply;
    ply = nullptr;
    keep = 0;
    return 0;
}

int DeleteOutline(CKpOln*& outline) {
    CKpOln* first = outline;
    outline = nullptr;
    if (!first) return 0;
    // Open the ring first, so that the walk ends on a half-built ring too.
    if (CKpOln* last = first->Prev()) last->SetNext(nullptr);
    for (CKpOln* entry = first; entry;) {
        CKpOln* next = entry->Next();
        delete entry;
        entry = (next == first) ? nullptr : next;
    }
    return 0;
}

int clear_pattern(CKpDrape* drape, CKpPat*& pattern, int& keep, CKpFlatPatStore* flatPats,
                  CKpOln*& outline) {
    DeletePattern(drape, pattern, keep);
    DeleteOutline(outline);
    if (flatPats) flatPats->eraseAllObjects();
    return 0;
}
