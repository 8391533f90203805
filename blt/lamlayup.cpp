#include "blt/lamlayup.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "host/LayupApi.h"
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

// One row per built-in, in registration order.
const Row kRows[] = {
    {1, "kp_construct", "i s s",
     [](const BltArg* a) { return LayupConstruct(a[0].i, text(a[1]), text(a[2])); }, nullptr, 0},
    {2, "kp_destruct", "", [](const BltArg*) { return LayupDestruct(); }, nullptr, 0},
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
    const int status = row.call(args);
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

extern "C" {

void PlystrandBltInit(void) {
    lamlayupbltadd();
}

void lamlayupbltadd(void) {
    for (std::size_t r = 0; r < kRowCount; ++r) SmBltAdd(kRows[r].name, kWrappers[r]);
}

}  // extern "C"
