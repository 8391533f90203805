#include "layuplib/PlyImport.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <new>
#include <unordered_set>
#include <vector>

#include "fileformats/read_korbdf.h"
#include "host/PlotRoutines.h"
#include "layuplib/CKpBdy.h"
#include "layuplib/CKpBdyStore.h"
#include "layuplib/CKpCurve.h"
#include "layuplib/CKpCurveStore.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemRef.h"
#include "layuplib/CKpElemRefStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpFile.h"
#include "layuplib/CKpId.h"
#include "layuplib/CKpIdStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLyp.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpLypPlyStore.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOff.h"
#include "layuplib/CKpOffElem.h"
#include "layuplib/CKpOffStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/CalcStart.h"
#include "layuplib/CreateElementLookupTable.h"
#include "layuplib/CreatePlysLams.h"
#include "layuplib/IVekEvent.h"
#include "layuplib/IVekEventStore.h"
#include "layuplib/PlyImportChecks.h"
#include "layuplib/add_layer.h"
#include "layuplib/angle_util.h"
#include "layuplib/find_nei.h"
#include "layuplib/node_reref.h"
#include "layuplib/read_lyp.h"
#include "layuplib/store_or_free.h"
#include "layuplib/surface_div.h"

namespace {

enum Answer { kYes = 1, kNo = 2, kYesAll = 3, kAbort = 4, kNoAll = 5 };

// The source plies in ascending id order.
std::vector<CKpPly*> SourcePlies(CKpLayup* source) {
    std::vector<CKpPly*> out;
    CKpPlyStore* plys = source->pPlys();
    for (int i = 0; i < plys->entries(); ++i)
        if (CKpPly* p = (*plys)[i]) out.push_back(p);
    return out;
}

CKpPat* PatternOf(CKpLayup* model, CKpPly* ply) {
    CKpPat* pat = ply->pPat();
    return pat ? pat : model->pPats()->find(ply->pttrnid());
}

CKpMat* MaterialOf(CKpLayup* model, CKpPly* ply) {
    CKpMat* mat = ply->pMat();
    return mat ? mat : model->pMats()->find(ply->mtrlid());
}

// Ids of the target's selected elements, ascending.
std::vector<int> SelectedIds(CKpElemStore* elems) {
    std::vector<int> ids;
    for (int i = 0; i < elems->entries(); ++i) {
        CKpElem* e = (*elems)[i];
        if (e && e->getSltd()) ids.push_back(e->id());
    }
    return ids;
}

// A new pattern with every setting of `src` but no elements.
CKpPat* CopyPatternSettings(const CKpPat& src, int id) {
    CKpPat* p = new (std::nothrow) CKpPat(id);
    if (!p || !p->PatElems()) {
        delete p;
        return nullptr;
    }
    p->setPttrnnm(src.pttrnnm());
    p->setLyrtp(src.lyrtp());
    p->setAxstp(src.axstp());
    p->setAxsdn(src.axsdn());
    p->setExttp(src.exttp());
    p->setEye(src.eyex(), src.eyey(), src.eyez());
    p->setEyed(src.eyedx(), src.eyedy(), src.eyedz());
    p->setRefd(src.refdx(), src.refdy(), src.refdz());
    p->setRefang(src.refang());
    p->setStwpwtang(src.stwpwtang());
    p->setWarpWeftRatio(src.WarpWeftRatio());
    p->setMaxstrn(src.maxstrn());
    p->setStep(src.step());
    p->setDefaultStep(src.refStep());
    p->setStdn(src.stdn());
    p->setStwpd(src.stwpdx(), src.stwpdy(), src.stwpdz());
    p->setStwtd(src.stwtdx(), src.stwtdy(), src.stwtdz());
    CKpPoint st;
    st.Set(src.stx(), src.sty(), src.stz());
    p->SetStartPoint(st);
    p->setMid(src.mid(), src.minu(), src.maxu(), src.minv(), src.maxv());
    p->setMinstrnc(src.minstrnc());
    p->setMaxstrnc(src.maxstrnc());
    p->setMinthck(src.minthck());
    p->setMaxthck(src.maxthck());
    p->setMinwp(src.minwp());
    p->setMaxwp(src.maxwp());
    p->setMinwt(src.minwt());
    p->setMaxwt(src.maxwt());
    p->setInadmissibleMode(src.inadmissibleMode());
    p->setInadmissibleTolerance(src.inadmissibleTolerance());
    return p;
}

// Draws the preview of one ply in the source: its selected elements
// (segment 7), its fibre marks in the material's colour (segment 3) and its
// traced boundary (segment 6).
void DrawPreview(CKpLayup* source, CKpPly* ply, CKpPat* pat, int colour) {
    CKpMsg* msg = source->pMsg();
    CKpGra* gra = source->pGra();
    PlotElems(msg, gra, source->pElems(), source->pFacs(), 0, nullptr, 7, 1, 7);
    PlotPlyElemAngles(msg, gra, pat->PatElems(), ply->lyrtp(), colour);
    source->pBdys()->PlotAllBoundary(gra, source->pFacs());
}
void ErasePreview(CKpLayup* source) {
    source->EraseElemEdges();
    source->pGra()->delete_segment(3);
    source->pGra()->delete_segment(6);
}

}  // namespace

