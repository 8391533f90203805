// CCDBParser::Read: CDB commands into the model's stores.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "fileformats/CCDBParser.h"
#include "fileformats/CCDBRlsetStore.h"
#include "fileformats/CDBCommand.h"
#include "fileformats/CDBNumber.h"
#include "fileformats/CDBParser.h"
#include "fileformats/CElemRc.h"
#include "fileformats/CRcLam.h"
#include "layuplib/CKpAnsys.h"
#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpElemAnsys.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpMsgLimit.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/angle_util.h"
#include "layuplib/input_file_check.h"
#include "layuplib/node_reref.h"
#include "layuplib/store_or_free.h"

namespace {

const double kDegToRad = kPi / 180.0;

enum EOffset { OffsetMid, OffsetTop, OffsetBot, OffsetUser };

}  // namespace

struct CCDBParser::ReadState {
    explicit ReadState(CCDBParser& parser) : p(parser), msg(parser.pMsg()) {}

    CCDBParser& p;
    CKpMsg* msg;
    CCDBOwningStore<CElemRc> elemRcs;
    CCDBOwningStore<CRcLam> rcLams;
    CCDBRlsetStore rlsets;
    CKpCoordStore locals;
    int secId = 0;
    CKpStr secType;
    EOffset offset = OffsetMid;
    double userOffset = 0.0;
    bool dropped = false;  // rows or commands were dropped: the read fails

    // The handler of each command read (the table in HandleCommand).
    void Et(CDBCommand& cmd);
    void Keyop(CDBCommand& cmd);
    void Rlblock(CDBCommand& cmd);
    void Local(CDBCommand& cmd);
    void Nblock(CDBCommand& cmd);
    void Eblock(CDBCommand& cmd);
    void Mptemp(CDBCommand& cmd);
    void Mpdata(CDBCommand& cmd);
    void Fc(CDBCommand& cmd);
    void Sectype(CDBCommand& cmd);
    void Secoffset(CDBCommand& cmd);
    void Secblock(CDBCommand& cmd);
};

CCDBParser::CCDBParser() = default;

CCDBParser::~CCDBParser() = default;

namespace {

// Argument i of `cmd` as an int (atof, then truncation). False with an error
// naming the line when it is not finite or outside the int range.
bool argInt(CKpMsg* msg, const CDBCommand& cmd, int i, int& out) {
    if (CdbToInt(cmd.GetArgumentAsDouble(i), out)) return true;
    msg->Create(4, "Line %d: argument %d of %s (%s) is not an integer; the command is skipped.",
                cmd.Line(), i + 1, static_cast<const char*>(cmd.Name()), cmd.GetArgumentText(i));
    return false;
}

// The same for an informational count: 0 when it does not convert.
int argIntOr0(const CDBCommand& cmd, int i) {
    int v = 0;
    return CdbToInt(cmd.GetArgumentAsDouble(i), v) ? v : 0;
}

// Column `col` of row `row` as an int; false with an error naming the line.
bool rowInt(CKpMsg* msg, const CDBCommand& cmd, int row, int col, int& out) {
    if (CdbToInt(cmd.GetBlockValue(row, col), out)) return true;
    msg->Create(4, "Line %d: field %d of the %s row is not an integer; the row is skipped.",
                cmd.GetRowLine(row), col + 1, static_cast<const char*>(cmd.Name()));
    return false;
}

// Kept rows of a block, by id: the first row of each id that the store does
// not hold already. `ids` pairs (id, row) in any order; returns the rows to
// take, ascending by id, and the number of rows passed over.
template <class Store>
std::vector<std::pair<int, int>> firstOfEachId(Store& store, std::vector<std::pair<int, int>>& ids,
                                               int& passedOver) {
    std::sort(ids.begin(), ids.end());
    std::vector<std::pair<int, int>> keep;
    keep.reserve(ids.size());
    passedOver = 0;
    for (size_t k = 0; k < ids.size(); ++k) {
        if ((k > 0 && ids[k].first == ids[k - 1].first) || store.find(ids[k].first)) {
            ++passedOver;
            continue;
        }
        keep.push_back(ids[k]);
    }
    return keep;
}

}  // namespace

