#include "layuplib/CKpPatSplit.h"

CKpPatSplit::~CKpPatSplit() = default;
