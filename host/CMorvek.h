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
// Writing the model runs putMat, putLam, then putProp: each uses the host
// ids the one before stored (material and laminate external ids, frame
// external ids, orientation host field ids).
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

    // Reads the material orientation (property word 20) of every region
    // holding one of the elements into an orientation with the region's id
    // and name: data type 9 a frame (type 1; the frame is read into `coords`
    // as a rectangular frame of that id unless present), 1 an angle (type 3,
    // degrees to radians), 2 a direction (type 4), -1 a field (type 2;
    // each element's theta is the field's value there, degrees to radians);
    // any other data type is the error " Unrecognised datatype <t> for
    // property word 20" and no orientation. Each element then points to the
    // orientation of its region's id (an orientation already in the store
    // with that id is kept and used); type-1 directions come from their
    // frames and theta from the orientations. A region without word 20, or
    // whose word list cannot be read (reported), gives none. 0; -1 after the
    // message of a failing DbFGetRegionForElements, DbFCountProps,
    // DbFGetPropValue, DbFGetRegionDefinition, DbFGetCoordinateFrame or
    // GetFieldValues25, or for a null store (what was stored stays).
    int getProp(CKpMsg* msg, CKpElemStore* elems, CKpOrientStore* orients,
                CKpCoordStore* coords) override;

    // Writes, for elements sorted by pid, orientation id (none last) and
    // id: a field per type-2 orientation in use (named after it, the
    // elements' theta in degrees; its host id kept in the orientation), the
    // frames of type-1 orientations in use (the host id kept as the frame's
    // external id), then one region per run of elements of one pid and one
    // orientation whose pid names a laminate: id the pid, name the
    // laminate's ("_" and the orientation's name, or "_elem.<first id>"
    // without orientation, for later runs of the pid; 255 characters at
    // most), word 13 the laminate's external id, word 20 the orientation, and
    // the elements. A region the host refuses (a later run of a pid gets the
    // pid's id, already taken) is reported and nothing more is written for
    // that run. Elements of no laminate are written nowhere. 0 (failures only
    // through the log).
    int putProp(CKpMsg* msg, CKpElemStore* elems, CKpLamStore* lams, CKpOrientStore* orients,
                CKpCoordStore* coords) override;

    // Creates a laminate (id = host material id, name, offset or "no offset",
    // layers with material, thickness, angle in radians, global ply id) for
    // every laminate material (region kind 3) of the elements' regions, in
    // ascending id order, and gives each element its region's laminate as
    // pid. A material without words, without word 40, or whose word 40 is
    // below 1 is skipped; a word 40 that is not finite or beyond int range
    // is skipped with the warning " Invalid layer count <v> for laminate
    // material <id>". A laminate id already in the store keeps the laminate
    // there. 0; -1 after the message of a failing host call or for a null
    // store (laminates made stay).
    int getLam(CKpMsg* msg, CKpElemStore* elems, CKpLamStore* lams) override;

    // Creates a host laminate material (codes 6 and 5) for every laminate,
    // ascending, with its stacking table (angles in degrees; offset, or the
    // no-offset flag; global ply ids only when CKpLam::GPlyIdsOK accepts
    // them) and word 40 = the layer count; the host id becomes the
    // laminate's external id. A laminate with a layer whose material is
    // missing or has no host id (external id below 1) is the error " No
    // host material for lam '<name>'" and is not written; one whose
    // DbFCreateMaterial fails gets no host id and nothing more is written
    // for it. 0; -1 when writing a word 40 fails (the call ends there).
    int putLam(CKpMsg* msg, CKpMatStore* mats, CKpLamStore* lams) override;

    // Reads every material the laminates' layers use and the store lacks:
    // id, name and external name from the host, external id = host id,
    // directionality 1 to 5 (another is the error " Unsupported
    // directionality <d> for material '<name>'" and leaves it unset), and
    // the property words of the common table and of its directionality
    // (the word table in CMorvekMat.cpp). Failures are reported and the work
    // goes on. 0.
    int getMat(CKpMsg* msg, CKpLamStore* lams, CKpMatStore* mats) override;

    // Creates a host material for every material, ascending (codes by
    // directionality: 1 1/1, 2 2/2, 3 3/3, 4 5/4, 5 4/5; description
    // "Imported via the Layup module."), declares and specifies models 1
    // and 4, and writes the words of the common table and of its
    // directionality by putMatVal. The host id becomes the material's
    // external id. A directionality outside 1-5 is the error " Unsupported
    // directionality <d> for material '<name>'" and the material is not
    // written; a failing DbFCreateMaterial leaves the external id as it was
    // and writes nothing more for that material. 0.
    int putMat(CKpMsg* msg, CKpMatStore* mats) override;

    // Writes one material word: nothing when |value| <= 5e-36, 0 when
    // |value| < 1.5e-35, else the value as a float. 0; -1 after the error
    // " DbCreateMaterialPropValue: status <s>".
    int putMatVal(CKpMsg* msg, int materialId, int wordId, double value);

    int getRes(CKpMsg* msg, CKpResStore* results, char* names[5], int n, int* ids,
               int* maxLayer) override;
    int putRes(CKpMsg* msg, CKpResStore* results, int lowId, int highId) override;
    int putRes(CKpMsg* msg, CKpResStore* results) override;

  private:
    CKpStr m_name;
};

#endif  // PLYSTRAND_HOST_CMORVEK_H
