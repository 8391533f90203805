#include "fileformats/CCDBEblock.h"

#include <cstdio>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemAnsys.h"
#include "layuplib/CKpMat.h"

int CCDBEblock::Fields(const CKpElem* elem, const CKpMat* defaultMaterial, long long* f) {
    if (!elem) return 0;
    const CKpElemAnsys* a = elem->pAnsys();
    auto ansys = [a](int i) { return a ? a->Get(i) : 0; };
    const int gmtp = elem->getgmtp();
    // Stored positions (from 0) in ANSYS order.
    static const int quad4[] = {0, 1, 2, 3};
    static const int quad8[] = {0, 2, 4, 6, 1, 3, 5, 7};
    static const int tria3[] = {0, 1, 2, 2};
    static const int tria6[] = {0, 2, 4, 4, 1, 3, 4, 5};
    const int* order = nullptr;
    int nnod = 0;
    switch (gmtp) {
        case 1:
            order = quad4, nnod = 4;
            break;
        case 2:
            order = quad8, nnod = 8;
            break;
        case 11:
            order = tria3, nnod = 4;
            break;
        case 12:
            order = tria6, nnod = 8;
            break;
        default:
            break;
    }
    int mat = ansys(0);
    if (mat == 0 && defaultMaterial) mat = defaultMaterial->id();
    int n = 0;
    f[n++] = mat;
    f[n++] = ansys(1);
    f[n++] = ansys(2);
    f[n++] = (gmtp == 1 || gmtp == 11) ? elem->pid() : 0;
    f[n++] = ansys(3);
    f[n++] = ansys(4);
    f[n++] = ansys(5);
    f[n++] = ansys(6);
    f[n++] = nnod;
    f[n++] = ansys(7);
    f[n++] = elem->id();
    for (int k = 0; k < nnod; ++k) f[n++] = elem->getunid(order[k]);
    return n;
}

int CCDBEblock::Format(const CKpElem* elem, const CKpMat* defaultMaterial, char* out) {
    long long f[19];
    const int count = Fields(elem, defaultMaterial, f);
    int n = 0;
    for (int k = 0; k < count; ++k) n += std::snprintf(out + n, 24, "%8lld", f[k]);
    out[n++] = '\n';
    out[n] = '\0';
    return n;
}

void CCDBEblock::SetGet(const CKpElem* elem, const CKpMat* defaultMaterial, CKpStr& line) {
    char buf[512];
    Format(elem, defaultMaterial, buf);
    line = buf;
}