int GetSwitch(std::string& text, std::string& word) {
    size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos) {
        word.clear();
        text.clear();
        return 0;
    }
    size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    word = text.substr(start, end - start);
    size_t rest = text.find_first_not_of(' ', end);
    text = rest == std::string::npos ? std::string() : text.substr(rest);
    return 0;
}

int AddIdToStore(CKpIdStore* ids, int id) {
    if (!ids) return -1;
    if (id <= 0 || ids->find(id)) return 0;
    return ids->findOrCreate(id) ? 0 : -1;
}

int SimulateProjectedPlies(CKpPlyStore* plies, CKpIdStore* ids) {
    if (!plies) return -1;
    for (int i = 0; i < plies->entries(); ++i) {
        CKpPly* p = (*plies)[i];
        if (p && p->lyrtp() == 2 && (!ids || ids->find(p->id()))) p->Simulate(1);
    }
    return 0;
}

int CreateCurve(CKpMsg* msg, const char* name, int type, int count, const double* xyz,
                CKpCurveStore* curves) {
    if (!curves || count < 0 || (count > 0 && !xyz)) return -1;
    // No id left above the highest: refused like a curve that cannot be made.
    CKpCurve* c = curves->maxId() < INT_MAX ? new (std::nothrow)
                                                  CKpCurve(curves->maxId() + 1, name, type, count)
                                            : nullptr;
    if (!c || c->count() != count) {
        delete c;
        if (msg) msg->Create(4, "Could not allocate memory.");
        return -1;
    }
    for (int i = 0; i < 3 * count; ++i) c->coord(i, xyz[i]);
    if (store_or_free(curves, c, nullptr, "curve") != 0) {
        if (msg) msg->Create(4, "Could not allocate memory.");
        return -1;
    }
    return 0;
}

int CreateBoundaryCurve(CKpMsg* msg, CKpFacetStore* facets, CKpBdyStore* bdys, const char* name,
                        CKpCurveStore* curves) {
    if (!facets || !bdys || !curves) return -1;
    CKpBdy* ring = bdys->GetNumBdys() > 0 ? bdys->GetBdy(0) : nullptr;
    if (!ring) return 0;
    std::vector<double> xyz;
    CKpBdy* seg = ring;
    do {
        CKpFacet* f = facets->pFac(seg->getFacet());
        CKpNode* n = f ? f->getCKpNode(seg->vx0()) : nullptr;
        xyz.push_back(n ? n->getCKpPointX() : 0.0);
        xyz.push_back(n ? n->getCKpPointY() : 0.0);
        xyz.push_back(n ? n->getCKpPointZ() : 0.0);
        seg = seg->Next();
    } while (seg && seg != ring);
    return CreateCurve(msg, name, 2, static_cast<int>(xyz.size() / 3), xyz.data(), curves);
}

