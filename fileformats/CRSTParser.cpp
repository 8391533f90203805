#include "fileformats/CRSTParser.h"

#include <sys/types.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResElem.h"
#include "layuplib/CKpResStore.h"

namespace {

constexpr uint32_t kIntFlag = 0x80000000u;
constexpr uint32_t kSingleFlag = 0x40000000u;
constexpr uint32_t kCompressedFlags = 0x38000000u;
constexpr int kShellResults = 0x800;
constexpr size_t kWindow = 1 << 16;

// Items read from the headers (0-based).
constexpr int kResNnod = 2, kResMaxSets = 3, kResNdof = 4, kResNelm = 6, kResNsets = 8,
              kResPtrDsi = 10, kResPtrElm = 13, kResNtran = 28;
constexpr int kGeoNety = 1, kGeoNrel = 2, kGeoNnod = 3, kGeoNelm = 4, kGeoNcsy = 5, kGeoMass = 15,
              kGeoElmBase = 28;
constexpr int kSolNelm = 1, kSolMask = 3, kSolLoadStep = 4, kSolIteration = 5, kSolPtrEsl = 11;

int32_t BigInt(const unsigned char* p) {
    return static_cast<int32_t>((uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) |
                                (uint32_t(p[2]) << 8) | uint32_t(p[3]));
}

double BigDouble(const unsigned char* p) {
    uint64_t u = 0;
    for (int i = 0; i < 8; ++i) u = (u << 8) | p[i];
    double d;
    std::memcpy(&d, &u, sizeof d);
    return d;
}

float BigFloat(const unsigned char* p) {
    const uint32_t u = static_cast<uint32_t>(BigInt(p));
    float f;
    std::memcpy(&f, &u, sizeof f);
    return f;
}

int64_t Combine(int32_t low, int32_t high) {
    return static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32) |
                                static_cast<uint32_t>(low));
}

// A record read with its data; the ints of an int record are decoded on
// demand.
struct Record {
    int length = 0;
    uint32_t flags = 0;
    std::vector<unsigned char> data;

    int64_t items(int size) const { return static_cast<int64_t>(data.size()) / size; }
    int32_t intAt(int64_t i) const { return BigInt(&data[4 * static_cast<size_t>(i)]); }
};

// The values an element brings to one set, before they are filed.
struct ShellValues {
    int id;
    float membrane[6];
    float bending[6];
};

// One read of one file: the stream, its size, the release level and the
// name of the block being read, which every error message carries.
class RstReader {
  public:
    RstReader(CKpMsg& msg, FILE* f, CKpElemStore* elems, CKpResStore* ress)
        : m_msg(msg), m_f(f), m_elems(elems), m_ress(ress) {}

    // The whole read after the file was opened; false after an error
    // message.
    bool Run(int modelFlags, int resultFlags);

  private:
    void Block(const char* name) {
        m_block = name;
        m_msg.Create(1, "Reading '%s'.", name);
    }
    void Block(const char* name, int64_t i, int64_t n) {
        char text[96];
        std::snprintf(text, sizeof text, "%s %lld of %lld", name, static_cast<long long>(i),
                      static_cast<long long>(n));
        Block(text);
    }
    bool NoData() {
        m_msg.Create(4, "No data read in '%s'.", m_block.c_str());
        return false;
    }
    bool BlockError() {
        m_msg.Create(4, "Block error in '%s'.", m_block.c_str());
        return false;
    }
    bool Unsupported(uint32_t flags) {
        m_msg.Create(4, "Unsupported record type 0x%08x in '%s'.", flags, m_block.c_str());
        return false;
    }

    // Moves the read position (checked against the file; the stream moves
    // when the window is refilled).
    bool Seek(int64_t pos);
    bool Tell(int64_t* pos);
    // `n` bytes at the read position, through the window.
    bool ReadBytes(void* buf, size_t n);
    // Moves the stream to `pos`; false after the error message.
    bool MoveStream(int64_t pos);
    // The record at the current position: header, data (kept when `rec` is
    // given, else passed over) and footer; the data size is checked against
    // the file before anything is allocated.
    bool ReadRecord(Record* rec);
    // The same for a record of ints with at least `need` of them.
    bool ReadInts(Record& rec, int64_t need) {
        if (!ReadRecord(&rec)) return false;
        if (rec.items(4) < need) return BlockError();
        return true;
    }
    bool SkipRecord() { return ReadRecord(nullptr); }

