#ifndef PLYSTRAND_HOST_CMORVEK_H
#define PLYSTRAND_HOST_CMORVEK_H

#include "host/CKpDB.h"
#include "layuplib/CKpStr.h"

class CKpRes;

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
    // unchanged; -1 also when a store cannot take a node or element (error
    // "Could not store node <id>." or "... element <id>."; what was stored
    // before it stays).
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
    // GetFieldValues25, for a null store, or when a store cannot take a
    // frame or orientation ("Could not store coordinate frame <id>." or
    // "... orientation <id>."); what was stored stays.
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
    // there. 0; -1 after the message of a failing host call, for a null
    // store, or when the store cannot take a laminate ("Could not store
    // laminate <id>."); laminates made stay.
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
    // (the word table in CMorvekMat.cpp). Failures of the host are reported
    // and the work goes on. 0; -1 when the store cannot take a material
    // (error "Could not store material <id>."; materials made stay).
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

    // Layered results. A result is named by five texts: load case,
    // subcase, primary label, secondary label, layer label ("Layer <n>").
    // Host layer labels give layer numbers: "Layer <n>" n; an empty label
    // the layer's position; "SECTION_POINT_<k>" (k + 1) / 3 when k + 1 is a
    // multiple of 3; anything else none.

    // Reads every layer of result `names` (the fifth a buffer of at least
    // 256 bytes, overwritten with "Layer <n>" of each layer read; callers
    // holding host texts copy the names first) for the `n` elements `ids`
    // into `results`: per numbered layer one result (id = the store's largest
    // + 1, orientation -99, the host's type and analysis code, location 1 at
    // the centroid or 2 at the nodes) holding each element's first point's
    // values; `maxLayer` is raised to the highest layer read. A result
    // without layers is the warning "Result <n0>,<n1>,<n2>,<n3> has no layers
    // defined" and 0. 0; the failing host function's status (after
    // " <function>: status <s>"), or -1 for a layer count that changed, a
    // type other than 1-3, a location other than C or N ("'<c>' is an
    // unsupported result location."), an element of more than 9 points, or
    // a null argument. Results read stay in the store.
    int getRes(CKpMsg* msg, CKpResStore* results, char* names[5], int n, int* ids,
               int* maxLayer) override;

    // Writes the centroid values of every result with an id in lowId ..
    // highId, ascending: load case (made with "Created by KP" when missing),
    // subcase (an empty name is "Default Subcase"; made when missing; see
    // get_valid_int_subcase_2), a section position and layer ("Layer <n>":
    // label " " and layer n; another name: that label and layer 0), and the
    // values ("Stored result: '<n0>' '<n1>' '<n2>' '<n3>' '<n4>'" on
    // success). Results without element records or at the nodes only are
    // skipped. 0.
    int putRes(CKpMsg* msg, CKpResStore* results, int lowId, int highId) override;
    // putRes over ids 0 to 32768.
    int putRes(CKpMsg* msg, CKpResStore* results) override;

    // The five host ids of result `names` (load case, subcase, primary,
    // secondary, the last layer whose label begins with name 4) and its
    // layer count, all 0 first. 0 (also when a load case, subcase or result
    // id comes back below 1: the remaining ids stay 0); the failing host
    // function's status after its message; -1 for more than 1024 layers or
    // a null argument.
    int ResNamesToIds(CKpMsg* msg, char* names[5], int ids[5], int* layerCount);

    // The subcase of load case `loadCaseId` that results read from subcase
    // `subcaseId` go to: the subcase itself unless its title reads
    // "A<digit>...:<rest>"; then the subcase "a<digit>..._<rest>" of the
    // load case, made (with the warning "The selected results appear to be
    // in an attached subcase. The generated results will be placed in the
    // subcase '<name>'") when missing. 0 when the title cannot be read.
    int get_valid_int_subcase_2(CKpMsg* msg, char* loadCaseName, int loadCaseId, int subcaseId);

    // Packing a result for ResUtlCCreateElemResult. Sizes: the elements
    // with records, the centroid points (one per element for locations 1
    // and 3) and the nodal points (an element's values / values per point,
    // less one for location 3). 0; -1 for a null result or a type other
    // than 1-3.
    static int getResultSizes(CKpRes* result, int* nElems, int* nCentroid, int* nNodal);
    // Values: per element, ascending, its id, its centroid point count and
    // values, its nodal point count and values (arrays sized by
    // getResultSizes; any may be null). 0; -1 as getResultSizes.
    static int getResultValues(CKpRes* result, int* elemIds, int* centroidCounts,
                               float* centroidValues, int* nodalCounts, float* nodalValues);

  private:
    CKpStr m_name;
};

#endif  // PLYSTRAND_HOST_CMORVEK_H
