#ifndef PLYSTRAND_PLATFORM_MORVEKSTUB_H
#define PLYSTRAND_PLATFORM_MORVEKSTUB_H

// The stand-in host: what the host executable gives the library, small
// enough to run and test the library without the host. A port to the real
// host drops this layer (CMake option PLYSTRAND_STANDIN_HOST).
//
// Process-wide it keeps
//   - a database: its name, nodes (id, x y z) and elements (id, any topology
//     code, node ids in host order: corners first, then midsides), so that
//     shells, bars and solids can be offered; coordinate frames; fields (a
//     value per element); property regions (words with data type, material
//     id, three reals, frame id, field id; each element in at most one
//     region); materials (name, description, codes, constitutive models,
//     property words in the order written, a laminate's stacking table);
//     load cases, subcases (name, title), result layers (label, position),
//     results (type, analysis code) and their per-element values (location
//     C or N, at most 9 points an element);
//   - a graphics recorder: handles from 1 up (never reused, also across a
//     reset), every line, marker and arrow with its handle, the refreshes and
//     the deleted handles;
//   - a message sink: code, severity, base code and text of every message,
//     with queued answers for questions (a message whose severity is not 1,
//     2 or 4, such as 1029); an empty queue answers 0;
//   - a count of the calls of every host function and table entry.
//
// It defines every host database and results function of
// host/MorvekHost.h, GmDrawArrow, GmDrawResultArrow and MAT_LamCalcFailUser,
// and hands out its mesh, graphics, message and interface tables through
// MorvekStubGetter.
//
// How its database answers: new ids are the largest id of their kind + 1
// (fields, materials, load cases, layers; subcases within their load case);
// frames and regions keep the id given when it is free (a frame whose id is
// taken or below 1 gets a new one; a region id already taken is status 1).
// A region's definition gives kind 3 and the material id when its word 13
// names a laminate material (ISLAM 1), kind 1 for another material, else 0.
// A result is named by load case, subcase, primary and secondary label; the
// label ids are numbered by first use. Its layers are those holding its
// values, by layer id; layer labels lose their trailing blanks when made, so
// a section position " " gives a layer with an empty label and the layer
// number as position; a layer of the same label and position is reused. At
// most 1024 layers are handed out (the count says how many there are) and
// 80 bytes of each label. Values are extracted at the centroid when the
// layer holds centroid values, else at the nodes. A subcase's title is
// empty unless a fixture gives one.
//
// Statuses of its host functions: 0 success; 1 a duplicate or unknown id or
// object (nothing is created); 2 a bad argument (negative count, missing
// array, a row narrower than its element, a count that differs from what is
// stored, values of the wrong width). DbGetSubcaseTitle gives -1 for an
// unknown subcase. MAT_LamCalcFailUser has no user routine: 1, results
// untouched.
//
// Names that MorvekStubFail and MorvekStubCallCount know: every host
// function by its name, "MorvekStubGetter", and the table entries as
// "mesh.0", "mesh.1", "mesh.2", "mesh.4", "mesh.5", "graphics.0" ..
// "graphics.4", "message.0", "message.1", "message.2", "interface.3".
//
// Interrupt polls: message entry 1 answers 1 ("no interrupt") unless a stop
// was requested with MorvekStubRequestAbort(1); then message entry 1 answers
// 0, message entry 0 answers 1 and interface entry 3 answers 0.
//
// Not thread-safe, like the host: one call at a time.

#include <string>
#include <vector>

#include "host/MorvekHost.h"

