#ifndef PLYSTRAND_LAYUPLIB_CVEKADDINMODULEENUMERATOR_H
#define PLYSTRAND_LAYUPLIB_CVEKADDINMODULEENUMERATOR_H

#include <string>
#include <vector>

#include "layuplib/CPLFindFile.h"
#include "layuplib/IVekAddinEnumerator.h"

struct PlatModule;

// CVekAddinModuleEnumerator: the components of the add-in modules found in
// the folders of a search path (folders separated by ";").
//
// An add-in module is a dynamic library exporting
//   int InstantiateVekAddIn(const char* component, const char* interface,
//                           void** out)
// that lists its pairs through an enumerator it hands out for
// ("VekAddinEnumerator", "IVekAddinEnumerator").
//
// Listing walks the folders in path order and each folder's modules
// (platform mask, "*.so") in name order: a module is loaded, asked for its
// pairs and unloaded at once. Instantiate keeps a module loaded for good
// once it has supplied an object, until Clear, so that the object stays
// valid. Files that do not load, lack the export or refuse (an exception
// thrown by the module counts as refusing) are skipped silently. Only the
// folders listed are searched; "." names the working folder.
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
    // Position -1, folder cursor 0, the listed pairs emptied, the folder
    // scan closed (the next listing starts from the first folder). 0.
    int Reset() override;
    // Advances the position: 0 while it is on a listed pair of the current
    // module; otherwise the scan goes on to the next module that lists at
    // least one pair and makes its pairs current (position 0): 0; 1 when no
    // module is left.
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
    // enumerator after AddRef and Reset, 0. Any other pair is asked of the
    // kept modules in load order, then of each module of each search folder
    // in scan order; the first that delivers a non-null object with status 0
    // wins (its module is kept loaded): 0 with *out set. Nothing supplies
    // the pair: 0 with *out null.
    int Instantiate(const char* component, const char* interfaceName, void** out);
    // Unloads the kept modules in load order and forgets them. 0.
    int Clear();
    // Number of modules kept loaded, and the file path of module i (null
    // outside 0..count-1).
    int GetNumKeptModules() const { return static_cast<int>(m_modules.size()); }
    const char* GetKeptModulePath(int i) const;

  protected:
    virtual ~CVekAddinModuleEnumerator();

  private:
    int m_refCount;
    int m_position;
    int m_folderCursor;
    std::vector<std::string> m_components;
    std::vector<std::string> m_interfaces;
    // Lists the pairs of the module at `path` into the component and
    // interface lists (emptied first); true when it listed any.
    bool ListModule(const char* path);

    std::string m_searchPath;
    std::vector<PlatModule*> m_modules;
    std::vector<std::string> m_modulePaths;
    std::vector<std::string> m_folders;
    CPLFindFile m_finder;
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKADDINMODULEENUMERATOR_H
