// The stand-in database's text records: MorvekStubLoadDatabase and
// MorvekStubSaveDatabase (record list in platform/MorvekStub.h).

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/MorvekStub.h"
#include "platform/MorvekStubState.h"

using morvekstub::state;

namespace {

struct Token {
    std::string text;
    bool quoted;
};

// Blank-separated fields; a field in double quotes may hold blanks. False
// for an unclosed quote.
bool tokenize(const std::string& line, std::vector<Token>* tokens) {
    size_t k = 0;
    const size_t n = line.size();
    while (k < n) {
        if (line[k] == ' ' || line[k] == '\t' || line[k] == '\r') {
            ++k;
            continue;
        }
        if (line[k] == '"') {
            const size_t end = line.find('"', k + 1);
            if (end == std::string::npos) return false;
            tokens->push_back({line.substr(k + 1, end - k - 1), true});
            k = end + 1;
            continue;
        }
        size_t end = k;
        while (end < n && line[end] != ' ' && line[end] != '\t' && line[end] != '\r') ++end;
        tokens->push_back({line.substr(k, end - k), false});
        k = end;
    }
    return true;
}

class Parser {
  public:
    explicit Parser(const std::vector<Token>& t) : m_t(t) {}
    size_t size() const { return m_t.size(); }
    bool atEnd() const { return m_at >= m_t.size(); }
    bool integer(int* v) {
        if (atEnd() || m_t[m_at].quoted) return false;
        const std::string& s = m_t[m_at++].text;
        const auto r = std::from_chars(s.data(), s.data() + s.size(), *v);
        return r.ec == std::errc() && r.ptr == s.data() + s.size();
    }
    bool real(double* v) {
        if (atEnd() || m_t[m_at].quoted) return false;
        const std::string& s = m_t[m_at++].text;
        const auto r = std::from_chars(s.data(), s.data() + s.size(), *v);
        return r.ec == std::errc() && r.ptr == s.data() + s.size();
    }
    bool real(float* v) {
        double d = 0.0;
        if (!real(&d)) return false;
        *v = static_cast<float>(d);
        return true;
    }
    // A carriage return or NUL byte in a text reads as a blank, as it is
    // saved (texts reach the library as C strings).
    bool text(std::string* v) {
        if (atEnd() || !m_t[m_at].quoted) return false;
        *v = m_t[m_at++].text;
        for (char& c : *v)
            if (c == '\r' || c == '\0') c = ' ';
        return true;
    }
    bool word(std::string* v) {
        if (atEnd() || m_t[m_at].quoted) return false;
        *v = m_t[m_at++].text;
        return true;
    }

