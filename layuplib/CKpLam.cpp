#include "layuplib/CKpLam.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/angle_util.h"
#include "layuplib/num_util.h"

namespace {

// Tolerance of the node-position ratio z / t.
const double kNodeTol = 1e-6;

}  // namespace

CKpLam::CKpLam(int id)
    : CVekObject(id),
      m_store(nullptr),
      m_z0Blank(1),
      m_z0(0.0),
      m_nsm(0.0),
      m_sb(0.0),
      m_ft(1),
      m_tref(0.0),
      m_ge(0.0),
      m_lamopt(1),
      m_layers(new (std::nothrow) CKpLamLyrStore(this)),
      m_extId(0) {}

CKpLam::CKpLam(int id, const char* name, double z0) : CKpLam(id) {
    m_name = name ? name : "";
    m_z0 = z0;
    m_z0Blank = 0;
}

CKpLam::~CKpLam() {
    delete m_layers;  // deletes the layers
    m_layers = nullptr;
}

CKpLayup* CKpLam::GetLayup() const {
    return m_store ? m_store->GetLayup() : nullptr;
}

double CKpLam::z0() const {
    return m_z0Blank ? -0.5 * t() : m_z0;
}

int CKpLam::NumLayers() const {
    return m_layers ? m_layers->entries() : 0;
}

double CKpLam::t() const {
    double sum = 0.0;
    if (!m_layers) return sum;
    for (const CKpLamLyr* lyr = m_layers->First(); lyr; lyr = m_layers->Next(lyr)) sum += lyr->t();
    return sum;
}

// ---- IVekLam ----

double CKpLam::GetOffsetAbaqus() {
    const double thick = t();
    if (NumLayers() == 0 || thick == 0.0 || m_z0Blank) return 0.0;
    return -m_z0 / thick - 0.5;
}

int CKpLam::GetNumElements() {
    CKpLayup* layup = GetLayup();
    CKpElemStore* elems = layup ? layup->pElems() : nullptr;
    if (!elems) return 0;
    int n = 0;
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it)
        if (it.key() && it.key()->pid() == id()) ++n;
    return n;
}

int CKpLam::GetElementIds(int n, int* ids) {
    if (n != GetNumElements() || (!ids && n > 0)) return 1;
    CKpLayup* layup = GetLayup();
    if (!layup) return 2;
    CKpElemStore* elems = layup->pElems();
    if (!elems) return 3;
    int k = 0;
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it && k < n)
        if (it.key() && it.key()->pid() == id()) ids[k++] = it.key()->id();
    return 0;
}

IVekLamLayerStore* CKpLam::GetLamLayerStore() {
    return m_layers;
}

int CKpLam::SetName(const char* name) {
    if (!name) name = "";
    if (m_store) {
        CVekObjectStoreIterator<CKpLam> it(*m_store);
        while (++it)
            if (it.key() && std::strcmp(it.key()->name(), name) == 0) return -1;
    }
    m_name = name;
    return 0;
}

int CKpLam::SetOffset(double z) {
    z0(z);
    return 0;
}

int CKpLam::SetElementIds(int n, const int* ids) {
    if (!ids) return 1;
    CKpLayup* layup = GetLayup();
    if (!layup) return 2;
    CKpElemStore* elems = layup->pElems();
    if (!elems) return 3;
    for (int i = 0; i < n; ++i)
        if (CKpElem* elem = elems->find(ids[i])) elem->pid(id());
    return 0;
}

// ---- Names, layers, node positions ----

int CKpLam::GetIdFromName() const {
    const char* text = m_name;
    int end = m_name.Size();
    int start = end;
    while (start > 0 && text[start - 1] >= '0' && text[start - 1] <= '9') --start;
    long long value = 0;
    for (int i = start; i < end; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) return INT_MAX;  // capped, never overflows
    }
    return static_cast<int>(value);
}

int CKpLam::GetValidLayerID(int k) const {
    return (k >= 1 && k <= NumLayers()) ? k : 0;
}

bool CKpLam::IsNodeTop() const {
    const double thick = t();
    if (m_z0Blank || thick == 0.0) return false;
    return std::fabs(m_z0 / thick + 1.0) < kNodeTol;
}

bool CKpLam::IsNodeMid() const {
    if (m_z0Blank) return true;
    const double thick = t();
    if (thick == 0.0) return false;
    return std::fabs(m_z0 / thick + 0.5) < kNodeTol;
}

bool CKpLam::IsNodeBot() const {
    const double thick = t();
    if (m_z0Blank || thick == 0.0) return false;
    return std::fabs(m_z0 / thick) < kNodeTol;
}

int CKpLam::GetKeyopt11() const {
    if (m_z0Blank) return 0;
    if (IsNodeMid()) return 0;
    if (IsNodeBot()) return 1;
    if (IsNodeTop()) return 2;
    return -1;
}

int CKpLam::GPlyIdsOK(CKpMsg* log) const {
    const int count = NumLayers();
    if (count == 0) return 0;
    std::vector<int> ids;
    try {
        ids.reserve(count);
    } catch (...) {
        return -1;
    }
    bool any = false;
    for (const CKpLamLyr* lyr = m_layers->First(); lyr; lyr = m_layers->Next(lyr)) {
        ids.push_back(lyr->gplyid());
        if (lyr->gplyid() != 0) any = true;
    }
    if (!any) return 0;
    int unique = count;
    cleanIntArray(&unique, ids.data());
    if (unique >= count) return 1;
    if (log)
        log->Create(2,
                    "For lam '%s', there are %d layers but only %d unique positive gPlyIds. "
                    "Therefore, gPlyIds will be ignored.",
                    name(), count, unique);
    return 0;
}