namespace {

// Commands of a CDB file: the ones read here and the ones every file of the
// format carries. A file without one of them is no CDB file.
bool isCdbCommand(const CKpStr& name) {
    static const char* const kNames[] = {
        "ET",      "KEYOP",    "KEYOPT",    "RLBLOCK", "NBLOCK",     "EBLOCK", "MPDATA", "MPTEMP",
        "SECTYPE", "SECBLOCK", "SECOFFSET", "SECDATA", "SECCONTROL", "LOCAL",  "FC",     "N",
        "EN",      "CMBLOCK",  "R",         "RMORE",   "MP",         "TB",     "TBDATA", "TBTEMP",
        "/PREP7",  "/COM",     "/TITLE",    "/NOPR",   "/GO",        "FINISH", "NUMOFF", "CSYS",
        "*SET",    "/UNITS",   "D",         "F",       "CE",         "CP",     "ANTYPE", "EXTOPT"};
    const char* text = name;
    char upper[16];
    size_t n = 0;
    for (; text[n] && n < sizeof upper - 1; ++n)
        upper[n] = (text[n] >= 'a' && text[n] <= 'z') ? static_cast<char>(text[n] - 32) : text[n];
    if (text[n]) return false;
    upper[n] = '\0';
    for (const char* known : kNames)
        if (std::strcmp(upper, known) == 0) return true;
    return false;
}

// A number cut short: a lone sign or point, or a mantissa whose exponent
// letter has no digit after it ("7.0E", "7.0E+").
bool isCutNumber(const char* text) {
    const char* p = text;
    if (*p == '+' || *p == '-') ++p;
    bool digits = false;
    while (*p >= '0' && *p <= '9') ++p, digits = true;
    if (*p == '.') {
        ++p;
        while (*p >= '0' && *p <= '9') ++p, digits = true;
    }
    if (!digits) return p != text && *p == '\0';
    if (*p != 'e' && *p != 'E' && *p != 'd' && *p != 'D') return false;
    ++p;
    if (*p == '+' || *p == '-') ++p;
    return *p == '\0';
}

// The arguments a command read here takes: the highest one it reads, plus
// one. 0 for the commands passed over.
int argumentsTaken(const CDBCommand& cmd) {
    static const struct {
        const char* name;
        int count;
    } kTaken[] = {{"ET", 2},     {"KEYOP", 3},  {"RLBLOCK", 4}, {"NBLOCK", 2},  {"EBLOCK", 2},
                  {"MPTEMP", 4}, {"MPDATA", 6}, {"FC", 4},      {"SECTYPE", 2}, {"SECBLOCK", 1}};
    const CKpStr& name = cmd.Name();
    if (name == "LOCAL") {
        const char* kind = cmd.GetArgumentText(1);
        return std::strcmp(kind, "LOC") == 0 || std::strcmp(kind, "ANG") == 0 ? 7 : 2;
    }
    if (name == "SECOFFSET") return std::strcmp(cmd.GetArgumentText(0), "USER") == 0 ? 2 : 1;
    for (const auto& t : kTaken)
        if (name == t.name) return t.count;
    return 0;
}

// A command line the file ends on without its line end is cut when it stops
// short of the arguments its command takes (the last one it takes empty or
// missing) or inside a number; any other such line is complete.
bool commandLineCut(const CDBCommand& cmd) {
    const int n = cmd.GetNumArguments();
    if (n > 0 && isCutNumber(cmd.GetArgumentText(n - 1))) return true;
    const int taken = argumentsTaken(cmd);
    return n < taken || (n == taken && taken > 0 && cmd.GetArgumentText(n - 1)[0] == '\0');
}

}  // namespace

