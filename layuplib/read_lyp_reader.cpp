// The record dispatcher of the layup file reader: field parsing, the header,
// the global layer sequence, nodes, elements, offsets, tolerances, sets and
// orientations. Plies, materials and patterns: read_lyp_composite.cpp.

#include "layuplib/read_lyp_reader.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "layuplib/CKpAnsys.h"
#include "layuplib/CKpAnsysEt.h"
#include "layuplib/CKpAnsysEtStore.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemAnsys.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpLypPlyStore.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOff.h"
#include "layuplib/CKpOffElem.h"
#include "layuplib/CKpOffStore.h"
#include "layuplib/CKpOrient.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpSet.h"
#include "layuplib/CKpSetStore.h"
#include "layuplib/CKpStrSpaces.h"
#include "layuplib/CKpTol.h"
#include "layuplib/CKpTolElem.h"
#include "layuplib/CKpTolStore.h"
#include "layuplib/read_lyp_numbers.h"
#include "layuplib/read_lyp_tokens.h"

namespace {

// Most tokens a line shorter than 64 bytes can hold (each but the last ends
// at a blank).
constexpr size_t kShortTokens = 32;
// Most fields a record's kinds string names (m_ints, m_reals).
constexpr size_t kMaxFields = 16;

}  // namespace

LypReader::LypReader(CKpLayup* model, const char* path, int supported)
    : m_model(model),
      m_msg(model->pMsg()),
      m_path(path ? path : ""),
      m_supported(supported),
      m_group(nullptr),
      m_tokens(kShortTokens),
      m_tokenCount(0),
      m_count(0),
      m_ints(),
      m_reals(),
      m_et(nullptr),
      m_ply(nullptr),
      m_plyLine(0),
      m_plyType(0),
      m_mat(nullptr),
      m_matLine(0),
      m_matType(0),
      m_state(nullptr),
      m_pat(nullptr),
      m_patLine(0),
      m_patType(0),
      m_patStart(false),
      m_node(nullptr),
      m_nodeTop(model->pNodes()->entries() ? model->pNodes()->maxId() : INT_MIN),
      m_elem(nullptr),
      m_elemTop(model->pElems()->entries() ? model->pElems()->maxId() : INT_MIN),
      m_elemPending(false),
      m_elemId(0),
      m_elemPart(0),
      m_elemPatch(0),
      m_off(nullptr),
      m_offHaveId(false),
      m_offId(0),
      m_tol(nullptr),
      m_tolCount(0),
      m_set(nullptr),
      m_setPrevious(0),
      m_runIds(0),
      m_bytes(0),
      m_fileVersion(0),
      m_gplyCounter(1000),
      m_drapeRead(false),
      m_drape420(false),
      m_drapeU(0),
      m_drapeV(0) {}

LypReader::~LypReader() = default;

// ---------------------------------------------------------------- fields

using lyp_tokens::ShortTokens;
using lyp_tokens::SplitTokens;

size_t LypReader::Split(size_t cap) {
    const char* const text = m_group->text;
    const size_t size = m_group->size;
    if (size >= 64) {
        SplitTokens(text, size, m_tokens);
        m_tokenCount = m_tokens.size();
        if (m_tokens.size() < kShortTokens) m_tokens.resize(kShortTokens);
        return m_tokenCount;
    }
    const size_t n = ShortTokens(text, size, m_tokens.data(), cap);
    m_tokenCount = n;
    return n;
}

bool LypReader::Fields(const char* kinds) {
    const char* const text = m_group->text;
    // The code and at most kMaxFields fields.
    const size_t found = Split(kMaxFields + 1);
    const int present = found == 0 ? 0 : static_cast<int>(found) - 1;
    int k = 0;
    for (; k < present && k < static_cast<int>(kMaxFields) && kinds[k]; ++k) {
        const char* token = text + m_tokens[k + 1].first;
        const size_t length = m_tokens[k + 1].second;
        if (kinds[k] == 'i' && !lyp_numbers::ReadInt(token, length, m_ints[k]))
            return BadField(k, "integer");
        if (kinds[k] == 'r' && !lyp_numbers::ReadReal(token, length, m_reals[k]))
            return BadField(k, "number");
    }
    m_count = k;
    return true;
}