  private:
    const std::vector<Token>& m_t;
    size_t m_at = 1;  // after the record name
};

int loadError(const char* path, int line, const std::string& reason) {
    std::fprintf(stderr, "%s:%d: %s\n", path, line, reason.c_str());
    return -1;
}

int valuesPerPoint(int type) {
    return type == 1 ? 1 : type == 2 ? 3 : type == 3 ? 6 : 0;
}

// One record applied to `db`; "" or the reason it was refused.
std::string applyRecord(morvekstub::Database& db, const std::string& kind, Parser& p) {
    if (kind == "node") {
        int id = 0;
        float xyz[3];
        if (!p.integer(&id) || !p.real(&xyz[0]) || !p.real(&xyz[1]) || !p.real(&xyz[2]) ||
            !p.atEnd())
            return "expected: node ID X Y Z";
        if (db.node(id)) return "node id already taken";
        db.addNode(id, xyz);
    } else if (kind == "elem") {
        int id = 0, topology = 0;
        if (p.size() < 4 || p.size() > 3 + static_cast<size_t>(morvekstub::kMaxElemNodes) ||
            !p.integer(&id) || !p.integer(&topology))
            return "expected: elem ID TOPOLOGY N1 .. Nk (k 1 to 64)";
        std::vector<int> nodes(p.size() - 3);
        for (int& n : nodes)
            if (!p.integer(&n)) return "node id is not an integer";
        if (db.elem(id)) return "element id already taken";
        db.addElem(id, topology, static_cast<int>(nodes.size()), nodes.data());
    } else if (kind == "frame") {
        int id = 0;
        morvekstub::Frame f;
        bool ok = p.integer(&id) && p.integer(&f.type);
        for (float& v : f.origin) ok = ok && p.real(&v);
        for (float& v : f.axes) ok = ok && p.real(&v);
        if (!ok || !p.atEnd()) return "expected: frame ID TYPE OX OY OZ XX XY XZ YX YY YZ ZX ZY ZZ";
        if (db.frames.count(id)) return "frame id already taken";
        db.frames[id] = f;
    } else if (kind == "field") {
        int id = 0;
        morvekstub::Field f;
        if (!p.integer(&id) || !p.text(&f.name) || (p.size() - 3) % 2 != 0)
            return "expected: field ID \"NAME\" EID VALUE [EID VALUE ...]";
        while (!p.atEnd()) {
            int eid = 0;
            float v = 0;
            if (!p.integer(&eid) || !p.real(&v)) return "expected: EID VALUE pairs";
            f.values[eid] = v;
        }
        if (db.fields.count(id)) return "field id already taken";
        db.fields[id] = std::move(f);
    } else if (kind == "mat") {
        int id = 0;
        morvekstub::Material m;
        if (!p.integer(&id) || !p.text(&m.name) || !p.text(&m.description) || !p.integer(&m.code) ||
            !p.integer(&m.directionality) || !p.integer(&m.isLaminate) || !p.atEnd())
            return "expected: mat ID \"NAME\" \"DESCRIPTION\" CODE DIR ISLAM";
        if (db.materials.count(id)) return "material id already taken";
        db.materials[id] = std::move(m);
    } else if (kind == "matmodel" || kind == "matword" || kind == "lam" || kind == "lamlayer") {
        int id = 0;
        if (!p.integer(&id)) return "expected a material id";
        const auto found = db.materials.find(id);
        if (found == db.materials.end()) return "unknown material";
        morvekstub::Material& m = found->second;
        if (kind == "matmodel") {
            int model = 0, specified = 0;
            if (!p.integer(&model) || !p.integer(&specified) || !p.atEnd())
                return "expected: matmodel ID MODEL SPECIFIED";
            m.models.emplace_back(model, specified);
        } else if (kind == "matword") {
            int wordId = 0;
            float v = 0;
            if (!p.integer(&wordId) || !p.real(&v) || !p.atEnd())
                return "expected: matword ID WORD VALUE";
            m.words.emplace_back(wordId, v);
        } else if (kind == "lam") {
            if (!p.real(&m.offset) || !p.integer(&m.noOffset) || !p.atEnd())
                return "expected: lam ID OFFSET NOOFFSET";
            m.hasStack = true;
        } else {
            morvekstub::LamLayer l;
            if (!p.integer(&l.materialId) || !p.real(&l.thickness) || !p.real(&l.angle) ||
                !p.integer(&l.globalPlyId) || !p.atEnd())
                return "expected: lamlayer ID MATID THICKNESS ANGLE GPLYID";
            if (!m.hasStack) return "lamlayer before its lam record";
            m.layers.push_back(l);
        }
    } else if (kind == "region") {
        int id = 0;
        std::string name;
        if (!p.integer(&id) || !p.text(&name) || !p.atEnd()) return "expected: region ID \"NAME\"";
        if (db.regions.count(id)) return "region id already taken";
        db.regions[id].name = name;
    } else if (kind == "word") {
        int rid = 0;
        morvekstub::PropWord w;
        if (!p.integer(&rid) || !p.integer(&w.word) || !p.integer(&w.dataType) ||
            !p.integer(&w.materialId) || !p.real(&w.reals[0]) || !p.real(&w.reals[1]) ||
            !p.real(&w.reals[2]) || !p.integer(&w.frameId) || !p.integer(&w.fieldId) || !p.atEnd())
            return "expected: word RID WORD DTYPE MATID R1 R2 R3 FRAME FIELD";
        const auto found = db.regions.find(rid);
        if (found == db.regions.end()) return "unknown region";
        found->second.words.push_back(w);
    } else if (kind == "member") {
        int rid = 0;
        if (!p.integer(&rid) || p.atEnd()) return "expected: member RID EID [EID ...]";
        if (!db.regions.count(rid)) return "unknown region";
        while (!p.atEnd()) {
            int eid = 0;
            if (!p.integer(&eid)) return "element id is not an integer";
            if (!db.elem(eid)) return "unknown element";
            db.elemRegion[eid] = rid;
        }
    } else if (kind == "loadcase") {
        int id = 0;
        morvekstub::LoadCase lc;
        if (!p.integer(&id) || !p.text(&lc.name) || !p.text(&lc.description) || !p.atEnd())
            return "expected: loadcase ID \"NAME\" \"DESCRIPTION\"";
        if (db.loadCases.count(id)) return "load case id already taken";
        db.loadCases[id] = lc;
    } else if (kind == "subcase") {
        int lcid = 0, id = 0;
        morvekstub::Subcase sc;
        if (!p.integer(&lcid) || !p.integer(&id) || !p.text(&sc.name) || !p.text(&sc.title) ||
            !p.atEnd())
            return "expected: subcase LCID ID \"NAME\" \"TITLE\"";
        if (!db.loadCases.count(lcid)) return "unknown load case";
        if (db.subcases.count({lcid, id})) return "subcase id already taken";
        db.subcases[{lcid, id}] = sc;
    } else if (kind == "layer") {
        int id = 0;
        morvekstub::Layer l;
        if (!p.integer(&id) || !p.text(&l.label) || !p.integer(&l.position) || !p.atEnd())
            return "expected: layer ID \"LABEL\" POSITION";
        if (db.layers.count(id)) return "layer id already taken";
        while (!l.label.empty() && l.label.back() == ' ') l.label.pop_back();
        if (l.label.size() > 79) return "layer label longer than 79 characters";
        db.layers[id] = l;
    } else if (kind == "result" || kind == "value") {
        int lcid = 0, scid = 0;
        std::string primary, secondary;
        if (!p.integer(&lcid) || !p.integer(&scid) || !p.text(&primary) || !p.text(&secondary))
            return "expected: " + kind + " LCID SCID \"PRIMARY\" \"SECONDARY\" ...";
        if (!db.subcases.count({lcid, scid})) return "unknown subcase";
        const morvekstub::ResultKey key(lcid, scid, primary, secondary);
        if (kind == "result") {
            morvekstub::Result r;
            if (!p.integer(&r.type) || !p.text(&r.code) || !p.atEnd())
                return "expected: result LCID SCID \"PRIMARY\" \"SECONDARY\" TYPE \"CODE\"";
            if (valuesPerPoint(r.type) == 0) return "result type is not 1, 2 or 3";
            if (db.results.count(key)) return "result already defined";
            morvekstub::labelId(db.primaries, primary, true);
            morvekstub::labelId(db.secondaries, secondary, true);
            db.results[key] = std::move(r);
        } else {
            const auto found = db.results.find(key);
            if (found == db.results.end()) return "unknown result";
            int layer = 0, eid = 0;
            std::string loc;
            if (!p.integer(&layer) || !p.word(&loc) || (loc != "C" && loc != "N") ||
                !p.integer(&eid))
                return "expected: value ... LAYERID C|N EID V1 .. Vk";
            if (!db.layers.count(layer)) return "unknown layer";
            std::vector<float> values;
            while (!p.atEnd()) {
                float v = 0;
                if (!p.real(&v)) return "value is not a number";
                values.push_back(v);
            }
            const size_t per = static_cast<size_t>(valuesPerPoint(found->second.type));
            if (values.empty() || values.size() % per != 0 || values.size() > 9 * per)
                return "values are not 1 to 9 points of the result's type";
            found->second.values[std::make_tuple(layer, loc[0], eid)] = std::move(values);
        }
    } else {
        return "unknown record";
    }
    return "";
}

// ---- Saving ----

std::string quoted(const std::string& text) {
    std::string s = text;
    for (char& c : s)
        if (c == '"')
            c = '\'';
        else if (c == '\n' || c == '\r' || c == '\0')
            c = ' ';
    return "\"" + s + "\"";
}

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f) std::fclose(f);
    }
};

