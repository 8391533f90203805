#include "layuplib/clear_pattern.h"

#include <gtest/gtest.h>

#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpFlatPatStore.h"
#include "layuplib/CKpOln.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPly.h"

namespace {

// A closed ring of n outline entries.
CKpOln* Ring(int n) {
    CKpOln* first = new CKpOln(1, 1, 0, 0, 0);
    CKpOln* prev = first;
    for (int k = 2; k <= n; ++k) {
        CKpOln* e = new CKpOln(k, k, 0, 0, 0);
        prev->SetNext(e);
        e->SetPrev(prev);
        prev = e;
    }
    prev->SetNext(first);
    first->SetPrev(prev);
    return first;
}

}  // namespace

// The sanitizer run checks that every working object is freed exactly once.
TEST(ClearPattern, WorkingCopiesAreFreedStoredOnesKept) {
    CKpDrape drape;
    drape.pDrapePt(1, 2, new CKpDrapePt());
    CKpPat stored(1);
    CKpPat* pattern = &stored;
    int keep = 1;
    EXPECT_EQ(DeletePattern(&drape, pattern, keep), 0);
    EXPECT_EQ(pattern, nullptr);
    EXPECT_EQ(drape.GetCount(), 0);

    CKpPly* ply = new CKpPly(3);
    EXPECT_EQ(clear_ply(ply, keep), 0);
    EXPECT_EQ(ply, nullptr);

    CKpFlatPatStore flats;
    flats.InsertLast(new CKpFlatPat());
    CKpOln* outline = Ring(3);
    pattern = new CKpPat(2);
    EXPECT_EQ(clear_pattern(&drape, pattern, keep, &flats, outline), 0);
    EXPECT_EQ(outline, nullptr);
    EXPECT_EQ(flats.entries(), 0);

    // A ring left open at its end is freed as well.
    outline = Ring(2);
    outline->Prev()->SetNext(nullptr);
    outline->SetPrev(nullptr);
    EXPECT_EQ(DeleteOutline(outline), 0);
    CKpOln* single = Ring(1);  // linked to itself: the walk must end
    EXPECT_EQ(DeleteOutline(single), 0);
}
