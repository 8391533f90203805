#include "tests/support/RstWriter.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace rstfile {

namespace {

constexpr uint32_t kInts = 0x80000000u;
constexpr uint32_t kSingles = 0x40000000u;
constexpr uint32_t kDoubles = 0;

void AppendInt(std::string& out, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    const char b[4] = {char(u >> 24), char(u >> 16), char(u >> 8), char(u)};
    out.append(b, 4);
}

std::string Ints(const std::vector<int>& v) {
    std::string s;
    for (int x : v) AppendInt(s, x);
    return s;
}

std::string Doubles(const std::vector<double>& v) {
    std::string s;
    for (double d : v) {
        uint64_t u;
        std::memcpy(&u, &d, 8);
        AppendInt(s, int32_t(uint32_t(u >> 32)));
        AppendInt(s, int32_t(uint32_t(u)));
    }
    return s;
}

std::string Floats(const std::vector<double>& v) {
    std::string s;
    for (double d : v) {
        const float f = static_cast<float>(d);
        uint32_t u;
        std::memcpy(&u, &f, 4);
        AppendInt(s, int32_t(u));
    }
    return s;
}

class Builder {
  public:
    explicit Builder(double level) : m_level(level) {}

    // Appends a record; returns its index.
    size_t Record(const std::string& block, uint32_t flags, const std::string& data) {
        const size_t start = out.size();
        const int length = m_level < 10.0 ? int(data.size()) + 4 : int(data.size() / 4);
        AppendInt(out, length);
        AppendInt(out, int32_t(flags));
        out += data;
        AppendInt(out, length);
        records.push_back({block, start, out.size(), out.size(), true});
        return records.size() - 1;
    }
    int Word() const { return int(out.size() / 4); }
    // Words a record of `dataBytes` takes.
    static int Words(size_t dataBytes) { return int(dataBytes / 4) + 3; }

    std::string out;
    std::vector<RecordInfo> records;

  private:
    double m_level;
};

std::string Loop(const std::string& name, size_t i, size_t n) {
    return name + " " + std::to_string(i) + " of " + std::to_string(n);
}

// An index of `n` entries, entry j non-zero for even j; returns the count
// of non-zero entries.
int IndexBlock(Builder& b, const std::string& name, int n, uint32_t flags, size_t itemBytes,
               int items) {
    if (n == 0) return 0;
    std::vector<int> index(n, 0);
    int used = 0;
    for (int j = 0; j < n; j += 2) index[j] = ++used;
    b.Record(name, kInts, Ints(index));
    for (int j = 1; j <= used; ++j) {
        const std::string data(itemBytes * items, '\0');
        b.Record(Loop(name, j, used), flags, data);
    }
    return used;
}

}  // namespace

int File::Find(const std::string& block) const {
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i].block == block) return int(i);
    return -1;
}

Element Pattern(int set, int k) {
    Element e;
    const double fx = 100.0 * set + k + 0.5;
    const double v[8] = {fx, fx + 0.25, -fx, 10 * fx, 20 * fx, 30 * fx, 1.0 + k, 2.0 + k};
    std::memcpy(e.v, v, sizeof v);
    return e;
}

int32_t GetInt(const std::string& bytes, size_t offset) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + offset);
    return int32_t((uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]);
}

void PutInt(std::string& bytes, size_t offset, int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[offset + i] = char(u >> (24 - 8 * i));
}

