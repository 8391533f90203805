#ifndef PLYSTRAND_LAYUPLIB_CKPDRAPESIM_H
#define PLYSTRAND_LAYUPLIB_CKPDRAPESIM_H

#include "layuplib/CKpAxis.h"
#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapeBound.h"
#include "layuplib/CKpFlatPatStore.h"

class CKpOln;
class CKpPat;
class CKpPly;

// CKpDrapeSim: the drape workspace of the model: everything one ply
// simulation produces (grid bound, the four fibre axes from the start point,
// the drape grid, its outline, the flat patterns) and the pattern and ply it
// simulated. The results stay until the next simulation or model reset, and
// the ply-result queries read them here.
//
// Ownership: the workspace owns its axes, grid, outline ring and flat
// patterns. The pattern and the ply are owned by the workspace unless their
// stored flag says they belong to the model's stores.
class CKpDrapeSim {
  public:
    // Bound zero, four empty axes, an empty grid whose owner is this
    // workspace, no outline, no flat patterns, no pattern or ply, both
    // stored flags 0.
    CKpDrapeSim();

    // Runs reinit.
    ~CKpDrapeSim();

    CKpDrapeSim(const CKpDrapeSim&) = delete;
    CKpDrapeSim& operator=(const CKpDrapeSim&) = delete;

    // Empties the workspace: reinitialises the four axes and the grid;
    // deletes the pattern unless its stored flag is 1 and clears pointer and
    // flag; deletes every entry of the outline ring and clears the outline;
    // empties the flat patterns; deletes the ply unless its stored flag is 1
    // and clears pointer and flag.
    void reinit();

    // Grid bound, axis i (0 +warp, 1 +weft, 2 -warp, 3 -weft; null outside
    // 0..3), grid and flat patterns; all owned by the workspace.
    CKpDrapeBound* pBound() { return &bound; }
    CKpAxis* pAxis(int i) { return (i >= 0 && i < 4) ? &axes[i] : nullptr; }
    CKpDrape* pDrape() { return &drape; }
    CKpFlatPatStore* pFlatPats() { return &flatPats; }

    // First entry of the closed outline ring of the grid; null when none.
    // Setting it hands the ring to the workspace (an earlier ring is not
    // deleted: callers delete it first).
    CKpOln* pfOln() const { return m_pfOln; }
    void pfOln(CKpOln* outline) { m_pfOln = outline; }

    // The pattern and the ply being simulated; null when none.
    CKpPat* pPat() const { return m_pattern; }
    CKpPly* pPly() const { return m_ply; }
    void StorePat(CKpPat* pattern) { m_pattern = pattern; }
    void StorePly(CKpPly* ply) { m_ply = ply; }

    // 1 when the pattern (ply) belongs to the model's store and the
    // workspace must not delete it; 0 when the workspace owns it.
    int patStored() const { return m_patStored; }
    void patStored(int stored) { m_patStored = stored; }
    int plyStored() const { return m_plyStored; }
    void plyStored(int stored) { m_plyStored = stored; }

  private:
    CKpDrapeBound bound;
    CKpAxis axes[4];
    CKpDrape drape;
    CKpOln* m_pfOln;
    CKpFlatPatStore flatPats;
    CKpPat* m_pattern;
    int m_patStored;
    CKpPly* m_ply;
    int m_plyStored;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPDRAPESIM_H
