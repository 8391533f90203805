#include "blt/lamlayup.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "host/LayupApi.h"
#include "host/guard_export.h"
#include "layuplib/copy_text.h"

namespace {

// Argument kinds: inputs, outputs by address (O...), arrays (...A).
enum class Kind : unsigned char { I, R, S, OI, OR, OS, IA, RA, OIA, ORA, SA, OSA };

constexpr int kMaxArgs = 64;

// The least element count of array argument `arg` (1-based): factor x the
// value of argument `a` (x the value of argument `b` when given) + add, or
// with `pair` the sum of the two values of int[2] argument `a`.
struct Least {
    int arg;
    int a;
    int b;
    int factor;
    int add;
    bool pair;
};

using Thunk = int (*)(const BltArg* a);

struct Row {
    int position;
    const char* name;
    const char* kinds;  // blank-separated codes; "code*n" repeats a code
    Thunk call;
    const Least* least;
    int nLeast;
};

template <class T>
T* as(const BltArg& a) {
    return static_cast<T*>(a.p);
}
const char* text(const BltArg& a) {
    return static_cast<const char*>(a.p);
}

const Least kNewLayupMesh[] = {{2, 1, 0, 1, 0, false}, {3, 1, 0, 3, 0, false},
                               {5, 4, 0, 1, 0, false}, {6, 4, 0, 1, 0, false},
                               {7, 4, 0, 1, 0, false}, {9, 8, 4, 1, 0, false}};
const Least kCreateLaminate[] = {
    {2, 1, 0, 1, 0, false}, {4, 1, 0, 0, 6, false}, {8, 1, 0, 0, 3, false}, {9, 1, 0, 0, 3, false}};
const Least kVerifyLaminate[] = {{2, 1, 0, 1, 0, false},  {3, 1, 0, 0, 3, false},
                                 {6, 1, 0, 0, 10, false}, {7, 1, 0, 0, 10, false},
                                 {8, 1, 0, 0, 20, false}, {9, 1, 0, 0, 10, false}};
const Least kImportPly[] = {{2, 1, 0, 1, 0, false}, {4, 3, 0, 1, 0, false}};
// Every array of the layup functions holds `count` entries (the normal 3).
const Least kGetLayup[] = {{3, 2, 0, 1, 0, false}, {4, 2, 0, 1, 0, false}, {5, 2, 0, 1, 0, false},
                           {6, 2, 0, 1, 0, false}, {7, 2, 0, 1, 0, false}, {8, 2, 0, 1, 0, false},
                           {9, 2, 0, 1, 0, false}, {10, 2, 0, 1, 0, false}};
const Least kCreateLayup[] = {
    {3, 2, 0, 1, 0, false}, {4, 2, 0, 1, 0, false},  {5, 2, 0, 1, 0, false},
    {6, 2, 0, 1, 0, false}, {7, 2, 0, 1, 0, false},  {8, 2, 0, 1, 0, false},
    {9, 2, 0, 1, 0, false}, {10, 2, 0, 1, 0, false}, {11, 2, 0, 1, 0, false}};
const Least kGetLayupElement[] = {
    {2, 1, 0, 0, 3, false},  {4, 3, 0, 1, 0, false},  {5, 3, 0, 1, 0, false},
    {6, 3, 0, 1, 0, false},  {7, 3, 0, 1, 0, false},  {8, 3, 0, 1, 0, false},
    {9, 3, 0, 1, 0, false},  {10, 3, 0, 1, 0, false}, {11, 3, 0, 1, 0, false},
    {12, 3, 0, 1, 0, false}, {13, 3, 0, 1, 0, false}};
const Least kSetOffset[] = {{11, 10, 0, 1, 0, false}};
// Seed curve arrays: both curves' counts; element and split arrays their counts.
const Least kCreatePly[] = {{24, 23, 0, 0, 0, true},  {25, 23, 0, 0, 0, true},
                            {34, 33, 0, 1, 0, false}, {35, 33, 0, 1, 0, false},
                            {37, 36, 0, 1, 0, false}, {38, 36, 0, 1, 0, false},
                            {39, 36, 0, 1, 0, false}};
const Least kModifyPly[] = {{25, 24, 0, 0, 0, true},  {26, 24, 0, 0, 0, true},
                            {35, 34, 0, 1, 0, false}, {36, 34, 0, 1, 0, false},
                            {38, 37, 0, 1, 0, false}, {39, 37, 0, 1, 0, false},
                            {40, 37, 0, 1, 0, false}};
const Least kPlyNames[] = {{3, 2, 0, 1, 0, false}, {4, 2, 0, 1, 0, false}};
const Least kPlySizes[] = {{5, 1, 0, 0, 2, false}};
const Least kMaterialNames[] = {{3, 2, 0, 1, 0, false}};
// Every state array: the state count argument + 1 entries.
const Least kCreateMaterial[] = {
    {7, 6, 0, 1, 1, false},  {8, 6, 0, 1, 1, false},  {9, 6, 0, 1, 1, false},
    {10, 6, 0, 1, 1, false}, {11, 6, 0, 1, 1, false}, {12, 6, 0, 1, 1, false},
    {13, 6, 0, 1, 1, false}, {14, 6, 0, 1, 1, false}, {15, 6, 0, 1, 1, false},
    {16, 6, 0, 1, 1, false}, {17, 6, 0, 1, 1, false}, {18, 6, 0, 1, 1, false},
    {19, 6, 0, 1, 1, false}, {20, 6, 0, 1, 1, false}, {21, 6, 0, 1, 1, false},
    {22, 6, 0, 1, 1, false}, {23, 6, 0, 1, 1, false}, {24, 6, 0, 1, 1, false},
    {25, 6, 0, 1, 1, false}, {26, 6, 0, 1, 1, false}, {27, 6, 0, 1, 1, false},
    {28, 6, 0, 1, 1, false}, {29, 6, 0, 1, 1, false}, {30, 6, 0, 1, 1, false},
    {31, 6, 0, 1, 1, false}, {32, 6, 0, 1, 1, false}, {33, 6, 0, 1, 1, false},
    {34, 6, 0, 1, 1, false}, {35, 6, 0, 1, 1, false}, {36, 6, 0, 1, 1, false},
    {37, 6, 0, 1, 1, false}, {38, 6, 0, 1, 1, false}, {39, 6, 0, 1, 1, false},
    {40, 6, 0, 1, 1, false}, {41, 6, 0, 1, 1, false}, {42, 6, 0, 1, 1, false},
    {43, 6, 0, 1, 1, false}, {44, 6, 0, 1, 1, false}, {45, 6, 0, 1, 1, false},
    {46, 6, 0, 1, 1, false}, {47, 6, 0, 1, 1, false}, {48, 6, 0, 1, 1, false},
    {49, 6, 0, 1, 1, false}, {50, 6, 0, 1, 1, false}, {51, 6, 0, 1, 1, false},
    {52, 6, 0, 1, 1, false}};
// Every state array: the state count argument + 1 entries.
const Least kModifyMaterial[] = {
    {8, 7, 0, 1, 1, false},  {9, 7, 0, 1, 1, false},  {10, 7, 0, 1, 1, false},
    {11, 7, 0, 1, 1, false}, {12, 7, 0, 1, 1, false}, {13, 7, 0, 1, 1, false},
    {14, 7, 0, 1, 1, false}, {15, 7, 0, 1, 1, false}, {16, 7, 0, 1, 1, false},
    {17, 7, 0, 1, 1, false}, {18, 7, 0, 1, 1, false}, {19, 7, 0, 1, 1, false},
    {20, 7, 0, 1, 1, false}, {21, 7, 0, 1, 1, false}, {22, 7, 0, 1, 1, false},
    {23, 7, 0, 1, 1, false}, {24, 7, 0, 1, 1, false}, {25, 7, 0, 1, 1, false},
    {26, 7, 0, 1, 1, false}, {27, 7, 0, 1, 1, false}, {28, 7, 0, 1, 1, false},
    {29, 7, 0, 1, 1, false}, {30, 7, 0, 1, 1, false}, {31, 7, 0, 1, 1, false},
    {32, 7, 0, 1, 1, false}, {33, 7, 0, 1, 1, false}, {34, 7, 0, 1, 1, false},
    {35, 7, 0, 1, 1, false}, {36, 7, 0, 1, 1, false}, {37, 7, 0, 1, 1, false},
    {38, 7, 0, 1, 1, false}, {39, 7, 0, 1, 1, false}, {40, 7, 0, 1, 1, false},
    {41, 7, 0, 1, 1, false}, {42, 7, 0, 1, 1, false}, {43, 7, 0, 1, 1, false},
    {44, 7, 0, 1, 1, false}, {45, 7, 0, 1, 1, false}, {46, 7, 0, 1, 1, false},
    {47, 7, 0, 1, 1, false}, {48, 7, 0, 1, 1, false}, {49, 7, 0, 1, 1, false},
    {50, 7, 0, 1, 1, false}, {51, 7, 0, 1, 1, false}, {52, 7, 0, 1, 1, false},
    {53, 7, 0, 1, 1, false}};

// One row per built-in, in registration order.
const Row kRows[] = {
    {1, "kp_construct", "i s s",
     [](const BltArg* a) { return LayupConstruct(a[0].i, text(a[1]), text(a[2])); }, nullptr, 0},
    {2, "kp_destruct", "", [](const BltArg*) { return LayupDestruct(); }, nullptr, 0},
    {10, "kp_get_num_materials", "i >i",
     [](const BltArg* a) { return LayupGetNumMaterials(a[0].i, as<int>(a[1])); }, nullptr, 0},
    {11, "kp_get_material_names", "i i >s[]",
     [](const BltArg* a) { return LayupGetMaterialNames(a[0].i, a[1].i, as<char*>(a[2])); },
     kMaterialNames, 1},
    {12, "kp_get_material", ">i s >r*3 >s >i >i >r*42",
     [](const BltArg* a) {
         return LayupGetMaterial(
             as<int>(a[0]), text(a[1]), as<float>(a[2]), as<float>(a[3]), as<float>(a[4]),
             as<char>(a[5]), as<int>(a[6]), as<int>(a[7]), as<float>(a[8]), as<float>(a[9]),
             as<float>(a[10]), as<float>(a[11]), as<float>(a[12]), as<float>(a[13]),
             as<float>(a[14]), as<float>(a[15]), as<float>(a[16]), as<float>(a[17]),
             as<float>(a[18]), as<float>(a[19]), as<float>(a[20]), as<float>(a[21]),
             as<float>(a[22]), as<float>(a[23]), as<float>(a[24]), as<float>(a[25]),
             as<float>(a[26]), as<float>(a[27]), as<float>(a[28]), as<float>(a[29]),
             as<float>(a[30]), as<float>(a[31]), as<float>(a[32]), as<float>(a[33]),
             as<float>(a[34]), as<float>(a[35]), as<float>(a[36]), as<float>(a[37]),
             as<float>(a[38]), as<float>(a[39]), as<float>(a[40]), as<float>(a[41]),
             as<float>(a[42]), as<float>(a[43]), as<float>(a[44]), as<float>(a[45]),
             as<float>(a[46]), as<float>(a[47]), as<float>(a[48]), as<float>(a[49]));
     },
     nullptr, 0},
    {13, "kp_get_num_material_states", "i s >i",
     [](const BltArg* a) { return LayupGetNumMaterialStates(a[0].i, text(a[1]), as<int>(a[2])); },
     nullptr, 0},
    {14, "kp_get_material_states", "i s >r*3 i >r[] >s[] >i[] >i[] >r[]*42",
     [](const BltArg* a) {
         return LayupGetMaterialStates(
             a[0].i, text(a[1]), as<float>(a[2]), as<float>(a[3]), as<float>(a[4]), a[5].i,
             as<float>(a[6]), as<char*>(a[7]), as<int>(a[8]), as<int>(a[9]), as<float>(a[10]),
             as<float>(a[11]), as<float>(a[12]), as<float>(a[13]), as<float>(a[14]),
             as<float>(a[15]), as<float>(a[16]), as<float>(a[17]), as<float>(a[18]),
             as<float>(a[19]), as<float>(a[20]), as<float>(a[21]), as<float>(a[22]),
             as<float>(a[23]), as<float>(a[24]), as<float>(a[25]), as<float>(a[26]),
             as<float>(a[27]), as<float>(a[28]), as<float>(a[29]), as<float>(a[30]),
             as<float>(a[31]), as<float>(a[32]), as<float>(a[33]), as<float>(a[34]),
             as<float>(a[35]), as<float>(a[36]), as<float>(a[37]), as<float>(a[38]),
             as<float>(a[39]), as<float>(a[40]), as<float>(a[41]), as<float>(a[42]),
             as<float>(a[43]), as<float>(a[44]), as<float>(a[45]), as<float>(a[46]),
             as<float>(a[47]), as<float>(a[48]), as<float>(a[49]), as<float>(a[50]),
             as<float>(a[51]));
     },
     nullptr, 0},
    {15, "kp_get_num_plies", "i >i",
     [](const BltArg* a) { return LayupGetNumPlies(a[0].i, as<int>(a[1])); }, nullptr, 0},
    {16, "kp_get_ply_names", "i i >s[] >i[]",
     [](const BltArg* a) {
         return LayupGetPlyNames(a[0].i, a[1].i, as<char*>(a[2]), as<int>(a[3]));
     },
     kPlyNames, 2},
    {17, "kp_get_ply_sizes", "i s >i >i >i[]",
     [](const BltArg* a) {
         return LayupGetPlySizes(a[0].i, text(a[1]), as<int>(a[2]), as<int>(a[3]), as<int>(a[4]));
     },
     kPlySizes, 1},
    {21, "kp_get_layup_sizes", ">i",
     [](const BltArg* a) { return LayupGetLayupSizes(as<int>(a[0])); }, nullptr, 0},
    {22, "kp_get_layup", ">s i >s[] >s[] >i[] >s[] >i[] >i[] >r[] >i[]",
     [](const BltArg* a) {
         return LayupGetLayup2(as<char>(a[0]), a[1].i, as<char*>(a[2]), as<char*>(a[3]),
                               as<int>(a[4]), as<char*>(a[5]), as<int>(a[6]), as<int>(a[7]),
                               as<float>(a[8]), as<int>(a[9]));
     },
     kGetLayup, 8},
    // ---- laminates
    {29, "kp_create_laminate", "i i[] s i[] i*3 r[] r[] >r*3 i*7 >i*9",
     [](const BltArg* a) {
         return LayupCreateLaminate(
             a[0].i, as<int>(a[1]), as<char>(a[2]), as<int>(a[3]), a[4].i, a[5].i, a[6].i,
             as<float>(a[7]), as<float>(a[8]), as<float>(a[9]), as<float>(a[10]), as<float>(a[11]),
             a[12].i, a[13].i, a[14].i, a[15].i, a[16].i, a[17].i, a[18].i, as<int>(a[19]),
             as<int>(a[20]), as<int>(a[21]), as<int>(a[22]), as<int>(a[23]), as<int>(a[24]),
             as<int>(a[25]), as<int>(a[26]), as<int>(a[27]));
     },
     kCreateLaminate, 4},
    {30, "kp_clear_laminate", "", [](const BltArg*) { return LayupClearLaminate(); }, nullptr, 0},
    {31, "kp_get_num_lams", "i >i >i",
     [](const BltArg* a) { return LayupGetNumLams2(a[0].i, as<int>(a[1]), as<int>(a[2])); },
     nullptr, 0},
    {38, "kp_verify_laminate", "i i[] r[] r r i[] i[] r[] r[] >i >i[]",
     [](const BltArg* a) {
         // The results go no further than the host's array, whatever
         // capacity the caller claims.
         int* size = as<int>(a[9]);
         if (size && *size > a[10].count) *size = a[10].count;
         return LayupVerifyLaminate(a[0].i, as<int>(a[1]), as<float>(a[2]), a[3].r, a[4].r,
                                    as<int>(a[5]), as<int>(a[6]), as<float>(a[7]), as<float>(a[8]),
                                    size, as<int>(a[10]));
     },
     kVerifyLaminate, 6},
    {39, "kp_verify_laminate_reset", "", [](const BltArg*) { return LayupVerifyLaminateReset(); },
     nullptr, 0},
    // ---- end of laminates
    {51, "kp_restore_offset", "", [](const BltArg*) { return LayupRestoreOffset(); }, nullptr, 0},
    {52, "kp_set_offset", "s r i r*6 i i[]",
     [](const BltArg* a) {
         return LayupSetOffset2(text(a[0]), a[1].r, a[2].i, a[3].r, a[4].r, a[5].r, a[6].r, a[7].r,
                                a[8].r, a[9].i, as<int>(a[10]));
     },
     kSetOffset, 1},
    {53, "kp_get_no_off_regions", "i >i",
     [](const BltArg* a) { return LayupGetNoOffRegions(a[0].i, as<int>(a[1])); }, nullptr, 0},
    {54, "kp_get_off_regions_size", "i >i[]",
     [](const BltArg* a) { return LayupGetOffRegionsSize(a[0].i, as<int>(a[1])); }, nullptr, 0},
    {55, "kp_get_offset_defn", "i i >s[] >r[] >i[] >i[] >r[] >r[]",
     [](const BltArg* a) {
         return LayupGetOffsetDefn2(a[0].i, a[1].i, as<char*>(a[2]), as<float>(a[3]), as<int>(a[4]),
                                    as<int>(a[5]), as<float>(a[6]), as<float>(a[7]));
     },
     nullptr, 0},
    {56, "kp_get_no_tol_regions", "i >i",
     [](const BltArg* a) { return LayupGetNoTolRegions(a[0].i, as<int>(a[1])); }, nullptr, 0},
    {57, "kp_get_tol_regions_size", "i >i[]",
     [](const BltArg* a) { return LayupGetTolRegionsSize(a[0].i, as<int>(a[1])); }, nullptr, 0},
    {58, "kp_get_tol_defn", "i >r >r >r[] >r[] >i[]",
     [](const BltArg* a) {
         return LayupGetTolDefn(a[0].i, as<float>(a[1]), as<float>(a[2]), as<float>(a[3]),
                                as<float>(a[4]), as<int>(a[5]));
     },
     nullptr, 0},
    {64, "kp_open_message", "s", [](const BltArg* a) { return LayupOpenMessage(text(a[0])); },
     nullptr, 0},
    {65, "kp_new_layup_mesh", "i i[] r[] i i[] i[] i[] i i[] r r",
     [](const BltArg* a) {
         return LayupNewLayupMesh(a[0].i, as<int>(a[1]), as<float>(a[2]), a[3].i, as<int>(a[4]),
                                  as<int>(a[5]), as<int>(a[6]), a[7].i, as<int>(a[8]), a[9].r,
                                  a[10].r);
     },
     kNewLayupMesh, 6},
    {66, "kp_new_layup", "r r", [](const BltArg* a) { return LayupNewLayup(a[0].r, a[1].r); },
     nullptr, 0},
    {69, "kp_open_layup", "s i i",
     [](const BltArg* a) { return LayupOpenLayup2(text(a[0]), a[1].i, a[2].i); }, nullptr, 0},
    {70, "kp_save_layup", "s i i",
     [](const BltArg* a) { return LayupSaveLayup(text(a[0]), a[1].i, a[2].i); }, nullptr, 0},
    {71, "kp_kor_read", "s i", [](const BltArg* a) { return LayupKorRead(text(a[0]), a[1].i); },
     nullptr, 0},
    {72, "kp_kor_write", "s i i",
     [](const BltArg* a) { return LayupKorWrite(text(a[0]), a[1].i, a[2].i); }, nullptr, 0},
    {73, "kp_korf06_read", "s i s i",
     [](const BltArg* a) { return LayupKorF06Read(text(a[0]), a[1].i, text(a[2]), a[3].i); },
     nullptr, 0},
    {74, "kp_korop2_read", "s i i",
     [](const BltArg* a) { return LayupKorOp2Read(text(a[0]), a[1].i, a[2].i); }, nullptr, 0},
    {75, "kp_read", "i s i i",
     [](const BltArg* a) { return LayupRead(a[0].i, text(a[1]), a[2].i, a[3].i); }, nullptr, 0},
    {76, "kp_write", "i s i i",
     [](const BltArg* a) { return LayupWrite(a[0].i, text(a[1]), a[2].i, a[3].i); }, nullptr, 0},
    {77, "kp_close_layup", "", [](const BltArg*) { return LayupCloseLayup(); }, nullptr, 0},
    {78, "kp_close_message", "", [](const BltArg*) { return LayupCloseMessage(); }, nullptr, 0},
    {79, "kp_import_morvek_25", "s",
     [](const BltArg* a) { return LayupImportMorvek25(text(a[0])); }, nullptr, 0},
    {80, "kp_import_ply", "i i[] i s[] r r i*5 r >i >i[]",
     [](const BltArg* a) {
         return LayupImportPly3(a[0].i, as<int>(a[1]), a[2].i, as<char*>(a[3]), a[4].r, a[5].r,
                                a[6].i, a[7].i, a[8].i, a[9].i, a[10].i, a[11].r, as<int>(a[12]),
                                as<int>(a[13]));
     },
     kImportPly, 2},
    {99, "kp_create_material_add", "i s r r r i r[] s[] i[] i[] r[]*42",
     [](const BltArg* a) {
         return LayupCreateMaterial(
             a[0].i, text(a[1]), a[2].r, a[3].r, a[4].r, a[5].i, as<float>(a[6]), as<char*>(a[7]),
             as<int>(a[8]), as<int>(a[9]), as<float>(a[10]), as<float>(a[11]), as<float>(a[12]),
             as<float>(a[13]), as<float>(a[14]), as<float>(a[15]), as<float>(a[16]),
             as<float>(a[17]), as<float>(a[18]), as<float>(a[19]), as<float>(a[20]),
             as<float>(a[21]), as<float>(a[22]), as<float>(a[23]), as<float>(a[24]),
             as<float>(a[25]), as<float>(a[26]), as<float>(a[27]), as<float>(a[28]),
             as<float>(a[29]), as<float>(a[30]), as<float>(a[31]), as<float>(a[32]),
             as<float>(a[33]), as<float>(a[34]), as<float>(a[35]), as<float>(a[36]),
             as<float>(a[37]), as<float>(a[38]), as<float>(a[39]), as<float>(a[40]),
             as<float>(a[41]), as<float>(a[42]), as<float>(a[43]), as<float>(a[44]),
             as<float>(a[45]), as<float>(a[46]), as<float>(a[47]), as<float>(a[48]),
             as<float>(a[49]), as<float>(a[50]), as<float>(a[51]));
     },
     kCreateMaterial, 46},
    {100, "kp_modify_material", "i s s r r r i r[] s[] i[] i[] r[]*42",
     [](const BltArg* a) {
         return LayupModifyMaterial(
             a[0].i, text(a[1]), text(a[2]), a[3].r, a[4].r, a[5].r, a[6].i, as<float>(a[7]),
             as<char*>(a[8]), as<int>(a[9]), as<int>(a[10]), as<float>(a[11]), as<float>(a[12]),
             as<float>(a[13]), as<float>(a[14]), as<float>(a[15]), as<float>(a[16]),
             as<float>(a[17]), as<float>(a[18]), as<float>(a[19]), as<float>(a[20]),
             as<float>(a[21]), as<float>(a[22]), as<float>(a[23]), as<float>(a[24]),
             as<float>(a[25]), as<float>(a[26]), as<float>(a[27]), as<float>(a[28]),
             as<float>(a[29]), as<float>(a[30]), as<float>(a[31]), as<float>(a[32]),
             as<float>(a[33]), as<float>(a[34]), as<float>(a[35]), as<float>(a[36]),
             as<float>(a[37]), as<float>(a[38]), as<float>(a[39]), as<float>(a[40]),
             as<float>(a[41]), as<float>(a[42]), as<float>(a[43]), as<float>(a[44]),
             as<float>(a[45]), as<float>(a[46]), as<float>(a[47]), as<float>(a[48]),
             as<float>(a[49]), as<float>(a[50]), as<float>(a[51]), as<float>(a[52]));
     },
     kModifyMaterial, 46},
    {101, "kp_delete_material", "i s",
     [](const BltArg* a) { return LayupDeleteMaterial(a[0].i, text(a[1])); }, nullptr, 0},
    {102, "kp_create_ply", "i s s r*10 i r[] s r*4 i s i[]*3 i i r*5 i i[] i[] i i[]*3",
     [](const BltArg* a) {
         return LayupCreatePly4(
             a[0].i, text(a[1]), text(a[2]), a[3].r, a[4].r, a[5].r, a[6].r, a[7].r, a[8].r, a[9].r,
             a[10].r, a[11].r, a[12].r, a[13].i, as<float>(a[14]), text(a[15]), a[16].r, a[17].r,
             a[18].r, a[19].r, a[20].i, text(a[21]), as<int>(a[22]), as<int>(a[23]), as<int>(a[24]),
             a[25].i, a[26].i, a[27].r, a[28].r, a[29].r, a[30].r, a[31].r, a[32].i, as<int>(a[33]),
             as<int>(a[34]), a[35].i, as<int>(a[36]), as<int>(a[37]), as<int>(a[38]));
     },
     kCreatePly, 7},
    {103, "kp_delete_layer", "i s",
     [](const BltArg* a) { return LayupDeletePly(a[0].i, text(a[1])); }, nullptr, 0},
    {104, "kp_modify_ply", "i s s s r*10 i r[] s r*4 i s i[]*3 i i r*5 i i[] i[] i i[]*3",
     [](const BltArg* a) {
         return LayupModifyPly4(a[0].i, text(a[1]), text(a[2]), text(a[3]), a[4].r, a[5].r, a[6].r,
                                a[7].r, a[8].r, a[9].r, a[10].r, a[11].r, a[12].r, a[13].r, a[14].i,
                                as<float>(a[15]), text(a[16]), a[17].r, a[18].r, a[19].r, a[20].r,
                                a[21].i, text(a[22]), as<int>(a[23]), as<int>(a[24]),
                                as<int>(a[25]), a[26].i, a[27].i, a[28].r, a[29].r, a[30].r,
                                a[31].r, a[32].r, a[33].i, as<int>(a[34]), as<int>(a[35]), a[36].i,
                                as<int>(a[37]), as<int>(a[38]), as<int>(a[39]));
     },
     kModifyPly, 7},
    {112, "kp_create_layup", "s i s[] s[] i[] s[] i[] i[] r[] r[] i[]",
     [](const BltArg* a) {
         return LayupCreateLayup2(text(a[0]), a[1].i, as<char*>(a[2]), as<char*>(a[3]),
                                  as<int>(a[4]), as<char*>(a[5]), as<int>(a[6]), as<int>(a[7]),
                                  as<float>(a[8]), as<float>(a[9]), as<int>(a[10]));
     },
     kCreateLayup, 9},
    {113, "kp_create_layup_laminate", "", [](const BltArg*) { return LayupCreateLayupLaminate(); },
     nullptr, 0},
    {114, "kp_delete_layup_layup", "s", [](const BltArg*) { return LayupDeleteLayup(0); }, nullptr,
     0},
    {115, "kp_get_layup_element_size", "i >i",
     [](const BltArg* a) { return LayupGetLayupElementSize(a[0].i, as<int>(a[1])); }, nullptr, 0},
    {116, "kp_get_layup_element", "i >r[] i >s[] >i[]*3 >s[] >s[] >r[]*3 >i[]",
     [](const BltArg* a) {
         return LayupGetLayupElement(a[0].i, as<float>(a[1]), a[2].i, as<char*>(a[3]),
                                     as<int>(a[4]), as<int>(a[5]), as<int>(a[6]), as<char*>(a[7]),
                                     as<char*>(a[8]), as<float>(a[9]), as<float>(a[10]),
                                     as<float>(a[11]), as<int>(a[12]));
     },
     kGetLayupElement, 11},
    {143, "kp_get_versions", ">i >i >i",
     [](const BltArg* a) { return LayupGetVersions(as<int>(a[0]), as<int>(a[1]), as<int>(a[2])); },
     nullptr, 0},
    // ---- mesh checks
    {148, "kp_plot_elem_faces", "", [](const BltArg*) { return LayupPlotElemFaces(); }, nullptr, 0},
    {149, "kp_erase_elem_faces", "", [](const BltArg*) { return LayupEraseElemFaces(); }, nullptr,
     0},
    {150, "kp_plot_elem_nodes", "", [](const BltArg*) { return LayupPlotElemNodes(); }, nullptr, 0},
    {151, "kp_erase_elem_nodes", "", [](const BltArg*) { return LayupEraseElemNodes(); }, nullptr,
     0},
    {152, "kp_plot_elem_free_edges", "", [](const BltArg*) { return LayupPlotElemFreeEdges(); },
     nullptr, 0},
    {153, "kp_erase_elem_free_edges", "", [](const BltArg*) { return LayupEraseElemFreeEdges(); },
     nullptr, 0},
    {154, "kp_plot_elem_branches", "", [](const BltArg*) { return LayupPlotElemBranches(); },
     nullptr, 0},
    {155, "kp_erase_elem_branches", "", [](const BltArg*) { return LayupEraseElemBranches(); },
     nullptr, 0},
    {156, "kp_plot_elem_normals", "", [](const BltArg*) { return LayupPlotElemNormals(); }, nullptr,
     0},
    {157, "kp_erase_elem_normals", "", [](const BltArg*) { return LayupEraseElemNormals(); },
     nullptr, 0},
    {158, "kp_plot_elem_normal_boundaries", "",
     [](const BltArg*) { return LayupPlotElemNormalBoundaries(); }, nullptr, 0},
    {159, "kp_erase_elem_normal_boundaries", "",
     [](const BltArg*) { return LayupEraseElemNormalBoundaries(); }, nullptr, 0},
    {160, "kp_plot_elem_duplicates", "", [](const BltArg*) { return LayupPlotElemDuplicates(); },
     nullptr, 0},
    {161, "kp_erase_elem_duplicates", "", [](const BltArg*) { return LayupEraseElemDuplicates(); },
     nullptr, 0},
    {162, "kp_plot_elem_connectivities", "",
     [](const BltArg*) { return LayupPlotElemConnectivities(); }, nullptr, 0},
    {163, "kp_erase_elem_connectivities", "",
     [](const BltArg*) { return LayupEraseElemConnectivities(); }, nullptr, 0},
    {164, "kp_plot_elem_material_orients", "",
     [](const BltArg*) { return LayupPlotElemMaterialOrients(); }, nullptr, 0},
    {165, "kp_erase_elem_material_orients", "",
     [](const BltArg*) { return LayupEraseElemMaterialOrients(); }, nullptr, 0},
    {166, "kp_plot_elem_feature_angles", "r",
     [](const BltArg* a) { return LayupPlotElemFeatureAngles(a[0].r); }, nullptr, 0},
    {167, "kp_erase_elem_feature_angles", "",
     [](const BltArg*) { return LayupEraseElemFeatureAngles(); }, nullptr, 0},
    // ---- end of mesh checks
};

constexpr std::size_t kRowCount = sizeof(kRows) / sizeof(kRows[0]);

bool parseKind(const char* s, std::size_t n, Kind& kind) {
    static const struct {
        const char* code;
        Kind kind;
    } codes[] = {{"i", Kind::I},      {"r", Kind::R},      {"s", Kind::S},    {">i", Kind::OI},
                 {">r", Kind::OR},    {">s", Kind::OS},    {"i[]", Kind::IA}, {"r[]", Kind::RA},
                 {">i[]", Kind::OIA}, {">r[]", Kind::ORA}, {"s[]", Kind::SA}, {">s[]", Kind::OSA}};
    for (const auto& c : codes)
        if (std::strlen(c.code) == n && std::strncmp(c.code, s, n) == 0) {
            kind = c.kind;
            return true;
        }
    return false;
}

// The kinds of every row, parsed once.
const std::vector<std::vector<Kind>>& rowKinds() {
    static const std::vector<std::vector<Kind>> kinds = [] {
        std::vector<std::vector<Kind>> all(kRowCount);
        for (std::size_t r = 0; r < kRowCount; ++r) {
            const char* s = kRows[r].kinds;
            while (*s) {
                while (*s == ' ') ++s;
                const char* start = s;
                while (*s && *s != ' ' && *s != '*') ++s;
                Kind kind = Kind::I;
                if (s == start || !parseKind(start, static_cast<std::size_t>(s - start), kind))
                    break;
                int repeat = 1;
                if (*s == '*') {
                    repeat = 0;
                    for (++s; *s >= '0' && *s <= '9'; ++s) repeat = repeat * 10 + (*s - '0');
                }
                all[r].insert(all[r].end(), static_cast<std::size_t>(repeat), kind);
            }
        }
        return all;
    }();
    return kinds;
}

const BltArg* g_current = nullptr;
int g_currentCount = 0;
const std::vector<Kind>* g_currentKinds = nullptr;

bool isArray(Kind k) {
    return k >= Kind::IA;
}

int valueTypeOf(Kind k) {
    switch (k) {
        case Kind::I:
        case Kind::OI:
        case Kind::IA:
        case Kind::OIA:
            return 1;
        case Kind::R:
        case Kind::OR:
        case Kind::RA:
        case Kind::ORA:
            return 2;
        default:
            return 4;
    }
}

// The room left in the host's text slot holding `buffer`, for copy_text:
// the output texts of the running call, each `capacity` bytes; -1 elsewhere.
int hostTextRoom(const char* buffer) {
    for (int k = 0; k < g_currentCount; ++k) {
        const BltArg& a = g_current[k];
        const Kind kind = (*g_currentKinds)[k];
        if (!a.p || (kind != Kind::OS && kind != Kind::OSA)) continue;
        const int n = kind == Kind::OS ? 1 : a.count;
        for (int e = 0; e < n; ++e) {
            const char* slot = kind == Kind::OS ? static_cast<const char*>(a.p)
                                                : static_cast<char* const*>(a.p)[e];
            if (buffer >= slot && buffer < slot + a.capacity)
                return static_cast<int>(slot + a.capacity - buffer);
        }
    }
    return -1;
}

// Gives back the text-pointer arrays of the call, null ones included.
void freeTextArrays(const std::vector<Kind>& kinds, const BltArg* args, int upTo) {
    for (int k = 0; k < upTo; ++k)
        if (kinds[k] == Kind::SA || kinds[k] == Kind::OSA)
            MemFreeX(16, args[k].p, __FILE__, __LINE__);
}

long long leastCount(const Least& l, const BltArg* args) {
    const BltArg& a = args[l.a - 1];
    if (l.pair) {
        const int* v = static_cast<const int*>(a.p);
        return v && a.count >= 2 ? static_cast<long long>(v[0]) + v[1] : 0;
    }
    long long n = static_cast<long long>(l.factor) * a.i;
    if (l.b > 0) n *= args[l.b - 1].i;
    return n + l.add;
}

SmSym* runBuiltin(std::size_t rowIndex, int nargs, SmSym* records, SmSym* result) {
    const Row& row = kRows[rowIndex];
    const std::vector<Kind>& kinds = rowKinds()[rowIndex];
    const int expected = static_cast<int>(kinds.size());
    // 1. Count.
    if (nargs != expected) return SmErrorInt2(103, 7000018, expected, nargs);

    // 2. Arguments in order; the first that fails ends the call.
    // Only the row's arguments are set up: a call costs what its row has.
    alignas(BltArg) unsigned char storage[sizeof(BltArg) * kMaxArgs];
    BltArg* args = reinterpret_cast<BltArg*>(storage);
    for (int k = 0; k < expected; ++k) new (&args[k]) BltArg();
    for (int k = 0; k < expected; ++k) {
        SmSym* rec = records + k;
        const Kind kind = kinds[k];
        BltArg& a = args[k];
        const int type = rec->type;
        auto refuse = [&](int code) {
            freeTextArrays(kinds, args, k);
            return SmErrorInt(103, code, k + 1);
        };
        if (!isArray(kind)) {
            if (kind == Kind::I || kind == Kind::R) {
                if (type == 2) {
                    const float f = SmSymGetRealVal(rec);
                    if (kind == Kind::R) {
                        a.r = f;
                    } else {
                        // Outside 32 bits the conversion has no meaning.
                        const double d = f;
                        if (!(d > -2147483649.0 && d < 2147483648.0)) return refuse(7000019);
                        a.i = static_cast<int>(d);
                    }
                    continue;
                }
                if (type != 1 || SmSymGetArray(rec)) return refuse(7000019);
                a.i = SmSymGetIntVal(rec);
                a.r = static_cast<float>(a.i);
                continue;
            }
            if (type != valueTypeOf(kind) || SmSymGetArray(rec)) return refuse(7000019);
            switch (kind) {
                case Kind::S:
                    a.p = SmSymGetStringVal(rec);
                    a.capacity = SmSymGetStringMax(rec) + 1;
                    break;
                case Kind::OI:
                    a.p = SmSymGetIntPtr(rec);
                    a.count = 1;
                    break;
                case Kind::OR:
                    a.p = SmSymGetRealPtr(rec);
                    a.count = 1;
                    break;
                default:  // Kind::OS
                    a.p = SmSymGetStringPtr(rec);
                    a.count = 1;
                    a.capacity = SmSymGetStringMax(rec) + 1;
                    break;
            }
            continue;
        }
        if (type != valueTypeOf(kind)) return refuse(7000019);
        const int n = SmSymArrayElems(rec);
        if (n < 0) return refuse(7000075);
        if (n == 0) {
            SmErrorInt(101, 7000008, k + 1);
            continue;
        }
        a.count = n;
        switch (kind) {
            case Kind::IA:
                a.p = SmSymGetIntAVal(rec);
                break;
            case Kind::OIA:
                a.p = SmSymGetIntAPtr(rec);
                break;
            case Kind::RA:
                a.p = SmSymGetRealAVal(rec);
                break;
            case Kind::ORA:
                a.p = SmSymGetRealAPtr(rec);
                break;
            default: {  // string arrays: one address per element
                const int count = SmSymArrayElems(rec);
                char* block = kind == Kind::SA ? SmSymGetDataVal(rec) : SmSymGetDataPtr(rec);
                const int max = SmSymGetStringMax(rec);
                char** texts = static_cast<char**>(MemAllocX(
                    16, static_cast<std::uint64_t>(count) * sizeof(char*), __FILE__, __LINE__));
                if (!texts) return refuse(7000019);
                for (int e = 0; e < count; ++e)
                    texts[e] =
                        block + static_cast<std::size_t>(e) * (static_cast<std::size_t>(max) + 1);
                a.p = texts;
                a.count = count;
                a.capacity = max + 1;
                break;
            }
        }
    }

    // 3. Nothing is read or written past the host's array.
    for (int l = 0; l < row.nLeast; ++l) {
        const Least& least = row.least[l];
        if (args[least.arg - 1].count < leastCount(least, args)) {
            freeTextArrays(kinds, args, expected);
            return SmErrorInt(103, 7000019, least.arg);
        }
    }

    // 4. The call.
    const BltArg* outer = g_current;
    const int outerCount = g_currentCount;
    const std::vector<Kind>* outerKinds = g_currentKinds;
    g_current = args;
    g_currentCount = expected;
    g_currentKinds = &kinds;
    SetCopyTextRoom(&hostTextRoom);
    // An exception from inside becomes the failure -1; the cleanup below runs.
    const int status = guard_export(row.name, -1, [&] { return row.call(args); });
    g_current = outer;
    g_currentCount = outerCount;
    g_currentKinds = outerKinds;
    SetCopyTextRoom(outer ? &hostTextRoom : nullptr);
    freeTextArrays(kinds, args, expected);

    // 5. The result.
    if (result) {
        result->type = 1;
        result->form = 10;
        result->intValue = status;
    }
    return result;
}

template <std::size_t N>
SmSym* wrapper(int nargs, SmSym* args, SmSym* result) {
    return runBuiltin(N, nargs, args, result);
}

template <std::size_t... N>
constexpr std::array<SmBltFn, sizeof...(N)> makeWrappers(std::index_sequence<N...>) {
    return {{&wrapper<N>...}};
}

const std::array<SmBltFn, kRowCount> kWrappers =
    makeWrappers(std::make_index_sequence<kRowCount>());

}  // namespace

const BltArg* BltCurrentArgs(int* count) {
    if (count) *count = g_currentCount;
    return g_current;
}

int BltArrayElems(const void* address) {
    if (!address) return -1;
    for (int k = 0; k < g_currentCount; ++k)
        if (g_current[k].p == address && isArray((*g_currentKinds)[k])) return g_current[k].count;
    return -1;
}

extern "C" {

void PlystrandBltInit(void) {
    lamlayupbltadd();
}

void lamlayupbltadd(void) {
    for (std::size_t r = 0; r < kRowCount; ++r) SmBltAdd(kRows[r].name, kWrappers[r]);
}

}  // extern "C"
