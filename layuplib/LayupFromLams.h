#ifndef PLYSTRAND_LAYUPLIB_LAYUPFROMLAMS_H
#define PLYSTRAND_LAYUPLIB_LAYUPFROMLAMS_H

// Rebuilding a ply-based layup from the laminate properties assigned to the
// elements: the reverse of property generation.
//
// Each element's property id names a laminate (CKpLamStore). Every laminate
// layer with a global ply id g > 0 contributes the elements of its laminate
// to global ply g (CKpGply). Each global ply is split into the connected
// pieces its elements form on the faceted surface, each piece gets one
// stacking direction and becomes one projected ply (type 2) with its own
// pattern; the model's layup is replaced by the layup "gplyids" placing
// them. Angles are radians; thicknesses model length units.

class CKpLamLyrStore;
class CKpLayup;

// Builds the layup of `model` from its laminates.
//
// Plies are named "gplyid.<g>" for the first piece of global ply g and
// "gplyid.<g>.<p>" for piece p > 1; each pattern is named after its ply
// (CKpPat::SetNameByPlyName) and marked simulated (result 0). A pattern
// element per element of the piece (ascending id): stdn of the piece, the
// element's dnfg, warp and weft angle = element orientation angle + layer
// angle, shear 0, thickness = layer thickness, order 0. The pattern's seed
// point, reference direction, application direction (minus the normal for
// stdn +1, the normal for -1) and reference angle (the angle, negated for
// stdn -1) come from the first element of the piece.
//
// A rerun replaces what an earlier run made: before the new plies are made
// the layup is emptied and every ply named like the plies above
// ("gplyid.<digits>" or "gplyid.<digits>.<digits>") is deleted together
// with its pattern (CKpPlyStore::Delete).
//
// A laminate layer whose material differs from the one global ply g took
// first passes its elements over with a warning; a global ply whose
// material is missing from the material store gets no plies (warning); an
// element listed twice for one global ply (a laminate repeating a global
// ply id) keeps its first layer. Elements whose property id is 0 or names a
// missing laminate take part in nothing; elements keep their property ids.
//
// Leaves the faceted surface restored (no selection) on success.
// 0 (also when no element references a laminate); -1 when the surface
// cannot be restored, the neighbour relations of a global ply's elements
// cannot be built (the plies, patterns and layup made so far stay), or
// after "Could not allocate memory."; -1 without message for a null model.
int CreateLayupLaminate(CKpLayup* model);

// The order of the global ply ids through the layer list `layers` (read),
// first layer to last: +1 when they strictly increase, -1 when they
// strictly decrease, 0 when two consecutive ids are equal, the order
// changes, there are fewer than two layers, or `layers` is null.
int CheckLamDn(CKpLamLyrStore* layers);

#endif  // PLYSTRAND_LAYUPLIB_LAYUPFROMLAMS_H
