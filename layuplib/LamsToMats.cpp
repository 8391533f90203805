#include "layuplib/LamsToMats.h"

#include <climits>
#include <new>
#include <vector>

#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPropStore.h"
#include "layuplib/LamToMat9.h"
#include "layuplib/angle_util.h"

namespace {

// One laminate's input to LamToMat9: each layer has its own material index.
struct Stack {
    std::vector<double> D, alpha, dens, angle, thick;
    std::vector<int> mat;
    double z0 = 0.0;
};

// Fills `stack` from the layers of `lam`; false after logging why not.
bool buildStack(CKpMsg* log, CKpMatStore* mats, CKpLam* lam, Stack& stack) {
    CKpLamLyrStore* layers = lam->LamLyrs();
    const int n = layers ? layers->entries() : 0;
    stack.D.assign(36 * n, 0.0);
    stack.alpha.assign(6 * n, 0.0);
    stack.dens.assign(n, 0.0);
    stack.angle.assign(n, 0.0);
    stack.thick.assign(n, 0.0);
    stack.mat.assign(n, 0);
    double H = 0.0;
    int k = 0;
    for (CKpLamLyr* lyr = layers ? layers->First() : nullptr; lyr; lyr = layers->Next(lyr), ++k) {
        CKpMat* mat = mats->find(lyr->mid());
        if (!mat) {
            log->Create(4,
                        "The equivalent properties of laminate %s could not be calculated because "
                        "layer %d references material %d, which does not exist.",
                        lam->name(), k + 1, lyr->mid());
            return false;
        }
        double alphaSolver[6];
        if (material_stiff3d(log, mat, &stack.D[36 * k], alphaSolver, &stack.dens[k]) != 0)
            return false;
        KorbeldToJones(&stack.D[36 * k]);
        // The expansion vector goes into the textbook order with the stiffness.
        static const int p[6] = {0, 1, 2, 4, 5, 3};
        for (int i = 0; i < 6; ++i) stack.alpha[6 * k + i] = alphaSolver[p[i]];
        stack.mat[k] = k;
        stack.thick[k] = lyr->t();
        stack.angle[k] = degrees(lyr->theta());
        H += lyr->t();
    }
    stack.z0 = -0.5 * H;
    return true;
}

void logResults(CKpMsg* log, const double* D, const double* eng) {
    log->Create(1, " Elastic Stiffness Matrix: (Korbeld convention)");
    for (int i = 0; i < 6; ++i)
        log->Create(1, "  %16G %16G %16G %16G %16G %16G", D[i * 6 + 0], D[i * 6 + 1], D[i * 6 + 2],
                    D[i * 6 + 3], D[i * 6 + 4], D[i * 6 + 5]);
    log->Create(1, " Engineering Constants: (approximate)");
    static const char* const labels[19] = {
        "  Ex:    %16G", "  Ey:    %16G", "  Ez:    %16G", "  Gx:    %16G", "  Gy:    %16G",
        "  Gz:    %16G", "  NUxy:  %16G", "  NUyx:  %16G", "  NUxz:  %16G", "  NUzx:  %16G",
        "  NUyz:  %16G", "  NUzy:  %16G", "  ALPx:  %16G", "  ALPy:  %16G", "  ALPz:  %16G",
        "  ALPxy: %16G", "  ALPyz: %16G", "  ALPzx: %16G", "  DENS:  %16G"};
    for (int i = 0; i < 19; ++i) log->Create(1, labels[i], eng[i]);
}

void logFailure(CKpMsg* log, CKpLam* lam, int status, const Stack& s) {
    const int n = static_cast<int>(s.mat.size());
    log->Create(1, " Status of LamToMat9: %d", status);
    log->Create(1, "  num_mat %d", n);
    for (int m = 0; m < n; ++m) {
        const double* D = &s.D[36 * m];
        const double* a = &s.alpha[6 * m];
        log->Create(1, "   mat %d", m);
        log->Create(1, " Elastic Stiffness Matrix:");
        for (int i = 0; i < 6; ++i)
            log->Create(1, "  %12G %12G %12G %12G %12G %12G", D[i * 6 + 0], D[i * 6 + 1],
                        D[i * 6 + 2], D[i * 6 + 3], D[i * 6 + 4], D[i * 6 + 5]);
        log->Create(1, " Thermal Vector:");
        log->Create(1, "  %12G %12G %12G %12G %12G %12G", a[0], a[1], a[2], a[3], a[4], a[5]);
        log->Create(1, " Density:");
        log->Create(1, "  %12G", s.dens[m]);
    }
    log->Create(1, "  num_plies %d", n);
    for (int k = 0; k < n; ++k)
        log->Create(1, "  ply %3d mat %3d angle %12G thick %12G", k, s.mat[k], s.angle[k],
                    s.thick[k]);
    log->Create(1, "  offset %12G", s.z0);
    log->Create(1, "  kappa %12G", 1.0);
    log->Create(4,
                "The equivalent properties of laminate %s could not be calculated, probably "
                "because of incorrect input data. These have been written to the message file "
                "for verification.",
                lam->name());
}

// The equivalent material of `lam` in `lamMats`; false after logging.
bool addMaterial(CKpMsg* log, CKpMatStore* lamMats, CKpLam* lam, const double* D,
                 const double* eng) {
    // No id left above the highest: the material cannot be created either.
    CKpMat* mat =
        lamMats->maxId() < INT_MAX ? new (std::nothrow) CKpMat(lamMats->maxId() + 1) : nullptr;
    if (!mat) {
        log->Create(4, "Could not add material");
        return false;
    }
    const double e = 1e-35;  // keeps every term nonzero
    mat->setMtrlnm(lam->name());
    mat->setDir(3);
    mat->setEx(D[0] + e);
    mat->setEy(D[7] + e);
    mat->setEz(D[14] + e);
    mat->setNuxy(D[1] + e);
    mat->setNuyz(D[8] + e);
    mat->setNuzx(D[2] + e);
    mat->setGxy(D[21] + e);
    mat->setGyz(D[28] + e);
    mat->setGzx(D[35] + e);
    mat->setC14(D[3] + e);
    mat->setC15(D[4] + e);
    mat->setC16(D[5] + e);
    mat->setC24(D[9] + e);
    mat->setC25(D[10] + e);
    mat->setC26(D[11] + e);
    mat->setC34(D[15] + e);
    mat->setC35(D[16] + e);
    mat->setC36(D[17] + e);
    mat->setC45(D[22] + e);
    mat->setC46(D[23] + e);
    mat->setC56(D[29] + e);
    mat->setAlpx(eng[12] + e);
    mat->setAlpy(eng[13] + e);
    mat->setAlpz(eng[14] + e);
    mat->setA4(eng[15] + e);
    mat->setA5(eng[16] + e);
    mat->setA6(eng[17] + e);
    mat->setDens(eng[18]);
    if (lamMats->insert(mat) != 0) {  // the store could not grow
        delete mat;
        log->Create(4, "Could not add material");
        return false;
    }
    return true;
}

}  // namespace

