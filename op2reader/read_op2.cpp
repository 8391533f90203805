#include "op2reader/read_op2.h"

#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "F06Parser/CF06NameBranch.h"
#include "F06Parser/CF06ResBranch.h"
#include "F06Parser/CLamGplyids.h"
#include "F06Parser/CLamOpt.h"
#include "F06Parser/CSubcase.h"
#include "F06Parser/F06ResBuild.h"
#include "layuplib/CKpCoord.h"
#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOrient.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/angle_util.h"
#include "layuplib/input_file_check.h"
#include "layuplib/num_util.h"
#include "layuplib/store_or_free.h"
#include "layuplib/user_break.h"
#include "op2reader/op2_guard.h"

namespace {

// The word helpers for the reader's own loops: inline, not through the
// exported functions (which a shared library calls through its PLT).
inline int WordInt(int swapped, int word) {
    return swapped ? static_cast<int>(__builtin_bswap32(static_cast<unsigned>(word))) : word;
}

inline float WordFloat(int swapped, int word) {
    const int w = WordInt(swapped, word);
    float f;
    std::memcpy(&f, &w, sizeof f);
    return f;
}

// The 8-byte real in two words as stored; in a file of the other byte order
// all eight bytes are reversed.
inline double WordDouble(int swapped, const int* words) {
    std::uint64_t u;
    std::memcpy(&u, words, sizeof u);
    if (swapped) u = __builtin_bswap64(u);
    double d;
    std::memcpy(&d, &u, sizeof d);
    return d;
}

// Finds or makes the frame `id` and sets its type, reference frame and its
// points A, B, C (9 values).
void SetFrame(CKpLayup* model, int type, int id, int rid, const double values[9]) {
    CKpCoordStore* coords = model->pCoords();
    CKpCoord* coord = coords->entries() > 0 ? coords->find(id) : nullptr;
    if (!coord) {
        coord = new (std::nothrow) CKpCoord(id);
        if (!coord || store_or_free(coords, coord, model->pMsg(), "frame") != 0) return;
    }
    coord->setType(static_cast<CKpCoordType>(type));
    coord->setRid(rid);
    for (int k = 0; k < 9; ++k) coord->setCoords(values[k], k);
}

}  // namespace

int GetInt(int swapped, int word) {
    return WordInt(swapped, word);
}

float GetFloat(int swapped, int word) {
    return WordFloat(swapped, word);
}

char* GetString(const int* words, int first, int last, char* buffer) {
    int n = last >= first ? 4 * (last - first + 1) : 0;
    if (n > 0) std::memcpy(buffer, words + first - 1, static_cast<size_t>(n));
    buffer[n] = '\0';
    // Text ends at a 0 byte inside the words too.
    StringStripLeadTrail(buffer);
    StringStripSpaces(buffer);
    return buffer;
}

int GetEidEkey(int key) {
    return key / 10;
}

int IsComplex(int tableCode) {
    return (tableCode / 1000) % 2 != 0 ? 1 : 0;
}

namespace {

// The three words of a keyed record's key, swapped, the third one whole. 0,
// or -1 when fewer than three words came.
int ReadKeyWords(int fileId, int* result, int* status, int swapped, int key[3]) {
    int delivered = 0;
    *result = op2_ReadRecord(fileId, 3, 0, &delivered, status, key);
    if (*result < 0 || delivered < 3) return -1;
    for (int k = 0; k < 3; ++k) key[k] = GetInt(swapped, key[k]);
    return 0;
}

}  // namespace

int GetIFPHeader(int fileId, int* result, int* status, int swapped, int key[3], int* flag1,
                 int* flag2) {
    if (ReadKeyWords(fileId, result, status, swapped, key) != 0) return -1;
    *flag1 = (key[2] / 100000) % 10;
    *flag2 = (key[2] / 10000) % 10;
    key[2] %= 10000;
    return 0;
}

int SkipRecord(int fileId, int* result, int* status) {
    int word, delivered;
    *status = 0;
    do {
        *result = op2_ReadRecord(fileId, 1, 1, &delivered, status, &word);
    } while (*result >= 0 && *status == 0);
    return 0;
}

static int SubcaseSetByIdentBody(CSubcase* subcase, int swapped, const int* w) {
    subcase->reinit();
    const int approach = GetInt(swapped, w[0]);
    subcase->SetApproach(approach);
    subcase->setId(GetInt(swapped, w[3]));
    switch (approach / 10) {
        case 2:
            subcase->SetMode(GetInt(swapped, w[4]));
            subcase->SetEigenvalue(GetFloat(swapped, w[5]));
            break;
        case 5:
            subcase->SetFrequency(GetFloat(swapped, w[4]));
            break;
        case 6:
            subcase->SetTime(GetFloat(swapped, w[4]));
            break;
        case 10:
            subcase->SetLoadFactor(GetFloat(swapped, w[4]));
            break;
        default:
            break;
    }
    char text[32 * 4 + 1];
    subcase->SetTitle(GetString(w, 51, 82, text));
    subcase->SetSubtitle(GetString(w, 83, 114, text));
    subcase->SetLabel(GetString(w, 115, 146, text));
    return 0;
}

int SubcaseSetByIdent(CSubcase* subcase, int swapped, const int* w) {
    return op2_guard(
        -1,
        [](const char* reason) {
            std::fprintf(stderr, "SubcaseSetByIdent could not complete: %s.\n", reason);
        },
        [&] { return SubcaseSetByIdentBody(subcase, swapped, w); });
}