    bool ReadStandardHeader();
    bool WalkModel();
    bool IndexedBlock(const char* name, int count);
    bool WalkElements(int nelm, int64_t base);
    // Set `set` at word `setWord`, which must follow `previousWord`; its
    // data ends at byte `limit`.
    bool ReadSet(int set, int nsets, int64_t setWord, int64_t previousWord, int64_t limit);
    // The element values of the set at byte `s`: element solution index at
    // word e of the set, between `from` and `limit`.
    bool ReadShellValues(int64_t s, int e, int setNelm, int64_t from, int64_t limit,
                         std::vector<ShellValues>& out);
    bool FileSet(int set, int nsets, int loadStep, int iteration, std::vector<ShellValues>& values);
    CKpRes* NewResult(const char* loadStep, const char* iteration, const char* quantity);

    CKpMsg& m_msg;
    FILE* m_f;
    CKpElemStore* m_elems;
    CKpResStore* m_ress;
    std::string m_block;
    int64_t m_size = 0;
    int64_t m_pos = 0;  // read position
    // A window of the file's bytes from m_winStart: element records are
    // reached by position, a few words each, and a seek of the stream
    // costs a system call.
    std::vector<unsigned char> m_win;
    int64_t m_winStart = 0;
    size_t m_winLen = 0;
    int64_t m_streamPos = 0;
    double m_level = 0.0;
    Record m_header;           // results header
    std::vector<int> m_equiv;  // element index -> element id
    bool m_haveEquiv = false;
};

bool RstReader::Seek(int64_t pos) {
    if (pos < 0 || pos > m_size) return NoData();
    m_pos = pos;
    return true;
}

bool RstReader::MoveStream(int64_t pos) {
    if (pos == m_streamPos) return true;
    if (CRSTParser::fsetposVal(m_f, pos) != 0) {
        m_msg.Create(4, "fsetpos error '%d' in '%s'.", errno, m_block.c_str());
        return false;
    }
    m_streamPos = pos;
    return true;
}

bool RstReader::Tell(int64_t* pos) {
    const off_t at = ftello(m_f);
    if (at < 0) {
        m_msg.Create(4, "fgetpos error '%d' in '%s'.", errno, m_block.c_str());
        return false;
    }
    *pos = at;
    return true;
}

bool RstReader::ReadBytes(void* buf, size_t n) {
    if (static_cast<int64_t>(n) > m_size - m_pos) return NoData();
    if (m_pos >= m_winStart && m_pos + static_cast<int64_t>(n) <= m_winStart + int64_t(m_winLen)) {
        std::memcpy(buf, m_win.data() + (m_pos - m_winStart), n);
        m_pos += static_cast<int64_t>(n);
        return true;
    }
    if (!MoveStream(m_pos)) return false;
    if (n >= kWindow / 2) {  // large data goes straight to its buffer
        const size_t got = std::fread(buf, 1, n, m_f);
        m_streamPos += static_cast<int64_t>(got);
        if (got != n) return NoData();
        m_pos += static_cast<int64_t>(n);
        return true;
    }
    m_win.resize(kWindow);
    const size_t want = static_cast<size_t>(std::min<int64_t>(kWindow, m_size - m_pos));
    m_winStart = m_pos;
    m_winLen = std::fread(m_win.data(), 1, want, m_f);
    m_streamPos += static_cast<int64_t>(m_winLen);
    if (m_winLen < n) return NoData();
    std::memcpy(buf, m_win.data(), n);
    m_pos += static_cast<int64_t>(n);
    return true;
}

bool RstReader::ReadRecord(Record* rec) {
    unsigned char head[8];
    if (!ReadBytes(head, sizeof head)) return false;
    const int length = BigInt(head);
    const int flags = BigInt(head + 4);
    const int64_t bytes = CRSTParser::GetNdat(length, 1, m_level);
    if (bytes < 0) return BlockError();
    if (bytes + 4 > m_size - m_pos) return NoData();
    if (rec) {
        rec->length = length;
        rec->flags = static_cast<uint32_t>(flags);
        rec->data.resize(static_cast<size_t>(bytes));
        if (bytes > 0 && !ReadBytes(rec->data.data(), static_cast<size_t>(bytes))) return false;
    } else if (!Seek(m_pos + bytes)) {
        return false;
    }
    unsigned char foot[4];
    if (!ReadBytes(foot, sizeof foot)) return false;
    if (CRSTParser::CheckBlock(length, BigInt(foot)) != 0) return BlockError();
    return true;
}

