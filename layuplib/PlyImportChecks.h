#ifndef PLYSTRAND_LAYUPLIB_PLYIMPORTCHECKS_H
#define PLYSTRAND_LAYUPLIB_PLYIMPORTCHECKS_H

// Names, defaults and checks for plies, patterns and materials brought in
// from another model. Each step reports what it changes through the
// message log (information unless said otherwise); a null log is allowed.

#include <string>

class CKpElemStore;
class CKpFacetStore;
class CKpGra;
class CKpMat;
class CKpMsg;
class CKpPat;

// Raises the trailing number of `name` by one: "" -> "1", "ply" -> "ply1",
// "ply9" -> "ply10", "ply09" -> "ply10", "12" -> "13". The digits are
// counted as decimal text, so names of any length and numbers of any size
// work ("ply99999999999" -> "ply100000000000"). 0.
int NameIncrement(std::string& name);

// Replaces missing or out-of-range settings of `mat` by defaults, after the
// line "Applying defaults to material '%s':":
//   type 3: a warp-weft angle outside [pi/36, pi - pi/36] becomes pi/2
//           ("  updated wpwtang.");
//   types 3, 4: a maximum strain below pi/360 becomes pi/3
//           ("  updated maxstrnn.");
//   types 1..4: an empty external name becomes the material name
//           ("  updated extmtrlnm.").
// Types below 1 and above 4 are left alone. 0 (also for a null material).
int MaterialDefaults(CKpMsg* msg, CKpMat* mat);

// 1 when `a` and `b` are equal, 0 when not (or either is null). Reals differ
// when their sum is not 0 and |(a - b) 2 / (a + b)| > 0.001. The first
// difference is reported after "Comparing materials with names '%s' and
// '%s'": name, type, then the warp-weft angle (type 3), the maximum strain
// (types 3, 4), the thickness and the external name (types 1..4).
int MaterialEqual(CKpMsg* msg, CKpMat* a, CKpMat* b);

// Replaces missing or out-of-range settings of `pat` by defaults, after
// the line "Applying defaults to pattern '%s':": for type 3 the start
// warp-weft angle (as in MaterialDefaults); for types 3 and 4 a step below
// 1e-6 in size (-1.0), a start-direction flag other than +-1 (that of the
// first pattern element), an axis type outside 0..4 (0) and an extension
// type outside 1..3 (1), each with its "  updated <field>." line. 0.
int PlyDefaults(CKpMsg* msg, CKpPat* pat);

// Checks the drape flags of `pat`'s elements against the surface of
// `elems`/`facets`: selects the pattern's elements, finds the start facet
// from the pattern's eye point and direction, grows the boundary from it
// and corrects each element whose stdn x dnfg disagrees with the flag the
// boundary run gave the element's first facet (dnfg = facet flag / stdn).
// For a draped pattern without reference direction, the reference
// direction is taken from the start facet's element. An element with stdn
// 0, or whose facet got no flag, is reported ("    Cannot determine correct
// direction.") and left. A start point off the surface is a warning and
// nothing is checked. The surface selection is restored at the end.
// 0; -1 when the selection cannot be restored or the neighbours linked.
int VerifyPlyDnfg(CKpMsg* msg, CKpGra* gra, CKpElemStore* elems, CKpFacetStore* facets, CKpPat* pat,
                  const char* plyName);

#endif  // PLYSTRAND_LAYUPLIB_PLYIMPORTCHECKS_H