int ImportOffsets(CKpLayup* target, CKpLayup* source) {
    if (!target || !source) return -1;
    CKpOffStore* srcOffs = source->pOffs();
    CKpOffStore* dstOffs = target->pOffs();
    CKpElemStore* srcElems = source->pElems();
    for (int i = 0; i < srcOffs->entries(); ++i) {
        CKpOff* so = (*srcOffs)[i];
        if (!so) continue;
        std::vector<int> ids;
        std::unordered_set<int> seen;
        for (CKpOffElem* oe = so->Elems().First(); oe; oe = so->Elems().Next(oe)) {
            CKpElem* se = srcElems->find(oe->elemId());
            CKpElemRefStore* refs = se ? se->pElemRefs() : nullptr;
            if (!refs) continue;
            for (int r = 0; r < refs->entries(); ++r) {
                CKpElemRef* ref = (*refs)[r];
                CKpElem* d = ref ? ref->GetElem() : nullptr;
                if (d && seen.insert(d->id()).second) ids.push_back(d->id());
            }
        }
        if (ids.empty()) continue;
        std::sort(ids.begin(), ids.end());
        // No id left above the highest: refused like an offset that cannot be made.
        CKpOff* off =
            dstOffs->maxId() < INT_MAX ? new (std::nothrow) CKpOff(dstOffs->maxId() + 1) : nullptr;
        if (!off) {
            target->pMsg()->Create(4, "Could not allocate memory.");
            return -1;
        }
        if (store_or_free(dstOffs, off, nullptr, "offset") != 0) {
            target->pMsg()->Create(4, "Could not allocate memory.");
            return -1;
        }
        off->SetName(so->name());
        off->SetOffsetValue(so->offsetValue());
        off->SetOffsetFlag(static_cast<EVekOffsetFlag>(so->offsetFlag()));
        off->SetSeedPoint(so->seedPoint());
        off->SetApplicationDirection(so->applicationDirection());
        if (so->originSet()) off->SetCoordOriginName(so->origin(), so->originName());
        off->SetElementIds(static_cast<int>(ids.size()), ids.data());
        if (off->Apply() != 0)
            target->pMsg()->Create(2, "Could not apply offset '%s' on elements", off->name());
    }
    return 0;
}

int SetImportPlyFlags(CKpLayup* target, CKpLayup* source, const char* fileName, int plyCount,
                      int* flags, int preview, int boundaryCurves) {
    if (!target || !source || !flags) return -1;
    if (!fileName) fileName = "";
    CKpMsg* msg = target->pMsg();
    std::vector<CKpPly*> plies = SourcePlies(source);
    if (plyCount < static_cast<int>(plies.size())) {
        msg->Create(4, "Ply flags given for %d of %d plies.", plyCount,
                    static_cast<int>(plies.size()));
        return -1;
    }
    CKpElemStore* elems = source->pElems();
    CKpFacetStore* facets = source->pFacs();
    bool yesAll = false, noAll = false;
    for (size_t i = 0; i < plies.size(); ++i) {
        CKpPly* ply = plies[i];
        flags[i] = 0;
        msg->Create(1, "Previewing ply '%s'", ply->name());
        CKpPat* pat = PatternOf(source, ply);
        if (!pat || !pat->PatElems() || pat->PatElems()->entries() == 0) {
            msg->Create(4, "Imported ply '%s' has no elements.", ply->name());
            continue;
        }
        std::vector<int> ids(pat->PatElems()->entries());
        pat->PatElems()->GetElemIds(ids.data(), static_cast<int>(ids.size()));
        // The links are narrowed to the selection so that the traced region
        // stays within the ply's elements.
        if (surface_select_elements(elems, facets, static_cast<int>(ids.size()), ids.data()) != 0 ||
            find_selected_neighbour(msg, source->pGra(), facets, elems) != 0) {
            surface_restore(elems, facets);
            msg->Create(4, "Could not select elements of imported ply '%s'.", ply->name());
            continue;
        }
        msg->Create(1, "Selected elements.");
        int status = 0;
        CKpPoint eye;
        eye.Set(pat->eyex(), pat->eyey(), pat->eyez());
        CKpDirn eyed;
        eyed.Set(pat->eyedx(), pat->eyedy(), pat->eyedz());
        int startFacet = -1, side = 0;
        CKpPoint start;
        bool traced = false;
        if (CalcStart(msg, facets, eye, eyed, 0, startFacet, start, side) != 0) {
            msg->Create(4, "Start facet of imported ply '%s' not found.", ply->name());
        } else {
            msg->Create(1, "Found start facet.");
            if (source->pBdys()->CalculateBoundary(msg, facets, startFacet, side) != 0) {
                msg->Create(4,
                            "Cannot create boundary around selected elements of imported ply '%s'.",
                            ply->name());
            } else {
                msg->Create(1, "Created boundary.");
                flags[i] = 1;
                traced = true;
            }
        }
        if (preview && traced) {
            CKpMat* mat = MaterialOf(source, ply);
            DrawPreview(source, ply, pat, mat ? MaterialColour(mat->id()) : 1);
            int answer;
            if (yesAll) {
                answer = kYes;
            } else if (noAll) {
                answer = kNo;
            } else if (source->pBdys()->GetNumBdys() > 1) {
                answer = msg->CreateDirect(100001, 2821,
                                           "The area covered by ply %s from the file %s contains "
                                           "interior holes. Do you wish to continue?",
                                           ply->name(), fileName);
            } else {
                answer = msg->CreateDirect(100001, 2821,
                                           "Do you want to import ply %s from the file %s?",
                                           ply->name(), fileName);
            }
            ErasePreview(source);
            if (answer == kAbort) {
                // The question decides this very ply: on abort it stays out.
                flags[i] = 0;
                msg->Create(4, "Import Ply aborted");
                status = -1;
            } else if (answer == kNoAll) {
                noAll = true;
                flags[i] = 0;
            } else if (answer == kNo) {
                flags[i] = 0;
            } else if (answer == kYesAll) {
                yesAll = true;
            }
        }
        if (status == 0 && boundaryCurves && flags[i])
            CreateBoundaryCurve(msg, facets, source->pBdys(), ply->name(), target->pCurves());
        if (surface_restore(elems, facets) == 0)
            msg->Create(1, "Restored surface area");
        else
            msg->Create(4, "Could not restore surface area");
        if (status != 0) return status;
    }
    return 0;
}

