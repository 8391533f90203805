#include "layuplib/CKpElemRefStore.h"

CKpElemRefStore::CKpElemRefStore() : CVekObjectStore<CKpElemRef>(64) {}

CKpElemRefStore::~CKpElemRefStore() = default;
