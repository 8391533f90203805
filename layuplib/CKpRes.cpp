#include "layuplib/CKpRes.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/copy_text.h"
#include "layuplib/store_or_free.h"

namespace {

bool CountOk(int n) {
    return n >= 0 && n <= CKpResElem::kMaxCount;
}

}  // namespace

CKpRes::CKpRes(int id) : CVekObject(id), m_orient(0), m_type(0), m_loc(0) {}

CKpRes::CKpRes(int id, const char* const names[5], int orientation, int type, int location)
    : CVekObject(id), m_orient(orientation), m_type(type), m_loc(location) {
    if (names) SetNames(names);
}

CKpRes::~CKpRes() = default;

int CKpRes::GetNames(char* names[5], int len) {
    if (!names || len < 1) return 1;
    for (int i = 0; i < 5; ++i)
        if (names[i]) copy_text(names[i], len, name(i));
    return 0;
}

int CKpRes::GetElementIdsNums(int n, int* ids, int* nInts, int* nFloats) {
    if (n != GetNumElements()) return 1;
    if (!ids) return 2;
    CVekObjectStoreIterator<CKpResElem> it(m_elems);
    for (int i = 0; ++it; ++i) {
        const CKpResElem* record = it.key();
        ids[i] = record->id();
        if (nInts) nInts[i] = record->GetNumInts();
        if (nFloats) nFloats[i] = record->GetNumFloats();
    }
    return 0;
}

int CKpRes::GetElementResults(int* ints, float* floats) {
    CVekObjectStoreIterator<CKpResElem> it(m_elems);
    while (++it) {
        const CKpResElem* record = it.key();
        if (ints) {
            const int n = record->GetNumInts();
            if (n > 0) std::memcpy(ints, record->Ints(), n * sizeof(int));
            ints += n;
        }
        if (floats) {
            const int n = record->GetNumFloats();
            if (n > 0) std::memcpy(floats, record->Floats(), n * sizeof(float));
            floats += n;
        }
    }
    return 0;
}

int CKpRes::SetNames(const char* const names[5]) {
    if (!names) return 1;
    for (int i = 0; i < 5; ++i) name(i, names[i]);
    return 0;
}

int CKpRes::SetType(EType type) {
    m_type = type;
    return 0;
}

int CKpRes::SetLocation(ELocation location) {
    m_loc = location;
    return 0;
}

int CKpRes::SetOrientation(EOrientation orientation) {
    m_orient = orientation;
    return 0;
}

bool CKpRes::InsertRecord(CKpResElem* record) {
    if (m_elems.insertRecord(record) == 0) return true;
    delete record;
    return false;
}

int CKpRes::SetElementResults(int n, const int* ids, const int* nInts, const int* nFloats,
                              const int* ints, const float* floats) {
    if (!ids) return 1;
    if (n < 1 || (!nInts && !nFloats)) return 0;
    // The counts are stored in 8 bits: check them all before creating any
    // record, so that a bad count neither wraps nor leaves half the work.
    for (int i = 0; i < n; ++i)
        if ((nInts && !CountOk(nInts[i])) || (nFloats && !CountOk(nFloats[i]))) return 3;
    std::int64_t intOffset = 0;
    std::int64_t floatOffset = 0;
    // An id above every id held cannot have a record: ascending ids, the
    // usual order of solver output, skip the lookup (which would merge the
    // pending insertions each time).
    std::int64_t highest = m_elems.maxId();
    for (int i = 0; i < n; ++i) {
        const int ni = nInts ? nInts[i] : 0;
        const int nf = nFloats ? nFloats[i] : 0;
        if (ids[i] > highest || !m_elems.find(ids[i])) {
            const int* iv = ints && nInts ? ints + intOffset : nullptr;
            const float* fv = floats && nFloats ? floats + floatOffset : nullptr;
            CKpResElem* record =
                new (m_elems.Blocks(), std::nothrow) CKpResElem(ids[i], nf, fv, ni, iv);
            if (!record) return 2;
            if (record->GetNumFloats() != nf || record->GetNumInts() != ni) {
                delete record;
                return 2;
            }
            if (!InsertRecord(record)) return 2;
            if (ids[i] > highest) highest = ids[i];
        }
        intOffset += ni;
        floatOffset += nf;
    }
    return 0;
}

const char* CKpRes::name(int i) const {
    if (i < 0 || i >= 5) return "";
    return m_names[i];
}

void CKpRes::name(int i, const char* text) {
    if (i < 0 || i >= 5) return;
    m_names[i] = text ? text : "";
}

void CKpRes::acode(const char* text) {
    m_acode = text ? text : "";
}

int CKpRes::nvals() const {
    switch (m_type) {
        case 1:
            return 1;
        case 2:
            return 3;
        case 3:
            return 6;
        default:
            return 0;
    }
}

bool CKpRes::IsStrainResult() const {
    return std::strstr(name(2), "Strain") != nullptr;
}

void CKpRes::Theory(char* text) {
    if (!text) return;
    static const char* const kTheories[][2] = {{"HILL", "Hill Stress"},
                                               {"HOFFMAN", "Hoffman Stress"},
                                               {"TSAI-WU", "Tsai-Wu Stress"},
                                               {"STRAIN", "Maximum Strain"}};
    for (const auto& theory : kTheories) {
        if (std::strcmp(text, theory[0]) == 0) {
            std::strcpy(text, theory[1]);
            return;
        }
    }
}

bool CKpRes::SameName(const char* const names[5]) const {
    if (!names) return false;
    for (int i = 0; i < 5; ++i)
        if (std::strcmp(name(i), names[i] ? names[i] : "") != 0) return false;
    return true;
}

CKpResElem* CKpRes::FindOrCreateResElem(int elementId, int nFloats, const float* floats, int nInts,
                                        const int* ints) {
    if (!CountOk(nFloats) || !CountOk(nInts)) return nullptr;
    CKpResElem* record = m_elems.findRecord(elementId);
    if (record) {
        record->SetRes(nFloats, floats, nInts, ints);
        return record;
    }
    record = new (m_elems.Blocks(), std::nothrow)
        CKpResElem(elementId, nFloats, floats, nInts, ints);
    if (!record) return nullptr;
    if (record->GetNumFloats() != nFloats || record->GetNumInts() != nInts) {
        delete record;
        return nullptr;
    }
    return InsertRecord(record) ? record : nullptr;
}

CKpResElem* CKpRes::FindOrCreateResElem(int elementId, const CKpResElem& source) {
    return FindOrCreateResElem(elementId, source.GetNumFloats(), source.Floats(),
                               source.GetNumInts(), source.Ints());
}