int CCDBParser::Read() {
    CKpMsg* msg = pMsg();
    if (!msg || !pAnsys() || !pNodes() || !pElems() || !pMats() || !pLams() || !pOrients() ||
        !pCoords())
        return -1;
    const std::string problem = input_file_problem(name());
    if (!problem.empty()) {
        msg->Create(4, "Unable to open file '%s': the file %s.", name(), problem.c_str());
        return -1;
    }
    try {
        CDBParser parser;
        if (parser.OpenRead(name()) != 0) {
            msg->Create(4, "Unable to open file '%s'.", name());
            return -1;
        }
        ReadState st(*this);
        CDBCommand cmd;
        bool cut = false;          // an "ends early" error was given
        bool lastLineCut = false;  // the file ends on a command line cut short
        // Line errors before the first command of the format are held: a
        // file that never shows one is refused with a single message.
        bool recognised = false;
        std::vector<std::string> held;
        CKpMsgLimit lineErrors(msg);
        // 1. Command by command; a command the file ends in (inside its block,
        // or right after it) is handled too.
        for (;;) {
            const int status = parser.GetNextCommand(cmd);
            if (!recognised && status != -1 && isCdbCommand(cmd.Name())) {
                recognised = true;
                for (const std::string& e : held)
                    lineErrors.Create(4, "CDB file '%s': %s", name(), e.c_str());
                held.clear();
            }
            for (int i = 0; i < cmd.GetNumErrors(); ++i) {
                if (recognised)
                    lineErrors.Create(4, "CDB file '%s': %s", name(), cmd.GetError(i));
                else
                    held.emplace_back(cmd.GetError(i));
                st.dropped = true;
            }
            if (status == -1) break;
            if (status == 1 && parser.m_lastError.Size() > 0) break;
            msg->Create(1, "Next command: %s", static_cast<const char*>(cmd.Name()));
            HandleCommand(st, cmd);
            // 2. The file ended inside a block: unless its last row is the
            //    terminator, the rows after it are missing.
            const int rows = cmd.GetNumRows();
            if (recognised && status == 1 && rows > 0 && cmd.GetNumErrors() == 0 &&
                cmd.GetBlockValue(rows - 1, 0) != -1.0) {
                msg->Create(4,
                            "CDB file '%s' ends early at line %d inside the %s block; the rows "
                            "before it were read.",
                            name(), cmd.GetRowLine(rows - 1), static_cast<const char*>(cmd.Name()));
                st.dropped = true;
                cut = true;
            }
            if (status == 1 && parser.m_lastError.Size() == 0 && rows == 0)
                lastLineCut = commandLineCut(cmd);
            if (status != 0) break;
        }
        parser.Close();
        msg->Create(1, "Parsing Completed");
        if (!recognised) {
            msg->Create(4, "CDB file '%s' is not a CDB file: it holds no CDB command.", name());
            return -1;
        }
        if (lineErrors.Suppressed() > 0)
            msg->Create(4, "CDB file '%s': %d more line errors.", name(), lineErrors.Suppressed());
        // A last line without its line end reads as it stands unless what
        // it holds is incomplete.
        const int last = input_file_last_byte(name());
        if (lastLineCut && !cut && lineErrors.Count() == 0 && parser.m_lastError.Size() == 0 &&
            last != '\n' && last != '\r') {
            msg->Create(4,
                        "CDB file '%s' ends early inside line %d; the commands before it were "
                        "read.",
                        name(), parser.GetLineCount());
            st.dropped = true;
        }
        if (parser.m_lastError.Size() > 0) {
            msg->Create(1, "Last error: %s", static_cast<const char*>(parser.m_lastError));
            msg->Create(4, "CDB file '%s' is read up to line %d: %s.", name(), cmd.Line(),
                        static_cast<const char*>(parser.m_lastError));
            return -1;
        }
        // 3. Laminates of real constant sets, links, orientations.
        ReadPost(st);
        return st.dropped ? -1 : 0;
    } catch (const std::bad_alloc&) {
        msg->Create(4, "Could not allocate memory.");
        return -1;
    }
}

// ET: element types 181 and 99 (others are passed over); an id present
// already is kept.
void CCDBParser::ReadState::Et(CDBCommand& cmd) {
    CKpAnsysEtStore* ets = p.pAnsys()->pEts();
    int id, type;
    if (!argInt(msg, cmd, 0, id) || !argInt(msg, cmd, 1, type)) {
        dropped = true;
        return;
    }
    if (type != 181 && type != 99) return;
    if (ets->find(id)) {
        msg->Create(2, "ET %d already exists", id);
        return;
    }
    if (store_or_free(ets, new CKpAnsysEt(id, type), msg, "element type") != 0) dropped = true;
}

// KEYOP: a KEYOPT value of a read element type.
void CCDBParser::ReadState::Keyop(CDBCommand& cmd) {
    CKpAnsysEtStore* ets = p.pAnsys()->pEts();
    int id, number, value;
    if (!argInt(msg, cmd, 0, id) || !argInt(msg, cmd, 1, number) || !argInt(msg, cmd, 2, value)) {
        dropped = true;
        return;
    }
    CKpAnsysEt* et = ets->find(id);
    if (!et) {
        msg->Create(1,
                    "ET %d referenced by KEYOP does not exist. This may reference an "
                    "unsupported element type.",
                    id);
        return;
    }
    et->SetKeyopt(number, value);
}

