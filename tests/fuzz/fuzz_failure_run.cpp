// Failure runs on a two-element model of two layers: layer results of any
// size, name and layer number, allowable overrides, switches, basis and
// requested results. The run returns a status of 0..5 and, when it
// succeeds, a valid id range of results that exist.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/CVekAddinFailureLaminaHill.h"
#include "layuplib/CVekAddinFailureLaminaMaximum.h"
#include "layuplib/CVekAddinFailureLaminaTsaiwu.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"

namespace {

struct Input {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
    uint8_t Byte() { return pos < size ? data[pos++] : 0; }
    float Value() { return static_cast<int16_t>(Byte() | (Byte() << 8)) / 8.0f; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in{data, size};
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    if (meshgen::LoadModel(model, meshgen::Plate(meshgen::Kind::Quad4, 2, 1, 2, 1)) != 0)
        std::abort();
    CKpMat* m = new CKpMat(1);
    m->setMtrlnm("M1");
    m->setFxt(1000), m->setFxc(900), m->setFyt(100), m->setFyc(120);
    m->setFs12(50), m->setFs23(40), m->setFs31(60);
    m->setGyz(3000), m->setGzx(3000);
    model.pMats()->insert(m);
    CKpLam* lam = new CKpLam(1);
    for (int k = 0; k < 2; ++k) {
        CKpLamLyr* lyr = new CKpLamLyr;
        lyr->setMid(1), lyr->setT(0.1), lyr->setGplyid(in.Byte() % 4);
        lam->LamLyrs()->InsertLast(lyr);
    }
    lam->sb(in.Byte() % 2 ? in.Value() : 0.0);
    model.pLams()->insert(lam);
    for (int id : {1, 2}) model.pElems()->find(id)->pid(1);

    static const char* const types[4] = {"Stress Tensor", "Strain Tensor", "Stress", "Force"};
    const int nResults = in.Byte() % 5;
    for (int r = 0; r < nResults; ++r) {
        const std::string layer = "Layer " + std::to_string(static_cast<int>(in.Byte() % 6));
        const char* nm[5] = {in.Byte() % 5 ? "LC" : "Other", "SC", types[in.Byte() % 4], "",
                             layer.c_str()};
        CKpRes* res = new CKpRes(model.pRess()->maxId() + 1, nm, 1, 1 + in.Byte() % 3, 1);
        for (int e = 1; e <= 2; ++e) {
            if (in.Byte() % 4 == 0) continue;
            std::vector<float> v(in.Byte() % 9);
            for (float& x : v) x = in.Value();
            res->FindOrCreateResElem(e, static_cast<int>(v.size()), v.data(), 0, nullptr);
        }
        model.pRess()->insert(res);
    }

    const char* mats[2] = {"M1", "junk"};
    const int nValues = in.Byte() % 11;
    std::vector<double> values(static_cast<size_t>(2 * nValues));
    for (double& v : values) v = in.Value();
    const int nMats = in.Byte() % 3;
    std::vector<int> wanted(in.Byte() % 4);
    for (int& w : wanted) w = in.Byte() % 6;
    const uint8_t switches = in.Byte();
    const int kind = in.Byte() % 3;
    IVekAddinFailureLamina* c = nullptr;
    if (kind == 0)
        c = new CVekAddinFailureLaminaTsaiwu;
    else if (kind == 1)
        c = new CVekAddinFailureLaminaMaximum;
    else
        c = new CVekAddinFailureLaminaHill;
    c->AddRef();
    const int elems[2] = {1, 2};
    const char* names[5] = {"LC", "SC", "", "", ""};
    int ids[2] = {-7, -7};
    const int before = model.pRess()->entries();
    const int status = model.GetResultStore()->CreateResultsFailureLamina(
        2, elems, names, c, switches & 1, (switches >> 1) & 1, (switches >> 2) & 1,
        (switches >> 3) & 1 ? IVekResultStore::eStrain : IVekResultStore::eStress, nMats, mats,
        nValues, values.empty() ? nullptr : values.data(), static_cast<int>(wanted.size()),
        wanted.empty() ? nullptr : wanted.data(), (switches >> 4) & 1 ? "fuzz" : nullptr, nullptr,
        ids);
    c->Release();
    if (status < 0 || status > 5) std::abort();
    if (status == 0) {
        if (ids[0] > ids[1]) std::abort();
        for (int id = ids[0]; id < ids[1]; ++id)
            if (!model.pRess()->find(id)) std::abort();
    } else if (model.pRess()->entries() < before) {
        std::abort();
    }
    return 0;
}
