#include "layuplib/read_lyp_facets.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
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

bool startsWith(const std::string& s, const char* prefix) {
    return s.compare(0, std::strlen(prefix), prefix) == 0;
}

// The messages of a log written to its message file, in the order they were
// issued: the lines between the file's opening lines and its closing line,
// with each "(...repeated N times...)" notice standing for the N - 1 issues
// of the message before it that the log folded. False for anything else.
bool parseMessageFile(const std::string& file,
                      std::vector<std::pair<int, std::string>>& messages) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < file.size()) {
        const size_t lf = file.find('\n', at);
        if (lf == std::string::npos) return false;  // every line ends with its line feed
        lines.push_back(file.substr(at, lf - at));
        at = lf + 1;
    }
    if (lines.size() < 3 || !startsWith(lines[0], "$# Layup Lib ") ||
        lines[1] != "$# Message file opened" || lines.back() != "$# Close message file")
        return false;
    messages.clear();
    for (size_t i = 2; i + 1 < lines.size(); ++i) {
        const std::string& line = lines[i];
        int severity = 1;
        size_t skip = 3;
        if (startsWith(line, "$# ERROR: ")) {
            severity = 4;
            skip = 10;
        } else if (startsWith(line, "$# WARNING: ")) {
            severity = 2;
            skip = 12;
        } else if (!startsWith(line, "$# ")) {
            return false;
        }
        const std::string text = line.substr(skip);
        int count = 0;
        char tail = 0;
        if (std::sscanf(text.c_str(), "(...repeated %d times...)%c", &count, &tail) == 1 &&
            text == "(...repeated " + std::to_string(count) + " times...)") {
            if (messages.empty() || count < 2) return false;
            const std::pair<int, std::string> last = messages.back();
            for (int k = 1; k < count; ++k) messages.push_back(last);
            continue;
        }
        messages.emplace_back(severity, text);
    }
    return true;
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

        // The messages go to a log of their own, whose message file in memory
        // keeps them in order.
        const int fd = memfd_create("lyp-facets", MFD_CLOEXEC);
        if (fd < 0) return;
        struct Closer {
            int fd;
            ~Closer() { close(fd); }
        } closer{fd};
        char name[64];
        std::snprintf(name, sizeof(name), "/proc/self/fd/%d", fd);
        bool opened = false;
        {
            CKpMsg held;
            if (held.FileOpen(name) == 0) {
                opened = true;
                // As CKpFacetStore::CreateFacets.
                m_result = make_facet(&held, model->pNodes(), model->pElems(), model->pFacs()) == 1
                               ? 2
                               : 0;
                held.FileClose();
            }
        }
        std::string file;
        if (opened && lseek(fd, 0, SEEK_SET) == 0) {
            char block[4096];
            for (;;) {
                const ssize_t n = read(fd, block, sizeof(block));
                if (n <= 0) {
                    if (n < 0) file.clear();
                    break;
                }
                file.append(block, static_cast<size_t>(n));
            }
        }
        // Facets made whose messages cannot be told are made again by Create.
        m_made = opened && parseMessageFile(file, m_messages);
    } catch (...) {
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
