#include "platform/PlatModule.h"

#include <dlfcn.h>

#include <cstring>

// PlatModule is never defined: a handle is dlopen's own pointer, typed.

const char* PlatModuleMask() {
    return "*.so";
}

PlatModule* PlatModuleLoad(const char* path) {
    // Without a '/' dlopen would search the library path instead of the file.
    if (!path || !std::strchr(path, '/')) return nullptr;
    return static_cast<PlatModule*>(dlopen(path, RTLD_NOW | RTLD_LOCAL));
}

void* PlatModuleSymbol(PlatModule* module, const char* name) {
    if (!module || !name) return nullptr;
    return dlsym(module, name);
}

int PlatModuleUnload(PlatModule* module) {
    if (!module) return 0;
    return dlclose(module) == 0 ? 0 : 1;
}
