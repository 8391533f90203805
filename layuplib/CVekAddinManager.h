#ifndef PLYSTRAND_LAYUPLIB_CVEKADDINMANAGER_H
#define PLYSTRAND_LAYUPLIB_CVEKADDINMANAGER_H

#include <string>
#include <vector>

#include "layuplib/CVekAddin.h"

class IVekUnknown;

// CVekAddinManager: one lookup over the components built into the library
// (registered by name with AddBuiltin) and those of add-in modules on the
// search path (see CVekAddinModuleEnumerator). It lists every available
// (component name, interface name) pair and hands out an interface object
// for a pair.
//
// Built-in objects hold one reference from the manager, given back by Clear
// and by the destructor; every object Instantiate hands out carries one more
// reference, which the receiver gives back with Release. An object from a
// module stays valid until Clear or the destructor unloads its module;
// Clear releases the built-ins first, then unloads the modules in load
// order.
class CVekAddinManager : public CVekAddin {
  public:
    // No built-in, empty enumerated list, a module enumerator with an empty
    // search path.
    CVekAddinManager();
    // Clear, then the module enumerator is cleared and released.
    ~CVekAddinManager();

    // Replaces the search path (folders separated by ";"). Null: 1, nothing
    // changes. 0 otherwise.
    int SetSearchPath(const char* path);
    // Appends a built-in pair with its object and takes a reference on the
    // object. 1 when any argument is null (or memory runs out; nothing
    // registered then); 0 otherwise.
    int AddBuiltin(const char* component, const char* interfaceName, IVekUnknown* object);
    // Releases every built-in object once and forgets the built-ins; clears
    // the module enumerator. The enumerated list stays until rebuilt. 0.
    int Clear();
    // Rebuilds the enumerated list: every built-in pair in registration
    // order, then the pairs of the modules found (never one whose interface
    // is "IVekAddinEnumerator"). 0; 1 when memory runs out.
    int CreateEnumerateList();
    // Number of pairs in the enumerated list.
    int GetEnumerateSize() const { return static_cast<int>(m_enumComponents.size()); }
    // Copies the names of pair `index` into the two buffers (each cut to its
    // length - 1 characters and terminated). 1, buffers untouched, when a
    // buffer is null, a length is below 1 or the index lies outside
    // 0..size-1; 0 otherwise.
    int GetEnumerateInterface(int index, char* component, int componentLen, char* interfaceName,
                              int interfaceLen) const;
    // Any null argument: 1. The first built-in registered under exactly both
    // names is delivered through `out` with a reference taken, 0. Otherwise
    // the module enumerator is asked: 1 when it refuses, else 0 (with *out
    // null when no source supplies the pair: callers test the pointer).
    int Instantiate(const char* component, const char* interfaceName, void** out);

  private:
    std::vector<std::string> m_builtinComponents;
    std::vector<std::string> m_builtinInterfaces;
    std::vector<IVekUnknown*> m_builtinObjects;
    std::vector<std::string> m_enumComponents;
    std::vector<std::string> m_enumInterfaces;
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKADDINMANAGER_H
