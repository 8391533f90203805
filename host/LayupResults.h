#ifndef PLYSTRAND_HOST_LAYUPRESULTS_H
#define PLYSTRAND_HOST_LAYUPRESULTS_H

// The failure criteria, the failure analysis and the result sorts of the
// exported interface, and the queries of the slot model's results store.
//
// Criteria are those the model's add-in manager enumerates under the
// interface "IVekAddinFailureLamina", in its order: the seven built-ins
// first, then the criteria of the modules on VEKAddinPath. A criterion is
// named portably by its encoded name "provider|name|a|b|c" (a, b, c its
// version, "%d" each); an encoded name takes at most 255 characters, and
// every text buffer a caller hands in for a name, a label or an encoded
// name holds at least 256 bytes.
//
// Result names: five texts (load case, subcase, primary label, secondary
// label, layer label). They are copied into buffers of 256 bytes before
// any use, so the caller's texts are only read.
//
// With an open host database the failure run and the sort by laminate read
// mesh, laminates, materials and the named layered results from it into a
// temporary model, run there, write the new results back and delete the
// temporary model on every path; the slot model is not touched. The sort by
// layup ply reads the results into the slot model. Without a database the
// slot model is used directly.

class IVekAddinFailureLamina;

// ---- Criterion lookup (C++ names). Each hands the criterion out with a
// reference held for the caller, who gives it back with Release.

// The first criterion whose name, provider and version equal the arguments.
// *out null first. 0; 1 no model in the slot or a null `out`; 2 none
// matches (also for a null name or provider).
int LayupGetFailureLamina(const char* name, const char* provider, int a, int b, int c,
                          IVekAddinFailureLamina** out);
// The same, matching the name only.
int LayupGetFailureLaminaByNameOnly(const char* name, IVekAddinFailureLamina** out);
// Writes the encoded name of `criterion` into `out` (256 bytes). 0; 1 null
// criterion or `out`; 2 the provider, 3 the name, 4 the version cannot be
// read; 3 also when the encoded name would not fit in 256 bytes (nothing
// written).
int LayupGetFailureLaminaEncodedName(IVekAddinFailureLamina* criterion, char* out);
// Splits `encoded` at "|" into provider, name and three ints and looks the
// criterion up (LayupGetFailureLamina). *out null first. 0; 1 no model or a
// null `out`; 2, 3, 4, 5, 6 when the first, second, ... fifth part is
// missing (a version part must read as an int: "P" gives 3, "P|N|1|2" 6); 7
// when no criterion matches.
int LayupGetFailureLaminaByEncodedName(const char* encoded, IVekAddinFailureLamina** out);

