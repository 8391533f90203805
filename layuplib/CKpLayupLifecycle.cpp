// Versions, messages and the lifecycle operations of the model.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/CKpDB.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOffStore.h"
#include "layuplib/CheckMesh.h"
#include "layuplib/LayerRecreate.h"
#include "layuplib/make_facet.h"
#include "layuplib/node_reref.h"
#include "layuplib/read_lyp.h"
#include "layuplib/read_lyp_facets.h"
#include "layuplib/save_lyp.h"
#include "layuplib/surface_div.h"

namespace {

// Marks, for each accepted entry, whether an earlier accepted entry carries
// the same id (the first in input order wins). Returns the accepted
// indices in ascending id order.
std::vector<int> SortAndMarkDuplicates(const int* ids, const std::vector<int>& accepted,
                                       std::vector<char>& duplicate) {
    // (id, index) pairs sort contiguously; equal ids keep their input order.
    std::vector<std::pair<int, int>> keyed;
    keyed.reserve(accepted.size());
    bool ascending = true;  // a host's mesh often comes in id order already
    for (int i : accepted) {
        if (!keyed.empty() && keyed.back().first >= ids[i]) ascending = false;
        keyed.emplace_back(ids[i], i);
    }
    if (!ascending) std::sort(keyed.begin(), keyed.end());
    std::vector<int> unique;
    unique.reserve(keyed.size());
    for (size_t k = 0; k < keyed.size(); ++k) {
        if (k > 0 && keyed[k].first == keyed[k - 1].first)
            duplicate[keyed[k].second] = 1;
        else
            unique.push_back(keyed[k].second);
    }
    return unique;
}

}  // namespace

int CKpLayup::GetVersions(int* apiVersion, int* fileVersion, int* libVersion) {
    if (apiVersion) *apiVersion = 20081003;
    if (fileVersion) *fileVersion = 20081003;
    if (libVersion) *libVersion = 20081110;
    return 0;
}

int CKpLayup::OpenMessage(const char* path) {
    return m_msg.FileOpen(path);
}

int CKpLayup::CloseMessage() {
    return m_msg.FileClose();
}

void CKpLayup::SetMessage(EMsgTyp type, const char* text) {
    m_msg.Create(type, "%s", text ? text : "");
}

void CKpLayup::SetMessageStoreParams(int maxCount, double maxAge) {
    m_msg.SetMessageStoreParams(maxCount, maxAge);
}

void CKpLayup::FlushMessageStore() {
    m_msg.FlushMessageStore();
}

int CKpLayup::GetFirstMessageInStore(double age, EMsgTyp& type, char* text, int textSize) {
    int level = 0;
    const int status = m_msg.GetFirstMessageInStore(age, &level, text, textSize);
    if (status == 0) type = static_cast<EMsgTyp>(level);
    return status;
}