bool LypReader::IntList(std::vector<int>& out) {
    const char* const text = m_group->text;
    m_count = 0;
    const size_t found = Split(SIZE_MAX);
    out.clear();
    for (size_t t = 1; t < found; ++t) {
        int v = 0;
        if (!lyp_numbers::ReadInt(text + m_tokens[t].first, m_tokens[t].second, v))
            return BadField(static_cast<int>(t) - 1, "integer");
        out.push_back(v);
    }
    return true;
}

std::string LypReader::Raw(int k) const {
    if (k < 0 || static_cast<size_t>(k) + 1 >= m_tokenCount) return std::string();
    return std::string(m_group->text + m_tokens[k + 1].first, m_tokens[k + 1].second);
}

std::string LypReader::Text(int k) const {
    CKpStrSpaces s;
    s.Set(Raw(k).c_str());
    return s.GetSpaces();
}

bool LypReader::BadField(int k, const char* kind) {
    m_msg->Create(4,
                  "Could not read record %03d on line %ld of layup file '%s': field %d '%s' is "
                  "not a valid %s.",
                  m_group->code, m_group->line, m_path.c_str(), k + 1, Raw(k).c_str(), kind);
    return false;
}

bool LypReader::NoMemory() {
    m_msg->Create(4, "Could not allocate memory.");
    return false;
}

void LypReader::Duplicate(const char* kind, int id) {
    m_msg->Create(2, "Duplicate %s id %d on line %ld of layup file '%s' ignored.", kind, id,
                  m_group->line, m_path.c_str());
}

// ---------------------------------------------------------------- dispatch

bool LypReader::Record(const LypLine& group) {
    m_group = &group;
    m_bytes += static_cast<long long>(group.size) + 1;
    const int code = group.code;
    if (code >= 1 && code <= 10) return Header();
    if (code >= 101 && code <= 102) return Node();
    if (code == 220) return Orientation();
    if (code >= 201 && code <= 209) return Element();
    if (code >= 301 && code <= 309) return Ply();
    if (code >= 401 && code <= 430) return Pattern();
    if (code >= 501 && code <= 552) return Material();
    if (code >= 601 && code <= 603) return Layup();
    if (code >= 702 && code <= 721) return Offset();
    if (code >= 809 && code <= 821) return Tolerance();
    if (code >= 901 && code <= 902) return Set();
    return true;  // banners, group lines, derived records, unknown codes
}

void LypReader::Finish() {
    DropPly();
    DropPattern();
    DropMaterial();
}

// ---------------------------------------------------------------- header

bool LypReader::Header() {
    switch (m_group->code) {
        case 1:
        case 2:
        case 3: {
            if (!Fields("s")) return false;
            const std::string text = Text(0);
            CKpFile* file = m_model->pFile();
            if (m_group->code == 1) file->SetName(text.c_str());
            if (m_group->code == 2) file->SetType(text.c_str());
            if (m_group->code == 3) file->SetComment(text.c_str());
            return true;
        }
        case 4:
            if (!Fields("rrr")) return false;
            m_model->pView()->rot(R(0), R(1), R(2));
            return true;
        case 6:
            if (!Fields("i")) return false;
            if (Count() < 1) return true;
            m_fileVersion = I(0);
            if (m_fileVersion > m_supported)
                m_msg->Create(2,
                              "The selected layup file %s of version %d is later than the "
                              "version %d supported by this product. Unsupported data will be "
                              "lost and dependent operations affected. Please update this "
                              "product to the current version.",
                              m_model->pFile()->GetName(), m_fileVersion, m_supported);
            return true;
        case 9: {
            if (!Fields("ii")) return false;
            if (Count() < 2) return true;
            CKpAnsysEtStore* ets = m_model->pAnsys()->pEts();
            if (!ets) return NoMemory();
            // The element types outlive the emptying of the model: a type the
            // file gives again replaces the one kept, rather than doubling it.
            if (CKpAnsysEt* old = ets->find(I(0))) ets->eraseObject(old);
            CKpAnsysEt* et = new (std::nothrow) CKpAnsysEt(I(0), I(1));
            if (!et) return NoMemory();
            if (!Insert(ets, et)) {
                delete et;
                return NoMemory();
            }
            m_et = et;
            return true;
        }
        case 10:
            if (!Fields("ii")) return false;
            if (m_et && Count() >= 2) m_et->SetKeyopt(I(0), I(1));
            return true;
        default:
            return true;
    }
}

