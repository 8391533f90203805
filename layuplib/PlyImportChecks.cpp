#include "layuplib/PlyImportChecks.h"

#include <cmath>
#include <vector>

#include "layuplib/CKpBdy.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/CalcBoundary.h"
#include "layuplib/CalcStart.h"
#include "layuplib/angle_util.h"
#include "layuplib/find_nei.h"
#include "layuplib/surface_div.h"

namespace {

#define LOG(...)                           \
    do {                                   \
        if (msg) msg->Create(__VA_ARGS__); \
    } while (0)

bool Unequal(double a, double b) {
    const double sum = a + b;
    return sum != 0.0 && std::fabs((a - b) * 2.0 / sum) > 0.001;
}

bool AngleOutOfRange(double a) {
    return a < kPi / 36.0 || a > kPi - kPi / 36.0;
}

}  // namespace

int NameIncrement(std::string& name) {
    if (name.empty()) {
        name = "1";
        return 0;
    }
    size_t start = name.size();
    while (start > 0 && name[start - 1] >= '0' && name[start - 1] <= '9') --start;
    std::string digits = name.substr(start);
    // Leading zeros go, as when the number is read and written again.
    size_t nz = digits.find_first_not_of('0');
    digits = nz == std::string::npos ? "0" : digits.substr(nz);
    int carry = 1;
    for (size_t i = digits.size(); i-- > 0 && carry;) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            carry = 0;
        }
    }
    if (carry) digits.insert(digits.begin(), '1');
    name = name.substr(0, start) + digits;
    return 0;
}

int MaterialDefaults(CKpMsg* msg, CKpMat* mat) {
    if (!mat) return 0;
    LOG(1, "Applying defaults to material '%s':", mat->mtrlnm());
    const int type = mat->lyrtp();
    if (type < 1) return 0;
    if (type == 3 && AngleOutOfRange(mat->wpwtang())) {
        mat->setWpwtang(kPi / 2.0);
        LOG(1, "  updated wpwtang.");
    }
    if ((type == 3 || type == 4) && mat->maxstrn() < kPi / 360.0) {
        mat->setMaxstrn(kPi / 3.0);
        LOG(1, "  updated maxstrnn.");
    }
    if (type > 4) return 0;
    if (mat->extmtrlnm()[0] == '\0') {
        mat->setExtmtrlnm(mat->mtrlnm());
        LOG(1, "  updated extmtrlnm.");
    }
    return 0;
}

int MaterialEqual(CKpMsg* msg, CKpMat* a, CKpMat* b) {
    if (!a || !b) return 0;
    LOG(1, "Comparing materials with names '%s' and '%s'", a->mtrlnm(), b->mtrlnm());
    if (std::string(a->mtrlnm()) != b->mtrlnm()) {
        LOG(1, "  unequal mtrlnm:   %16s %16s", a->mtrlnm(), b->mtrlnm());
        return 0;
    }
    if (a->lyrtp() != b->lyrtp()) {
        LOG(1, "  unequal lyrtp:    %16d %16d", a->lyrtp(), b->lyrtp());
        return 0;
    }
    const int type = a->lyrtp();
    if (type < 1 || type > 4) return 1;
    if (type == 3 && Unequal(a->wpwtang(), b->wpwtang())) {
        LOG(1, "  unequal wpwtang:  %16.8G %16.8G", a->wpwtang(), b->wpwtang());
        return 0;
    }
    if ((type == 3 || type == 4) && Unequal(a->maxstrn(), b->maxstrn())) {
        LOG(1, "  unequal maxstrn:  %16.8G %16.8G", a->maxstrn(), b->maxstrn());
        return 0;
    }
    if (Unequal(a->mtrlthck(), b->mtrlthck())) {
        LOG(1, "  unequal mtrlthck: %16.8G %16.8G", a->mtrlthck(), b->mtrlthck());
        return 0;
    }
    if (std::string(a->extmtrlnm()) != b->extmtrlnm()) {
        LOG(1, "  unequal extmtrlnm:%16s %16s", a->extmtrlnm(), b->extmtrlnm());
        return 0;
    }
    return 1;
}

int PlyDefaults(CKpMsg* msg, CKpPat* pat) {
    if (!pat) return 0;
    LOG(1, "Applying defaults to pattern '%s':", pat->pttrnnm());
    const int type = pat->lyrtp();
    if (type == 3 && AngleOutOfRange(pat->stwpwtang())) {
        pat->setStwpwtang(kPi / 2.0);
        LOG(1, "  updated stwpwtang.");
    }
    if (type != 3 && type != 4) return 0;
    if (std::fabs(pat->step()) < 1e-6) {
        pat->setStep(-1.0);
        LOG(1, "  updated step.");
    }
    if (pat->stdn() != 1 && pat->stdn() != -1) {
        CKpPatElem* first = pat->PatElems() ? pat->PatElems()->First() : nullptr;
        if (first) {
            pat->setStdn(first->stdn());
            LOG(1, "  updated stdn.");
        }
    }
    if (pat->axstp() < 0 || pat->axstp() > 4) {
        pat->setAxstp(0);
        LOG(1, "  updated axstp.");
    }
    if (pat->exttp() < 1 || pat->exttp() > 3) {
        pat->setExttp(1);
        LOG(1, "  updated exttp.");
    }
    return 0;
}

