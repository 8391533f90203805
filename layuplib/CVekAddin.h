#ifndef PLYSTRAND_LAYUPLIB_CVEKADDIN_H
#define PLYSTRAND_LAYUPLIB_CVEKADDIN_H

class CVekAddinModuleEnumerator;

// CVekAddin: holds the module enumerator through which components of add-in
// modules are listed and instantiated (one reference held). The add-in
// manager builds on it.
class CVekAddin {
  public:
    // No enumerator yet.
    CVekAddin();
    // Clears the enumerator and gives its reference back.
    ~CVekAddin();
    CVekAddin(const CVekAddin&) = delete;
    CVekAddin& operator=(const CVekAddin&) = delete;

    // Makes a new module enumerator (giving back any previous one), takes a
    // reference and sets its search path (null is taken as ""). 0; 1 when
    // memory runs out (no enumerator then).
    int Create(const char* path);
    // Sets the enumerator's search path when there is an enumerator: its
    // result; 1 without one.
    int ModifySearchPath(const char* path);
    // Clears the enumerator when there is one. 0.
    int Clear();
    // Asks the enumerator for the component: 1 without an enumerator, 2 when
    // it refuses, 0 otherwise (*out null when nothing supplied the pair).
    int Instantiate(const char* component, const char* interfaceName, void** out);

    // True while there is no enumerator.
    bool operator!() const { return m_moduleEnumerator == nullptr; }

  protected:
    CVekAddinModuleEnumerator* m_moduleEnumerator;
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKADDIN_H