// ---------------------------------------------------------------- layup

bool LypReader::Layup() {
    CKpLyp* layup = m_model->pLyp();
    switch (m_group->code) {
        case 601: {
            // Fields after the code: layup ply id, name, ply type, ply id,
            // layer name, side, instance, angle offset, thickness override,
            // start-direction flag, global ply id, ply group, sequence.
            if (!Fields("isiisiirriiss")) return false;
            if (Count() < 1) return true;
            const int id = I(0);
            if (layup->LypPlys().find(id)) {
                Duplicate("layup ply", id);
                return true;
            }
            CKpLypPly* lp = new (std::nothrow) CKpLypPly(id);
            if (!lp) return NoMemory();
            lp->setDefaultName(Text(1).c_str());
            lp->setLyrtp(I(2));
            lp->setLyrid(I(3));
            lp->setSide(I(5));
            lp->setInstance(I(6));
            lp->setAngleOffset(R(7));
            lp->setThicknessOverride(R(8));
            lp->setGplyid(Count() >= 11 ? I(10) : ++m_gplyCounter);
            lp->setPlyGroup(Count() >= 12 ? Text(11).c_str() : "");
            lp->setSequence(Count() >= 13 ? Text(12).c_str() : "");
            if (!Insert(&layup->LypPlys(), lp)) {
                delete lp;
                return NoMemory();
            }
            return true;
        }
        case 602:
            if (!Fields("i")) return false;
            if (Count() >= 1) layup->setId(I(0));
            return true;
        case 603:
            if (!Fields("s")) return false;
            layup->setName(Text(0).c_str());
            return true;
        default:
            return true;
    }
}

// ---------------------------------------------------------------- nodes

bool LypReader::Node() {
    CKpNodeStore* nodes = m_model->pNodes();
    if (m_group->code == 101) {
        m_node = nullptr;
        if (!FieldsOf("ii")) return false;
        if (Count() < 2) return true;
        const int id = I(1);
        // Files list nodes in ascending id: an id above all so far is new
        // without a lookup.
        if (id <= m_nodeTop && nodes->find(id)) {
            Duplicate("node", id);
            return true;
        }
        CKpNode* node = nodes->NewNode(id);
        if (!node) return NoMemory();
        if (!Insert(nodes, node)) {
            delete node;
            return NoMemory();
        }
        m_node = node;
        if (id > m_nodeTop) m_nodeTop = id;
        return true;
    }
    // 102
    if (!FieldsOf("rrr")) return false;
    if (!m_node) return true;
    for (int k = 0; k < Count(); ++k)
        if (!std::isfinite(R(k))) return BadField(k, "finite number");
    m_node->setCKpPoint(R(0), R(1), R(2));
    m_node->setIncompleteFlag(0);
    return true;
}

// ---------------------------------------------------------------- elements

