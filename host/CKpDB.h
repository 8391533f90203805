#ifndef PLYSTRAND_HOST_CKPDB_H
#define PLYSTRAND_HOST_CKPDB_H

class CKpCoordStore;
class CKpElemStore;
class CKpLamStore;
class CKpMatStore;
class CKpMsg;
class CKpNodeStore;
class CKpOrientStore;
class CKpResStore;

// CKpDB: the host database as the model sees it. The model holds one by
// pointer and never owns it; the host (or an outside client) supplies the
// implementation and deletes it.
//
// Every pointer argument stays the caller's. The first argument of every
// data operation is the model's message log, which receives every message
// of the call. Status of the data operations: 0 success; -1 when a host
// call or a lookup failed (getRes may also return the failing host
// function's status); the write operations other than putLam report their
// failures through the log only and return 0.
class CKpDB {
  public:
    // Length of the database name; nonzero means a host database is open.
    virtual int exists() = 0;

    // Copies the database name with its terminating zero into `name` (at
    // least 256 bytes). 0; -1 when the name is empty (buffer untouched).
    virtual int getName(char* name) = 0;

    // Adds the host's shell elements and their nodes to the two stores (they
    // are never emptied). 0 or -1.
    virtual int getMesh(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems) = 0;

    // Writes the model's nodes and elements into the host database. 0.
    virtual int putMesh(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems) = 0;

    // Reads the elements' properties and orientations (with the frames they
    // use). 0 or -1.
    virtual int getProp(CKpMsg* msg, CKpElemStore* elems, CKpOrientStore* orients,
                        CKpCoordStore* coords) = 0;

    // Writes the elements' properties from the laminates, with their
    // orientations and frames. 0.
    virtual int putProp(CKpMsg* msg, CKpElemStore* elems, CKpLamStore* lams,
                        CKpOrientStore* orients, CKpCoordStore* coords) = 0;

    // Reads the laminates used by the elements. 0 or -1.
    virtual int getLam(CKpMsg* msg, CKpElemStore* elems, CKpLamStore* lams) = 0;

    // Writes the laminates with their materials. 0 or -1.
    virtual int putLam(CKpMsg* msg, CKpMatStore* mats, CKpLamStore* lams) = 0;

    // Reads the materials of the laminates. 0.
    virtual int getMat(CKpMsg* msg, CKpLamStore* lams, CKpMatStore* mats) = 0;

    // Writes the materials. 0.
    virtual int putMat(CKpMsg* msg, CKpMatStore* mats) = 0;

    // Reads every layer of the named layered result of the `n` elements in
    // `ids` into `results`. `names`: five result names, the fifth
    // overwritten with the layer read; `maxLayer` (read and written) is
    // raised to the highest layer read. 0 (also when the result has no
    // layers), -1 or the host's nonzero status.
    virtual int getRes(CKpMsg* msg, CKpResStore* results, char* names[5], int n, int* ids,
                       int* maxLayer) = 0;

    // Writes every result of the store whose id lies in lowId..highId (both
    // included). 0.
    virtual int putRes(CKpMsg* msg, CKpResStore* results, int lowId, int highId) = 0;

    // Writes the results of ids 0 to 32768. 0.
    virtual int putRes(CKpMsg* msg, CKpResStore* results) = 0;

    virtual ~CKpDB() = default;
};

#endif  // PLYSTRAND_HOST_CKPDB_H
