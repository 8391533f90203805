#include "host/CMorvek.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "host/LayupOut.h"
#include "host/MorvekHost.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/num_util.h"
#include "layuplib/store_or_free.h"

namespace {

// Node-id slots per element row that the host's mesh callback fills.
constexpr int kRowSlots = 8;

}  // namespace

CMorvek::CMorvek() {
    char buffer[256];
    buffer[0] = '\0';
    DbNameGet(255, buffer);
    buffer[255] = '\0';  // whatever the host wrote, the name ends here
    m_name = buffer;
}

int CMorvek::exists() {
    return m_name.Size();
}

int CMorvek::getName(char* name) {
    const int length = m_name.Size();
    if (!name || length == 0) return -1;
    std::memcpy(name, static_cast<const char*>(m_name), static_cast<size_t>(length) + 1);
    return 0;
}

int CMorvek::getMesh(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems) {
    if (!nodes || !elems) return -1;
    try {
        // 1. Element count.
        int n = 0;
        int status = LayupOutCountElems(&n);
        if (status != 0) {
            if (msg) msg->Create(4, "LayupOutCountElems() failed with status %d", status);
            return -1;
        }
        if (n < 1) {
            if (msg) msg->Create(1, "No elements in database");
            return 0;
        }

        // 2.-4. Ids ascending, then only the shells with their topology.
        std::vector<int> ids(n), topologies(n);
        status = LayupOutGetElemIds(n, ids.data());
        if (status != 0) {
            if (msg) msg->Create(4, "LayupOutGetElemIds() failed with status %d", status);
            return -1;
        }
        std::sort(ids.begin(), ids.end());
        status = LayupOutGetElemEtop(n, ids.data(), topologies.data());
        if (status != 0) {
            if (msg) msg->Create(4, "LayupOutGetElemEtop() failed with status %d", status);
            return -1;
        }
        int kept = 0;
        for (int e = 0; e < n; ++e) {
            if (!CKpElem::IsSupportedTopology(topologies[e])) continue;
            ids[kept] = ids[e];
            topologies[kept] = topologies[e];
            ++kept;
        }
        n = kept;

        // 5. Node rows in host order.
        std::vector<int> rows(static_cast<size_t>(n) * kRowSlots);
        status = LayupOutGetNodesForElems(n, kRowSlots, ids.data(), rows.data());
        if (status != 0) {
            if (msg) msg->Create(4, "LayupOutGetNodesForElems() failed with status %d", status);
            return -1;
        }

        // 6.-7. The nodes used, each once.
        std::vector<int> nodeIds;
        nodeIds.reserve(static_cast<size_t>(n) * 4);
        for (int e = 0; e < n; ++e) {
            const int* row = rows.data() + static_cast<size_t>(e) * kRowSlots;
            const int k = CKpElem::GetNumNodesForTopology(topologies[e]);
            for (int s = 0; s < k; ++s) {
                if (row[s] < 1 && msg)
                    msg->Create(2, " Node %d of degenerate element id %d is %d", s + 1, ids[e],
                                row[s]);
                nodeIds.push_back(row[s]);
            }
        }
        int m = static_cast<int>(nodeIds.size());
        cleanIntArray(&m, nodeIds.data());
        if (m < 0) m = 0;

        // 8. Coordinates.
        std::vector<int> a(m), b(m);
        std::vector<float> xyz(static_cast<size_t>(m) * 3);
        status = LayupOutGetNodes(m, nodeIds.data(), a.data(), b.data(), xyz.data());
        if (status != 0) {
            if (msg) msg->Create(4, "LayupOutGetNodes() failed with status %d", status);
            return -1;
        }

        // 9.-10. Nodes, then elements, ascending.
        for (int k = 0; k < m; ++k) {
            CKpNode* node = nodes->NewNode(nodeIds[k]);
            if (!node) throw std::bad_alloc();
            node->setCKpPoint(xyz[3 * k], xyz[3 * k + 1], xyz[3 * k + 2]);
            node->setIncompleteFlag(0);
            if (store_or_free(nodes, node, msg, "node") != 0) return -1;
        }
        for (int e = 0; e < n; ++e) {
            CKpElem* elem = elems->NewElem(ids[e], CKpElem::GetGmtpForTopology(topologies[e]));
            if (!elem) throw std::bad_alloc();
            elem->seteltp(1);
            elem->SetConnectivityKor(CKpElem::GetNumNodesForTopology(topologies[e]),
                                     rows.data() + static_cast<size_t>(e) * kRowSlots);
            if (store_or_free(elems, elem, msg, "element") != 0) return -1;
        }
        return 0;
    } catch (const std::bad_alloc&) {
        if (msg) msg->Create(4, "Could not allocate memory.");
        return -1;
    }
}

int CMorvek::putMesh(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems) {
    if (!nodes || !elems) return 0;
    if (msg) msg->Create(1, "Begin putting mesh.");
    try {
        // 1. Placed nodes, ascending.
        std::vector<int> nodeIds;
        std::vector<float> xyz;
        const int nNodes = nodes->entries();
        nodeIds.reserve(nNodes);
        xyz.reserve(static_cast<size_t>(nNodes) * 3);
        for (int k = 0; k < nNodes; ++k) {
            const CKpNode* node = (*nodes)[k];
            if (!node || node->incomplete()) continue;
            nodeIds.push_back(node->id());
            xyz.push_back(static_cast<float>(node->getCKpPointX()));
            xyz.push_back(static_cast<float>(node->getCKpPointY()));
            xyz.push_back(static_cast<float>(node->getCKpPointZ()));
        }
        int count = static_cast<int>(nodeIds.size());
        std::vector<int> zerosA(count, 0), zerosB(count, 0);
        int out = 0;
        int status = DbFCreateNodes(count, zerosA.data(), zerosB.data(), xyz.data(), 0,
                                    nodeIds.data(), &out);
        if (status != 0 && msg) msg->Create(4, " DbFCreateNodes: status %d", status);

        // 2. Elements, ascending; rows in host order (corners, then midsides),
        // as wide as the largest element.
        const int nElems = elems->entries();
        int width = 0;
        for (int k = 0; k < nElems; ++k) {
            const CKpElem* elem = (*elems)[k];
            if (elem) width = std::max(width, elem->getnnod());
        }
        std::vector<int> elemIds, topologies, rows;
        elemIds.reserve(nElems);
        topologies.reserve(nElems);
        rows.reserve(static_cast<size_t>(nElems) * width);
        for (int k = 0; k < nElems; ++k) {
            const CKpElem* elem = (*elems)[k];
            if (!elem) continue;
            const int gmtp = elem->getgmtp();
            if (gmtp != 1 && gmtp != 2 && gmtp != 11 && gmtp != 12) {
                if (msg) msg->Create(4, "Unsupported element geometry %d.", gmtp);
                continue;
            }
            const int nnod = elem->getnnod();
            elemIds.push_back(elem->id());
            topologies.push_back(CKpElem::GetTopologyForGmtp(gmtp));
            for (int s = 0; s < width; ++s) rows.push_back(s < nnod ? elem->GetUnidKor(s) : 0);
        }
        count = static_cast<int>(elemIds.size());
        zerosA.assign(count, 0);
        zerosB.assign(count, 0);
        status = DbFCreateElems(count, width, topologies.data(), zerosA.data(), zerosB.data(),
                                rows.data(), 0, elemIds.data(), &out);
        if (status != 0 && msg) msg->Create(4, " DbFCreateElems: status %d", status);
    } catch (const std::bad_alloc&) {
        if (msg) msg->Create(4, "Could not allocate memory.");
    }
    if (msg) msg->Create(1, "End putting mesh.");
    return 0;
}
