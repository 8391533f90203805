#include "layuplib/CKpTolElem.h"

CKpTolElem::~CKpTolElem() = default;
