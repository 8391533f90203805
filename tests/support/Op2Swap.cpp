#include "tests/support/Op2Swap.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

int swap4(int w) {
    uint32_t u;
    std::memcpy(&u, &w, 4);
    u = (u >> 24) | ((u >> 8) & 0xff00u) | ((u << 8) & 0xff0000u) | (u << 24);
    std::memcpy(&w, &u, 4);
    return w;
}

// One physical record: its offset and its words.
struct Rec {
    size_t at;
    std::vector<int> words;
};

}  // namespace

std::string SwapOp2Bytes(const std::string& bytes, const Op2TextWord& isText) {
    std::string out = bytes;
    // Split into physical records first; whatever does not frame is swapped
    // word by word at the end.
    std::vector<Rec> recs;
    size_t pos = 0;
    while (pos + 4 <= bytes.size()) {
        int len;
        std::memcpy(&len, bytes.data() + pos, 4);
        if (len < 0 || len % 4 || pos + 8 + static_cast<size_t>(len) > bytes.size()) break;
        Rec r{pos, std::vector<int>(static_cast<size_t>(len) / 4)};
        if (len) std::memcpy(r.words.data(), bytes.data() + pos + 4, static_cast<size_t>(len));
        recs.push_back(std::move(r));
        pos += 8 + static_cast<size_t>(len);
    }
    std::vector<char> text(recs.size(), 0);  // whole record kept
    std::vector<std::vector<char>> textWords(recs.size());
    auto one = [&](size_t i) { return recs[i].words.size() == 1 ? recs[i].words[0] : 0x7fffffff; };
    size_t i = 0;
    // Label: [1]3 [3]date [1]7 [7]code [1]2 [2]label [1]-1 or version part.
    if (recs.size() > 5 && one(0) == 3 && one(2) == 7) {
        text[3] = 1;
        text[5] = 1;
        i = 6;
        if (i < recs.size() && one(i) != -1 && i + 2 < recs.size()) {
            text[i + 1] = 1;
            i += 3;
        } else {
            i += 1;
        }
        if (i < recs.size()) ++i;  // the 0 after the label
    }
    // Datablocks.
    while (i < recs.size()) {
        if (one(i) == 0) {  // end of file
            ++i;
            continue;
        }
        if (one(i) != 2 || i + 1 >= recs.size()) break;
        std::string name(reinterpret_cast<const char*>(recs[i + 1].words.data()), 8);
        text[i + 1] = 1;
        i += 2;
        if (i < recs.size() && one(i) != -1)
            i += 3;  // version text
        else
            ++i;
        i += 3;  // [1]7 [7]trailer [1]-2
        int record = 0;
        bool firstIsHeader = true;
        while (i + 2 < recs.size()) {
            // A logical record or column: [1]1 [1]flag then pieces.
            if (one(i) != 1) break;
            int flag = one(i + 1);
            int first = one(i + 2);
            if (flag == 0 && first == 0) {  // end of datablock
                i += 3;
                break;
            }
            i += 2;
            bool header = firstIsHeader && flag == 0 && first == 2 && i + 1 < recs.size() &&
                          recs[i + 1].words.size() == 2 &&
                          std::memcmp(recs[i + 1].words.data(), name.data(), 8) == 0;
            firstIsHeader = false;
            if (header) {
                text[i + 1] = 1;
                i += 3;  // [1]2 [2]name [1]-3
                continue;
            }
            ++record;
            // Gather the pieces' words to ask about text words by index.
            std::vector<int> all;
            std::vector<std::pair<size_t, size_t>> spans;  // record index, word offset
            size_t k = i;
            while (k + 1 < recs.size() && one(k) > 0 && one(k) != 0x7fffffff) {
                spans.push_back({k + 1, all.size()});
                const auto& w = recs[k + 1].words;
                all.insert(all.end(), w.begin(), w.end());
                k += 2;
            }
            if (isText && flag == 0) {
                for (const auto& sp : spans) {
                    auto& mark = textWords[sp.first];
                    mark.assign(recs[sp.first].words.size(), 0);
                    for (size_t w = 0; w < mark.size(); ++w)
                        mark[w] = isText(name, record, static_cast<int>(sp.second + w), all.data());
                }
            }
            i = k + 1;  // past the end marker
        }
    }
    for (size_t r = 0; r < recs.size(); ++r) {
        size_t at = recs[r].at;
        int len;
        std::memcpy(&len, bytes.data() + at, 4);
        int s = swap4(len);
        std::memcpy(&out[at], &s, 4);
        std::memcpy(&out[at + 4 + static_cast<size_t>(len)], &s, 4);
        if (text[r]) continue;
        for (size_t w = 0; w < recs[r].words.size(); ++w) {
            if (!textWords[r].empty() && textWords[r][w]) continue;
            int v = swap4(recs[r].words[w]);
            std::memcpy(&out[at + 4 + 4 * w], &v, 4);
        }
    }
    for (; pos + 4 <= bytes.size(); pos += 4) {
        int w;
        std::memcpy(&w, bytes.data() + pos, 4);
        w = swap4(w);
        std::memcpy(&out[pos], &w, 4);
    }
    return out;
}