extern "C" {

// The number of enumerated failure criteria. 0; 1 no model (or a null
// count).
int LayupGetNumFailureLamina(int* count);
// The encoded name of the k-th criterion that instantiates into names[k]
// (256 bytes each), k from 0. 0; 1 no model; 2 more criteria than
// `capacity` (the first `capacity` written); 3 a name that cannot be
// encoded (the names before it written). Inside a built-in call a host
// array shorter than min(capacity, criteria) is refused with -1 and an
// error before anything is written.
int LayupGetFailureLaminaEncodedNames(int capacity, char** names);
// Name, provider (256 bytes each) and version of the criterion `encoded`;
// every output may be null. 0; 1 no model or the lookup failed; 2 no
// criterion.
int LayupGetFailureLaminaDetails(const char* encoded, char* name, char* provider, int* a, int* b,
                                 int* c);

// One operation of the criterion `encoded` (looked up as
// LayupGetFailureLaminaByEncodedName; released before the return). 0; 1 the
// lookup failed; 2 no criterion; 3 the operation failed (labels and value
// counts only; nothing written then).
int LayupGetFailureLaminaNumAllowables(const char* encoded, int* count);
// Label of allowable `index` (from 0) into `label` (256 bytes).
int LayupGetFailureLaminaAllowableLabel(const char* encoded, int index, char* label);
int LayupGetFailureLaminaNumResults(const char* encoded, int* count);
int LayupGetFailureLaminaResultLabel(const char* encoded, int index, char* label);
// Double, int and text value counts of result `index`; each output may be
// null.
int LayupGetFailureLaminaNumResultValues(const char* encoded, int index, int* nDoubles, int* nInts,
                                         int* nStrings);

// ---- Failure analysis
//   names[5]        the layered input results (stresses or strains);
//   nElems, ids     the elements to analyse;
//   criterion       a built-in name ("TsaiWu", "Maximum", "Hill",
//                   "Hoffman", "Hankinson", "Cowin", "User"; looked up by
//                   name) or an encoded name;
//   flags           0x200 a result per layer, 0x100 the worst values, 0x10
//                   the critical layers;
//   basis           bit 1 a run on stresses, bit 2 a run on strains;
//   nMats, matNames, perMat, allowables   allowables overriding the
//                   materials' own: perMat floats per named material;
//   nTypes, types   the criterion's result indices to store;
//   description     appended to the theory name; reportFile the failure
//                   report ("" none);
//   idRange[2]      written after a successful analysis: the lowest new
//                   result id (32768 when none) and the highest (0 when
//                   none).
// 0; 1 no model or "Unsupported failure criterion: '%s'"; -1 when the
// host's mesh cannot be linked, or "No layered results found for: '%s'
// '%s' '%s' '%s'" (error) when the database holds no layer of the result;
// the store's status (IVekResultStore::CreateResultsFailureLamina) when a
// run fails. The criterion, the temporary model and the allowables are
// given back on every path.
int LayupCreateResultsFailure3(char** names, int nElems, int* ids, const char* criterion, int flags,
                               int basis, int nMats, char** matNames, int perMat, float* allowables,
                               int nTypes, int* types, const char* description,
                               const char* reportFile, int* idRange);
// Eight allowables per material; the result types from the flags, in this
// order: 0x2 type 0, 0x4 type 1, 0x8 type 2, 0x1 type 3 (those bits are
// removed from the flags).
int LayupCreateResultsFailure2(char** names, int nElems, int* ids, const char* criterion, int flags,
                               int basis, int nMats, char** matNames, float* allowables,
                               const char* description, const char* reportFile, int* idRange);
// The criterion by id 1 to 7 in the order of the built-in names; another id:
// 1 after "Unsupported failure criterion id: %d".
int LayupCreateResultsFailure(char** names, int nElems, int* ids, int criterion, int flags,
                              int basis, int nMats, char** matNames, float* allowables,
                              const char* description, const char* reportFile, int* idRange);

// ---- Sorts
// By layup ply (IVekResultStore::CreateResultsSortLayup; flags[8] and
// separators[8] compose the layer names, `option` numbers from the top).
// With a database the layer label becomes "Layer " and the results of every
// element of the slot model are read into its store first; "No elements in
// model." and "No valid result layers." (warnings) give 0, "Cannot allocate
// memory." -1. The sort's own status is not looked at; the new results are
// written back. 0.
int LayupCreateResultsSort2(char** names, int* flags, char** separators, int option);
// By global ply id (IVekResultStore::CreateResultsSortLaminate) on the
// temporary model (with a database) or the slot model. 0; 1 no model or no
// layered results ("No layered results found for: ..."); 2 the sort failed;
// -1 the host's mesh cannot be linked or memory ran out; "No elements in
// model." gives 0.
int LayupCreateResultsSortLaminate(char** names);

// ---- The slot model's results store (1 without a model)
int LayupGetNumRess(int* count);
// The ids in ascending order, at most `capacity`.
int LayupGetResIds(int capacity, int* ids);
// Names (256 bytes each, "" when unset), orientation, type and location
// codes, the number of element records and the sum of their float counts of
// result `id`; every output may be null. 0; -1 with "Could not find
// specified result" (error).
int LayupGetRes(int id, char** names, int* orientation, int* type, int* location, int* nElems,
                int* nValues);
// Per element record in ascending element id: its id, its first int (0
// without ints), its float count, and its floats appended to `values`
// (arrays sized from LayupGetRes; each may be null). 0; -1 as LayupGetRes.
int LayupGetResElems(int id, int* elemIds, int* ints, int* counts, float* values);
// Deletes the result named `names`, if any. 0.
int LayupDeleteResults(char** names);
// Deletes every result. 0.
int LayupDeleteResultsAll(void);
// Deletes the failure-index drawing (segment 801). 0.
int LayupEraseResFI(void);
// Draws nothing. 0.
int LayupPlotResFI(void);

}  // extern "C"

#endif  // PLYSTRAND_HOST_LAYUPRESULTS_H
