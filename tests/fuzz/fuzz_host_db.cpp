// The host database as the library reads it: any stand-in database the
// record format can hold is dumped and loaded again to the same dump, and a
// model reads its mesh, laminates, materials, properties and the first
// result of it without a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "host/CMorvek.h"
#include "host/LayupOut.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpResStore.h"
#include "platform/MorvekStub.h"
#include "tests/fuzz/FuzzFile.h"

namespace {

std::string dump(const char* path) {
    if (MorvekStubSaveDatabase(path) != 0) std::abort();
    std::ifstream in(path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool tables = VekApiInit(&MorvekStubGetter) == 0;
    if (!tables) std::abort();
    FuzzFile input(data, size), output(nullptr, 0);
    if (!input.ok() || !output.ok()) return 0;
    MorvekStubReset();
    if (MorvekStubLoadDatabase(input.path()) != 0) return 0;
    MorvekStubOpenDatabase("fuzz.db");

    // The dump is the database.
    const std::string first = dump(output.path());
    MorvekStubReset();
    if (MorvekStubLoadDatabase(output.path()) != 0) std::abort();
    MorvekStubOpenDatabase("fuzz.db");
    if (dump(input.path()) != first) std::abort();

    CMorvek db;
    CKpLayup model(&db, nullptr);
    if (model.NewLayup(0.0, 0.0) != 0) return 0;
    db.getLam(nullptr, model.pElems(), model.pLams());
    db.getMat(nullptr, model.pLams(), model.pMats());
    db.getProp(nullptr, model.pElems(), model.pOrients(), model.pCoords());
    char names[5][256] = {"LC", "SC", "Stress", "XX", ""};
    char* ptrs[5] = {names[0], names[1], names[2], names[3], names[4]};
    int ids[2] = {1, 2}, maxLayer = 0;
    db.getRes(nullptr, model.pRess(), ptrs, 2, ids, &maxLayer);
    return 0;
}
