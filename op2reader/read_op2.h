#ifndef PLYSTRAND_OP2READER_READ_OP2_H
#define PLYSTRAND_OP2READER_READ_OP2_H

#include "op2reader/op2_file.h"

class CKpLayup;
class CKpElem;
class CSubcase;

// Import of the Korbeld solver's binary output (OP2) into a model.
//
// modelFlags: 1 frames, nodes and shell elements ("GEOM1", "GEOM2"),
// 2 materials ("MPT"), 4 laminates, their options and global ply ids ("EPT",
// "PCOMPT"). resultFlags: 4 ply failure indices ("OEFIT"), 2 ply stresses
// ("OES1C", "OESCP"), 1 shell forces ("OEF1"). Results are filed into the
// model's result store, named by subcase subtitle and label. Progress and
// trouble go to the model's message log.
//
// Keyed records whose length fits no known entry layout are skipped with a
// warning; complex layered results and strains are not read. Records in
// double precision (a third key word of seven digits or more, such as GRID
// 1120001 and CORD2R 2220008) are read in their own layout (GRID 11 words,
// CORD2x 22) and never as single precision; other cards in double precision
// are skipped with the same warning. A file without a label is read from
// its first datablock; a file of 64-bit words is refused at its label.
//
// Result names 0 and 1 come from the subcase; when an earlier subcase of the
// same file (another approach code, subcase id or mode) took the same pair,
// the later one's name 1 gets " Mode %d" (eigenvalue subcases) or
// " Subcase %d" added (then " (2)", " (3)" while still taken), with an
// information message, so that no subcase's values are filed under
// another's. Elements whose orientation
// cannot be made (no memory, or no orientation id left above the highest)
// are read without one, and the error "Could not allocate memory." is
// given once.
//
// Returns 0 when the file was read to its end; 1 when it could not be
// opened, its label or a record could not be read (what was read before
// stays in the model), or a laminate's total layup could not be built.
// Memory running out inside (or any exception of a standard container)
// ends the call with 1 and the error "read_op2 could not complete: %s.";
// the file is closed and what was read stays. The same guard keeps
// SubcaseSetByIdent, Cord2 and CreateElemOrient from throwing: they return
// -1 (Cord2 with *result -16), with the error in the model's log (standard
// error for SubcaseSetByIdent).
OP2_EXPORT int read_op2(const char* path, CKpLayup* model, int modelFlags, int resultFlags);

// The word as an int or as the float with its bits, byte-reversed first
// when `swapped` is set.
OP2_EXPORT int GetInt(int swapped, int word);
OP2_EXPORT float GetFloat(int swapped, int word);
// Words first..last (1-based) as text into `buffer` (room for 4 * (last -
// first + 1) + 1 bytes), terminated, without leading and trailing blanks and
// with runs of blanks cut to two. Returns buffer.
OP2_EXPORT char* GetString(const int* words, int first, int last, char* buffer);
// The element id of an element key (key / 10).
OP2_EXPORT int GetEidEkey(int key);
// 1 when the table code stands for complex values (odd thousands).
OP2_EXPORT int IsComplex(int tableCode);
// Reads the three key words of the next keyed record (advance 0) into
// key[3], swapped, with k3 reduced modulo 10000; its two flag digits
// (hundred-thousands, ten-thousands) go to *flag1 and *flag2. 0, or -1 when
// fewer than three words came (then *result and *status tell why).
OP2_EXPORT int GetIFPHeader(int fileId, int* result, int* status, int swapped, int key[3],
                            int* flag1, int* flag2);
// Passes over the rest of the current logical record. 0 (*result < 0 when a
// read failed).
OP2_EXPORT int SkipRecord(int fileId, int* result, int* status);
// Refills `subcase` from an identification record of 146 words. 0, or -1.
OP2_EXPORT int SubcaseSetByIdent(CSubcase* subcase, int swapped, const int* words);
// Reads the CORD2x entries (13 words) of the current record into the
// model's frames of `type` (1 rectangular, 2 cylindrical, 3 spherical).
// Short entries are ignored. 0, or -1 (memory).
OP2_EXPORT int Cord2(CKpLayup* model, int type, int* delivered, int* result, int* status,
                     int fileId, int swapped, int* buffer);
// Orients `elem` by frame x / 512 - 1 (x a positive multiple of 512:
// orientation "Coord.<n>", angle 0) or by the angle x in degrees
// (orientation "Theta"); missing orientations are created. 0, -1 when
// memory runs out or the orientation store has no id left above its highest.
OP2_EXPORT int CreateElemOrient(CKpLayup* model, CKpElem* elem, float x);

#endif  // PLYSTRAND_OP2READER_READ_OP2_H