bool LypReader::Element() {
    CKpElemStore* elems = m_model->pElems();
    switch (m_group->code) {
        case 201:
            m_elem = nullptr;
            m_elemPending = false;
            if (!FieldsOf("iiii")) return false;
            if (Count() < 2) return true;
            m_elemPending = true;
            m_elemId = I(1);
            m_elemPart = I(2);
            m_elemPatch = I(3);  // 0 when the record has no patch id
            return true;
        case 202: {
            m_elem = nullptr;
            if (!FieldsOf("iii")) return false;
            if (!m_elemPending || Count() < 2) return true;
            m_elemPending = false;
            if (m_elemId <= m_elemTop && elems->find(m_elemId)) {
                Duplicate("element", m_elemId);
                return true;
            }
            CKpElem* elem = elems->NewElem(m_elemId, I(1));
            if (!elem) return NoMemory();
            elem->setpart(m_elemPart);
            elem->seteltp(I(0));
            elem->settpmd(I(2));
            elem->SetPatchID(m_elemPatch);
            if (!Insert(elems, elem)) {
                delete elem;
                return NoMemory();
            }
            m_elem = elem;
            if (m_elemId > m_elemTop) m_elemTop = m_elemId;
            return true;
        }
        case 204: {
            if (!IntList(m_list)) return false;
            if (!m_elem) return true;
            // Every node id the element has room for; ids beyond its node
            // count are ignored.
            const int n = std::min(static_cast<int>(m_list.size()), m_elem->getnnod());
            for (int i = 0; i < n; ++i) m_elem->setunid(i, m_list[i]);
            return true;
        }
        case 206:
            if (!FieldsOf("rr")) return false;
            if (!m_elem) return true;
            m_elem->setangtol(R(0));
            m_elem->setthktol(R(1));
            return true;
        case 207:
            if (!FieldsOf("ir")) return false;
            if (!m_elem) return true;
            m_elem->setoff_fg(I(0));
            m_elem->setoff_val(R(1));
            return true;
        case 208: {
            if (!Fields("iiiiiiii")) return false;
            if (!m_elem) return true;
            CKpElemAnsys* ansys = m_elem->CreateAnsys();
            if (!ansys) return NoMemory();
            for (int i = 0; i < 8; ++i) ansys->Set(i, I(i));
            return true;
        }
        case 209:
            if (!Fields("ir")) return false;
            if (!m_elem || Count() < 2) return true;
            m_elem->orientId(I(0));
            m_elem->theta(R(1));
            return true;
        default:
            return true;
    }
}

// ---------------------------------------------------------------- offsets

bool LypReader::Offset() {
    CKpOffStore* offs = m_model->pOffs();
    switch (m_group->code) {
        case 702:
            if (!Fields("i")) return false;
            if (Count() < 1) return true;
            m_offHaveId = true;
            m_offId = I(0);
            return true;
        case 703:
            if (!Fields("s")) return false;
            m_offName = Text(0);
            return true;
        case 710: {
            m_off = nullptr;
            if (!Fields("rrr")) return false;
            int id = m_offHaveId ? m_offId : 0;
            std::string name = m_offName;
            m_offHaveId = false;
            m_offName.clear();
            // An id below 1, or one the file gave already, takes the next
            // free number and, without a 702, that number as its name.
            if (id < 1 || offs->find(id)) {
                const bool named = id >= 1;
                if (offs->maxId() == INT_MAX) return NoMemory();  // no id left above the highest
                id = offs->maxId() + 1;
                if (!named) name = std::to_string(id);
            }
            CKpOff* off = new (std::nothrow) CKpOff(id);
            if (!off) return NoMemory();
            off->setName(name.c_str());
            const double eye[3] = {R(0), R(1), R(2)};
            off->SetSeedPoint(eye);
            if (!Insert(offs, off)) {
                delete off;
                return NoMemory();
            }
            m_off = off;
            return true;
        }
        case 711: {
            if (!Fields("rrrrrrs")) return false;
            if (!m_off) return true;
            const double dirn[3] = {R(0), R(1), R(2)};
            m_off->SetApplicationDirection(dirn);
            if (Count() >= 7) {
                const double origin[3] = {R(3), R(4), R(5)};
                m_off->SetCoordOriginName(origin, Text(6).c_str());
            }
            return true;
        }
        case 712:
            if (!Fields("ir")) return false;
            if (!m_off) return true;
            m_off->setOffsetFlag(I(0));
            m_off->setOffsetValue(R(1));
            return true;
        case 721: {
            if (!Fields("i")) return false;
            if (!m_off || Count() < 1) return true;
            CKpOffElem* item = new (std::nothrow) CKpOffElem(I(0));
            if (!item) return NoMemory();
            m_off->Elems().InsertLast(item);
            return true;
        }
        default:
            return true;
    }
}

