#ifndef PLYSTRAND_LAYUPLIB_CKPFTDN_H
#define PLYSTRAND_LAYUPLIB_CKPFTDN_H

// CKpFtdn: one entry of a fan of facets around a node, as walked by
// CalcFtdn (calculate_offset.h). A fan is a doubly linked chain: the entry
// of the starting facet sits in the middle, the facets found turning with
// clock -1 are chained on its lnk[0] side, those found with clock +1 on its
// lnk[1] side. The end entries have a null link on their outer side.
//
// Ownership: entries come from new; DeleteFtdn frees a whole chain.
struct CKpFtdn {
    // An entry of facet `facet` with the node at `vertex` (0..2) and
    // direction sign `sign`; both links null.
    CKpFtdn(int facet, int vertex, int sign)
        : ft(facet), vx(vertex), dn(sign), lnk{nullptr, nullptr} {}

    CKpFtdn(const CKpFtdn&) = delete;
    CKpFtdn& operator=(const CKpFtdn&) = delete;

    int ft;           // facet index; -1 unset
    int vx;           // vertex of the node in that facet, 0..2
    int dn;           // +1 or -1: the facet's orientation relative to the starting facet
    CKpFtdn* lnk[2];  // neighbouring entries: [0] toward the clock -1 end, [1] toward clock +1
};

#endif  // PLYSTRAND_LAYUPLIB_CKPFTDN_H
