#include "layuplib/CKpGply.h"

CKpGply::CKpGply(int id) : CVekObject(id), m_mid(0), m_pieces(0) {}

CKpGply::~CKpGply() = default;
