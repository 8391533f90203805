#ifndef PLYSTRAND_LAYUPLIB_LAYERRECREATE_H
#define PLYSTRAND_LAYUPLIB_LAYERRECREATE_H

class CKpMatStore;
class CKpMsg;
class CKpPatStore;
class CKpPlyStore;

// After a layup file was opened and its facets built: checks every ply of
// `plys` in ascending id order against `mats` and `pats` (both read only).
//   - No material of the ply's material id: the error "Could not find
//     material id %d referenced by ply '%s'. Ply will be deleted." (material
//     id, ply name); the ply is erased from `plys` and deleted, and its
//     pattern is not looked up.
//   - Else no pattern of its pattern id: the error "Could not find pattern
//     id %d referenced by ply '%s'. Ply will be deleted." (pattern id, ply
//     name); the ply is erased and deleted.
//   - Else the ply is rebuilt from them (CKpPly::ModifyAndUpdate with its
//     own name and type).
// Before a ply is deleted, every layup ply of the store's model that is
// linked to it is unlinked (it keeps the ply's type and id), so that no
// layup ply is left pointing at a deleted ply. When elements of the model
// carried ply stacks before the call, the layup is placed again once at the
// end (CKpLayup::LayupRecreate), since the stacks pointed at ply elements
// that were rebuilt or deleted; rebuilding a ply does not place it by
// itself here. Messages go to `msg` (may be null: none). Returns 0; nothing
// is done for a null store.
int LayerRecreate(CKpMsg* msg, CKpMatStore* mats, CKpPatStore* pats, CKpPlyStore* plys);

#endif  // PLYSTRAND_LAYUPLIB_LAYERRECREATE_H
