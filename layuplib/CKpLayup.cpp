#include "layuplib/CKpLayup.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "F06Parser/read_f06.h"
#include "fileformats/CCDBParser.h"
#include "fileformats/CESAComp.h"
#include "fileformats/CFiberSimAnsysWriter.h"
#include "fileformats/CRSTParser.h"
#include "fileformats/CSTLParser.h"
#include "fileformats/read_korbdf.h"
#include "host/CKpDB.h"
#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpCurveStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpFieldStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOffStore.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/PlyImport.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpPropGenSet.h"
#include "layuplib/CKpPropStore.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/CKpSelect.h"
#include "layuplib/CKpSetStore.h"
#include "layuplib/CKpSolidGenSet.h"
#include "layuplib/CKpSubLypStore.h"
#include "layuplib/CKpTol.h"
#include "layuplib/CKpTolStore.h"
#include "layuplib/save_neutral.h"
#include "layuplib/CVekAddinFailureLaminaCowin.h"
#include "layuplib/CVekAddinFailureLaminaHankinson.h"
#include "layuplib/CVekAddinFailureLaminaHill.h"
#include "layuplib/CVekAddinFailureLaminaHoffman.h"
#include "layuplib/CVekAddinFailureLaminaMaximum.h"
#include "layuplib/CVekAddinFailureLaminaTsaiwu.h"
#include "layuplib/CVekAddinFailureLaminaUser.h"
#include "layuplib/CVekAddinManager.h"
#include "layuplib/ExportLaserLayup.h"
#include "layuplib/add_layer.h"
#include "layuplib/gen_flat_pat_dxf.h"
#include "layuplib/node_reref.h"
#include "op2reader/read_op2.h"

CKpLayup::CKpLayup(CKpDB* db, CKpGUI* gui)
    : m_db(db),
      m_gui(gui),
      m_nodes(nullptr),
      m_elems(nullptr),
      m_sets(nullptr),
      m_facs(nullptr),
      m_bdys(0),
      m_mats(nullptr),
      m_pats(nullptr),
      m_plys(nullptr),
      m_offs(nullptr),
      m_gtol(nullptr),
      m_tols(nullptr),
      m_lamMats(nullptr),
      m_coords(nullptr),
      m_orients(nullptr),
      m_lams(nullptr),
      m_props(nullptr),
      m_fields(nullptr),
      m_subLyps(nullptr),
      m_propGenSet(nullptr),
      m_solidGenSet(nullptr),
      m_ress(nullptr),
      m_curves(nullptr),
      m_select(nullptr),
      m_addins(nullptr) {
    m_msg.SetGUI(gui);
    m_gra.SetGUI(gui);
    init();
}

CKpLayup::~CKpLayup() {
    reinit();
    delete m_propGenSet;
    m_propGenSet = nullptr;
    delete m_nodes;
    m_nodes = nullptr;
    delete m_elems;
    m_elems = nullptr;
    delete m_sets;
    m_sets = nullptr;
    delete m_facs;
    m_facs = nullptr;
    delete m_mats;
    m_mats = nullptr;
    delete m_pats;
    m_pats = nullptr;
    delete m_plys;
    m_plys = nullptr;
    delete m_offs;
    m_offs = nullptr;
    delete m_gtol;
    m_gtol = nullptr;
    delete m_tols;
    m_tols = nullptr;
    delete m_lamMats;
    m_lamMats = nullptr;
    delete m_coords;
    m_coords = nullptr;
    delete m_orients;
    m_orients = nullptr;
    delete m_lams;
    m_lams = nullptr;
    delete m_props;
    m_props = nullptr;
    delete m_fields;
    m_fields = nullptr;
    delete m_subLyps;
    m_subLyps = nullptr;
    delete m_solidGenSet;
    m_solidGenSet = nullptr;
    delete m_ress;
    m_ress = nullptr;
    delete m_curves;
    m_curves = nullptr;
    delete m_select;
    m_select = nullptr;
    delete m_addins;
    m_addins = nullptr;
}

