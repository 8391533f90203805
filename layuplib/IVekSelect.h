#ifndef PLYSTRAND_LAYUPLIB_IVEKSELECT_H
#define PLYSTRAND_LAYUPLIB_IVEKSELECT_H

// IVekSelect: element selection as clients see it: pick elements of the
// model by id and get back the connected groups they form, with their
// boundary and interior elements and boundary rings. The model owns the
// object and hands it out through ILayup::GetSelect.
class IVekSelect {
  public:
    // Forgets the chosen ids and the groups; the results become invalid. 0.
    virtual int Clear() = 0;

    virtual ~IVekSelect() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKSELECT_H
