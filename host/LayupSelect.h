#ifndef PLYSTRAND_HOST_LAYUPSELECT_H
#define PLYSTRAND_HOST_LAYUPSELECT_H

// The element selection, the mesh and the area operations of the slot's
// model. Every function returns 1 when the slot is empty. Coordinates cross
// as three floats per point (x, y, z), rounded from the model's doubles;
// angles in degrees.
extern "C" {

// ---- Selection (IVekSelect of the model; its statuses are passed on:
// 0 done, 2 the grouping run failed, 3 no such group, 4 sizes that do not
// fit). 1 also when the model has no selection.

// Forgets the chosen ids and the groups.
int LayupSelectClear(void);
// Adds `count` ids (count -1: every element; `ids` not read then).
int LayupSelectSetElements(int count, int* ids);
int LayupSelectGetNumSelectionGroups(int* groups);
// Boundary and interior element counts of group `group` (from 0).
int LayupSelectGetNumElements(int group, int* numBoundary, int* numInterior);
// The group's boundary ids into boundaryIds[numBoundary] and interior ids
// into interiorIds[numInterior]; a list whose count differs is skipped.
int LayupSelectGetElementIds(int group, int numBoundary, int* boundaryIds, int numInterior,
                             int* interiorIds);
// The group's ring count (outer ring and holes) and point count.
int LayupSelectGetBoundaryNum(int group, int* rings, int* points);
// The rings as points: perRing[rings], xyz[3 x points], ids[points] (any
// may be null). 0; 2 for any failure of the selection (sizes that differ
// from LayupSelectGetBoundaryNum's included), the caller's arrays then
// untouched.
int LayupSelectGetBoundary(int group, int rings, int points, int* perRing, float* xyz, int* ids);

// ---- Mesh and area

// Merge coincident free-edge nodes / sew T-junctions within `tolerance`.
int LayupMergeFree(float tolerance);
int LayupSewFree(float tolerance);
// Element count; every id ascending into ids[count] (1 when count is smaller
// than the element count).
int LayupGetNumElems(int* count);
int LayupGetElemIds(int count, int* ids);
// Restores the surface and selects the listed elements as an area, `order`
// passed on. The model's result.
int LayupSelectAreaEID(int count, int* ids, int order);
// Restores the whole surface area: 0 after "Area restored", -1 after "Could
// not restore surface area".
int LayupRestoreArea(void);
// The node count, then (with at least one node) the bounding box, each
// bound written when its pointer is given. 0 (an empty mesh leaves the
// bounds untouched); -1 when the bounds cannot be formed.
int LayupGetNodeBounds(int* nodes, float* xmin, float* xmax, float* ymin, float* ymax, float* zmin,
                       float* zmax);
// Node count, element count and the largest node count of one element.
int LayupGetMeshSizes(int* nodes, int* elements, int* width);
// The mesh in arrays sized from LayupGetMeshSizes: nodeIds[nodes],
// xyz[3 x nodes]; elemIds, patchIds, topologies (3, 4, 6, 8) [elements];
// connectivity[elements x width] (row k from k x width, solver order). 0;
// 1 the node count differs from the mesh's; 2 the element count differs or
// the width is too small. Coordinates are written only on 0.
int LayupGetMesh(int nodes, int* nodeIds, float* xyz, int elements, int* elemIds, int* patchIds,
                 int* topologies, int width, int* connectivity);
// The same for the solid generation set's mesh. 1 also without a set (and
// for the set's own failures: 1 no nodes, 2 no elements; GetSolidMesh 3 a
// node count that differs, 4 an element copy that fails).
int LayupGetSolidMeshSizes(int* nodes, int* elements, int* width);
int LayupGetSolidMesh(int nodes, int* nodeIds, float* xyz, int elements, int* elemIds,
                      int* patchIds, int* topologies, int width, int* connectivity);
// Element `id`; every output may be null: geometry type code (1 quad4, 2
// quad8, 11 tria3, 12 tria6, solids 101 ...), node ids in stored order and
// their coordinates (3 per node; written only when both pointers are
// given), area (0 when it cannot be formed), unit normal and reference
// direction (3 each, zeros when they cannot be formed), material angle
// (solver x-axis from the reference edge) and orientation angle in degrees,
// thickness of the ply stack, offset flag and value, and the thickness and
// reference-surface offset of the laminate its property id names (0 without
// one). 0; -1 when no element has the id (nothing written).
int LayupGetElem(int id, int* type, int* nodeIds, float* xyz, float* area, float* normal,
                 float* reference, float* materialAngle, float* orientationAngle, float* thickness,
                 int* offsetFlag, float* offset, float* lamThickness, float* lamPosition);
// 0 (1 when the slot is empty). Writes the id of a node or element numbered 0 only when it is
// above 0, which no stored object is: the outputs keep the caller's values.
int LayupGetMeshLowId(int* nodeId, int* elemId);

}  // extern "C"

// Divides the faceted surface along `count` element edges: edge edges[i]
// (from 1) of element ids[i], both arrays read. The model's result.
int LayupCutAreaEID(int count, int* ids, int* edges);

#endif  // PLYSTRAND_HOST_LAYUPSELECT_H