static int Cord2Body(CKpLayup* model, int type, int* delivered, int* result, int* status,
                     int fileId, int swapped, int* buffer) {
    *status = 0;
    while (*status == 0) {
        *result = op2_ReadRecord(fileId, 13, 0, delivered, status, buffer);
        if (*result < 0) break;
        if (*delivered < 13) continue;  // a short entry is not a frame
        double values[9];
        for (int k = 0; k < 9; ++k) values[k] = WordFloat(swapped, buffer[4 + k]);
        SetFrame(model, type, WordInt(swapped, buffer[0]), WordInt(swapped, buffer[3]), values);
    }
    return 0;
}

int Cord2(CKpLayup* model, int type, int* delivered, int* result, int* status, int fileId,
          int swapped, int* buffer) {
    return op2_guard(
        -1,
        [&](const char* reason) {
            *result = -16;
            if (model) model->pMsg()->Create(4, "Cord2 could not complete: %s.", reason);
        },
        [&] { return Cord2Body(model, type, delivered, result, status, fileId, swapped, buffer); });
}

namespace {

CKpOrient* FindOrCreateOrient(CKpLayup* model, const char* name, int kind, int refId) {
    CKpOrientStore* orients = model->pOrients();
    CKpOrient* orient = orients->findByName(name);
    if (orient) return orient;
    if (orients->maxId() == INT_MAX) return nullptr;  // no id left above the highest
    orient = new (std::nothrow) CKpOrient(orients->maxId() + 1);
    if (!orient) return nullptr;
    orient->setName(name);
    orient->setType(kind);
    orient->setRefId(refId);
    if (store_or_free(orients, orient, model->pMsg(), "orientation") != 0) return nullptr;
    return orient;
}

}  // namespace

static int CreateElemOrientBody(CKpLayup* model, CKpElem* elem, float x) {
    CKpOrient* orient;
    double theta = 0.0;
    // Codes past any frame id a file can hold are angles, however odd.
    if (x >= 512.0f && x <= 512.0f * 1e9f && std::fmod(x, 512.0f) == 0.0f) {
        const int frame = static_cast<int>(x / 512.0f) - 1;
        char name[32];
        std::snprintf(name, sizeof name, "Coord.%d", frame);
        orient = FindOrCreateOrient(model, name, 1, frame);
    } else {
        orient = FindOrCreateOrient(model, "Theta", 2, 0);
        theta = static_cast<double>(x) * kPi / 180.0;
    }
    if (!orient) return -1;
    elem->pOrient(orient);
    elem->orientId(orient->id());
    elem->theta(theta);
    return 0;
}

int CreateElemOrient(CKpLayup* model, CKpElem* elem, float x) {
    return op2_guard(
        -1,
        [model](const char* reason) {
            if (model) model->pMsg()->Create(4, "CreateElemOrient could not complete: %s.", reason);
        },
        [&] { return CreateElemOrientBody(model, elem, x); });
}

namespace {

enum Kind { kGeom1, kGeom2, kMpt, kEpt, kPcompt, kOefit, kOes, kOef, kNone };

struct KeyedCard {
    int k1, k2, k3;
    Kind table;
    const char* card;
    int sizes[2];  // entry sizes in words; 0: variable (PCOMP) / unused
    int wide;      // entry size of the double-precision layout; 0: none read
};

// A third key word of more than the card's code and two flag digits marks a
// record in double precision (GRID 1120001, CORD2R 2220008): its reals take
// two words each, so its entries are wider.
bool WideKey(int k3) {
    return k3 / 1000000 != 0;
}

const KeyedCard kCards[] = {
    {2001, 20, 9, kGeom1, "CORD2C", {13, 0}, 22},   {2101, 21, 8, kGeom1, "CORD2R", {13, 0}, 22},
    {2201, 22, 10, kGeom1, "CORD2S", {13, 0}, 22},  {4501, 45, 1, kGeom1, "GRID", {8, 0}, 11},
    {2958, 51, 177, kGeom2, "CQUAD4", {14, 0}, 0},  {8009, 80, 367, kGeom2, "CQUADR", {14, 0}, 0},
    {4701, 47, 326, kGeom2, "CQUAD8", {16, 17}, 0}, {5959, 59, 282, kGeom2, "CTRIA3", {13, 0}, 0},
    {9200, 92, 385, kGeom2, "CTRIAR", {13, 0}, 0},  {4801, 48, 327, kGeom2, "CTRIA6", {13, 14}, 0},
    {103, 1, 77, kMpt, "MAT1", {12, 0}, 0},         {203, 2, 78, kMpt, "MAT2", {17, 23}, 0},
    {2503, 25, 288, kMpt, "MAT8", {19, 0}, 0},      {2706, 27, 287, kEpt, "PCOMP", {0, 0}, 0},
};

// The CORD2C, CORD2R and CORD2S cards, and their frame type (1
// rectangular, 2 cylindrical, 3 spherical).
bool IsFrame(const KeyedCard& card) {
    return card.table == kGeom1 && card.sizes[0] == 13;
}
int FrameType(const KeyedCard& card) {
    return card.k1 == 2001 ? 2 : (card.k1 == 2101 ? 1 : 3);
}

const KeyedCard* FindCard(Kind table, const int key[3]) {
    for (const KeyedCard& c : kCards)
        if (c.table == table && c.k1 == key[0] && c.k2 == key[1] && c.k3 == key[2]) return &c;
    return nullptr;
}

// The work state of one import.
class Op2Import {
  public:
    Op2Import(const char* path, CKpLayup* model, int modelFlags, int resultFlags)
        : m_path(path),
          m_model(model),
          m_msg(model->pMsg()),
          m_modelFlags(modelFlags),
          m_resultFlags(resultFlags),
          m_subcase(0) {}
    ~Op2Import() {
        delete m_current;
        // A run that stopped on an exception leaves its file open.
        if (m_id >= 1 && m_open) op2_CloseFile(m_id);
    }

