// Result records: counts, ids and values from the input go through
// SetElementResults and FindOrCreateResElem; the read-backs must agree with
// a plain model of the rules (first record per element wins, offsets move
// past every element, counts outside 0..255 refuse the whole call, a later
// FindOrCreateResElem overwrites the first values that fit). Never crash,
// leak or read past a buffer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

#include "layuplib/CKpRes.h"

namespace {

struct Input {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
    bool empty() const { return pos >= size; }
    uint8_t Byte() { return pos < size ? data[pos++] : 0; }
    int Short() {
        const int lo = Byte();
        return static_cast<int16_t>(lo | (Byte() << 8));
    }
    float Float() {
        uint32_t bits = 0;
        for (int k = 0; k < 4; ++k) bits |= static_cast<uint32_t>(Byte()) << (8 * k);
        float f;
        std::memcpy(&f, &bits, sizeof(f));
        return f;
    }
};

struct Model {
    std::vector<float> floats;
    std::vector<int> ints;
};

bool SameBits(const std::vector<float>& a, const float* b, size_t n) {
    return a.size() == n && (n == 0 || std::memcmp(a.data(), b, n * sizeof(float)) == 0);
}

// Counts mostly in range, now and then out of it.
int Count(Input& in) {
    const uint8_t b = in.Byte();
    if (b == 0xff) return 256 + in.Byte();
    if (b == 0xfe) return -1 - in.Byte();
    return b % 12;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in{data, size};
    CKpRes result(1);
    std::map<int, Model> model;
    while (!in.empty()) {
        const uint8_t op = in.Byte();
        if (op % 2 == 0) {
            // SetElementResults with n elements; bits of `op` drop arrays.
            const int n = in.Byte() % 9;
            std::vector<int> ids(n + 1), nInts(n + 1), nFloats(n + 1);  // never null
            size_t ni = 0, nf = 0;
            bool refused = false;
            for (int i = 0; i < n; ++i) {
                ids[i] = in.Short() % 40;
                nInts[i] = Count(in);
                nFloats[i] = Count(in);
            }
            const bool useInts = op & 2, useFloats = op & 4;
            const bool intValues = !(op & 8), floatValues = !(op & 16);
            for (int i = 0; i < n; ++i) {
                if (useInts && (nInts[i] < 0 || nInts[i] > 255)) refused = true;
                if (useFloats && (nFloats[i] < 0 || nFloats[i] > 255)) refused = true;
            }
            if (!refused) {
                for (int i = 0; i < n; ++i) {
                    ni += useInts ? nInts[i] : 0;
                    nf += useFloats ? nFloats[i] : 0;
                }
            }
            std::vector<int> ints(ni + 1);
            std::vector<float> floats(nf + 1);
            for (size_t k = 0; k < ni; ++k) ints[k] = in.Short();
            for (size_t k = 0; k < nf; ++k) floats[k] = in.Float();
            const int status = result.SetElementResults(
                n, ids.data(), useInts ? nInts.data() : nullptr,
                useFloats ? nFloats.data() : nullptr, intValues ? ints.data() : nullptr,
                floatValues ? floats.data() : nullptr);
            int expected = 0;
            if (n >= 1 && (useInts || useFloats)) expected = refused ? 3 : 0;
            if (status != expected) __builtin_trap();
            if (expected != 0 || n < 1 || (!useInts && !useFloats)) continue;
            size_t io = 0, fo = 0;
            for (int i = 0; i < n; ++i) {
                const int ci = useInts ? nInts[i] : 0, cf = useFloats ? nFloats[i] : 0;
                if (!model.count(ids[i])) {
                    Model& m = model[ids[i]];
                    m.ints.assign(ci, 0);
                    m.floats.assign(cf, 0.0f);
                    if (intValues)
                        std::copy(ints.begin() + io, ints.begin() + io + ci, m.ints.begin());
                    if (floatValues)
                        std::copy(floats.begin() + fo, floats.begin() + fo + cf, m.floats.begin());
                }
                io += ci;
                fo += cf;
            }
        } else {
            // FindOrCreateResElem for one element.
            const int id = in.Short() % 40;
            const int nf = Count(in), ni = Count(in);
            std::vector<float> f(nf > 0 && nf <= 255 ? nf : 0);
            std::vector<int> i(ni > 0 && ni <= 255 ? ni : 0);
            for (float& v : f) v = in.Float();
            for (int& v : i) v = in.Short();
            CKpResElem* record = result.FindOrCreateResElem(id, nf, f.data(), ni, i.data());
            const bool bad = nf < 0 || nf > 255 || ni < 0 || ni > 255;
            if (bad != (record == nullptr)) __builtin_trap();
            if (bad) continue;
            auto it = model.find(id);
            if (it == model.end()) {
                model[id] = Model{f, i};
            } else {
                if (static_cast<size_t>(nf) <= it->second.floats.size())
                    std::copy(f.begin(), f.end(), it->second.floats.begin());
                if (static_cast<size_t>(ni) <= it->second.ints.size())
                    std::copy(i.begin(), i.end(), it->second.ints.begin());
            }
        }
    }

    // Read back everything and compare with the model.
    const int n = result.GetNumElements();
    if (n != static_cast<int>(model.size())) __builtin_trap();
    std::vector<int> ids(n + 1), nInts(n + 1), nFloats(n + 1);
    if (result.GetElementIdsNums(n + 1, ids.data(), nInts.data(), nFloats.data()) != 1)
        __builtin_trap();
    if (result.GetElementIdsNums(n, ids.data(), nInts.data(), nFloats.data()) != 0)
        __builtin_trap();
    size_t ni = 0, nf = 0;
    for (int k = 0; k < n; ++k) ni += nInts[k], nf += nFloats[k];
    std::vector<int> ints(ni);
    std::vector<float> floats(nf);
    result.GetElementResults(ints.data(), floats.data());
    size_t io = 0, fo = 0;
    int k = 0;
    for (const auto& entry : model) {
        const Model& m = entry.second;
        if (ids[k] != entry.first || nInts[k] != static_cast<int>(m.ints.size()) ||
            !SameBits(m.floats, floats.data() + fo, nFloats[k]) ||
            !std::equal(m.ints.begin(), m.ints.end(), ints.begin() + io))
            __builtin_trap();
        io += nInts[k];
        fo += nFloats[k];
        ++k;
    }
    return 0;
}
