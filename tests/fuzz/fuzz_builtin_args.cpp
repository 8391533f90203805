// Built-in calls with any argument records the host could hand over (any
// count, value types, array flags, element counts, values) reach no memory
// outside the records, leave no text-pointer array behind and either call
// the function or report an argument error with the result record
// untouched. The built-ins taken write no files: kp_new_layup_mesh (any
// mesh arrays into the model), kp_get_versions, kp_import_ply, kp_new_layup.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "blt/lamlayup.h"
#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "platform/MorvekStub.h"

namespace {

// Reads the input front to back; zeros once it runs out.
struct Bytes {
    const std::uint8_t* p;
    std::size_t n;
    std::uint8_t u8() { return n ? (--n, *p++) : 0; }
    int i32() {
        std::uint32_t v = 0;
        for (int k = 0; k < 4; ++k) v = v << 8 | u8();
        return static_cast<int>(v);
    }
    float f32() {
        const int v = i32();
        float f;
        std::memcpy(&f, &v, sizeof f);
        return f;
    }
};

const char* const kBuiltins[] = {"kp_new_layup_mesh", "kp_get_versions", "kp_import_ply",
                                 "kp_new_layup"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static bool ready = false;
    if (!ready) {
        VekApiInit(&MorvekStubGetter);
        PlystrandBltInit();
        LayupConstruct(0, "", "");
        ready = true;
    }
    Bytes in{data, size};
    SmBltFn fn = MorvekStubFindBuiltin(kBuiltins[in.u8() % 4]);
    const int nargs = in.u8() % 16;
    std::vector<SmSym> recs(static_cast<std::size_t>(nargs) + 1);
    for (int k = 0; k < nargs; ++k) {
        SmSym* r = &recs[static_cast<std::size_t>(k)];
        const std::uint8_t form = in.u8();
        const int n = (form >> 3) % 24;  // elements of an array
        switch (form % 7) {
            case 0:
                MorvekStubSymInt(r, in.i32() % 64);
                break;
            case 1:
                MorvekStubSymReal(r, in.f32());
                break;
            case 2:
                MorvekStubSymString(r, "", 4);
                break;
            case 3: {
                std::vector<int> v(static_cast<std::size_t>(n));
                for (int& x : v) x = in.i32() % 64;
                MorvekStubSymIntArray(r, v.data(), n);
                break;
            }
            case 4: {
                std::vector<float> v(static_cast<std::size_t>(n));
                for (float& x : v) x = in.f32();
                MorvekStubSymRealArray(r, v.data(), n);
                break;
            }
            case 5:
                MorvekStubSymStringArray(r, n, 7);
                break;
            default:
                MorvekStubSymIntArray(r, nullptr, 0);
                MorvekStubSymSetCount(r, -1 - n);
                break;
        }
    }
    SmSym& result = recs.back();
    std::memset(&result, 0xAB, sizeof result);
    const long long before = MorvekStubBlocksInUse(16);
    SmSym* back = fn(nargs, recs.data(), &result);
    if (MorvekStubBlocksInUse(16) != before) std::abort();
    if (back != &result) {
        const unsigned char* b = reinterpret_cast<const unsigned char*>(&result);
        for (std::size_t i = 0; i < sizeof result; ++i)
            if (b[i] != 0xAB) std::abort();
    } else if (result.type != 1 || result.form != 10) {
        std::abort();
    }
    for (int k = 0; k < nargs; ++k) MorvekStubSymFree(&recs[static_cast<std::size_t>(k)]);
    MorvekStubReset();  // the error log and recorders stay small
    return 0;
}
