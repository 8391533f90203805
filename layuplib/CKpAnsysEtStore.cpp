#include "layuplib/CKpAnsysEtStore.h"

CKpAnsysEtStore::CKpAnsysEtStore() : CVekObjectStore<CKpAnsysEt>(64) {}

CKpAnsysEtStore::~CKpAnsysEtStore() = default;
