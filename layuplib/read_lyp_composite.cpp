// The record dispatcher of the layup file reader: plies, materials with
// their states, patterns with their elements, and the legacy drape records.

#include <climits>
#include <new>

#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpElemEdge.h"
#include "layuplib/CKpElemEdgeStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatProp.h"
#include "layuplib/CKpMatPropStore.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatSplit.h"
#include "layuplib/CKpPatSplitStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/read_lyp_reader.h"

namespace {

// The id a newly read object takes, into `id`: the file's id, or, when its
// store holds that id already, the store's highest id + 1 (the file's id
// then becomes the old id, returned in `oldId`; 0 without clash). False when
// the id is taken and none is left above the highest.
template <class Store>
bool ClashFreeId(Store* store, int fileId, int& id, int& oldId) {
    oldId = 0;
    id = fileId;
    if (store->entries() == 0 || !store->find(fileId)) return true;
    if (store->maxId() == INT_MAX) return false;
    oldId = fileId;
    id = store->maxId() + 1;
    return true;
}

}  // namespace

// ---------------------------------------------------------------- plies

void LypReader::DropPly() {
    if (m_plyOwned)
        m_msg->Create(2,
                      "Ply opened on line %ld of layup file '%s' has no id record and was dropped.",
                      m_plyLine, m_path.c_str());
    m_plyOwned.reset();
    m_ply = nullptr;
}

bool LypReader::Ply() {
    switch (m_group->code) {
        case 301: {
            DropPly();
            if (!Fields("i")) return false;
            CKpPly* ply = new (std::nothrow) CKpPly(0);
            if (!ply) return NoMemory();
            m_plyOwned.reset(ply);
            m_ply = ply;
            m_plyLine = m_group->line;
            m_plyType = I(0);
            ply->setLyrtp(m_plyType);
            return true;
        }
        case 302: {
            if (!Fields("i")) return false;
            if (!m_plyOwned || Count() < 1) return true;  // a ply takes one id only
            CKpPlyStore* plys = m_model->pPlys();
            int id = 0, oldId = 0;
            if (!ClashFreeId(plys, I(0), id, oldId)) return NoMemory();
            m_ply->setId(id);
            if (!Insert(plys, m_ply)) return NoMemory();
            m_plyOwned.release();
            if (oldId) m_renumbered.plies.push_back({m_ply, oldId, m_plyType});
            return true;
        }
        case 303:
            if (!Fields("s")) return false;
            if (m_ply) m_ply->setname(Text(0).c_str());
            return true;
        case 305:
        case 306:
            if (!Fields("i")) return false;
            if (!m_ply || Count() < 1) return true;
            if (m_group->code == 305)
                m_ply->setMtrlid(I(0));
            else
                m_ply->setPttrnid(I(0));
            return true;
        case 309:
            if (!Fields("i")) return false;
            if (!m_ply || Count() < 1) return true;
            if (m_ply->AddEvent(I(0)) != 0) return NoMemory();
            return true;
        default:
            return true;  // 304, 307, 308 are derived
    }
}

// ---------------------------------------------------------------- materials

void LypReader::DropMaterial() {
    if (m_matOwned)
        m_msg->Create(
            2, "Material opened on line %ld of layup file '%s' has no id record and was dropped.",
            m_matLine, m_path.c_str());
    m_matOwned.reset();
    m_mat = nullptr;
    m_state = nullptr;
}