extern "C" {

// The getter the host hands to VekApiInit: (8, table id 3, 6, 12 or 13,
// slot written). 0; 1 for another version or table id; 2 for a null slot.
int MorvekStubGetter(int version, int tableId, MorvekHostTable* slot);

// Empties the database (name included), the recorders, the call counts, the
// answer queue, the queued failures and throws and the stop request.
void MorvekStubReset(void);

// Sets the name DbNameGet reports; "" or null: no database open. The nodes
// and elements stay as they are.
void MorvekStubOpenDatabase(const char* name);

// Adds the records of a text fixture to the database, one record a line,
// blank-separated fields, texts in double quotes (holding no quote), reals
// in any decimal form, blank lines and lines starting with '#' ignored:
//   node ID X Y Z
//   elem ID TOPOLOGY N1 .. Nk                 (1 to 64 node ids, host order)
//   frame ID TYPE OX OY OZ XX XY XZ YX YY YZ ZX ZY ZZ
//   field ID "NAME" EID VALUE [EID VALUE ...]
//   mat ID "NAME" "DESCRIPTION" CODE DIR ISLAM
//   matmodel ID MODEL SPECIFIED               (SPECIFIED 0 or 1)
//   matword ID WORD VALUE
//   lam ID OFFSET NOOFFSET                    (the material's stacking table)
//   lamlayer ID MATID THICKNESS ANGLE GPLYID  (angle in degrees; after lam)
//   region ID "NAME"
//   word RID WORD DTYPE MATID R1 R2 R3 FRAME FIELD
//   member RID EID [EID ...]                  (moves each element there)
//   loadcase ID "NAME" "DESCRIPTION"
//   subcase LCID ID "NAME" "TITLE"
//   layer ID "LABEL" POSITION
//   result LCID SCID "PRIMARY" "SECONDARY" TYPE "CODE"   (TYPE 1, 2 or 3)
//   value LCID SCID "PRIMARY" "SECONDARY" LAYERID LOC EID V1 .. Vk
//                     (LOC C or N; 1 to 9 points of 1, 3 or 6 values)
// A record refers only to objects defined before it. 0; -1 (with
// "path:line: reason" on stderr and the database unchanged) when the file
// cannot be read, a line is malformed, an id is taken or a reference unknown.
int MorvekStubLoadDatabase(const char* path);

// Writes the whole database (its name excepted) as the records above, in
// the order listed, each kind by ascending id (subcases by load case and id,
// results by load case, subcase and labels, values by result, layer,
// location and element; material words, models and layers and region words
// as stored; ten members a line), reals as "%.9g". 0; -1 when the file
// cannot be written.
int MorvekStubSaveDatabase(const char* path);

// Calls of the named host function or table entry since the last reset.
int MorvekStubCallCount(const char* name);

// Adds one node. 0; -1 when the id is taken.
int MorvekStubAddNode(int id, float x, float y, float z);
// Adds one element of `count` (1 to 64) node ids in host order (`nodeIds`,
// read; values are not checked). 0; -1 when the id is taken or the
// arguments are bad.
int MorvekStubAddElem(int id, int topology, int count, const int* nodeIds);
// The node's x y z into `xyz`. 0; -1 when absent (nothing written).
int MorvekStubGetNode(int id, float xyz[3]);
// The element's topology and its first 8 node ids in host order, 0 past its
// own. 0; -1 when absent (nothing written).
int MorvekStubGetElem(int id, int* topology, int nodeIds[8]);

// The next call of the named function or table entry does nothing and
// returns `status` (a poll answers it).
void MorvekStubFail(const char* functionName, int status);
// The next call of the named function or table entry throws, before it does
// anything else, the std::length_error of a container asked for more than
// it can hold: what a host routine written in C++ could raise. For the
// tests of the library's guard at its boundary.
void MorvekStubThrow(const char* functionName);
// Queues the answer to the next question.
void MorvekStubAnswer(int answer);
// Nonzero: the interrupt polls ask for a stop; 0: they do not.
void MorvekStubRequestAbort(int on);

// ---- Command language and memory ----
//
// SmBltAdd keeps every registration in order (kept across a reset).
// SmErrorInt and SmErrorInt2 log their arguments and return null; MemAllocX
// and MemFreeX count the blocks in use per pool (MemAllocX can be made to
// refuse once with MorvekStubFail("MemAllocX", 1)).

// The function registered under `name` (the first such), or null.
SmBltFn MorvekStubFindBuiltin(const char* name);
int MorvekStubNumBuiltins(void);
// The name of the k-th registration, k from 1; null outside 1..count.
const char* MorvekStubBuiltinName(int k);

// Symbol records for calling built-ins: each maker gives `rec` new storage
// (freeing what it held); MorvekStubSymFree frees it. A record must be
// zeroed before its first maker. Strings hold at most `max` characters
// (longer texts are cut); a string array holds n empty texts of `max`.
void MorvekStubSymInt(SmSym* rec, int value);
void MorvekStubSymReal(SmSym* rec, float value);
void MorvekStubSymString(SmSym* rec, const char* text, int max);
void MorvekStubSymIntArray(SmSym* rec, const int* values, int n);
void MorvekStubSymRealArray(SmSym* rec, const float* values, int n);
void MorvekStubSymStringArray(SmSym* rec, int n, int max);
// The element count an array record reports from now on (may be negative;
// the storage is not changed).
void MorvekStubSymSetCount(SmSym* rec, int n);
void MorvekStubSymFree(SmSym* rec);

// The argument errors reported since the reset, oldest first (i from 0):
// class, code and the two numbers (b -1 for SmErrorInt). 0; -1 outside.
int MorvekStubErrorCount(void);
int MorvekStubGetError(int i, int* cls, int* code, int* a, int* b);
// Blocks of `pool` allocated and not freed.
long long MorvekStubBlocksInUse(int pool);

// Runs a command script (platform/MorvekStubScript.cpp describes the
// language), printing the host's messages as "[code severity] text" and
// each failure as "file:line: reason". 0 when every statement ran and every
// expectation held; otherwise the number of failures; -1 when the file
// cannot be read.
int MorvekStubRunScript(const char* path);

}  // extern "C"

// Read access to the recorders, for tests and the stand-in host program.
namespace morvekstub {

struct Drawing {
    enum Kind { Line, Marker, Arrow, ResultArrow };
    Kind kind;
    int handle;
    int colour;       // host colour index
    float points[6];  // line: start, end; marker: point; arrow: base, tip;
                      // result arrow: base, vector
    float size;       // arrow size, result arrow scale
    int ints[2];      // marker: its two ints; result arrow: style, last int
    std::string label;
};

struct Message {
    int code;
    int severity;
    int base;
    std::string text;
};

// The last DbFCreateElems call that created elements, as handed over.
struct ElemsCall {
    int count = 0;
    int width = 0;
    std::vector<int> topologies, rows, ids;
};

const std::vector<Drawing>& Drawings();
const std::vector<Message>& Messages();
// Handles handed out and handles deleted since the reset, in order.
const std::vector<int>& CreatedHandles();
const std::vector<int>& DeletedHandles();
int Refreshes();
// Numbers of nodes and elements in the database.
int NodeCount();
int ElemCount();
const ElemsCall& LastElemsCall();

}  // namespace morvekstub

#endif  // PLYSTRAND_PLATFORM_MORVEKSTUB_H
