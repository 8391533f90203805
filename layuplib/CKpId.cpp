#include "layuplib/CKpId.h"

CKpId::~CKpId() = default;
