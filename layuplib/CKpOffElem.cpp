#include "layuplib/CKpOffElem.h"

CKpOffElem::~CKpOffElem() = default;
