#ifndef PLYSTRAND_LAYUPLIB_LAMSTOMATS_H
#define PLYSTRAND_LAYUPLIB_LAMSTOMATS_H

class CKpLayup;

// Equivalent materials of all laminates of `layup` (property generation's
// equivalent-material mode).
//
// 1. Empties the laminate-material store.
// 2. For each laminate in ascending id order: logs (information) an empty
//    line and "Calculating equivalent properties of laminate <name>"; takes
//    each layer's material from the model's material store (its base state,
//    material_stiff3d), its thickness and angle, and homogenises the stack
//    centred on the reference plane (LamToMat9, kappa 1); logs the
//    stiffness (solver order) and the engineering constants; creates in the
//    laminate-material store a material of id = the largest id there + 1,
//    named as the laminate, directionality 3 (anisotropic 3D), type,
//    thickness, angles, allowables and the other constants 0, with the 21
//    stiffness terms (ex, ey, ez, gxy, gyz, gzx the diagonal; nuxy D12,
//    nuyz D23, nuzx D13; c14..c56) and the expansion coefficients alpx,
//    alpy, alpz, a4 (xy), a5 (yz), a6 (zx), each plus 1e-35, and the
//    density; every property set of the laminate gets the laminate name as
//    its material name.
// 3. After the last laminate: detaches every property set from its laminate
//    (its laminate pointer becomes null), resets the property id of every
//    element to 0 and deletes every laminate. Returns 0.
//
// -1 on failure, the laminates and the materials created so far staying:
//   - no model (nothing logged), or a store of the model that cannot be had
//     ("Could not allocate memory.");
//   - a layer whose material is not in the material store: "The equivalent
//     properties of laminate <name> could not be calculated because layer
//     <k> references material <id>, which does not exist.";
//   - a material whose 3D stiffness cannot be formed (material_stiff3d logs
//     why);
//   - the homogenisation fails (LamToMat9 nonzero, also for a laminate
//     without layers or of zero thickness): its input is dumped to the
//     message file (information), then "The equivalent properties of
//     laminate <name> could not be calculated, probably because of incorrect
//     input data. These have been written to the message file for
//     verification.";
//   - the material cannot be created: "Could not add material";
//   - the laminates cannot be deleted: "Could not delete the laminates
//     after calculating their equivalent properties.".
// Errors go to the model's message log (severity 4).
int LamsToMats(CKpLayup* layup);

#endif  // PLYSTRAND_LAYUPLIB_LAMSTOMATS_H
