#include "layuplib/CKpPlotPoint.h"

CKpPlotPoint::~CKpPlotPoint() = default;