void CKpLayup::init() {
    if (!m_nodes) m_nodes = new CKpNodeStore();
    if (!m_elems) m_elems = new CKpElemStore();
    if (!m_sets) m_sets = new CKpSetStore();
    if (!m_facs) m_facs = new CKpFacetStore(this);
    if (!m_mats) m_mats = new CKpMatStore(this);
    if (!m_pats) m_pats = new CKpPatStore();
    if (!m_plys) m_plys = new CKpPlyStore(this);
    if (!m_offs) {
        m_offs = new CKpOffStore(this);
        m_lyp.SetLayup(this);
    }
    if (!m_gtol) m_gtol = new CKpTol(0, std::acos(-1.0) / 36.0, 5.0);
    if (!m_tols) m_tols = new CKpTolStore();
    if (!m_lamMats) m_lamMats = new CKpMatStore(this);
    if (!m_coords) m_coords = new CKpCoordStore(this);
    if (!m_orients) m_orients = new CKpOrientStore(this);
    if (!m_lams) m_lams = new CKpLamStore(this);
    if (!m_props) m_props = new CKpPropStore();
    if (!m_fields) m_fields = new CKpFieldStore(this);
    if (!m_subLyps) m_subLyps = new CKpSubLypStore();
    if (!m_propGenSet) {
        m_propGenSet = new CKpPropGenSet();
        m_propGenSet->SetLayup(this);
    }
    if (!m_solidGenSet) {
        m_solidGenSet = new CKpSolidGenSet();
        m_solidGenSet->SetLayup(this);
    }
    if (!m_ress) m_ress = new CKpResStore(this);
    if (!m_curves) m_curves = new CKpCurveStore();
    if (!m_select) {
        m_select = new CKpSelect();
        m_select->SetLayup(this);
    }
    if (!m_addins) CreateAddinManager();
}

void CKpLayup::CreateAddinManager() {
    m_addins = new CVekAddinManager();
    const char* const lamina = "IVekAddinFailureLamina";
    // The temporary reference keeps an object that could not be registered
    // from leaking: its Release then deletes it.
    auto add = [this, lamina](const char* name, CVekAddinFailureLaminaTemplate* criterion) {
        criterion->AddRef();
        m_addins->AddBuiltin(name, lamina, criterion);
        criterion->Release();
    };
    add("Builtin:Tsaiwu", new CVekAddinFailureLaminaTsaiwu);
    add("Builtin:Maximum", new CVekAddinFailureLaminaMaximum);
    add("Builtin:Hill", new CVekAddinFailureLaminaHill);
    add("Builtin:Hoffman", new CVekAddinFailureLaminaHoffman);
    add("Builtin:Hankinson", new CVekAddinFailureLaminaHankinson);
    add("Builtin:Cowin", new CVekAddinFailureLaminaCowin);
    add("Builtin:User", new CVekAddinFailureLaminaUser);
    // An unset variable passes null, which leaves the built-ins only.
    m_addins->SetSearchPath(std::getenv("VEKAddinPath"));
    m_addins->CreateEnumerateList();
}

int CKpLayup::reinit() {
    m_file.Clear();
    m_view.Identity();
    init();
    m_nodes->eraseAllObjects();
    m_elems->eraseAllObjects();
    m_sets->eraseAllObjects();
    m_facs->reinit();
    m_bdys.reinit();
    m_drapeSim.reinit();
    m_mats->eraseAllObjects();
    m_pats->eraseAllObjects();
    m_plys->eraseAllObjects();
    m_lyp.reinit();
    m_offs->eraseAllObjects();
    m_tols->eraseAllObjects();
    m_lamMats->eraseAllObjects();
    m_coords->eraseAllObjects();
    m_orients->eraseAllObjects();
    m_lams->eraseAllObjects();
    m_props->eraseAllObjects();
    m_fields->eraseAllObjects();
    m_subLyps->eraseAllObjects();
    m_propGenSet->Clear();
    m_solidGenSet->Clear();
    m_ress->eraseAllObjects();
    m_curves->eraseAllObjects();
    m_select->Clear();
    return 0;
}

