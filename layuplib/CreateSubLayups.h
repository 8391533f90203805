#ifndef PLYSTRAND_LAYUPLIB_CREATESUBLAYUPS_H
#define PLYSTRAND_LAYUPLIB_CREATESUBLAYUPS_H

class CKpLayup;

// Builds one sub-layup (property mode 13009) from the layup plies lying on
// the selected elements of `model`.
//
// The layup plies present on the selected elements are taken in ascending id
// order. Each one's side over the selected elements (the common side of its
// ply's selected ply elements times the sign of the layup ply's side) puts
// it on top of the list (+), at the bottom (-), or refuses it (0: the
// warning "Layup ply <id> referencing ply <name> instance <n> has
// inconsistent directions on selected elements and cannot be added to
// sublayup."). Then, in the model's field store (ids highest + 1 each):
//   - "<name>_Orientation", type 3, defaults (1, 0, 0, 0, 1, 0): per selected
//     element the warp and weft directions of its first ply; every selected
//     element's theta becomes that ply's warp angle (0 without one);
//   - for each ply of an accepted layup ply, in ascending ply id order,
//     "<name>_<ply>_Thickness" (type 1, default the material thickness, 0
//     without material) and "<name>_<ply>_Rotation" (type 4, default 0),
//     holding per selected element of the ply its thickness (the material
//     thickness when `ignoreThickness` is nonzero) and its fibre angle
//     relative to the element's theta.
// Then a sub-layup `name` (id highest + 1) in the sub-layup store with the
// orientation field and, for each accepted layup ply from the bottom, a
// sub-layup ply (ids 1, 2, ...) with the layup ply, the fields of its ply
// made by this run, and the region set "<name>_<ply>" of the set store (an
// existing set of that name is reused, else a new one, id highest + 1,
// holding the ply's selected elements). Two layup plies of one ply share its
// fields and region.
//
// Returns
//   0  done; also when no layup ply was accepted (warning "No acceptable
//      layup plies on selected area.", nothing made);
//   1  without model or element store;
//   2  some layup ply was refused (error "<n> layup plies have inconsistent
//      dirctions on selected elements.", nothing made);
//   3  the sub-layup could not be allocated; 4 a sub-layup ply; 5 a set
//      (also when its store has no id left above the highest);
//  -1  a layup ply on the selection without ply, or memory running out for
//      a field or its values, or no field id left above the highest.
// What was made before a failure stays in the stores. `name` null is taken
// as "".
int CreateSubLayups(const char* name, int ignoreThickness, CKpLayup* model);

#endif  // PLYSTRAND_LAYUPLIB_CREATESUBLAYUPS_H