// RLBLOCK: real constant sets, kept for the laminates made after the file.
void CCDBParser::ReadState::Rlblock(CDBCommand& cmd) {
    int perLine;
    if (!argInt(msg, cmd, 3, perLine)) {
        dropped = true;
        return;
    }
    const int rows = cmd.GetNumRows();
    int r = 0;
    while (r < rows) {
        int setNo, count;
        if (!rowInt(msg, cmd, r, 0, setNo) || !rowInt(msg, cmd, r, 1, count)) {
            // Without its header the set's extent is unknown: the rest goes.
            msg->Create(4, "Not all real values read from RLBLOCK.");
            dropped = true;
            return;
        }
        CCDBRlset* set = rlsets.find(setNo);
        if (!set) {
            set = new CCDBRlset(setNo);
            if (store_or_free(&rlsets, set, msg, "real constant set") != 0) {
                dropped = true;
                return;
            }
        } else {
            set->Values().Size(0);  // a later set of the same number replaces it
        }
        CVekTemplateList<double>& values = set->Values();
        int taken = 0;
        for (int c = 2; c < 8 && taken < count; ++c, ++taken)
            values.Add(cmd.GetBlockValue(r, c), -1);
        ++r;
        while (taken < count) {
            if (r >= rows) {
                msg->Create(4, "Not all real values read from RLBLOCK.");
                return;
            }
            // Short rows leave off trailing zeros; a row never holds more
            // than its format gives, so an absurd count takes no more.
            const int take = std::max(cmd.GetRowSize(r), std::min(perLine, 1000));
            for (int c = 0; c < take && taken < count; ++c, ++taken)
                values.Add(cmd.GetBlockValue(r, c), -1);
            ++r;
        }
    }
}

// LOCAL: Cartesian frames (origin, then Euler angles), kept for the
// element coordinate systems that name them.
void CCDBParser::ReadState::Local(CDBCommand& cmd) {
    const char* kind = cmd.GetArgumentText(1);
    msg->Create(1, "Parameters: %s", kind);
    int id;
    if (std::strcmp(kind, "LOC") == 0) {
        if (!argInt(msg, cmd, 2, id)) {
            dropped = true;
            return;
        }
        const char* type = cmd.GetArgumentText(3);
        if (std::strcmp(type, "0") != 0 && std::strcmp(type, "CART") != 0) {
            msg->Create(4, "Local coordinate system %d ignored as it is not Cartesian.", id);
            return;
        }
        const double origin[3] = {cmd.GetArgumentAsDouble(4), cmd.GetArgumentAsDouble(5),
                                  cmd.GetArgumentAsDouble(6)};
        CKpCoord* frame = locals.find(id);
        if (!frame) {
            frame = new CKpCoord(id);
            if (store_or_free(&locals, frame, msg, "coordinate frame") != 0) {
                dropped = true;
                return;
            }
        }
        frame->SetCoordsByOriginDefault(origin);
    } else if (std::strcmp(kind, "ANG") == 0) {
        if (!argInt(msg, cmd, 2, id)) {
            dropped = true;
            return;
        }
        const double angles[3] = {cmd.GetArgumentAsDouble(4) * kDegToRad,
                                  cmd.GetArgumentAsDouble(5) * kDegToRad,
                                  cmd.GetArgumentAsDouble(6) * kDegToRad};
        if (CKpCoord* frame = locals.find(id)) frame->SetCoordsByEulerAngles(angles);
    }
}

// NBLOCK: nodes; the first row of each id the store lacks is taken.
void CCDBParser::ReadState::Nblock(CDBCommand& cmd) {
    msg->Create(1, "Num Values: %d", argIntOr0(cmd, 0));
    msg->Create(1, "Type: %s", cmd.GetArgumentText(1));
    msg->Create(1, "Num Rows: %d", cmd.GetNumRows());
    CKpNodeStore* nodes = p.pNodes();
    // 1. Ids of the valid rows; 2. the first row of each new id is taken.
    std::vector<std::pair<int, int>> ids;
    ids.reserve(cmd.GetNumRows());
    for (int r = 0; r < cmd.GetNumRows(); ++r) {
        int id;
        if (!rowInt(msg, cmd, r, 0, id)) {
            dropped = true;
            continue;
        }
        if (id < 1) continue;
        const double x = cmd.GetBlockValue(r, 3), y = cmd.GetBlockValue(r, 4),
                     z = cmd.GetBlockValue(r, 5);
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
            msg->Create(4, "Line %d: node %d has a coordinate that is not finite; skipped.",
                        cmd.GetRowLine(r), id);
            dropped = true;
            continue;
        }
        ids.emplace_back(id, r);
    }
    int passedOver = 0;
    for (const auto& k : firstOfEachId(*nodes, ids, passedOver)) {
        CKpNode* node = new CKpNode(k.first);
        node->setCKpPoint(cmd.GetBlockValue(k.second, 3), cmd.GetBlockValue(k.second, 4),
                          cmd.GetBlockValue(k.second, 5));
        node->setIncompleteFlag(0);
        if (store_or_free(nodes, node, msg, "node") != 0) {
            dropped = true;
            return;
        }
    }
    if (passedOver > 0)
        msg->Create(2, "NBLOCK on line %d: %d nodes whose ids exist already were not added.",
                    cmd.Line(), passedOver);
}