bool RstReader::ReadStandardHeader() {
    Block("standard header");
    if (fseeko(m_f, 0, SEEK_END) != 0) {
        m_msg.Create(4, "fsetpos error '%d' in '%s'.", errno, m_block.c_str());
        return false;
    }
    if (!Tell(&m_size)) return false;
    m_streamPos = m_size;
    // The first length tells the byte order: 100 words, or 404 bytes below
    // release 10; a little-endian file gives neither. Internal files of
    // current releases hold -1 as their format word, so the word alone
    // cannot tell.
    unsigned char head[8];
    if (!ReadBytes(head, sizeof head)) return false;
    const int length = BigInt(head);
    if (length != 100 && length != 404) {
        m_msg.Create(4, "File format must be external.");
        return false;
    }
    unsigned char data[400];
    unsigned char foot[4];
    if (!ReadBytes(data, sizeof data) || !ReadBytes(foot, sizeof foot)) return false;
    if (CRSTParser::CheckBlock(length, BigInt(foot)) != 0) return BlockError();
    // Word 9 holds the release as four characters in file order ("18.2").
    char release[5] = {};
    std::memcpy(release, data + 36, 4);
    double level = 0.0;
    if (std::sscanf(release, "%lg", &level) != 1 || !std::isfinite(level)) level = 0.0;
    m_level = level;
    m_msg.Create(1, "Release level %g.", m_level);
    if (BigInt(data + 4) == 0) {
        m_msg.Create(4, "File format must be external.");
        return false;
    }
    // The framing of every record follows the release level.
    if ((length == 404) != (m_level < 10.0)) return BlockError();
    return true;
}

bool RstReader::Run(int modelFlags, int resultFlags) {
    if (!ReadStandardHeader()) return false;

    Block(".rst header");
    if (!ReadInts(m_header, kResNtran + 1)) return false;
    const int nnod = m_header.intAt(kResNnod), maxSets = m_header.intAt(kResMaxSets),
              ndof = m_header.intAt(kResNdof), nelm = m_header.intAt(kResNelm),
              nsets = m_header.intAt(kResNsets), ntran = m_header.intAt(kResNtran);
    if (nnod < 0 || maxSets < 0 || ndof < 0 || nelm < 0 || nsets < 0 || ntran < 0)
        return BlockError();

    if (modelFlags != 0 && !WalkModel()) return false;
    if (resultFlags == 0) return true;

    // The element equivalence table (element index -> id), unless the walk
    // kept it.
    if (!m_haveEquiv) {
        Block("ptrELM");
        Record table;
        if (!Seek(4 * static_cast<int64_t>(m_header.intAt(kResPtrElm))) || !ReadRecord(&table))
            return false;
        m_equiv.resize(static_cast<size_t>(table.items(4)));
        for (size_t k = 0; k < m_equiv.size(); ++k) m_equiv[k] = table.intAt(k);
        m_haveEquiv = true;
    }

    // The data-set index: set i (from 1) at the word position made of
    // words i - 1 (low) and i - 1 + maxSets (high).
    Block("ptrDSI");
    Record dsi;
    if (!Seek(4 * static_cast<int64_t>(m_header.intAt(kResPtrDsi)))) return false;
    if (!ReadInts(dsi, 2 * static_cast<int64_t>(maxSets))) return false;
    if (nsets > maxSets) return BlockError();

    if (!m_equiv.empty() && m_elems) {
        bool any = false;
        for (int id : m_equiv)
            if (m_elems->find(id)) {
                any = true;
                break;
            }
        if (!any) m_msg.Create(2, "No element of the rst file is in the model.");
    }

    // Sets lie one after the other, each running to the next one's start:
    // every set's element index is its own, so the work stays within what
    // the file holds.
    int64_t previous = -1;
    for (int i = 1; i <= nsets; ++i) {
        Block("SET", i, nsets);
        const int64_t word = Combine(dsi.intAt(i - 1), dsi.intAt(i - 1 + maxSets));
        int64_t next = m_size / 4;
        if (i < nsets) {
            const int64_t w = Combine(dsi.intAt(i), dsi.intAt(i + maxSets));
            if (w > word && w < next) next = w;
        }
        if (!ReadSet(i, nsets, word, previous, 4 * next)) return false;
        previous = word;
    }
    return true;
}