int ImportLayup(CKpLayup* target, CKpLayup* source, int areaCount, const int* areaIds,
                double angleTolerance, double distanceTolerance, int normalCalculation,
                double splitWidth, int importLayup, int plyCount, const int* flags,
                int* uncoveredCount, int* uncoveredIds) {
    if (!target || !source) return -1;
    CKpMsg* msg = target->pMsg();
    std::vector<CKpPly*> plies = SourcePlies(source);
    if (flags && plyCount < static_cast<int>(plies.size())) {
        msg->Create(4, "Ply flags given for %d of %d plies.", plyCount,
                    static_cast<int>(plies.size()));
        return -1;
    }
    CKpElemStore* srcElems = source->pElems();
    srcElems->DeleteElemRefs();
    target->RestoreAndSelectArea(areaCount, areaIds);
    const bool wantUncovered = uncoveredCount != nullptr;
    std::vector<int> area;
    if (wantUncovered) area = SelectedIds(target->pElems());
    int unmatched = 0;
    CreateElementLookupTable(msg, target->pNodes(), target->pElems(), target->pFacs(),
                             source->pNodes(), srcElems, source->pFacs(), distanceTolerance,
                             angleTolerance, normalCalculation, splitWidth, &unmatched);

    std::unordered_set<int> covered;
    std::vector<CKpPly*> created;
    bool plyYesAll = false, plyNoAll = false, matYesAll = false, matNoAll = false;
    auto finish = [&](int status) {
        srcElems->DeleteElemRefs();
        return status;
    };

    for (size_t i = 0; i < plies.size(); ++i) {
        if (flags && flags[i] == 0) continue;
        CKpPly* sply = plies[i];
        msg->Create(1, "Importing ply '%s'", sply->name());

        // Ply name.
        std::string name = sply->name();
        bool raised = false;
        while (target->pPlys()->findByName(name.c_str())) {
            NameIncrement(name);
            raised = true;
        }
        if (raised) {
            bool rename = false;
            if (plyYesAll) {
                rename = true;
            } else if (!plyNoAll) {
                int answer = msg->CreateDirect(
                    100003, 2821,
                    "A ply with the name %s already exists in the target model. Do you wish to "
                    "modify the ply name to %s? If not, this ply will be ignored.",
                    sply->name(), name.c_str());
                if (answer == kAbort) {
                    msg->Create(4, "Import Ply aborted");
                    return finish(-1);
                }
                rename = answer == kYes || answer == kYesAll;
                plyYesAll = plyYesAll || answer == kYesAll;
                plyNoAll = plyNoAll || answer == kNoAll;
            }
            if (!rename) continue;
            sply->setname(name.c_str());
        }

        // Pattern, named after the ply's final name.
        CKpPat* spat = PatternOf(source, sply);
        if (!spat) return finish(-1);
        spat->SetNameByPlyName(sply->name());
        std::string patName = spat->pttrnnm();
        while (target->pPats()->findByName(patName.c_str())) NameIncrement(patName);
        spat->setPttrnnm(patName.c_str());
        if (target->pPats()->findByName(patName.c_str())) {
            msg->Create(4, "Pattern name already used");
            continue;
        }

        // Material.
        CKpMat* smat = MaterialOf(source, sply);
        if (!smat) return finish(-1);
        MaterialDefaults(source->pMsg(), smat);
        const std::string oldMatName = smat->mtrlnm();
        std::string matName = oldMatName;
        while (target->pMats()->findByName(matName.c_str())) NameIncrement(matName);
        bool addCopy = false;
        if (matName == oldMatName) {
            addCopy = true;
        } else {
            CKpMat* existing = target->pMats()->findByName(oldMatName.c_str());
            if (MaterialEqual(msg, existing, smat) != 1) {
                if (matYesAll) {
                    addCopy = true;
                } else if (!matNoAll) {
                    int answer = msg->CreateDirect(
                        100002, 3333,
                        "A material with the name: %s already exists in the target model. Do you "
                        "wish to modify the material name to %s? If not, the existing material "
                        "will be referenced by the ply %s.",
                        oldMatName.c_str(), matName.c_str(), sply->name());
                    if (answer == kAbort) {
                        msg->Create(4, "Import Ply aborted");
                        return finish(-1);
                    }
                    addCopy = answer == kYes || answer == kYesAll;
                    matYesAll = matYesAll || answer == kYesAll;
                    matNoAll = matNoAll || answer == kNoAll;
                }
            }
        }
        // The material copy, pattern and ply take ids above the highest of
        // their stores: where none is left, the ply is refused before any of
        // them is made, as when they cannot be allocated.
        if (target->pPats()->maxId() == INT_MAX) {
            msg->Create(4, "Could not add pattern");
            return finish(-1);
        }
        if ((addCopy && target->pMats()->maxId() == INT_MAX) ||
            target->pPlys()->maxId() == INT_MAX) {
            msg->Create(4, "Could not allocate memory.");
            return finish(-1);
        }
        if (addCopy) {
            smat->setMtrlnm(matName.c_str());
            CKpMat* copy = new (std::nothrow) CKpMat(*smat);
            if (!copy) {
                msg->Create(4, "Could not allocate memory.");
                return finish(-1);
            }
            copy->setId(target->pMats()->maxId() + 1);
            if (store_or_free(target->pMats(), copy, nullptr, "material") != 0) {
                msg->Create(4, "Could not allocate memory.");
                return finish(-1);
            }
            msg->Create(1, " New material: id %6d name %s", copy->id(), copy->mtrlnm());
        }

        // New pattern, settings only.
        CKpPat* tpat = CopyPatternSettings(*spat, target->pPats()->maxId() + 1);
        if (!tpat) {
            msg->Create(4, "Could not add pattern");
            return finish(-1);
        }
        if (store_or_free(target->pPats(), tpat, nullptr, "pattern") != 0) {
            msg->Create(4, "Could not add pattern");
            return finish(-1);
        }
        tpat->setSimResult(0);

        // Pattern elements through the lookup references.
        std::unordered_set<int> onPattern;
        for (CKpPatElem* spe = spat->PatElems()->First(); spe; spe = spat->PatElems()->Next(spe)) {
            CKpElem* se = spe->pelem() ? spe->pelem() : srcElems->find(spe->GetElemId());
            CKpElemRefStore* refs = se ? se->pElemRefs() : nullptr;
            if (!refs) continue;
            for (int r = 0; r < refs->entries(); ++r) {
                CKpElemRef* ref = (*refs)[r];
                CKpElem* d = ref ? ref->GetElem() : nullptr;
                if (!d) return finish(-1);
                if (!onPattern.insert(d->id()).second) {
                    msg->Create(1, "Pattern already exists on destination element %6d.", d->id());
                    continue;
                }
                CKpPatElem* pe = new (std::nothrow) CKpPatElem;
                if (!pe) {
                    msg->Create(4, "Could not allocate memory.");
                    return finish(-1);
                }
                const int fl = ref->GetFlag();
                pe->setElemId(d->id());
                pe->setPelem(d);
                pe->setStdn(spe->stdn());
                pe->setDnfg(spe->dnfg() * fl);
                pe->setWarpAngle(pi_pi(fl * spe->warpAngle() + ref->GetAngle()));
                pe->setWeftAngle(pi_pi(fl * spe->weftAngle() + ref->GetAngle()));
                pe->setShear(spe->shear());
                pe->setThickness(spe->thickness());
                pe->SetOrder(spe->order());
                tpat->PatElems()->InsertLast(pe);
                if (wantUncovered) covered.insert(d->id());
            }
        }
        tpat->PatElems()->SortById();
        PlyDefaults(msg, tpat);
        if (tpat->PatElems()->entries() > 0)
            VerifyPlyDnfg(msg, target->pGra(), target->pElems(), target->pFacs(), tpat,
                          sply->name());

        // New ply.
        CKpPly* tply =
            new (std::nothrow) CKpPly(target->pPlys()->maxId() + 1, sply->name(), sply->lyrtp(),
                                      target->pMats()->findByName(smat->mtrlnm()), tpat);
        if (!tply) {
            msg->Create(4, "Could not allocate memory.");
            return finish(-1);
        }
        if (spat->originSet()) tply->SetCoordOriginName(spat->origin(), spat->originName());
        IVekEventStore* events = sply->GetEventStore();
        for (int k = 0; events && k < events->Count(); ++k)
            if (IVekEvent* ev = events->Get(k)) tply->AddEvent(ev->GetType());
        tply->AddEvent(unmatched == 0 ? 3 : 4);
        if (store_or_free(target->pPlys(), tply, nullptr, "ply") != 0) {
            msg->Create(4, "Could not allocate memory.");
            return finish(-1);
        }
        created.push_back(tply);
    }

    for (CKpPly* p : created)
        if (p->lyrtp() == 2) p->Simulate(1);

    // An offset that could not be made fails the import; the layup and the
    // uncovered ids still follow the plies made.
    const int offsets = ImportOffsets(target, source);
    srcElems->DeleteElemRefs();

    if (importLayup) {
        CKpLyp* slyp = source->pLyp();
        if (slyp->name()[0] == '\0') slyp->setName("Layup");
        CKpLypPlyStore& lps = slyp->LypPlys();
        if (lps.entries() > 0) {
            target->pLyp()->setName(slyp->name());
            target->pLyp()->setId(1);
            for (int k = 0; k < lps.entries(); ++k) {
                CKpLypPly* lp = lps[k];
                if (!lp) continue;
                CreateLayupPly(target, lp->plyGroup(), lp->sequence(), lp->lyrtp(), lp->lyrnm(),
                               lp->side(), lp->angleOffset(), lp->thicknessOverride(),
                               lp->gplyid());
            }
        }
    }

    if (wantUncovered) {
        int n = 0;
        for (int id : area)
            if (!covered.count(id)) {
                if (uncoveredIds) uncoveredIds[n] = id;
                ++n;
            }
        *uncoveredCount = n;
    }
    return offsets == 0 ? 0 : -1;
}

