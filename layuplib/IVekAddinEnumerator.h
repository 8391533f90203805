#ifndef PLYSTRAND_LAYUPLIB_IVEKADDINENUMERATOR_H
#define PLYSTRAND_LAYUPLIB_IVEKADDINENUMERATOR_H

#include "layuplib/IVekUnknown.h"

// IVekAddinEnumerator: lists the (component name, interface name) pairs that
// a source of components offers. Walk it with Reset, then Next until it
// returns non-zero, reading GetComponent and GetInterface after each 0.
//
// Every operation returns an int. Name outputs write at most `len` bytes
// into `buffer` and end it with a terminating zero (longer names are cut).
// The slot order is fixed; an implementation declares its virtual
// destructor after GetInterface.
class IVekAddinEnumerator : public IVekUnknown {
  public:
    // Back before the first pair. 0.
    virtual int Reset() = 0;
    // Moves to the next pair: 0 when there is one, non-zero when the list is
    // exhausted.
    virtual int Next() = 0;
    // Names of the current pair; non-zero when there is no current pair (or
    // the buffer is unusable).
    virtual int GetComponent(char* buffer, int len) = 0;
    virtual int GetInterface(char* buffer, int len) = 0;

  protected:
    ~IVekAddinEnumerator() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKADDINENUMERATOR_H
