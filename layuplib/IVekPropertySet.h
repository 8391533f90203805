#ifndef PLYSTRAND_LAYUPLIB_IVEKPROPERTYSET_H
#define PLYSTRAND_LAYUPLIB_IVEKPROPERTYSET_H

class IVekLam;

// IVekPropertySet: what outside clients see of one property set made by
// property generation: a laminate, how the material orientation of its
// elements is expressed (as a few property words), the six property-set
// options of the run and the ids of its elements. CKpProp derives from it
// first. The property set belongs to the model's property-set store: clients
// never delete it.
//
// Property words. Each word is (word id, word type, value text):
//   word 13   type 5  the material: "m:<name prefix><laminate id>" (the
//                     laminate's own name), or "m:<material name>" in mode
//                     118 (the equivalent material);
//   word 20   the orientation: type 1 an angle in degrees ("%16.8G", cut to
//                     0.001 and wrapped into -180..180) or a field reference
//                     "f:<field name>"; type 2 a vector "<x,y,z>"; type 9 a
//                     frame "Coord<frame id>";
//   word 21   type 9  a frame "Coord<frame id>";
//   word 1079 type 3  the axis number "%d".
// Words by property mode, in order:
//   0                   none
//   1                   13, 21, 1079
//   2                   13, 21, 20 (angle)
//   3                   13, 20 (angle)
//   4, 7, 2004          13
//   5                   13, 20 (vector)
//   6, 8, 108           13, 20 (frame)
//   9                   13, 20 (field)
//   118                 13 (material name), 21
//   1108                13, 21
// Any other mode has no word table. A frame id is 0 when the property set
// has no frame; the laminate id is 0 when it has no laminate.
class IVekPropertySet {
  public:
    // Capacity in bytes, terminator included, that GetWordIdsTypesValues
    // assumes for each value buffer; longer values are cut to fit.
    enum { WORD_VALUE_LEN = 256 };

    // The name prefix of the run followed by the id ("%d"): "P7" for
    // property set 7 of a run named "P", "7" with an empty name. The text
    // belongs to the property set and stays valid until the next GetName.
    virtual const char* GetName() = 0;

    // Copies the six property-set options of the run into `options`
    // (6 ints, written). 0; 1 for a null array.
    virtual int GetOptions(int options[6]) = 0;

    // The number of property words of the property mode (table above; 0 for
    // a mode without a word table).
    virtual int GetNumWords() = 0;

    // Fills the n words in order: ids[k] the word id, types[k] the word type
    // and the value text into the buffer values[k] (n ints, n ints and n
    // buffers of WORD_VALUE_LEN bytes, written). 0; 1 when n differs from
    // GetNumWords (nothing written); 2 for a mode without a word table;
    // 3 when n > 0 and an array or a value buffer is null (nothing
    // written). n = 0 with a mode of no words gives 0 and writes nothing.
    virtual int GetWordIdsTypesValues(int n, int* ids, int* types, char** values) = 0;

    // The number of elements of the property set.
    virtual int GetNumElems() = 0;

    // The element ids in ascending order into `ids` (n ints, written). 0;
    // 1 when n differs from GetNumElems or `ids` is null with n > 0
    // (nothing written).
    virtual int GetElemIds(int n, int* ids) = 0;

    // The laminate (owned by the model's laminate store); null when the
    // property set has none.
    virtual IVekLam* GetLam() = 0;

    // The id of the coordinate frame; 0 without a frame.
    virtual int GetCoordID() = 0;

    // The axis number (mode 1: 3 or 2; otherwise 0).
    virtual int GetAxis() = 0;

  protected:
    ~IVekPropertySet() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKPROPERTYSET_H
