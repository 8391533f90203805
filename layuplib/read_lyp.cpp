#include "layuplib/read_lyp.h"

#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "layuplib/CKpBlockPool.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpLypPlyStore.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/input_file_check.h"
#include "layuplib/node_reref.h"
#include "layuplib/read_lyp_facets.h"
#include "layuplib/read_lyp_reader.h"
#include "layuplib/read_lypgroup.h"
#include "layuplib/user_break.h"

namespace {

// A line that carries no record: a "**" banner or nothing but blanks.
bool isBanner(const std::string& text) {
    if (text.compare(0, 2, "**") == 0) return true;
    return text.find_first_not_of(" \t\r") == std::string::npos;
}

// CKpElemStore::CheckShape followed by node_reref, in one walk over the
// elements instead of two: the same deletions, links and messages in the
// same order (shape failures from the highest id down, then each element
// with a missing node in ascending id). Elements that fail the shape check
// are not linked: they are deleted before any link would count. Throws
// std::bad_alloc before any message or change other than links.
void checkShapesAndLinkNodes(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems) {
    std::vector<CKpElem*> badShape;
    std::vector<CKpElem*> unlinked;
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it) {
        CKpElem* e = it.key();
        if (!e) continue;
        if (e->CheckShape() != 0) {
            badShape.push_back(e);
            continue;
        }
        bool missing = false;
        const int n = e->getnnod();
        for (int i = 0; i < n; ++i) {
            CKpNode* node = nodes->find(e->getunid(i));
            e->setckpnodes(i, node);
            missing |= node == nullptr;
        }
        if (missing) unlinked.push_back(e);
    }

    for (auto k = badShape.rbegin(); k != badShape.rend(); ++k) {
        if (msg)
            msg->Create(2, "Shape check failed for element %d, deleting from the element store.",
                        (*k)->id());
        elems->eraseObject(*k);
    }
    for (CKpElem* e : unlinked) {
        if (!msg) break;
        const int n = e->getnnod();
        for (int i = 0; i < n; ++i)
            if (!e->getckpnodes(i))
                msg->Create(2, "Missing node %d id %d on element id %d.", i + 1, e->getunid(i),
                            e->id());
        msg->Create(2, "Deleting element id %d.", e->id());
    }
    for (CKpElem* e : unlinked) elems->eraseObject(e);
}

// LayupReadPost; `linked`: the shape check passed and the node links are
// made already (LypFacets::Begin), so that step is left out. With `linked`
// the facet rebuild may be running: the steps after it read no node and
// change no node, and of the elements only their orientation links, which
// the rebuild does not read.
int readPost(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems, CKpMatStore* mats,
             CKpPatStore* pats, CKpPlyStore* plys, CKpLyp* layup, CKpOrientStore* orients,
             const LypRenumbered* renumbered, bool linked) {
    if (!nodes || !elems || !mats || !pats || !plys || !layup || !orients) return 0;

    // 1.-4. Ids, shapes, nodes, pattern elements.
    UpdateIds(mats, pats, plys, layup, renumbered);
    if (!linked) {
        try {
            checkShapesAndLinkNodes(msg, nodes, elems);
        } catch (const std::bad_alloc&) {
            // Nothing but links was done yet: the two steps one after the
            // other give the same result, and cope without memory.
            elems->CheckShape(msg);
            if (node_reref(msg, nodes, elems) <= 0) return 0;
        }
    }
    if (elem_reref(msg, elems, pats) != 0) return 0;

    // 5. Materials.
    mats->SetDefaultExternalNameAndId();
    mats->ConvertPaintedToProjected();

    // 6.-7. Plies to their materials and patterns.
    CVekObjectStoreIterator<CKpPly> ip(*plys);
    while (++ip) {
        CKpPly* ply = ip.key();
        ply->setMat(mats->find(ply->mtrlid()));
        ply->setPat(pats->find(ply->pttrnid()));
    }
    plys->ConvertPaintedToProjected();

    // 8. Layup plies to their plies.
    CVekObjectStoreIterator<CKpLypPly> il(layup->LypPlys());
    while (++il) il.key()->setPly(plys->find(il.key()->lyrid()));

    // 9. Orientations.
    orients->SetElemReferences();
    orients->SetDefaultIfNeeded();
    return 0;
}

