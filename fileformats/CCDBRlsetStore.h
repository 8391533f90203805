#ifndef PLYSTRAND_FILEFORMATS_CCDBRLSETSTORE_H
#define PLYSTRAND_FILEFORMATS_CCDBRLSETSTORE_H

#include "fileformats/CCDBRlset.h"
#include "layuplib/CVekObjectStore.h"

// CCDBRlsetStore: real constant sets by set number (capacity 64). Owns its
// sets: the destructor deletes them.
class CCDBRlsetStore : public CVekObjectStore<CCDBRlset> {
  public:
    CCDBRlsetStore() : CVekObjectStore<CCDBRlset>(64) {}
    ~CCDBRlsetStore() override;
    CCDBRlsetStore(const CCDBRlsetStore&) = delete;
    CCDBRlsetStore& operator=(const CCDBRlsetStore&) = delete;
};

// CCDBOwningStore<T>: an object store of the CDB run records (CElemRc,
// CRcLam, CLamRc; capacity 64) that deletes its objects when it goes away.
template <class T>
class CCDBOwningStore : public CVekObjectStore<T> {
  public:
    CCDBOwningStore() : CVekObjectStore<T>(64) {}
    ~CCDBOwningStore() override { this->eraseAllObjects(); }
    CCDBOwningStore(const CCDBOwningStore&) = delete;
    CCDBOwningStore& operator=(const CCDBOwningStore&) = delete;
};

#endif  // PLYSTRAND_FILEFORMATS_CCDBRLSETSTORE_H