    int Run();

  private:
    bool OpenDatablock(char name[9], int trailer[6], int* eof, int* result);
    void ReadKeyed(Kind table, const char* name);
    // The rest of the current logical record; *status as op2_ReadRecord's
    // last one (2: the datablock had ended). False when a read failed.
    bool ReadWholeRecord(std::vector<int>& words, int* status);
    void Entries(const KeyedCard& card, const char* datablock, const std::vector<int>& words,
                 bool wide);
    CKpNode* GridNode(int id);
    void Grid(const int* w);
    void WideGrid(const int* w);
    void WideFrame(const KeyedCard& card, const int* w);
    void Element(const KeyedCard& card, const int* w, int size);
    void Material(const KeyedCard& card, const int* w, int size);
    // Walks PCOMP entries; false when the record is not a sequence of them.
    bool PcompFits(const std::vector<int>& words) const;
    bool Pcomp(const int* w, int plies);
    void ReadPcompt(const char* name);
    void ReadResults(Kind table, const char* name);
    // Names 0 and 1 of the subcase just identified (`owner`: approach code,
    // subcase id, word 4), told apart from those of an earlier subcase of
    // this file that took the same names.
    void NameSubcase(const std::array<int, 3>& owner);
    void ResultEntry(Kind table, const unsigned char* entry, int size, int complex);
    // The results of the current subcase names by layer: a layer's rows go
    // straight into the result that took its first row, with no names or
    // keys built per row. Forgotten when the names may change (a new
    // identification record or criterion).
    enum LayerKind { kStressLayer, kFailureLayer, kInterface, kLayerKinds };
    static constexpr int kLayersKept = 4096;
    CKpRes* Layer(LayerKind kind, int layer) const {
        const std::vector<CKpRes*>& known = m_layers[kind];
        return layer >= 0 && static_cast<size_t>(layer) < known.size() ? known[layer] : nullptr;
    }
    void Remember(LayerKind kind, int layer) {
        if (layer < 0 || layer >= kLayersKept) return;
        std::vector<CKpRes*>& known = m_layers[kind];
        if (known.size() <= static_cast<size_t>(layer)) known.resize(layer + 1, nullptr);
        known[layer] = LastFiledResult(&m_branches);
    }
    void ForgetLayers() {
        for (std::vector<CKpRes*>& known : m_layers) known.clear();
    }
    void Finish();
    bool Failed(int result) {
        if (result < 0) {
            if (!m_failed) m_failCode = result;
            m_failed = true;
        }
        return result < 0;
    }

