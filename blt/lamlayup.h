#ifndef PLYSTRAND_BLT_LAMLAYUP_H
#define PLYSTRAND_BLT_LAMLAYUP_H

// The command-language bindings: the initialisation entry, the registration
// of the kp_ built-ins and the wrapper every built-in runs.
//
// A built-in is one row of a table: its registration position, name,
// argument kinds (i r s, >i >r >s by address, [] arrays) and a thunk that
// calls its one Layup function with the arguments one to one. The wrapper:
//   1. a count other than the row's: SmErrorInt2(103, 7000018, expected,
//      actual), returned;
//   2. each argument in order: a record of the wrong value type (or an
//      array for a scalar, a real array for i or r excepted) gives
//      SmErrorInt(103, 7000019, position); an i given a real takes it
//      truncated toward zero (a NaN or a value outside 32 bits: 7000019); an
//      r given an integer takes it as the nearest float; an array reporting
//      a negative count gives 7000075; an empty array the warning
//      SmErrorInt(101, 7000008, position) and a null address; a string
//      array becomes a text-pointer array from MemAllocX (pool 16; refused:
//      7000019 at its position);
//   3. an array shorter than the least count its row gives (from other
//      arguments' values) is refused with 7000019 at its position;
//   4. the call; then every text-pointer array goes back (MemFreeX, pool
//      16), also after an error;
//   5. the result record: value type 1, form 10, integer value the status.
//      After an error the record is untouched, no function runs, and the
//      error call's result is returned.
// No state survives a call.

#include "host/MorvekHost.h"

// One argument of the running built-in as its function sees it, with what
// the host gave: the element count of an array and the text capacity
// (longest text + 1) of a string record.
struct BltArg {
    int i = 0;
    float r = 0.0f;
    void* p = nullptr;  // strings, addresses, arrays (null when empty)
    int count = 0;
    int capacity = 0;
};

extern "C" {

// Registers the built-ins (lamlayupbltadd); creates no model.
void PlystrandBltInit(void);
// SmBltAdd once per built-in, in position order.
void lamlayupbltadd(void);

}  // extern "C"

// The arguments of the built-in running now (null, 0 outside a call).
const BltArg* BltCurrentArgs(int* count);
// The element count of the running built-in's array argument that starts at
// `address`; -1 outside a call or for an address that starts none.
int BltArrayElems(const void* address);
// True when `address` is an array argument of the running built-in with
// fewer than `need` elements: a state-sized output the function must not
// write. False outside a call (the caller's array is taken as large enough).
inline bool BltArrayShort(const void* address, long long need) {
    const int elems = BltArrayElems(address);
    return elems >= 0 && elems < need;
}

#endif  // PLYSTRAND_BLT_LAMLAYUP_H
