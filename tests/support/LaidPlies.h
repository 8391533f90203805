#ifndef PLYSTRAND_TESTS_SUPPORT_LAIDPLIES_H
#define PLYSTRAND_TESTS_SUPPORT_LAIDPLIES_H

#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/add_layer.h"

// Plies laid straight onto a model's elements, without drape: a projected
// pattern over the listed elements, fibres along the element frames.
namespace laidplies {

// A new material `name` of thickness `t` with the next free id.
inline CKpMat* Material(CKpLayup& model, const char* name, double t) {
    CKpMat* mat = new CKpMat(model.pMats()->maxId() + 1);
    mat->setMtrlnm(name);
    mat->setMtrlthck(t);
    model.pMats()->insert(mat);
    return mat;
}

// Ply `name` of `mat` over the elements `ids`, laid on top of the layup
// (global ply id `gply`). The result of CreateLayupPly: 0 when laid.
inline int Lay(CKpLayup& model, const char* name, CKpMat* mat, const std::vector<int>& ids,
               int gply = 0) {
    CKpPat* pat = new CKpPat(model.pPats()->maxId() + 1);
    pat->setLyrtp(2);
    pat->SetNameByPlyName(name);
    pat->setStdn(1);
    pat->setSimResult(0);
    model.pPats()->insert(pat);
    for (int id : ids) {
        CKpPatElem* pe = new CKpPatElem;
        pe->setElemId(id);
        pe->setPelem(model.pElems()->find(id));
        pe->setStdn(1);
        pe->setDnfg(1);
        pat->PatElems()->InsertLast(pe);
    }
    model.pPlys()->insert(new CKpPly(model.pPlys()->maxId() + 1, name, 2, mat, pat));
    return CreateLayupPly(&model, "", "", 2, name, 1, 0.0, 0.0, gply);
}

}  // namespace laidplies

#endif  // PLYSTRAND_TESTS_SUPPORT_LAIDPLIES_H
