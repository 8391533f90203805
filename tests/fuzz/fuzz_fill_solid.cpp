// Stacking file reader and laying: any bytes read as a stacking file and laid
// into a small brick mesh in each mode must give a status and sections whose
// layers read back; never crash, leak or read past a buffer.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "tests/support/BrickGen.h"
#include "tests/support/FillSolidHelpers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/fuzz_fill_solid_" + std::to_string(getpid()) + ".csv";
    // Two columns of three bricks of uneven height, tapering along x.
    static const brickgen::BrickMesh mesh =
        brickgen::TaperedSlab(brickgen::Order::Hex8, 2, 1, {0, 0.2, 0.7, 1}, 2, 1, 0.5, 1.5);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
    for (int mode = 0; mode < 4; ++mode) {
        fillsolid::Filler filler = fillsolid::Make();
        if (!filler || fillsolid::Load(*filler, mesh) != 0 || fillsolid::Tubes(*filler, mesh) != 0)
            __builtin_trap();
        filler->ReadStacking(static_cast<SolidElements::IFillSolid::EStacking>(mode), path.c_str(),
                             path.c_str());
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
