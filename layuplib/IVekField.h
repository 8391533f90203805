#ifndef PLYSTRAND_LAYUPLIB_IVEKFIELD_H
#define PLYSTRAND_LAYUPLIB_IVEKFIELD_H

// Field types.
enum EVekFieldType : int {
    EVekFieldThickness = 1,    // one value per element: a ply thickness, or an element angle
    EVekFieldOrientation = 3,  // six values per element: warp x y z, weft x y z
    EVekFieldRotation = 4      // one angle per element, radians
};

// IVekField: what outside clients see of a named set of per-element values
// (a thickness, a rotation, two in-plane directions per element) with its
// default values. CKpField derives from it first. The field belongs to the
// model's field store: clients never delete it. The operations keep this
// slot order.
class IVekField {
  public:
    // The name; "" when unset. Valid until the name changes.
    virtual const char* GetName() = 0;

    // The type.
    virtual EVekFieldType GetType() = 0;

    // 1 when every element holds exactly one value and all of them agree
    // within the tolerance (0.1 degree for a rotation field, 1e-12 for any
    // other), else 0; 0 for a field without element values. The check runs
    // again only after the values changed.
    virtual int IsConstantValue() = 0;

    // The constant value (the mean of the smallest and the largest value)
    // when IsConstantValue() is 1; else 0.0.
    virtual double GetConstantValue() = 0;

    // The number of elements holding values.
    virtual int GetNumElems() = 0;

    // The largest number of values any element holds (0 without elements).
    virtual int GetNumValuesPerElem() = 0;

    // Copies the default values into `values` (n doubles, written). 0; 1 when
    // n differs from GetNumValuesPerElem(); 2 for null values; 4 when n
    // differs from the number of default values. Nothing is written unless 0
    // is returned.
    virtual int GetDefaultValues(int n, double* values) = 0;

    // For the i-th element in ascending id order: ids[i] = its id and
    // values[i * m + j] = its value j (0.0 past its own count). `ids`: n
    // ints, `values`: n * m doubles, both written. 0; 1 when n differs from
    // GetNumElems(); 2 when m differs from GetNumValuesPerElem(); 3 without
    // value store; 4 for a null `ids` (n > 0) or a null `values` (n and m
    // above 0). Nothing is written unless 0 is returned.
    virtual int GetElemIdsAndValues(int n, int m, int* ids, double* values) = 0;

    // Renames the field (null is taken as ""). 0.
    virtual int SetName(const char* name) = 0;

  protected:
    ~IVekField() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKFIELD_H
