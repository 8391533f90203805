// Object store against the standard associative containers: bulk insertion
// of N objects in ascending and in random id order, then a lookup of every
// id (in random order), and the lookup of dense ids in id order (as a mesh
// walks its nodes) beside a plain index into an array of pointers.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <random>
#include <unordered_map>
#include <vector>

#include "layuplib/CVekObjectStore.h"

namespace {

struct Item : CVekObject {
    explicit Item(int id) : CVekObject(id) {}
};

// N items with ids 1..N and the two insertion orders.
struct Fixture {
    std::vector<Item> items;
    std::vector<Item*> ascending;
    std::vector<Item*> shuffled;
    explicit Fixture(int n) {
        items.reserve(n);
        for (int id = 1; id <= n; ++id) items.emplace_back(id);
        for (Item& item : items) ascending.push_back(&item);
        shuffled = ascending;
        std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(42));
    }
};

const std::vector<Item*>& order(const Fixture& f, bool random) {
    return random ? f.shuffled : f.ascending;
}

// The store's destructor deletes nothing, so the items outlive each round.
void BM_StoreInsert(benchmark::State& state, bool random) {
    Fixture f(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CVekObjectStore<Item> store(64);
        for (Item* item : order(f, random)) store.insert(item);
        benchmark::DoNotOptimize(store.find(1));  // includes the final merge
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_MapInsert(benchmark::State& state, bool random) {
    Fixture f(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::map<int, Item*> map;
        for (Item* item : order(f, random)) map.emplace(item->id(), item);
        benchmark::DoNotOptimize(map.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_UnorderedInsert(benchmark::State& state, bool random) {
    Fixture f(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::unordered_map<int, Item*> map;
        for (Item* item : order(f, random)) map.emplace(item->id(), item);
        benchmark::DoNotOptimize(map.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_StoreFind(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    CVekObjectStore<Item> store(64);
    for (Item* item : f.shuffled) store.insert(item);
    for (auto _ : state)
        for (Item* item : f.shuffled) benchmark::DoNotOptimize(store.find(item->id()));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Hands a looked-up pointer on as a value in a register, so that the slot
// is really read (DoNotOptimize of a vector element only takes its address
// with GCC); the memory clobber keeps both loops from hoisting their loads.
inline void keep(const Item* item) { asm volatile("" : : "r"(item) : "memory"); }

// Dense ids 1..N looked up in id order.
void BM_StoreFindInOrder(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    CVekObjectStore<Item> store(64);
    for (Item* item : f.shuffled) store.insert(item);
    store.find(1);  // the merge is not part of the lookups
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state)
        for (int id = 1; id <= n; ++id) keep(store.find(id));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The reference: the same ids as indices into an array of the pointers.
void BM_PlainIndexInOrder(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    const std::vector<Item*>& index = f.ascending;
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state)
        for (int id = 1; id <= n; ++id) keep(index[id - 1]);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

template <class Map>
void BM_MapFind(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    Map map;
    for (Item* item : f.shuffled) map.emplace(item->id(), item);
    for (auto _ : state)
        for (Item* item : f.shuffled) benchmark::DoNotOptimize(map.find(item->id()));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// x4 steps from 1,000; the last step is 1,000,000.
void sizes(benchmark::internal::Benchmark* b) {
    for (int n = 1000; n < 1000000; n *= 4) b->Arg(n);
    b->Arg(1000000);
    b->Unit(benchmark::kMicrosecond);
}

BENCHMARK_CAPTURE(BM_StoreInsert, ascending, false)->Apply(sizes);
BENCHMARK_CAPTURE(BM_MapInsert, ascending, false)->Apply(sizes);
BENCHMARK_CAPTURE(BM_UnorderedInsert, ascending, false)->Apply(sizes);
BENCHMARK_CAPTURE(BM_StoreInsert, random, true)->Apply(sizes);
BENCHMARK_CAPTURE(BM_MapInsert, random, true)->Apply(sizes);
BENCHMARK_CAPTURE(BM_UnorderedInsert, random, true)->Apply(sizes);
BENCHMARK(BM_StoreFind)->Apply(sizes);
BENCHMARK(BM_StoreFindInOrder)->Apply(sizes);
BENCHMARK(BM_PlainIndexInOrder)->Apply(sizes);
BENCHMARK_TEMPLATE(BM_MapFind, std::map<int, Item*>)->Apply(sizes);
BENCHMARK_TEMPLATE(BM_MapFind, std::unordered_map<int, Item*>)->Apply(sizes);

}  // namespace

BENCHMARK_MAIN();
