#ifndef PLYSTRAND_PLATFORM_MORVEKSTUBSTATE_H
#define PLYSTRAND_PLATFORM_MORVEKSTUBSTATE_H

// The stand-in host's process-wide state, shared by its source files only
// (clients use platform/MorvekStub.h).

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/MorvekStub.h"

namespace morvekstub {

struct Node {
    int id;
    float xyz[3];
};

// An element's node ids are elemNodes[first .. first + count - 1].
struct Elem {
    int id;
    int topology;
    int count;
    std::size_t first;
};

// Position by id: a direct table for the usual ids (1 up to a few million),
// a hash map for the rest.
class IdIndex {
  public:
    // The position of `id`, or -1.
    long long find(int id) const;
    void add(int id, std::size_t position);

  private:
    static constexpr int kDenseLimit = 1 << 24;
    std::vector<std::uint32_t> m_dense;  // position + 1; 0: absent
    std::unordered_map<int, std::size_t> m_sparse;
};

struct Database {
    std::string name;
    std::vector<Node> nodes;  // in the order added
    IdIndex nodeIndex;
    std::vector<Elem> elems;  // in the order added
    std::vector<int> elemNodes;
    IdIndex elemIndex;

    const Node* node(int id) const;
    const Elem* elem(int id) const;
    // Appends without checking the id (callers check first).
    void addNode(int id, const float xyz[3]);
    void addElem(int id, int topology, int count, const int* nodeIds);
    void clear();
};

// A symbol record's storage in the stand-in (SmSym::host[0]).
struct SymData {
    bool array = false;
    int count = 0;  // reported by SmSymArrayElems (may differ from the storage)
    int max = 0;    // longest text of a string record
    std::vector<int> ints;
    std::vector<float> reals;
    std::vector<char> text;  // strings: (max + 1) bytes per element
};

struct ArgError {
    int cls, code, a, b;  // b -1 for SmErrorInt
};

struct State {
    Database db;
    ElemsCall lastElems;
    int nextHandle = 1;  // never reset: a stale handle never names a new segment
    std::vector<int> createdHandles, deletedHandles;
    std::vector<Drawing> drawings;
    int refreshes = 0;
    std::vector<Message> messages;
    std::deque<int> answers;
    bool abortRequested = false;
    std::map<std::string, std::deque<int>> failures;
    std::vector<ArgError> argErrors;
    // Kept across a reset: what the library registered and still holds.
    std::vector<std::pair<std::string, SmBltFn>> builtins;  // registration order
    std::map<int, long long> blocksInUse;                   // by pool
};

State& state();

// True (with *status set) when a failure is queued for `name`; consumes it.
bool takeFailure(const char* name, int* status);

// Node count an element of this topology code has: 2 (bar), 3, 4, 6, 8 (the
// shells), 28, 20, 26, 25 (solids of 8, 20, 6 and 15 nodes); 0 for other
// codes (then the row's width counts).
int nodesOfTopology(int topology);

}  // namespace morvekstub

#endif  // PLYSTRAND_PLATFORM_MORVEKSTUBSTATE_H