int ImportMultipleLayups(CKpLayup* target, int areaCount, const int* areaIds, int fileCount,
                         const char* const* files, double angleTolerance, double distanceTolerance,
                         int normalCalculation, int importLayup, int preview, int mergeNodes,
                         int boundaryCurves, double splitWidth, int* uncoveredCount,
                         int* uncoveredIds) {
    if (!target) return -1;
    CKpMsg* msg = target->pMsg();
    std::unique_ptr<CKpLayup> source(new (std::nothrow) CKpLayup(target->pDB(), target->pGUI()));
    if (!source) {
        msg->Create(4, "Could not allocate memory.");
        return -1;
    }
    const bool wantUncovered = uncoveredCount != nullptr;
    std::vector<int> running;
    if (wantUncovered) {
        *uncoveredCount = 0;
        target->RestoreAndSelectArea(areaCount, areaIds);
        running = SelectedIds(target->pElems());
    }
    target->pCurves()->eraseAllObjects();

    CKpMsg* smsg = source->pMsg();
    for (int f = 0; f < fileCount && files; ++f) {
        const std::string entry = files[f] ? files[f] : "";
        msg->Create(1, "Importing plies from file '%s'", entry.c_str());
        source->pFile()->SetName(entry.c_str());
        bool failed = false;

        // "-bdf" marks bulk data only where it starts a word.
        size_t pos = std::string::npos;
        for (size_t p = entry.find("-bdf"); p != std::string::npos; p = entry.find("-bdf", p + 1))
            if (p == 0 || entry[p - 1] == ' ') {
                pos = p;
                break;
            }
        const auto mergeSourceNodes = [&]() {
            if (!mergeNodes) return;
            CKpElemStore* el = source->pElems();
            double sum = 0.0;
            int n = 0;
            for (int k = 0; k < el->entries(); ++k) {
                double a = 0.0;
                if ((*el)[k] && (*el)[k]->GetArea(&a) == 0) sum += a, ++n;
            }
            if (n > 0) source->pNodes()->Merge(smsg, el, nullptr, 0.001 * std::sqrt(sum / n));
        };
        if (pos == std::string::npos) {
            if (read_lyp(source.get(), 1) == 1) {
                msg->Create(1, "Read layup file '%s'", entry.c_str());
                mergeSourceNodes();
                if (source->pFacs()->CreateFacets() != 0)
                    msg->Create(1, "Generated facets.");
                else
                    msg->Create(1, "Could not generate facets of imported layup file mesh");
            } else {
                msg->Create(4, "Could not read layup file '%s'", entry.c_str());
                failed = true;
            }
        } else {
            std::string fileName = entry.substr(0, pos);
            while (!fileName.empty() && fileName.back() == ' ') fileName.pop_back();
            std::string rest = entry.substr(pos);
            std::string sw;
            GetSwitch(rest, sw);
            const std::string plyName = rest;
            msg->Create(1, "file_name + switch '%s'", entry.c_str());
            msg->Create(1, "file_name          '%s'", fileName.c_str());
            msg->Create(1, "switch             '%s'", sw.c_str());
            msg->Create(1, "plyName            '%s'", plyName.c_str());
            source->pFile()->SetName(fileName.c_str());
            std::vector<char> path(fileName.begin(), fileName.end());
            path.push_back('\0');
            if (read_korbdf(path.data(), source.get()) == 0) {
                msg->Create(1, "Read bdf file '%s'", fileName.c_str());
                node_reref(smsg, source->pNodes(), source->pElems());
                if (CreatePlysLams(source.get(), sw.c_str(), plyName.c_str()) == 0) {
                    msg->Create(1, "Created plies from lams");
                    mergeSourceNodes();
                    if (source->pFacs()->CreateFacets() != 0)
                        msg->Create(1, "Generated facets.");
                    else
                        msg->Create(1, "Could not generate facets of imported Korbeld file mesh");
                } else {
                    msg->Create(4, "Could not create plies from lams");
                    failed = true;
                }
            } else {
                msg->Create(4, "Could not read bdf file '%s'", fileName.c_str());
                failed = true;
            }
        }

        if (!failed) {
            const int n = source->pPlys()->entries();
            std::vector<int> flags;
            try {
                flags.assign(static_cast<size_t>(n), 0);
            } catch (const std::bad_alloc&) {
                msg->Create(4, "Could not allocate memory.");
                return -1;
            }
            SetImportPlyFlags(target, source.get(), entry.c_str(), n, flags.data(), preview,
                              boundaryCurves);
            if (std::find(flags.begin(), flags.end(), 1) != flags.end()) {
                int count = 0;
                std::vector<int> left(static_cast<size_t>(std::max(areaCount, 0)) +
                                      target->pElems()->entries());
                ImportLayup(target, source.get(), areaCount, areaIds, angleTolerance,
                            distanceTolerance, normalCalculation, splitWidth, importLayup, n,
                            flags.data(), wantUncovered ? &count : nullptr, left.data());
                if (wantUncovered) {
                    std::unordered_set<int> still(left.begin(), left.begin() + count);
                    std::vector<int> kept;
                    for (int id : running)
                        if (still.count(id)) kept.push_back(id);
                    running.swap(kept);
                }
            }
        }
        if (source->reinit() != 0) msg->Create(4, "Could not reinitialise data arrays");
    }

    if (wantUncovered) {
        std::sort(running.begin(), running.end());
        *uncoveredCount = static_cast<int>(running.size());
        if (uncoveredIds) std::copy(running.begin(), running.end(), uncoveredIds);
    }
    return 0;
}
