#ifndef PLYSTRAND_LAYUPLIB_READ_LYP_READER_H
#define PLYSTRAND_LAYUPLIB_READ_LYP_READER_H

// The record dispatcher of read_lyp (layuplib/read_lyp.h) and its state for
// one file. Internal to the reader.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "layuplib/read_lyp.h"
#include "layuplib/read_lyp_numbers.h"
#include "layuplib/read_lyp_tokens.h"
#include "layuplib/read_lypgroup.h"

class CKpAnsysEt;
class CKpElem;
class CKpLayup;
class CKpMatProp;
class CKpMsg;
class CKpNode;
class CKpOff;
class CKpSet;
class CKpTol;

// LypReader: takes the lines of one layup file in order and builds the
// model's objects from them. The objects go into the model's stores as soon
// as they have their ids; a ply, pattern or material stays with the reader
// from its opening record (301, 401, 501) until its id record (302, 402,
// 502). Records that act on "the current" object find it here.
// Not exported: its calls to itself, once per record and field, then go
// straight to their targets rather than through the library's symbol table.
class __attribute__((visibility("hidden"))) LypReader {
  public:
    // Reads into `model` (its stores are created when missing); `path` is
    // the file name for the reader's own messages; `supported` the file
    // version this build writes.
    LypReader(CKpLayup* model, const char* path, int supported);
    ~LypReader();
    LypReader(const LypReader&) = delete;
    LypReader& operator=(const LypReader&) = delete;

    // Handles one line. true to go on (also for skipped lines); false after
    // an error was reported (a malformed field, an allocation failure).
    // May throw std::bad_alloc (the caller reports it).
    // `line` as read_lypline hands it out (its padding is read).
    bool Record(const LypLine& line);

    // Drops the ply, pattern or material still waiting for its id record,
    // with a warning each.
    void Finish();

    // Version from record 006; 0 when the file had none.
    int FileVersion() const { return m_fileVersion; }
    // The objects renumbered by the id clash rule.
    const LypRenumbered& Renumbered() const { return m_renumbered; }

  private:
    // ---- fields of the current line
    // Finds the first `cap` tokens of the line (all when cap is SIZE_MAX)
    // into m_tokens; gives how many were found.
    size_t Split(size_t cap);
    // Splits the line into blank-separated tokens (the code is token 0) and
    // checks up to strlen(kinds) fields after the code: 'i' an int, 'r' a
    // real, 's' a text token. Absent fields read as 0 or "". false after
    // reporting a malformed field.
    bool Fields(const char* kinds);
    // Fields for the records read most often: the same, with the kinds
    // known where it is inlined, so that the loop over them unrolls.
    template <size_t N>
    bool FieldsOf(const char (&kinds)[N]);
    // Every field after the code as an int, into `out`. false after
    // reporting a malformed field.
    bool IntList(std::vector<int>& out);
    // Number of fields present after the code (at most strlen(kinds)).
    int Count() const { return m_count; }
    // Field k (0 = the first after the code) as parsed; 0 / "" when absent.
    int I(int k) const { return k < m_count ? m_ints[k] : 0; }
    double R(int k) const { return k < m_count ? m_reals[k] : 0.0; }
    // The raw token, and the token decoded (0xFE becomes a blank, trailing
    // 0xFE bytes dropped).
    std::string Raw(int k) const;
    std::string Text(int k) const;
    // Reports a malformed field k (0-based).
    bool BadField(int k, const char* kind);
    // Reports "Could not allocate memory." and gives false.
    bool NoMemory();
    // Warns about a repeated id (the later object is ignored).
    void Duplicate(const char* kind, int id);
    // The store insertion that only fails when the store cannot grow.
    template <class Store, class T>
    static bool Insert(Store* store, T* object) {
        return store->insert(object) == 0;
    }

    // ---- sections, each for its record codes
    bool Header();
    bool Ply();
    bool Material();
    bool MaterialProperty(CKpMatProp* prop, int record);
    bool Layup();
    bool Node();
    bool Element();
    bool Pattern();
    bool Drape();
    bool Offset();
    bool Tolerance();
    bool Set();
    bool Orientation();
    // Makes the current pattern the drape simulation's after legacy drape
    // records (420, 421, 425) were read.
    void BindDrapePattern();
    // Drops the objects still waiting for their id records.
    void DropPly();
    void DropPattern();
    void DropMaterial();

