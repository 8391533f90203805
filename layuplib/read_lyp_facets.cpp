#include "layuplib/read_lyp_facets.h"

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

// Ids first..first + n - 1, each once: the store's lookups then only read.
// Merges the store.
template <class Store>
bool denseIds(Store* store) {
    const long long n = store->entries();
    if (n < 1) return false;
    const long long first = store->minId();
    return first >= 1 && static_cast<long long>(store->maxId()) - first + 1 == n;
}

}  // namespace

LypFacets::LypFacets() : m_made(false), m_result(0) {}

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
        if (!e || (e->geteltp() == 1 && (gmtp == 2 || gmtp == 12)) || e->CheckShape() != 0) {
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
        const bool mesh = lyp_file_may_begin(path.c_str(), offset, carry, kMeshCodes);
        if (!linked.get() || mesh) return;

        // The messages are held and issued by Create, in the order made.
        CKpMsg held;
        held.HoldMessages(&m_messages);
        // As CKpFacetStore::CreateFacets.
        m_result =
            make_facet(&held, model->pNodes(), model->pElems(), model->pFacs()) == 1 ? 2 : 0;
        m_made = true;
    } catch (...) {
        // Facets whose messages were not all held are made again by Create.
        m_made = false;
    }
}

int LypFacets::Create(CKpLayup* model) {
    Wait();
    if (!m_made) return model->pFacs()->CreateFacets();
    m_made = false;
    CKpMsg* msg = model->pMsg();
    for (const auto& m : m_messages) msg->Create(m.first, "%s", m.second.c_str());
    m_messages.clear();
    return m_result;
}
