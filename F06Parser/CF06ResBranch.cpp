#include "F06Parser/CF06ResBranch.h"

#include "layuplib/CKpRes.h"

CF06ResBranch::CF06ResBranch(CKpRes* res) : m_res(res), m_key(MakeKey(res)) {}

std::string CF06ResBranch::MakeKey(const CKpRes* res) {
    std::string key;
    if (!res) return key;
    for (int level = 4; level >= 0; --level) {
        key += res->name(level);
        key += '\x01';
    }
    return key;
}
