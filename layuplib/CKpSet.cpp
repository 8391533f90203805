#include "layuplib/CKpSet.h"

CKpSet::CKpSet(int id) : CVekObject(id) {}

CKpSet::~CKpSet() = default;  // the id store deletes its entries
