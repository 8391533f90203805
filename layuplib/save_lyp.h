#ifndef PLYSTRAND_LAYUPLIB_SAVE_LYP_H
#define PLYSTRAND_LAYUPLIB_SAVE_LYP_H

// The layup file writer: the whole model as the system's own line-oriented
// text file of numbered records, plain or gzip-compressed.
//
// File form: 8-bit text, one record per line, each line ended by a single
// LF. Banner lines begin with "**"; record lines with a three-digit code
// ("%03d"), a blank and blank-separated fields. Integers "%d", reals "%.8G".
// Every text field (names, comments, labels) is written as one blank-free
// token (CKpStrSpaces): each blank becomes the byte 0xFE, trailing 0xFE bytes
// of the text are dropped and an empty text is the single byte 0xFE. Tabs,
// CR, LF, VT and FF in a text are written as 0xFE too (they would split the
// token or the line) and so read back as blanks.
//
// Order of the file: header (records 001-006, then 009/010 per ANSYS element
// type), plies (300-310), materials (500-552), the layup (600-603), nodes
// (100-102), elements (200-210), patterns (400-430), offsets (700-721),
// tolerances (800-821), sets (900-902, only when there is a set),
// orientations (220, only those whose type is not 0), and the closing
// banners "**", "** END", "**".
//
// Detail level: 0 writes the model data only; 1 or more adds the derived
// records that are never read back (304, 307, 308, 310 of the plies and 210
// per layup ply of each element).

class CKpAnsys;
class CKpElemStore;
class CKpFile;
class CKpLyp;
class CKpLypOut;
class CKpMat;
class CKpMatStore;
class CKpMsg;
class CKpNodeStore;
class CKpOffStore;
class CKpOrientStore;
class CKpPat;
class CKpPatElemStore;
class CKpPatStore;
class CKpPly;
class CKpPlyStore;
class CKpSetStore;
class CKpTol;
class CKpTolStore;
class CKpView;

// Writes the model as a layup file of the current version (record 006:
// 20081003).
//   msg      message log (read-write; may be null: no messages)
//   file     file record: its name is the target path ("" when unset), its
//            type and comment go to records 002 and 003 (read)
//   ansys ... view   the model's ANSYS element types, node, element,
//            orientation, material, pattern and ply stores, layup, offset
//            store, global tolerance, tolerance store, set store and view
//            (all read; a null one writes as an empty one, a null view as
//            the identity)
//   detail   0 model data only; 1 or more adds the derived records
//   compress 0 a plain file (fopen "wb"); 1..9 a gzip stream of that level
//            (gzopen "wb<level>")
// Returns 1 when the whole file was written and closed. Returns 0 after an
// error message when:
//   - compress lies outside 0..9: "Unsupported compression level %d."
//     (nothing is written);
//   - the file cannot be opened: "Could not open file '%s' for writing."
//     (nothing is written);
//   - a line could not be written (a full disk, an I/O error) or a record
//     could not be formed for want of memory: "Could not write file '%s'."
//     (writing stops; the file is left incomplete);
//   - closing fails: "Could not close file.".
int save_lyp(CKpMsg* msg, CKpFile* file, CKpAnsys* ansys, CKpNodeStore* nodes, CKpElemStore* elems,
             CKpOrientStore* orients, CKpMatStore* mats, CKpPatStore* pats, CKpPlyStore* plys,
             CKpLyp* lyp, CKpOffStore* offs, CKpTol* gtol, CKpTolStore* tols, CKpSetStore* sets,
             CKpView* view, int detail, int compress);

// ---- Section writers. Each writes one block to `out` (an open stream;
// `compress` non-zero: write through the gzip stream, else the plain one)
// and returns 0; -1 when a line could not be written or formed (the
// stream's failure mark is then up). A null object writes nothing and
// returns 0.

