// ANSYS results reader: any bytes must be read or refused with a status,
// with and without the model walk; never crash, leak or read past a buffer.
// The model holds the element ids of the seeds (synthetic files and the two
// real files converted to the external form), so values are filed too.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fileformats/CRSTParser.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpResStore.h"
#include "tests/fuzz/FuzzFile.h"

namespace {

CKpLayup* Model() {
    static CKpLayup* model = [] {
        std::vector<int> ids;
        for (int id = 1; id <= 100; ++id) ids.push_back(id);
        for (int id = 118081; id <= 118532; ++id) ids.push_back(id);
        std::vector<int> nodeIds, patches, topologies, connectivity;
        std::vector<double> xyz;
        for (size_t i = 0; i < ids.size(); ++i) {
            for (int c = 0; c < 4; ++c) {
                nodeIds.push_back(int(4 * i) + c + 1);
                xyz.insert(xyz.end(), {2.0 * i + (c == 1 || c == 2), double(c >= 2), 0.0});
                connectivity.push_back(int(4 * i) + c + 1);
            }
            patches.push_back(1);
            topologies.push_back(4);
        }
        auto* m = new CKpLayup(nullptr, nullptr);
        m->NewLayupMesh(int(nodeIds.size()), nodeIds.data(), xyz.data(), int(ids.size()),
                        ids.data(), patches.data(), topologies.data(), 4, connectivity.data(), 0.0,
                        0.0);
        return m;
    }();
    return model;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFile file(data, size);
    if (!file.ok()) return 0;
    CKpLayup* model = Model();
    for (int modelFlags : {0, 1}) {
        CRSTParser reader;
        reader.SetStores(model);
        reader.SetName(file.path());
        reader.SetFlags(modelFlags, 1);
        reader.Read();
        model->pRess()->DeleteAll();
    }
    return 0;
}
