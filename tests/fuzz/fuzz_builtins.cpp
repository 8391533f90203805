// Every registered built-in, called with argument records made from the
// input on a small model read from the stand-in host database: mostly of
// the kinds the built-in takes, with any counts (negative ones too), array
// lengths, string maxima, values and texts, and now and then a wrong kind
// or count. Each host array is made longer than it reports, with guard
// bytes behind its last element (and behind every text slot's storage);
// after each call no guard byte may have changed, no text-pointer array may
// be left behind and an error must leave the result record untouched.
//
// Up to four calls run per input on a model rebuilt for each input, in a
// scratch folder of the fuzzer's own that is emptied first: every text is a
// plain name, so what the built-ins write lands there.
//
// To see what a corpus reaches: PLYSTRAND_FUZZ_STATS=1 prints, at exit, the
// calls of each built-in and how many got past the argument checks;
// PLYSTRAND_FUZZ_WHY=<built-in> prints each argument error of its calls.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "blt/lamlayup.h"
#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "platform/MorvekStub.h"
#include "platform/MorvekStubState.h"
#include "tests/support/BuiltinTable.h"

namespace {

const auto& kTable = kBuiltinTable;
constexpr int kBuiltins = kBuiltinCount;

enum Kind { I, R, S, OI, OR, OS, IA, RA, OIA, ORA, SA, OSA };

Kind kindOf(const std::string& code) {
    static const char* const codes[] = {"i",   "r",   "s",    ">i",   ">r",  ">s",
                                        "i[]", "r[]", ">i[]", ">r[]", "s[]", ">s[]"};
    for (int k = 0; k < 12; ++k)
        if (code == codes[k]) return static_cast<Kind>(k);
    std::fprintf(stderr, "unknown kind %s\n", code.c_str());
    std::abort();
}

std::vector<Kind> kindsOf(const char* text) {
    std::vector<Kind> out;
    for (const std::string& code : BuiltinKinds(text)) out.push_back(kindOf(code));
    return out;
}

// Reads the input front to back; once it runs out, a generator seeded by
// the whole input goes on (so short inputs still fill long argument lists,
// and an input always makes the same calls).
struct Bytes {
    const std::uint8_t* p;
    std::size_t n;
    std::uint64_t state;
    Bytes(const std::uint8_t* data, std::size_t size)
        : p(data), n(size), state(1469598103934665603ULL) {
        for (std::size_t k = 0; k < size; ++k) state = (state ^ data[k]) * 1099511628211ULL;
    }
    std::uint8_t u8() {
        if (n) return --n, *p++;
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint8_t>(state >> 56);
    }
    int i32() {
        std::uint32_t v = 0;
        for (int k = 0; k < 4; ++k) v = v << 8 | u8();
        return static_cast<int>(v);
    }
};

int pickInt(Bytes& in) {
    const std::uint8_t b = in.u8();
    switch (b % 16) {
        case 12:
            return -1 - in.u8() % 4;
        case 13:
            return 100 + in.u8() * 40;
        case 14:
            return (b & 16) ? INT_MAX : INT_MIN;
        case 15:
            return in.i32();
        default:
            return in.u8() % 24 - 1;  // mostly counts, ids, flags and modes
    }
}

// Array contents: no values near the int limits, since some arrays hold
// repeat counts (a layup entry's instances) that the model carries out one
// by one.
int pickElement(Bytes& in) {
    const std::uint8_t b = in.u8();
    if (b % 16 == 12) return -1 - in.u8() % 4;
    if (b % 16 == 13) return 100 + in.u8() * 40;
    return in.u8() % 24 - 1;
}

float pickReal(Bytes& in) {
    static const float common[] = {0.0f,   1.0f,  -1.0f, 0.5f, 0.25f, 2.0f, 45.0f, 90.0f,
                                   -45.0f, 30.0f, 10.0f, 0.2f, 1e-3f, 5.0f, 1e3f,  3.0f};
    const std::uint8_t b = in.u8();
    switch (b % 16) {
        case 13:
            return b & 16 ? NAN : (b & 32 ? INFINITY : -INFINITY);
        case 14:
            return b & 16 ? 1e30f : -1e-30f;
        case 15: {
            const int v = in.i32();
            float f;
            std::memcpy(&f, &v, sizeof f);
            return f;
        }
        default:
            return common[in.u8() % 16];
    }
}

// Plain names only: no folder separator, so files stay in the scratch folder.
std::string pickText(Bytes& in) {
    static const char* const names[] = {"",
                                        "Twill",
                                        "M1",
                                        "Lam",
                                        "P1",
                                        "P2",
                                        "L",
                                        "Layer 1",
                                        "LC1",
                                        "SC1",
                                        "Stress Tensor",
                                        "XX",
                                        "TsaiWu",
                                        "Hill",
                                        "Calc",
                                        "Bias",
                                        "30",
                                        "None",
                                        "f.lyp",
                                        "f.lyp.gz",
                                        "f.msg",
                                        "f.bdf",
                                        "f.igs",
                                        "f.dxf",
                                        "f.vk",
                                        "f.vfp",
                                        "f.idx",
                                        "f.stl",
                                        "f.xml",
                                        "f.cdb",
                                        "f.f06",
                                        "f.op2",
                                        "f.neu",
                                        "f.bac",
                                        "Plystrand|TsaiWu|0|0|0",
                                        "User|User|0|0|0",
                                        "Default",
                                        "P1_2"};
    constexpr int kNames = static_cast<int>(sizeof names / sizeof names[0]);
    const std::uint8_t b = in.u8();
    if (b < 200) return names[b % kNames];
    if (b < 230) return std::string(static_cast<size_t>(in.u8()) * 2 + 1, 'a');
    std::string s;
    const int n = in.u8() % 24;
    static const char alphabet[] = "abcXYZ019_.| -";
    for (int k = 0; k < n; ++k) s += alphabet[in.u8() % (sizeof alphabet - 1)];
    return s;
}

// Array lengths: short ones, the fixed sizes the built-ins take (3 for a
// point, 6 options, 10 switches, 20 parameters) and lengths past every
// small count, longer ones, and now and then a negative count.
int pickCount(Bytes& in) {
    static const int sizes[] = {1, 2, 3, 6, 9, 10, 20, 24, 30, 40, 48, 64};
    const std::uint8_t b = in.u8();
    if (b < 112) return b % 13;
    if (b < 208) return sizes[b % 12];
    if (b < 244) return b % 100;
    return -1 - b % 3;
}

int pickMax(Bytes& in) {
    const std::uint8_t b = in.u8();
    return b < 200 ? b % 40 : b % 130;
}

constexpr int kGuard = 16;  // guard elements behind every host array
constexpr int kGuardInt = 0x5A5A5A5A;
constexpr char kGuardByte = 0x5A;

// One host record made by the fuzzer, with the length it reports and the
// storage behind it that must stay untouched.
struct Made {
    SmSym rec{};
    size_t intsUsed = 0, realsUsed = 0, textUsed = 0;
};

morvekstub::SymData* symData(SmSym* rec) {
    return static_cast<morvekstub::SymData*>(rec->host[0]);
}

// Guards behind the storage of the record's own value type.
void guardTail(Made& m) {
    morvekstub::SymData* d = symData(&m.rec);
    m.intsUsed = d->ints.size();
    m.realsUsed = d->reals.size();
    m.textUsed = d->text.size();
    if (m.rec.type == 1) d->ints.resize(m.intsUsed + kGuard, kGuardInt);
    if (m.rec.type == 2) {
        float g;
        std::memcpy(&g, &kGuardInt, sizeof g);
        d->reals.resize(m.realsUsed + kGuard, g);
    }
    if (m.rec.type == 4) d->text.resize(m.textUsed + kGuard * 4, kGuardByte);
}

bool guardIntact(Made& m) {
    const morvekstub::SymData* d = symData(&m.rec);
    for (size_t k = m.intsUsed; k < d->ints.size(); ++k)
        if (d->ints[k] != kGuardInt) return false;
    for (size_t k = m.realsUsed; k < d->reals.size(); ++k) {
        int bits;
        std::memcpy(&bits, &d->reals[k], sizeof bits);
        if (bits != kGuardInt) return false;
    }
    for (size_t k = m.textUsed; k < d->text.size(); ++k)
        if (d->text[k] != kGuardByte) return false;
    return true;
}

void makeTextArray(Made& m, Bytes& in, int n) {
    const int max = pickMax(in);
    MorvekStubSymStringArray(&m.rec, n > 0 ? n : 0, max);
    if (n < 0) MorvekStubSymSetCount(&m.rec, n);
    char* block = symData(&m.rec)->text.data();
    for (int k = 0; k < n; ++k) {
        const std::string t = pickText(in);
        std::strncpy(block + static_cast<size_t>(k) * (max + 1), t.c_str(),
                     static_cast<size_t>(max));
    }
}

// A record of kind `kind`; with `wrong`, of a kind picked from the input.
// Arrays take `uniform` elements when it is not INT_MIN (so that built-ins
// with many arrays sized alike are reached), else a length of their own.
void makeRecord(Made& m, Kind kind, bool wrong, int uniform, Bytes& in) {
    auto length = [&]() { return uniform != INT_MIN ? uniform : pickCount(in); };
    if (wrong) kind = static_cast<Kind>(in.u8() % 12);
    switch (kind) {
        case I:
        case OI:
            if (kind == I && in.u8() % 8 == 0)
                MorvekStubSymReal(&m.rec, pickReal(in));
            else
                MorvekStubSymInt(&m.rec, pickInt(in));
            break;
        case R:
        case OR:
            if (kind == R && in.u8() % 8 == 0)
                MorvekStubSymInt(&m.rec, pickInt(in));
            else
                MorvekStubSymReal(&m.rec, pickReal(in));
            break;
        case S: {
            const std::string t = pickText(in);
            MorvekStubSymString(&m.rec, t.c_str(), static_cast<int>(t.size()));
            break;
        }
        case OS: {
            const std::string t = pickText(in);
            MorvekStubSymString(&m.rec, t.c_str(), pickMax(in));
            break;
        }
        case IA:
        case OIA: {
            const int n = length();
            std::vector<int> v(static_cast<size_t>(n > 0 ? n : 0));
            for (int& x : v) x = pickElement(in);
            MorvekStubSymIntArray(&m.rec, v.data(), n > 0 ? n : 0);
            if (n < 0) MorvekStubSymSetCount(&m.rec, n);
            break;
        }
        case RA:
        case ORA: {
            const int n = length();
            std::vector<float> v(static_cast<size_t>(n > 0 ? n : 0));
            for (float& x : v) x = pickReal(in);
            MorvekStubSymRealArray(&m.rec, v.data(), n > 0 ? n : 0);
            if (n < 0) MorvekStubSymSetCount(&m.rec, n);
            break;
        }
        case SA:
        case OSA:
            makeTextArray(m, in, length());
            break;
    }
    guardTail(m);
}

// A 3 x 2 plate of unit quads on one laminate of two layers of "M1", with
// layered stresses of "LC1" / "SC1" on both layers.
const char kFixture[] =
    "node 1 0 0 0\nnode 2 1 0 0\nnode 3 2 0 0\nnode 4 3 0 0\n"
    "node 5 0 1 0\nnode 6 1 1 0\nnode 7 2 1 0\nnode 8 3 1 0\n"
    "node 9 0 2 0\nnode 10 1 2 0\nnode 11 2 2 0\nnode 12 3 2 0\n"
    "elem 1 4 1 2 6 5\nelem 2 4 2 3 7 6\nelem 3 4 3 4 8 7\n"
    "elem 4 4 5 6 10 9\nelem 5 4 6 7 11 10\nelem 6 4 7 8 12 11\n"
    "mat 1 \"M1\" \"\" 5 4 0\nmat 3 \"Lam\" \"\" 6 5 1\nmatword 3 40 2\n"
    "lam 3 0 1\nlamlayer 3 1 0.1 0 101\nlamlayer 3 1 0.1 45 102\n"
    "region 3 \"Lam\"\nword 3 13 5 3 0 0 0 0 0\nmember 3 4 5 6\n"
    "loadcase 1 \"LC1\" \"\"\nsubcase 1 1 \"SC1\" \"\"\n"
    "layer 1 \"Layer 1\" 0\nlayer 2 \"Layer 2\" 0\n"
    "result 1 1 \"Stress Tensor\" \"XX\" 3 \"STATIC\"\n"
    "value 1 1 \"Stress Tensor\" \"XX\" 1 C 4 500 50 0 25 0 0\n"
    "value 1 1 \"Stress Tensor\" \"XX\" 1 C 5 0 0 0 0 30 0\n"
    "value 1 1 \"Stress Tensor\" \"XX\" 2 C 4 100 0 0 0 0 0\n"
    "value 1 1 \"Stress Tensor\" \"XX\" 2 C 6 -1500 0 0 0 0 0\n";

std::string g_root;  // the fuzzer's folder: the fixture, and work/ where it runs
std::vector<std::vector<Kind>> g_kinds;
std::vector<SmBltFn> g_fns;

void removeTree(const std::string& dir, bool self) {
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            const std::string path = dir + "/" + name;
            if (std::remove(path.c_str()) != 0) removeTree(path, true);
        }
        closedir(d);
    }
    if (self) rmdir(dir.c_str());
}

