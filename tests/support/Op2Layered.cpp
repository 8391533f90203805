#include "tests/support/Op2Layered.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "op2reader/op2_file.h"

namespace {

// The bytes of the label: the physical records up to the 0 that follows
// the label's -1 marker (eight records: 3, date, 7, tape code, 2, label,
// -1, 0). Empty when the file does not start that way.
std::string LabelBytes(const std::string& source) {
    std::ifstream in(source, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t at = 0;
    for (int record = 0; record < 8; ++record) {
        int length;
        if (at + 4 > bytes.size()) return "";
        std::memcpy(&length, bytes.data() + at, 4);
        if (length < 0 || at + 8 + static_cast<size_t>(length) > bytes.size()) return "";
        at += 8 + static_cast<size_t>(length);
    }
    return bytes.substr(0, at);
}

void Text(int* words, int first, const char* text) {
    std::memcpy(words + first, text, std::strlen(text));
}

void Ident(int* w, int tableCode, int numWide, int subcase) {
    std::memset(w, 0, 146 * sizeof(int));
    w[0] = 13;  // statics, device code 3
    w[1] = tableCode;
    w[2] = 95;  // layered QUAD4
    w[3] = subcase;
    w[4] = 1;
    w[7] = 1;
    w[8] = 1;  // real
    w[9] = numWide;
    std::memset(w + 50, ' ', 96 * sizeof(int));
    Text(w, 50, "LAYERED RESULTS RUN");
    Text(w, 82, "COMBINED LOADING");
    char label[32];
    std::snprintf(label, sizeof label, "SUBCASE %d", subcase);
    Text(w, 114, label);
}

float Value(long eid, int ply, int k, int subcase, int pass) {
    return 0.001f * static_cast<float>(eid % 9973) + static_cast<float>(ply) +
           0.1f * static_cast<float>(k) + 100.0f * static_cast<float>(subcase) +
           1000.0f * static_cast<float>(pass);
}

void Entry(int* w, bool stress, long eid, int ply, int plies, int subcase, int pass) {
    float f[11];
    for (int k = 0; k < 11; ++k) f[k] = Value(eid, ply, k, subcase, pass);
    if (stress) {
        std::memcpy(w, f, 11 * sizeof(float));
        w[0] = static_cast<int>(eid * 10);
        w[1] = ply;
        return;
    }
    std::memcpy(w, f, 9 * sizeof(float));
    w[0] = ply == 1 ? static_cast<int>(eid) : -1;
    std::memcpy(w + 1, ply == 1 ? "HILL    " : "        ", 8);
    w[3] = ply;
    w[5] = 0;
    if (ply < plies) w[7] = -1;
}

}  // namespace

bool WriteLayeredOp2(const std::string& path, const std::string& labelSource,
                     const Op2LayeredRecipe& recipe) {
    const std::string label = LabelBytes(labelSource);
    if (label.empty()) return false;
    // Element order and the passes: scrambled files repeat every seventh
    // element with other values.
    std::vector<long> order;
    std::vector<int> pass;
    for (long e = 1; e <= recipe.elements; ++e) order.push_back(e);
    if (recipe.scrambled) {
        unsigned long state = 12345;
        for (size_t i = order.size(); i > 1; --i) {
            state = state * 6364136223846793005ul + 1442695040888963407ul;
            std::swap(order[i - 1], order[(state >> 33) % i]);
        }
        for (long e = 7; e <= recipe.elements; e += 7) order.push_back(e);
    }
    pass.assign(order.size(), 0);
    for (size_t i = static_cast<size_t>(recipe.elements); i < order.size(); ++i) pass[i] = 1;

    op2_Init(stderr);
    const int id = op2_OpenFile(path.c_str(), 'W');
    if (id < 1) return false;
    const int tape[2] = {0x20202020, 0x20202020};
    bool ok = op2_WriteLabel(id, tape) == 0;
    for (int block = 0; block < 2 && ok; ++block) {
        const bool stress = block == 0;
        const int numWide = stress ? 11 : 9;
        char name[9];
        std::snprintf(name, sizeof name, "%-8s", stress ? "OES1C" : "OEFIT");
        int trailer[6] = {101, 2, 1, 0, 0, 0}, eof;
        ok = op2_OpenDatablk(id, 1, name, trailer, &eof) == 0;
        std::vector<int> words(static_cast<size_t>(recipe.perPiece) * recipe.plies * numWide);
        for (int subcase = 1; subcase <= recipe.subcases && ok; ++subcase) {
            int ident[146];
            Ident(ident, stress ? 5 : 25, numWide, subcase);
            ok = op2_WriteRecord(id, 146, 1, ident) == 0;
            for (size_t done = 0; done < order.size() && ok; done += recipe.perPiece) {
                const size_t n = std::min(order.size() - done, static_cast<size_t>(recipe.perPiece));
                for (size_t i = 0; i < n; ++i)
                    for (int p = 1; p <= recipe.plies; ++p)
                        Entry(&words[(i * recipe.plies + p - 1) * numWide], stress, order[done + i],
                              p, recipe.plies, subcase, pass[done + i]);
                ok = op2_WriteRecord(id, static_cast<int>(n * recipe.plies * numWide), 0,
                                     words.data()) == 0;
            }
            if (ok) ok = op2_WriteRecord(id, 0, 1, nullptr) == 0;
        }
        if (ok) ok = op2_CloseDatablk(id) == 0;
    }
    if (op2_CloseFile(id) != 0) ok = false;
    op2_End();
    if (!ok) return false;
    // The label as the solver wrote it: same record lengths, so in place.
    std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
    out.write(label.data(), static_cast<std::streamsize>(label.size()));
    return static_cast<bool>(out);
}