bool LypReader::Material() {
    const int code = m_group->code;
    if (code >= 510 && code <= 519) return MaterialProperty(m_mat, code);
    if (code >= 521 && code <= 529) return MaterialProperty(m_state, code);
    switch (code) {
        case 501: {
            DropMaterial();
            if (!Fields("i")) return false;
            CKpMat* mat = new (std::nothrow) CKpMat(0);
            if (!mat || !mat->MatStates()) {
                delete mat;
                return NoMemory();
            }
            m_matOwned.reset(mat);
            m_mat = mat;
            m_matLine = m_group->line;
            m_matType = I(0);
            mat->setLyrtp(m_matType);
            return true;
        }
        case 502: {
            if (!Fields("i")) return false;
            if (!m_matOwned || Count() < 1) return true;
            CKpMatStore* mats = m_model->pMats();
            int id = 0, oldId = 0;
            if (!ClashFreeId(mats, I(0), id, oldId)) return NoMemory();
            m_mat->setId(id);
            m_mat->setoldid(oldId);
            if (!Insert(mats, m_mat)) return NoMemory();
            m_matOwned.release();
            if (oldId) m_renumbered.materials.push_back({m_mat, oldId, m_matType});
            return true;
        }
        case 503:
        case 506:
        case 530: {
            if (!Fields("s")) return false;
            const std::string text = Text(0);
            if (code == 503 && m_mat) m_mat->setMtrlnm(text.c_str());
            if (code == 506 && m_mat) m_mat->setExtmtrlnm(text.c_str());
            if (code == 530 && m_state) m_state->setExtmtrlnm(text.c_str());
            return true;
        }
        case 504:
        case 505:
        case 507:
            if (!Fields("r")) return false;
            if (!m_mat || Count() < 1) return true;
            if (code == 504) m_mat->setMtrlthck(R(0));
            if (code == 505) m_mat->setMaxstrn(R(0));
            if (code == 507) m_mat->setWpwtang(R(0));
            return true;
        case 508:
        case 531: {
            if (!Fields("i")) return false;
            CKpMatProp* prop = code == 508 ? static_cast<CKpMatProp*>(m_mat) : m_state;
            if (prop && Count() >= 1) prop->setStrnallow(I(0));
            return true;
        }
        case 520: {
            if (!Fields("irrirrr")) return false;
            if (!m_mat) return true;
            CKpMatProp* state = new (std::nothrow) CKpMatProp;
            if (!state) return NoMemory();
            m_mat->MatStates()->InsertLast(state);
            m_state = state;
            return MaterialProperty(state, code);
        }
        case 551:
        case 552:
            if (!Fields("rrr")) return false;
            if (!m_mat) return true;
            if (code == 551) m_mat->setA(R(0), R(1), R(2));
            if (code == 552) m_mat->setB(R(0), R(1), R(2));
            return true;
        default:
            return true;
    }
}

// Records 510-519 and 520-529 on one property set, with the tail rules for
// the shorter records of earlier versions: the leading values are always
// taken (absent ones as 0), the trailing ones only when the line holds
// them.
bool LypReader::MaterialProperty(CKpMatProp* prop, int record) {
    const int kind = record % 10;
    if (!Fields(kind == 0 ? "irrirrr" : "rrrrrr")) return false;
    if (!prop) return true;
    const int n = Count();
    switch (kind) {
        case 0:
            prop->setSttid(I(0));
            prop->setStrn(R(1));
            if (R(2) > 0.0) prop->setThckmlt(R(2));
            if (n >= 4) {
                prop->setDir(I(3));
                prop->setC1(R(4), R(5), R(6));
            } else {
                prop->setDir(m_matType == 1 ? 1 : 4);
            }
            return true;
        case 1:
            prop->setEx(R(0));
            prop->setEy(R(1));
            prop->setEz(R(2));  // 0 when absent
            if (n >= 3) prop->setC2(R(3), R(4), R(5));
            return true;
        case 2:
            prop->setNuxy(R(0));
            prop->setNuyz(R(1));
            prop->setNuzx(R(2));
            if (n >= 2) prop->setC3(R(3), R(4), R(5));
            return true;
        case 3:
            prop->setG(R(0), R(1), R(2));
            if (n >= 4) prop->setC4(R(3), R(4), R(5));
            return true;
        case 4:
            prop->setAlpx(R(0));
            prop->setAlpy(R(1));
            prop->setAlpz(R(2));
            if (n >= 3) prop->setA456(R(3), R(4), R(5));
            return true;
        case 5:
            prop->setFt(R(0), R(1), R(2));
            return true;
        case 6:
            prop->setFc(R(0), R(1), R(2));
            return true;
        case 7:
            prop->setFs(R(0), R(1), R(2));
            return true;
        case 8:
            prop->setF123(R(0), R(1), R(2));
            return true;
        case 9:
            prop->setPhys(R(0), R(1), R(2));
            return true;
        default:
            return true;
    }
}

// ---------------------------------------------------------------- patterns

void LypReader::DropPattern() {
    if (m_patOwned)
        m_msg->Create(
            2, "Pattern opened on line %ld of layup file '%s' has no id record and was dropped.",
            m_patLine, m_path.c_str());
    m_patOwned.reset();
    m_pat = nullptr;
}

void LypReader::BindDrapePattern() {
    CKpDrapeSim* sim = m_model->pDrapeSim();
    // Only a stored pattern: the workspace must not keep one that the
    // reader may still drop.
    if (!m_drapeRead || sim->pPat() || !m_pat || m_patOwned) return;
    sim->StorePat(m_pat);
    sim->patStored(1);
}

