#ifndef PLYSTRAND_LAYUPLIB_PLYSIMULATE_H
#define PLYSTRAND_LAYUPLIB_PLYSIMULATE_H

// The ply simulation drivers: lay a ply's pattern (CKpPat) over the faceted
// surface of its elements and leave everything the simulation produced in
// the model's drape workspace (CKpDrapeSim): the drape grid, the four fibre
// axes, the outline and the flat patterns, and in the model's boundary
// store the region that was draped. CKpPly::Simulate is the caller.
//
// Shared conventions:
//   - material, pattern and model are read through their pointers; none is
//     owned. The pattern is written: the settings the checks take from the
//     material (warp/weft angle, maximum strain angle), the reference step,
//     the start fields and the results listed below.
//   - `update` 0 leaves the pattern elements (and, in PlySimulate, the ply
//     elements) as they were: the result stays in the workspace only. Any
//     other value writes the result back into them.
//   - angles are radians; messages show degrees.
//   - every failure logs one message through the model's message log and
//     returns -1, leaving the workspace as far as it got; the simulation
//     result of the pattern (CKpPat::SimResult) then reads kSimFailed, so
//     that a ply that draped once does not report success after a failed
//     run. Memory that cannot be had fails the run with the error "Could
//     not allocate memory.". The working selection of the faceted surface
//     is left as the region that was traced (or as far as the run got).

class CKpLayup;
class CKpMat;
class CKpPat;
class CKpPly;

// The simulation result a failed run leaves in the pattern (0 is success,
// -1 never simulated).
constexpr int kSimFailed = 1;

// Simulates `pattern` for `ply` with `material` on `model`:
//   1. empties the model's boundary store and the drape workspace;
//   2. puts the pattern and the ply into the workspace as store-owned (the
//      workspace will not delete them);
//   3. a painted ply becomes projected (CKpPly::ConvertPaintedToProjected);
//   4. by the pattern type: 2 PatSimulateProjection, 3 PatSimulateDraping,
//      4 PatSimulateDraping with the pattern's warp/weft angle set to pi/2;
//      any other type: error "Ply '%s' has unknown ply simulation type %d"
//      (ply name, "" without ply; the type), -1;
//   5. with `update` nonzero the ply takes the result
//      (CKpPly::ModifyAndUpdate with its name, the pattern type, the
//      material and the pattern); its failure (no memory for the ply
//      elements) gives -1.
// 0 on success; -1 on failure, and without a message for a null model,
// material or pattern. `ply` may be null (nothing to update then).
int PlySimulate(CKpMat* material, CKpPat* pattern, CKpPly* ply, CKpLayup* model, int update);

// Projects the fabric directions of a projected pattern onto the surface:
//   1. the pattern's maximum strain, step, warp/weft angle and extension
//      type become 0;
//   2. the surface is restored and the pattern's elements selected (all
//      elements, with the information "No explicit element selection,
//      assume all are selected.", when the pattern lists none);
//   3. the selection's neighbour links (error "Cannot find selected
//      neighbour.");
//   4. the start facet seen from the seed point along the application
//      direction (CalcStart without fallback; error "Start facet not
//      found.");
//   5. the boundary of the region around it into the model's boundary store
//      (error "Cannot create boundary."; warning "The selected area
//      contains interior holes." when it encloses holes);
//   6. the fibre directions on every selected facet (CalcPatternPR with the
//      application and reference directions, the reference angle and the
//      pattern's method); 0 is stored as the simulation result, a failure
//      stores kSimFailed and gives -1;
//   7. with `update` nonzero: start-direction flag 1, start point the start
//      found, and the pattern elements rebuilt from the facets
//      (UpdateFromProjection; its failure is the error "Could not transfer
//      the simulation results to the pattern elements.", -1).
// 0 on success, -1 on failure.
int PatSimulateProjection(CKpMat* material, CKpPat* pattern, CKpLayup* model, int update);

// Drapes a draped pattern (types 3 and 4) over the surface:
//   1. graphics segment 0, surface restored;
//   2. the pattern's elements of order 0 selected (all, with the
//      information above, when the pattern lists none) and the area cut
//      along the pattern's split edges (CKpLayup::CutAreaEID; its failure,
//      with its own message, gives -1);
//   3. neighbour links (error "Cannot find selected neighbour.");
//   4. warp/weft angle: the material's when the pattern's is not positive;
//      it must lie in [5, 175] degrees, else the error "The warp/weft angle
//      of %g degrees is outside the allowable range of %g-%g degrees.
//      Please define an acceptable warp/weft angle.";
//   5. warp/weft ratio in [0.1, 10], else "The warp/weft ratio of %g is
//      outside the allowable range of %g-%g. Please define an acceptable
//      warp/weft ratio.";
//   6. maximum strain angle: the material's when the pattern's is not
//      positive; at least 0.5 degrees, else "The maximum strain angle of %g
//      degrees is less than the minimum allowable value of %g degrees.
//      Please define an acceptable maximum strain angle.";
//   7. the pattern's reference step becomes the default step of the
//      selected surface;
//   8. the start: for seed-curve types 3 and 4 the pattern's seed curves
//      are arranged (ArrangeCurve; curve 1 for type 3 only) and the start
//      point, start facet, fibre axes and curve angle come from them
//      (CalcStartAxes with the pattern's seed point as the start point and
//      its seed-curve direction word; the reference angle it corrects is
//      written back);
//      for any other type from the seed point and application direction
//      (CalcStart without fallback; only its own message);
//   9. the boundary around the start facet (error "Cannot create
//      boundary."); holes: the warning "The selected area contains interior
//      holes." and their elements are selected (error "Could not select all
//      interior hole elements." when some stay unselected);
//  10. other types: the start warp and weft angles (CalcStartDirn; the
//      error "Could not generate pattern axes" where it fails without a
//      message of its own) and the four fibre axes (CalcAxes; the same
//      error);
//  11. the grid bound from the pattern's bounds and the step used;
//  12. the first order (pattern_wf; warning "Could not complete
//      simulation.", -1);
//  13. each further order k of n (information "Extending ply for order %d
//      of %d."): interior elements deselected (error "Cannot deselect
//      interior elements."), the order's elements added to the selection,
//      neighbour links ("Cannot find selected neighbour."), boundary
//      ("Cannot create boundary around selected elements.", holes as in 9),
//      and the drape extended over them (ExtendPlyL; warning "Could not
//      extend ply.", -1);
//  14. results into the pattern: simulation result 0, start facet, start
//      side, start point and start warp (and, type 3, weft) direction from
//      the axes, the grid state (0 and the grid's used index range), the
//      strain and thickness ranges of the grid;
//  15. with `update` nonzero the pattern elements are rebuilt from the
//      drape (UpdateFromDraping; its failure is the error "Could not
//      transfer the simulation results to the pattern elements.", -1);
//  16. the flat pattern (CKpFlatPatStore::Create into the workspace); its
//      failure is only the warning "Could not create flat pattern." and the
//      drape stands.
// 0 on success, -1 on failure.
int PatSimulateDraping(CKpMat* material, CKpPat* pattern, CKpLayup* model, int update);

#endif  // PLYSTRAND_LAYUPLIB_PLYSIMULATE_H