// ---- getters

CKpNodeStore* CKpLayup::pNodes() {
    if (!m_nodes) init();
    return m_nodes;
}
CKpElemStore* CKpLayup::pElems() {
    if (!m_elems) init();
    return m_elems;
}
CKpSetStore* CKpLayup::pSets() {
    if (!m_sets) init();
    return m_sets;
}
CKpFacetStore* CKpLayup::pFacs() {
    if (!m_facs) init();
    return m_facs;
}
CKpMatStore* CKpLayup::pMats() {
    if (!m_mats) init();
    return m_mats;
}
CKpPatStore* CKpLayup::pPats() {
    if (!m_pats) init();
    return m_pats;
}
CKpPlyStore* CKpLayup::pPlys() {
    if (!m_plys) init();
    return m_plys;
}
CKpOffStore* CKpLayup::pOffs() {
    if (!m_offs) init();
    return m_offs;
}
CKpTol* CKpLayup::pGTol() {
    if (!m_gtol) init();
    return m_gtol;
}
CKpTolStore* CKpLayup::pTols() {
    if (!m_tols) init();
    return m_tols;
}
CKpMatStore* CKpLayup::pLamMats() {
    if (!m_lamMats) init();
    return m_lamMats;
}
CKpCoordStore* CKpLayup::pCoords() {
    if (!m_coords) init();
    return m_coords;
}
CKpOrientStore* CKpLayup::pOrients() {
    if (!m_orients) init();
    return m_orients;
}
CKpLamStore* CKpLayup::pLams() {
    if (!m_lams) init();
    return m_lams;
}
CKpPropStore* CKpLayup::pProps() {
    if (!m_props) init();
    return m_props;
}
CKpFieldStore* CKpLayup::pFields() {
    if (!m_fields) init();
    return m_fields;
}
CKpSubLypStore* CKpLayup::pSubLyps() {
    if (!m_subLyps) init();
    return m_subLyps;
}
CKpPropGenSet* CKpLayup::pPropGenSet() {
    if (!m_propGenSet) init();
    return m_propGenSet;
}
CKpSolidGenSet* CKpLayup::pSolidGenSet() {
    if (!m_solidGenSet) init();
    return m_solidGenSet;
}
CKpResStore* CKpLayup::pRess() {
    if (!m_ress) init();
    return m_ress;
}
CKpCurveStore* CKpLayup::pCurves() {
    if (!m_curves) init();
    return m_curves;
}
CKpSelect* CKpLayup::pSelect() {
    if (!m_select) init();
    return m_select;
}
CVekAddinManager* CKpLayup::VekAddinManager() {
    if (!m_addins) init();
    return m_addins;
}

// ---- store interfaces

IVekSelect* CKpLayup::GetSelect() {
    return pSelect();
}
IVekMaterialStore* CKpLayup::GetMaterialStore() {
    return pMats();
}
IVekPlyStore* CKpLayup::GetPlyStore() {
    return pPlys();
}
IVekOffsetStore* CKpLayup::GetOffsetStore() {
    return pOffs();
}
IVekPlyLayup* CKpLayup::GetPlyLayup() {
    return &m_lyp;
}
IVekPropGenSet* CKpLayup::GetPropGenSet() {
    return pPropGenSet();
}
IVekLamStore* CKpLayup::GetLamStore() {
    return pLams();
}
IVekCoordStore* CKpLayup::GetCoordStore() {
    return pCoords();
}
IVekOrientationStore* CKpLayup::GetOrientationStore() {
    return pOrients();
}
IVekSolidGenSet* CKpLayup::GetSolidGenSet() {
    return pSolidGenSet();
}
IVekResultStore* CKpLayup::GetResultStore() {
    return pRess();
}

