#ifndef PLYSTRAND_HOST_LAYUPQUERY_H
#define PLYSTRAND_HOST_LAYUPQUERY_H

// Sets, generated coordinate frames, fields and property sets, the layup
// index, curves and orientation names of the slot's model. Every function
// returns 1 when the slot is empty. The caller sizes its arrays from the
// matching count function; stores are walked in ascending id order; reals
// cross as floats, angles in degrees. Texts are copied whole into the
// caller's buffers (inside a built-in call cut to the host's slots).
//
// Inside a built-in call, the functions whose output sizes follow from the
// model (LayupGetCoords2, LayupGetFields, LayupGetProps2, LayupGetCurves,
// LayupGetOrients) refuse a host array shorter than what they would write:
// -1 after the error "<function>: The <array> array holds <n> entries,
// fewer than the <m> needed.", nothing written. A null array is skipped.
extern "C" {

// ---- Sets: named lists of ids, found by name (exact; null is "").

// A new set with id one above the highest, the name and `count` ids. 0;
// -1 after "Set name '%s' already used." or, for a negative count or null
// ids with a positive count, "Invalid id list for set '%s'." (nothing
// created); -1 also when memory runs out or, the highest set id being
// INT_MAX, no id is left (nothing created).
int LayupCreateSet(const char* name, int count, int* ids);
// Replaces the named set's ids. 0; -1 when no set has the name, after
// "Invalid id list for set '%s'." (the set unchanged) or when memory runs
// out.
int LayupModifySet(const char* name, int count, int* ids);
// Removes and deletes the named set. 0; -1 when none has the name.
int LayupDeleteSet(const char* name);
int LayupGetNumSets(int* count);
// Every set's name in ascending id order into names[count]. 0; 1 after
// "LayupGetSetNames: The set name array size %d is not equal to the number
// of sets %d." (information; nothing written) when count differs.
int LayupGetSetNames(int count, char** names);
// The named set's id count and id. 0; -1 when none has the name.
int LayupGetSetSize(const char* name, int* size, int* id);
// The ids of set `id`, ascending, into ids[count]. 0; -1 when no set has
// the id; 1 when count differs from the set's id count (nothing written).
int LayupGetSet(int id, int count, int* ids);

// ---- Generated data. Source 2: property generation; 3: solid generation.
// 1 for another source, or without the generation set or the store.

// Coordinate frames: count; then per frame id, type (1 rectangular, 2
// cylindrical, 3 spherical), origin (3 per frame) and axis directions 1, 2,
// 3 (9 per frame). The int is not read.
int LayupGetNumCoords2(int source, int* count);
int LayupGetCoords2(int source, int unused, int* ids, int* types, float* origins, float* axes);
int LayupGetNumCoords(int* count);
int LayupGetCoords(int unused, int* ids, int* types, float* origins, float* axes);

// Property generation's fields: the field count and the sum of their element
// counts (both 0 first). 0; 1 after "Invalid property generation set."; 2
// after "Invalid field store.".
int LayupGetNumFields(int* fields, int* values);
// For each of the first `count` fields: its name, element count, and its
// element ids and values (one per element, radians given as degrees) at the
// running position of the id and value arrays. 1 and 2 as above; 3 when a
// field cannot give one value per element (earlier fields stay written).
int LayupGetFields(int count, int unused, char** names, int* counts, int* elemIds, float* values);

// Property sets: their count, word total and element total. 1 after
// "LayupGetNumProps(): No property words defined." for a set without words.
int LayupGetNumProps2(int source, int* sets, int* words, int* elements);
int LayupGetNumProps(int* sets, int* words, int* elements);
// Per property set k: names[k], options[6k..6k+5], wordCounts[k], its words
// (id, type, value text) at the running word position, elemCounts[k] and
// its element ids at the running element position. The three ints are not
// read. 1 also when words cannot be read, 2 when element ids cannot
// (earlier sets stay written).
int LayupGetProps2(int source, int a, int b, int c, char** names, int* options, int* wordCounts,
                   int* wordIds, int* wordTypes, char** wordValues, int* elemCounts,
                   int* elemIds);

// ---- Layup index: which element holds which layup ply where.

// The number of layup plies and the largest number of elements holding one.
// 0.
int LayupGetIndexSizes(int* plies, int* largest);
// Per layup ply k (ascending id): ids[k], counts[k] = the elements holding
// it, and for the j-th of them (ascending element id) entries[3 x (stride x
// k + j) ..] = element id, position of the layup ply in the element's stack
// (from 1), start-direction flag x the entry's direction flag. 0; 1 after
// "LayupGetIndex: The layup ply array size %d is not equal to the number of
// layup plies %d." or "LayupGetIndex: The stride %d is less than the
// largest number of elements %d." (information; nothing written).
int LayupGetIndex(int plies, int stride, int* ids, int* counts, int* entries);

// ---- Curves (from ply import) and orientation definitions.

// The curve count and the sum of their point counts. 0.
int LayupGetNumCurves(int* curves, int* points);
// Per curve i: names[i] ("" unset), types[i], counts[i] and its points (3
// per point) at the running coordinate position. The two ints are not
// read. 0.
int LayupGetCurves(int a, int b, char** names, int* types, int* counts, float* xyz);
int LayupGetNumOrients(int* count);
// Every orientation definition's name ("" unset). The int is not read. 0.
int LayupGetOrients(int unused, char** names);

}  // extern "C"

// LayupGetProps2 of property generation (source 2).
int LayupGetProps2(int a, int b, int c, char** names, int* options, int* wordCounts, int* wordIds,
                   int* wordTypes, char** wordValues, int* elemCounts, int* elemIds);

#endif  // PLYSTRAND_HOST_LAYUPQUERY_H