bool RstReader::WalkModel() {
    const int nnod = m_header.intAt(kResNnod), maxSets = m_header.intAt(kResMaxSets),
              ndof = m_header.intAt(kResNdof), nelm = m_header.intAt(kResNelm),
              ntran = m_header.intAt(kResNtran);
    if (ndof != 0) {
        Block("---");
        if (!SkipRecord()) return false;
    }
    if (nnod != 0) {
        Block("NOD");
        if (!SkipRecord()) return false;
    }
    if (nelm != 0) {
        Block("ELM");
        Record table;
        if (!ReadRecord(&table)) return false;
        m_equiv.resize(static_cast<size_t>(table.items(4)));
        for (size_t k = 0; k < m_equiv.size(); ++k) m_equiv[k] = table.intAt(k);
        m_haveEquiv = true;
    }
    if (maxSets != 0) {
        for (const char* name : {"DSI", "TIM", "LSP"}) {
            Block(name);
            if (!SkipRecord()) return false;
        }
    }
    for (int i = 1; i <= ntran; ++i) {
        Block("TRAN", i, ntran);
        if (!SkipRecord()) return false;
    }

    Block("GEO");
    Record geo;
    const int64_t need = m_level < 10.0 ? kGeoMass + 4 : kGeoElmBase + 2;
    if (!ReadInts(geo, need)) return false;
    if (geo.intAt(kGeoNelm) != nelm) {
        m_msg.Create(4, "Inconsistent nelm in header and GEO block.");
        return false;
    }
    const int geoNodes = geo.intAt(kGeoNnod);
    if (geo.intAt(kGeoNety) < 0 || geo.intAt(kGeoNrel) < 0 || geo.intAt(kGeoNcsy) < 0 ||
        geoNodes < 0)
        return BlockError();
    if (!IndexedBlock("ETY", geo.intAt(kGeoNety)) || !IndexedBlock("REL", geo.intAt(kGeoNrel)) ||
        !IndexedBlock("CSY", geo.intAt(kGeoNcsy)))
        return false;
    // Nodes: one record each, at every release.
    for (int i = 1; i <= geoNodes; ++i) {
        Block("NOD", i, geoNodes);
        if (!SkipRecord()) return false;
    }
    if (nelm != 0) {
        const int64_t base =
            m_level < 10.0 ? 0 : Combine(geo.intAt(kGeoElmBase), geo.intAt(kGeoElmBase + 1));
        if (!WalkElements(nelm, base)) return false;
        for (int i = 1; i <= nelm; ++i) {
            Block("ELM", i, nelm);
            if (!SkipRecord()) return false;
        }
    }
    if (geo.intAt(kGeoMass) != 0) {
        Block("MAS");
        if (!SkipRecord()) return false;
    }
    return true;
}

bool RstReader::IndexedBlock(const char* name, int count) {
    // A table without entries has no index record.
    if (count == 0) return true;
    Block(name);
    Record index;
    if (!ReadInts(index, count)) return false;
    int used = 0;
    for (int j = 0; j < count; ++j) used += index.intAt(j) != 0;
    for (int j = 1; j <= used; ++j) {
        Block(name, j, used);
        if (!SkipRecord()) return false;
    }
    return true;
}

bool RstReader::WalkElements(int nelm, int64_t base) {
    Block("ELM");
    Record index;
    const bool wide = m_level >= 10.0;
    if (!ReadInts(index, (wide ? 2 : 1) * static_cast<int64_t>(nelm))) return false;
    const int64_t after = m_pos;
    // Every element record must be framed where its index entry says.
    for (int k = 0; k < nelm; ++k) {
        // Base and entry both come from the file: their sum may not fit.
        int64_t word = index.intAt(k);
        if (wide && __builtin_add_overflow(
                        base, Combine(index.intAt(2 * k), index.intAt(2 * k + 1)), &word))
            return NoData();
        if (word < 0 || word > m_size / 4) return NoData();
        if (!Seek(4 * word) || !SkipRecord()) return false;
    }
    return Seek(after);
}

bool RstReader::ReadSet(int set, int nsets, int64_t setWord, int64_t previousWord, int64_t limit) {
    if (setWord < 0 || setWord > m_size / 4) return NoData();
    if (setWord <= previousWord) return BlockError();
    const int64_t s = 4 * setWord;
    Record sol;
    if (!Seek(s) || !ReadInts(sol, kSolPtrEsl + 1) || !SkipRecord()) return false;
    const int64_t solEnd = m_pos;
    const int setNelm = sol.intAt(kSolNelm);
    const int mask = sol.intAt(kSolMask);
    const int loadStep = sol.intAt(kSolLoadStep);
    const int iteration = sol.intAt(kSolIteration);
    const int e = sol.intAt(kSolPtrEsl);

    std::vector<ShellValues> values;
    if ((mask & kShellResults) != 0 && e >= 1 &&
        !ReadShellValues(s, e, setNelm, solEnd, limit, values)) {
        // What was read before the failure is filed, as element by element.
        FileSet(set, nsets, loadStep, iteration, values);
        return false;
    }
    return FileSet(set, nsets, loadStep, iteration, values);
}