bool LypReader::Pattern() {
    const int code = m_group->code;
    if (code == 420 || code == 421 || code == 425) return Drape();
    switch (code) {
        case 401: {
            DropPattern();
            if (!Fields("i")) return false;
            CKpPat* pat = new (std::nothrow) CKpPat(0);
            if (!pat || !pat->PatElems() || !pat->PatSplits()) {
                delete pat;
                return NoMemory();
            }
            m_patOwned.reset(pat);
            m_pat = pat;
            m_patLine = m_group->line;
            m_patType = I(0);
            m_patStart = false;
            pat->setLyrtp(m_patType);
            pat->setSimResult(0);
            return true;
        }
        case 402: {
            if (!Fields("i")) return false;
            if (!m_patOwned || Count() < 1) return true;
            CKpPatStore* pats = m_model->pPats();
            int id = 0, oldId = 0;
            if (!ClashFreeId(pats, I(0), id, oldId)) return NoMemory();
            m_pat->setId(id);
            if (!Insert(pats, m_pat)) return NoMemory();
            m_patOwned.release();
            if (oldId) m_renumbered.patterns.push_back({m_pat, oldId, m_patType});
            return true;
        }
        case 403:
            if (!Fields("s")) return false;
            if (m_pat) m_pat->setPttrnnm(Text(0).c_str());
            return true;
        case 404:
            if (!Fields("iis")) return false;
            if (!m_pat || Count() < 1) return true;
            m_pat->setAxstp(I(0));
            m_pat->setExttp(Count() >= 2 ? I(1) : 1);
            if (Count() >= 3 && Raw(2) != "Null") m_pat->setAxsdn(Text(2).c_str());
            return true;
        case 405:
        case 406:
        case 407:
        case 412: {
            if (!Fields("rrr")) return false;
            if (!m_pat) return true;
            CKpPoint point;
            point.Set(R(0), R(1), R(2));
            if (code == 405) {
                m_pat->SetStartPoint(point);
                m_patStart = true;
            }
            if (code == 406) m_pat->setStwpd(R(0), R(1), R(2));
            if (code == 407) m_pat->setStwtd(R(0), R(1), R(2));
            if (code == 412) {
                m_pat->setEye(R(0), R(1), R(2));
                if (!m_patStart) m_pat->SetStartPoint(point);
            }
            return true;
        }
        case 408:
            if (!Fields("rri")) return false;
            if (!m_pat || Count() < 1) return true;
            m_pat->setStwpwtang(R(0));
            if (Count() >= 2) m_pat->setWarpWeftRatio(R(1));
            if (Count() >= 3) m_pat->setSimResult(I(2));
            return true;
        case 409:
            if (!Fields("r")) return false;
            if (m_pat && Count() >= 1) m_pat->setMaxstrn(R(0));
            return true;
        case 410:
            if (!Fields("riir")) return false;
            if (!m_pat || Count() < 1) return true;
            m_pat->setStep(R(0));
            m_pat->setStdn(I(1));
            if (Count() >= 3) m_pat->setInadmissibleMode(I(2));
            if (Count() >= 4) m_pat->setInadmissibleTolerance(R(3));
            return true;
        case 411:
            // Kept as written: minu, maxu, minv, maxv, mid.
            if (!Fields("iiiii")) return false;
            if (m_pat) m_pat->setMid(I(4), I(0), I(1), I(2), I(3));
            return true;
        case 413:
            if (!Fields("rrrrrrs")) return false;
            if (!m_pat) return true;
            m_pat->setEyed(R(0), R(1), R(2));
            if (Count() >= 7) {
                const double origin[3] = {R(3), R(4), R(5)};
                m_pat->SetCoordOriginName(origin, Text(6).c_str());
            }
            return true;
        case 414:
            if (!Fields("rrrr")) return false;
            if (!m_pat) return true;
            m_pat->setRefd(R(0), R(1), R(2));
            m_pat->setRefang(R(3));
            return true;
        case 415:
            if (!Fields("rrrr")) return false;
            if (!m_pat) return true;
            m_pat->setMinstrnc(R(0));
            m_pat->setMaxstrnc(R(1));
            m_pat->setMinthck(R(2));
            m_pat->setMaxthck(R(3));
            return true;
        case 416:
            if (!Fields("rrrr")) return false;
            if (!m_pat) return true;
            m_pat->setMinwp(R(0));
            m_pat->setMaxwp(R(1));
            m_pat->setMinwt(R(2));
            m_pat->setMaxwt(R(3));
            return true;
        case 417: {
            if (!Fields("iii")) return false;
            if (!m_pat || Count() < 2) return true;
            BindDrapePattern();
            CKpPatSplit* split = new (std::nothrow) CKpPatSplit;
            if (!split) return NoMemory();
            split->setElemId(I(0));
            split->setEdgeId(I(1));
            split->setFlag(I(2));  // the split's index; 0 when absent
            m_pat->PatSplits()->InsertLast(split);
            return true;
        }
        case 418:
        case 419: {
            if (!Fields("ii")) return false;
            if (!m_pat || Count() < 2) return true;
            BindDrapePattern();
            CKpElemEdgeStore* curve = m_pat->SeedCurve(code - 418);
            if (!curve) return NoMemory();  // the pattern could not make its list
            CKpElemEdge* edge = new (std::nothrow) CKpElemEdge(I(0), I(1));
            if (!edge) return NoMemory();
            curve->InsertLast(edge);
            return true;
        }
        case 430: {
            // 0, element id, dnfg, strn, warp, weft, stdn, order, thickness.
            if (!FieldsOf("iiirrriir")) return false;
            if (!m_pat || Count() < 2) return true;
            BindDrapePattern();
            CKpPatElem* pe = new (std::nothrow) CKpPatElem;
            if (!pe) return NoMemory();
            pe->setElemId(I(1));
            pe->setDnfg(I(2));
            pe->setShear(R(3));
            pe->setWarpAngle(R(4));
            pe->setWeftAngle(R(5));
            pe->setStdn(I(6));
            pe->SetOrder(I(7));
            pe->setThickness(R(8));
            m_pat->PatElems()->InsertLast(pe);
            return true;
        }
        default:
            return true;
    }
}