int CKpLayup::NewLayupMesh(int nNodes, const int* nodeIds, const double* xyz, int nElems,
                           const int* elemIds, const int* patchIds, const int* topologies,
                           int width, const int* connectivity, double mergeTolerance, double) {
    // 0. The arrays are checked before the model is emptied, so that bad
    //    input loses nothing.
    if (nNodes < 0 || nElems < 0) {
        m_msg.Create(4, "NewLayupMesh: negative node count %d or element count %d.", nNodes,
                     nElems);
        return -1;
    }
    if ((nNodes > 0 && (!nodeIds || !xyz)) ||
        (nElems > 0 && (!elemIds || !patchIds || !topologies || !connectivity))) {
        m_msg.Create(4, "NewLayupMesh: a node or element array is missing.");
        return -1;
    }
    for (int i = 0; i < nNodes; ++i) {
        if (nodeIds[i] < 1) continue;
        const double* p = xyz + 3 * static_cast<size_t>(i);
        if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2])) {
            m_msg.Create(4, "Node %d has a non-finite coordinate.", nodeIds[i]);
            return -1;
        }
    }
    std::vector<int> acceptedElems;
    try {
        for (int k = 0; k < nElems; ++k) {
            if (!CKpElem::IsSupportedTopology(topologies[k]) || elemIds[k] < 1) continue;
            if (width < CKpElem::GetNumNodesForTopology(topologies[k])) {
                m_msg.Create(4,
                             "NewLayupMesh: connectivity width %d is smaller than the %d nodes "
                             "of element %d.",
                             width, CKpElem::GetNumNodesForTopology(topologies[k]), elemIds[k]);
                return -1;
            }
            acceptedElems.push_back(k);
        }
    } catch (...) {
        m_msg.Create(4, "Could not allocate memory.");
        return -1;
    }

    // 1. Empty the model.
    if (reinit() != 0) {
        m_msg.Create(4, "Could not reinitialise data arrays");
        return -1;
    }
    m_msg.Create(1, "Reinitialisation completed");
    CKpNodeStore* nodes = pNodes();
    CKpElemStore* elems = pElems();
    // Each element is linked to its nodes, checked and counted for the
    // facets as it is made, while it is in the cache: without a merge (which
    // changes the links) the passes of step 4 and make_facet's count then
    // need not read a million elements again. Any element those passes
    // would act on sends them back to do their own work.
    std::unique_ptr<FacetPlan> plan;
    bool relink = true, recheck = true;

    try {
        // 2. Nodes. Duplicates are found by sorting rather than by a store
        //    lookup per node, and the nodes go into the store in ascending
        //    id order, so that each merge of the store's pending buffer is
        //    an append: a large shuffled mesh loads in O(n log n).
        std::vector<int> acceptedNodes;
        acceptedNodes.reserve(static_cast<size_t>(nNodes));
        for (int i = 0; i < nNodes; ++i)
            if (nodeIds[i] >= 1) acceptedNodes.push_back(i);
        std::vector<char> duplicate(static_cast<size_t>(nNodes), 0);
        const std::vector<int> nodeOrder = SortAndMarkDuplicates(nodeIds, acceptedNodes, duplicate);
        for (int i : acceptedNodes)
            if (duplicate[i]) m_msg.Create(2, "Duplicate node ID %d ignored.", nodeIds[i]);
        // The store sized once for the nodes and the centre nodes the
        // facet build adds (one per quadratic shell) rather than grown
        // step by step.
        size_t quadratic = 0;
        for (int k : acceptedElems) quadratic += topologies[k] == 6 || topologies[k] == 8;
        nodes->resize(nodeOrder.size() + quadratic);
        {
            // A million nodes: the pool is held for the loop, not per node.
            CKpBlockPool::Hold pool(CKpNode::pool());
            for (int i : nodeOrder) {
                CKpNode* node = nodes->NewNode(nodeIds[i]);
                if (!node) {
                    m_msg.Create(4, "Could not allocate memory.");
                    return -1;
                }
                const double* p = xyz + 3 * static_cast<size_t>(i);
                node->setCKpPoint(p[0], p[1], p[2]);
                node->setIncompleteFlag(0);
                if (nodes->insert(node) != 0) {  // the store could not grow
                    delete node;
                    m_msg.Create(4, "Could not allocate memory.");
                    return -1;
                }
            }
        }
        m_msg.Create(1, "Nodes created");
        if (mergeTolerance <= 0.0) {
            try {
                plan.reset(new FacetPlan(*nodes));
                relink = recheck = false;
            } catch (const std::bad_alloc&) {
                // The passes of step 4 and make_facet do it all.
            }
        }

        // 3. Elements, the same way. Row k of the connectivity starts at
        //    k × width whether or not element k is taken.
        duplicate.assign(static_cast<size_t>(nElems), 0);
        const std::vector<int> elemOrder = SortAndMarkDuplicates(elemIds, acceptedElems, duplicate);
        for (int k : acceptedElems)
            if (duplicate[k]) m_msg.Create(2, "Duplicate element ID %d ignored.", elemIds[k]);
        // Not needed any more: given back before the mesh's peak.
        std::vector<int>().swap(acceptedElems);
        std::vector<char>().swap(duplicate);
        elems->resize(elemOrder.size());
        const CKpElem::PoolHold pools;
        for (size_t at = 0; at < elemOrder.size(); ++at) {
            const int k = elemOrder[at];
            // A shuffled mesh's records are read out of order: the rows
            // ahead are asked for early, so that linking an element does not
            // wait for its row.
            if (at + 8 < elemOrder.size()) {
                const size_t ahead = static_cast<size_t>(elemOrder[at + 8]);
                __builtin_prefetch(connectivity + ahead * width);
                __builtin_prefetch(topologies + ahead);
                __builtin_prefetch(elemIds + ahead);
                __builtin_prefetch(patchIds + ahead);
            }
            const int topology = topologies[k];
            CKpElem* elem = elems->NewElem(elemIds[k], CKpElem::GetGmtpForTopology(topology));
            if (!elem) {
                m_msg.Create(4, "Could not allocate memory.");
                return -1;
            }
            elem->seteltp(1);
            elem->SetConnectivityKor(CKpElem::GetNumNodesForTopology(topology),
                                     connectivity + static_cast<size_t>(k) * width);
            elem->SetPatchID(patchIds[k]);
            if (elems->insert(elem) != 0) {
                delete elem;
                m_msg.Create(4, "Could not allocate memory.");
                return -1;
            }
            if (plan) {
                if (!plan->add(elem)) relink = true;
                if (elem->CheckShape() != 0) recheck = true;
            }
        }
        m_msg.Create(1, "Elements created");
    } catch (...) {
        m_msg.Create(4, "Could not allocate memory.");
        return -1;
    }

    // 4. Merge coincident nodes, link elements to nodes, check shapes.
    if (mergeTolerance > 0.0) nodes->Merge(&m_msg, elems, nullptr, mergeTolerance);
    if (relink && node_reref(&m_msg, nodes, elems) <= 0) return -1;
    if (recheck) elems->CheckShape(&m_msg);
    m_msg.Create(1, "Mesh created");

    // 5. The faceted surface; a mesh without facets is still a model.
    if (pFacs()->CreateFacets(plan.get()) != 0)
        m_msg.Create(1, "Facets created");
    else
        m_msg.Create(1, "Could not generate facets");
    return 0;
}

