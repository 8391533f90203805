#ifndef PLYSTRAND_PLATFORM_PLATMODULE_H
#define PLYSTRAND_PLATFORM_PLATMODULE_H

// Dynamic modules of the host platform, reduced to what the add-in manager
// needs: load a module by path, look up an exported function, unload it.
// This POSIX version uses dlopen (RTLD_NOW | RTLD_LOCAL, so a module's
// symbols never leak into later ones), dlsym and dlclose. A port to another
// host replaces this folder only.

// A loaded module; opaque to callers.
struct PlatModule;

// The file mask of modules on this platform: "*.so".
const char* PlatModuleMask();

// Loads the module at `path`, which must hold a '/' ("./name.so" for the
// working folder) so that no library search path is consulted. Null when
// `path` is null or has no '/', or the file does not load (not a library,
// missing dependencies).
// Loading a module twice gives two handles; it stays loaded until both are
// unloaded.
PlatModule* PlatModuleLoad(const char* path);

// The address of the exported symbol `name`, or null (also for a null
// module or name).
void* PlatModuleSymbol(PlatModule* module, const char* name);

// Unloads the module (null is accepted). Code and objects of the module may
// not be used afterwards unless another handle keeps it loaded. 0; 1 when
// the platform reports a failure.
int PlatModuleUnload(PlatModule* module);

#endif  // PLYSTRAND_PLATFORM_PLATMODULE_H
