#include "layuplib/CKpFacRef.h"

CKpFacRef::CKpFacRef(int facet, int vertex, int nextId, int otherId)
    : m_facet(facet), m_nd{vertex, nextId, otherId} {}

CKpFacRef::~CKpFacRef() = default;