// ---------------------------------------------------------------- tolerances

bool LypReader::Tolerance() {
    switch (m_group->code) {
        case 809: {
            if (!Fields("rr")) return false;
            CKpTol* global = m_model->pGTol();
            global->setangtol(R(0));
            global->setthktol(R(1));
            return true;
        }
        case 810: {
            m_tol = nullptr;
            if (!Fields("rr")) return false;
            CKpTol* tol = new (std::nothrow) CKpTol(++m_tolCount, R(0), R(1));
            if (!tol || !tol->pElems()) {
                delete tol;
                return NoMemory();
            }
            if (!Insert(m_model->pTols(), tol)) {
                delete tol;
                return NoMemory();
            }
            m_tol = tol;
            return true;
        }
        case 821: {
            if (!Fields("i")) return false;
            if (!m_tol || Count() < 1) return true;
            CKpTolElem* item = new (std::nothrow) CKpTolElem(I(0));
            if (!item) return NoMemory();
            m_tol->pElems()->InsertLast(item);
            return true;
        }
        default:
            return true;
    }
}

// ---------------------------------------------------------------- sets

bool LypReader::Set() {
    CKpSetStore* sets = m_model->pSets();
    if (m_group->code == 901) {
        m_set = nullptr;
        m_setPrevious = 0;
        if (!Fields("is")) return false;
        if (Count() < 1) return true;
        if (sets->find(I(0))) {
            Duplicate("set", I(0));
            return true;
        }
        CKpSet* set = new (std::nothrow) CKpSet(I(0));
        if (!set) return NoMemory();
        set->setName(Text(1).c_str());
        if (!Insert(sets, set)) {
            delete set;
            return NoMemory();
        }
        m_set = set;
        return true;
    }
    // 902: every number of the line; a run may continue from the line
    // before.
    if (!IntList(m_list)) return false;
    if (!m_set || m_list.empty()) return true;
    // A run is a compressed list: a few bytes can ask for billions of ids.
    // Expanded, runs may name at most 64 ids for each byte read so far, so
    // that memory keeps in step with the file as for every other record. A
    // saved file stays far inside: its sets name elements, whose records
    // (some 80 bytes or more each) came earlier.
    const long long runIds =
        CKpSet::ComprRunIds(m_setPrevious, static_cast<int>(m_list.size()), m_list.data());
    if (m_runIds + runIds > kHeldPerByte * m_bytes) {
        m_msg->Create(2,
                      "Set %d on line %ld of layup file '%s' would bring the ids named by runs "
                      "to %lld, more than %d for each of the %lld bytes read; the rest of the "
                      "set is ignored.",
                      m_set->id(), m_group->line, m_path.c_str(), m_runIds + runIds,
                      static_cast<int>(kHeldPerByte), m_bytes);
        m_set = nullptr;
        return true;
    }
    m_runIds += runIds;
    m_setPrevious =
        m_set->AddComprIds(m_setPrevious, static_cast<int>(m_list.size()), m_list.data());
    return true;
}

// ---------------------------------------------------------------- orientations

bool LypReader::Orientation() {
    if (!Fields("isiirrr")) return false;
    if (Count() < 7) return true;
    CKpOrientStore* orients = m_model->pOrients();
    if (orients->find(I(0))) {
        Duplicate("orientation", I(0));
        return true;
    }
    CKpOrient* orient = new (std::nothrow) CKpOrient(I(0));
    if (!orient) return NoMemory();
    orient->setName(Text(1).c_str());
    orient->setType(I(2));
    orient->setRefId(I(3));
    orient->setValues(R(4), R(5), R(6));
    if (!Insert(orients, orient)) {
        delete orient;
        return NoMemory();
    }
    return true;
}
