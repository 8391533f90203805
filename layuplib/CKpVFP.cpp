#include "layuplib/CKpVFP.h"

#include <cstdio>

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CVekObjectStoreIterator.h"

int CKpVFP::Write(CKpLayup* model, const char* path, const char* name, int) {
    if (!model) return -1;
    if (!path) path = "";
    if (!name) name = "";
    CKpMsg* msg = model->pMsg();
    FILE* fp = std::fopen(path, "w");
    if (!fp) {
        msg->Create(4, "Could not open file '%s' for writing.", path);
        return -1;
    }
    CKpElemStore* elems = model->pElems();
    CKpFacetStore* facs = model->pFacs();
    if (facs->entries() == 0 && elems->entries() > 0) facs->CreateFacets();

    std::fprintf(fp, "**\n** surface description in ASCII STL format\n**\n*MESH\n**\n");
    std::fprintf(fp, "solid %s\n", name);
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it) {
        const CKpElem* e = it.key();
        const int nfac = e->getnfac();
        if (nfac < 1) continue;
        CKpDirn normal;
        e->GetNormal(&normal);
        for (int f = 0; f < nfac; ++f) {
            const CKpFacet* facet = facs->pFac(e->getfacs(f));
            if (!facet) continue;
            std::fprintf(fp, "facet normal %f %f %f\nouter loop\n", normal.getx(), normal.gety(),
                         normal.getz());
            for (int v = 0; v < 3; ++v) {
                const CKpNode* node = facet->getCKpNode(v);
                const double x = node ? node->getCKpPointX() : 0.0;
                const double y = node ? node->getCKpPointY() : 0.0;
                const double z = node ? node->getCKpPointZ() : 0.0;
                std::fprintf(fp, "vertex %f %f %f\n", x, y, z);
            }
            std::fprintf(fp, "endloop\nendfacet\n");
        }
    }
    std::fprintf(fp, "endsolid %s\r\n", name);

    std::fprintf(fp, "**\n** draped pattern for ply\n**\n*PLY\n**\n** u v x y z ood order\n**\n");
    CKpDrape* drape = model->pDrapeSim()->pDrape();
    int imin = 0, imax = -1, jmin = 0, jmax = -1;
    drape->GetBounds(imin, imax, jmin, jmax);
    for (int j = jmin; j <= jmax; ++j)
        for (int i = imin; i <= imax; ++i) {
            const CKpDrapePt* pt = drape->pDrapePt(i, j);
            if (!pt) continue;
            const CKpPoint& p = pt->GetPoint();
            std::fprintf(fp, "%d %d %g %g %g %d %d\n", i, j, p.getx(), p.gety(), p.getz(), 0,
                         pt->GetId());
        }

    const bool writeFailed = std::ferror(fp) != 0;
    if (std::fclose(fp) != 0 || writeFailed) {
        msg->Create(4, "Could not close file");
        return -1;
    }
    return 0;
}
