#include "layuplib/CKpFlatPatPt.h"

CKpFlatPatPt::~CKpFlatPatPt() = default;
