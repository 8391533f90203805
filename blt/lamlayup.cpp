#include "blt/lamlayup.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "host/LayupApi.h"
#include "host/LayupExport.h"
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

// ---- results: five result names; element ids, material names, allowables
// and result types by their counts; the id range 2.
const Least kResultsFailure[] = {{1, 1, 0, 0, 5, false},   {3, 2, 0, 1, 0, false},
                                 {8, 7, 0, 1, 0, false},   {10, 7, 9, 1, 0, false},
                                 {12, 11, 0, 1, 0, false}, {15, 1, 0, 0, 2, false}};
const Least kResultNames[] = {{1, 1, 0, 0, 5, false}};
// ---- plots: names, layer numbers and element ids as many as counted; a
// point, a direction or an offset 3 reals.
const Least kPlotOrients[] = {{2, 1, 0, 1, 0, false}};
const Least kPlotLamLayers[] = {{2, 1, 0, 1, 0, false}, {4, 3, 0, 1, 0, false}};
const Least kPlotCrossSection[] = {{1, 1, 0, 0, 3, false}, {2, 1, 0, 0, 3, false}};
const Least kPlotExploded[] = {{2, 1, 0, 0, 3, false}};
const Least kPlotElems[] = {{2, 1, 0, 1, 0, false}, {3, 1, 0, 0, 3, false}};
// ---- end of plots
// ---- queries, mesh, exports and selection: arrays sized by count
// arguments (points 3 and axes 9 floats; index entries 3 x stride x layup
// plies). Outputs sized by the model are checked by their functions.
const Least kGetIndex[] = {{3, 1, 0, 1, 0, false}, {4, 1, 0, 1, 0, false}, {5, 1, 2, 3, 0, false}};
const Least kGetMesh[] = {{2, 1, 0, 1, 0, false}, {3, 1, 0, 3, 0, false},
                          {5, 4, 0, 1, 0, false}, {6, 4, 0, 1, 0, false},
                          {7, 4, 0, 1, 0, false}, {9, 8, 4, 1, 0, false}};
const Least kExportLayupLaser[] = {
    {2, 1, 0, 1, 0, false}, {5, 1, 0, 0, 3, false}, {6, 1, 0, 0, 9, false}};
const Least kSelSetElements[] = {{2, 1, 0, 1, 0, false}};
const Least kSelElementIds[] = {{3, 2, 0, 1, 0, false}, {5, 4, 0, 1, 0, false}};
const Least kSelBoundary[] = {
    {4, 2, 0, 1, 0, false}, {5, 3, 0, 3, 0, false}, {6, 3, 0, 1, 0, false}};
// ---- ply queries and edits, surface intersection, tolerances
// Fixed-size arrays (points 3, flat points 2, bounds and strains 4, the
// seed curve counts 2); count arrays their count argument, points 3 per
// counted point.
const Least kGetPly[] = {
    {5, 4, 0, 1, 0, false},   {6, 4, 0, 1, 0, false},   {7, 1, 0, 0, 3, false},
    {8, 1, 0, 0, 3, false},   {9, 1, 0, 0, 3, false},   {12, 1, 0, 0, 3, false},
    {17, 1, 0, 0, 2, false},  {18, 17, 0, 0, 0, true},  {19, 17, 0, 0, 0, true},
    {27, 1, 0, 0, 4, false},  {29, 28, 0, 1, 0, false}, {30, 28, 0, 1, 0, false},
    {31, 28, 0, 1, 0, false}, {32, 1, 0, 0, 4, false}};
const Least kPlyBoundary[] = {
    {4, 2, 0, 1, 0, false}, {5, 3, 0, 3, 0, false}, {6, 3, 0, 1, 0, false}};
const Least kSurfaceIntersect[] = {{2, 1, 0, 1, 0, false},
                                   {3, 1, 0, 0, 3, false},
                                   {4, 1, 0, 0, 3, false},
                                   {6, 1, 0, 0, 3, false},
                                   {7, 1, 0, 0, 3, false}};
const Least kSetTolerance[] = {{4, 3, 0, 1, 0, false}};
const Least kDrapedPattern[] = {
    {4, 3, 0, 1, 0, false}, {5, 3, 0, 1, 0, false}, {6, 3, 0, 1, 0, false}, {7, 3, 0, 1, 0, false},
    {8, 3, 0, 1, 0, false}, {9, 3, 0, 3, 0, false}, {10, 3, 0, 1, 0, false}};
