#include "layuplib/CKpPlyCty.h"

CKpPlyCty::~CKpPlyCty() = default;
