#include "layuplib/CVekListItem.h"

CVekListItem::~CVekListItem() = default;
