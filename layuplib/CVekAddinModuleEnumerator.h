#ifndef PLYSTRAND_LAYUPLIB_CVEKADDINMODULEENUMERATOR_H
#define PLYSTRAND_LAYUPLIB_CVEKADDINMODULEENUMERATOR_H

#include <string>
#include <vector>

#include "layuplib/IVekAddinEnumerator.h"

// CVekAddinModuleEnumerator: the components of the add-in modules found in
// the folders of a search path (folders separated by ";").
//
// An add-in module is a dynamic library exporting
//   int InstantiateVekAddIn(const char* component, const char* interface,
//                           void** out)
// that lists its pairs through an enumerator it hands out for
// ("VekAddinEnumerator", "IVekAddinEnumerator").
//
// Modules are not loaded in this build: the module scan finds no module, so
// the enumerator lists no pair and Instantiate supplies no component other
// than the enumerator itself.
//
// Reference counting: AddRef returns 0; Release returns the count left and
// deletes the object when it reaches 0 (objects must come from `new`).
class CVekAddinModuleEnumerator : public IVekAddinEnumerator {
  public:
    // Count 0, position -1, folder cursor 0, empty search path.
    CVekAddinModuleEnumerator();
    CVekAddinModuleEnumerator(const CVekAddinModuleEnumerator&) = delete;
    CVekAddinModuleEnumerator& operator=(const CVekAddinModuleEnumerator&) = delete;

    int AddRef() override;
    int Release() override;
    // Offers "IVekAddinEnumerator" only (exact bytes): *out = this, 0, no
    // reference taken; any other name: *out = null, 1 (null `out`: 1).
    int QueryInterface(const char* interfaceName, void** out) override;
    // Position -1, folder cursor 0, the listed pairs emptied. 0.
    int Reset() override;
    // Advances the position: 0 while it is on a listed pair; otherwise the
    // next module with components is listed (none in this build): 1.
    int Next() override;
    // The current pair's names: 1 when the position is not on a listed pair
    // or the buffer is null or `len` < 1; GetInterface also 2 when the
    // position has no interface name. 0 after copying.
    int GetComponent(char* buffer, int len) override;
    int GetInterface(char* buffer, int len) override;

    // Stores `path` (null: nothing changes, 1) and replaces the search
    // folders by its ";"-separated non-empty parts. 0.
    int SetSearchPath(const char* path);
    // The path last set ("" at first) and its folders.
    const char* GetSearchPath() const { return m_searchPath.c_str(); }
    int GetNumSearchFolders() const { return static_cast<int>(m_folders.size()); }
    // Folder i, or null outside 0..count-1.
    const char* GetSearchFolder(int i) const;

    // Any null argument: 1. Otherwise *out is set to null first;
    // ("VekAddinModuleEnumerator", "IVekAddinEnumerator") delivers this
    // enumerator after AddRef and Reset, 0; any other pair: 0 with *out null
    // (no module supplies it).
    int Instantiate(const char* component, const char* interfaceName, void** out);
    // Unloads the modules kept for the instances they supplied (none in this
    // build). 0.
    int Clear();

  protected:
    virtual ~CVekAddinModuleEnumerator();

  private:
    int m_refCount;
    int m_position;
    int m_folderCursor;
    std::vector<std::string> m_components;
    std::vector<std::string> m_interfaces;
    std::string m_searchPath;
    std::vector<std::string> m_folders;
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKADDINMODULEENUMERATOR_H
