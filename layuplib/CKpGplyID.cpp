#include "layuplib/CKpGplyID.h"

CKpGplyID::CKpGplyID(int id) : CVekObject(id), m_thickness(0.0) {}

CKpGplyID::~CKpGplyID() = default;