// ---- add-in components

int CKpLayup::GetAddins(int* count, const char* interfaceName, void** out) {
    if (!count) return 1;
    if (!interfaceName || *count < 0 || (*count > 0 && !out)) {
        m_msg.Create(4, "GetAddins: invalid count, interface name or output array.");
        return 1;
    }
    CVekAddinManager* manager = VekAddinManager();
    const int wanted = *count;
    if (manager->CreateEnumerateList() != 0) return 1;
    const int size = manager->GetEnumerateSize();
    int stored = 0;
    char component[255];
    char offered[255];
    for (int i = 0; i < size; ++i) {
        if (manager->GetEnumerateInterface(i, component, sizeof(component), offered,
                                           sizeof(offered)) != 0)
            continue;
        if (std::strcmp(offered, interfaceName) != 0) continue;
        if (wanted == 0) {
            ++*count;
            continue;
        }
        void* object = nullptr;
        if (manager->Instantiate(component, offered, &object) == 0 && object) {
            out[stored++] = object;
            if (stored >= wanted) break;
        }
    }
    return 0;
}

// ---- operations of later subsystems

namespace {

// Fills `model` from its host database: the mesh, relinked and checked,
// the laminates, their materials and the element properties, whose result
// is the read's.
int readHostDatabase(CKpLayup* model) {
    CKpDB* db = model->pDB();
    CKpMsg* msg = model->pMsg();
    db->getMesh(msg, model->pNodes(), model->pElems());
    if (node_reref(msg, model->pNodes(), model->pElems()) < 0) return -1;
    model->pElems()->CheckShape(msg);
    db->getLam(msg, model->pElems(), model->pLams());
    db->getMat(msg, model->pLams(), model->pMats());
    return db->getProp(msg, model->pElems(), model->pOrients(), model->pCoords());
}

}  // namespace

