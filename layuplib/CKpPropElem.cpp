#include "layuplib/CKpPropElem.h"

CKpPropElem::~CKpPropElem() = default;