bool RstReader::ReadShellValues(int64_t s, int e, int setNelm, int64_t from, int64_t limit,
                                std::vector<ShellValues>& out) {
    if (!m_elems) return true;
    const bool wide = m_level >= 10.0;
    // The element solution index: one entry per element (two words from
    // release 10), read whole; its size bounds the element index k.
    Record index;
    const int64_t at = s + 4 * static_cast<int64_t>(e);
    if (at < from) return BlockError();
    if (!Seek(at) || !ReadRecord(&index)) return false;
    if (m_pos > limit) return BlockError();
    // Compressed words are no pointers.
    if ((index.flags & kCompressedFlags) != 0) return Unsupported(index.flags);
    int64_t count = std::min<int64_t>(setNelm, static_cast<int64_t>(m_equiv.size()));
    count = std::min<int64_t>(count, index.items(4) / (wide ? 2 : 1));
    out.reserve(static_cast<size_t>(std::max<int64_t>(count, 0)));

    for (int64_t k = 0; k < count; ++k) {
        const int id = m_equiv[static_cast<size_t>(k)];
        if (!m_elems->find(id)) continue;
        const int p = index.intAt(wide ? 2 * k : k);
        if (p < 1) continue;
        // The element's index record; its first word points to the
        // miscellaneous values.
        const int64_t elemRec = wide ? s + 4 * (static_cast<int64_t>(p) + e) : s + 4 * int64_t(p);
        unsigned char head[12];
        if (!Seek(elemRec) || !ReadBytes(head, sizeof head)) return false;
        const uint32_t headFlags = static_cast<uint32_t>(BigInt(head + 4));
        if ((headFlags & kCompressedFlags) != 0) return Unsupported(headFlags);
        if (CRSTParser::GetNdat(BigInt(head), 4, m_level) < 1) continue;
        const int q = BigInt(head + 8);
        if (q < 1) continue;
        const int64_t valRec = wide ? elemRec + 4 * int64_t(q) : s + 4 * int64_t(q);
        unsigned char vhead[8];
        if (!Seek(valRec) || !ReadBytes(vhead, sizeof vhead)) return false;
        const uint32_t flags = static_cast<uint32_t>(BigInt(vhead + 4));
        if ((flags & (kCompressedFlags | kIntFlag)) != 0) return Unsupported(flags);
        const bool single = (flags & kSingleFlag) != 0;
        const int size = single ? 4 : 8;
        // The whole record, footer included, lies in the file, or its values
        // are not the file's.
        const int64_t bytes = CRSTParser::GetNdat(BigInt(vhead), 1, m_level);
        if (bytes >= 0 && bytes + 4 > m_size - m_pos) return NoData();
        if (bytes / size < 8) continue;
        unsigned char raw[64];
        if (!ReadBytes(raw, 8 * static_cast<size_t>(size))) return false;
        double d[8];
        for (int i = 0; i < 8; ++i) d[i] = single ? BigFloat(raw + 4 * i) : BigDouble(raw + 8 * i);
        // d: Fx, Fy, Fxy, Mx, My, Mxy, Qx, Qy.
        ShellValues v;
        v.id = id;
        const double m[6] = {d[0], d[1], 0.0, d[2], d[7], d[6]};
        const double b[6] = {-d[3], -d[4], 0.0, -d[5], 0.0, 0.0};
        for (int i = 0; i < 6; ++i) {
            v.membrane[i] = static_cast<float>(m[i]);
            v.bending[i] = static_cast<float>(b[i]);
        }
        out.push_back(v);
    }
    return true;
}

CKpRes* RstReader::NewResult(const char* loadStep, const char* iteration, const char* quantity) {
    const char* const names[5] = {loadStep, iteration, "Shell Forces", quantity, ""};
    // No id left above the highest: refused as a result that cannot be made.
    if (m_ress->maxId() == INT_MAX) throw std::bad_alloc();
    const int id = m_ress->maxId() + 1;
    std::unique_ptr<CKpRes> res(new CKpRes(id, names, 1, 3, 1));
    if (m_ress->insert(res.get()) != 0) throw std::bad_alloc();
    return res.release();
}

