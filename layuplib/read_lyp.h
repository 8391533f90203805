#ifndef PLYSTRAND_LAYUPLIB_READ_LYP_H
#define PLYSTRAND_LAYUPLIB_READ_LYP_H

// The layup file reader: reads a layup file (plain or gzip) into a model,
// then relinks the ids read to objects and completes the stores.

#include <string>
#include <vector>

class CKpElemStore;
class CKpLayup;
class CKpLyp;
class CKpMat;
class CKpMatStore;
class CKpMsg;
class CKpNodeStore;
class CKpOrientStore;
class CKpPat;
class CKpPatStore;
class CKpPly;
class CKpPlyStore;

// One object renumbered by the id clash rule while reading: the object (in
// its store), the id it had in the file, and its layer type as the file gave
// it (records 301, 401, 501; a painted material is stored as projected, but
// the plies of the same file still name it with the painted type).
template <class T>
struct LypOldId {
    T* object;
    int oldId;
    int type;
};

// The objects renumbered while reading one file, each list in file order
// (which is also ascending new id). Filled by read_lyp, read by UpdateIds.
struct LypRenumbered {
    std::vector<LypOldId<CKpMat>> materials;
    std::vector<LypOldId<CKpPat>> patterns;
    std::vector<LypOldId<CKpPly>> plies;
};

// Reads the layup file named by the model's file record (CKpFile name) into
// `model`, which the caller has emptied (CKpLayup::reinit): gzip-compressed
// when `compressed` is non-zero (a plain file is then read as it is), else
// plain text. Records are dispatched by code as the layup file format lays
// down; banners, group lines, records that are never read back and unknown
// codes are skipped. Objects keep their file ids; a ply, pattern or material
// whose id is already taken gets the store's highest id + 1 (its old id is
// kept: CKpMat::oldid, and the renumbered lists). The host is polled for a
// user break every 10000 lines (user_break); a break ends the reading like
// the end of the file.
//
// Messages (the model's log; %s the file name):
//   - the file cannot be opened: error "Could not open file '%s' for
//     reading.", result 0, the model unchanged;
//   - a file version later than 20081003 (record 006): the warning "The
//     selected layup file %s of version %d is later than the version %d
//     supported by this product. Unsupported data will be lost and
//     dependent operations affected. Please update this product to the
//     current version." when 006 is read, and reading goes on;
//   - an earlier version (a file without 006 counts as version 0): after
//     reading, the information "The selected layup file %s of version %d is
//     earlier than the supported version %d. On saving, the file will be
//     converted to the supported version using default values.";
//   - a line that cannot be read (an I/O error, a gzip stream that is
//     corrupt or ends early, a line longer than LYP_MAX_LINE): the error
//     "Could not read line <n> of layup file '%s': <reason>.", result 0;
//   - a field of a record that is present but not a number of the record's
//     kind: the error "Could not read record <code> on line <n> of layup
//     file '%s': field <k> '<text>' is not a valid <kind>." with the kind
//     "integer" or "number" ("finite number" for a node coordinate that is
//     infinite or not a number), result 0;
//   - an object that cannot be allocated: the error "Could not allocate
//     memory.", result 0; the same for a ply, pattern, material or offset
//     that needs an id above the highest when that is INT_MAX;
//   - the input ends (not by a user break) without the "** END" banner: the
//     error "Layup file '%s' ends early at line <n> without its "** END"
//     banner; it may be cut.", result 0;
//   - closing fails: the error "Could not close file." (reading still
//     counts as done);
//   - a node, element, set, orientation or layup ply whose id the file
//     already gave: the warning "Duplicate <kind> id <id> on line <n> of
//     layup file '%s' ignored." (the first one stays; the records that
//     follow for the ignored one are skipped);
//   - a ply, pattern or material opened (301, 401, 501) but never given its
//     id record: the warning "<Kind> opened on line <n> of layup file '%s'
//     has no id record and was dropped.";
//   - a 902 record whose runs (entries -e) would bring the ids named by
//     the runs of all sets of the file past 64 for each byte read so far
//     (line feeds included): the warning "Set <id> on line <n> of layup file
//     '%s' would bring the ids named by runs to <count>, more than 64 for
//     each of the <bytes> bytes read; the rest of the set is ignored."; the
//     set keeps the ids of its records before that one;
//   - a drape point (420) whose indices would widen the drape grid (dense
//     over the box of its points) to more cells than 64 for each byte read
//     so far: the warning "Drape point (<u>, <v>) on line <n> of layup file
//     '%s' would widen the drape grid to <cells> cells, more than 64 for
//     each of the <bytes> bytes read; the point is ignored." (the 421
//     records after it then find no point).
// Records shorter than their written form read the absent values as the
// format's defaults (0, or as its tail rules say); a record that lacks the
// id or the values it needs, or whose current object is missing, is
// skipped without a message.
// On result 0 the objects read so far stay in the model, the post-read
// steps are not run. On success (also after a user break) the stores are
// completed (CKpLayup::init) and LayupReadPost runs; result 1. 0 for a
// null model.
int read_lyp(CKpLayup* model, int compressed);

