#include "tests/support/MemoryDB.h"

#include <cstring>

int MemoryDB::getName(char* out) {
    if (!out || name.empty()) return -1;
    std::strncpy(out, name.c_str(), 255);
    out[255] = '\0';
    return 0;
}

int MemoryDB::getMesh(CKpMsg*, CKpNodeStore* nodes, CKpElemStore* elems) {
    ++getMeshCalls;
    calls.push_back("getMesh");
    if (getMeshStatus != 0) return getMeshStatus;
    if (!nodes || !elems) return -1;
    meshgen::Load(mesh, *nodes, *elems);
    return 0;
}
