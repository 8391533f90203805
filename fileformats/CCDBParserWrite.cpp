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

// One write of a model: what the sections share. First the properties are
// prepared in the model and checked (nothing is opened before a refusal),
// then each section is put to the file in the order the format reads them.
class CdbWriteRun {
  public:
    explicit CdbWriteRun(CCDBParser& parser)
        : m_parser(parser),
          m_msg(parser.pMsg()),
          m_ets(parser.pAnsys()->pEts()),
          m_elems(parser.pElems()),
          m_lams(parser.pLams()),
          m_mats(parser.pMats()),
          m_nodes(parser.pNodes()) {
        const int flags = parser.modelFlags();
        m_mesh = flags & 1;
        m_materials = flags & 2;
        m_props = flags & 4;
        m_emodif = flags & 8;
    }

    // The whole write; the status of CCDBParser::Write.
    int Run() {
        int created = 0;
        if (m_props && AssignElementTypes(created) != 0) return -1;
        if (m_emodif && created > 0) {
            m_msg->Create(2,
                          "%d new ANSYS element type/s has/have been created and element "
                          "modification is not appropriate. Please export a full ANSYS .cdb file.",
                          created);
            return -1;
        }
        if (m_props && (AssignSectionsAndSets() != 0 || BuildRealConstantSets() != 0)) return -1;
        m_defaultMat = (*m_mats)[0];
        if (!FieldsFit()) return -1;

        if (m_out.OpenWrite(m_parser.name(), 0) != 0) {
            m_msg->Create(4, "Unable to open file");
            return -1;
        }
        PutHeader();
        if (m_props && !m_emodif && m_ets->entries() > 0) PutElementTypes();
        if (m_props && m_rlsets.entries() > 0) PutRealConstantSets();
        if (m_mesh) PutFrames();
        if (m_mesh && m_nodes->entries() > 0) PutNodes();
        if (m_mesh && m_elems->entries() > 0) PutElements();
        if (m_materials) PutMaterials();
        if (m_props) PutSections();
        const int status = m_emodif ? PutElementModifications() : 0;
        if (status == 0 && !m_emodif) {
            Put("/GOPR\n");
            Put("FINISH\n");
        }
        return Close(status);
    }

