#include "fileformats/CCDBNblock.h"

#include <cstdio>

#include "fileformats/CDBNumber.h"
#include "layuplib/CKpNode.h"

void CCDBNblock::init() {
    m_id = 0;
    m_x = m_y = m_z = 0.0;
}

void CCDBNblock::Set(const CKpNode* node) {
    if (!node) return;
    m_id = node->id();
    m_x = node->getCKpPointX();
    m_y = node->getCKpPointY();
    m_z = node->getCKpPointZ();
}

int CCDBNblock::Format(char* out) const {
    int n = std::snprintf(out, 32, "%8d%8d%8d", m_id, 0, 0);
    n += CdbFormatF16(out + n, m_x);
    if (m_y != 0.0 || m_z != 0.0) n += CdbFormatF16(out + n, m_y);
    if (m_z != 0.0) n += CdbFormatF16(out + n, m_z);
    out[n++] = '\n';
    out[n] = '\0';
    return n;
}

void CCDBNblock::Get(CKpStr& line) const {
    char buf[160];
    Format(buf);
    line = buf;
}
