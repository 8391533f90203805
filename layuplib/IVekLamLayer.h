#ifndef PLYSTRAND_LAYUPLIB_IVEKLAMLAYER_H
#define PLYSTRAND_LAYUPLIB_IVEKLAMLAYER_H

// IVekLamLayer: what outside clients see of one layer of a laminate. CKpLamLyr derives from it
// first.
class IVekLamLayer {
  public:
    virtual ~IVekLamLayer() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKLAMLAYER_H
