#ifndef PLYSTRAND_HOST_LAYUPLAYUPFNS_H
#define PLYSTRAND_HOST_LAYUPLAYUPFNS_H

// The layup functions of the exported interface, on a given model (the
// exported Layup functions call them with the slot's model). Every
// function returns 1 for a null model. Angles cross in degrees, reals as
// floats. Texts go into caller buffers of `textSize` bytes each (cut, always
// terminated).

class CKpLayup;

namespace layupfns {

// Names the layup and adds, per entry i < count, instanceCounts[i] layup
// plies of ply plyNames[i] (IVekPlyLayup::Create; angle offsets in
// degrees). 1 after "Invalid ply layup." without layup; -1 after "Missing
// layup arrays for <count> entries." when count >= 1 and one of types,
// plyNames, instanceCounts, sides, angleOffsets, thicknessOverrides or
// globalPlyIds is null (nothing made); else Create's result.
int CreateLayup2(CKpLayup* model, const char* name, int count, const char* const* plyGroups,
                 const char* const* sequences, const int* types, const char* const* plyNames,
                 const int* instanceCounts, const int* sides, const float* angleOffsets,
                 const float* thicknessOverrides, const int* globalPlyIds);

// Builds the layup from the laminates of the elements: -1 after "Cannot
// create a ply layup from laminates as layup plies already exist." when
// layup plies exist; with a host database the laminate and orientation
// stores are emptied, laminates, their materials and the properties read
// from the host, and both stores emptied again at the end. The result of
// the building.
int CreateLayupLaminate(CKpLayup* model);

// Empties the layup. 0; 2 when that fails.
int DeleteLayup(CKpLayup* model);

// The number of layup plies into *count. 0; 2 without layup-ply store.
int GetLayupSizes(CKpLayup* model, int* count);

// The layup's name and, per layup ply in id order, its group, sequence,
// type, ply name, instance, side, angle offset (degrees) and global ply id
// into the arrays given (any may be null; `name` must not be). 0; 1 after
// "Invalid ply layup."; 2 after "Invalid layup ply store."; 3 (nothing
// written) when count is not the number of layup plies.
int GetLayup2(CKpLayup* model, char* name, int count, char** plyGroups, char** sequences,
              int* types, char** plyNames, int* instances, int* sides, float* angleOffsets,
              int* globalPlyIds, int textSize);

// The number of entries of the element's ply stack. 0; -1 for an unknown
// element.
int GetLayupElementSize(CKpLayup* model, int elemId, int* count);

// The element's normal (when `normal` is not null) and, per entry of its
// ply stack, the ply name, type, instance, direction, material name and
// external name, thickness, reference angle and rotation (degrees) and
// global ply id (arrays may be null). 0; 1 unknown element; 2 after the
// information "LayupGetLayupElement: The array size <count> is not equal to
// the number of layers <n>."; 3, 4, 5 after "Could not find specified
// ply.", "Could not find specified pattern 4", "Could not find specified
// material." (the entries before are written).
int GetLayupElement(CKpLayup* model, int elemId, float* normal, int count, char** plyNames,
                    int* types, int* instances, int* directions, char** materialNames,
                    char** externalMaterialNames, float* thicknesses, float* referenceAngles,
                    float* rotations, int* globalPlyIds, int textSize);

// The global ply id of stack entry `layer` (0-based) of the element; 0 when
// the element or the entry does not exist.
int GetLayupElemGPlyID(CKpLayup* model, int elemId, int layer);

}  // namespace layupfns

#endif  // PLYSTRAND_HOST_LAYUPLAYUPFNS_H