void removeRoot() {
    if (chdir("/") == 0) removeTree(g_root, true);
}

// Per built-in: calls made and calls that reached the function; printed at
// exit when PLYSTRAND_FUZZ_STATS is set, to see what a corpus reaches.
std::vector<long> g_calls, g_reached;

void printStats() {
    int reachedBuiltins = 0;
    for (int k = 0; k < kBuiltins; ++k) {
        if (g_reached[static_cast<size_t>(k)] > 0) ++reachedBuiltins;
        std::fprintf(stderr, "%-34s %8ld calls %8ld reached\n", kTable[k].name,
                     g_calls[static_cast<size_t>(k)], g_reached[static_cast<size_t>(k)]);
    }
    std::fprintf(stderr, "%d of %d built-ins reached\n", reachedBuiltins, kBuiltins);
}

void setUp() {
    char tmpl[] = "/tmp/fuzz_builtins.XXXXXX";
    if (!mkdtemp(tmpl)) std::abort();
    g_root = tmpl;
    if (FILE* f = std::fopen((g_root + "/fixture.db").c_str(), "w")) {
        std::fputs(kFixture, f);
        std::fclose(f);
    }
    if (mkdir((g_root + "/work").c_str(), 0700) != 0) std::abort();
    if (chdir((g_root + "/work").c_str()) != 0) std::abort();
    std::atexit(removeRoot);
    g_calls.assign(static_cast<size_t>(kBuiltins), 0);
    g_reached.assign(static_cast<size_t>(kBuiltins), 0);
    if (std::getenv("PLYSTRAND_FUZZ_STATS")) std::atexit(printStats);
    VekApiInit(&MorvekStubGetter);
    PlystrandBltInit();
    for (const Builtin& b : kTable) {
        g_kinds.push_back(kindsOf(b.kinds));
        if (static_cast<int>(g_kinds.back().size()) != b.count) std::abort();
        g_fns.push_back(MorvekStubFindBuiltin(b.name));
    }
}