// A record that makes or changes a node or an element.
bool meshRecord(int code) {
    return (code >= 101 && code <= 102) || (code >= 201 && code <= 209);
}

}  // namespace

std::string lyp_file_problem(const char* path, int compressed, long* line) {
    if (line) *line = 0;
    std::string problem = input_file_problem(path);
    if (!problem.empty()) return problem;
    LypStream in;
    if (in.Open(path, compressed) != 0) return "cannot be opened";
    LypGroup group;
    for (;;) {
        const int got = read_lypgroup(in, group);
        if (line) *line = group.line;
        if (got < 0) return std::string("cannot be read at line ") + std::to_string(group.line) +
                            " (" + in.Error() + ")";
        if (got == 0) return "is not a layup file: it holds no header record 000";
        if (isBanner(group.text)) continue;
        // The header record: code 000 written as three digits.
        if (group.text.compare(0, 3, "000") == 0 &&
            (group.text.size() == 3 || group.text[3] == ' ' || group.text[3] == '\r'))
            return std::string();
        return "is not a layup file: its first record (line " + std::to_string(group.line) +
               ") is not the header record 000";
    }
}

int read_lyp(CKpLayup* model, int compressed) {
    return read_lyp(model, compressed, nullptr);
}

int read_lyp(CKpLayup* model, int compressed, LypFacets* facets) {
    if (!model) return 0;
    CKpMsg* msg = model->pMsg();

    // 1. The version this build reads and writes.
    int apiVersion = 0, supported = 0, libVersion = 0;
    model->GetVersions(&apiVersion, &supported, &libVersion);

    // 2. Open.
    const std::string path = model->pFile()->GetName();
    LypStream in;
    if (in.Open(path.c_str(), compressed) != 0) {
        msg->Create(4, "Could not open file '%s' for reading.", path.c_str());
        return 0;
    }

    // The read makes a node, an element and its arrays, or a pattern element
    // for almost every record, and the linking after it may delete some:
    // their pools are held for the whole of it rather than locked per object.
    // They are let go before waiting for a facet rebuild on another thread.
    std::optional<CKpElem::PoolHold> elemPools(std::in_place);
    std::optional<CKpBlockPool::Hold> nodePool(std::in_place, CKpNode::pool());
    std::optional<CKpBlockPool::Hold> patElemPool(std::in_place, CKpPatElem::pool());
    auto waitForFacets = [&] {
        patElemPool.reset();
        nodePool.reset();
        elemPools.reset();
        facets->Wait();
    };
    // The facet rebuild is begun at the first pattern record (the pattern
    // section follows the nodes and elements); `linked` while it stands.
    bool tried = facets == nullptr;
    bool linked = false;

    // 3. Dispatch every line until the end of the input or a user break.
    bool ok = true;
    bool ended = false;  // the "** END" banner was read
    long lastLine = 0;
    int fileVersion = 0;
    LypRenumbered renumbered;
    try {
        LypReader reader(model, path.c_str(), supported);
        LypLine group;
        for (;;) {
            const int got = read_lypline(in, group);
            if (got < 0) {
                msg->Create(4, "Could not read line %ld of layup file '%s': %s.", group.line,
                            path.c_str(), in.Error());
                ok = false;
                break;
            }
            if (got == 0) break;
            lastLine = group.line;
            if (!tried && group.code >= 401 && group.code <= 430) {
                tried = true;
                std::string rest;
                long long offset = 0;
                int carry = LYP_SCAN_NONE;
                // A gzip stream is not looked ahead in: a mesh record after
                // the patterns is met below instead.
                if (in.Compressed())
                    linked = facets->Begin(model, std::string(), 0, LYP_SCAN_NONE);
                else if (!in.BufferMayBegin(LypFacets::kMeshCodes, &rest, &offset, &carry))
                    linked = facets->Begin(model, rest, offset, carry);
            }
            if (linked && meshRecord(group.code)) {
                // The mesh changes after all: the rebuild is taken back before
                // the record is read and made again after the reading.
                waitForFacets();
                facets->Drop(model);
                linked = false;
            }
            if (group.code == 0 && group.size >= 6 && std::memcmp(group.text, "** END", 6) == 0)
                ended = true;
            if (!reader.Record(group)) {
                ok = false;
                break;
            }
            if (user_break(model->pGUI(), 10000)) {
                ended = true;  // the user's stop is no cut file
                break;
            }
        }
        // Every layup file closes with its END banner: without it the file
        // was cut, however well its last record read.
        if (ok && !ended) {
            msg->Create(4,
                        "Layup file '%s' ends early at line %ld without its \"** END\" banner; "
                        "it may be cut.",
                        path.c_str(), lastLine);
            ok = false;
        }
        reader.Finish();
        fileVersion = reader.FileVersion();
        renumbered = reader.Renumbered();
    } catch (const std::bad_alloc&) {
        msg->Create(4, "Could not allocate memory.");
        ok = false;
    }

    // 4. Close. A failure that the read reported already is not repeated.
    if (in.Close() != 0 && ok) msg->Create(4, "Could not close file.");
    if (!ok) {
        // The model is emptied by the caller: nothing is to be running.
        if (facets) {
            waitForFacets();
            facets->Drop(model);
        }
        return 0;
    }

    // 5. Older files are brought up to date on the next save.
    if (fileVersion < supported)
        msg->Create(1,
                    "The selected layup file %s of version %d is earlier than the supported "
                    "version %d. On saving, the file will be converted to the supported version "
                    "using default values.",
                    model->pFile()->GetName(), fileVersion, supported);

    // 6. Link what was read.
    model->init();
    readPost(msg, model->pNodes(), model->pElems(), model->pMats(), model->pPats(),
             model->pPlys(), model->pLyp(), model->pOrients(), &renumbered, linked);
    // The rebuild never runs beyond the reading.
    if (facets) waitForFacets();
    return 1;
}

