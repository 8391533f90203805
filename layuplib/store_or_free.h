#ifndef PLYSTRAND_LAYUPLIB_STORE_OR_FREE_H
#define PLYSTRAND_LAYUPLIB_STORE_OR_FREE_H

// Storing a new object in an object store in one step. A store's insert
// refuses an object only when it cannot grow (memory); the caller still owns
// the object then, and dropping it silently would leak it and lose its
// record without a word.

#include "layuplib/CKpMsg.h"

// Inserts `obj` into `store` (any object store with `int insert(T*)`).
// 0: stored, the store owns it. -1: `obj` is null, or the store refused it;
// the object is deleted and, with a log, the error "Could not store %s %d."
// (`what`, the object's id) is reported. `msg` may be null.
template <class Store, class T>
int store_or_free(Store* store, T* obj, CKpMsg* msg, const char* what) {
    if (!obj) return -1;
    if (store && store->insert(obj) == 0) return 0;
    if (msg) msg->Create(4, "Could not store %s %d.", what ? what : "object", obj->id());
    delete obj;
    return -1;
}

#endif