// One ply: "**", "** LAYER DATA", "**", 300, 301 type, 302 id, 303 name,
// 304 thickness (detail >= 1), 305 material id, 306 pattern id, 307
// instances and 308 start-direction flag (detail >= 1), one 309 per event
// (its type), and at detail >= 1 one 310 per ply element: 0, element id,
// dnfg, thck, rotn, mtrl, dens, wpwtang, stdn, order.
int SaveLayupPly(CKpLypOut* out, int compress, CKpPly* ply, int detail);

// One material: "**", "** MATERIAL DATA", "**", 500, 501 type, 502 id, 503
// name, 504 thickness, 505 maximum strain, 506 external name, 507 warp-weft
// angle, 508 strain-allowable flag (strnallow), 510-519 the base state, then
// per further state in list order 520-529, 530 external name, 531 its flag;
// 551 a1 a2 a3, 552 b1 b2 b3. The base state's 515 and 516 carry the stored
// allowables; a further state's 525 and 526 carry fyt, fxc and fyc with
// their fallbacks.
int SaveLayupMaterial(CKpLypOut* out, int compress, CKpMat* mat);

// The layup: "**", "** GLOBAL LAYER DATA", "**", 600, one 601 per layup ply
// in id order (id, default name, ply type, ply id, ply name, side, instance,
// angle offset, thickness override, stdn, global ply id; followed by ply
// group and sequence when either is not empty), then, only when the layup
// id is 1 or more, 602 with the id and 603 with the name (a text token).
int SaveLayupLayup(CKpLypOut* out, int compress, CKpLyp* lyp);

// One pattern: "**", "** PATTERN DATA", "**", 400, 401-419 and its 430
// records (see SaveLayupPatElems). 404 carries the axis name as a text
// token, "Null" when it is empty; 410 adds the inadmissible mode and
// tolerance when either is set; 411 writes minu, maxu, minv, maxv, mid, all
// raised by 100 when mid is 0 and one of the others is not; 413 adds the
// coordinate origin and its name when the pattern has one; one 417 per
// split edge (element id, edge id, flag); one 418 per edge of seed curve 0
// and one 419 per edge of seed curve 1 (element id, edge number).
int SaveLayupPattern(CKpLypOut* out, int compress, CKpPat* pat);

// The 430 records of `elems` in list order (CKpPatElem::write).
int SaveLayupPatElems(CKpLypOut* out, int compress, CKpPatElemStore* elems);

// The offsets: "**", "** OFFSET DEFINITION DATA", "**", 700 (always), then
// per offset in id order 702 id, 703 name, 710 seed point, 711 application
// direction (with origin and origin name when the offset has an origin),
// 712 flag and value, 720 element count, one 721 per element.
int SaveLayupOffset(CKpLypOut* out, int compress, CKpOffStore* offs);

// The tolerances: "**", "** TOLERANCE DEFINITION DATA", "**", 800, 809 with
// the global tolerance (when `gtol` is not null), then per region 810 angle
// and thickness tolerance, 820 element count, one 821 per element.
int SaveLayupTol(CKpLypOut* out, int compress, CKpTol* gtol, CKpTolStore* tols);

// The sets, nothing at all for an empty store: "**", "** SET DEFINITION
// DATA", "**", 900, then per set 901 id and name and its compressed ids
// (CKpSet::GetComprIds) on 902 lines of at most ten numbers. A set whose
// ids cannot be fetched for want of memory fails the writer (-1).
int SaveLayupSets(CKpLypOut* out, int compress, CKpSetStore* sets);

// One 220 per orientation whose type is not 0, in id order: id, name,
// type, reference id, the three values; "**", "** ORIENTATION DEFINITION
// DATA", "**" stand before the first one and are not written when none is.
int SaveLayupOrientations(CKpLypOut* out, int compress, CKpOrientStore* orients);

// Writes `text` (a formatted line with its '\n') whole: through the gzip
// stream when `compress` is non-zero, else the plain one. 0; -1 when the
// write fails (the failure mark is then up) or `out` or `text` is null.
int WriteLine(CKpLypOut* out, const char* text, int compress);

#endif  // PLYSTRAND_LAYUPLIB_SAVE_LYP_H