int CKpLayup::Read(EFormat format, const char* path, int clear, int flags, const char* extra) {
    const int code = static_cast<int>(format);
    // 1. Empty the model first when asked; the file record takes the path.
    if (clear) {
        if (pNodes()->entries() > 0) m_msg.Create(2, "Clearing initial model.");
        if (KorReadPre(this) == -1) return -1;
        m_file.SetName(path ? path : "");
    }
    // 2. By format; each reader says why it failed.
    int status = -1;
    switch (code) {
        case 1:
        case 7:
        case 8:
        case 9: {
            CSTLParser stl;
            CCDBParser cdb;
            CRSTParser rst;
            CESAComp esacomp;
            CKpDBF& parser = code == 1   ? static_cast<CKpDBF&>(stl)
                             : code == 7 ? static_cast<CKpDBF&>(cdb)
                             : code == 8 ? static_cast<CKpDBF&>(rst)
                                         : esacomp;
            parser.SetStores(this);
            parser.SetName(path);
            parser.SetFlags(clear, flags);
            status = parser.Read();
            break;
        }
        case 2:
            status = read_korbdf(const_cast<char*>(path), this);
            break;
        case 3:
            status = read_f06(path, this, clear, extra, flags);  // clear also switches the echo
            break;
        case 4:
            status = read_op2(path, this, clear, flags);
            break;
        case 5: {
            // Without clearing, the file record keeps the open model's name:
            // the file asked for is read through a record of its own.
            CKpFile record;
            record.SetName(path ? path : "");
            status = ImportMorvek25(&m_msg, clear ? &m_file : &record, pNodes(), pElems());
            break;
        }
        case 6:
            break;
        case 11:
            // Without a host database there is nothing to read from.
            if (!m_db) return -1;
            status = readHostDatabase(this);
            break;
        default:
            m_msg.Create(4, "Unsupported format %d", code);
            break;
    }
    if (status != 0) {
        m_msg.Create(4, "Read failed.");
        return -1;
    }
    // 3. STL facets share their corners only after merging.
    if (code == 1) pNodes()->Merge(&m_msg, pElems(), nullptr, 1e-12);
    // 4. Link and complete what was read.
    if (clear && KorReadPost(this) == -1) return -1;
    return 0;
}
int CKpLayup::Write(EFormat format, const char* path, int what, int results, int option,
                    int binary) {
    switch (static_cast<int>(format)) {
        case 1:
        case 7: {
            CSTLParser stl;
            CCDBParser cdb;
            CKpDBF& parser = format == 1 ? static_cast<CKpDBF&>(stl) : cdb;
            parser.SetStores(this);
            parser.SetName(path);
            parser.SetType(binary ? 2 : 1);
            parser.SetFlags(what, 0);
            return parser.Write();
        }
        case 2:
            return write_korbdf(const_cast<char*>(path), this, option);
        case 10: {
            CFiberSimAnsysWriter writer;
            return writer.Write(path, this);
        }
        case 11:
            // Without a host database there is nothing to write to.
            if (!m_db) return -1;
            if (what & 1) m_db->putMesh(&m_msg, pNodes(), pElems());
            if (what & 2) {
                m_db->putMat(&m_msg, pMats());
                m_db->putLam(&m_msg, pMats(), pLams());
            }
            if (what & 4) m_db->putProp(&m_msg, pElems(), pLams(), pOrients(), pCoords());
            if (results) m_db->putRes(&m_msg, pRess());
            return 0;
        default:
            m_msg.Create(4, "Unsupported format %d", static_cast<int>(format));
            return -1;
    }
}
int CKpLayup::Import(ILayup* source, int areaCount, const int* areaIds, double angleTolerance,
                     double distanceTolerance, int normalCalculation, double splitWidth,
                     int importLayup, int plyCount, int* flags, int* uncoveredCount,
                     int* uncoveredIds) {
    // Importing from itself would rename and append to the stores it walks.
    CKpLayup* src = dynamic_cast<CKpLayup*>(source);
    if (!src || src == this) {
        m_msg.Create(4, "Cannot import plies: the source must be another layup model.");
        return -1;
    }
    return ImportLayup(this, src, areaCount, areaIds, angleTolerance, distanceTolerance,
                       normalCalculation, splitWidth, importLayup, plyCount, flags,
                       uncoveredCount, uncoveredIds);
}

int CKpLayup::Export2dDXF(const char* file, const char* layer, const char* style, int flag) {
    if (!layer) layer = m_drapeSim.pPly() ? m_drapeSim.pPly()->name() : "";
    CKpFile record;
    record.SetName(file);
    if (gen_flat_pat_dxf(&m_msg, &record, m_drapeSim.pPat(), m_drapeSim.pFlatPats(), layer, style,
                         flag) != 0) {
        m_msg.Create(4, "Could not export cutout data in DXF format");
        return -1;
    }
    m_msg.Create(1, "Flat pattern exported in DXF format");
    return 0;
}

int CKpLayup::Export3dLaser(const char* plyName, int kind, const char* file, int flag) {
    if (!plyName) plyName = m_drapeSim.pPly() ? m_drapeSim.pPly()->name() : "";
    if (pFacs()->entries() == 0) pFacs()->CreateFacets();
    if (ExportLaserPlyL(&m_msg, kind, file, plyName, flag, pFacs(), &m_bdys, &m_drapeSim) != 0) {
        m_msg.Create(4, "Could not export laser ply data");
        return -1;
    }
    m_msg.Create(1, "Laser ply data exported");
    return 0;
}

int CKpLayup::CreateLayupPly(const char* plyGroup, const char* sequence, int type,
                             const char* plyName, int side, double angleOffset,
                             double thicknessOverride, int globalPlyId) {
    return ::CreateLayupPly(this, plyGroup, sequence, type, plyName, side, angleOffset,
                            thicknessOverride, globalPlyId);
}
