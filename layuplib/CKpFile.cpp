#include "layuplib/CKpFile.h"

void CKpFile::Clear() {
    m_name.Clear();
    m_type.Clear();
    m_comment.Clear();
}
