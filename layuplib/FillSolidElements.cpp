#include "layuplib/FillSolidElements.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <new>
#include <type_traits>

#include "layuplib/copy_text.h"

// An exception must not reach the caller of this entry: none can arise,
// as the filler's members all start empty.
static_assert(std::is_nothrow_default_constructible<SolidElements::FillSolidElements>::value,
              "making a filler must not throw");

extern "C" __attribute__((visibility("default"))) int CreateFillSolid(
    SolidElements::IFillSolid*& out) {
    SolidElements::FillSolidElements* filler = new (std::nothrow) SolidElements::FillSolidElements;
    if (!filler) return 1;
    out = filler;
    return 0;
}

namespace SolidElements {

FillSolidElements::~FillSolidElements() = default;

int FillSolidElements::AddRef() {
    return ++m_refCount;
}

int FillSolidElements::Release() {
    const int count = --m_refCount;
    if (count == 0) delete this;
    return count;
}

int FillSolidElements::QueryInterface(const char*, void**) {
    return 1;
}

void FillSolidElements::Message(const char* format, ...) {
    char small[512];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (n >= 0 && static_cast<size_t>(n) >= sizeof small) {
        // Texts with long file names: format again into a buffer that fits.
        try {
            std::vector<char> big(static_cast<size_t>(n) + 1);
            std::vsnprintf(big.data(), big.size(), format, again);
            m_messages.AddMessage(big.data(), Messages::eError);
        } catch (...) {
            m_messages.AddMessage(small, Messages::eError);
        }
    } else {
        m_messages.AddMessage(n >= 0 ? small : format, Messages::eError);
    }
    va_end(again);
}

SolidElement* FillSolidElements::FindElement(int id) const {
    auto it =
        std::lower_bound(m_elemIndex.begin(), m_elemIndex.end(), id,
                         [](const std::pair<int, SolidElement*>& e, int v) { return e.first < v; });
    return (it != m_elemIndex.end() && it->first == id) ? it->second : nullptr;
}

int FillSolidElements::Create(int nNodes, const int* nodeIds, const double* xyz, int nElems,
                              const int* elemIds, const int* elemTypes, int stride,
                              const int* conn) {
    // 1. Checks that need nothing built: counts, arrays, one element type
    //    and a stride that holds it.
    if (nNodes < 1 || nElems < 1) {
        Message("Create: %d nodes and %d elements given; both counts must be positive", nNodes,
                nElems);
        return 1;
    }
    if (!nodeIds || !xyz || !elemIds || !elemTypes || !conn) {
        Message(
            "Create: an array of node ids, coordinates, element ids, element types or "
            "connectivity is missing");
        return 1;
    }
    if (stride < 1) {
        Message("Create: the connectivity stride %d is not positive", stride);
        return 1;
    }
    const int type = m_meshType ? m_meshType : elemTypes[0];
    for (int i = 0; i < nElems; ++i)
        if (elemTypes[i] != type) {
            Message("All selected elements should have the same element type");
            return 1;
        }
    const int perElem = SolidElement::NodesPerElement(type);
    if (stride < perElem) {
        Message("Create: the connectivity stride %d is below the %d nodes of element %d", stride,
                perElem, elemIds[0]);
        return 1;
    }
    for (int i = 0; i < 3 * nNodes; ++i)
        if (!std::isfinite(xyz[i])) {
            Message("Create: node %d has a non-finite coordinate", nodeIds[i / 3]);
            return 1;
        }

    const size_t oldElems = m_elements.size(), oldFaces = m_faces.size();
    try {
        // 2. Indices of the node and element ids, this call's and earlier
        //    ones together: every later lookup is an exact binary search.
        std::vector<double> block(xyz, xyz + 3 * static_cast<size_t>(nNodes));
        std::vector<std::pair<int, const double*>> nodeIndex = m_nodeIndex;
        for (int i = 0; i < nNodes; ++i)
            nodeIndex.emplace_back(nodeIds[i], block.data() + 3 * static_cast<size_t>(i));
        std::sort(nodeIndex.begin(), nodeIndex.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        for (size_t i = 1; i < nodeIndex.size(); ++i)
            if (nodeIndex[i].first == nodeIndex[i - 1].first) {
                Message("Node id %d is repeated", nodeIndex[i].first);
                return 1;
            }
        std::vector<int> newElemIds(elemIds, elemIds + nElems);
        for (const auto& e : m_elemIndex) newElemIds.push_back(e.first);
        std::sort(newElemIds.begin(), newElemIds.end());
        for (size_t i = 1; i < newElemIds.size(); ++i)
            if (newElemIds[i] == newElemIds[i - 1]) {
                Message("Element id %d is repeated", newElemIds[i]);
                return 1;
            }
        auto findNode = [&nodeIndex](int id) -> const double* {
            auto it = std::lower_bound(
                nodeIndex.begin(), nodeIndex.end(), id,
                [](const std::pair<int, const double*>& e, int v) { return e.first < v; });
            return (it != nodeIndex.end() && it->first == id) ? it->second : nullptr;
        };

        // 3. Bricks and their faces from the face table.
        const int perFace = SolidElement::NodesPerFace(type);
        std::vector<const double*> where(static_cast<size_t>(perElem));
        for (int i = 0; i < nElems; ++i) {
            const int* row = conn + static_cast<size_t>(i) * static_cast<size_t>(stride);
            for (int k = 0; k < perElem; ++k) {
                where[k] = findNode(row[k]);
                if (!where[k]) {
                    Message("Element %d refers to node %d, which is not in the node list",
                            elemIds[i], row[k]);
                    throw 1;
                }
            }
            m_elements.push_back(std::make_unique<SolidElement>(elemIds[i], type));
            SolidElement* elem = m_elements.back().get();
            if (perFace == 0) continue;  // not a brick: no faces
            for (int f = 0; f < 6; ++f) {
                const int* local = SolidElement::FaceTable(type, f);
                int ids[8];
                const double* pts[8];
                for (int k = 0; k < perFace; ++k) {
                    ids[k] = row[local[k]];
                    pts[k] = where[local[k]];
                }
                m_faces.push_back(std::make_unique<SolidElementFace>(
                    elem, perFace, ids, pts, static_cast<int>(m_faces.size())));
                elem->SetFace(f, m_faces.back().get());
            }
        }

        // 4. Pair the faces that two bricks share: one sort, one pass.
        std::vector<SolidElementFace*> all;
        all.reserve(m_faces.size());
        for (const auto& f : m_faces) all.push_back(f.get());
        SolidElementFace* third = nullptr;
        if (SolidElementFace::PairFaces(all, third) != 0) {
            Message("Face of element %d is shared by more than two elements",
                    third->GetElement()->GetID());
            throw 1;
        }

        // 5. Keep it all.
        m_nodeIds.insert(m_nodeIds.end(), nodeIds, nodeIds + nNodes);
        m_xyzBlocks.push_back(std::move(block));
        m_nodeIndex = std::move(nodeIndex);
        for (size_t i = oldElems; i < m_elements.size(); ++i)
            m_elemIndex.emplace_back(m_elements[i]->GetID(), m_elements[i].get());
        std::sort(m_elemIndex.begin(), m_elemIndex.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        m_meshType = type;
    } catch (const std::bad_alloc&) {
        Message("Create: out of memory");
        m_elements.resize(oldElems);
        m_faces.resize(oldFaces);
        std::vector<SolidElementFace*> all;
        for (const auto& f : m_faces) all.push_back(f.get());
        SolidElementFace* third = nullptr;
        SolidElementFace::PairFaces(all, third);
        return 1;
    } catch (int) {
        // Undo this call's bricks and restore the earlier pairing.
        m_elements.resize(oldElems);
        m_faces.resize(oldFaces);
        std::vector<SolidElementFace*> all;
        for (const auto& f : m_faces) all.push_back(f.get());
        SolidElementFace* third = nullptr;
        SolidElementFace::PairFaces(all, third);
        return 1;
    }
    return 0;
}

int FillSolidElements::HasElementOrientationChanged() {
    return m_orientationChanged ? 1 : 0;
}

int FillSolidElements::GetElementSizes(int& nNodes, int& nElems, int& maxNodesPerElem) {
    nNodes = static_cast<int>(m_nodeIds.size());
    nElems = static_cast<int>(m_elements.size());
    maxNodesPerElem = 20;
    return 0;
}

int FillSolidElements::GetElementMesh(int* nodeIds, double* xyz, int* elemIds, int* elemTypes,
                                      int* conn) {
    if (!nodeIds || !xyz || !elemIds || !elemTypes || !conn) {
        Message("GetElementMesh: an output array is missing");
        return 1;
    }
    std::copy(m_nodeIds.begin(), m_nodeIds.end(), nodeIds);
    double* out = xyz;
    for (const auto& block : m_xyzBlocks) out = std::copy(block.begin(), block.end(), out);
    for (size_t i = 0; i < m_elements.size(); ++i) {
        const SolidElement& e = *m_elements[i];
        elemIds[i] = e.GetID();
        elemTypes[i] = e.GetType();
        int* row = conn + 20 * i;
        std::fill(row, row + 20, 0);
        if (e.GetNumFaces() == 0) continue;
        const SolidElementFace* bottom = e.GetFace(0);
        const SolidElementFace* top = e.GetFace(1);
        for (int k = 0; k < 4; ++k) {
            row[k] = bottom->StoredNode(k);
            row[4 + k] = top->StoredNode(k);
        }
        if (e.GetType() != SolidElement::eHex20) continue;
        for (int k = 0; k < 4; ++k) {
            row[8 + k] = bottom->StoredNode(4 + k);
            row[12 + k] = top->StoredNode(4 + k);
        }
        // The mid-side node between corner k of face 0 and corner k of face
        // 1, as the side face holding that edge stores it.
        for (int k = 0; k < 4; ++k) {
            const SolidElementFace* side = e.GetFace(k < 2 ? 2 : 4);
            const int a = bottom->StoredNode(k), b = top->StoredNode(k);
            for (int j = 0; j < 4; ++j) {
                const int p = side->StoredNode(j), q = side->StoredNode((j + 1) % 4);
                if ((p == a && q == b) || (p == b && q == a)) {
                    row[16 + k] = side->StoredNode(4 + j);
                    break;
                }
            }
        }
    }
    return 0;
}

int FillSolidElements::GetElements(std::vector<int>& nodeIds, std::vector<double>& xyz,
                                   std::vector<int>& elemIds, std::vector<int>& elemTypes,
                                   std::vector<int>& conn, int& stride) {
    int nNodes = 0, nElems = 0, width = 0;
    GetElementSizes(nNodes, nElems, width);
    try {
        nodeIds.resize(static_cast<size_t>(nNodes));
        xyz.resize(3 * static_cast<size_t>(nNodes));
        elemIds.resize(static_cast<size_t>(nElems));
        elemTypes.resize(static_cast<size_t>(nElems));
        conn.resize(static_cast<size_t>(width) * static_cast<size_t>(nElems));
    } catch (...) {
        Message("GetElements: out of memory");
        return 1;
    }
    stride = width;
    if (nNodes == 0 && nElems == 0) return 0;
    // Empty vectors may hand out null data pointers; give GetElementMesh
    // something to write to.
    int dummyI = 0;
    double dummyD = 0.0;
    auto ip = [&dummyI](std::vector<int>& v) { return v.empty() ? &dummyI : v.data(); };
    return GetElementMesh(ip(nodeIds), xyz.empty() ? &dummyD : xyz.data(), ip(elemIds),
                          ip(elemTypes), ip(conn));
}

int FillSolidElements::ReadStacking(EStackingStart mode, const char* file1, const char* file2) {
    return ReadStacking(static_cast<EStacking>(mode), file1, file2);
}

int FillSolidElements::CreateCoordinateSystems(const double* xyz9, double angleDeg) {
    if (!xyz9) {
        Message("CreateCSys: a reference vector is missing");
        return 1;
    }
    return CreateCSys(xyz9, xyz9 + 3, xyz9 + 6, angleDeg * 0.0174532925199433);
}

int FillSolidElements::GetNumCSys(int& n) {
    n = static_cast<int>(m_csys.size());
    return 0;
}

int FillSolidElements::GetNumSections(int& n) {
    n = static_cast<int>(m_sections.size());
    return 0;
}

int FillSolidElements::GetCSys(int i, IFillSolidCSys*& out) {
    if (i < 0 || i >= static_cast<int>(m_csys.size())) return 1;
    out = m_csys[static_cast<size_t>(i)].get();
    return 0;
}

int FillSolidElements::GetSection(int i, IFillSolidSection*& out) {
    if (i < 0 || i >= static_cast<int>(m_sections.size())) return 1;
    out = m_sections[static_cast<size_t>(i)].get();
    return 0;
}

int FillSolidElements::GetLastError(char* buf, int len) {
    copy_text(buf, len, m_messages.GetNumMessages() > 0 ? m_messages.GetMessage(0) : "");
    return 0;
}

}  // namespace SolidElements
