#include "layuplib/read_lyp_facets.h"

#include <cmath>
#include <future>
#include <new>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/make_facet.h"
#include "layuplib/read_lypgroup.h"

namespace {

// Ids first..first + n - 1 from 1 on, each once, noted so by the store:
// its lookups then only read. Merges the store.
template <class Store>
bool denseIds(Store* store) {
    return store->findOnlyReads() && store->minId() >= 1;
}

// +0.0, as a node or element is made with (not -0.0).
bool plainZero(double v) {
    return v == 0.0 && !std::signbit(v);
}

// Whether the node holds what the rebuild writes as a node just made does:
// no direction, offset range 0 .. 0, no offset factor (no vertex moves).
bool nodeAsMade(const CKpNode* node) {
    return node && plainZero(node->getCKpDirnX()) && plainZero(node->getCKpDirnY()) &&
           plainZero(node->getCKpDirnZ()) && plainZero(node->getmax_off()) &&
           plainZero(node->getmin_off()) && plainZero(node->getfac_off());
}

// Whether the element holds what the rebuild writes as an element just made
// does: direction flag 0, not selected, every facet index 0.
bool elemAsMade(const CKpElem* e) {
    if (e->getetdnfg() != 0 || e->getSltd() != 0) return false;
    for (int j = 0; j < e->getnfac(); ++j)
        if (e->getfacs(j) != 0) return false;
    return true;
}

}  // namespace

LypFacets::LypFacets() : m_touched(false), m_made(false), m_result(0) {}

LypFacets::~LypFacets() {
    Wait();
}

void LypFacets::Wait() {
    if (m_thread.joinable()) m_thread.join();
}

bool LypFacets::Begin(CKpLayup* model, const std::string& path, long long offset,
                      int carry) {
    if (!model || m_thread.joinable() || m_made) return false;
    CKpNodeStore* nodes = model->pNodes();
    CKpElemStore* elems = model->pElems();
    CKpFacetStore* facets = model->pFacs();
    if (!nodes || !elems || !facets || facets->entries() != 0) return false;
    if (!denseIds(nodes) || !denseIds(elems)) return false;

    // The thread looks at the rest of the file while the links are made
    // here; it builds only once they are all made.
    std::promise<bool> linked;
    try {
        m_thread =
            std::thread(&LypFacets::Run, this, model, path, offset, carry, linked.get_future());
    } catch (...) {
        return false;
    }

    // The shape check and node links that follow the reading, where they
    // neither delete nor report anything.
    bool ok = true;
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (ok && ++it) {
        CKpElem* e = it.key();
        const int gmtp = e ? e->getgmtp() : 0;
        if (!e || (e->geteltp() == 1 && (gmtp == 2 || gmtp == 12)) || !elemAsMade(e) ||
            e->CheckShape() != 0) {
            ok = false;
            break;
        }
        const int n = e->getnnod();
        for (int i = 0; ok && i < n; ++i) {
            CKpNode* node = nodes->find(e->getunid(i));
            if (node)
                e->setckpnodes(i, node);
            else
                ok = false;
        }
    }
    linked.set_value(ok);
    return ok;
}

void LypFacets::Run(CKpLayup* model, std::string path, long long offset, int carry,
                    std::future<bool> linked) {
    try {
        bool go = path.empty() || !lyp_file_may_begin(path.c_str(), offset, carry, kMeshCodes);
        // The reading changes no node while the patterns are read.
        CVekObjectStoreIterator<CKpNode> it(*model->pNodes());
        while (go && ++it) go = nodeAsMade(it.key());
        if (!linked.get() || !go) return;

        // The messages are held and issued by Create, in the order made.
        CKpMsg held;
        held.HoldMessages(&m_messages);
        m_touched = true;
        // As CKpFacetStore::CreateFacets.
        m_result =
            make_facet(&held, model->pNodes(), model->pElems(), model->pFacs()) == 1 ? 2 : 0;
        // Facets whose messages were not all held are made again by Create.
        m_made = !held.HeldLost();
    } catch (...) {
        m_made = false;
    }
}

void LypFacets::Drop(CKpLayup* model) {
    m_made = false;
    m_messages.clear();
    if (!m_touched) return;
    m_touched = false;
    // Back to the values checked by Begin and Run. No node moved (no offset
    // factor) and none was added (no quadratic shell).
    model->pFacs()->reinit();
    CVekObjectStoreIterator<CKpNode> in(*model->pNodes());
    while (++in) {
        CKpNode* node = in.key();
        node->setCKpDirn(0.0, 0.0, 0.0);
        node->setmax_off(0.0);
        node->setmin_off(0.0);
    }
    CVekObjectStoreIterator<CKpElem> ie(*model->pElems());
    while (++ie) {
        CKpElem* e = ie.key();
        e->setetdnfg(0);
        e->setSltd(0);
        for (int j = 0; j < e->getnfac(); ++j) e->setfacs(j, 0);
    }
}

int LypFacets::Create(CKpLayup* model) {
    Wait();
    if (!m_made) {
        Drop(model);
        return model->pFacs()->CreateFacets();
    }
    m_made = false;
    m_touched = false;
    CKpMsg* msg = model->pMsg();
    for (const auto& m : m_messages) msg->Create(m.first, "%s", m.second.c_str());
    m_messages.clear();
    return m_result;
}
