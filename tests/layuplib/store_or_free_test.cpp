#include "layuplib/store_or_free.h"

#include <gtest/gtest.h>

#include "layuplib/CVekObjectStore.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/RefusingStore.h"

namespace {

// A stored object that counts its destructions.
struct Probe : CVekObject {
    static int destroyed;
    explicit Probe(int id) : CVekObject(id) {}
    ~Probe() override { ++destroyed; }
};
int Probe::destroyed = 0;

using ProbeStore = CVekObjectStore<Probe>;

}  // namespace

TEST(StoreOrFree, StoresOrFreesTheObjectAndSaysWhich) {
    Probe::destroyed = 0;
    MessageCapture cap("store_or_free");

    // A store that takes it: stored, owned by the store, nothing said.
    ProbeStore taking(64);
    Probe* kept = new Probe(3);
    EXPECT_EQ(store_or_free(&taking, kept, &cap.log, "probe"), 0);
    EXPECT_EQ(taking.find(3), kept);
    EXPECT_EQ(Probe::destroyed, 0);
    EXPECT_EQ(cap.body(), "");

    // A store that cannot take it: freed, the error names kind and id.
    RefusingStore<ProbeStore> full(64);
    EXPECT_EQ(store_or_free(&full, new Probe(7), &cap.log, "probe"), -1);
    EXPECT_EQ(full.refused, 1);
    EXPECT_EQ(full.entries(), 0);
    EXPECT_EQ(Probe::destroyed, 1);
    EXPECT_EQ(cap.body(), "$# ERROR: Could not store probe 7.\n");

    // Without a log or a kind it is still freed; a missing store refuses too.
    cap.reset();
    EXPECT_EQ(store_or_free(&full, new Probe(8), nullptr, "probe"), -1);
    EXPECT_EQ(store_or_free(&full, new Probe(9), &cap.log, nullptr), -1);
    EXPECT_EQ(store_or_free(static_cast<ProbeStore*>(nullptr), new Probe(10), nullptr, "probe"),
              -1);
    EXPECT_EQ(Probe::destroyed, 4);
    EXPECT_EQ(cap.body(), "$# ERROR: Could not store object 9.\n");

    // No object: nothing to store, nothing asked of the store.
    EXPECT_EQ(store_or_free(&full, static_cast<Probe*>(nullptr), &cap.log, "probe"), -1);
    EXPECT_EQ(full.refused, 3);
    taking.eraseAllObjects();
}
