#include "layuplib/CKpResElem.h"

#include <cstring>
#include <new>

CKpResElem::CKpResElem(int id) : CVekObject(id), m_nFloats(0), m_nInts(0), m_cells(nullptr) {}

CKpResElem::CKpResElem(int id, int nFloats, const float* floats)
    : CKpResElem(id, nFloats, floats, 0, nullptr) {}

CKpResElem::CKpResElem(int id, int nInts, const int* ints)
    : CKpResElem(id, 0, nullptr, nInts, ints) {}

CKpResElem::CKpResElem(int id, int nFloats, const float* floats, int nInts, const int* ints)
    : CVekObject(id), m_nFloats(0), m_nInts(0), m_cells(nullptr) {
    // Small records (most of a results file) without the calls below.
    if (nFloats >= 0 && nInts >= 0 && nFloats + nInts <= kLocalCells) {
        if (nFloats + nInts == 0) return;
        for (Cell& cell : m_local) cell.i = 0;
        if (floats) std::memcpy(m_local, floats, static_cast<size_t>(nFloats) * sizeof(float));
        if (ints) std::memcpy(m_local + nFloats, ints, static_cast<size_t>(nInts) * sizeof(int));
        m_cells = m_local;
        m_nFloats = static_cast<std::uint8_t>(nFloats);
        m_nInts = static_cast<std::uint8_t>(nInts);
        return;
    }
    Allocate(nFloats, nInts);
    SetRes(nFloats, floats, nInts, ints);
}

CKpResElem::CKpResElem(int id, const CKpResElem& source)
    : CKpResElem(id, source.m_nFloats, source.Floats(), source.m_nInts, source.Ints()) {}

CKpResElem::CKpResElem(const CKpResElem& other) : CKpResElem(other.id(), other) {}

CKpResElem::~CKpResElem() {
    if (m_cells != m_local) delete[] m_cells;
}

void CKpResElem::Allocate(int nFloats, int nInts) {
    if (nFloats < 0 || nFloats > kMaxCount || nInts < 0 || nInts > kMaxCount) return;
    const int n = nFloats + nInts;
    if (n == 0) return;
    if (n <= kLocalCells) {
        for (Cell& cell : m_local) cell.i = 0;
        m_cells = m_local;
    } else {
        m_cells = new (std::nothrow) Cell[n]();
        if (!m_cells) return;
    }
    m_nFloats = static_cast<std::uint8_t>(nFloats);
    m_nInts = static_cast<std::uint8_t>(nInts);
}

const float* CKpResElem::Floats() const {
    return m_cells ? &m_cells[0].f : nullptr;
}

const int* CKpResElem::Ints() const {
    return m_cells ? &m_cells[m_nFloats].i : nullptr;
}

float CKpResElem::GetFloat(int pos) const {
    return pos >= 0 && pos < m_nFloats ? m_cells[pos].f : 0.0f;
}

int CKpResElem::GetInt(int pos) const {
    return pos >= 0 && pos < m_nInts ? m_cells[m_nFloats + pos].i : 0;
}

void CKpResElem::SetFloat(int pos, float value) {
    if (pos >= 0 && pos < m_nFloats) m_cells[pos].f = value;
}

void CKpResElem::SetInt(int pos, int value) {
    if (pos >= 0 && pos < m_nInts) m_cells[m_nFloats + pos].i = value;
}

int CKpResElem::GetFloats(int num, float* out) const {
    if (!out || num < 0 || num > m_nFloats) return 1;
    for (int k = 0; k < num; ++k) out[k] = m_cells[k].f;
    return 0;
}

int CKpResElem::SetFloats(int num, const float* values) {
    if (!values || num < 0 || num > m_nFloats) return 1;
    for (int k = 0; k < num; ++k) m_cells[k].f = values[k];
    return 0;
}

int CKpResElem::SetInts(int num, const int* values) {
    if (!values || num < 0 || num > m_nInts) return 1;
    for (int k = 0; k < num; ++k) m_cells[m_nFloats + k].i = values[k];
    return 0;
}

void CKpResElem::SetRes(int nFloats, const float* floats, int nInts, const int* ints) {
    SetFloats(nFloats, floats);
    SetInts(nInts, ints);
}

void CKpResElem::SetRes(const CKpResElem& source) {
    SetRes(source.m_nFloats, source.Floats(), source.m_nInts, source.Ints());
}

void* CKpResElem::operator new(std::size_t size) {
    void* room = CKpResElemBlocks::TakeLoose(size);
    if (!room) throw std::bad_alloc();
    return room;
}

void* CKpResElem::operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return CKpResElemBlocks::TakeLoose(size);
}

void* CKpResElem::operator new(std::size_t size, CKpResElemBlocks& blocks,
                               const std::nothrow_t&) noexcept {
    return blocks.Take(size);
}

void CKpResElem::operator delete(void* object) noexcept {
    CKpResElemBlocks::Give(object);
}

void CKpResElem::operator delete(void* object, const std::nothrow_t&) noexcept {
    CKpResElemBlocks::Give(object);
}

void CKpResElem::operator delete(void* object, CKpResElemBlocks&, const std::nothrow_t&) noexcept {
    CKpResElemBlocks::Give(object);
}
