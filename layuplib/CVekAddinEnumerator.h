#ifndef PLYSTRAND_LAYUPLIB_CVEKADDINENUMERATOR_H
#define PLYSTRAND_LAYUPLIB_CVEKADDINENUMERATOR_H

#include <string>
#include <vector>

#include "layuplib/IVekAddinEnumerator.h"

// CVekAddinEnumerator: a plain in-memory list of (component, interface)
// pairs for writers of add-in modules, whose InstantiateVekAddIn hands one
// out for ("VekAddinEnumerator", "IVekAddinEnumerator"). Nothing inside the
// library creates one. It needs only the standard library, so a module can
// compile this source in without linking to the library.
//
// Reference counting: a new object has count 0; AddRef returns the new
// count; Release returns the count left and deletes the object (made with
// `new`) when it reaches 0. A module hands the enumerator out with one
// reference taken, which the caller gives back.
class CVekAddinEnumerator : public IVekAddinEnumerator {
  public:
    // Count 0, position -1, no pair.
    CVekAddinEnumerator();
    CVekAddinEnumerator(const CVekAddinEnumerator&) = delete;
    CVekAddinEnumerator& operator=(const CVekAddinEnumerator&) = delete;

    int AddRef() override;
    int Release() override;
    // Offers "IVekAddinEnumerator" only (exact bytes): *out = this, 0, no
    // reference taken; any other name: *out = null, 1 (null `out`: 1).
    int QueryInterface(const char* interfaceName, void** out) override;
    // Position -1. 0.
    int Reset() override;
    // Advances: 0 while the position is on a pair, 1 once it has passed the
    // last.
    int Next() override;
    // The current pair's names, cut to len - 1 characters and terminated: 1
    // when the position is on no pair, the buffer is null or len < 1;
    // GetInterface also 2 when the pair has no interface name. 0 after
    // copying.
    int GetComponent(char* buffer, int len) override;
    int GetInterface(char* buffer, int len) override;

    // Appends a pair (both names read). 1 for a null name or when memory
    // runs out (nothing appended); 0.
    int AddInterface(const char* component, const char* interfaceName);

  protected:
    virtual ~CVekAddinEnumerator();

  private:
    int m_refCount;
    int m_position;
    std::vector<std::string> m_components;
    std::vector<std::string> m_interfaces;
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKADDINENUMERATOR_H