void writeDatabase(std::FILE* f, const morvekstub::Database& db) {
    std::vector<const morvekstub::Node*> nodes;
    for (const auto& n : db.nodes) nodes.push_back(&n);
    std::sort(nodes.begin(), nodes.end(), [](auto a, auto b) { return a->id < b->id; });
    for (const auto* n : nodes)
        std::fprintf(f, "node %d %.9g %.9g %.9g\n", n->id, n->xyz[0], n->xyz[1], n->xyz[2]);
    std::vector<const morvekstub::Elem*> elems;
    for (const auto& e : db.elems) elems.push_back(&e);
    std::sort(elems.begin(), elems.end(), [](auto a, auto b) { return a->id < b->id; });
    for (const auto* e : elems) {
        std::fprintf(f, "elem %d %d", e->id, e->topology);
        for (int k = 0; k < e->count; ++k) std::fprintf(f, " %d", db.elemNodes[e->first + k]);
        std::fputc('\n', f);
    }
    for (const auto& fr : db.frames) {
        std::fprintf(f, "frame %d %d", fr.first, fr.second.type);
        for (float v : fr.second.origin) std::fprintf(f, " %.9g", v);
        for (float v : fr.second.axes) std::fprintf(f, " %.9g", v);
        std::fputc('\n', f);
    }
    for (const auto& fl : db.fields) {
        std::fprintf(f, "field %d %s", fl.first, quoted(fl.second.name).c_str());
        for (const auto& v : fl.second.values) std::fprintf(f, " %d %.9g", v.first, v.second);
        std::fputc('\n', f);
    }
    for (const auto& m : db.materials)
        std::fprintf(f, "mat %d %s %s %d %d %d\n", m.first, quoted(m.second.name).c_str(),
                     quoted(m.second.description).c_str(), m.second.code, m.second.directionality,
                     m.second.isLaminate);
    for (const auto& m : db.materials)
        for (const auto& model : m.second.models)
            std::fprintf(f, "matmodel %d %d %d\n", m.first, model.first, model.second);
    for (const auto& m : db.materials)
        for (const auto& w : m.second.words)
            std::fprintf(f, "matword %d %d %.9g\n", m.first, w.first, w.second);
    for (const auto& m : db.materials)
        if (m.second.hasStack)
            std::fprintf(f, "lam %d %.9g %d\n", m.first, m.second.offset, m.second.noOffset);
    for (const auto& m : db.materials)
        for (const auto& l : m.second.layers)
            std::fprintf(f, "lamlayer %d %d %.9g %.9g %d\n", m.first, l.materialId, l.thickness,
                         l.angle, l.globalPlyId);
    for (const auto& r : db.regions)
        std::fprintf(f, "region %d %s\n", r.first, quoted(r.second.name).c_str());
    for (const auto& r : db.regions)
        for (const auto& w : r.second.words)
            std::fprintf(f, "word %d %d %d %d %.9g %.9g %.9g %d %d\n", r.first, w.word, w.dataType,
                         w.materialId, w.reals[0], w.reals[1], w.reals[2], w.frameId, w.fieldId);
    std::vector<std::pair<int, int>> members;  // region, element
    members.reserve(db.elemRegion.size());
    for (const auto& er : db.elemRegion) members.emplace_back(er.second, er.first);
    std::sort(members.begin(), members.end());
    for (size_t k = 0; k < members.size();) {
        // Ten elements a line.
        std::fprintf(f, "member %d", members[k].first);
        const int rid = members[k].first;
        for (int n = 0; n < 10 && k < members.size() && members[k].first == rid; ++n, ++k)
            std::fprintf(f, " %d", members[k].second);
        std::fputc('\n', f);
    }
    for (const auto& lc : db.loadCases)
        std::fprintf(f, "loadcase %d %s %s\n", lc.first, quoted(lc.second.name).c_str(),
                     quoted(lc.second.description).c_str());
    for (const auto& sc : db.subcases)
        std::fprintf(f, "subcase %d %d %s %s\n", sc.first.first, sc.first.second,
                     quoted(sc.second.name).c_str(), quoted(sc.second.title).c_str());
    for (const auto& l : db.layers)
        std::fprintf(f, "layer %d %s %d\n", l.first, quoted(l.second.label).c_str(),
                     l.second.position);
    for (const auto& r : db.results)
        std::fprintf(f, "result %d %d %s %s %d %s\n", std::get<0>(r.first), std::get<1>(r.first),
                     quoted(std::get<2>(r.first)).c_str(), quoted(std::get<3>(r.first)).c_str(),
                     r.second.type, quoted(r.second.code).c_str());
    for (const auto& r : db.results) {
        const std::string names = quoted(std::get<2>(r.first)) + " " + quoted(std::get<3>(r.first));
        for (const auto& v : r.second.values) {
            std::fprintf(f, "value %d %d %s %d %c %d", std::get<0>(r.first), std::get<1>(r.first),
                         names.c_str(), std::get<0>(v.first), std::get<1>(v.first),
                         std::get<2>(v.first));
            for (float x : v.second) std::fprintf(f, " %.9g", x);
            std::fputc('\n', f);
        }
    }
}

}  // namespace