// A fresh model for each input: the fixture's mesh and laminates, a
// material, a draped ply over every element and a layup of it twice.
void freshModel() {
    LayupDestruct();
    MorvekStubReset();
    removeTree(g_root + "/work", false);
    MorvekStubOpenDatabase("fuzz");
    if (MorvekStubLoadDatabase((g_root + "/fixture.db").c_str()) != 0) std::abort();
    if (LayupConstruct(0, "", "") != 0 || LayupNewLayup(0.0f, 0.0f) != 0) std::abort();
    float one[1] = {0.0f};
    float e[1] = {60000.0f};
    int ids[1] = {7};
    int dirs[1] = {4};
    char empty[1] = "";
    char* ext[1] = {empty};
    if (LayupCreateMaterial(3, "Twill", 0.25f, 90.0f, 45.0f, 0, one, ext, ids, dirs, e, e, e, one,
                            one, one, e, e, e, one, one, one, one, one, one, one, one, one, one,
                            one, one, one, one, one, one, one, one, one, one, one, one, one, one,
                            one, one, one, one, one, one, one, one, one) != 0)
        std::abort();
    int elems[6] = {1, 2, 3, 4, 5, 6};
    int orders[6] = {};
    float origin[3] = {};
    int counts[2] = {};
    if (LayupCreatePly4(3, "P1", "Twill", 1.5f, 1.0f, 0.0f, 0.0f, 0.0f, -1.0f, 1.0f, 0.0f, 0.0f,
                        0.0f, 0, origin, "", 90.0f, 1.0f, 45.0f, 0.25f, 0, "Calc", counts, nullptr,
                        nullptr, 1, 0, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 6, elems, orders, 0, nullptr,
                        nullptr, nullptr) != 0)
        std::abort();
    char p1[] = "P1";
    char* plies[2] = {p1, p1};
    int types[2] = {3, 3};
    int inst[2] = {1, 1};
    int sides[2] = {1, -1};
    float angs[2] = {0.0f, 90.0f};
    float thk[2] = {};
    int gids[2] = {1, 2};
    if (LayupCreateLayup2("L", 2, nullptr, nullptr, types, plies, inst, sides, angs, thk, gids) !=
        0)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static bool ready = false;
    if (!ready) {
        setUp();
        ready = true;
    }
    freshModel();
    Bytes in(data, size);
    const int calls = 1 + in.u8() % 4;
    for (int c = 0; c < calls; ++c) {
        const int which = (in.u8() << 8 | in.u8()) % kBuiltins;
        SmBltFn fn = g_fns[static_cast<size_t>(which)];
        if (!fn) continue;  // not registered (yet)
        const std::vector<Kind>& kinds = g_kinds[static_cast<size_t>(which)];
        // Mostly the right count and kinds; now and then one wrong kind or
        // another count.
        const std::uint8_t mode = in.u8();
        int nargs = static_cast<int>(kinds.size());
        if (mode % 16 == 15) nargs = in.u8() % 66;
        const int wrongAt = mode % 16 == 14 && nargs > 0 ? in.u8() % nargs : -1;
        const int uniform = (mode >> 4) % 3 == 0 ? pickCount(in) : INT_MIN;
        std::vector<Made> made(static_cast<size_t>(nargs));
        std::vector<SmSym> recs(static_cast<size_t>(nargs) + 1);
        for (int k = 0; k < nargs; ++k) {
            const Kind kind = k < static_cast<int>(kinds.size()) ? kinds[static_cast<size_t>(k)]
                                                                 : static_cast<Kind>(in.u8() % 12);
            makeRecord(made[static_cast<size_t>(k)], kind, k == wrongAt, uniform, in);
            recs[static_cast<size_t>(k)] = made[static_cast<size_t>(k)].rec;
        }
        SmSym& result = recs.back();
        std::memset(&result, 0xAB, sizeof result);
        const long long before = MorvekStubBlocksInUse(16);
        const int errorsBefore = MorvekStubErrorCount();
        SmSym* back = fn(nargs, nargs ? recs.data() : nullptr, &result);
        ++g_calls[static_cast<size_t>(which)];
        if (back == &result) ++g_reached[static_cast<size_t>(which)];
        // Argument errors of the named built-in's refused calls, on request.
        if (back != &result && std::getenv("PLYSTRAND_FUZZ_WHY") &&
            std::strcmp(std::getenv("PLYSTRAND_FUZZ_WHY"), kTable[which].name) == 0) {
            int cls, code, a, b;
            for (int e = errorsBefore; MorvekStubGetError(e, &cls, &code, &a, &b) == 0; ++e)
                std::fprintf(
                    stderr, "why %d %d %d %d (elems %d)\n", cls, code, a, b,
                    a >= 1 && a <= nargs ? SmSymArrayElems(&recs[static_cast<size_t>(a - 1)]) : -9);
        }
        if (MorvekStubBlocksInUse(16) != before) {
            std::fprintf(stderr, "%s: text-pointer array left behind\n", kTable[which].name);
            std::abort();
        }
        if (back != &result) {
            const unsigned char* b = reinterpret_cast<const unsigned char*>(&result);
            for (std::size_t i = 0; i < sizeof result; ++i)
                if (b[i] != 0xAB) {
                    std::fprintf(stderr, "%s: result record written after an error\n",
                                 kTable[which].name);
                    std::abort();
                }
        } else if (result.type != 1 || result.form != 10) {
            std::fprintf(stderr, "%s: result record not an integer\n", kTable[which].name);
            std::abort();
        }
        for (int k = 0; k < nargs; ++k) {
            if (!guardIntact(made[static_cast<size_t>(k)])) {
                std::fprintf(stderr, "%s: argument %d written past its host array\n",
                             kTable[which].name, k + 1);
                std::abort();
            }
            MorvekStubSymFree(&made[static_cast<size_t>(k)].rec);
        }
    }
    return 0;
}
