#include "fileformats/read_korbdf.h"

#include "fileformats/CBDFParser.h"
#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/node_reref.h"

int read_korbdf(char* path, CKpLayup* model) {
    CBDFParser parser;
    return parser.Parse(path, model);
}

int write_korbdf(char* path, CKpLayup* model, int usePcompg) {
    CBDFParser parser;
    return parser.WriteBDF(path, model, usePcompg);
}

int KorReadPre(CKpLayup* model) {
    if (!model) return -1;
    if (model->reinit() != 0) {
        model->pMsg()->Create(4, "Could not reinitialise data arrays");
        return -1;
    }
    model->pMsg()->Create(1, "Reinitialisation completed");
    return 0;
}

int KorReadPost(CKpLayup* model) {
    if (!model) return -1;
    CKpMsg* msg = model->pMsg();
    // 1. Grid points given in frames to basic coordinates.
    model->pNodes()->SetBasicCoords(model->pCoords());
    // 2. Element node ids to node objects.
    if (node_reref(msg, model->pNodes(), model->pElems()) < 0) return -1;
    // 3. Frame orientations, then every element's material angle.
    model->pOrients()->SetDirectionsByCoords(msg, model->pCoords());
    model->pOrients()->SetElemTheta(msg);
    // 4. The faceted surface.
    if (model->pFacs()->CreateFacets() != 0)
        msg->Create(1, "Facets created");
    else
        msg->Create(1, "Could not generate facets");
    return 0;
}