  private:
    // 1. Element types of the elements that have none yet; `created` counts
    //    the new ones. 0, or -1 after an error.
    int AssignElementTypes(int& created) {
        int type181 = 0, type99 = 0;
        CVekObjectStoreIterator<CKpElem> it(*m_elems);
        while (++it) {
            CKpElem* elem = it.key();
            CKpLam* lam = m_lams->find(elem->pid());
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
                m_msg->Create(4, "Unsupported geometry type %d", elem->getgmtp());
                return -1;
            }
            if (*typeId == 0) {
                if (m_ets->maxId() == INT_MAX) {  // no id left above the highest
                    m_msg->Create(4, "Could not allocate memory.");
                    return -1;
                }
                const int id = m_ets->maxId() + 1;
                if (store_or_free(m_ets, new CKpAnsysEt(id, typeNumber), m_msg, "element type") !=
                    0)
                    return -1;
                *typeId = id;
                ++created;
            }
            CKpElemAnsys* a = elem->CreateAnsys();
            if (!a) {
                m_msg->Create(4, "Could not allocate memory.");
                return -1;
            }
            a->Set(1, *typeId);
        }
        return 0;
    }

    // 3. Sections of SHELL181 elements, real constant sets of SHELL99 ones
    //    (with the element type variant of the laminate's KEYOPT(11)).
    //    0, or -1 after an error.
    int AssignSectionsAndSets() {
        CVekObjectStoreIterator<CKpElem> it(*m_elems);
        while (++it) {
            CKpElem* elem = it.key();
            if (elem->pid() < 1) continue;
            const int gmtp = elem->getgmtp();
            if (isShell181(gmtp)) {
                const int pid = elem->pid();
                m_secIds.SetIdsAdd(1, &pid);
                continue;
            }
            if (!isShell99(gmtp)) {
                m_msg->Create(4, "Element %d: Unsupported geometry type %d", elem->id(), gmtp);
                return -1;
            }
            CKpLam* lam = m_lams->find(elem->pid());
            if (!lam) continue;
            CLamRc* lamRc = m_lamRcs.find(lam->id());
            if (!lamRc) {
                lamRc = new CLamRc(lam->id(), lam->GetIdFromName());
                if (store_or_free(&m_lamRcs, lamRc, m_msg, "real constant link of laminate") != 0)
                    return -1;
                if (lamRc->Rlset() == 0)
                    m_msg->Create(2, "Element %d: Cannot get id from laminate name %s", elem->id(),
                                  lam->name());
            }
            CKpAnsysEt* et = m_ets->find(elem->pAnsys() ? elem->pAnsys()->Get(1) : 0);
            if (!et) {
                m_msg->Create(2, "Element %d: No element type.", elem->id());
            } else if (AssignKeyopt11Type(elem, lam, et) != 0) {
                return -1;
            }
            CKpElemAnsys* a = elem->CreateAnsys();
            if (!a) {
                m_msg->Create(4, "Could not allocate memory.");
                return -1;
            }
            a->Set(2, lamRc->Rlset());
        }
        return 0;
    }

    // The SHELL99 element `elem` takes the variant of its type `et` whose
    // KEYOPT(11) matches the laminate's offset (made when absent). 0, or -1
    // after an error.
    int AssignKeyopt11Type(CKpElem* elem, CKpLam* lam, CKpAnsysEt* et) {
        int k = lam->GetKeyopt11();
        if (k == -1) {
            m_msg->Create(2,
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
                m_msg->Create(4, "Element %d: element type id %d is too large.", elem->id(),
                              et->id());
                return -1;
            }
            typeId = static_cast<int>(variant);
            if (!m_ets->find(typeId)) {
                CKpAnsysEt* copy = new CKpAnsysEt(*et);
                copy->setId(typeId);
                copy->SetKeyopt(11, k);
                if (store_or_free(m_ets, copy, m_msg, "element type") != 0) return -1;
            }
        }
        if (CKpElemAnsys* a = elem->CreateAnsys()) a->Set(1, typeId);
        return 0;
    }

    // Real constant sets from the laminates of SHELL99 elements: 12 header
    // values, then material, angle in degrees and thickness per layer,
    // trailing zeros left off. 0, or -1 after an error.
    int BuildRealConstantSets() {
        CVekObjectStoreIterator<CLamRc> it(m_lamRcs);
        while (++it) {
            CLamRc* lamRc = it.key();
            CKpLam* lam = m_lams->find(lamRc->id());
            if (!lam) continue;
            if (m_rlsets.find(lamRc->Rlset())) {
                m_msg->Create(2, "Duplicate real constanst set: %d", lamRc->Rlset());
                continue;
            }
            CCDBRlset* set = new CCDBRlset(lamRc->Rlset());
            if (store_or_free(&m_rlsets, set, m_msg, "real constant set") != 0) return -1;
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
            if (size > m_maxValues) m_maxValues = size;
            if (set->id() > m_maxSet) m_maxSet = set->id();
        }
        return 0;
    }

    // Every 8-column integer must keep its width: checked before the file
    // is opened, so that a refused model leaves no partial file.
    bool FieldsFit() {
        bool ok = true;
        if (m_props && !m_emodif) {
            CVekObjectStoreIterator<CKpAnsysEt> it(*m_ets);
            while (++it && ok) ok = fits(m_msg, "Element type id", it.key()->id());
        }
        if (m_props && m_rlsets.entries() > 0) {
            ok = ok && fits(m_msg, "Real constant set count", m_rlsets.entries()) &&
                 fits(m_msg, "Real constant set number", m_maxSet) &&
                 fits(m_msg, "Real constant value count", m_maxValues);
            CVekObjectStoreIterator<CCDBRlset> it(m_rlsets);
            while (++it && ok) ok = fits(m_msg, "Real constant set number", it.key()->id());
        }
        if (m_mesh) {
            CVekObjectStoreIterator<CKpNode> nit(*m_nodes);
            while (++nit && ok)
                if (!nit.key()->incomplete()) ok = fits(m_msg, "Node id", nit.key()->id());
            ok = ok && fits(m_msg, "Element count", m_elems->entries());
            CVekObjectStoreIterator<CKpElem> eit(*m_elems);
            long long f[19];
            while (++eit && ok) {
                const int n = CCDBEblock::Fields(eit.key(), m_defaultMat, f);
                for (int k = 0; k < n && ok; ++k) {
                    if (!CdbFitsI8(f[k])) {
                        m_msg->Create(4,
                                      "Element %d: field %d (%lld) does not fit an 8-column field "
                                      "of the CDB file.",
                                      eit.key()->id(), k + 1, f[k]);
                        ok = false;
                    }
                }
            }
        }
        if (m_materials) {
            CVekObjectStoreIterator<CKpMat> it(*m_mats);
            while (++it && ok) ok = fits(m_msg, "Material id", it.key()->id());
        }
        return ok;
    }

    // 5. Header.
    void PutHeader() {
        Put("/PREP7\n");
        if (!m_emodif) {
            Put("/NOPR\n");
            Put("/TITLE,                                                                        "
                "\n");
            Put("ANTYPE, 0\n");
        }
    }

    // 6. Element types with their KEYOPTs.
    void PutElementTypes() {
        CVekObjectStoreIterator<CKpAnsysEt> it(*m_ets);
        while (++it) {
            CKpAnsysEt* et = it.key();
            std::snprintf(m_buf, sizeof m_buf, "ET,%8d,%3d\n", et->id(), et->Val());
            Put(m_buf);
            CVekObjectStoreIterator<CKpAnsysKeyopt> kit(*et->pKeyopts());
            while (++kit) {
                std::snprintf(m_buf, sizeof m_buf, "KEYOP,%8d,%2d,%9d\n", et->id(), kit.key()->id(),
                              kit.key()->Val());
                Put(m_buf);
            }
        }
    }

    // 7. Real constant sets: a first row of 6 values, continuation rows of 7.
    void PutRealConstantSets() {
        std::snprintf(m_buf, sizeof m_buf, "RLBLOCK,%8d,%8d,%8d,%8d\n", m_rlsets.entries(),
                      m_maxSet, m_maxValues, 7);
        Put(m_buf);
        Put("(2i8,6g16.9)\n");
        Put("(7g16.9)\n");
        CVekObjectStoreIterator<CCDBRlset> it(m_rlsets);
        while (++it) {
            const CVekTemplateList<double>& v = it.key()->Values();
            int n = std::snprintf(m_buf, sizeof m_buf, "%8d%8d", it.key()->id(), v.GetSize());
            int i = 0;
            for (; i < v.GetSize() && i < 6; ++i) n += CdbFormatF16(m_buf + n, v[i]);
            m_buf[n++] = '\n';
            Put(m_buf, n);
            while (i < v.GetSize()) {
                n = 0;
                for (int c = 0; c < 7 && i < v.GetSize(); ++c, ++i)
                    n += CdbFormatF16(m_buf + n, v[i]);
                m_buf[n++] = '\n';
                Put(m_buf, n);
            }
        }
    }

    // Frames the elements name as element coordinate systems: without them
    // the EBLOCK would refer to systems the file does not define.
    void PutFrames() {
        CKpIdStore frameIds;
        CVekObjectStoreIterator<CKpElem> it(*m_elems);
        while (++it) {
            const int esys = it.key()->pAnsys() ? it.key()->pAnsys()->Get(3) : 0;
            if (esys > 0) frameIds.SetIdsAdd(1, &esys);
        }
        CKpCoordStore* coords = m_parser.pCoords();
        CVekObjectStoreIterator<CKpId> fit(frameIds);
        int written = 0;
        while (++fit) {
            CKpCoord* frame = coords ? coords->find(fit.key()->id()) : nullptr;
            CKpDirn axes[3];
            if (!frame || frame->rid() != 0 || frame->axes(nullptr, axes) != 0) {
                m_msg->Create(2,
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
            std::snprintf(m_buf, sizeof m_buf, "LOCAL,R5.0,LOC,%d,0,%.17G,%.17G,%.17G\n",
                          frame->id(), frame->coords(0), frame->coords(1), frame->coords(2));
            Put(m_buf);
            std::snprintf(m_buf, sizeof m_buf, "LOCAL,R5.0,ANG,%d,0,%.17G,%.17G,%.17G\n",
                          frame->id(), thxy * toDeg, thyz * toDeg, thzx * toDeg);
            Put(m_buf);
            ++written;
        }
        if (written > 0) Put("CSYS,0\n");
    }

    // 8. Nodes that have their position.
    void PutNodes() {
        Put("NBLOCK,6,SOLID\n");
        Put("(3i8,6e16.9)\n");
        CCDBNblock line;
        CVekObjectStoreIterator<CKpNode> it(*m_nodes);
        while (++it) {
            if (it.key()->incomplete()) continue;
            line.Set(it.key());
            Put(m_buf, line.Format(m_buf));
        }
        Put("N,R5.3,LOC,     -1,\n");
    }

    // 9. Elements.
    void PutElements() {
        std::snprintf(m_buf, sizeof m_buf, "EBLOCK,19,SOLID,%8d\n", m_elems->entries());
        Put(m_buf);
        Put("(19i8)\n");
        CVekObjectStoreIterator<CKpElem> it(*m_elems);
        while (++it) Put(m_buf, CCDBEblock::Format(it.key(), m_defaultMat, m_buf));
        Put("      -1\n");
    }

    // 10. Materials.
    void PutMaterials() {
        CKpStr lines;
        CVekObjectStoreIterator<CKpMat> it(*m_mats);
        while (++it) {
            CCDBMat::SetGet(it.key(), lines);
            Put(lines);
            CCDBMat::SetGetFC(it.key(), lines);
            Put(lines);
        }
    }

    // 11. Sections.
    void PutSections() {
        CCDBSec sec;
        CKpStr lines;
        CVekObjectStoreIterator<CKpId> it(m_secIds);
        while (++it) {
            CKpLam* lam = m_lams->find(it.key()->id());
            if (!lam) continue;
            sec.Set(lam);
            sec.Get(lines);
            Put(lines);
        }
    }

    // 12. Element modification lines. 0, or -1 on an unsupported geometry
    //     type (the lines stop there).
    int PutElementModifications() {
        if (m_lams->entries() > 0) Put("/COM,EMODIF data, used where a model already exists.\n");
        CVekObjectStoreIterator<CKpElem> it(*m_elems);
        while (++it) {
            CKpElem* elem = it.key();
            if (elem->pid() < 1) continue;
            const int gmtp = elem->getgmtp();
            if (isShell181(gmtp)) {
                std::snprintf(m_buf, sizeof m_buf, "EMODIF,%d,SECNUM,%d\n", elem->id(),
                              elem->pid());
                Put(m_buf);
            } else if (isShell99(gmtp)) {
                // Without ANSYS data the element has no set: a line with set
                // 0 would detach its real constants in the solver.
                if (!elem->pAnsys()) {
                    m_msg->Create(2,
                                  "Element %d has no real constant set; no EMODIF line is "
                                  "written for it.",
                                  elem->id());
                    continue;
                }
                std::snprintf(m_buf, sizeof m_buf, "EMODIF,%d,REAL,%d\n", elem->id(),
                              elem->pAnsys()->Get(2));
                Put(m_buf);
            } else {
                m_msg->Create(4, "Unsupported geometry type %d", gmtp);
                return -1;
            }
        }
        return 0;
    }

    // 14. Close; a write that failed (disk full) is a failure. `status` is
    //     the sections' own.
    int Close(int status) {
        if (m_out.Close() != 0) m_failed = true;
        m_msg->Create(1, "Parsing Completed");
        if (m_failed) {
            m_msg->Create(4, "Could not write file '%s'.", m_parser.name());
            return -1;
        }
        if (m_out.m_lastError.Size() > 0) {
            m_msg->Create(1, "Last error: %s", static_cast<const char*>(m_out.m_lastError));
            return -1;
        }
        return status;
    }

    void Put(const char* text) { m_failed |= m_out.Write(text) != 0; }
    void Put(const char* text, int n) { m_failed |= m_out.Write(text, n) != 0; }

    CCDBParser& m_parser;
    CKpMsg* m_msg;
    CKpAnsysEtStore* m_ets;
    CKpElemStore* m_elems;
    CKpLamStore* m_lams;
    CKpMatStore* m_mats;
    CKpNodeStore* m_nodes;
    bool m_mesh, m_materials, m_props, m_emodif;

    CCDBOwningStore<CLamRc> m_lamRcs;  // SHELL99 laminates and their set numbers
    CKpIdStore m_secIds;               // laminates written as sections
    CCDBRlsetStore m_rlsets;
    int m_maxValues = 0, m_maxSet = 0;
    CKpMat* m_defaultMat = nullptr;  // the first material: elements without one

    CDBParser m_out;
    bool m_failed = false;
    char m_buf[512];
};

}  // namespace

int CCDBParser::Write() {
    CKpMsg* msg = pMsg();
    if (!msg || !pAnsys() || !pNodes() || !pElems() || !pMats() || !pLams()) return -1;
    try {
        CdbWriteRun run(*this);
        return run.Run();
    } catch (const std::bad_alloc&) {
        msg->Create(4, "Could not allocate memory.");
        return -1;
    }
}