// EBLOCK: SHELL181 and SHELL99 elements of a read element type.
void CCDBParser::ReadState::Eblock(CDBCommand& cmd) {
    CKpAnsysEtStore* ets = p.pAnsys()->pEts();
    msg->Create(1, "Num Values: %d", argIntOr0(cmd, 0));
    msg->Create(1, "Type: %s", cmd.GetArgumentText(1));
    msg->Create(1, "Num Rows: %d", cmd.GetNumRows());
    CKpElemStore* elems = p.pElems();
    struct Row {
        int f[19];
        int gmtp;
        CKpAnsysEt* et;
    };
    std::vector<Row> rows;
    std::vector<std::pair<int, int>> ids;
    rows.reserve(cmd.GetNumRows());
    ids.reserve(cmd.GetNumRows());
    for (int r = 0; r < cmd.GetNumRows(); ++r) {
        Row row;
        bool ok = true;
        const int n = std::min(cmd.GetRowSize(r), 19);
        for (int c = 0; c < 19; ++c) row.f[c] = 0;
        for (int c = 0; c < n && ok; ++c) ok = rowInt(msg, cmd, r, c, row.f[c]);
        // A row of more than 8 nodes goes on in the next row, taken or not.
        const int nnod = row.f[8];
        if (nnod > 8) ++r;
        if (!ok) {
            dropped = true;
            continue;
        }
        row.et = ets->find(row.f[1]);
        if (!row.et) continue;
        if (nnod == 4)
            row.gmtp = row.f[13] == row.f[14] ? 11 : 1;
        else if (nnod == 8)
            row.gmtp = row.f[13] == row.f[14] ? 12 : 2;
        else
            continue;
        if (row.f[10] < 1) continue;
        ids.emplace_back(row.f[10], static_cast<int>(rows.size()));
        rows.push_back(row);
    }
    int passedOver = 0;
    for (const auto& k : firstOfEachId(*elems, ids, passedOver)) {
        const Row& row = rows[k.second];
        const int* f = row.f;
        CKpElem* elem = new CKpElem(f[10], row.gmtp);
        elem->seteltp(1);
        switch (row.gmtp) {
            case 1:
                for (int i = 0; i < 4; ++i) elem->setunid(i, f[11 + i]);
                break;
            case 2: {
                static const int cols[8] = {11, 15, 12, 16, 13, 17, 14, 18};
                for (int i = 0; i < 8; ++i) elem->setunid(i, f[cols[i]]);
                break;
            }
            case 11:
                for (int i = 0; i < 3; ++i) elem->setunid(i, f[11 + i]);
                break;
            default: {  // 12
                static const int cols[6] = {11, 15, 12, 16, 13, 18};
                for (int i = 0; i < 6; ++i) elem->setunid(i, f[cols[i]]);
                break;
            }
        }
        elem->settpmd(row.et->Val());
        elem->pid(f[3]);
        if (CKpElemAnsys* a = elem->CreateAnsys()) {
            static const int cols[8] = {0, 1, 2, 4, 5, 6, 7, 9};
            for (int i = 0; i < 8; ++i) a->Set(i, f[cols[i]]);
        }
        if (store_or_free(elems, elem, msg, "element") != 0) {
            dropped = true;
            return;
        }
        if (row.et->Val() == 99) {
            int k11 = row.et->GetKeyopt(11);
            if (k11 < 1) k11 = 0;
            if (store_or_free(&elemRcs, new CElemRc(f[10], f[2], k11), msg,
                              "real constant link of element") != 0) {
                dropped = true;
                return;
            }
            CRcLam* rc = rcLams.findOrCreate(f[2]);
            if (rc) rc->SetKeyopt11(k11);
        }
    }
    if (passedOver > 0)
        msg->Create(2, "EBLOCK on line %d: %d elements whose ids exist already were not added.",
                    cmd.Line(), passedOver);
}

// MPTEMP: temperatures are not kept.
void CCDBParser::ReadState::Mptemp(CDBCommand& cmd) {
    (void)cmd.GetArgumentAsDouble(3);
}

