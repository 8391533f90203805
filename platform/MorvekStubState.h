#ifndef PLYSTRAND_PLATFORM_MORVEKSTUBSTATE_H
#define PLYSTRAND_PLATFORM_MORVEKSTUBSTATE_H

// The stand-in host's process-wide state, shared by its source files only
// (clients use platform/MorvekStub.h).

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <tuple>
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

struct Frame {
    int type = 1;
    float origin[3] = {0, 0, 0};
    float axes[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};  // x, y, z axis
};

struct Field {
    std::string name;
    std::map<int, float> values;  // by element id
};

// One property word of a region.
struct PropWord {
    int word = 0;
    int dataType = 0;
    int materialId = 0;
    float reals[3] = {0, 0, 0};
    int frameId = 0;
    int fieldId = 0;
};

struct Region {
    std::string name;
    std::vector<PropWord> words;  // in the order written
};

struct LamLayer {
    int materialId = 0;
    double thickness = 0.0;
    double angle = 0.0;  // degrees
    int globalPlyId = 0;
};

struct Material {
    std::string name, description;
    int code = 0;
    int directionality = 0;
    int isLaminate = 0;
    std::vector<std::pair<int, int>> models;   // model, specified (0 or 1)
    std::vector<std::pair<int, float>> words;  // word, value, as written
    bool hasStack = false;                     // a stacking table is set
    double offset = 0.0;
    int noOffset = 1;
    std::vector<LamLayer> layers;
};

struct LoadCase {
    std::string name, description;
};

struct Subcase {
    std::string name, title;
};

struct Layer {
    std::string label;  // trailing blanks dropped
    int position = 0;
};

// A result's values: (layer id, location 'C' or 'N', element id) -> values.
struct Result {
    int type = 1;  // 1 scalar, 2 vector, 3 tensor
    std::string code;
    std::map<std::tuple<int, char, int>, std::vector<float>> values;
};

// A result's key: load case, subcase, primary label, secondary label.
using ResultKey = std::tuple<int, int, std::string, std::string>;

struct Database {
    std::string name;
    std::vector<Node> nodes;  // in the order added
    IdIndex nodeIndex;
    std::vector<Elem> elems;  // in the order added
    std::vector<int> elemNodes;
    IdIndex elemIndex;

    std::map<int, Frame> frames;
    std::map<int, Field> fields;
    std::map<int, Region> regions;
    std::unordered_map<int, int> elemRegion;  // element id -> region id
    std::map<int, Material> materials;
    std::map<int, LoadCase> loadCases;
    std::map<std::pair<int, int>, Subcase> subcases;  // (load case, subcase)
    std::map<int, Layer> layers;
    std::map<ResultKey, Result> results;
    // Result label ids: primary and secondary labels by first use, from 1.
    std::vector<std::string> primaries, secondaries;
    std::map<int, std::string> sectionPositions;  // not saved

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
    std::set<std::string> throws;
    std::map<std::string, int> calls;
    std::vector<ArgError> argErrors;
    // Kept across a reset: what the library registered and still holds.
    std::vector<std::pair<std::string, SmBltFn>> builtins;  // registration order
    std::map<int, long long> blocksInUse;                   // by pool
};

State& state();

// Counts a call of `name`; throws when a throw is queued for `name` (which
// it consumes); then true (with *status set) when a failure is queued for
// `name`, which it consumes. Every host function starts with it.
bool takeFailure(const char* name, int* status);

// Node count an element of this topology code has: 2 (bar), 3, 4, 6, 8 (the
// shells), 28, 20, 26, 25 (solids of 8, 20, 6 and 15 nodes); 0 for other
// codes (then the row's width counts).
int nodesOfTopology(int topology);

// Node ids an element of the stand-in may hold.
constexpr int kMaxElemNodes = 64;

// Id 1 above the largest key of `m` (1 when empty).
template <class Map>
int nextId(const Map& m) {
    return m.empty() ? 1 : m.rbegin()->first + 1;
}

// Copies `text` into `out` of `size` bytes (cut, always zero-ended).
void copyText(const std::string& text, char* out, std::size_t size);

// The id of a result label (1 up), added when `add` and new; 0 when absent.
int labelId(std::vector<std::string>& labels, const std::string& label, bool add);

}  // namespace morvekstub

#endif  // PLYSTRAND_PLATFORM_MORVEKSTUBSTATE_H