int LamsToMats(CKpLayup* layup) {
    if (!layup) return -1;
    CKpMsg* log = layup->pMsg();
    CKpMatStore* mats = layup->pMats();
    CKpMatStore* lamMats = layup->pLamMats();
    CKpLamStore* lams = layup->pLams();
    CKpPropStore* props = layup->pProps();
    if (!mats || !lamMats || !lams || !props) {
        log->Create(4, "Could not allocate memory.");
        return -1;
    }

    // 1. Emptied outright: a reference-checked delete would refuse
    // equivalent materials whose ids happen to match layup materials.
    lamMats->eraseAllObjects();

    try {
        Stack stack;
        const int nLams = lams->entries();
        for (int i = 0; i < nLams; ++i) {
            CKpLam* lam = (*lams)[i];
            if (!lam) continue;
            log->Create(1, "%s", "");
            log->Create(1, "Calculating equivalent properties of laminate %s", lam->name());

            // 2. The stack and its homogenisation.
            if (!buildStack(log, mats, lam, stack)) return -1;
            const int n = static_cast<int>(stack.mat.size());
            double D[36], eng[19];
            const int status = LamToMat9(n, stack.D.data(), stack.alpha.data(), stack.dens.data(),
                                         n, stack.mat.data(), stack.angle.data(),
                                         stack.thick.data(), stack.z0, 1.0, D, eng);
            if (status != 0) {
                logFailure(log, lam, status, stack);
                return -1;
            }
            logResults(log, D, eng);

            // 3. The material, and the property sets that now name it.
            if (!addMaterial(log, lamMats, lam, D, eng)) return -1;
            const int nProps = props->entries();
            for (int j = 0; j < nProps; ++j) {
                CKpProp* prop = (*props)[j];
                if (prop && prop->pLam() == lam) prop->matName(lam->name());
            }
        }
    } catch (const std::bad_alloc&) {
        log->Create(4, "Could not allocate memory.");
        return -1;
    }

    // 4. Delete the laminates without leaving a property set or an element
    // pointing at one.
    std::vector<CKpProp*> attached;
    try {
        const int nProps = props->entries();
        for (int j = 0; j < nProps; ++j) {
            CKpProp* prop = (*props)[j];
            CKpLam* lam = prop ? prop->pLam() : nullptr;
            if (lam && (lam->GetLamStore() == lams || lams->find(lam->id()) == lam))
                attached.push_back(prop);
        }
    } catch (const std::bad_alloc&) {
        log->Create(4, "Could not allocate memory.");
        return -1;
    }
    if (lams->Clear() != 0) {
        log->Create(4,
                    "Could not delete the laminates after calculating their equivalent "
                    "properties.");
        return -1;
    }
    for (CKpProp* prop : attached) prop->pLam(nullptr);
    return 0;
}