const Least kFlatPattern[] = {
    {4, 2, 0, 1, 0, false}, {5, 3, 0, 3, 0, false}, {6, 1, 0, 0, 3, false}, {7, 1, 0, 0, 9, false}};
const Least kPlyHoles[] = {{3, 2, 0, 1, 0, false}};
const Least kModifyPlyEdit[] = {{4, 3, 0, 1, 0, false}, {6, 5, 0, 1, 0, false}};
const Least kPly3DFrom2D[] = {{2, 1, 0, 0, 2, false}, {3, 1, 0, 0, 3, false}};
const Least kPly2DFrom3D[] = {{2, 1, 0, 0, 3, false}, {4, 1, 0, 0, 2, false}};
// ---- end of ply queries and edits
// ---- laminates and solid models
const Least kSelNodes[] = {{2, 1, 0, 1, 0, false}};
const Least kSolidShells[] = {{2, 1, 0, 3, 0, false}, {3, 1, 0, 1, 0, false}};
// Snap ids and counts: one per snap node; values: two per snap node.
const Least kCreateSolidModel[] = {{2, 1, 0, 1, 0, false},   {16, 15, 0, 1, 0, false},
                                   {17, 15, 0, 1, 0, false}, {18, 15, 0, 2, 0, false},
                                   {20, 1, 0, 0, 6, false},  {22, 1, 0, 0, 3, false},
                                   {23, 1, 0, 0, 3, false}};
// ---- end of laminates and solid models