File Write(const Recipe& recipe) {
    const double level = std::strtod(recipe.release.c_str(), nullptr);
    const bool wide = level >= 10.0;
    Builder b(level);
    const int nelm = int(recipe.ids.size());
    const int nsets = int(recipe.sets.size());

    // Standard header; the release goes in as characters in reading order.
    std::vector<int> standard(100, 0);
    standard[0] = 12;
    standard[1] = recipe.formatWord;
    std::string stdData = Ints(standard);
    std::string release = recipe.release.substr(0, 4);
    release.resize(4, ' ');
    stdData.replace(36, 4, release);
    b.Record("standard header", kInts, stdData);

    std::vector<int> head(wide ? 80 : 40, 0);
    head[0] = 12;
    head[2] = recipe.nodes;
    head[3] = recipe.maxSets;
    head[4] = recipe.dof;
    head[6] = nelm;
    head[8] = nsets;
    head[28] = recipe.modelPart ? recipe.transforms : 0;
    const size_t headRec = b.Record(".rst header", kInts, Ints(head));

    size_t dsiRec = 0;
    bool hasDsi = false;
    int ptrElm = 0, ptrDsi = 0;
    const std::vector<int> dsiZero(2 * recipe.maxSets, 0);
    if (recipe.modelPart) {
        std::vector<int> dofs(recipe.dof), nodes(recipe.nodes);
        for (int i = 0; i < recipe.dof; ++i) dofs[i] = i + 1;
        for (int i = 0; i < recipe.nodes; ++i) nodes[i] = i + 1;
        if (recipe.dof) b.Record("---", kInts, Ints(dofs));
        if (recipe.nodes) b.Record("NOD", kInts, Ints(nodes));
        ptrElm = b.Word();
        if (nelm) b.Record("ELM", kInts, Ints(recipe.ids));
        ptrDsi = b.Word();
        if (recipe.maxSets) {
            dsiRec = b.Record("DSI", kInts, Ints(dsiZero));
            hasDsi = true;
            b.Record("TIM", kDoubles, Doubles(std::vector<double>(recipe.maxSets, 1.0)));
            b.Record("LSP", kInts, Ints(std::vector<int>(3 * recipe.maxSets, 1)));
        }
        for (int i = 1; i <= recipe.transforms; ++i)
            b.Record(Loop("TRAN", i, recipe.transforms), kDoubles,
                     Doubles(std::vector<double>(25, 0.5)));

        // The element index and its records come right after the nodes;
        // their word positions follow from the sizes written before them.
        std::vector<int> geo(wide ? 80 : 40, 0);
        geo[1] = recipe.elementTypes;
        geo[2] = recipe.realConstants;
        geo[3] = recipe.nodes;
        geo[4] = nelm;
        geo[5] = recipe.coordSystems;
        geo[15] = recipe.massTable ? 1 : 0;
        geo[16] = 24;
        geo[18] = 20;
        const size_t geoRec = b.Record("GEO", kInts, Ints(geo));
        IndexBlock(b, "ETY", recipe.elementTypes, kInts, 4, 20);
        IndexBlock(b, "REL", recipe.realConstants, kDoubles, 8, 6);
        IndexBlock(b, "CSY", recipe.coordSystems, kDoubles, 8, 24);
        for (int i = 1; i <= recipe.nodes; ++i)
            b.Record(Loop("NOD", i, recipe.nodes), kDoubles,
                     Doubles({double(i), 1.0 * i, 2.0 * i, 0.0, 0.0, 0.0, 0.0}));
        if (nelm) {
            const int indexWord = b.Word();
            const int indexWords = Builder::Words(size_t(4) * (wide ? 2 : 1) * nelm);
            const int elemWords = Builder::Words(4 * 10);
            std::vector<int> index;
            for (int k = 0; k < nelm; ++k) {
                const int offset = indexWords + k * elemWords;
                if (wide) {
                    index.push_back(offset);
                    index.push_back(0);
                } else {
                    index.push_back(indexWord + offset);
                }
            }
            b.Record("ELM", kInts, Ints(index));
            for (int k = 0; k < nelm; ++k) {
                const size_t r = b.Record(Loop("ELM", k + 1, nelm), kInts,
                                          Ints({1, 181, 1, 1, 0, 0, 0, 0, recipe.ids[k], 0}));
                b.records[r].block = "ELM";  // first reached from the index
            }
            if (wide) {
                PutInt(b.out, b.records[geoRec].start + 8 + 4 * 28, indexWord);
                PutInt(b.out, b.records[geoRec].start + 8 + 4 * 29, 0);
            }
        }
        if (recipe.massTable)
            b.Record("MAS", kDoubles,
                     Doubles(std::vector<double>(size_t(recipe.dof) * recipe.nodes, 2.0)));
    } else {
        ptrElm = b.Word();
        b.Record("ptrELM", kInts, Ints(recipe.ids));
        ptrDsi = b.Word();
        dsiRec = b.Record("ptrDSI", kInts, Ints(dsiZero));
        hasDsi = true;
    }
    PutInt(b.out, b.records[headRec].start + 8 + 4 * 10, ptrDsi);
    PutInt(b.out, b.records[headRec].start + 8 + 4 * 13, ptrElm);

    std::vector<int> setWords;
    for (int i = 0; i < nsets; ++i) {
        const Set& set = recipe.sets[i];
        const std::string block = Loop("SET", i + 1, nsets);
        const int s = b.Word();
        setWords.push_back(s);
        const int n = int(set.elements.size());
        const int solWords = Builder::Words(4 * 100), dblWords = Builder::Words(8 * 10);
        const int e = solWords + dblWords;
        std::vector<int> sol(100, 0);
        sol[1] = set.nelm < 0 ? n : set.nelm;
        sol[3] = set.mask;
        sol[4] = set.loadStep;
        sol[5] = set.iteration;
        sol[11] = e;
        b.Record(block, kInts, Ints(sol));
        b.Record(block, kDoubles, Doubles(std::vector<double>(10, 0.0)));

        // Element k's records start at word `at` (relative to the set).
        const int indexWords = Builder::Words(size_t(4) * (wide ? 2 : 1) * n);
        std::vector<int> index;
        int at = e + indexWords;
        const int elemWords = Builder::Words(4 * 25);
        const int valueUnit = recipe.single ? 1 : 2;
        for (const Element& el : set.elements) {
            const int p = el.indexed ? (wide ? at - e : at) : 0;
            if (wide) {
                index.push_back(p);
                index.push_back(0);
            } else {
                index.push_back(p);
            }
            if (el.indexed) at += elemWords + (el.hasValues ? 3 + valueUnit * el.nValues : 0);
        }
        b.Record(block, kInts, Ints(index));
        at = e + indexWords;
        for (const Element& el : set.elements) {
            if (!el.indexed) continue;
            std::vector<int> rec(25, 0);
            if (el.hasValues) rec[0] = wide ? elemWords : at + elemWords;
            const size_t r = b.Record(block, kInts, Ints(rec));
            b.records[r].framed = false;
            b.records[r].readEnd = b.records[r].start + 12;
            at += elemWords;
            if (!el.hasValues) continue;
            std::vector<double> vals(el.v, el.v + 8);
            vals.resize(size_t(el.nValues), 0.0);
            const size_t vr = b.Record(block, recipe.single ? kSingles : kDoubles,
                                       recipe.single ? Floats(vals) : Doubles(vals));
            b.records[vr].framed = false;
            // The reader takes the header and, when there are eight, the
            // first eight values.
            b.records[vr].readEnd =
                b.records[vr].start + 8 + (el.nValues >= 8 ? size_t(8) * (recipe.single ? 4 : 8) : 0);
            at += 3 + valueUnit * el.nValues;
        }
    }
    if (hasDsi) {
        for (int i = 0; i < nsets && i < recipe.maxSets; ++i) {
            PutInt(b.out, b.records[dsiRec].start + 8 + 4 * i, setWords[i]);
            PutInt(b.out, b.records[dsiRec].start + 8 + 4 * (i + recipe.maxSets), 0);
        }
    }
    File file;
    file.bytes = std::move(b.out);
    file.records = std::move(b.records);
    return file;
}

}  // namespace rstfile