// MPDATA: a material property (the material is made on its first one).
void CCDBParser::ReadState::Mpdata(CDBCommand& cmd) {
    int id;
    if (!argInt(msg, cmd, 3, id)) {
        dropped = true;
        return;
    }
    const char* label = cmd.GetArgumentText(2);
    const double v = cmd.GetArgumentAsDouble(5);
    CKpMatStore* mats = p.pMats();
    CKpMat* mat = mats->find(id);
    if (!mat) {
        mat = new CKpMat(id);
        CKpStr matName("MAT.");
        matName += id;
        mat->setMtrlnm(matName);
        mat->setExtmtrlnm(matName);
        mat->setExtmtrlid(id);
        if (store_or_free(mats, mat, msg, "material") != 0) {
            dropped = true;
            return;
        }
    }
    struct Label {
        const char* text;
        void (CKpMatProp::*set)(double);
    };
    static const Label labels[] = {{"EX", &CKpMatProp::setEx},     {"EY", &CKpMatProp::setEy},
                                   {"EZ", &CKpMatProp::setEz},     {"NUXY", &CKpMatProp::setNuxy},
                                   {"GXY", &CKpMatProp::setGxy},   {"GYZ", &CKpMatProp::setGyz},
                                   {"GXZ", &CKpMatProp::setGzx},   {"PRXY", &CKpMatProp::setNuxy},
                                   {"PRYZ", &CKpMatProp::setNuyz}, {"PRXZ", &CKpMatProp::setNuzx},
                                   {"ALPX", &CKpMatProp::setAlpx}, {"ALPY", &CKpMatProp::setAlpy},
                                   {"ALPZ", &CKpMatProp::setAlpz}, {"DENS", &CKpMatProp::setDens},
                                   {"REFT", &CKpMatProp::setTref}};
    for (const Label& l : labels) {
        if (std::strcmp(label, l.text) == 0) {
            (static_cast<CKpMatProp*>(mat)->*l.set)(v);
            break;
        }
    }
}

// FC: a strength of a material read before.
void CCDBParser::ReadState::Fc(CDBCommand& cmd) {
    int id;
    if (!argInt(msg, cmd, 0, id)) {
        dropped = true;
        return;
    }
    CKpMat* mat = p.pMats()->find(id);
    if (!mat || std::strcmp(cmd.GetArgumentText(1), "S") != 0) return;
    const char* label = cmd.GetArgumentText(2);
    const double v = cmd.GetArgumentAsDouble(3);
    struct Label {
        const char* text;
        void (CKpMatProp::*set)(double);
        double sign;
    };
    static const Label labels[] = {
        {"XTEN", &CKpMatProp::setFxt, 1}, {"XCMP", &CKpMatProp::setFxc, -1},
        {"YTEN", &CKpMatProp::setFyt, 1}, {"YCMP", &CKpMatProp::setFyc, -1},
        {"ZTEN", &CKpMatProp::setFzt, 1}, {"ZCMP", &CKpMatProp::setFzc, -1},
        {"XY", &CKpMatProp::setFs12, 1},  {"YZ", &CKpMatProp::setFs23, 1},
        {"XZ", &CKpMatProp::setFs31, 1},  {"XYCP", &CKpMatProp::setF12, 1},
        {"YZCP", &CKpMatProp::setF23, 1}, {"XZCP", &CKpMatProp::setF31, 1}};
    for (const Label& l : labels) {
        if (std::strcmp(label, l.text) == 0) {
            (static_cast<CKpMatProp*>(mat)->*l.set)(l.sign * v);
            break;
        }
    }
}

// SECTYPE: the section that the next SECOFFSET and SECBLOCK describe.
void CCDBParser::ReadState::Sectype(CDBCommand& cmd) {
    int id;
    if (!argInt(msg, cmd, 0, id)) {
        dropped = true;
        return;
    }
    secId = id;
    secType = cmd.GetArgumentText(1);
}

// SECOFFSET: where the reference surface of the section lies.
void CCDBParser::ReadState::Secoffset(CDBCommand& cmd) {
    const char* where = cmd.GetArgumentText(0);
    if (std::strcmp(where, "TOP") == 0) {
        offset = OffsetTop;
    } else if (std::strcmp(where, "BOT") == 0) {
        offset = OffsetBot;
    } else if (std::strcmp(where, "USER") == 0) {
        offset = OffsetUser;
        userOffset = cmd.GetArgumentAsDouble(1);
    } else {
        offset = OffsetMid;
    }
}

