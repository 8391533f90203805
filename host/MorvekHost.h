#ifndef PLYSTRAND_HOST_MORVEKHOST_H
#define PLYSTRAND_HOST_MORVEKHOST_H

// What the library uses of the host executable: the functions it calls by
// name, the symbol record of the command language, and the types of the
// interface getter and its tables. The host defines all of it; the library
// only declares it here (on this platform the stand-in host of platform/
// defines it unless the library is built to resolve it from the host at
// load time).
//
// Common rules of the host: integers are 32-bit signed `int`, reals 32-bit
// `float` (double only where a function says so), texts zero-ended 8-bit
// strings. Every database and results function returns an int status: 0
// success, anything else failure. "(out)" marks an argument the host writes;
// every other pointer is read only. Arrays are the caller's and sized as
// given.

#include <cstddef>
#include <cstdint>

// Symbol record: one argument or result of a command-language built-in, 40
// bytes, owned by the host. The library reads `type` of argument records
// and writes `form`, `type` and `intValue` of result records; everything else
// is reached through the SmSym accessors below.
struct alignas(8) SmSym {
    unsigned char reserved0[2];
    unsigned char form;  // result records: 10
    unsigned char type;  // value type: 1 integer, 2 real, 4 string
    unsigned char reserved4[4];
    void* host[3];  // the host's own bookkeeping (storage, counts)
    int intValue;   // result records: the integer result
    int reserved36;
};
static_assert(sizeof(SmSym) == 40, "the host's symbol record is 40 bytes");
static_assert(alignof(SmSym) == 8, "the host's symbol record is 8-aligned");
static_assert(offsetof(SmSym, form) == 2 && offsetof(SmSym, type) == 3 &&
                  offsetof(SmSym, intValue) == 32,
              "symbol record field offsets");