int VerifyPlyDnfg(CKpMsg* msg, CKpGra* gra, CKpElemStore* elems, CKpFacetStore* facets, CKpPat* pat,
                  const char* plyName) {
    if (!elems || !facets || !pat) return -1;
    if (!plyName) plyName = "";
    LOG(1, "Verifying ply directions.");
    if (surface_restore(elems, facets) != 0) return -1;
    CKpPatElemStore* list = pat->PatElems();
    std::vector<int> ids;
    if (list)
        for (CKpPatElem* pe = list->First(); pe; pe = list->Next(pe))
            ids.push_back(pe->GetElemId());
    surface_select_elements(elems, facets, static_cast<int>(ids.size()), ids.data());
    LOG(1, "Selected elements.");
    if (find_selected_neighbour(msg, gra, facets, elems) != 0) {
        surface_restore(elems, facets);
        return -1;
    }

    CKpPoint eye;
    eye.Set(pat->eyex(), pat->eyey(), pat->eyez());
    CKpDirn eyed;
    eyed.Set(pat->eyedx(), pat->eyedy(), pat->eyedz());
    int startFacet = -1, side = 0;
    CKpPoint start;
    if (CalcStart(msg, facets, eye, eyed, 0, startFacet, start, side) != 0 || startFacet < 0) {
        LOG(2,
            "When importing ply %s, element directions cannot be verified because the start "
            "point does not lie on the projected surface. Please verify this ply manually.",
            plyName);
        return surface_restore(elems, facets) != 0 ? -1 : 0;
    }
    LOG(1, "Found start facet.");

    CKpFacet* sf = facets->pFac(startFacet);
    const double refLen = std::sqrt(pat->refdx() * pat->refdx() + pat->refdy() * pat->refdy() +
                                    pat->refdz() * pat->refdz());
    if ((pat->lyrtp() == 3 || pat->lyrtp() == 4) && refLen < 1e-6) {
        pat->setRefang(0.0);
        CKpElem* se = sf ? sf->getElement() : nullptr;
        CKpPatElem* match = nullptr;
        if (se && list)
            for (CKpPatElem* pe = list->First(); pe && !match; pe = list->Next(pe))
                if (pe->GetElemId() == se->id()) match = pe;
        CKpDirn n, r;
        if (match && se->GetNormal(&n) == 0 && se->GetReference(&r) == 0) {
            // Rodrigues: r turned about the unit normal n by the warp angle.
            const double a = match->warpAngle(), c = std::cos(a), s = std::sin(a);
            const double nx = n.getx(), ny = n.gety(), nz = n.getz();
            const double rx = r.getx(), ry = r.gety(), rz = r.getz();
            const double d = nx * rx + ny * ry + nz * rz;
            double v[3] = {rx * c + (ny * rz - nz * ry) * s + nx * d * (1 - c),
                           ry * c + (nz * rx - nx * rz) * s + ny * d * (1 - c),
                           rz * c + (nx * ry - ny * rx) * s + nz * d * (1 - c)};
            const double len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
            if (len > 0.0) {
                pat->setRefd(v[0] / len, v[1] / len, v[2] / len);
                LOG(1, "  updated reference direction.");
            }
        }
    }

    CKpBdy* ring = nullptr;
    if (CalcAllBoundary(msg, facets, 1, startFacet, side < 0 ? -1 : 1, ring, nullptr, nullptr,
                        nullptr) < 0) {
        LOG(4, "Cannot create boundary around selected elements.");
    } else {
        LOG(1, "Created boundary.");
        DeleteBoundary(ring);
        for (CKpPatElem* pe = list ? list->First() : nullptr; pe; pe = list->Next(pe)) {
            CKpElem* e = pe->pelem() ? pe->pelem() : elems->find(pe->GetElemId());
            if (!e || e->getnfac() < 1) continue;
            CKpFacet* f = facets->pFac(e->getfacs(0));
            const int ft = f ? f->getFacetDirection() : 0;
            if (pe->stdn() * pe->dnfg() == ft) continue;
            LOG(1, "  ply %s seid %6d ueid %6d stdn %2d dnfg %2d ftdnfg %2d", plyName, 0,
                pe->GetElemId(), pe->stdn(), pe->dnfg(), ft);
            // A start-direction flag of 0 cannot be divided by: leave it.
            if (ft != 0 && pe->stdn() != 0) {
                pe->setDnfg(ft / pe->stdn());
                LOG(1, "    Corrected direction.");
            } else {
                LOG(1, "    Cannot determine correct direction.");
            }
        }
    }
    return surface_restore(elems, facets) != 0 ? -1 : 0;
}
