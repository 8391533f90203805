#include "layuplib/CKpEvent.h"

CKpEvent::~CKpEvent() = default;