extern "C" {

// A built-in: `nargs` argument records from `args` on, one after the other;
// writes `result` and returns it, or returns what the host's error call gave.
typedef SmSym* (*SmBltFn)(int nargs, SmSym* args, SmSym* result);

// One entry of a host interface table. Stored untyped; the caller casts it
// to the entry's own type below before calling.
typedef void (*MorvekHostEntry)(void);
// A table: the address of its first entry.
typedef MorvekHostEntry* MorvekHostTable;
// The host's interface getter: (8, table id, address of the caller's table
// slot, written) -> 0 with the slot filled, or a nonzero status. Table ids:
// 3 mesh, 6 graphics, 12 message, 13 interface.
typedef int (*MorvekHostGetter)(int version, int tableId, MorvekHostTable* slot);

// Entry types of the tables, by table and position.
// Mesh table (3). Each returns a status (0 success).
typedef int (*MorvekMeshCountElems)(int* count);                      // 0
typedef int (*MorvekMeshGetElemIds)(int count, int* ids);             // 1 (ids out)
typedef int (*MorvekMeshGetElemEtop)(int count, int* ids, int* top);  // 2 (top out)
// 4: `slots` node ids per element, row by row (out).
typedef int (*MorvekMeshGetNodesForElems)(int count, int slots, int* ids, int* nodeIds);
// 5: two ints per node (out, host bookkeeping) and x y z per node (out).
typedef int (*MorvekMeshGetNodes)(int count, int* nodeIds, int* a, int* b, float* xyz);
// Graphics table (6). Results are the host's and not relied on.
typedef int (*MorvekGraLine)(int handle, int colour, float* start, float* end);      // 0
typedef int (*MorvekGraNewHandle)(int* handle);                                      // 1 (out)
typedef int (*MorvekGraRefresh)(void);                                               // 2
typedef int (*MorvekGraMarker)(int handle, int colour, float* point, int a, int b);  // 3
typedef int (*MorvekGraDelete)(int handle);                                          // 4
// Message table (12): 0 and 1 interrupt polls (nonzero or 0); 2 a message:
// (code, severity, base 59000000, 0, null, 1, text) where the text is the one
// variable argument; returns the user's answer to a question, else 0.
typedef int (*MorvekMsgPoll)(void);
typedef int (*MorvekMsgSend)(int code, int severity, int base, int zero, void* null, int one, ...);
// Interface table (13): 3 a poll (nonzero or 0).
typedef int (*MorvekIfPoll)(void);

// ---- Command language ----

int SmBltAdd(const char* name, SmBltFn fn);
int SmSymGetArray(SmSym* sym);    // nonzero: the record holds an array
int SmSymArrayElems(SmSym* sym);  // element count (may be negative)
int SmSymGetIntVal(SmSym* sym);
float SmSymGetRealVal(SmSym* sym);
char* SmSymGetStringVal(SmSym* sym);
int* SmSymGetIntPtr(SmSym* sym);
float* SmSymGetRealPtr(SmSym* sym);
char* SmSymGetStringPtr(SmSym* sym);
int* SmSymGetIntAVal(SmSym* sym);
float* SmSymGetRealAVal(SmSym* sym);
int* SmSymGetIntAPtr(SmSym* sym);
float* SmSymGetRealAPtr(SmSym* sym);
char* SmSymGetDataVal(SmSym* sym);  // a string array's block, for reading
char* SmSymGetDataPtr(SmSym* sym);  // a string array's block, for writing
int SmSymGetStringMax(SmSym* sym);  // longest text of the record (slot is one more)
SmSym* SmErrorInt(int cls, int code, int position);
SmSym* SmErrorInt2(int cls, int code, int expected, int actual);

// ---- Memory (pool, size or block, source file and line of the caller) ----

void* MemAllocX(int pool, std::uint64_t size, const char* file, int line);
void MemFreeX(int pool, void* block, const char* file, int line);  // accepts null

// ---- Graphics and the user failure routine ----

int GmDrawArrow(int handle, int colour, float* base, float* tip, float size);
int GmDrawResultArrow(int handle, int colour, float* base, float* vector, float scale, int style,
                      const char* label, int one);
// Six loads, the allowables, three results (out). Nonzero: not evaluated.
int MAT_LamCalcFailUser(float* loads, float* allowables, float* results);

// ---- Database: mesh ----

// The open database's file name (at most `maxLength` characters and the
// zero) into `name` (out); "" when none is open.
int DbNameGet(int maxLength, char* name);
int DbFCreateNodes(int count, int* zerosA, int* zerosB, float* xyz, int zero, int* ids, int* out);
// `width` node ids per element, row by row; the host reads as many of a row
// as the element's topology code gives.
int DbFCreateElems(int count, int width, int* topologies, int* zerosA, int* zerosB, int* nodeIds,
                   int zero, int* ids, int* out);

// ---- Database: element properties, fields, coordinate frames ----

int DbFGetRegionForElements(int count, int* elemIds, int* regionIds);
int DbFCountProps(int regionId, int* wordCount);
int DbFGetPropsByRegion(int wordCount, int regionId, int* wordIds);
int DbFGetPropValue(int regionId, int wordId, int* a, int* dataType, int* b, float* reals3,
                    char* string32, int* frameId, int* c, int* fieldId);
// name32 (out) and ten int outputs: the sixth the kind of the region's
// material (3 laminate), the eighth its material id.
int DbFGetRegionDefinition(int regionId, char* name32, int* o1, int* o2, int* o3, int* o4, int* o5,
                           int* kind, int* o7, int* materialId, int* o9, int* o10);
int DbFGetCoordinateFrame(int frameId, int* a, int* b, float* origin3, float* axes9);
int GetFieldValues25(int fieldId, int a, int b, int c, float* zero, int code, int* elemId, int* d,
                     int* e, int* f, float* value);
int DbFCreateFieldLbc(int* fieldId, const char* name, int a, int b, int code, int count,
                      int* elemIds, float* zerosA, float* zerosB, float* zerosC, float* values);
int DbFCreateCoordinateFrame(int* frameId, int frameType, float* origin3, float* axes9, int* out);
int DbFCreatePhysPropRegion(int regionId, const char* name, int c1, int c2, int c3, int c4, int c5,
                            int c6);
int DbFCreatePhysPropValue(int regionId, int wordId, int materialId, int dataType, int zero,
                           float* reals3, const char* string, int zero2, int frameId, int fieldId);
int DbFAssociateElementToRegion(int elemId, int regionId);

// ---- Database: materials and laminates ----

int DbGetMaterialPropValueCount(int materialId, int* wordCount);
int DbGetMaterialPropValue(int materialId, int* wordIds, int* fieldIds, float* values);
int DbGetCompLamIdsById2(int materialId, int layers, char* name32, int* a, int* materialIds,
                         double* thicknesses, double* anglesDeg, int* b, double* offset,
                         int* noOffset, int* globalPlyIds);
int DbSetCompLamById2(int materialId, int layers, int* materialIds, double* thicknesses,
                      double* anglesDeg, int one, double offset, int noOffset, int* globalPlyIds);
int DbFGetMaterial(int materialId, char* name256, int* a, int* b, int* directionality,
                   char* description1024, int* c, int* d);
int DbFCreateMaterial(const char* name, const char* description, int code, int one,
                      int directionality, int isLaminate, int* materialId);
int DbCreateMatlConstModelDefn(int materialId, int* models, int count);
int DbCreateConstitutiveModelsSpecified(int materialId, int model, int* zeros, int one);
int DbCreateMaterialPropValue(int materialId, int* wordId, int* fieldId, float* value, int one);

// ---- Results ----

int DbFPostResultsLoad(void);
int ResUtlCClearResult(void);
int DbGetLoadCaseId(const char* loadCase, int* id);
int DrDbGetSubcaseId(const char* loadCase, const char* subcase, int* id);
int DrDbGetResultIds(const char* primary, const char* secondary, int* primaryId, int* secondaryId);
// At most 1024 layers; labels of 80 characters each (out).
int ResUtlCGetResultLayers(int* ids5, int* layerCount, int* layerIds, char (*labels)[80]);
int res_db_getlayerposattr(int layerId, int* position, int* attribute, char* label);
int ResUtlCGetResultInfo(int* ids5, char* block240, int* a, int* type, int* b, int* c, int* d,
                         void* block48A, void* block48B);
int ResUtlCExtractElemResults(int* ids5, int count, int* elemIds, const char* empty, char* location,
                              int minus99, int one, int valuesPerPoint, int* type, int* a,
                              int* pointCounts, float* values, void* block48A, void* block48B);
int DbFCreateLoadCase(const char* name, int one, const char* description, int zero, int* a,
                      const char* empty, double zeroReal, int* b, int* loadCaseId);
int DbFCreateSubCase(int loadCaseId, const char* name, int* subcaseId, int* a);
int DbGetSubcaseTitle(int loadCaseId, int subcaseId, char* title256);
int DbtCreateSectPos(int one, const char* label, int zero, float* zeros2, int* sectPosId);
int DbtCreateLayers(int one, int layer, int sectPosId, int* layerId);
int ResUtlCCreateElemResult(int* ids5, const char* primary, const char* secondary, int count,
                            int* elemIds, int zero, int valuesPerPoint, int type,
                            const char* location, int* pointCounts, float* values);

}  // extern "C"

#endif  // PLYSTRAND_HOST_MORVEKHOST_H