// SECBLOCK: the layers of the section, as the laminate "Sec.<id>".
void CCDBParser::ReadState::Secblock(CDBCommand& cmd) {
    msg->Create(1, "Num rows: %d", argIntOr0(cmd, 0));
    msg->Create(1, "Num rows: %d", cmd.GetNumRows());
    CKpLamStore* lams = p.pLams();
    if (lams->find(secId)) {
        msg->Create(2, "SECTYPE %d already exists", secId);
        return;
    }
    CKpLam* lam = new CKpLam(secId);
    CKpStr lamName("Sec.");
    lamName += secId;
    lam->name(lamName);
    if (store_or_free(lams, lam, msg, "laminate") != 0) {
        dropped = true;
        return;
    }
    for (int r = 0; r < cmd.GetNumRows(); ++r) {
        int mid;
        if (!rowInt(msg, cmd, r, 1, mid)) {
            dropped = true;
            continue;
        }
        CKpLamLyr* lyr = new CKpLamLyr;
        lyr->setT(cmd.GetBlockValue(r, 0));
        lyr->setMid(mid);
        lyr->setTheta(cmd.GetBlockValue(r, 2) * kDegToRad);
        if (lam->LamLyrs())
            lam->LamLyrs()->InsertLast(lyr);
        else
            delete lyr;
    }
    const double t = lam->t();
    switch (offset) {
        case OffsetTop:
            lam->z0(-t);
            break;
        case OffsetBot:
            lam->z0(0.0);
            break;
        case OffsetUser:
            lam->z0(-userOffset - t / 2.0);
            break;
        default:
            break;
    }
}

// One row per command read, as the file names it (case as written); every
// other command is passed over.
void CCDBParser::HandleCommand(ReadState& st, CDBCommand& cmd) {
    static const struct {
        const char* name;
        void (ReadState::*handle)(CDBCommand&);
    } kCommands[] = {{"ET", &ReadState::Et},
                     {"KEYOP", &ReadState::Keyop},
                     {"RLBLOCK", &ReadState::Rlblock},
                     {"LOCAL", &ReadState::Local},
                     {"NBLOCK", &ReadState::Nblock},
                     {"EBLOCK", &ReadState::Eblock},
                     {"MPTEMP", &ReadState::Mptemp},
                     {"MPDATA", &ReadState::Mpdata},
                     {"FC", &ReadState::Fc},
                     {"SECTYPE", &ReadState::Sectype},
                     {"SECOFFSET", &ReadState::Secoffset},
                     {"SECBLOCK", &ReadState::Secblock}};
    const CKpStr& name = cmd.Name();
    for (const auto& c : kCommands) {
        if (name == c.name) {
            (st.*c.handle)(cmd);
            return;
        }
    }
}

