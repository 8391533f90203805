#include "platform/MorvekStub.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/MorvekStubState.h"

namespace morvekstub {

// ---- State ----

long long IdIndex::find(int id) const {
    if (id >= 0 && id < kDenseLimit) {
        const size_t k = static_cast<size_t>(id);
        return k < m_dense.size() ? static_cast<long long>(m_dense[k]) - 1 : -1;
    }
    const auto found = m_sparse.find(id);
    return found == m_sparse.end() ? -1 : static_cast<long long>(found->second);
}

void IdIndex::add(int id, size_t position) {
    if (id >= 0 && id < kDenseLimit) {
        const size_t k = static_cast<size_t>(id);
        if (k >= m_dense.size())
            m_dense.resize(
                std::min(std::max(k + 1, 2 * m_dense.size()), static_cast<size_t>(kDenseLimit)), 0);
        m_dense[k] = static_cast<std::uint32_t>(position + 1);
    } else {
        m_sparse.emplace(id, position);
    }
}

const Node* Database::node(int id) const {
    const long long k = nodeIndex.find(id);
    return k < 0 ? nullptr : &nodes[static_cast<size_t>(k)];
}

const Elem* Database::elem(int id) const {
    const long long k = elemIndex.find(id);
    return k < 0 ? nullptr : &elems[static_cast<size_t>(k)];
}

void Database::addNode(int id, const float xyz[3]) {
    nodeIndex.add(id, nodes.size());
    nodes.push_back(Node{id, {xyz[0], xyz[1], xyz[2]}});
}

void Database::addElem(int id, int topology, int count, const int* nodeIds) {
    elemIndex.add(id, elems.size());
    elems.push_back(Elem{id, topology, count, elemNodes.size()});
    elemNodes.insert(elemNodes.end(), nodeIds, nodeIds + count);
}

void Database::clear() {
    *this = Database();
}

State& state() {
    static State s;
    return s;
}

bool takeFailure(const char* name, int* status) {
    ++state().calls[name];
    if (!state().throws.empty() && state().throws.erase(name) != 0) {
        std::vector<int> tooLarge;
        tooLarge.reserve(tooLarge.max_size() + 1);
    }
    auto& failures = state().failures;
    if (failures.empty()) return false;
    const auto found = failures.find(name);
    if (found == failures.end()) return false;
    *status = found->second.front();
    found->second.pop_front();
    if (found->second.empty()) failures.erase(found);
    return true;
}

int nodesOfTopology(int topology) {
    switch (topology) {
        case 2:
        case 3:
        case 4:
        case 6:
        case 8:
        case 20:
            return topology;
        case 25:
            return 15;
        case 26:
            return 6;
        case 28:
            return 8;
        default:
            return 0;
    }
}

const std::vector<Drawing>& Drawings() {
    return state().drawings;
}
const std::vector<Message>& Messages() {
    return state().messages;
}
const std::vector<int>& CreatedHandles() {
    return state().createdHandles;
}
const std::vector<int>& DeletedHandles() {
    return state().deletedHandles;
}
int Refreshes() {
    return state().refreshes;
}
int NodeCount() {
    return static_cast<int>(state().db.nodes.size());
}
int ElemCount() {
    return static_cast<int>(state().db.elems.size());
}
const ElemsCall& LastElemsCall() {
    return state().lastElems;
}

}  // namespace morvekstub

using morvekstub::state;
using morvekstub::takeFailure;