    const char* m_path;
    CKpLayup* m_model;
    CKpMsg* m_msg;
    int m_modelFlags;
    int m_resultFlags;
    int m_id = 0;
    int m_swapped = 0;
    bool m_failed = false;
    int m_failCode = 0;       // the first failing library code
    bool m_reported = false;  // the failure has its error message already
    char m_block[9] = "";     // the datablock being read
    bool m_layupFailed = false;
    bool m_noOrient = false;  // an element was left without orientation: said once
    CSubcase m_subcase;
    CKpRes* m_current = nullptr;
    CF06ResBranchArray m_branches;
    std::vector<CKpRes*> m_layers[kLayerKinds];
    CF06NameBranch m_names;
    CLamOptStore m_options;
    CLamGplyidsStore m_ranges;
    std::vector<int> m_gplyids;
    int m_gplyidsRead = 0;
    int m_gplyidsExpected = 0;
    int m_lastEid = 0;
    char m_criterion[32] = "";
    std::string m_subtitle;  // names 0 and 1 of the current subcase
    std::string m_label;
    // Which subcase took each pair of names 0 and 1 in this file: approach
    // code, subcase id and word 4 (mode, time, frequency or load factor).
    std::map<std::string, std::array<int, 3>> m_nameOwners;
    bool m_open = false;  // m_id is an open file of this import
};

bool Op2Import::ReadWholeRecord(std::vector<int>& words, int* status) {
    words.clear();
    int chunk[1024];
    int delivered = 0;
    do {
        const int r = op2_ReadRecord(m_id, 1024, 0, &delivered, status, chunk);
        if (Failed(r)) return false;
        words.insert(words.end(), chunk, chunk + delivered);
    } while (*status == 0);
    return true;
}

// The node of a GRID entry: the one of its id, else a new one stored under
// it (null when it cannot be made; the message is given).
CKpNode* Op2Import::GridNode(int id) {
    CKpNodeStore* nodes = m_model->pNodes();
    CKpNode* node = nodes->find(id);
    if (!node) {
        node = nodes->NewNode(id);
        if (!node || store_or_free(nodes, node, m_msg, "node") != 0) return nullptr;
    }
    return node;
}

void Op2Import::Grid(const int* w) {
    CKpNode* node = GridNode(WordInt(m_swapped, w[0]));
    if (!node) return;
    node->SetCp(WordInt(m_swapped, w[1]));
    node->setCKpPoint(WordFloat(m_swapped, w[2]), WordFloat(m_swapped, w[3]),
                      WordFloat(m_swapped, w[4]));
    node->setIncompleteFlag(0);
}

// GRID in double precision: id, cp, x, y, z as 8-byte reals, then cd, ps,
// seid.
void Op2Import::WideGrid(const int* w) {
    CKpNode* node = GridNode(WordInt(m_swapped, w[0]));
    if (!node) return;
    node->SetCp(WordInt(m_swapped, w[1]));
    node->setCKpPoint(WordDouble(m_swapped, w + 2), WordDouble(m_swapped, w + 4),
                      WordDouble(m_swapped, w + 6));
    node->setIncompleteFlag(0);
}

// CORD2x in double precision: id, type, word 2 and the reference frame,
// then A, B and C as 8-byte reals.
void Op2Import::WideFrame(const KeyedCard& card, const int* w) {
    double values[9];
    for (int k = 0; k < 9; ++k) values[k] = WordDouble(m_swapped, w + 4 + 2 * k);
    SetFrame(m_model, FrameType(card), WordInt(m_swapped, w[0]), WordInt(m_swapped, w[3]), values);
}

void Op2Import::Element(const KeyedCard& card, const int* w, int size) {
    int gmtp = 1, corners = 4, mids = 0, angleWord = 6;
    if (!std::strcmp(card.card, "CQUAD8")) {
        gmtp = 2, mids = 4, angleWord = 14;
    } else if (!std::strcmp(card.card, "CTRIA6")) {
        gmtp = 12, corners = 3, mids = 3, angleWord = 8;
    } else if (card.sizes[0] == 13) {
        gmtp = 11, corners = 3, angleWord = 5;
    }
    if (angleWord >= size) return;
    CKpElemStore* elems = m_model->pElems();
    const int id = WordInt(m_swapped, w[0]);
    CKpElem* elem = elems->find(id);
    if (!elem) {
        elem = elems->NewElem(id, gmtp);
        if (!elem || store_or_free(elems, elem, m_msg, "element") != 0) return;
    }
    elem->pid(WordInt(m_swapped, w[1]));
    elem->seteltp(1);
    const int nnod = elem->getnnod();
    const int step = mids ? 2 : 1;
    for (int k = 0; k < corners; ++k)
        if (k * step < nnod) elem->setunid(k * step, WordInt(m_swapped, w[2 + k]));
    for (int k = 0; k < mids; ++k)
        if (2 * k + 1 < nnod) elem->setunid(2 * k + 1, WordInt(m_swapped, w[2 + corners + k]));
    if (CreateElemOrient(m_model, elem, WordFloat(m_swapped, w[angleWord])) != 0) m_noOrient = true;
}

void Op2Import::Material(const KeyedCard& card, const int* w, int) {
    const int id = WordInt(m_swapped, w[0]);
    auto f = [&](int k) { return static_cast<double>(WordFloat(m_swapped, w[k])); };
    const bool mat2 = card.k1 == 203, mat8 = card.k1 == 2503;
    if (mat2 && (id < 0 || id > 100000000)) return;  // the solver's own materials
    CKpMatStore* mats = m_model->pMats();
    CKpMat* mat = mats->New(id);
    if (!mat) mat = mats->New(0);  // a second entry of one id is a second material
    if (!mat) return;
    char name[48];
    std::snprintf(name, sizeof name, "%s.%d", mat8 ? "mat8" : (mat2 ? "mat2" : "mat1"), id);
    mat->setMtrlnm(name);
    mat->SetExternalName(name);
    mat->SetExternalId(id);
    if (card.k1 == 103) {
        mat->SetTropy(static_cast<EVekMaterialTropy>(1));
        mat->SetEx(f(1)), mat->SetGxy(f(2)), mat->SetNuxy(f(3)), mat->SetDensity(f(4));
        mat->SetAlpx(f(5)), mat->SetTref(f(6)), mat->SetGe(f(7));
        mat->SetFxt(f(8)), mat->SetFxc(f(9)), mat->SetFs12(f(10));
    } else if (mat2) {
        mat->SetTropy(static_cast<EVekMaterialTropy>(5));
        mat->SetEx(f(1)), mat->SetNuxy(f(2)), mat->SetC14(f(3)), mat->SetEy(f(4));
        mat->SetC24(f(5)), mat->SetGxy(f(6)), mat->SetDensity(f(7));
        mat->SetAlpx(f(8)), mat->SetAlpy(f(9)), mat->SetA4(f(10)), mat->SetTref(f(11));
        mat->SetGe(f(12)), mat->SetFxt(f(13)), mat->SetFxc(f(14)), mat->SetFs12(f(15));
    } else {
        mat->SetTropy(static_cast<EVekMaterialTropy>(4));
        mat->SetEx(f(1)), mat->SetEy(f(2)), mat->SetNuxy(f(3)), mat->SetGxy(f(4));
        mat->SetGzx(f(5)), mat->SetGyz(f(6)), mat->SetDensity(f(7));
        mat->SetAlpx(f(8)), mat->SetAlpy(f(9)), mat->SetTref(f(10));
        mat->SetFxt(f(11)), mat->SetFxc(f(12)), mat->SetFyt(f(13)), mat->SetFyc(f(14));
        mat->SetFs12(f(15)), mat->SetGe(f(16));
        const double product = mat->GetFxt() * mat->GetFxc() * mat->GetFyt() * mat->GetFyc();
        mat->SetF12(f(17) * (product > 0.0 ? std::sqrt(product) : 0.0));
        if (f(18) == 1.0) mat->SetAllowStrain();
    }
}

bool Op2Import::PcompFits(const std::vector<int>& words) const {
    size_t pos = 0;
    while (pos < words.size()) {
        if (words.size() - pos < 8) return false;
        long long plies = std::llabs(static_cast<long long>(WordInt(m_swapped, words[pos + 1])));
        if (plies > static_cast<long long>((words.size() - pos - 8) / 4)) return false;
        pos += 8 + 4 * static_cast<size_t>(plies);
    }
    return true;
}

bool Op2Import::Pcomp(const int* w, int plies) {
    const int pid = WordInt(m_swapped, w[0]);
    CKpLamStore* lams = m_model->pLams();
    CKpLam* lam = lams->New(pid);
    if (!lam) lam = lams->New(0);
    if (!lam) return true;
    char name[48];
    std::snprintf(name, sizeof name, "pcomp.%d", pid);
    lam->name(name);
    lam->SetExtId(pid);
    lam->z0(WordFloat(m_swapped, w[2]));
    lam->sb(WordFloat(m_swapped, w[4]));
    if (WordInt(m_swapped, w[1]) < 0) lam->lamopt(2);
    for (int p = 0; p < plies; ++p) {
        const int* ply = w + 8 + 4 * p;
        CKpLamLyr* lyr = new (std::nothrow) CKpLamLyr();
        if (!lyr) break;
        lyr->setMid(WordInt(m_swapped, ply[0]));
        lyr->setT(WordFloat(m_swapped, ply[1]));
        lyr->setTheta(static_cast<double>(WordFloat(m_swapped, ply[2])) * kPi / 180.0);
        lyr->setSout(WordInt(m_swapped, ply[3]));
        lam->LamLyrs()->InsertLast(lyr);
    }
    return lam->CreateTotalLayup() == 0;
}

void Op2Import::Entries(const KeyedCard& card, const char* datablock, const std::vector<int>& words,
                        bool wide) {
    const size_t n = words.size();
    if (wide) {
        // Never read as single precision: its own layout, or not at all.
        const size_t size = static_cast<size_t>(card.wide);
        if (size == 0 || n % size != 0) {
            m_msg->Create(2, "%s record of datablock %s skipped: its length fits no entry layout",
                          card.card, datablock);
            return;
        }
        for (size_t pos = 0; pos < n; pos += size) {
            if (IsFrame(card))
                WideFrame(card, &words[pos]);
            else
                WideGrid(&words[pos]);
        }
        return;
    }
    if (card.table == kEpt) {
        if (!PcompFits(words)) {
            m_msg->Create(2, "%s record of datablock %s skipped: its length fits no entry layout",
                          card.card, datablock);
            return;
        }
        for (size_t pos = 0; pos < n;) {
            const int plies = std::abs(WordInt(m_swapped, words[pos + 1]));
            if (!Pcomp(&words[pos], plies)) {
                m_layupFailed = true;
                return;
            }
            pos += 8 + 4 * static_cast<size_t>(plies);
        }
        return;
    }
    int size = 0;
    for (int s : card.sizes)
        if (s > 0 && n % static_cast<size_t>(s) == 0) {
            size = s;
            break;
        }
    if (size == 0) {
        m_msg->Create(2, "%s record of datablock %s skipped: its length fits no entry layout",
                      card.card, datablock);
        return;
    }
    for (size_t pos = 0; pos + size <= n; pos += static_cast<size_t>(size)) {
        const int* w = &words[pos];
        switch (card.table) {
            case kGeom1:
                Grid(w);
                break;
            case kGeom2:
                Element(card, w, size);
                break;
            default:
                Material(card, w, size);
                break;
        }
    }
}

void Op2Import::ReadKeyed(Kind table, const char* name) {
    std::vector<int> words;
    for (;;) {
        // The key's third word stays whole until the precision it marks is
        // known; then it is reduced as GetIFPHeader reduces it.
        int key[3], result = 0, status = 0;
        if (ReadKeyWords(m_id, &result, &status, m_swapped, key) != 0) {
            if (Failed(result) || status == 2) return;
            continue;  // a record shorter than a key is over
        }
        const bool wide = WideKey(key[2]);
        key[2] %= 10000;
        const KeyedCard* card = FindCard(table, key);
        if (card && status == 0 && !wide && IsFrame(*card)) {
            int buffer[13], delivered;
            Cord2(m_model, FrameType(*card), &delivered, &result, &status, m_id, m_swapped, buffer);
            if (Failed(result)) return;
        } else if (card && status == 0) {
            if (!ReadWholeRecord(words, &status)) return;
            Entries(*card, name, words, wide);
            if (m_layupFailed) return;
        } else if (status == 0) {
            SkipRecord(m_id, &result, &status);
            if (Failed(result)) return;
        }
        if (status == 2) return;
    }
}

void Op2Import::ReadPcompt(const char* name) {
    std::vector<int> words;
    for (int record = 1;; ++record) {
        int status = 0;
        if (!ReadWholeRecord(words, &status)) return;
        if (status == 2 && words.empty()) return;
        const size_t n = words.size();
        if (record == 1 || record == 2) {
            // Newer files add a text word to each range entry.
            size_t size = 3;
            if (record == 2 && n % 4 == 0) {
                bool texts = n > 0;
                for (size_t pos = 3; pos < n && texts; pos += 4) texts = words[pos] == 0x20202020;
                if (texts || n % 3 != 0) size = 4;
            }
            if (n % size != 0) {
                m_msg->Create(2,
                              "%s record of datablock %s skipped: its length fits no entry layout",
                              "PCOMPT", name);
                if (status == 2) return;
                continue;
            }
            for (size_t pos = 0; pos < n; pos += size) {
                const int id = WordInt(m_swapped, words[pos]);
                const int w1 = WordInt(m_swapped, words[pos + 1]);
                const int w2 = WordInt(m_swapped, words[pos + 2]);
                if (record == 1) {
                    static const int kMap[] = {1, 6, 7, 8, 9, 2};
                    const int option = w1 >= 1 && w1 <= 5 ? kMap[w1] : 1;
                    CLamOpt* opt = new (std::nothrow) CLamOpt(id, option);
                    if (opt) store_or_free(&m_options, opt, m_msg, "laminate option");
                } else {
                    CLamGplyids* range = new (std::nothrow) CLamGplyids(id, w2, w1);
                    if (range) store_or_free(&m_ranges, range, m_msg, "global ply id range");
                    const long long end = static_cast<long long>(w2) + w1;
                    if (w1 >= 0 && w2 >= 0 && end > m_gplyidsExpected && end <= (1 << 28))
                        m_gplyidsExpected = static_cast<int>(end);
                }
            }
        } else if (record == 3 && m_gplyidsExpected >= 1) {
            const size_t expected = static_cast<size_t>(m_gplyidsExpected);
            // Newer files give each ply several words, the id first.
            const size_t k = n >= expected && n % expected == 0 ? n / expected : 1;
            // The array holds what the record holds, not the count record 2
            // declares: only ids that were read are given out.
            m_gplyidsRead = static_cast<int>(std::min(n / k, expected));
            m_gplyids.assign(static_cast<size_t>(m_gplyidsRead), 0);
            for (int i = 0; i < m_gplyidsRead; ++i)
                m_gplyids[i] = WordInt(m_swapped, words[static_cast<size_t>(i) * k]);
            if (n / k != expected)
                m_msg->Create(4, "PCOMPT table: %d gplyids were read but %d were expected",
                              static_cast<int>(n / k), m_gplyidsExpected);
        }
        if (status == 2) return;
    }
}

void Op2Import::ResultEntry(Kind table, const unsigned char* entry, int size, int complex) {
    // The entry's words as stored (the bytes need not be aligned).
    auto W = [entry](int k) {
        int word;
        std::memcpy(&word, entry + 4 * k, sizeof word);
        return word;
    };
    const char* subtitle = m_subtitle.c_str();
    const char* label = m_label.c_str();
    if (table == kOefit) {
        const int word0 = WordInt(m_swapped, W(0));
        if (word0 >= 1) m_lastEid = word0;
        char text[16] = "";
        // Later plies leave the criterion words blank (the common case).
        const int theory[2] = {W(1), W(2)};
        if (theory[0] != 0x20202020 || theory[1] != 0x20202020) GetString(theory, 1, 2, text);
        // Later plies of an element leave the criterion blank: the first holds.
        if (text[0]) {
            CKpRes::Theory(text);
            if (std::strcmp(m_criterion, text) != 0) {
                std::snprintf(m_criterion, sizeof m_criterion, "%s", text);
                ForgetLayers();
            }
        }
        const int layer = WordInt(m_swapped, W(3));
        const float value = WordFloat(m_swapped, W(4));
        CKpRes* res = Layer(kFailureLayer, layer);
        int r = res ? FileResValues(res, m_lastEid, 1, &value)
                    : CreateResElemFailure(m_model, &m_names, &m_branches, &m_current, subtitle,
                                           label, m_criterion, layer, m_lastEid, value, 0, 0.0f);
        if (!res && r == 0) Remember(kFailureLayer, layer);
        if (r != 0 || WordInt(m_swapped, W(7)) != -1) return;
        const float bond = WordFloat(m_swapped, W(6));
        res = Layer(kInterface, layer);
        r = res ? FileResValues(res, m_lastEid, 1, &bond)
                : CreateResElemInterface(m_model, &m_branches, &m_current, subtitle, label,
                                         m_criterion, layer, m_lastEid, bond);
        if (!res && r == 0) Remember(kInterface, layer);
    } else if (table == kOes) {
        const int eid = WordInt(m_swapped, W(0)) / 10;
        if (eid >= 1) m_lastEid = eid;
        float s[5];
        for (int k = 0; k < 5; ++k) s[k] = WordFloat(m_swapped, W(2 + k));
        const int layer = WordInt(m_swapped, W(1));
        if (CKpRes* res = Layer(kStressLayer, layer)) {
            const float values[6] = {s[0], s[1], 0.0f, s[2], s[4], s[3]};
            FileResValues(res, m_lastEid, 6, values);
        } else if (CreateResElemStress(m_model, &m_names, &m_branches, &m_current, subtitle, label,
                                       layer, m_lastEid, s) == 0) {
            Remember(kStressLayer, layer);
        }
    } else {
        // Centre values: words 1.. for bar-like entries, 3.. after the corner
        // header of corner-output entries.
        const int first = size == 9 || size == 17 ? 1 : 3;
        float v[8], v2[8] = {0};
        for (int k = 0; k < 8; ++k) v[k] = WordFloat(m_swapped, W(first + k));
        if (complex)
            for (int k = 0; k < 8; ++k) v2[k] = WordFloat(m_swapped, W(first + 8 + k));
        CreateResElemForce(m_model, &m_names, &m_branches, &m_current, subtitle, label,
                           WordInt(m_swapped, W(0)) / 10, v, complex, v2);
    }
}

namespace {

bool LayeredType(int type) {
    return type == 95 || type == 96 || type == 97 || type == 98 || type == 232 || type == 233;
}

// Words per force entry of an element type; 0 when not read.
int ForceSize(int type, int complex) {
    if (type == 33 || type == 74) return complex ? 17 : 9;
    if (type == 64 || type == 82 || type == 144) return complex ? 87 : 47;
    if (type == 70 || type == 75) return complex ? 70 : 38;
    return 0;
}

}  // namespace

void Op2Import::ReadResults(Kind table, const char* name) {
    delete m_current;
    m_current = nullptr;
    // No id left above the highest: read no results, as when none can be made.
    if (m_model->pRess()->maxId() == INT_MAX) return;
    m_current = new (std::nothrow) CKpRes(m_model->pRess()->maxId() + 1);
    if (!m_current) return;
    m_subtitle = m_subcase.GetSubtitle();
    m_label = m_subcase.GetLabel();
    ForgetLayers();
    int ident[146];
    int elementType = 0, tableCode = 0, stressCode = 0;
    bool complexReported = false;
    for (;;) {
        int delivered = 0, status = 0;
        int r = op2_ReadRecord(m_id, 146, 1, &delivered, &status, ident);
        if (Failed(r) || status == 2) break;
        if (delivered == 146) {
            SubcaseSetByIdent(&m_subcase, m_swapped, ident);
            m_subtitle = m_subcase.GetSubtitle();
            m_label = m_subcase.GetLabel();
            NameSubcase(std::array<int, 3>{WordInt(m_swapped, ident[0]), m_subcase.id(),
                                           WordInt(m_swapped, ident[4])});
            ForgetLayers();
            tableCode = WordInt(m_swapped, ident[1]);
            elementType = WordInt(m_swapped, ident[2]);
            stressCode = WordInt(m_swapped, ident[10]);
        }
        const int complex = IsComplex(tableCode);
        int size = 0;
        if (table == kOef) {
            size = ForceSize(elementType, complex);
        } else if (LayeredType(elementType) && !(table == kOes && (stressCode & 2))) {
            if (complex) {
                // Read as real entries they would be noise.
                if (!complexReported)
                    m_msg->Create(2, "Complex layered results of datablock %s skipped", name);
                complexReported = true;
            } else {
                size = table == kOefit ? 9 : 11;
            }
        }
        if (size == 0) {
            SkipRecord(m_id, &r, &status);
            if (Failed(r) || status == 2) break;
            continue;
        }
        int entry[87];
        const int complexEntry = table == kOef ? complex : 0;
        status = 0;
        while (status == 0) {
            // Entries lying whole in the read window come as a run; the
            // record library's call takes the one that needs more.
            int run = 0;
            if (const unsigned char* bytes = op2_ReadEntryRun(m_id, size, 1024, &run)) {
                const size_t entryBytes = static_cast<size_t>(size) * 4;
                for (int k = 0; k < run; ++k)
                    ResultEntry(table, bytes + static_cast<size_t>(k) * entryBytes, size,
                                complexEntry);
                continue;
            }
            r = op2_ReadRecord(m_id, size, 0, &delivered, &status, entry);
            if (Failed(r)) break;
            if (delivered == size)
                ResultEntry(table, reinterpret_cast<const unsigned char*>(entry), size,
                            complexEntry);
        }
        if (r < 0 || status == 2) break;
    }
    delete m_current;
    m_current = nullptr;
}

void Op2Import::NameSubcase(const std::array<int, 3>& owner) {
    auto key = [this](const std::string& label) { return m_subtitle + '\n' + label; };
    auto taken = m_nameOwners.emplace(key(m_label), owner);
    if (taken.second || taken.first->second == owner) return;
    // Two modes of one frequency (or two subcases of one label) would file
    // their values into one result: the later one gets names of its own.
    char mark[64];
    if (m_subcase.GetAnalysisType() == 2)
        std::snprintf(mark, sizeof mark, " Mode %d", m_subcase.GetMode());
    else
        std::snprintf(mark, sizeof mark, " Subcase %d", m_subcase.id());
    const std::string first = m_label;
    for (int n = 1;; ++n) {
        std::string label = first + mark;
        if (n > 1) label += " (" + std::to_string(n) + ")";
        auto own = m_nameOwners.emplace(key(label), owner);
        if (!own.second && own.first->second != owner) continue;
        m_label = label;
        if (own.second)
            m_msg->Create(1, "Results named '%s' / '%s': '%s' is taken by an earlier subcase.",
                          m_subtitle.c_str(), m_label.c_str(), first.c_str());
        return;
    }
}

bool Op2Import::OpenDatablock(char name[9], int trailer[6], int* eof, int* result) {
    *result = op2_OpenDatablk(m_id, 1, name, trailer, eof);
    m_msg->Create(1, "op2_OpenDatablk: %d %d", *result, *eof);
    return *result >= 0 && !*eof;
}

void Op2Import::Finish() {
    CKpLamStore* lams = m_model->pLams();
    for (int i = 0; i < m_options.entries(); ++i) {
        CLamOpt* opt = m_options[i];
        CKpLam* lam = opt ? lams->find(opt->id()) : nullptr;
        if (lam) lam->lamopt(opt->GetOption());
    }
    for (int i = 0; i < m_ranges.entries(); ++i) {
        CLamGplyids* range = m_ranges[i];
        CKpLam* lam = range ? lams->find(range->id()) : nullptr;
        if (!lam) continue;
        if (lam->NumLayers() != range->GetCount()) {
            m_msg->Create(4, "PCOMP %d: %d gplyids were read but %d were expected", range->id(),
                          range->GetCount(), lam->NumLayers());
            continue;
        }
        // Only ids that were read are given out.
        const long long base = range->GetBase();
        if (base < 0 || base + range->GetCount() > m_gplyidsRead) continue;
        int k = 0;
        for (CKpLamLyr* lyr = lam->LamLyrs()->First(); lyr; lyr = lam->LamLyrs()->Next(lyr))
            lyr->setGplyid(m_gplyids[static_cast<size_t>(base + k++)]);
    }
}

int Op2Import::Run() {
    // Missing, a directory, empty or too short for a label or a datablock
    // header: said before the record library is started.
    std::int64_t size = 0;
    const std::string problem = input_file_problem(m_path, &size);
    if (!problem.empty()) {
        m_msg->Create(4, "Binary output file '%s' %s.", m_path, problem.c_str());
        return 1;
    }
    if (size < 16) {
        m_msg->Create(4,
                      "Binary output file '%s' is not solver binary output: its %lld bytes are "
                      "too few for a label or a datablock.",
                      m_path, static_cast<long long>(size));
        return 1;
    }
    int r = op2_Init(stdout);
    m_msg->Create(1, "op2_Init: %d", r);
    m_id = op2_OpenFile(m_path, 'R');
    m_open = m_id >= 1;
    m_msg->Create(1, "op2_OpenFile: %d FileId = %d", r, m_id);
    if (m_id < 1) {
        m_msg->Create(1, "op2_End: %d", op2_End());
        return 1;
    }
    int date[3];
    char label[9], version[13];
    r = op2_ReadLabel2(m_id, date, label, version);
    m_msg->Create(1, "op2_ReadLabel2: %d", r);
    char name[9] = "";
    int trailer[6] = {0}, eof = 0;
    bool open = false;
    if (r != 0) {
        // A file may begin with its first datablock.
        op2_CloseFile(m_id);
        m_id = op2_OpenFile(m_path, 'R');
        m_open = m_id >= 1;
        open = m_id >= 1 && op2_OpenDatablk(m_id, 1, name, trailer, &eof) == 0 && !eof;
        if (!open) {
            m_msg->Create(4,
                          "The op2 file '%s' cannot be read successfully.\nnThis is probably "
                          "because it was generated on an incompatible hardware platform.\n"
                          "Transform the data into the appropriate binary format with the "
                          "solver's conversion utilities.\n",
                          m_path);
            m_failed = true;
            m_reported = true;
        }
    }
    if (m_id >= 1 && (r == 0 || open)) {
        op2_GetSwapped(m_id, &m_swapped);
        m_msg->Create(1, "op2_GetSwapped: %d swap = %d", 0, m_swapped);
        if (r == 0) {
            m_msg->Create(1, "  Date:   %6d  %6d  %6d", WordInt(m_swapped, date[0]),
                          WordInt(m_swapped, date[1]), WordInt(m_swapped, date[2]));
            m_msg->Create(1, "  Label:  %s", label);
            m_msg->Create(1, "  Version:%s", version);
        }
        for (;;) {
            if (!open) {
                int result;
                if (!OpenDatablock(name, trailer, &eof, &result)) {
                    Failed(result);
                    break;
                }
            }
            open = false;
            std::memcpy(m_block, name, sizeof m_block);
            for (int i = 7; i >= 0 && m_block[i] == ' '; --i) m_block[i] = '\0';
            m_msg->Create(1, "  %s:", name);
            m_msg->Create(1, "  %6d  %6d  %6d  %6d  %6d  %6d", WordInt(m_swapped, trailer[0]),
                          WordInt(m_swapped, trailer[1]), WordInt(m_swapped, trailer[2]),
                          WordInt(m_swapped, trailer[3]), WordInt(m_swapped, trailer[4]),
                          WordInt(m_swapped, trailer[5]));
            auto is = [&](const char* text, size_t n) { return std::strncmp(name, text, n) == 0; };
            if ((m_modelFlags & 1) && is("GEOM1", 5))
                ReadKeyed(kGeom1, name);
            else if ((m_modelFlags & 1) && is("GEOM2", 5))
                ReadKeyed(kGeom2, name);
            else if ((m_modelFlags & 2) && is("MPT", 3))
                ReadKeyed(kMpt, name);
            else if ((m_modelFlags & 4) && is("EPT", 3))
                ReadKeyed(kEpt, name);
            else if ((m_modelFlags & 4) && is("PCOMPT", 6))
                ReadPcompt(name);
            else if ((m_resultFlags & 4) && is("OEFIT", 5))
                ReadResults(kOefit, name);
            else if ((m_resultFlags & 2) && (is("OES1C", 5) || is("OESCP", 5)))
                ReadResults(kOes, name);
            else if ((m_resultFlags & 1) && is("OEF1", 4))
                ReadResults(kOef, name);
            if (m_layupFailed) break;
            r = op2_CloseDatablk(m_id);
            m_msg->Create(1, "op2_CloseDatablk: %d", r);
            if (Failed(r)) break;
            if (user_break(m_model->pGUI(), 1)) break;
        }
    }
    if (m_id >= 1) m_msg->Create(1, "op2_CloseFile: %d", op2_CloseFile(m_id));
    m_open = false;
    m_msg->Create(1, "op2_End: %d", op2_End());
    if (m_layupFailed) return 1;
    if (m_noOrient) m_msg->Create(4, "Could not allocate memory.");
    Finish();
    // A failure of the record library: where the file broke.
    if (m_failed && !m_reported) {
        const char* where = m_block[0] ? m_block : "(the first)";
        if (m_failCode == -14)
            m_msg->Create(4,
                          "Binary output file '%s' ends early or is damaged in or after datablock "
                          "%s; what was read before it stays.",
                          m_path, where);
        else
            m_msg->Create(4,
                          "Binary output file '%s': reading failed in or after datablock %s (code "
                          "%d); what was read before it stays.",
                          m_path, where, m_failCode);
    }
    return m_failed ? 1 : 0;
}

}  // namespace

int read_op2(const char* path, CKpLayup* model, int modelFlags, int resultFlags) {
    if (!path || !model) return 1;
    auto report = [model](const char* reason) {
        model->pMsg()->Create(4, "read_op2 could not complete: %s.", reason);
    };
    return op2_guard(1, report, [&] {
        Op2Import import(path, model, modelFlags, resultFlags);
        return import.Run();
    });
}
