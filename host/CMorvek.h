#ifndef PLYSTRAND_HOST_CMORVEK_H
#define PLYSTRAND_HOST_CMORVEK_H

#include "host/CKpDB.h"
#include "layuplib/CKpStr.h"

// CMorvek: the host's CKpDB, over the host's database functions
// (host/MorvekHost.h) and the mesh callbacks (host/LayupOut.h).
//
// The database name is read once, at construction (DbNameGet, 255
// characters at most): exists and getName describe the database that was
// open then, however the host changes afterwards.
//
// Mesh exchange. Host topology codes 3, 4, 6, 8 (the node count) are the
// model's geometry types 11, 1, 12, 2. The host lists an element's corners
// first, then its midsides; the model keeps them in perimeter order.
//
// Messages go to the log handed to each call (null: none). A failing host
// database function is the error " <function>: status <s>"; a failing mesh
// callback the error "<callback>() failed with status <s>".
//
// Properties, laminates, materials and results are not exchanged with this
// host yet: those operations report the error "<operation> is not
// available" and return -1 (getProp, getLam, getMat, getRes, putLam) or 0
// (putProp, putMat, putRes).
class CMorvek : public CKpDB {
  public:
    // Takes the name of the host's open database ("" when none is open).
    CMorvek();
    ~CMorvek() override = default;
    CMorvek(const CMorvek&) = delete;
    CMorvek& operator=(const CMorvek&) = delete;

    // Length of the database name; 0 when no database was open.
    int exists() override;
    // The name with its zero into `name` (256 bytes). 0; -1 when there is no
    // name or `name` is null (buffer untouched).
    int getName(char* name) override;

    // Adds the host's shell elements (topology 3, 4, 6, 8; every other
    // element is left out without a message) and the nodes they use to the
    // stores, both in ascending id order; nodes placed, elements of element
    // type 1. Each element slot below 1 is warned about as " Node <slot> of
    // degenerate element id <id> is <value>" and never becomes a node. 0,
    // also for an empty host mesh (information "No elements in database");
    // -1 when a mesh callback fails or a store is null: the stores are then
    // unchanged.
    int getMesh(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems) override;

    // Writes the placed nodes of the store (merged ones included) and its
    // elements into the host database, each in ascending id order, between
    // the information messages "Begin putting mesh." and "End putting
    // mesh.". Every row of the elements' node ids is as wide as the largest
    // element, in host order, with 0 past the element's own nodes. An element
    // of a type other than the four shells is left out after the error
    // "Unsupported element geometry <gmtp>.". A failing DbFCreateNodes does
    // not stop the elements. 0 (failures only through the log); a null store
    // writes nothing.
    int putMesh(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems) override;

    int getProp(CKpMsg* msg, CKpElemStore* elems, CKpOrientStore* orients,
                CKpCoordStore* coords) override;
    int putProp(CKpMsg* msg, CKpElemStore* elems, CKpLamStore* lams, CKpOrientStore* orients,
                CKpCoordStore* coords) override;
    int getLam(CKpMsg* msg, CKpElemStore* elems, CKpLamStore* lams) override;
    int putLam(CKpMsg* msg, CKpMatStore* mats, CKpLamStore* lams) override;
    int getMat(CKpMsg* msg, CKpLamStore* lams, CKpMatStore* mats) override;
    int putMat(CKpMsg* msg, CKpMatStore* mats) override;
    int getRes(CKpMsg* msg, CKpResStore* results, char* names[5], int n, int* ids,
               int* maxLayer) override;
    int putRes(CKpMsg* msg, CKpResStore* results, int lowId, int highId) override;
    int putRes(CKpMsg* msg, CKpResStore* results) override;

  private:
    CKpStr m_name;
};

#endif  // PLYSTRAND_HOST_CMORVEK_H