int CKpLam::Write(CKpStr* str) const {
    if (!str) return -1;
    CKpStr& s = *str;
    s.Clear();
    s += "id:       ";
    s += id();
    s += "\nname:     ";
    s += m_name;
    s += "\nz0_blank: ";
    s += m_z0Blank;
    s += "\nz0:       ";
    s += m_z0;
    s += "\nnsm:      ";
    s += m_nsm;
    s += "\nsb:       ";
    s += m_sb;
    s += "\nft:       ";
    s += m_ft;
    s += "\ntref:     ";
    s += m_tref;
    s += "\nge:       ";
    s += m_ge;
    s += "\nlamopt:   ";
    s += m_lamopt;
    s += "\nextId:    ";
    s += m_extId;
    s += "\nnum lyrs: ";
    s += NumLayers();
    s += "\n";
    if (!m_layers) return 0;
    for (const CKpLamLyr* lyr = m_layers->First(); lyr; lyr = m_layers->Next(lyr)) {
        s += lyr->gplyid();
        s += ' ';
        s += lyr->mid();
        s += ' ';
        s += lyr->t();
        s += ' ';
        s += lyr->theta();
        s += ' ';
        s += lyr->sout();
        s += ' ';
        s += lyr->sttid();
        s += "\n";
    }
    return 0;
}

// ---- Symmetry and angles ----

int CKpLam::TestSymmetry(double angTol, double thickPct) const {
    const int count = NumLayers();
    const CKpLamLyr* lo = count ? m_layers->First() : nullptr;
    const CKpLamLyr* hi = count ? m_layers->Last() : nullptr;
    for (int i = 0; i < count / 2; ++i, lo = m_layers->Next(lo), hi = m_layers->Prev(hi)) {
        if (lo->mid() != hi->mid()) return -1;
        const double t1 = lo->t(), t2 = hi->t();
        if (std::fabs(t1 - t2) > 0.01 * thickPct * 0.5 * (t1 + t2)) return -1;
        if (std::fabs(piby2_piby2(lo->theta() - hi->theta())) > angTol) return -1;
    }
    return 0;
}

int CKpLam::CreateTotalLayup() {
    if (m_lamopt != 2 || !m_layers) return 0;
    std::vector<CKpLamLyr*> copies;
    try {
        copies.reserve(m_layers->entries());
    } catch (...) {
        return -1;
    }
    for (const CKpLamLyr* lyr = m_layers->Last(); lyr; lyr = m_layers->Prev(lyr)) {
        CKpLamLyr* copy = new (std::nothrow) CKpLamLyr(*lyr);
        if (!copy) {
            for (CKpLamLyr* c : copies) delete c;
            return -1;
        }
        copies.push_back(copy);
    }
    for (CKpLamLyr* c : copies) m_layers->InsertLast(c);
    return 0;
}

double CKpLam::GetThickAtAngle(double angle, double tol) const {
    double sum = 0.0;
    if (!m_layers) return sum;
    for (const CKpLamLyr* lyr = m_layers->First(); lyr; lyr = m_layers->Next(lyr))
        sum += lyr->GetThickAtAngle(angle, tol);
    return sum;
}

double CKpLam::GetOuterThickAtAngle(double angle, double tol) const {
    if (!m_layers || !m_layers->First()) return 0.0;
    double sum = m_layers->First()->GetThickAtAngle(angle, tol);
    if (m_layers->Last() != m_layers->First()) sum += m_layers->Last()->GetThickAtAngle(angle, tol);
    return sum;
}

int CKpLam::GetMaxAdjacent(double ref, int n, int& count, double& thickness) const {
    count = 0;
    thickness = 0.0;
    if (!m_layers) return 0;
    int run = 0;
    double runThick = 0.0, runAngle = 0.0;
    for (const CKpLamLyr* lyr = m_layers->First(); lyr; lyr = m_layers->Next(lyr)) {
        const double a = lyr->GetNominalAngle(ref, n);
        if (run > 0 && a == runAngle) {
            ++run;
            runThick += lyr->t();
        } else {
            run = 1;
            runThick = lyr->t();
            runAngle = a;
        }
        if (run > count) count = run;
        if (runThick > thickness) thickness = runThick;
    }
    return 0;
}

int CKpLam::GetGPlyLayerID(int gplyId) const {
    if (!m_layers) return 0;
    int k = 1;
    for (const CKpLamLyr* lyr = m_layers->First(); lyr; lyr = m_layers->Next(lyr), ++k)
        if (lyr->gplyid() == gplyId) return k;
    return 0;
}

int CKpLam::GetLayerMaterialOffsetsRotation(int k, IVekMaterial*& mat, double& bottom, double& top,
                                            double& angle) {
    if (k < 1 || k > NumLayers()) return -1;
    double z = z0();
    CKpLamLyr* lyr = m_layers->First();
    for (int i = 1; i < k; ++i, lyr = m_layers->Next(lyr)) z += lyr->t();
    mat = lyr->GetMaterial();
    bottom = z;
    top = z + lyr->t();
    angle = lyr->theta();
    return 0;
}
