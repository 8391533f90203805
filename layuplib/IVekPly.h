#ifndef PLYSTRAND_LAYUPLIB_IVEKPLY_H
#define PLYSTRAND_LAYUPLIB_IVEKPLY_H

// IVekPly: what outside clients see of one ply: its definition, simulation, queries, exports and
// plots. CKpPly derives from it first.
class IVekPly {
  public:
    virtual ~IVekPly() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKPLY_H
