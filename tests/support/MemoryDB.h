#ifndef PLYSTRAND_TESTS_SUPPORT_MEMORYDB_H
#define PLYSTRAND_TESTS_SUPPORT_MEMORYDB_H

#include <string>
#include <vector>

#include "host/CKpDB.h"
#include "tests/support/MeshGen.h"

// A CKpDB test double: an open host database named `name` that holds one
// shell mesh in memory and hands it over on getMesh. Every other operation
// does nothing and succeeds. Counts the getMesh calls and records every
// data operation in order.
//
//   MemoryDB db;
//   db.mesh = meshgen::Plate(meshgen::Kind::Quad4, 2, 2, 2.0, 2.0);
//   CKpLayup model(&db, &gui);
//   model.NewLayup(0.0, 0.0);
class MemoryDB : public CKpDB {
  public:
    std::string name = "memory";
    meshgen::Mesh mesh;
    // Script: when non-zero, getMesh adds nothing and returns it.
    int getMeshStatus = 0;
    int getMeshCalls = 0;
    // Every data operation called, in order ("getMesh", "putMat", ...).
    std::vector<std::string> calls;

    int exists() override { return static_cast<int>(name.size()); }
    int getName(char* out) override;
    // Adds the mesh to the stores (meshgen::Load) and returns 0, or returns
    // getMeshStatus when it is non-zero.
    int getMesh(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems) override;
    int putMesh(CKpMsg*, CKpNodeStore*, CKpElemStore*) override { return Call("putMesh"); }
    int getProp(CKpMsg*, CKpElemStore*, CKpOrientStore*, CKpCoordStore*) override {
        return Call("getProp");
    }
    int putProp(CKpMsg*, CKpElemStore*, CKpLamStore*, CKpOrientStore*, CKpCoordStore*) override {
        return Call("putProp");
    }
    int getLam(CKpMsg*, CKpElemStore*, CKpLamStore*) override { return Call("getLam"); }
    int putLam(CKpMsg*, CKpMatStore*, CKpLamStore*) override { return Call("putLam"); }
    int getMat(CKpMsg*, CKpLamStore*, CKpMatStore*) override { return Call("getMat"); }
    int putMat(CKpMsg*, CKpMatStore*) override { return Call("putMat"); }
    int getRes(CKpMsg*, CKpResStore*, char* [5], int, int*, int*) override {
        return Call("getRes");
    }
    int putRes(CKpMsg*, CKpResStore*, int, int) override { return Call("putRes"); }
    int putRes(CKpMsg*, CKpResStore*) override { return Call("putRes"); }

  private:
    int Call(const char* what) {
        calls.push_back(what);
        return 0;
    }
};

#endif  // PLYSTRAND_TESTS_SUPPORT_MEMORYDB_H