// One row per built-in, in registration order.
const Row kRows[] = {
    {1, "kp_construct", "i s s",
     [](const BltArg* a) { return LayupConstruct(a[0].i, text(a[1]), text(a[2])); }, nullptr, 0},
    {2, "kp_destruct", "", [](const BltArg*) { return LayupDestruct(); }, nullptr, 0},
    // ---- failure criteria
    {3, "kp_get_num_fail_lmna", ">i",
     [](const BltArg* a) { return LayupGetNumFailureLamina(as<int>(a[0])); }, nullptr, 0},
    {4, "kp_get_fail_lmna_enc", "i >s[]",
     [](const BltArg* a) { return LayupGetFailureLaminaEncodedNames(a[0].i, as<char*>(a[1])); },
     nullptr, 0},
    {5, "kp_get_fail_lmna_dtl", "s >s >s >i*3",
     [](const BltArg* a) {
         return LayupGetFailureLaminaDetails(text(a[0]), as<char>(a[1]), as<char>(a[2]),
                                             as<int>(a[3]), as<int>(a[4]), as<int>(a[5]));
     },
     nullptr, 0},
    {6, "kp_get_fail_lmna_num_allows", "s >i",
     [](const BltArg* a) { return LayupGetFailureLaminaNumAllowables(text(a[0]), as<int>(a[1])); },
     nullptr, 0},
    {7, "kp_get_fail_lmna_allow_label", "s i >s",
     [](const BltArg* a) {
         return LayupGetFailureLaminaAllowableLabel(text(a[0]), a[1].i, as<char>(a[2]));
     },
     nullptr, 0},
    {8, "kp_get_fail_lmna_num_results", "s >i",
     [](const BltArg* a) { return LayupGetFailureLaminaNumResults(text(a[0]), as<int>(a[1])); },
     nullptr, 0},
    {9, "kp_get_fail_lmna_result_label", "s i >s",
     [](const BltArg* a) {
         return LayupGetFailureLaminaResultLabel(text(a[0]), a[1].i, as<char>(a[2]));
     },
     nullptr, 0},
    // ---- end of failure criteria
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
    {18, "kp_get_ply",
     ">i s >s i >i[] >i[] >r[]*3 >r >i >r[] >s i >i >s i[] >i[] >i[] >i >i >r*5 >r[] i >i[]*3 >r[] "
     ">i",
     [](const BltArg* a) {
         // The name is the host's input text; it is never written longer.
         return LayupGetPly4(as<int>(a[0]), as<char>(a[1]), as<char>(a[2]), a[3].i, as<int>(a[4]),
                             as<int>(a[5]), as<float>(a[6]), as<float>(a[7]), as<float>(a[8]),
                             as<float>(a[9]), as<int>(a[10]), as<float>(a[11]), as<char>(a[12]),
                             a[13].i, as<int>(a[14]), as<char>(a[15]), as<int>(a[16]),
                             as<int>(a[17]), as<int>(a[18]), as<int>(a[19]), as<int>(a[20]),
                             as<float>(a[21]), as<float>(a[22]), as<float>(a[23]), as<float>(a[24]),
                             as<float>(a[25]), as<float>(a[26]), a[27].i, as<int>(a[28]),
                             as<int>(a[29]), as<int>(a[30]), as<float>(a[31]), as<int>(a[32]));
     },
     kGetPly, 14},
    {19, "kp_get_ply_boundary_num", "s >i >i",
     [](const BltArg* a) {
         return LayupGetPlyBoundaryNum(text(a[0]), as<int>(a[1]), as<int>(a[2]));
     },
     nullptr, 0},
    {20, "kp_get_ply_boundary", "s i i >i[] >r[] >i[]",
     [](const BltArg* a) {
         return LayupGetPlyBoundary(text(a[0]), a[1].i, a[2].i, as<int>(a[3]), as<float>(a[4]),
                                    as<int>(a[5]));
     },
     kPlyBoundary, 3},
    {21, "kp_get_layup_sizes", ">i",
     [](const BltArg* a) { return LayupGetLayupSizes(as<int>(a[0])); }, nullptr, 0},
    {22, "kp_get_layup", ">s i >s[] >s[] >i[] >s[] >i[] >i[] >r[] >i[]",
     [](const BltArg* a) {
         return LayupGetLayup2(as<char>(a[0]), a[1].i, as<char*>(a[2]), as<char*>(a[3]),
                               as<int>(a[4]), as<char*>(a[5]), as<int>(a[6]), as<int>(a[7]),
                               as<float>(a[8]), as<int>(a[9]));
     },
     kGetLayup, 8},
    {23, "kp_get_index_sizes", ">i >i",
     [](const BltArg* a) { return LayupGetIndexSizes(as<int>(a[0]), as<int>(a[1])); }, nullptr, 0},
    {24, "kp_get_index", "i i >i[]*3",
     [](const BltArg* a) {
         return LayupGetIndex(a[0].i, a[1].i, as<int>(a[2]), as<int>(a[3]), as<int>(a[4]));
     },
     kGetIndex, 3},
    {25, "kp_get_num_orients", ">i", [](const BltArg* a) { return LayupGetNumOrients(as<int>(a[0])); },
     nullptr, 0},
    {26, "kp_get_orients", "i >s[]",
     [](const BltArg* a) { return LayupGetOrients(a[0].i, as<char*>(a[1])); }, nullptr, 0},
    {27, "kp_plot_orients", "i s[]",
     [](const BltArg* a) { return LayupPlotOrients(a[0].i, as<char*>(a[1])); }, kPlotOrients, 1},
    {28, "kp_erase_orients", "", [](const BltArg*) { return LayupEraseOrients(); }, nullptr, 0},
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
    // Arrays sized by the model's state are checked by the functions.
    {32, "kp_get_lams", "i*3 >s[] >s[] >i[] >i[] >s[] >s[] >r[] >r[] >i[] >s[] >s[]",
     [](const BltArg* a) {
         return LayupGetLams2(a[0].i, a[1].i, a[2].i, as<char*>(a[3]), as<char*>(a[4]),
                              as<int>(a[5]), as<int>(a[6]), as<char*>(a[7]), as<char*>(a[8]),
                              as<float>(a[9]), as<float>(a[10]), as<int>(a[11]), as<char*>(a[12]),
                              as<char*>(a[13]));
     },
     nullptr, 0},
    {33, "kp_compress_laminate", "r r >i >i[] >i[]",
     [](const BltArg* a) {
         return LayupCompressLaminate(a[0].r, a[1].r, as<int>(a[2]), as<int>(a[3]), as<int>(a[4]));
     },
     nullptr, 0},
    {34, "kp_plot_lam_thicks", "i s[] i i[] r r",
     [](const BltArg* a) {
         return LayupPlotLamThicks(a[0].i, as<char*>(a[1]), a[2].i, as<int>(a[3]), a[4].r, a[5].r);
     },
     kPlotLamLayers, 2},
    {35, "kp_erase_lam_thicks", "", [](const BltArg*) { return LayupEraseLamThicks(); }, nullptr,
     0},
    {36, "kp_plot_lam_orients", "i s[] i i[] r",
     [](const BltArg* a) {
         return LayupPlotLamOrients(a[0].i, as<char*>(a[1]), a[2].i, as<int>(a[3]), a[4].r);
     },
     kPlotLamLayers, 2},
    {37, "kp_erase_lam_orients", "", [](const BltArg*) { return LayupEraseLamOrients(); }, nullptr,
     0},
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
    // ---- generated data and curves
    {40, "kp_get_num_coords", "i >i",
     [](const BltArg* a) { return LayupGetNumCoords2(a[0].i, as<int>(a[1])); }, nullptr, 0},
    {41, "kp_get_coords", "i i >i[] >i[] >r[] >r[]",
     [](const BltArg* a) {
         return LayupGetCoords2(a[0].i, a[1].i, as<int>(a[2]), as<int>(a[3]), as<float>(a[4]),
                                as<float>(a[5]));
     },
     nullptr, 0},
    {42, "kp_get_num_fields", ">i >i",
     [](const BltArg* a) { return LayupGetNumFields(as<int>(a[0]), as<int>(a[1])); }, nullptr, 0},
    {43, "kp_get_fields", "i i >s[] >i[] >i[] >r[]",
     [](const BltArg* a) {
         return LayupGetFields(a[0].i, a[1].i, as<char*>(a[2]), as<int>(a[3]), as<int>(a[4]),
                               as<float>(a[5]));
     },
     nullptr, 0},
    {44, "kp_get_num_mats", ">i", [](const BltArg* a) { return LayupGetNumMats(as<int>(a[0])); },
     nullptr, 0},
    {45, "kp_get_mats", "i >s[] >i[] >r[]*28",
     [](const BltArg* a) {
         return LayupGetMats(a[0].i, as<char*>(a[1]), as<int>(a[2]), as<float>(a[3]),
                             as<float>(a[4]), as<float>(a[5]), as<float>(a[6]), as<float>(a[7]),
                             as<float>(a[8]), as<float>(a[9]), as<float>(a[10]), as<float>(a[11]),
                             as<float>(a[12]), as<float>(a[13]), as<float>(a[14]), as<float>(a[15]),
                             as<float>(a[16]), as<float>(a[17]), as<float>(a[18]), as<float>(a[19]),
                             as<float>(a[20]), as<float>(a[21]), as<float>(a[22]), as<float>(a[23]),
                             as<float>(a[24]), as<float>(a[25]), as<float>(a[26]), as<float>(a[27]),
                             as<float>(a[28]), as<float>(a[29]), as<float>(a[30]));
     },
     nullptr, 0},
    {46, "kp_get_num_props", "i >i*3",
     [](const BltArg* a) {
         return LayupGetNumProps2(a[0].i, as<int>(a[1]), as<int>(a[2]), as<int>(a[3]));
     },
     nullptr, 0},
    {47, "kp_get_props", "i*4 >s[] >i[]*4 >s[] >i[] >i[]",
     [](const BltArg* a) {
         return LayupGetProps2(a[0].i, a[1].i, a[2].i, a[3].i, as<char*>(a[4]), as<int>(a[5]),
                               as<int>(a[6]), as<int>(a[7]), as<int>(a[8]), as<char*>(a[9]),
                               as<int>(a[10]), as<int>(a[11]));
     },
     nullptr, 0},
    {48, "kp_get_solid_shells", "i r[] >i[]",
     [](const BltArg* a) { return LayupGetSolidShells(a[0].i, as<float>(a[1]), as<int>(a[2])); },
     kSolidShells, 2},
    {49, "kp_get_num_curves", ">i >i",
     [](const BltArg* a) { return LayupGetNumCurves(as<int>(a[0]), as<int>(a[1])); }, nullptr, 0},
    {50, "kp_get_curves", "i i >s[] >i[] >i[] >r[]",
     [](const BltArg* a) {
         return LayupGetCurves(a[0].i, a[1].i, as<char*>(a[2]), as<int>(a[3]), as<int>(a[4]),
                               as<float>(a[5]));
     },
     nullptr, 0},
    // ---- end of generated data and curves
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
    // ---- mesh
    {59, "kp_get_mesh_low_id", ">i >i",
     [](const BltArg* a) { return LayupGetMeshLowId(as<int>(a[0]), as<int>(a[1])); }, nullptr, 0},
    {60, "kp_get_mesh_sizes", ">i*3",
     [](const BltArg* a) { return LayupGetMeshSizes(as<int>(a[0]), as<int>(a[1]), as<int>(a[2])); },
     nullptr, 0},
    {61, "kp_get_mesh", "i >i[] >r[] i >i[]*3 i >i[]",
     [](const BltArg* a) {
         return LayupGetMesh(a[0].i, as<int>(a[1]), as<float>(a[2]), a[3].i, as<int>(a[4]),
                             as<int>(a[5]), as<int>(a[6]), a[7].i, as<int>(a[8]));
     },
     kGetMesh, 6},
    {62, "kp_get_solid_mesh_sizes", ">i*3",
     [](const BltArg* a) {
         return LayupGetSolidMeshSizes(as<int>(a[0]), as<int>(a[1]), as<int>(a[2]));
     },
     nullptr, 0},
    {63, "kp_get_solid_mesh", "i >i[] >r[] i >i[]*3 i >i[]",
     [](const BltArg* a) {
         return LayupGetSolidMesh(a[0].i, as<int>(a[1]), as<float>(a[2]), a[3].i, as<int>(a[4]),
                                  as<int>(a[5]), as<int>(a[6]), a[7].i, as<int>(a[8]));
     },
     kGetMesh, 6},
    // ---- end of mesh
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
    {67, "kp_merge_free", "r", [](const BltArg* a) { return LayupMergeFree(a[0].r); }, nullptr, 0},
    {68, "kp_sew_free", "r", [](const BltArg* a) { return LayupSewFree(a[0].r); }, nullptr, 0},
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
    // ---- exports
    {81, "kp_export_morvek_25", "s",
     [](const BltArg* a) { return LayupExportMorvek25(text(a[0])); }, nullptr, 0},
    {82, "kp_export_ply_3d_dxf", "s*3 i",
     [](const BltArg* a) {
         return LayupExportPly3dDXF(text(a[0]), text(a[1]), text(a[2]), a[3].i);
     },
     nullptr, 0},
    {83, "kp_export_ply_3d_vfp", "s*3 i",
     [](const BltArg* a) {
         return LayupExportPly3dVFP(text(a[0]), text(a[1]), text(a[2]), a[3].i);
     },
     nullptr, 0},
    {84, "kp_export_ply_3d_iges", "s s i",
     [](const BltArg* a) { return LayupExportPly3dIGES(text(a[0]), text(a[1]), a[2].i); }, nullptr,
     0},
    {85, "kp_export_ply_2d_dxf", "s*4 i",
     [](const BltArg* a) {
         return LayupExportPly2dDXF(text(a[0]), text(a[1]), text(a[2]), text(a[3]), a[4].i);
     },
     nullptr, 0},
    {86, "kp_export_ply_2d_iges", "s s i",
     [](const BltArg* a) { return LayupExportPly2dIGES(text(a[0]), text(a[1]), a[2].i); }, nullptr,
     0},
    {87, "kp_export_ply_2d_virtek", "s s i",
     [](const BltArg* a) { return LayupExportPly2dVirtek(text(a[0]), text(a[1]), a[2].i); },
     nullptr, 0},
    {88, "kp_export_mould_surf_iges", "s",
     [](const BltArg* a) { return LayupExportMouldSurfIGES(text(a[0])); }, nullptr, 0},
    {89, "kp_erase_layup_laser", "", [](const BltArg*) { return LayupEraseLayupLaser(); }, nullptr,
     0},
    {90, "kp_export_layup_laser", "i i[] i i r[] r[] i i r r i i s r i*5 s s i",
     [](const BltArg* a) {
         return LayupExportLayupLaser(a[0].i, as<int>(a[1]), a[2].i, a[3].i, as<float>(a[4]),
                                      as<float>(a[5]), a[6].i, a[7].i, a[8].r, a[9].r, a[10].i,
                                      a[11].i, text(a[12]), a[13].r, a[14].i, a[15].i, a[16].i,
                                      a[17].i, a[18].i, text(a[19]), text(a[20]), a[21].i);
     },
     kExportLayupLaser, 3},
    // ---- solid models
    {91, "kp_get_num_sel_nodes", "i i[] >i",
     [](const BltArg* a) { return LayupGetNumSelNodes(a[0].i, as<int>(a[1]), as<int>(a[2])); },
     kSelNodes, 1},
    // The node arrays are checked against the selection by the function.
    {92, "kp_get_sel_node_data", "i >i[] >r[] >r[]",
     [](const BltArg* a) {
         return LayupGetSelNodeData(a[0].i, as<int>(a[1]), as<float>(a[2]), as<float>(a[3]));
     },
     nullptr, 0},
    {93, "kp_create_solid_model", "i i[] s i*6 s i r i r i i[] i[] r[] s i[] i r[] r[] r*3 i*6",
     [](const BltArg* a) {
         return LayupCreateSolidModel(a[0].i, as<int>(a[1]), text(a[2]), a[3].i, a[4].i, a[5].i,
                                      a[6].i, a[7].i, a[8].i, text(a[9]), a[10].i, a[11].r, a[12].i,
                                      a[13].r, a[14].i, as<int>(a[15]), as<int>(a[16]),
                                      as<float>(a[17]), text(a[18]), as<int>(a[19]), a[20].i,
                                      as<float>(a[21]), as<float>(a[22]), a[23].r, a[24].r, a[25].r,
                                      a[26].i, a[27].i, a[28].i, a[29].i, a[30].i, a[31].i);
     },
     kCreateSolidModel, 7},
    {94, "kp_clear_solid_model", "", [](const BltArg*) { return LayupClearSolidModel(); }, nullptr,
     0},
    {95, "kp_export_bacon", "s i",
     [](const BltArg* a) { return LayupExportBacon(text(a[0]), a[1].i); }, nullptr, 0},
    // ---- end of exports
    {96, "kp_get_surface_intersect", "i i[] r[] r[] >i >r[] >r[]",
     [](const BltArg* a) {
         return LayupGetSurfaceIntersect(a[0].i, as<int>(a[1]), as<float>(a[2]), as<float>(a[3]),
                                         as<int>(a[4]), as<float>(a[5]), as<float>(a[6]));
     },
     kSurfaceIntersect, 5},
    {97, "kp_restore_tolerance", "r r",
     [](const BltArg* a) { return LayupRestoreTolerance(a[0].r, a[1].r); }, nullptr, 0},
    {98, "kp_set_tolerance", "r r i i[]",
     [](const BltArg* a) { return LayupSetTolerance(a[0].r, a[1].r, a[2].i, as<int>(a[3])); },
     kSetTolerance, 1},
    // ---- end of solid models
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
    {105, "kp_get_ply_draped_pattern_num", "s i >i",
     [](const BltArg* a) { return LayupGetPlyDrapedPatternNum(text(a[0]), a[1].i, as<int>(a[2])); },
     nullptr, 0},
    {106, "kp_get_ply_draped_pattern", "s i i >i[]*5 >r[] >r[]",
     [](const BltArg* a) {
         return LayupGetPlyDrapedPattern(text(a[0]), a[1].i, a[2].i, as<int>(a[3]), as<int>(a[4]),
                                         as<int>(a[5]), as<int>(a[6]), as<int>(a[7]),
                                         as<float>(a[8]), as<float>(a[9]));
     },
     kDrapedPattern, 7},
    {107, "kp_get_ply_flat_pattern_num", "s >i >i",
     [](const BltArg* a) {
         return LayupGetPlyFlatPatternNum(text(a[0]), as<int>(a[1]), as<int>(a[2]));
     },
     nullptr, 0},
    {108, "kp_get_ply_flat_pattern", "s i i >i[] >r[]*3",
     [](const BltArg* a) {
         return LayupGetPlyFlatPattern(text(a[0]), a[1].i, a[2].i, as<int>(a[3]), as<float>(a[4]),
                                       as<float>(a[5]), as<float>(a[6]));
     },
     kFlatPattern, 4},
    {109, "kp_get_ply_holes_num", "s >i",
     [](const BltArg* a) { return LayupGetPlyHolesNum(text(a[0]), as<int>(a[1])); }, nullptr, 0},
    {110, "kp_get_ply_holes", "s i >i[]",
     [](const BltArg* a) { return LayupGetPlyHoles(text(a[0]), a[1].i, as<int>(a[2])); }, kPlyHoles,
     1},
    {111, "kp_modify_ply_edit", "s s i i[] i i[]",
     [](const BltArg* a) {
         return LayupModifyPlyEdit(text(a[0]), text(a[1]), a[2].i, as<int>(a[3]), a[4].i,
                                   as<int>(a[5]));
     },
     kModifyPlyEdit, 2},
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
    // ---- end of plots
    {117, "kp_save_index", "s", [](const BltArg* a) { return LayupSaveIndex(text(a[0])); },
     nullptr, 0},
    {118, "kp_get_ply_3d_from_2d", "s r[] >r[] >i",
     [](const BltArg* a) {
         return LayupGetPly3DFrom2D(text(a[0]), as<float>(a[1]), as<float>(a[2]), as<int>(a[3]));
     },
     kPly3DFrom2D, 2},
    {119, "kp_get_ply_2d_from_3d", "s r[] r >r[]",
     [](const BltArg* a) {
         return LayupGetPly2DFrom3D(text(a[0]), as<float>(a[1]), a[2].r, as<float>(a[3]));
     },
     kPly2DFrom3D, 2},
    // ---- plots
    {120, "kp_erase_ply_draping", "", [](const BltArg*) { return LayupErasePlyDraping(); }, nullptr,
     0},
    {121, "kp_plot_ply_draped_pattern", "s i",
     [](const BltArg* a) { return LayupPlotPlyDrapedPattern(text(a[0]), a[1].i); }, nullptr, 0},
    {122, "kp_erase_ply_draped_pattern", "",
     [](const BltArg*) { return LayupErasePlyDrapedPattern(); }, nullptr, 0},
    {123, "kp_plot_ply_flat_pattern", "s",
     [](const BltArg* a) { return LayupPlotPlyFlatPattern(text(a[0])); }, nullptr, 0},
    {124, "kp_erase_ply_flat_pattern", "", [](const BltArg*) { return LayupErasePlyFlatPattern(); },
     nullptr, 0},
    {125, "kp_plot_ply_angles", "i s",
     [](const BltArg* a) { return LayupPlotPlyAngles(a[0].i, text(a[1])); }, nullptr, 0},
    {126, "kp_erase_ply_angles", "", [](const BltArg*) { return LayupErasePlyAngles(); }, nullptr,
     0},
    {127, "kp_plot_surface_angles", "", [](const BltArg*) { return LayupPlotLayupSurfaceAngles(); },
     nullptr, 0},
    {128, "kp_erase_surface_angles", "",
     [](const BltArg*) { return LayupEraseLayupSurfaceAngles(); }, nullptr, 0},
    {129, "kp_plot_ply_outline", "s",
     [](const BltArg* a) { return LayupPlotPlyOutline(text(a[0])); }, nullptr, 0},
    {130, "kp_erase_ply_outline", "", [](const BltArg*) { return LayupErasePlyOutline(); }, nullptr,
     0},
    {131, "kp_plot_ply_boundary", "s",
     [](const BltArg* a) { return LayupPlotPlyBoundary(text(a[0])); }, nullptr, 0},
    {132, "kp_erase_ply_boundary", "", [](const BltArg*) { return LayupErasePlyBoundary(); },
     nullptr, 0},
    {133, "kp_plot_layup_element", "i i i i r r",
     [](const BltArg* a) {
         return LayupPlotLayupElement(a[0].i, a[1].i, a[2].i, a[3].i, a[4].r, a[5].r);
     },
     nullptr, 0},
    {134, "kp_erase_layup_element", "", [](const BltArg*) { return LayupEraseLayupElement(); },
     nullptr, 0},
    {135, "kp_plot_layup_cross_section", "r[] r[] r r r",
     [](const BltArg* a) {
         return LayupPlotLayupCrossSection(as<float>(a[0]), as<float>(a[1]), a[2].r, a[3].r,
                                           a[4].r);
     },
     kPlotCrossSection, 2},
    {136, "kp_erase_layup_cross_section", "",
     [](const BltArg*) { return LayupEraseLayupCrossSection(); }, nullptr, 0},
    {137, "kp_plot_layup_ply", "i i",
     [](const BltArg* a) { return LayupPlotLayupPly(a[0].i, a[1].i); }, nullptr, 0},
    {138, "kp_erase_layup_ply", "", [](const BltArg*) { return LayupEraseLayupPly(); }, nullptr, 0},
    {139, "kp_plot_layup_exploded", "i r[] i i",
     [](const BltArg* a) {
         return LayupPlotLayupExploded(a[0].i, as<float>(a[1]), a[2].i, a[3].i);
     },
     kPlotExploded, 1},
    {140, "kp_erase_layup_exploded", "", [](const BltArg*) { return LayupEraseLayupExploded(); },
     nullptr, 0},
    {141, "kp_plot_layup_surface", "", [](const BltArg*) { return LayupPlotLayupSurface(); },
     nullptr, 0},
    {142, "kp_erase_layup_surface", "", [](const BltArg*) { return LayupEraseLayupSurface(); },
     nullptr, 0},
    {143, "kp_get_versions", ">i >i >i",
     [](const BltArg* a) { return LayupGetVersions(as<int>(a[0]), as<int>(a[1]), as<int>(a[2])); },
     nullptr, 0},
    // ---- element plots
    {144, "kp_plot_elems", "i i[] r[] i i i",
     [](const BltArg* a) {
         return LayupPlotElems(a[0].i, as<int>(a[1]), as<float>(a[2]), a[3].i, a[4].i, a[5].i);
     },
     kPlotElems, 2},
    {145, "kp_erase_elems", "i", [](const BltArg* a) { return LayupEraseElems(a[0].i); }, nullptr,
     0},
    {146, "kp_plot_elem_edges", "i", [](const BltArg* a) { return LayupPlotElemEdges(a[0].i); },
     nullptr, 0},
    {147, "kp_erase_elem_edges", "", [](const BltArg*) { return LayupEraseElemEdges(); }, nullptr,
     0},
    // ---- end of element plots
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
    // ---- end of selection
    // ---- end of mesh checks
    // ---- results
    {168, "kp_create_results_failure_3", "s[] i i[] s i i i s[] i r[] i i[] s s >i[]",
     [](const BltArg* a) {
         return LayupCreateResultsFailure3(as<char*>(a[0]), a[1].i, as<int>(a[2]), text(a[3]),
                                           a[4].i, a[5].i, a[6].i, as<char*>(a[7]), a[8].i,
                                           as<float>(a[9]), a[10].i, as<int>(a[11]), text(a[12]),
                                           text(a[13]), as<int>(a[14]));
     },
     kResultsFailure, 6},
    {169, "kp_create_results_sort_2", "s[] i[] s[] i",
     [](const BltArg* a) {
         return LayupCreateResultsSort2(as<char*>(a[0]), as<int>(a[1]), as<char*>(a[2]), a[3].i);
     },
     kResultNames, 1},
    {170, "kp_create_results_sort_laminate", "s[]",
     [](const BltArg* a) { return LayupCreateResultsSortLaminate(as<char*>(a[0])); },
     kResultNames, 1},
    {171, "kp_delete_results_all", "", [](const BltArg*) { return LayupDeleteResultsAll(); },
     nullptr, 0},
    // ---- selection
    {172, "kp_sel_clear", "", [](const BltArg*) { return LayupSelectClear(); }, nullptr, 0},
    {173, "kp_sel_set_elements", "i i[]",
     [](const BltArg* a) { return LayupSelectSetElements(a[0].i, as<int>(a[1])); },
     kSelSetElements, 1},
    {174, "kp_sel_get_num_sel_groups", ">i",
     [](const BltArg* a) { return LayupSelectGetNumSelectionGroups(as<int>(a[0])); }, nullptr, 0},
    {175, "kp_sel_get_num_elements", "i >i >i",
     [](const BltArg* a) {
         return LayupSelectGetNumElements(a[0].i, as<int>(a[1]), as<int>(a[2]));
     },
     nullptr, 0},
    {176, "kp_sel_get_element_ids", "i i >i[] i >i[]",
     [](const BltArg* a) {
         return LayupSelectGetElementIds(a[0].i, a[1].i, as<int>(a[2]), a[3].i, as<int>(a[4]));
     },
     kSelElementIds, 2},
    {177, "kp_sel_get_boundary_num", "i >i >i",
     [](const BltArg* a) {
         return LayupSelectGetBoundaryNum(a[0].i, as<int>(a[1]), as<int>(a[2]));
     },
     nullptr, 0},
    {178, "kp_sel_get_boundary", "i i i >i[] >r[] >i[]",
     [](const BltArg* a) {
         return LayupSelectGetBoundary(a[0].i, a[1].i, a[2].i, as<int>(a[3]), as<float>(a[4]),
                                       as<int>(a[5]));
     },
     kSelBoundary, 3},
    // ---- end of results
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
        // A negative count reads nothing, so it must not lower what the
        // other one needs.
        const int* v = static_cast<const int*>(a.p);
        return v && a.count >= 2 ? std::max(0LL, static_cast<long long>(v[0])) +
                                       std::max(0LL, static_cast<long long>(v[1]))
                                 : 0;
    }
    long long n = static_cast<long long>(l.factor) * a.i;
    if (l.b > 0) {
        // Two counts of the host's full int range overflow 64 bits; such a
        // need is beyond any array, so it is held at the end of the range
        // with its sign rather than wrapped into a small one.
        const long long m = args[l.b - 1].i;
        long long product = 0;
        if (__builtin_mul_overflow(n, m, &product))
            return (n < 0) == (m < 0) ? LLONG_MAX : LLONG_MIN;
        n = product;
    }
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