// Why the layup file `path` cannot be opened as one, before anything is
// read into a model: the empty text when it is a regular, non-empty file
// that opens (`compressed` as read_lyp: through zlib, which also reads a
// plain file) and whose first line other than banners and blank lines is
// the header record 000; otherwise a clause for a message: "does not
// exist", "is a directory", "is empty", "cannot be opened", "cannot be read
// at line <n> (<reason>)" (a gzip stream that does not inflate), "is not a
// layup file: ...". `line` (may be null) receives the number of the last
// line looked at.
std::string lyp_file_problem(const char* path, int compressed, long* line = nullptr);

// After a read: relinks the renumbered ids (UpdateIds with `renumbered`),
// erases elements failing the shape check (CKpElemStore::CheckShape), links
// element node ids to nodes (node_reref; stops there when that fails),
// drops pattern elements without element (elem_reref; stops there when
// that fails), sets default external material names and ids and converts
// painted materials (CKpMatStore), links every ply to the material and
// pattern of its ids (null when absent), converts painted plies, links
// every layup ply of `layup` to the ply of its ply id (null when absent),
// and sets the element orientation links and the default orientation
// (CKpOrientStore::SetElemReferences, SetDefaultIfNeeded). Every store is
// read and changed; none may be null (0 and nothing done otherwise).
// `renumbered` may be null (then only materials are relinked, through
// CKpMat::oldid). Returns 0, also when it stops early.
int LayupReadPost(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems, CKpMatStore* mats,
                  CKpPatStore* pats, CKpPlyStore* plys, CKpLyp* layup, CKpOrientStore* orients,
                  const LypRenumbered* renumbered = nullptr);

// Moves the references to renumbered objects to their new ids. A reference
// names an object by id within its layer type:
//   1. for each renumbered material (in order): every ply whose material id
//      is the old id and whose type is the material's file type, and which
//      no earlier material of this step took, gets the new material id;
//   2. the same for the renumbered patterns and the plies' pattern ids;
//   3. for each renumbered ply: every layup ply of `layup` whose ply id is
//      the old id and whose ply type is the ply's type gets the new ply id
//      and ply type 0 (so that no later ply with the same old id takes it;
//      linking it to its ply sets the type again).
// With a null `renumbered` the materials with an old id (CKpMat::oldid
// above 0) are taken, with their stored type, and steps 2 and 3 do
// nothing. Returns 0; nothing is done for a null store or layup.
int UpdateIds(CKpMatStore* mats, CKpPatStore* pats, CKpPlyStore* plys, CKpLyp* layup,
              const LypRenumbered* renumbered = nullptr);

#endif  // PLYSTRAND_LAYUPLIB_READ_LYP_H