void CCDBParser::ReadPost(ReadState& st) {
    CKpMsg* msg = pMsg();
    CKpLamStore* lams = pLams();
    CKpElemStore* elems = pElems();

    // 1. Laminates from real constant sets, one per KEYOPT(11) value used.
    if (st.rcLams.entries() > 0) {
        int next = lams->maxId();
        next = next > 0 ? static_cast<int>((static_cast<long long>(next) + 999) / 1000 * 1000) : 0;
        CVekObjectStoreIterator<CRcLam> it(st.rcLams);
        while (++it) {
            CRcLam* rc = it.key();
            CCDBRlset* set = st.rlsets.find(rc->id());
            if (!set) continue;
            for (int k = 0; k <= 2; ++k) {
                if (!rc->Used(k)) continue;
                if (next == INT_MAX) break;
                ++next;
                rc->SetLamId(k, next);
                if (lams->find(next)) {
                    msg->Create(2, "Laminate with ID %d for real set %d already exists", next,
                                rc->id());
                    continue;
                }
                CKpLam* lam = new CKpLam(next);
                CKpStr lamName("RC(");
                lamName += k;
                lamName += ").";
                lamName += rc->id();
                lam->name(lamName);
                if (store_or_free(lams, lam, msg, "laminate") != 0) {
                    st.dropped = true;
                    continue;
                }
                // Layers from value 13 on, three values each; only layers whose
                // values are present (trailing zeros may be left off) are made.
                int count = 0;
                CdbToInt(set->Value(0), count);
                const int present =
                    set->Values().GetSize() > 12 ? (set->Values().GetSize() - 12 + 2) / 3 : 0;
                if (count > present) count = present;
                for (int i = 0; i < count; ++i) {
                    CKpLamLyr* lyr = new CKpLamLyr;
                    int mid = 1;
                    if (!CdbToInt(set->Value(12 + 3 * i), mid) || mid < 1) mid = 1;
                    lyr->setMid(mid);
                    lyr->setTheta(set->Value(13 + 3 * i) * kDegToRad);
                    lyr->setT(set->Value(14 + 3 * i));
                    if (lam->LamLyrs())
                        lam->LamLyrs()->InsertLast(lyr);
                    else
                        delete lyr;
                }
                if (k == 1) lam->z0(0.0);
                if (k == 2) lam->z0(-lam->t());
            }
        }
    }

    // 2. SHELL99 elements take the laminate of their set and KEYOPT(11).
    {
        CVekObjectStoreIterator<CElemRc> it(st.elemRcs);
        while (++it) {
            CElemRc* link = it.key();
            CKpElem* elem = elems->find(link->id());
            if (!elem) {
                msg->Create(2, "Cannot find element %d", link->id());
                continue;
            }
            CRcLam* rc = st.rcLams.find(link->Rlset());
            if (!rc) {
                msg->Create(2, "Cannot find RC Set %d referenced by element %d", link->Rlset(),
                            link->id());
                continue;
            }
            const int k = link->Keyopt11();
            const int lamId = rc->LamId(k);
            if (k < 0 || k > 2 || !lams->find(lamId)) {
                msg->Create(2,
                            "Cannot find laminate %d generated by RC set %d and keyopt11 value %d "
                            "referenced by element %d",
                            lamId, link->Rlset(), k, link->id());
                continue;
            }
            elem->pid(lamId);
            if (elem->pAnsys()) elem->pAnsys()->Set(2, 0);
        }
    }

    // 3. The run's stores are emptied when the state goes; 4. directionality.
    st.elemRcs.eraseAllObjects();
    st.rcLams.eraseAllObjects();
    st.rlsets.eraseAllObjects();
    pMats()->SetDirAuto();

    // 5. Element nodes to node objects.
    node_reref(msg, pNodes(), elems);

    // 6. Orientations from element coordinate systems.
    CKpOrientStore* orients = pOrients();
    CKpCoordStore* coords = pCoords();
    std::map<int, CKpOrient*> byFrame;
    CKpOrient* ansysDefault = nullptr;
    int unsupported = 0;
    bool noOrientId = false;  // said once, after the elements
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it) {
        CKpElem* elem = it.key();
        const int esys = elem->pAnsys() ? elem->pAnsys()->Get(3) : 0;
        if (esys != 0) {
            auto found = byFrame.find(esys);
            CKpOrient* orient = found != byFrame.end() ? found->second : nullptr;
            if (!orient) {
                if (!coords->find(esys)) {
                    CKpCoord* local = st.locals.find(esys);
                    if (!local) {
                        ++unsupported;
                        continue;
                    }
                    if (store_or_free(coords, new CKpCoord(*local), msg, "coordinate frame") != 0) {
                        st.dropped = true;
                        continue;
                    }
                }
                CKpStr orientName("Coord.");
                orientName += esys;
                orient = orients->findByName(orientName);
                if (!orient) {
                    if (orients->maxId() == INT_MAX) {  // no id left above the highest
                        st.dropped = noOrientId = true;
                        continue;
                    }
                    orient = new CKpOrient(orients->maxId() + 1);
                    orient->setName(orientName);
                    orient->setType(CKpOrient::TypeCoord);
                    orient->setRefId(esys);
                    if (store_or_free(orients, orient, msg, "orientation") != 0) {
                        st.dropped = true;
                        continue;
                    }
                }
                byFrame[esys] = orient;
            }
            elem->pOrient(orient);
            elem->orientId(orient->id());
            elem->theta(0.0);
        } else {
            if (!ansysDefault) {
                ansysDefault = orients->findByName("Default(ANSYS)");
                if (!ansysDefault) {
                    if (orients->maxId() == INT_MAX) {  // no id left above the highest
                        st.dropped = noOrientId = true;
                        continue;
                    }
                    ansysDefault = new CKpOrient(orients->maxId() + 1);
                    ansysDefault->setName("Default(ANSYS)");
                    ansysDefault->setType(10);
                    if (store_or_free(orients, ansysDefault, msg, "orientation") != 0) {
                        ansysDefault = nullptr;
                        st.dropped = true;
                        continue;
                    }
                }
            }
            elem->pOrient(ansysDefault);
            elem->orientId(ansysDefault->id());
            elem->theta(elem->GetThetaAnsys(msg));
        }
    }
    if (noOrientId) msg->Create(4, "Could not allocate memory.");
    if (unsupported > 0)
        msg->Create(2, "Orientation on %d elements is defined by unsupported coordinate systems.",
                    unsupported);

    // 7. Directions of the frame orientations and the elements' angles.
    orients->SetDirectionsByCoords(msg, coords);
    orients->SetElemTheta(msg);

    // 8. Local frames go with the run.
    st.locals.eraseAllObjects();
}
