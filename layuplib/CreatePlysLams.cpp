#include "layuplib/CreatePlysLams.h"

#include <climits>
#include <cstring>
#include <new>
#include <string>

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
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
#include "layuplib/CalcElementData2.h"
#include "layuplib/store_or_free.h"

namespace {

// Layer `index` (0-based) of a laminate, or null.
CKpLamLyr* Layer(CKpLam* lam, int index) {
    CKpLamLyrStore* list = lam->LamLyrs();
    if (!list) return nullptr;
    CKpLamLyr* l = list->First();
    for (int i = 0; l && i < index; ++i) l = list->Next(l);
    return l;
}

int LayerCount(CKpLam* lam) {
    return lam->LamLyrs() ? lam->LamLyrs()->entries() : 0;
}

}  // namespace

int CreatePlysLams(CKpLayup* model, const char* sw, const char* plyName) {
    if (!model) return -1;
    CKpMsg* msg = model->pMsg();
    if (!sw || std::strcmp(sw, "-bdfwpwt") != 0) {
        msg->Create(4, "Unsupported switch: '%s'", sw ? sw : "");
        return -1;
    }
    const std::string base = plyName ? plyName : "";
    CKpElemStore* elems = model->pElems();
    CKpLamStore* lams = model->pLams();
    CKpMatStore* mats = model->pMats();
    CKpPatStore* pats = model->pPats();
    CKpPlyStore* plys = model->pPlys();
    if (!elems || !lams || !mats || !pats || !plys) return -1;

    for (int k = 0;; ++k) {
        CKpPat* pat = nullptr;
        CKpMat* current = nullptr;
        std::string name;
        // Where the pass's last element found no material, for the warning.
        int missingLam = 0, missingMid = 0;
        for (int i = 0; i < elems->entries(); ++i) {
            CKpElem* e = (*elems)[i];
            if (!e || e->pid() == 0) continue;
            CKpLam* lam = lams->find(e->pid());
            if (!lam || LayerCount(lam) < 2 * k + 2) continue;
            CKpLamLyr* warp = Layer(lam, 2 * k);
            CKpLamLyr* weft = Layer(lam, 2 * k + 1);
            if (!warp || !weft) continue;
            CKpMat* mat = mats->find(weft->mid());
            if (mat) {
                if (mat->lyrtp() < 1) mat->setLyrtp(3);
                if (mat->mtrlthck() == 0.0) mat->setMtrlthck(warp->t() + weft->t());
            } else {
                missingLam = lam->id();
                missingMid = weft->mid();
            }
            current = mat;

            if (!pat) {
                // The pass's ply takes an id too: with none left above the
                // highest in either store nothing is made.
                if (pats->maxId() < INT_MAX && plys->maxId() < INT_MAX)
                    pat = new (std::nothrow) CKpPat(pats->maxId() + 1);
                if (!pat) {
                    msg->Create(4, "Could not allocate memory.");
                    return -1;
                }
                if (store_or_free(pats, pat, nullptr, "pattern") != 0) {
                    msg->Create(4, "Could not allocate memory.");
                    return -1;
                }
                name = base + "." + std::to_string(pat->id());
                pat->setPttrnnm((name + "_pattern").c_str());
                pat->setLyrtp(3);
                CKpPoint mid;
                CKpDirn normal, ref;
                double area = 0.0;
                CalcElementData2(msg, e, &mid, &normal, &ref, &area);
                pat->setEye(mid.getx(), mid.gety(), mid.getz());
                pat->setEyed(-normal.getx(), -normal.gety(), -normal.getz());
                pat->setRefd(ref.getx(), ref.gety(), ref.getz());
                pat->setRefang(warp->theta() + e->theta());
                pat->setSimResult(0);
            }
            CKpPatElem* pe = new (std::nothrow) CKpPatElem;
            if (!pe) {
                msg->Create(4, "Could not allocate memory.");
                return -1;
            }
            pe->setElemId(e->id());
            pe->setPelem(e);
            pe->setStdn(1);
            pe->setDnfg(1);
            pe->setWarpAngle(warp->theta() + e->theta());
            pe->setWeftAngle(weft->theta() + e->theta());
            pat->PatElems()->InsertLast(pe);
        }
        if (!pat) return 0;
        if (!current) {
            msg->Create(2,
                        "Pattern '%s' has no ply: laminate %d layer %d refers to material %d, "
                        "which does not exist.",
                        pat->pttrnnm(), missingLam, 2 * k + 2, missingMid);
            return 0;
        }
        CKpPly* ply = new (std::nothrow) CKpPly(plys->maxId() + 1, name.c_str(), 3, current, pat);
        if (!ply) {
            msg->Create(4, "Could not allocate memory.");
            return -1;
        }
        ply->AddEvent(5);
        if (store_or_free(plys, ply, nullptr, "ply") != 0) {
            msg->Create(4, "Could not allocate memory.");
            return -1;
        }
    }
}