extern "C" {

int MorvekStubLoadDatabase(const char* path) {
    if (!path) return -1;
    std::ifstream in(path);
    if (!in) return loadError(path, 0, "cannot open the file");
    // Records go into a copy, so that a bad file leaves the database as it was.
    auto copy = std::make_unique<morvekstub::Database>(state().db);
    std::string text;
    int lineNo = 0;
    std::vector<Token> tokens;
    while (std::getline(in, text)) {
        ++lineNo;
        tokens.clear();
        if (!tokenize(text, &tokens)) return loadError(path, lineNo, "unclosed double quote");
        if (tokens.empty() || (!tokens[0].quoted && tokens[0].text[0] == '#')) continue;
        if (tokens[0].quoted) return loadError(path, lineNo, "unknown record");
        Parser parser(tokens);
        const std::string reason = applyRecord(*copy, tokens[0].text, parser);
        if (!reason.empty()) return loadError(path, lineNo, reason);
    }
    if (in.bad()) return loadError(path, lineNo, "read error");
    state().db = std::move(*copy);
    return 0;
}

int MorvekStubSaveDatabase(const char* path) {
    if (!path) return -1;
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path, "w"));
    if (!f) return -1;
    writeDatabase(f.get(), state().db);
    const bool failed = std::ferror(f.get()) != 0;
    return (std::fclose(f.release()) != 0 || failed) ? -1 : 0;
}

int MorvekStubCallCount(const char* name) {
    if (!name) return 0;
    const auto& calls = state().calls;
    const auto found = calls.find(name);
    return found == calls.end() ? 0 : found->second;
}

}  // extern "C"
