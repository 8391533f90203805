#include "layuplib/CVekObject.h"

CVekObject::CVekObject(int id) : m_id(id) {}

CVekObject::CVekObject(const CVekObject& other) : m_id(other.m_id) {}

CVekObject::~CVekObject() = default;
