#include "layuplib/CKpDrapeSim.h"

#include <gtest/gtest.h>

#include "layuplib/CKpAxisPt.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpOln.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPly.h"

TEST(CKpDrapeSim, ReinitDeletesWhatTheWorkspaceOwns) {
    CKpDrapeSim sim;
    EXPECT_EQ(sim.pDrape()->GetDrapeSim(), &sim);
    EXPECT_EQ(sim.pAxis(4), nullptr);

    // Owned pattern and ply, an outline ring of three entries, axis points,
    // grid points and a flat pattern: the sanitizer run reports leaks.
    sim.StorePat(new CKpPat(1));
    sim.StorePly(new CKpPly(1));
    CKpOln* ring[3];
    for (int i = 0; i < 3; ++i) ring[i] = new CKpOln(i + 1, i, 0, 4, 0);
    for (int i = 0; i < 3; ++i) {
        ring[i]->SetNext(ring[(i + 1) % 3]);
        ring[i]->SetPrev(ring[(i + 2) % 3]);
    }
    sim.pfOln(ring[0]);
    ASSERT_EQ(sim.pAxis(0)->pAxisPt(0, new CKpAxisPt()), 0);
    ASSERT_EQ(sim.pAxis(3)->pAxisPt(600, new CKpAxisPt()), 0);  // grows past 512
    EXPECT_EQ(sim.pAxis(3)->entries(), 601);
    sim.pDrape()->pDrapePt(1, 1, new CKpDrapePt());
    sim.pFlatPats()->InsertLast(new CKpFlatPat());

    sim.reinit();
    EXPECT_EQ(sim.pPat(), nullptr);
    EXPECT_EQ(sim.pPly(), nullptr);
    EXPECT_EQ(sim.pfOln(), nullptr);
    EXPECT_EQ(sim.pAxis(3)->entries(), 0);
    EXPECT_EQ(sim.pDrape()->GetCount(), 0);
    EXPECT_EQ(sim.pFlatPats()->entries(), 0);

    // Stored pattern and ply belong to their stores and survive.
    CKpPat pattern(2);
    CKpPly ply(2);
    sim.StorePat(&pattern);
    sim.patStored(1);
    sim.StorePly(&ply);
    sim.plyStored(1);
    sim.reinit();
    EXPECT_EQ(sim.pPat(), nullptr);
    EXPECT_EQ(sim.patStored(), 0);
    EXPECT_EQ(sim.plyStored(), 0);
}
