#ifndef PLYSTRAND_HOST_LAYUPSOLID_H
#define PLYSTRAND_HOST_LAYUPSOLID_H

// The solid model functions of the exported interface: solid generation
// from the selected shells of the slot's model, and the node and shell
// queries a host script uses to prepare snapping or to place solids.
// Reals cross as floats and are widened to double; angles cross in degrees
// and reach the settings in radians. Each returns 1 when the slot is empty
// (nothing else happens).

extern "C" {

// Logs every setting as information (the line "CreateSolidElements:", then
// one line per setting with the caller's values, angles in degrees; after
// " num_sel_nodes: %d" one " nodes id: %6d num_ints %d int_vals %12g %12g"
// line per snap node), gives them to the model's solid generation settings
// (cleared first) and runs the generation; then restores the whole surface
// and, with snap faces nonzero, writes the model's results to the host
// database.
//   nElems, elemIds      count (-1: every element) and ids (read);
//   unused               not read;
//   elemIdOffset,
//   nodeIdOffset         first ids of the generated solids and nodes;
//   method               extrusion method (1, 2 or 3);
//   nThrough, enforce, fillVoids, voidMaterial, smooth, smoothValue: kept
//                        by the settings as given;
//   snap, snapTol        snap faces flag and tolerance;
//   nSnap, snapIds,
//   snapCounts,
//   snapValues           snap nodes: ids, value counts (1 or 2) and 2 values
//                        per node (read; nSnap entries, 2 x nSnap values);
//   prefix               name of the generated laminates and properties;
//   options (6 ints), propMode, vector1, vector2 (3 floats each),
//   switchAngle, angTol (degrees), thickTol (percent), firstCoord, firstLam,
//   firstProp, ignoreThick, equallySpaced, shearCorr: property grouping of
//   the solids, handed on unchanged.
// 0 (also when the generation failed: the message log says why); 1 without
// solid generation settings; -1 when the surface cannot be restored, or
// after an error when nSnap is above 0 and a snap array is null (checked
// before anything is logged or set).
int LayupCreateSolidModel(int nElems, int* elemIds, const char* unused, int elemIdOffset,
                          int nodeIdOffset, int method, int nThrough, int enforce, int fillVoids,
                          const char* voidMaterial, int smooth, float smoothValue, int snap,
                          float snapTol, int nSnap, int* snapIds, int* snapCounts,
                          float* snapValues, const char* prefix, int* options, int propMode,
                          float* vector1, float* vector2, float switchAngle, float angTol,
                          float thickTol, int firstCoord, int firstLam, int firstProp,
                          int ignoreThick, int equallySpaced, int shearCorr);

// Makes the `nElems` elements `ids` (read) the selection of the whole
// surface and writes into *count the number of distinct nodes they
// reference. The selection stays for LayupGetSelNodeData. 0; 1 when the
// elements cannot be selected; 2 when the node references cannot be built
// (*count not written in either case).
int LayupGetNumSelNodes(int nElems, int* ids, int* count);

// The nodes of the current selection in ascending id order, at most
// `capacity` of them: ids[k], positions 3k..3k+2 (x y z) and unit normals
// 3k..3k+2 (the vertex-angle weighted mean of the facet normals around the
// node; a node that already has a direction keeps it). A reference to a
// node that no longer exists leaves its entries unwritten. 0; 1 when the
// node references, 2 when the selection's neighbour links, 3 when the node
// normals cannot be built; -1 with an error when called from a built-in
// with a host array too short for the entries to be written (nothing
// written).
int LayupGetSelNodeData(int capacity, int* ids, float* positions, float* normals);

// For each of the `nPoints` points (3 floats each, read): the nearest point
// of the visible faceted surface along a facet normal; when its element
// has plies and the point's signed distance d from the surface along the
// facet normal lies within the element's ply stack (offset o <= d <= o +
// thickness), elemIds[k] (written) becomes that element's id; otherwise
// elemIds[k] keeps the caller's value. 0.
int LayupGetSolidShells(int nPoints, float* points, int* elemIds);

}  // extern "C"

#endif  // PLYSTRAND_HOST_LAYUPSOLID_H