// Records 420, 421 and 425 of earlier versions, taken only while no pattern
// is bound to the drape simulation.
bool LypReader::Drape() {
    const int code = m_group->code;
    if (!Fields(code == 420 ? "iirrr" : code == 421 ? "irrrr" : "rr")) return false;
    if (m_model->pDrapeSim()->pPat()) return true;
    m_drapeRead = true;
    CKpDrape* drape = m_model->pDrapeSim()->pDrape();
    if (code == 420) {
        if (Count() < 2) return true;
        m_drape420 = true;
        m_drapeU = I(0);
        m_drapeV = I(1);
        if (drape->pDrapePt(m_drapeU, m_drapeV)) return true;  // an existing point stays
        // The grid is dense over the box of its points: two far-apart
        // indices would have a few bytes ask for gigabytes. A point may
        // widen it to at most 64 cells for each byte read so far. A drape's
        // own points, a line of some 40 bytes each beside its neighbours
        // and after the mesh it lies on, stay far inside.
        const long long cells = drape->WidenedCells(m_drapeU, m_drapeV);
        if (cells > kHeldPerByte * m_bytes) {
            m_msg->Create(2,
                          "Drape point (%d, %d) on line %ld of layup file '%s' would widen the "
                          "drape grid to %lld cells, more than %d for each of the %lld bytes "
                          "read; the point is ignored.",
                          m_drapeU, m_drapeV, m_group->line, m_path.c_str(), cells,
                          static_cast<int>(kHeldPerByte), m_bytes);
            return true;
        }
        CKpDrapePt* point = new (std::nothrow) CKpDrapePt;
        if (!point) return NoMemory();
        CKpPoint position;
        position.Set(R(2), R(3), R(4));
        point->SetPoint(position);
        drape->pDrapePt(m_drapeU, m_drapeV, point);
        // The grid refuses indices beyond its reach; the point is then
        // still ours.
        if (drape->pDrapePt(m_drapeU, m_drapeV) != point) delete point;
        return true;
    }
    if (code == 421) {
        // A corner (0 to 3) of the point of the last 420: its real value and
        // position.
        CKpDrapePt* point = m_drape420 ? drape->pDrapePt(m_drapeU, m_drapeV) : nullptr;
        const int corner = I(0);
        if (!point || Count() < 1 || corner < 0 || corner > 3) return true;
        CKpPoint position;
        position.Set(R(2), R(3), R(4));
        point->SetEndFrac(corner, R(1));
        point->SetEndPoint(corner, position);
    }
    return true;
}
