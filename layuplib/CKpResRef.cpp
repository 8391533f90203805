#include "layuplib/CKpResRef.h"

CKpResRef::CKpResRef(int layer, CKpRes* result) : CVekObject(layer), m_res(result) {}

CKpResRef::~CKpResRef() = default;
