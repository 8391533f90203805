#include "layuplib/CKpFlatPat.h"

CKpFlatPat::~CKpFlatPat() = default;