int CKpLayup::NewLayup(double mergeTolerance, double) {
    // 1. Empty the model.
    if (reinit() != 0) {
        m_msg.Create(4, "Could not reinitialise data arrays");
        return -1;
    }
    m_msg.Create(1, "Reinitialisation completed");
    CKpNodeStore* nodes = pNodes();
    CKpElemStore* elems = pElems();

    // 2. The host's mesh. Without a host database there is nothing to ask.
    if (!m_db) return -1;
    if (m_db->getMesh(&m_msg, nodes, elems) != 0) {
        m_msg.Create(4, "Could not create new layup file");
        return -1;
    }
    m_msg.Create(1, "New Layup file created");

    // 3. Merge coincident nodes, link elements to nodes, check shapes.
    if (mergeTolerance > 0.0) nodes->Merge(&m_msg, elems, nullptr, mergeTolerance);
    if (node_reref(&m_msg, nodes, elems) <= 0) return -1;
    elems->CheckShape(&m_msg);

    // 4. The faceted surface.
    if (pFacs()->CreateFacets() != 0)
        m_msg.Create(1, "Facets created");
    else
        m_msg.Create(1, "Could not generate facets");
    return 0;
}

int CKpLayup::OpenLayup(const char* path, int compressed) {
    if (!path) path = "";
    // 1. A mistyped path, a directory, an empty file or one of another
    //    kind is refused before the open model is given up.
    const std::string problem = lyp_file_problem(path, compressed);
    if (!problem.empty()) {
        if (problem.compare(0, 3, "is ") == 0 && problem != "is a directory" &&
            problem != "is empty")
            m_msg.Create(4, "Layup file '%s' %s.", path, problem.c_str());
        else
            m_msg.Create(4, "Could not open file '%s' for reading. The file %s.", path,
                         problem.c_str());
        m_msg.Create(4, "Could not read layup file '%s'", path);
        return -1;
    }
    // 2. Empty the model.
    if (reinit() != 0) {
        m_msg.Create(4, "Could not reinitialise data arrays");
        return -1;
    }
    m_msg.Create(1, "Reinitialisation completed");

    // 3. Read the file named by the file record. A file that breaks part
    //    way leaves an empty model, never a fragment of one.
    m_file.SetName(path);
    LypFacets facets;  // the rebuild of step 4, begun while reading where it can be
    if (read_lyp(this, compressed, &facets) == 0) {
        m_msg.Create(4, "Could not read layup file '%s'", path);
        reinit();
        return -1;
    }
    m_msg.Create(1, "Layup file opened");

    // 4. The faceted surface, which the plies and offsets are placed on.
    if (facets.Create(this) == 0) {
        m_msg.Create(1, "Could not generate facets");
        return -1;
    }
    m_msg.Create(1, "Facets created");

    // 5. Plies without material or pattern go; the others and the layup
    //    are rebuilt on the mesh.
    LayerRecreate(&m_msg, pMats(), pPats(), pPlys());
    LayupRecreate(&m_msg, pElems(), pPlys(), &m_lyp);

    // 6. Offsets and tolerance regions onto the elements.
    if (pOffs()->Apply() == 0)
        m_msg.Create(1, "offset set to elements");
    else
        m_msg.Create(2, "Could not set offset to elements");
    if (set_all_tolerances(pElems(), pFacs(), pGTol(), pTols()) != 0)
        m_msg.Create(2, "Could not set tolerance to elements");
    else
        m_msg.Create(1, "tolerance set to elements");
    return 0;
}

int CKpLayup::SaveLayup(const char* path, int detail, int compress) {
    if (!path) path = "";
    m_msg.Create(1, "Save Layup file '%s' with detail=%d compress=%d", path, detail, compress);
    // The file record of the saved file: the path only, so that records 002
    // and 003 are written empty.
    CKpFile file;
    file.SetName(path);
    const int written =
        save_lyp(&m_msg, &file, &m_ansys, pNodes(), pElems(), pOrients(), pMats(), pPats(), pPlys(),
                 &m_lyp, pOffs(), pGTol(), pTols(), pSets(), &m_view, detail, compress);
    if (written == 0) {
        m_msg.Create(4, "Could not save Layup file");
        return -1;
    }
    m_msg.Create(1, "Layup file saved");
    return 0;
}

int CKpLayup::CloseLayup() {
    if (reinit() != 0) {
        m_msg.Create(4, "Could not reinitialise data arrays");
        return -1;
    }
    return 0;
}

int CKpLayup::CheckMatch(ILayup* other) {
    if (!other) return 0;
    if (pElems()->entries() == 0) {
        m_msg.Create(1, "Cannot check mesh as no elements exist");
        return 0;
    }
    // The comparison reads the other model's stores, so it must be a model
    // of this library.
    CKpLayup* model = dynamic_cast<CKpLayup*>(other);
    if (!model) {
        m_msg.Create(4, "Cannot check mesh against a model of another implementation");
        return -1;
    }
    const double tolerance = 0.001 * std::sqrt(pElems()->GetAverageArea(&m_msg));
    return CheckMesh(&m_msg, pNodes(), pElems(), model->pNodes(), model->pElems(), tolerance);
}
