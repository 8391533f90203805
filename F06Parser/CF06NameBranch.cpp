#include "F06Parser/CF06NameBranch.h"

#include <cstring>
#include <new>

#include "F06Parser/F06ResBuild.h"
#include "layuplib/CKpRes.h"

CF06NameBranch::CF06NameBranch(int level, CKpRes* res)
    : m_level(level), m_res(res), m_children(10, 1) {}

CF06NameBranch* CF06NameBranch::FindChild(const CKpRes* res) const {
    const char* name = res->name(m_level);
    for (int i = m_children.GetSize() - 1; i >= 0; --i) {
        CF06NameBranch* child = m_children.GetAt(i);
        if (child && child->m_res && std::strcmp(child->m_res->name(m_level), name) == 0)
            return child;
    }
    return nullptr;
}

int CF06NameBranch::InsertElem(CKpRes* res, CKpResElem* elem) {
    if (!res || !elem) return -1;
    CF06NameBranch* node = this;
    int created = 0;
    while (node->m_level < 5) {
        CF06NameBranch* child = node->FindChild(res);
        if (!child) {
            child = new (std::nothrow) CF06NameBranch(node->m_level + 1, res);
            if (!child || node->m_children.Add(child) < 0) {
                delete child;
                delete elem;
                return -1;
            }
            created = 1;
        }
        node = child;
    }
    FileResElem(node->m_res, elem);
    return created;
}

int CF06NameBranch::RemoveBranch(CKpRes* res) {
    if (!res) return -1;
    CF06NameBranch* path[6] = {this};
    int index[6] = {0};
    for (int depth = 0; depth < 5; ++depth) {
        CF06NameBranch* node = path[depth];
        const char* name = res->name(node->m_level);
        int found = -1;
        for (int i = node->m_children.GetSize() - 1; i >= 0 && found < 0; --i) {
            CF06NameBranch* child = node->m_children.GetAt(i);
            if (child && child->m_res && std::strcmp(child->m_res->name(node->m_level), name) == 0)
                found = i;
        }
        if (found < 0) return -1;
        index[depth + 1] = found;
        path[depth + 1] = node->m_children.GetAt(found);
    }
    // Delete the leaf, then every node above that has no child left.
    int depth = 5;
    for (; depth >= 1; --depth) {
        path[depth - 1]->m_children.Delete(index[depth]);
        if (path[depth - 1]->m_children.GetSize() > 0 || depth == 1) break;
    }
    // Nodes that remain may remember the removed result: any result below
    // them carries the same names down to their level.
    for (int d = depth - 1; d >= 1; --d) {
        if (path[d]->m_res == res) path[d]->m_res = path[d]->m_children.GetAt(0)->m_res;
    }
    return 0;
}
