#ifndef PLYSTRAND_LAYUPLIB_CREATEPLYSLAMS_H
#define PLYSTRAND_LAYUPLIB_CREATEPLYSLAMS_H

class CKpLayup;

// Turns the laminates of a model read from bulk data into woven plies:
// consecutive layers 2k and 2k+1 are the warp and weft of ply k. For each
// pair, every element (ascending id) whose laminate has at least 2k + 2
// layers gets a pattern element (stdn 1, dnfg 1, warp = angle of layer 2k +
// the element's theta, weft = angle of layer 2k+1 + theta). The pattern
// (type 3, "<plyName>.<id>_pattern", seeded at its first element's centre
// against its normal) and the ply (type 3, "<plyName>.<pattern id>", the
// material of layer 2k+1 of the pass's last element, event 5) get the next
// free ids. The material found gets type 3 when it had none and the pair's
// thickness when it had none. A pass with no element ends the conversion;
// so does one whose last element names a missing material (its pattern
// stays without ply; a warning names laminate, layer and material id).
// 0; -1 for a null model, or when `sw` is not exactly "-bdfwpwt" (error
// "Unsupported switch: '%s'"), and after "Could not allocate memory." when
// a pattern or ply cannot be made (also when the pattern or ply store has no
// id left above its highest; that pass then makes neither).
int CreatePlysLams(CKpLayup* model, const char* sw, const char* plyName);

#endif  // PLYSTRAND_LAYUPLIB_CREATEPLYSLAMS_H
