// Stacking file reader and laying: any bytes read as a stacking file and laid
// into a small brick mesh in each mode must give a status and sections whose
// layers read back; never crash, leak or read past a buffer.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzFile.h"
#include "tests/support/BrickGen.h"
#include "tests/support/FillSolidHelpers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Two columns of three bricks of uneven height, tapering along x.
    static const brickgen::BrickMesh mesh =
        brickgen::TaperedSlab(brickgen::Order::Hex8, 2, 1, {0, 0.2, 0.7, 1}, 2, 1, 0.5, 1.5);
    FuzzFile file(data, size);
    if (!file.ok()) return 0;
    for (int mode = 0; mode < 4; ++mode) {
        fillsolid::Filler filler = fillsolid::Make();
        if (!filler || fillsolid::Load(*filler, mesh) != 0 || fillsolid::Tubes(*filler, mesh) != 0)
            __builtin_trap();
        filler->ReadStacking(static_cast<SolidElements::IFillSolid::EStacking>(mode), file.path(),
                             file.path());
        filler->CreateSections("Resin", 1.0, 0.01);
        int n = 0;
        filler->GetNumSections(n);
        for (int i = 0; i < n; ++i) {
            SolidElements::IFillSolidSection* s = nullptr;
            if (filler->GetSection(i, s) != 0) __builtin_trap();
            fillsolid::Layers(*s);
        }
        char text[64];
        filler->GetLastError(text, sizeof text);
    }
    return 0;
}