bool RstReader::FileSet(int set, int nsets, int loadStep, int iteration,
                        std::vector<ShellValues>& values) {
    if (!m_ress) return true;
    char step[32], iter[32];
    std::snprintf(step, sizeof step, "LOADSTEP %d", loadStep);
    std::snprintf(iter, sizeof iter, "ITERATION %d", iteration);
    CKpRes* membrane = NewResult(step, iter, "Membrane Forces");
    CKpRes* bending = NewResult(step, iter, "Bending Moments");

    // One record per element: the later of two rows for one element wins.
    // Filing in ascending id lets the record stores append.
    std::stable_sort(values.begin(), values.end(),
                     [](const ShellValues& a, const ShellValues& b) { return a.id < b.id; });
    for (size_t i = 0; i < values.size(); ++i) {
        if (i + 1 < values.size() && values[i + 1].id == values[i].id) {
            m_msg.Create(1, "Element %d given again in 'SET %d of %d': the later value is kept.",
                         values[i].id, set, nsets);
            continue;
        }
        for (int r = 0; r < 2; ++r) {
            CKpRes* res = r == 0 ? membrane : bending;
            const float* f = r == 0 ? values[i].membrane : values[i].bending;
            std::unique_ptr<CKpResElem> rec(new CKpResElem(values[i].id, 6, f));
            if (rec->GetNumFloats() != 6 || res->ResElems()->insert(rec.get()) != 0)
                throw std::bad_alloc();
            rec.release();
        }
    }
    return true;
}

}  // namespace

int CRSTParser::Read() {
    CKpMsg quiet;
    CKpMsg& msg = pMsg() ? *pMsg() : quiet;
    FILE* f = std::fopen(name(), "rb");
    if (!f) {
        msg.Create(4, "Could not open rst file '%s'.", name());
        return -1;
    }
    msg.Create(1, "Opened rst file '%s'.", name());
    bool ok = false;
    try {
        RstReader reader(msg, f, pElems(), pRess());
        ok = reader.Run(modelFlags(), resultFlags());
    } catch (const std::exception&) {  // memory ran out
        ok = false;
    }
    if (!ok) msg.Create(4, "Error reading rst file.");
    std::fclose(f);
    msg.Create(1, "Closed rst file '%s'.", name());
    return ok ? 0 : -1;
}

int CRSTParser::ReadHeader(int* length, int* flags, FILE* stream) {
    unsigned char b[8];
    const size_t got = std::fread(b, 1, sizeof b, stream);
    if (got >= 4) *length = BigInt(b);
    if (got >= 8) *flags = BigInt(b + 4);
    return static_cast<int>(got / 4);
}

int CRSTParser::ReadFooter(int* length, FILE* stream) {
    unsigned char b[4];
    if (std::fread(b, 1, sizeof b, stream) != sizeof b) return 0;
    *length = BigInt(b);
    return 1;
}

int CRSTParser::CheckBlock(int a, int b) {
    return a == b ? 0 : -1;
}

int64_t CRSTParser::GetNdat(int length, int size, double level) {
    const int64_t bytes =
        level < 10.0 ? static_cast<int64_t>(length) - 4 : static_cast<int64_t>(length) * 4;
    return bytes / size;
}

double CRSTParser::RCNVRT(double value) {
    unsigned char b[8];
    std::memcpy(b, &value, 8);
    std::reverse(b, b + 8);
    double out;
    std::memcpy(&out, b, 8);
    return out;
}

int64_t CRSTParser::I64CNVRT(const unsigned char bytes[8]) {
    return Combine(BigInt(bytes), BigInt(bytes + 4));
}

int64_t CRSTParser::GetLargeInt(int low, int high) {
    unsigned char b[8];
    std::memcpy(b, &low, 4);
    std::memcpy(b + 4, &high, 4);
    return I64CNVRT(b);
}

int CRSTParser::fsetposCurVal(FILE* stream, int64_t offset) {
    const off_t at = ftello(stream);
    if (at < 0) return -1;
    return fseeko(stream, static_cast<off_t>(at + offset), SEEK_SET) == 0 ? 0 : -1;
}

int CRSTParser::fsetposVal(FILE* stream, int64_t position) {
    return fseeko(stream, static_cast<off_t>(position), SEEK_SET) == 0 ? 0 : -1;
}
