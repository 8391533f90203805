#ifndef PLYSTRAND_PLATFORM_MORVEKSTUB_H
#define PLYSTRAND_PLATFORM_MORVEKSTUB_H

// The stand-in host: what the host executable gives the library, small
// enough to run and test the library without the host. A port to the real
// host drops this layer (CMake option PLYSTRAND_STANDIN_HOST).
//
// Process-wide it keeps
//   - a database: its name, nodes (id, x y z) and elements (id, any topology
//     code, node ids in host order: corners first, then midsides), so that
//     shells, bars and solids can be offered;
//   - a graphics recorder: handles from 1 up (never reused, also across a
//     reset), every line, marker and arrow with its handle, the refreshes and
//     the deleted handles;
//   - a message sink: code, severity, base code and text of every message,
//     with queued answers for questions (a message whose severity is not 1,
//     2 or 4, such as 1029); an empty queue answers 0.
//
// It defines the host functions DbNameGet, DbFCreateNodes, DbFCreateElems,
// GmDrawArrow, GmDrawResultArrow and MAT_LamCalcFailUser (host/MorvekHost.h)
// and hands out its mesh, graphics, message and interface tables through
// MorvekStubGetter.
//
// Statuses of its host functions: 0 success; 1 a duplicate or unknown id
// (nothing is created); 2 a bad argument (negative count, missing array, a
// row narrower than its element). MAT_LamCalcFailUser has no user routine:
// 1, results untouched.
//
// Names that MorvekStubFail knows: the host functions above by their names,
// "MorvekStubGetter", and the table entries as "mesh.0", "mesh.1",
// "mesh.2", "mesh.4", "mesh.5", "graphics.0" .. "graphics.4", "message.0",
// "message.1", "message.2", "interface.3".
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

// Empties the database (name included), the recorders, the answer queue, the
// queued failures and the stop request.
void MorvekStubReset(void);

// Sets the name DbNameGet reports; "" or null: no database open. The nodes
// and elements stay as they are.
void MorvekStubOpenDatabase(const char* name);

// Adds the nodes and elements of a text fixture to the database, one record
// a line: "node ID X Y Z" or "elem ID TOPOLOGY N1 .. Nk" (k >= 1 node ids in
// host order), blank lines and lines starting with '#' ignored. 0; -1 (with
// "path:line: reason" on stderr and the database unchanged) when the file
// cannot be read, a line is malformed or an id is already taken.
int MorvekStubLoadDatabase(const char* path);

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
