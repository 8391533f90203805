#include "F06Parser/CF06ResBranch.h"

#include "layuplib/CKpRes.h"

CF06ResBranch::CF06ResBranch(CKpRes* res) : m_res(res), m_key(MakeKey(res)) {}

std::string CF06ResBranch::MakeKey(const CKpRes* res) {
    std::string key;
    MakeKey(res, key);
    return key;
}

void CF06ResBranch::MakeKey(const CKpRes* res, std::string& key) {
    key.clear();
    if (!res) return;
    for (int level = 4; level >= 0; --level) {
        key += res->name(level);
        key += '\x01';
    }
}
