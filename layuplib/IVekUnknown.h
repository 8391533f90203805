#ifndef PLYSTRAND_LAYUPLIB_IVEKUNKNOWN_H
#define PLYSTRAND_LAYUPLIB_IVEKUNKNOWN_H

// IVekUnknown: the minimal component interface. A component counts its
// references and hands out its interfaces by name; whoever keeps a component
// holds one reference and gives it back with Release.
//
// The three operations keep this slot order so that components built outside
// the library (add-in modules) can be called through the same table. The
// destructor is protected and not virtual: a component is destroyed only by
// its own Release, and an implementation declares its virtual destructor
// after all interface operations.
class IVekUnknown {
  public:
    // Takes a reference. Returns the implementation's count (see each class).
    virtual int AddRef() = 0;
    // Gives a reference back; the last one destroys the component. Returns
    // the count left.
    virtual int Release() = 0;
    // `interfaceName`: the interface asked for (read); `out` (written): the
    // interface pointer, or null when the component does not offer it.
    // 0 when offered, non-zero otherwise.
    virtual int QueryInterface(const char* interfaceName, void** out) = 0;

  protected:
    ~IVekUnknown() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKUNKNOWN_H
