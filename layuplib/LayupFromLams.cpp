#include "layuplib/LayupFromLams.h"

#include <cctype>
#include <climits>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "layuplib/CKpBdy.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpGplyStore.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/CalcBoundary.h"
#include "layuplib/add_layer.h"
#include "layuplib/find_nei.h"
#include "layuplib/surface_div.h"

namespace {

const char kPlyPrefix[] = "gplyid.";

// "gplyid.<g>" for piece 1, "gplyid.<g>.<p>" for later pieces.
std::string PlyName(int gplyId, int piece) {
    std::string name = kPlyPrefix + std::to_string(gplyId);
    if (piece > 1) name += "." + std::to_string(piece);
    return name;
}

// One or more decimal digits from `s`; the position after them, or null.
const char* SkipDigits(const char* s) {
    if (!std::isdigit(static_cast<unsigned char>(*s))) return nullptr;
    while (std::isdigit(static_cast<unsigned char>(*s))) ++s;
    return s;
}

// Whether `name` has the form of a ply name made by a run (PlyName).
bool IsRunPlyName(const char* name) {
    if (!name || std::strncmp(name, kPlyPrefix, sizeof(kPlyPrefix) - 1) != 0) return false;
    const char* s = SkipDigits(name + sizeof(kPlyPrefix) - 1);
    if (s && *s == '.') s = SkipDigits(s + 1);
    return s && *s == '\0';
}

// Empties the layup so that no layup ply holds on to the plies of an
// earlier run, then deletes those plies and their patterns.
void RemovePreviousRun(CKpLayup* model) {
    model->pLyp()->Clear();
    CKpPlyStore* plys = model->pPlys();
    std::vector<CKpPly*> old;
    CVekObjectStoreIterator<CKpPly> it(*plys);
    while (++it)
        if (IsRunPlyName(it.key()->name())) old.push_back(it.key());
    for (CKpPly* ply : old) plys->Delete(ply);
}

// Steps 4.2 and 4.3: splits the global ply's selected elements into
// connected pieces, giving each element its dnfg and piece.
void FindPieces(CKpMsg* msg, CKpFacetStore* facs, CKpGply* gply) {
    int p = 1;
    for (;; ++p) {
        // The first facet of a selected element starts the piece.
        int start = -1;
        for (int i = 0; i < facs->entries() && start < 0; ++i) {
            const CKpFacet* f = facs->pFac(i);
            if (f && f->getElement() && f->getElement()->getSltd()) start = i;
        }
        if (start < 0) {
            --p;  // no piece was begun
            break;
        }
        CKpBdy* ring = nullptr;
        const int grown = CalcAllBoundary(msg, facs, 1, start, 1, ring, nullptr, nullptr, nullptr);
        DeleteBoundary(ring);
        if (grown != 0) {
            msg->Create(4, "Cannot create boundary around elements on gPly %d.", gply->id());
            break;
        }
        int unreached = 0;
        int assigned = 0;
        CVekObjectStoreIterator<CKpGplyElem> it(gply->Elems());
        while (++it) {
            CKpGplyElem* ge = it.key();
            if (ge->dnfg() != 0) continue;
            CKpElem* elem = ge->pelem();
            const CKpFacet* first = elem->getnfac() > 0 ? facs->pFac(elem->getfacs(0)) : nullptr;
            ge->setDnfg(first ? first->getFacetDirection() : 0);
            if (ge->dnfg() != 0) {
                ge->setPiece(p);
                surface_unselect_elem(elem, facs);
                ++assigned;
            } else {
                ++unreached;
            }
        }
        if (assigned == 0) {  // the growth reached none of our elements
            --p;
            break;
        }
        if (unreached == 0) break;
    }
    gply->setPieces(p);
}

// Step 5: one stacking direction per piece, by majority of dnfg x
// laminate direction (a tie gives +1).
void SetPieceStdn(CKpGply* gply) {
    for (int p = 1; p <= gply->pieces(); ++p) {
        int negative = 0;
        int positive = 0;
        CVekObjectStoreIterator<CKpGplyElem> it(gply->Elems());
        while (++it) {
            if (it.key()->piece() != p) continue;
            const int s = it.key()->dnfg() * it.key()->lamdn();
            if (s < 0) ++negative;
            if (s > 0) ++positive;
        }
        const int stdn = negative <= positive ? 1 : -1;
        it.reset(gply->Elems());
        while (++it)
            if (it.key()->piece() == p) it.key()->setStdn(stdn);
    }
}

// Step 6.1 to 6.4 for piece p of `gply`: a simulated projected pattern and
// its ply. 0; -1 when memory runs out or a store has no id left above its
// highest (nothing made then).
int MakePiecePly(CKpLayup* model, CKpGply* gply, CKpMat* mat, int p) {
    CKpPatStore* pats = model->pPats();
    CKpPlyStore* plys = model->pPlys();
    const std::string name = PlyName(gply->id(), p);
    // Both ids first, so that no pattern is left without its ply.
    if (pats->maxId() == INT_MAX || plys->maxId() == INT_MAX) return -1;

    CKpPat* pat = new (std::nothrow) CKpPat(pats->maxId() + 1);
    if (!pat) return -1;
    pat->setLyrtp(2);
    if (pats->insert(pat) != 0) {
        delete pat;
        return -1;
    }
    gply->setName(name.c_str());
    if (pat->SetNameByPlyName(name.c_str()) != 0) return -1;
    pat->setSimResult(0);

    bool first = true;
    CVekObjectStoreIterator<CKpGplyElem> it(gply->Elems());
    while (++it) {
        CKpGplyElem* ge = it.key();
        if (ge->piece() != p) continue;
        CKpElem* elem = ge->pelem();
        if (first) {
            first = false;
            CKpPoint mid;
            CKpDirn normal, ref;
            elem->GetMidpt(&mid);
            elem->GetNormal(&normal);
            elem->GetReference(&ref);
            pat->setEye(mid.getx(), mid.gety(), mid.getz());
            pat->setRefd(ref.getx(), ref.gety(), ref.getz());
            if (ge->stdn() == 1) {
                pat->setEyed(-normal.getx(), -normal.gety(), -normal.getz());
                pat->setRefang(ge->angle());
            } else {
                pat->setEyed(normal.getx(), normal.gety(), normal.getz());
                pat->setRefang(-ge->angle());
            }
        }
        CKpPatElem* pe = new (std::nothrow) CKpPatElem();
        if (!pe || !pat->PatElems()) {
            delete pe;
            return -1;
        }
        pe->setElemId(ge->id());
        pe->setPelem(elem);
        pe->setStdn(ge->stdn());
        pe->setDnfg(ge->dnfg());
        pe->setWarpAngle(ge->angle());
        pe->setWeftAngle(ge->angle());
        pe->setShear(0.0);
        pe->setThickness(ge->t());
        pe->SetOrder(0);
        pat->PatElems()->InsertLast(pe);
    }

    CKpPly* ply = new (std::nothrow) CKpPly(plys->maxId() + 1, name.c_str(), 2, mat, pat);
    if (!ply) return -1;
    if (plys->insert(ply) != 0) {
        delete ply;
        return -1;
    }
    return 0;
}

int Run(CKpLayup* model) {
    CKpMsg* msg = model->pMsg();
    CKpElemStore* elems = model->pElems();
    CKpFacetStore* facs = model->pFacs();
    CKpLamStore* lams = model->pLams();

    // 1, 2. The elements of each referenced laminate id, ascending.
    msg->Create(1, "Creating a layup from laminates");
    std::map<int, std::vector<int>> lamElems;
    {
        CVekObjectStoreIterator<CKpElem> it(*elems);
        while (++it)
            if (it.key()->pid() >= 1) lamElems[it.key()->pid()].push_back(it.key()->id());
    }
    msg->Create(1, " The elements reference %d laminates", static_cast<int>(lamElems.size()));
    if (lamElems.empty()) return 0;

    // 3. Gather the global plies.
    CKpGplyStore gplys;
    CVekObjectStoreIterator<CKpLam> il(*lams);
    while (++il) {
        CKpLam* lam = il.key();
        const auto found = lamElems.find(lam->id());
        if (found == lamElems.end()) continue;
        CKpLamLyrStore* layers = lam->LamLyrs();
        if (!layers) continue;
        const int d = CheckLamDn(layers);
        for (CKpLamLyr* lyr = layers->First(); lyr; lyr = layers->Next(lyr)) {
            const int g = lyr->gplyid();
            if (g <= 0) continue;
            CKpGply* gply = gplys.findOrCreate(g);
            if (!gply) throw std::bad_alloc();
            if (gply->mid() == 0) gply->setMid(lyr->mid());
            if (gply->mid() != lyr->mid()) {
                msg->Create(2,
                            "  The material ID of %d associated with gply %d on laminate %s is "
                            "different to the material ID of %d used previously. Elements "
                            "referencing this laminate will not be added to the global ply.",
                            lyr->mid(), g, lam->name(), gply->mid());
                continue;
            }
            for (int id : found->second) {
                CKpElem* elem = elems->find(id);
                // A laminate repeating a global ply id keeps its first layer.
                if (!elem || gply->Elems().find(id)) continue;
                CKpGplyElem* ge = new CKpGplyElem(id, elem, lyr->t(), elem->theta() + lyr->theta());
                ge->setLamdn(d);
                if (gply->Elems().insert(ge) != 0) {
                    delete ge;
                    throw std::bad_alloc();
                }
            }
        }
    }

    // 4. Consistent dnfg and connected pieces, one global ply at a time.
    msg->Create(1, "Setting consistent dnfg on each gply.");
    CVekObjectStoreIterator<CKpGply> ig(gplys);
    while (++ig) {
        CKpGply* gply = ig.key();
        msg->Create(1, " gPlyID %d:", gply->id());
        if (surface_restore(elems, facs) != 0) return -1;
        CVekObjectStoreIterator<CKpGplyElem> ie(gply->Elems());
        while (++ie) surface_select_elem(ie.key()->pelem(), facs, 0);
        msg->Create(1, "Selected elements.");
        if (find_selected_neighbour(msg, model->pGra(), facs, elems) != 0) return -1;
        FindPieces(msg, facs, gply);
        if (surface_restore(elems, facs) != 0) return -1;
    }

    // 5. Stacking directions.
    msg->Create(1, "Setting stdn on each gply.");
    ig.reset(gplys);
    while (++ig) SetPieceStdn(ig.key());

    // 6. Plies and patterns, after the plies of an earlier run are gone.
    RemovePreviousRun(model);
    ig.reset(gplys);
    while (++ig) {
        CKpGply* gply = ig.key();
        CKpMat* mat = model->pMats()->find(gply->mid());
        if (!mat) {
            msg->Create(2, "Cannot find material %d referenced by gply %d", gply->mid(),
                        gply->id());
            gply->setPieces(0);
            continue;
        }
        for (int p = 1; p <= gply->pieces(); ++p)
            if (MakePiecePly(model, gply, mat, p) != 0) throw std::bad_alloc();
    }

    // 7. The layup.
    CKpLyp* lyp = model->pLyp();
    lyp->Clear();
    lyp->setName("gplyids");
    lyp->setId(1);
    ig.reset(gplys);
    while (++ig)
        for (int p = 1; p <= ig.key()->pieces(); ++p)
            model->CreateLayupPly(nullptr, nullptr, 2, PlyName(ig.key()->id(), p).c_str(), 1, 0.0,
                                  0.0, ig.key()->id());
    return 0;
}

}  // namespace

int CheckLamDn(CKpLamLyrStore* layers) {
    if (!layers || layers->entries() < 2) return 0;
    int dn = 0;
    const CKpLamLyr* prev = layers->First();
    for (const CKpLamLyr* lyr = layers->Next(prev); lyr; prev = lyr, lyr = layers->Next(lyr)) {
        const int step = lyr->gplyid() > prev->gplyid()   ? 1
                         : lyr->gplyid() < prev->gplyid() ? -1
                                                          : 0;
        if (step == 0 || (dn != 0 && step != dn)) return 0;
        dn = step;
    }
    return dn;
}

int CreateLayupLaminate(CKpLayup* model) {
    if (!model) return -1;
    try {
        return Run(model);
    } catch (...) {
        model->pMsg()->Create(4, "Could not allocate memory.");
        surface_restore(model->pElems(), model->pFacs());
        return -1;
    }
}