int LayupReadPost(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems, CKpMatStore* mats,
                  CKpPatStore* pats, CKpPlyStore* plys, CKpLyp* layup, CKpOrientStore* orients,
                  const LypRenumbered* renumbered) {
    return readPost(msg, nodes, elems, mats, pats, plys, layup, orients, renumbered, false);
}

int UpdateIds(CKpMatStore* mats, CKpPatStore* pats, CKpPlyStore* plys, CKpLyp* layup,
              const LypRenumbered* renumbered) {
    if (!mats || !pats || !plys || !layup) return 0;

    std::vector<CKpPly*> plies;
    plies.reserve(static_cast<size_t>(plys->entries()));
    CVekObjectStoreIterator<CKpPly> ip(*plys);
    while (++ip) plies.push_back(ip.key());

    // A ply taken by one object of a step is not taken again in that step
    // (two objects of one kind may share an old id).
    std::vector<char> taken(plies.size(), 0);

    // 1. Materials.
    std::vector<LypOldId<CKpMat>> materials;
    if (renumbered) {
        materials = renumbered->materials;
    } else {
        CVekObjectStoreIterator<CKpMat> im(*mats);
        while (++im)
            if (im.key()->oldid() > 0)
                materials.push_back({im.key(), im.key()->oldid(), im.key()->lyrtp()});
    }
    for (const LypOldId<CKpMat>& m : materials) {
        for (size_t i = 0; i < plies.size(); ++i) {
            CKpPly* ply = plies[i];
            if (taken[i] || ply->mtrlid() != m.oldId || ply->lyrtp() != m.type) continue;
            ply->setMtrlid(m.object->id());
            taken[i] = 1;
        }
    }
    if (!renumbered) return 0;

    // 2. Patterns.
    taken.assign(plies.size(), 0);
    for (const LypOldId<CKpPat>& p : renumbered->patterns) {
        for (size_t i = 0; i < plies.size(); ++i) {
            CKpPly* ply = plies[i];
            if (taken[i] || ply->pttrnid() != p.oldId || ply->lyrtp() != p.type) continue;
            ply->setPttrnid(p.object->id());
            taken[i] = 1;
        }
    }

    // 3. Layup plies. Type 0 marks a layup ply as moved.
    for (const LypOldId<CKpPly>& p : renumbered->plies) {
        CVekObjectStoreIterator<CKpLypPly> il(layup->LypPlys());
        while (++il) {
            CKpLypPly* lp = il.key();
            if (lp->lyrid() != p.oldId || lp->lyrtp() != p.type) continue;
            lp->setLyrid(p.object->id());
            lp->setLyrtp(0);
        }
    }
    return 0;
}