    CKpLayup* m_model;
    CKpMsg* m_msg;
    std::string m_path;
    int m_supported;

    // The line being handled and its tokens (begin, length) into its text:
    // the first m_tokenCount entries of m_tokens.
    const LypLine* m_group;
    std::vector<std::pair<size_t, size_t>> m_tokens;
    size_t m_tokenCount;
    int m_count;
    int m_ints[16];
    double m_reals[16];
    std::vector<int> m_list;

    // Current objects; the unique pointers hold an object until its store
    // takes it.
    CKpAnsysEt* m_et;
    std::unique_ptr<CKpPly> m_plyOwned;
    CKpPly* m_ply;
    long m_plyLine;
    int m_plyType;
    std::unique_ptr<CKpMat> m_matOwned;
    CKpMat* m_mat;
    long m_matLine;
    int m_matType;
    CKpMatProp* m_state;
    std::unique_ptr<CKpPat> m_patOwned;
    CKpPat* m_pat;
    long m_patLine;
    int m_patType;
    bool m_patStart;  // the current pattern has had a 405
    CKpNode* m_node;
    int m_nodeTop;  // largest node id in the store (INT_MIN: none)
    CKpElem* m_elem;
    int m_elemTop;       // largest element id in the store
    bool m_elemPending;  // a 201 waits for its 202
    int m_elemId, m_elemPart, m_elemPatch;
    CKpOff* m_off;
    bool m_offHaveId;  // a 702 waits for its 710
    int m_offId;
    std::string m_offName;
    CKpTol* m_tol;
    int m_tolCount;
    CKpSet* m_set;
    int m_setPrevious;   // previous id of the set's compressed list
    long long m_runIds;  // ids named by the runs of every set so far
    long long m_bytes;   // bytes of the lines read so far, line feeds included
    // What a record may make the reader hold (ids named by set runs, cells
    // of the drape grid) for each byte read before it: memory stays in step
    // with the file, while a saved file stays far inside.
    static constexpr long long kHeldPerByte = 64;

    int m_fileVersion;
    int m_gplyCounter;
    bool m_drapeRead;        // a 420, 421 or 425 was read
    bool m_drape420;         // a 420 was read
    int m_drapeU, m_drapeV;  // indices of the last 420

    LypRenumbered m_renumbered;
};

template <size_t N>
inline bool LypReader::FieldsOf(const char (&kinds)[N]) {
    constexpr int wanted = static_cast<int>(N) - 1;
    static_assert(wanted <= 16, "at most 16 fields");
    const char* const text = m_group->text;
    const size_t size = m_group->size;
    if (size >= 64) return Fields(kinds);
    // As lyp_tokens::ShortTokens, each token parsed as it is found; the
    // first is the code.
    const uint64_t blank = lyp_tokens::ShortBlankBits(text, size);
    const uint64_t solid = ~blank;
    uint64_t starts = solid & ~(solid << 1);
    uint64_t ends = blank & solid << 1;
    starts &= starts - 1;
    ends &= ends - 1;
    int k = 0;
#pragma GCC unroll 16
    for (; k < wanted; ++k) {
        if (!starts) break;
        const size_t b = static_cast<size_t>(__builtin_ctzll(starts));
        const size_t e = static_cast<size_t>(__builtin_ctzll(ends));
        starts &= starts - 1;
        ends &= ends - 1;
        m_tokens[k + 1].first = b;
        m_tokens[k + 1].second = e - b;
        if (kinds[k] == 'i' && !lyp_numbers::ReadInt(text + b, e - b, m_ints[k])) {
            m_tokenCount = static_cast<size_t>(k) + 2;
            return BadField(k, "integer");
        }
        if (kinds[k] == 'r' && !lyp_numbers::ReadReal(text + b, e - b, m_reals[k])) {
            m_tokenCount = static_cast<size_t>(k) + 2;
            return BadField(k, "number");
        }
    }
    m_count = k;
    m_tokenCount = static_cast<size_t>(k) + 1;
    return true;
}

#endif  // PLYSTRAND_LAYUPLIB_READ_LYP_READER_H
