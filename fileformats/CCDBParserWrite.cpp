// CCDBParser::Write: the model as a CDB input file.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <new>

#include "fileformats/CCDBEblock.h"
#include "fileformats/CCDBMat.h"
#include "fileformats/CCDBNblock.h"
#include "fileformats/CCDBParser.h"
#include "fileformats/CCDBRlsetStore.h"
#include "fileformats/CCDBSec.h"
#include "fileformats/CDBNumber.h"
#include "fileformats/CDBParser.h"
#include "fileformats/CLamRc.h"
#include "layuplib/CKpAnsys.h"
#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElemAnsys.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpIdStore.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/angle_util.h"
#include "layuplib/store_or_free.h"

namespace {

bool isShell181(int gmtp) {
    return gmtp == 1 || gmtp == 11;
}
bool isShell99(int gmtp) {
    return gmtp == 2 || gmtp == 12;
}

// Checks that `value` fits an 8-column field; otherwise an error naming it.
bool fits(CKpMsg* msg, const char* what, long long value) {
    if (CdbFitsI8(value)) return true;
    msg->Create(4, "%s %lld does not fit an 8-column field of the CDB file.", what, value);
    return false;
}

}  // namespace

int CCDBParser::Write() {
    CKpMsg* msg = pMsg();
    if (!msg || !pAnsys() || !pNodes() || !pElems() || !pMats() || !pLams()) return -1;
    try {
        const int flags = modelFlags();
        const bool mesh = flags & 1, materials = flags & 2, props = flags & 4, emodif = flags & 8;
        CKpAnsysEtStore* ets = pAnsys()->pEts();
        CKpElemStore* elems = pElems();
        CKpLamStore* lams = pLams();
        CKpMatStore* mats = pMats();
        CKpNodeStore* nodes = pNodes();

        CCDBOwningStore<CLamRc> lamRcs;
        CKpIdStore secIds;
        CCDBRlsetStore rlsets;
        int type181 = 0, type99 = 0, created = 0;

        // 1. Element types of the elements that have none yet.
        if (props) {
            CVekObjectStoreIterator<CKpElem> it(*elems);
            while (++it) {
                CKpElem* elem = it.key();
                CKpLam* lam = lams->find(elem->pid());
                const CKpElemLypPlyStore* plies = elem->getElemLypPlies();
                if (elem->pAnsys() || (!lam && (!plies || plies->entries() == 0))) continue;
                int* typeId;
                int typeNumber;
                if (isShell181(elem->getgmtp())) {
                    typeId = &type181;
                    typeNumber = 181;
                } else if (isShell99(elem->getgmtp())) {
                    typeId = &type99;
                    typeNumber = 99;
                } else {
                    msg->Create(4, "Unsupported geometry type %d", elem->getgmtp());
                    return -1;
                }
                if (*typeId == 0) {
                    const int id = ets->maxId() + 1;
                    if (store_or_free(ets, new CKpAnsysEt(id, typeNumber), msg, "element type") !=
                        0)
                        return -1;
                    *typeId = id;
                    ++created;
                }
                CKpElemAnsys* a = elem->CreateAnsys();
                if (!a) {
                    msg->Create(4, "Could not allocate memory.");
                    return -1;
                }
                a->Set(1, *typeId);
            }
        }

        // 2. Element modification cannot bring new element types.
        if (emodif && created > 0) {
            msg->Create(2,
                        "%d new ANSYS element type/s has/have been created and element "
                        "modification is not appropriate. Please export a full ANSYS .cdb file.",
                        created);
            return -1;
        }

        // 3. Sections of SHELL181 elements, real constant sets of SHELL99 ones.
        if (props) {
            CVekObjectStoreIterator<CKpElem> it(*elems);
            while (++it) {
                CKpElem* elem = it.key();
                if (elem->pid() < 1) continue;
                const int gmtp = elem->getgmtp();
                if (isShell181(gmtp)) {
                    const int pid = elem->pid();
                    secIds.SetIdsAdd(1, &pid);
                    continue;
                }
                if (!isShell99(gmtp)) {
                    msg->Create(4, "Element %d: Unsupported geometry type %d", elem->id(), gmtp);
                    return -1;
                }
                CKpLam* lam = lams->find(elem->pid());
                if (!lam) continue;
                CLamRc* lamRc = lamRcs.find(lam->id());
                if (!lamRc) {
                    lamRc = new CLamRc(lam->id(), lam->GetIdFromName());
                    if (store_or_free(&lamRcs, lamRc, msg, "real constant link of laminate") != 0)
                        return -1;
                    if (lamRc->Rlset() == 0)
                        msg->Create(2, "Element %d: Cannot get id from laminate name %s",
                                    elem->id(), lam->name());
                }
                CKpAnsysEt* et = ets->find(elem->pAnsys() ? elem->pAnsys()->Get(1) : 0);
                if (!et) {
                    msg->Create(2, "Element %d: No element type.", elem->id());
                } else {
                    int k = lam->GetKeyopt11();
                    if (k == -1) {
                        msg->Create(
                            2,
                            "Element %d: Laminate %s has offset that cannot be defined by a "
                            "KEYOPT(11) value. Setting to KEYOPT(11) = 0 for nodes located "
                            "at midsurface.",
                            elem->id(), lam->name());
                        k = 0;
                    }
                    int current = et->GetKeyopt(11);
                    if (current < 0) current = 0;
                    int typeId = et->id();
                    if (k != current) {
                        const long long variant = (k + 10) * 1000LL + et->id();
                        if (variant > INT_MAX || variant < INT_MIN) {
                            msg->Create(4, "Element %d: element type id %d is too large.",
                                        elem->id(), et->id());
                            return -1;
                        }
                        typeId = static_cast<int>(variant);
                        if (!ets->find(typeId)) {
                            CKpAnsysEt* copy = new CKpAnsysEt(*et);
                            copy->setId(typeId);
                            copy->SetKeyopt(11, k);
                            if (store_or_free(ets, copy, msg, "element type") != 0) return -1;
                        }
                    }
                    if (CKpElemAnsys* a = elem->CreateAnsys()) a->Set(1, typeId);
                }
                CKpElemAnsys* a = elem->CreateAnsys();
                if (!a) {
                    msg->Create(4, "Could not allocate memory.");
                    return -1;
                }
                a->Set(2, lamRc->Rlset());
            }
        }

        // Real constant sets from the laminates of SHELL99 elements.
        int maxValues = 0, maxSet = 0;
        if (props) {
            CVekObjectStoreIterator<CLamRc> it(lamRcs);
            while (++it) {
                CLamRc* lamRc = it.key();
                CKpLam* lam = lams->find(lamRc->id());
                if (!lam) continue;
                if (rlsets.find(lamRc->Rlset())) {
                    msg->Create(2, "Duplicate real constanst set: %d", lamRc->Rlset());
                    continue;
                }
                CCDBRlset* set = new CCDBRlset(lamRc->Rlset());
                if (store_or_free(&rlsets, set, msg, "real constant set") != 0) return -1;
                CVekTemplateList<double>& v = set->Values();
                const int n = lam->NumLayers();
                const double head[12] = {double(n), 0, 1.0, double(n), 0, 0, 0, 0, 0, 0, 0, 0};
                v.AddList(head, 12);
                if (CKpLamLyrStore* layers = lam->LamLyrs()) {
                    for (CKpLamLyr* lyr = layers->First(); lyr; lyr = layers->Next(lyr)) {
                        v.Add(lyr->mid(), -1);
                        v.Add(lyr->theta() * 180.0 / kPi, -1);
                        v.Add(lyr->t(), -1);
                    }
                }
                int size = v.GetSize();
                while (size > 0 && v[size - 1] == 0.0) --size;
                v.Size(size);
                if (size > maxValues) maxValues = size;
                if (set->id() > maxSet) maxSet = set->id();
            }
        }

        // Every 8-column integer must keep its width: checked before the file
        // is opened, so that a refused model leaves no partial file.
        CKpMat* defaultMat = (*mats)[0];
        {
            bool ok = true;
            if (props && !emodif) {
                CVekObjectStoreIterator<CKpAnsysEt> it(*ets);
                while (++it && ok) ok = fits(msg, "Element type id", it.key()->id());
            }
            if (props && rlsets.entries() > 0) {
                ok = ok && fits(msg, "Real constant set count", rlsets.entries()) &&
                     fits(msg, "Real constant set number", maxSet) &&
                     fits(msg, "Real constant value count", maxValues);
                CVekObjectStoreIterator<CCDBRlset> it(rlsets);
                while (++it && ok) ok = fits(msg, "Real constant set number", it.key()->id());
            }
            if (mesh) {
                CVekObjectStoreIterator<CKpNode> nit(*nodes);
                while (++nit && ok)
                    if (!nit.key()->incomplete()) ok = fits(msg, "Node id", nit.key()->id());
                ok = ok && fits(msg, "Element count", elems->entries());
                CVekObjectStoreIterator<CKpElem> eit(*elems);
                long long f[19];
                while (++eit && ok) {
                    const int n = CCDBEblock::Fields(eit.key(), defaultMat, f);
                    for (int k = 0; k < n && ok; ++k) {
                        if (!CdbFitsI8(f[k])) {
                            msg->Create(
                                4,
                                "Element %d: field %d (%lld) does not fit an 8-column field "
                                "of the CDB file.",
                                eit.key()->id(), k + 1, f[k]);
                            ok = false;
                        }
                    }
                }
            }
            if (materials) {
                CVekObjectStoreIterator<CKpMat> it(*mats);
                while (++it && ok) ok = fits(msg, "Material id", it.key()->id());
            }
            if (!ok) return -1;
        }

        // 4. The file.
        CDBParser out;
        if (out.OpenWrite(name(), 0) != 0) {
            msg->Create(4, "Unable to open file");
            return -1;
        }
        int failed = 0;
        auto put = [&out, &failed](const char* text) { failed |= out.Write(text) != 0; };
        auto putn = [&out, &failed](const char* text, int n) { failed |= out.Write(text, n) != 0; };
        char buf[512];

        // 5. Header.
        put("/PREP7\n");
        if (!emodif) {
            put("/NOPR\n");
            put("/TITLE,                                                                        "
                "\n");
            put("ANTYPE, 0\n");
        }

        // 6. Element types with their KEYOPTs.
        if (props && !emodif && ets->entries() > 0) {
            CVekObjectStoreIterator<CKpAnsysEt> it(*ets);
            while (++it) {
                CKpAnsysEt* et = it.key();
                std::snprintf(buf, sizeof buf, "ET,%8d,%3d\n", et->id(), et->Val());
                put(buf);
                CVekObjectStoreIterator<CKpAnsysKeyopt> kit(*et->pKeyopts());
                while (++kit) {
                    std::snprintf(buf, sizeof buf, "KEYOP,%8d,%2d,%9d\n", et->id(), kit.key()->id(),
                                  kit.key()->Val());
                    put(buf);
                }
            }
        }

        // 7. Real constant sets: a first row of 6 values, continuation rows of 7.
        if (props && rlsets.entries() > 0) {
            std::snprintf(buf, sizeof buf, "RLBLOCK,%8d,%8d,%8d,%8d\n", rlsets.entries(), maxSet,
                          maxValues, 7);
            put(buf);
            put("(2i8,6g16.9)\n");
            put("(7g16.9)\n");
            CVekObjectStoreIterator<CCDBRlset> it(rlsets);
            while (++it) {
                const CVekTemplateList<double>& v = it.key()->Values();
                int n = std::snprintf(buf, sizeof buf, "%8d%8d", it.key()->id(), v.GetSize());
                int i = 0;
                for (; i < v.GetSize() && i < 6; ++i) n += CdbFormatF16(buf + n, v[i]);
                buf[n++] = '\n';
                putn(buf, n);
                while (i < v.GetSize()) {
                    n = 0;
                    for (int c = 0; c < 7 && i < v.GetSize(); ++c, ++i)
                        n += CdbFormatF16(buf + n, v[i]);
                    buf[n++] = '\n';
                    putn(buf, n);
                }
            }
        }

        // Frames the elements name as element coordinate systems: without them
        // the EBLOCK would refer to systems the file does not define.
        if (mesh) {
            CKpIdStore frameIds;
            CVekObjectStoreIterator<CKpElem> it(*elems);
            while (++it) {
                const int esys = it.key()->pAnsys() ? it.key()->pAnsys()->Get(3) : 0;
                if (esys > 0) frameIds.SetIdsAdd(1, &esys);
            }
            CVekObjectStoreIterator<CKpId> fit(frameIds);
            int written = 0;
            while (++fit) {
                CKpCoord* frame = pCoords() ? pCoords()->find(fit.key()->id()) : nullptr;
                CKpDirn axes[3];
                if (!frame || frame->rid() != 0 || frame->axes(nullptr, axes) != 0) {
                    msg->Create(2,
                                "Coordinate system %d is not written: it is not a rectangular "
                                "frame given in the basic frame.",
                                fit.key()->id());
                    continue;
                }
                // Axes = Rz(thxy) Rx(thyz) Ry(thzx) applied to the basic axes.
                const double thyz = std::asin(std::max(-1.0, std::min(1.0, axes[1].getz())));
                const double thzx = std::atan2(-axes[0].getz(), axes[2].getz());
                const double thxy = std::atan2(-axes[1].getx(), axes[1].gety());
                const double toDeg = 180.0 / kPi;
                std::snprintf(buf, sizeof buf, "LOCAL,R5.0,LOC,%d,0,%.17G,%.17G,%.17G\n",
                              frame->id(), frame->coords(0), frame->coords(1), frame->coords(2));
                put(buf);
                std::snprintf(buf, sizeof buf, "LOCAL,R5.0,ANG,%d,0,%.17G,%.17G,%.17G\n",
                              frame->id(), thxy * toDeg, thyz * toDeg, thzx * toDeg);
                put(buf);
                ++written;
            }
            if (written > 0) put("CSYS,0\n");
        }

        // 8. Nodes that have their position.
        if (mesh && nodes->entries() > 0) {
            put("NBLOCK,6,SOLID\n");
            put("(3i8,6e16.9)\n");
            CCDBNblock line;
            CVekObjectStoreIterator<CKpNode> it(*nodes);
            while (++it) {
                if (it.key()->incomplete()) continue;
                line.Set(it.key());
                putn(buf, line.Format(buf));
            }
            put("N,R5.3,LOC,     -1,\n");
        }

        // 9. Elements.
        if (mesh && elems->entries() > 0) {
            std::snprintf(buf, sizeof buf, "EBLOCK,19,SOLID,%8d\n", elems->entries());
            put(buf);
            put("(19i8)\n");
            CVekObjectStoreIterator<CKpElem> it(*elems);
            while (++it) putn(buf, CCDBEblock::Format(it.key(), defaultMat, buf));
            put("      -1\n");
        }

        // 10. Materials.
        if (materials) {
            CKpStr lines;
            CVekObjectStoreIterator<CKpMat> it(*mats);
            while (++it) {
                CCDBMat::SetGet(it.key(), lines);
                put(lines);
                CCDBMat::SetGetFC(it.key(), lines);
                put(lines);
            }
        }

        // 11. Sections.
        if (props) {
            CCDBSec sec;
            CKpStr lines;
            CVekObjectStoreIterator<CKpId> it(secIds);
            while (++it) {
                CKpLam* lam = lams->find(it.key()->id());
                if (!lam) continue;
                sec.Set(lam);
                sec.Get(lines);
                put(lines);
            }
        }

        // 12. Element modification lines.
        int status = 0;
        if (emodif) {
            if (lams->entries() > 0) put("/COM,EMODIF data, used where a model already exists.\n");
            CVekObjectStoreIterator<CKpElem> it(*elems);
            while (++it) {
                CKpElem* elem = it.key();
                if (elem->pid() < 1) continue;
                const int gmtp = elem->getgmtp();
                if (isShell181(gmtp)) {
                    std::snprintf(buf, sizeof buf, "EMODIF,%d,SECNUM,%d\n", elem->id(),
                                  elem->pid());
                    put(buf);
                } else if (isShell99(gmtp)) {
                    // Without ANSYS data the element has no set: a line with set
                    // 0 would detach its real constants in the solver.
                    if (!elem->pAnsys()) {
                        msg->Create(2,
                                    "Element %d has no real constant set; no EMODIF line is "
                                    "written for it.",
                                    elem->id());
                        continue;
                    }
                    std::snprintf(buf, sizeof buf, "EMODIF,%d,REAL,%d\n", elem->id(),
                                  elem->pAnsys()->Get(2));
                    put(buf);
                } else {
                    msg->Create(4, "Unsupported geometry type %d", gmtp);
                    status = -1;
                    break;
                }
            }
        }

        // 13. End of the input.
        if (status == 0 && !emodif) {
            put("/GOPR\n");
            put("FINISH\n");
        }

        // 14. Close; a write that failed (disk full) is a failure.
        if (out.Close() != 0) failed = 1;
        msg->Create(1, "Parsing Completed");
        if (failed) {
            msg->Create(4, "Could not write file '%s'.", name());
            return -1;
        }
        if (out.m_lastError.Size() > 0) {
            msg->Create(1, "Last error: %s", static_cast<const char*>(out.m_lastError));
            return -1;
        }
        return status;
    } catch (const std::bad_alloc&) {
        msg->Create(4, "Could not allocate memory.");
        return -1;
    }
}