namespace {

// ---- Mesh table (3) ----

int meshCountElems(int* count) {
    int status = 0;
    if (takeFailure("mesh.0", &status)) return status;
    if (!count) return 2;
    *count = static_cast<int>(state().db.elems.size());
    return 0;
}

int meshGetElemIds(int count, int* ids) {
    int status = 0;
    if (takeFailure("mesh.1", &status)) return status;
    const auto& elems = state().db.elems;
    if (count < 0 || (count > 0 && !ids)) return 2;
    if (static_cast<size_t>(count) > elems.size()) return 1;
    for (int e = 0; e < count; ++e) ids[e] = elems[e].id;
    return 0;
}

int meshGetElemEtop(int count, int* ids, int* topologies) {
    int status = 0;
    if (takeFailure("mesh.2", &status)) return status;
    if (count < 0 || (count > 0 && (!ids || !topologies))) return 2;
    for (int e = 0; e < count; ++e) {
        const morvekstub::Elem* elem = state().db.elem(ids[e]);
        if (!elem) return 1;
        topologies[e] = elem->topology;
    }
    return 0;
}

int meshGetNodesForElems(int count, int slots, int* ids, int* nodeIds) {
    int status = 0;
    if (takeFailure("mesh.4", &status)) return status;
    if (count < 0 || slots < 1 || (count > 0 && (!ids || !nodeIds))) return 2;
    const auto& db = state().db;
    for (int e = 0; e < count; ++e) {
        const morvekstub::Elem* elem = db.elem(ids[e]);
        if (!elem) return 1;
        int* row = nodeIds + static_cast<size_t>(e) * slots;
        for (int s = 0; s < slots; ++s)
            row[s] = s < elem->count ? db.elemNodes[elem->first + s] : 0;
    }
    return 0;
}

int meshGetNodes(int count, int* nodeIds, int* a, int* b, float* xyz) {
    int status = 0;
    if (takeFailure("mesh.5", &status)) return status;
    if (count < 0 || (count > 0 && (!nodeIds || !xyz))) return 2;
    for (int k = 0; k < count; ++k) {
        const morvekstub::Node* node = state().db.node(nodeIds[k]);
        if (!node) return 1;
        if (a) a[k] = 0;
        if (b) b[k] = 0;
        xyz[3 * k] = node->xyz[0];
        xyz[3 * k + 1] = node->xyz[1];
        xyz[3 * k + 2] = node->xyz[2];
    }
    return 0;
}

// ---- Graphics table (6) ----

void record(morvekstub::Drawing::Kind kind, int handle, int colour, const float* p, int nPoints,
            float size, int i0, int i1, const char* label) {
    morvekstub::Drawing d{
        kind, handle, colour, {0, 0, 0, 0, 0, 0}, size, {i0, i1}, label ? label : ""};
    for (int k = 0; k < 3 * nPoints && p; ++k) d.points[k] = p[k];
    state().drawings.push_back(d);
}

int graLine(int handle, int colour, float* start, float* end) {
    int status = 0;
    if (takeFailure("graphics.0", &status)) return status;
    record(morvekstub::Drawing::Line, handle, colour, start, 1, 0.0f, 0, 0, nullptr);
    float* last = state().drawings.back().points + 3;
    for (int k = 0; k < 3 && end; ++k) last[k] = end[k];
    return 0;
}

int graNewHandle(int* handle) {
    int status = 0;
    if (takeFailure("graphics.1", &status)) return status;
    if (!handle) return 2;
    *handle = state().nextHandle++;
    state().createdHandles.push_back(*handle);
    return 0;
}

int graRefresh() {
    int status = 0;
    if (takeFailure("graphics.2", &status)) return status;
    ++state().refreshes;
    return 0;
}

int graMarker(int handle, int colour, float* point, int a, int b) {
    int status = 0;
    if (takeFailure("graphics.3", &status)) return status;
    record(morvekstub::Drawing::Marker, handle, colour, point, 1, 0.0f, a, b, nullptr);
    return 0;
}

int graDelete(int handle) {
    int status = 0;
    if (takeFailure("graphics.4", &status)) return status;
    state().deletedHandles.push_back(handle);
    return 0;
}

// ---- Message table (12) and interface table (13) ----

int msgPoll0() {
    int status = 0;
    if (takeFailure("message.0", &status)) return status;
    return state().abortRequested ? 1 : 0;
}

int msgPoll1() {
    int status = 0;
    if (takeFailure("message.1", &status)) return status;
    return state().abortRequested ? 0 : 1;
}

int msgSend(int code, int severity, int base, int, void*, int one, ...) {
    int status = 0;
    if (takeFailure("message.2", &status)) return status;
    va_list args;
    va_start(args, one);
    const char* text = va_arg(args, const char*);
    va_end(args);
    state().messages.push_back(morvekstub::Message{code, severity, base, text ? text : ""});
    if (severity == 1 || severity == 2 || severity == 4) return 0;
    auto& answers = state().answers;
    if (answers.empty()) return 0;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

int ifPoll3() {
    int status = 0;
    if (takeFailure("interface.3", &status)) return status;
    return 0;
}

template <class Fn>
MorvekHostEntry asEntry(Fn fn) {
    return reinterpret_cast<MorvekHostEntry>(fn);
}

}  // namespace

extern "C" {

int MorvekStubGetter(int version, int tableId, MorvekHostTable* slot) {
    int status = 0;
    if (takeFailure("MorvekStubGetter", &status)) return status;
    if (!slot) return 2;
    if (version != 8) return 1;
    // Filled on the first call: loading the library constructs nothing.
    static MorvekHostEntry mesh[6] = {asEntry(&meshCountElems),       asEntry(&meshGetElemIds),
                                      asEntry(&meshGetElemEtop),      nullptr,
                                      asEntry(&meshGetNodesForElems), asEntry(&meshGetNodes)};
    static MorvekHostEntry graphics[5] = {asEntry(&graLine), asEntry(&graNewHandle),
                                          asEntry(&graRefresh), asEntry(&graMarker),
                                          asEntry(&graDelete)};
    static MorvekHostEntry message[3] = {asEntry(&msgPoll0), asEntry(&msgPoll1), asEntry(&msgSend)};
    static MorvekHostEntry iface[4] = {nullptr, nullptr, nullptr, asEntry(&ifPoll3)};
    switch (tableId) {
        case 3:
            *slot = mesh;
            return 0;
        case 6:
            *slot = graphics;
            return 0;
        case 12:
            *slot = message;
            return 0;
        case 13:
            *slot = iface;
            return 0;
        default:
            return 1;
    }
}

void MorvekStubReset(void) {
    morvekstub::State& s = state();
    const int nextHandle = s.nextHandle;
    auto builtins = std::move(s.builtins);
    auto blocks = std::move(s.blocksInUse);
    s = morvekstub::State();
    s.nextHandle = nextHandle;
    s.builtins = std::move(builtins);
    s.blocksInUse = std::move(blocks);
}

void MorvekStubOpenDatabase(const char* name) {
    state().db.name = name ? name : "";
}

int MorvekStubAddNode(int id, float x, float y, float z) {
    auto& db = state().db;
    if (db.node(id)) return -1;
    const float xyz[3] = {x, y, z};
    db.addNode(id, xyz);
    return 0;
}

int MorvekStubAddElem(int id, int topology, int count, const int* nodeIds) {
    auto& db = state().db;
    if (count < 1 || count > morvekstub::kMaxElemNodes || !nodeIds || db.elem(id)) return -1;
    db.addElem(id, topology, count, nodeIds);
    return 0;
}

int MorvekStubGetNode(int id, float xyz[3]) {
    const morvekstub::Node* node = state().db.node(id);
    if (!node || !xyz) return -1;
    for (int k = 0; k < 3; ++k) xyz[k] = node->xyz[k];
    return 0;
}

int MorvekStubGetElem(int id, int* topology, int nodeIds[8]) {
    const auto& db = state().db;
    const morvekstub::Elem* elem = db.elem(id);
    if (!elem || !topology || !nodeIds) return -1;
    *topology = elem->topology;
    for (int s = 0; s < 8; ++s) nodeIds[s] = s < elem->count ? db.elemNodes[elem->first + s] : 0;
    return 0;
}

void MorvekStubFail(const char* functionName, int status) {
    if (functionName) state().failures[functionName].push_back(status);
}

void MorvekStubThrow(const char* functionName) {
    if (functionName) state().throws.insert(functionName);
}

void MorvekStubAnswer(int answer) {
    state().answers.push_back(answer);
}

void MorvekStubRequestAbort(int on) {
    state().abortRequested = on != 0;
}

}  // extern "C"
