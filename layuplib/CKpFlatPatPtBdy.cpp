#include "layuplib/CKpFlatPatPtBdy.h"

CKpFlatPatPtBdy::~CKpFlatPatPtBdy() = default;
