#ifndef PLYSTRAND_LAYUPLIB_IVEKPLYLAYUP_H
#define PLYSTRAND_LAYUPLIB_IVEKPLYLAYUP_H

// IVekPlyLayup: what outside clients see of the model's layup, the ordered stack of plies. CKpLyp
// derives from it.
class IVekPlyLayup {
  public:
    virtual ~IVekPlyLayup() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKPLYLAYUP_H
