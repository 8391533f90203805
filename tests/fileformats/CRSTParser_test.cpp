#include "fileformats/CRSTParser.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResElem.h"
#include "layuplib/CKpResStore.h"
#include "tests/support/ExchangeFiles.h"
#include "tests/support/ExchangeModel.h"
#include "tests/support/RstConvert.h"
#include "tests/support/RstWriter.h"

namespace {

// Elements with the given ids, each a unit quad of four nodes of its own.
void LoadElements(CKpLayup& model, const std::vector<int>& ids) {
    std::vector<int> nodeIds, elemIds, patches, topologies, connectivity;
    std::vector<double> xyz;
    for (size_t i = 0; i < ids.size(); ++i) {
        const double corner[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (int c = 0; c < 4; ++c) {
            nodeIds.push_back(int(4 * i) + c + 1);
            xyz.insert(xyz.end(), {corner[c][0] + 2.0 * i, corner[c][1], 0.0});
            connectivity.push_back(int(4 * i) + c + 1);
        }
        elemIds.push_back(ids[i]);
        patches.push_back(1);
        topologies.push_back(4);
    }
    ASSERT_EQ(model.NewLayupMesh(int(nodeIds.size()), nodeIds.data(), xyz.data(),
                                 int(elemIds.size()), elemIds.data(), patches.data(),
                                 topologies.data(), 4, connectivity.data(), 0.0, 0.0),
              0);
}

// A model for one read, its message file kept so information lines can be
// checked.
class RstModel : public ExchangeModel {
  public:
    explicit RstModel(const std::string& name, const std::vector<int>& ids = {})
        : ExchangeModel(name) {
        if (!ids.empty()) LoadElements(model, ids);
    }

    int Read(const std::string& path, int modelFlags, int resultFlags) {
        CRSTParser parser;
        parser.SetStores(&model);
        parser.SetName(path.c_str());
        parser.SetFlags(modelFlags, resultFlags);
        return parser.Read();
    }

    // Lines of the message file from "Opened rst file" on, prefixes and
    // the path removed.
    std::vector<std::string> Lines() const {
        std::vector<std::string> out;
        std::istringstream in(Log());
        std::string line;
        bool on = false;
        while (std::getline(in, line)) {
            if (line.rfind("$# ", 0) == 0) line = line.substr(3);
            if (line.find("rst file '") != std::string::npos) {
                line = line.substr(0, line.find('\'')) + "'*'.";
                on = true;
            }
            if (on) out.push_back(line);
        }
        return out;
    }
    bool Logged(const std::string& line) const {
        for (const std::string& l : Lines())
            if (l == line) return true;
        return false;
    }

    CKpResStore& results() { return *model.pRess(); }
    CKpRes* result(int i) { return results()[i]; }
};

class TempFile {
  public:
    TempFile(const std::string& name, const std::string& bytes) : path(xfiles::TempPath(name)) {
        xfiles::WriteAll(path, bytes);
    }
    ~TempFile() { std::remove(path.c_str()); }
    std::string path;
};

std::vector<float> Floats(CKpRes* res, int id) {
    CKpResElem* rec = res->ResElems()->find(id);
    if (!rec) return {};
    return std::vector<float>(rec->Floats(), rec->Floats() + rec->GetNumFloats());
}

std::vector<float> Membrane(const rstfile::Element& e) {
    const double* v = e.v;
    return {float(v[0]), float(v[1]), 0.0f, float(v[2]), float(v[7]), float(v[6])};
}

std::vector<float> Bending(const rstfile::Element& e) {
    const double* v = e.v;
    return {float(-v[3]), float(-v[4]), 0.0f, float(-v[5]), 0.0f, 0.0f};
}

std::vector<std::string> Names(CKpRes* res) {
    std::vector<std::string> out;
    for (int i = 0; i < 5; ++i) out.push_back(res->name(i));
    return out;
}

// Three elements 11, 12, 13; set 1 (load step 1, iteration 1) and set 2
// (load step 2, iteration 3), every element with values.
rstfile::Recipe TwoSets(const std::string& release = "18.2") {
    rstfile::Recipe recipe;
    recipe.release = release;
    recipe.ids = {11, 12, 13};
    for (int s = 1; s <= 2; ++s) {
        rstfile::Set set;
        set.loadStep = s;
        set.iteration = 2 * s - 1;
        for (int k = 0; k < 3; ++k) set.elements.push_back(rstfile::Pattern(s, k));
        recipe.sets.push_back(set);
    }
    return recipe;
}

std::string SharedRst(const std::string& name) {
    const char* dir = std::getenv("PLYSTRAND_TEST_DATA");
    return std::string(dir ? dir : "tests/data") + "/rst/" + name;
}

}  // namespace

TEST(RstHelpers, ConversionsAndFraming) {
    // Byte order helpers.
    const double value = -1234.5678;
    EXPECT_EQ(CRSTParser::RCNVRT(CRSTParser::RCNVRT(value)), value);
    unsigned char raw[8];
    std::memcpy(raw, &value, 8);
    const double swapped = CRSTParser::RCNVRT(value);
    unsigned char back[8];
    std::memcpy(back, &swapped, 8);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(back[i], raw[7 - i]);
    const unsigned char pos[8] = {0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x02};
    EXPECT_EQ(CRSTParser::I64CNVRT(pos), (int64_t(2) << 32) + 4096);
    int low, high;
    std::memcpy(&low, pos, 4);
    std::memcpy(&high, pos + 4, 4);
    EXPECT_EQ(CRSTParser::GetLargeInt(low, high), (int64_t(2) << 32) + 4096);
    const unsigned char big[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(CRSTParser::I64CNVRT(big), int64_t(0xFFFFFFFFll));  // the low part is unsigned

    // Release 9 lengths count bytes + 4, release 10 on count words.
    EXPECT_EQ(CRSTParser::GetNdat(404, 4, 9.0), 100);
    EXPECT_EQ(CRSTParser::GetNdat(100, 4, 11.0), 100);
    EXPECT_EQ(CRSTParser::GetNdat(100, 8, 18.2), 50);
    EXPECT_EQ(CRSTParser::GetNdat(0x7FFFFFFF, 1, 18.2), int64_t(0x7FFFFFFF) * 4);  // no overflow
    EXPECT_LT(CRSTParser::GetNdat(2, 1, 9.0), 0);  // shorter than its own word
    EXPECT_EQ(CRSTParser::CheckBlock(7, 7), 0);
    EXPECT_EQ(CRSTParser::CheckBlock(7, 8), -1);

    // Headers and footers from a stream, short at the end.
    const std::string path = xfiles::TempPath("helpers.rst");
    xfiles::WriteAll(path, std::string("\x00\x00\x00\x64\x80\x00\x00\x00\x00\x00\x00\x64\x01", 13));
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    int length = 0, flags = 0, footer = 0;
    EXPECT_EQ(CRSTParser::ReadHeader(&length, &flags, f), 2);
    EXPECT_EQ(length, 100);
    EXPECT_EQ(uint32_t(flags), 0x80000000u);
    EXPECT_EQ(CRSTParser::ReadFooter(&footer, f), 1);
    EXPECT_EQ(footer, 100);
    EXPECT_EQ(CRSTParser::ReadFooter(&footer, f), 0);
    EXPECT_EQ(CRSTParser::fsetposVal(f, 4), 0);
    EXPECT_EQ(CRSTParser::fsetposCurVal(f, 4), 0);
    EXPECT_EQ(ftello(f), 8);
    EXPECT_EQ(CRSTParser::fsetposCurVal(f, -4), 0);
    EXPECT_EQ(ftello(f), 4);
    EXPECT_EQ(CRSTParser::fsetposVal(f, -1), -1);
    std::fclose(f);
    std::remove(path.c_str());
    // A stream that cannot move.
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    FILE* p = fdopen(fds[0], "rb");
    EXPECT_EQ(CRSTParser::fsetposVal(p, 4), -1);
    EXPECT_EQ(CRSTParser::fsetposCurVal(p, 4), -1);
    std::fclose(p);
    close(fds[1]);
}

TEST(CRSTParser, TwoSetsGiveFourNamedResults) {
    const rstfile::Recipe recipe = TwoSets();
    TempFile file("two_sets.rst", rstfile::Write(recipe).bytes);
    RstModel m("two_sets", {11, 12, 13});
    // Results already in the store: the new ones continue from the highest
    // id.
    CKpRes* earlier = new CKpRes(5);
    m.results().insert(earlier);

    ASSERT_EQ(m.Read(file.path, 0, 1), 0);
    ASSERT_EQ(m.results().entries(), 5);
    const std::vector<std::vector<std::string>> names = {
        {"LOADSTEP 1", "ITERATION 1", "Shell Forces", "Membrane Forces", ""},
        {"LOADSTEP 1", "ITERATION 1", "Shell Forces", "Bending Moments", ""},
        {"LOADSTEP 2", "ITERATION 3", "Shell Forces", "Membrane Forces", ""},
        {"LOADSTEP 2", "ITERATION 3", "Shell Forces", "Bending Moments", ""}};
    for (int r = 0; r < 4; ++r) {
        CKpRes* res = m.result(r + 1);
        EXPECT_EQ(res->id(), 6 + r);
        EXPECT_EQ(Names(res), names[r]);
        EXPECT_EQ(res->orient(), 1);
        EXPECT_EQ(res->type(), 3);
        EXPECT_EQ(res->loc(), 1);
        ASSERT_EQ(res->GetNumElements(), 3);
        const int set = r / 2;
        for (int k = 0; k < 3; ++k) {
            const rstfile::Element& e = recipe.sets[set].elements[k];
            EXPECT_EQ(Floats(res, 11 + k), r % 2 == 0 ? Membrane(e) : Bending(e))
                << "result " << r << " element " << 11 + k;
        }
    }
    // The model itself is untouched.
    EXPECT_EQ(m.model.pElems()->entries(), 3);
    EXPECT_EQ(m.model.pNodes()->entries(), 12);
    // Without the model walk: both headers, the element table and the
    // index by position, then the sets.
    EXPECT_EQ(m.Lines(),
              (std::vector<std::string>{
                  "Opened rst file '*'.", "Reading 'standard header'.", "Release level 18.2.",
                  "Reading '.rst header'.", "Reading 'ptrELM'.", "Reading 'ptrDSI'.",
                  "Reading 'SET 1 of 2'.", "Reading 'SET 2 of 2'.", "Closed rst file '*'."}));
    EXPECT_EQ(m.Count(2) + m.Count(4), 0);
}

TEST(CRSTParser, ReleasesNineAndElevenAndSinglePrecisionReadAlike) {
    for (const std::string release : {"9.0", "11.0", "18.2"}) {
        for (bool single : {false, true}) {
            SCOPED_TRACE(release + (single ? " single" : " double"));
            rstfile::Recipe recipe = TwoSets(release);
            recipe.single = single;
            const rstfile::File written = rstfile::Write(recipe);
            // The framing differs: lengths in bytes + 4 below 10, in words
            // from 10 on.
            EXPECT_EQ(rstfile::GetInt(written.bytes, 0), release == "9.0" ? 404 : 100);
            TempFile file("release.rst", written.bytes);
            for (int modelFlags : {0, 1}) {
                RstModel m("release", {11, 12, 13});
                ASSERT_EQ(m.Read(file.path, modelFlags, 1), 0);
                ASSERT_EQ(m.results().entries(), 4);
                EXPECT_TRUE(m.Logged("Release level " +
                                     std::string(release == "18.2"  ? "18.2"
                                                 : release == "9.0" ? "9"
                                                                    : "11") +
                                     "."));
                for (int k = 0; k < 3; ++k) {
                    EXPECT_EQ(Floats(m.result(2), 11 + k), Membrane(recipe.sets[1].elements[k]));
                    EXPECT_EQ(Floats(m.result(3), 11 + k), Bending(recipe.sets[1].elements[k]));
                }
            }
        }
    }
}

TEST(CRSTParser, ModelWalkChecksTheModelPartAndChangesNothing) {
    rstfile::Recipe recipe = TwoSets();
    recipe.transforms = 2;
    TempFile file("walk.rst", rstfile::Write(recipe).bytes);
    RstModel m("walk", {11, 12, 13});
    ASSERT_EQ(m.Read(file.path, 1, 1), 0);
    const std::vector<std::string> expected = {
        "Opened rst file '*'.", "Reading 'standard header'.", "Release level 18.2.",
        "Reading '.rst header'.", "Reading '---'.", "Reading 'NOD'.", "Reading 'ELM'.",
        "Reading 'DSI'.", "Reading 'TIM'.", "Reading 'LSP'.", "Reading 'TRAN 1 of 2'.",
        "Reading 'TRAN 2 of 2'.", "Reading 'GEO'.", "Reading 'ETY'.", "Reading 'ETY 1 of 1'.",
        "Reading 'REL'.", "Reading 'REL 1 of 2'.", "Reading 'REL 2 of 2'.", "Reading 'CSY'.",
        "Reading 'CSY 1 of 1'.", "Reading 'NOD 1 of 4'.", "Reading 'NOD 2 of 4'.",
        "Reading 'NOD 3 of 4'.", "Reading 'NOD 4 of 4'.", "Reading 'ELM'.", "Reading 'ELM 1 of 3'.",
        "Reading 'ELM 2 of 3'.", "Reading 'ELM 3 of 3'.", "Reading 'MAS'.",
        // The walk kept the element table: no read by position.
        "Reading 'ptrDSI'.", "Reading 'SET 1 of 2'.", "Reading 'SET 2 of 2'.",
        "Closed rst file '*'."};
    EXPECT_EQ(m.Lines(), expected);
    EXPECT_EQ(m.results().entries(), 4);
    EXPECT_EQ(m.model.pElems()->entries(), 3);
    EXPECT_EQ(m.model.pNodes()->entries(), 12);

    // Tables without entries have no index record; no mass table.
    recipe.elementTypes = 0;
    recipe.coordSystems = 0;
    recipe.massTable = false;
    recipe.transforms = 0;
    TempFile bare("walk_bare.rst", rstfile::Write(recipe).bytes);
    RstModel b("walk_bare", {11, 12, 13});
    ASSERT_EQ(b.Read(bare.path, 1, 1), 0);
    EXPECT_FALSE(b.Logged("Reading 'ETY'."));
    EXPECT_FALSE(b.Logged("Reading 'MAS'."));
    EXPECT_TRUE(b.Logged("Reading 'REL 2 of 2'."));
    EXPECT_EQ(b.results().entries(), 4);

    // Only the walk: no result.
    RstModel w("walk_only", {11, 12, 13});
    ASSERT_EQ(w.Read(file.path, 1, 0), 0);
    EXPECT_EQ(w.results().entries(), 0);
    EXPECT_TRUE(w.Logged("Reading 'MAS'."));
    EXPECT_FALSE(w.Logged("Reading 'ptrDSI'."));
}

TEST(CRSTParser, NoFlagsReadsTheTwoHeadersOnly) {
    TempFile file("headers.rst", rstfile::Write(TwoSets()).bytes);
    RstModel m("headers", {11, 12, 13});
    ASSERT_EQ(m.Read(file.path, 0, 0), 0);
    EXPECT_EQ(m.Lines(),
              (std::vector<std::string>{"Opened rst file '*'.", "Reading 'standard header'.",
                                        "Release level 18.2.", "Reading '.rst header'.",
                                        "Closed rst file '*'."}));
    EXPECT_EQ(m.results().entries(), 0);
}

TEST(CRSTParser, ElementsWithoutValuesArePassedOver) {
    rstfile::Recipe recipe;
    recipe.ids = {11, 12, 13, 14, 15, 99};
    rstfile::Set set;
    for (int k = 0; k < 6; ++k) set.elements.push_back(rstfile::Pattern(1, k));
    set.elements[1].indexed = false;    // p = 0
    set.elements[2].hasValues = false;  // q = 0
    set.elements[3].nValues = 7;        // too short for shell forces
    recipe.sets.push_back(set);
    rstfile::Set noShell;  // no element shell results in the mask
    noShell.mask = 0x7FF;
    noShell.loadStep = 2;
    for (int k = 0; k < 6; ++k) noShell.elements.push_back(rstfile::Pattern(2, k));
    recipe.sets.push_back(noShell);
    TempFile file("passed_over.rst", rstfile::Write(recipe).bytes);

    // 99 is not in the model.
    RstModel m("passed_over", {11, 12, 13, 14, 15});
    ASSERT_EQ(m.Read(file.path, 0, 1), 0);
    ASSERT_EQ(m.results().entries(), 4);
    for (int r = 0; r < 2; ++r) {
        CKpRes* res = m.result(r);
        ASSERT_EQ(res->GetNumElements(), 2) << r;
        EXPECT_EQ(Floats(res, 11), r == 0 ? Membrane(set.elements[0]) : Bending(set.elements[0]));
        EXPECT_EQ(Floats(res, 15), r == 0 ? Membrane(set.elements[4]) : Bending(set.elements[4]));
    }
    EXPECT_EQ(Names(m.result(2))[0], "LOADSTEP 2");
    EXPECT_EQ(m.result(2)->GetNumElements(), 0);
    EXPECT_EQ(m.result(3)->GetNumElements(), 0);
    EXPECT_EQ(m.Count(2) + m.Count(4), 0);

    // A set that claims more elements than the file's table: only the
    // table's elements are read.
    recipe.sets.resize(1);
    recipe.sets[0].nelm = 1000;
    TempFile big("passed_over_big.rst", rstfile::Write(recipe).bytes);
    RstModel b("passed_over_big", {11, 12, 13, 14, 15});
    ASSERT_EQ(b.Read(big.path, 0, 1), 0);
    EXPECT_EQ(b.result(0)->GetNumElements(), 2);
}

TEST(CRSTParser, OneElementTwiceKeepsTheLaterValues) {
    rstfile::Recipe recipe;
    recipe.ids = {11, 12, 11};
    rstfile::Set set;
    for (int k = 0; k < 3; ++k) set.elements.push_back(rstfile::Pattern(1, k));
    recipe.sets.push_back(set);
    TempFile file("twice.rst", rstfile::Write(recipe).bytes);
    RstModel m("twice", {11, 12});
    ASSERT_EQ(m.Read(file.path, 0, 1), 0);
    EXPECT_EQ(m.result(0)->GetNumElements(), 2);
    EXPECT_EQ(Floats(m.result(0), 11), Membrane(set.elements[2]));
    EXPECT_EQ(Floats(m.result(1), 11), Bending(set.elements[2]));
    EXPECT_TRUE(m.Logged("Element 11 given again in 'SET 1 of 1': the later value is kept."));
}

TEST(CRSTParser, ElementsNotInTheModelLeaveEmptyResultsWithAWarning) {
    TempFile file("foreign.rst", rstfile::Write(TwoSets()).bytes);
    RstModel m("foreign", {1, 2});
    ASSERT_EQ(m.Read(file.path, 0, 1), 0);
    EXPECT_EQ(m.results().entries(), 4);
    for (int r = 0; r < 4; ++r) EXPECT_EQ(m.result(r)->GetNumElements(), 0);
    EXPECT_EQ(m.gui.texts(2),
              std::vector<std::string>{"No element of the rst file is in the model."});
}

TEST(CRSTParser, RefusesWhatItCannotRead) {
    const rstfile::Recipe recipe = TwoSets();
    const rstfile::File good = rstfile::Write(recipe);
    struct Case {
        const char* what;
        std::string bytes;
        std::string error;
    };
    std::vector<Case> cases;
    auto patched = [&](const char* what, size_t at, int32_t value, const std::string& error) {
        std::string bytes = good.bytes;
        rstfile::PutInt(bytes, at, value);
        cases.push_back({what, bytes, error});
    };
    const auto& rec = good.records;
    // Format word 0: internal.
    patched("format word", 8 + 4, 0, "File format must be external.");
    // The little-endian form of the same file.
    std::string internal;
    ASSERT_TRUE(rstfile::ToInternal(good.bytes, internal, -1));
    cases.push_back({"little-endian", internal, "File format must be external."});
    // Word framing with a release below 10.
    {
        std::string bytes = good.bytes;
        bytes.replace(8 + 36, 4, "9.0 ");
        cases.push_back({"framing", bytes, "Block error in 'standard header'."});
    }
    const size_t geo = rec[good.Find("GEO")].start + 8;
    patched("GEO nelm", geo + 4 * 4, 4, "Inconsistent nelm in header and GEO block.");
    // An element base at the top of 64 bits: base + entry does not fit.
    {
        std::string bytes = good.bytes;
        rstfile::PutInt(bytes, geo + 4 * 28, -1);
        rstfile::PutInt(bytes, geo + 4 * 29, 0x7FFFFFFF);
        cases.push_back({"element base", bytes, "No data read in 'ELM'."});
    }
    const size_t head = rec[good.Find(".rst header")].start + 8;
    patched("more sets than room", head + 4 * 8, 11, "Block error in 'ptrDSI'.");
    patched("negative count", head + 4 * 2, -1, "Block error in '.rst header'.");
    // Set 2 placed past the end of the file.
    const size_t dsi = rec[good.Find("DSI")].start + 8;
    patched("set outside", dsi + 4, int32_t(good.bytes.size() / 4 + 1),
            "No data read in 'SET 2 of 2'.");
    patched("set negative", dsi + 4 * 11, -1, "No data read in 'SET 2 of 2'.");
    // Two sets at one place would read one element index twice.
    patched("set repeated", dsi + 4, rstfile::GetInt(good.bytes, dsi),
            "Block error in 'SET 2 of 2'.");
    // An element index pointing past the set, into the next one.
    {
        const size_t set1 = rec[good.Find("SET 1 of 2")].start;
        const size_t set2 = rec[good.Find("SET 2 of 2")].start;
        patched("index outside the set", set1 + 8 + 4 * 11, int32_t((set2 - set1) / 4),
                "Block error in 'SET 1 of 2'.");
        patched("index inside the header", set1 + 8 + 4 * 11, 2, "Block error in 'SET 1 of 2'.");
    }
    // Values that are not reals, or compressed.
    size_t values = 0;
    for (const auto& r : rec)
        if (r.block == "SET 1 of 2" && !r.framed) values = r.start;  // the last values record
    patched("int values", values + 4, int32_t(0x80000000u),
            "Unsupported record type 0x80000000 in 'SET 1 of 2'.");
    patched("compressed values", values + 4, 0x10000000,
            "Unsupported record type 0x10000000 in 'SET 1 of 2'.");
    // A record length that cannot be.
    patched("negative length", rec[good.Find("TIM")].start, -5, "Block error in 'TIM'.");
    // A footer that differs, in every record the reader reads whole.
    for (const rstfile::RecordInfo& r : rec) {
        if (!r.framed) continue;
        std::string bytes = good.bytes;
        rstfile::PutInt(bytes, r.end - 4, rstfile::GetInt(bytes, r.end - 4) + 1);
        cases.push_back({"footer", bytes, "Block error in '" + r.block + "'."});
    }

    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.what) + ": " + c.error);
        TempFile file("refused.rst", c.bytes);
        RstModel m("refused", {11, 12, 13});
        EXPECT_EQ(m.Read(file.path, 1, 1), -1);
        EXPECT_EQ(m.gui.texts(4), (std::vector<std::string>{c.error, "Error reading rst file."}));
        EXPECT_EQ(m.Lines().back(), "Closed rst file '*'.");
    }

    // A file that is not there.
    RstModel m("missing");
    const std::string missing = xfiles::TempPath("missing.rst");
    EXPECT_EQ(m.Read(missing, 0, 1), -1);
    EXPECT_EQ(m.gui.texts(4),
              std::vector<std::string>{"Could not open rst file '" + missing + "'."});
}

TEST(CRSTParser, CompressedIndexRecordsAndValueRecordsPastTheFileAreRefused) {
    for (const std::string release : {"18.2", "9.0"}) {
        const bool wide = release != "9.0";
        const rstfile::File good = rstfile::Write(TwoSets(release));
        // Per set: solution header, doubles, element solution index, then
        // per element its index record and its values record.
        auto record = [&](int set, size_t n) {
            const int first = good.Find("SET " + std::to_string(set) + " of 2");
            EXPECT_GE(first, 0);
            return good.records[size_t(first) + n];
        };
        ASSERT_EQ(record(1, 3).readEnd, record(1, 3).start + 12);  // element 11's index record
        ASSERT_EQ(record(2, 8).end, good.bytes.size());            // element 13's values, last
        struct Case {
            std::string what;
            size_t at;  // the word patched
            int32_t value;
            std::string error;
            int filled;  // elements with values in set 1 and 2
        };
        const int32_t compressed = int32_t(0x80000000u | 0x10000000u);
        const size_t last = record(2, 8).start;
        const std::vector<Case> cases = {
            {"element index record of element 12", record(1, 5).start + 4, compressed,
             "Unsupported record type 0x90000000 in 'SET 1 of 2'.", 1},
            {"element solution index of set 2", record(2, 2).start + 4, int32_t(0x88000000u),
             "Unsupported record type 0x88000000 in 'SET 2 of 2'.", 3},
            // One word more than the file holds, and a length at the top of
            // the range.
            {"values record one word long", last,
             rstfile::GetInt(good.bytes, last) + (wide ? 1 : 4), "No data read in 'SET 2 of 2'.",
             3 + 2},
            {"values record far too long", last, 0x7FFFFFFF, "No data read in 'SET 2 of 2'.",
             3 + 2},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(release + " " + c.what);
            std::string bytes = good.bytes;
            rstfile::PutInt(bytes, c.at, c.value);
            TempFile file("crafted.rst", bytes);
            RstModel m("crafted", {11, 12, 13});
            EXPECT_EQ(m.Read(file.path, 1, 1), -1);
            EXPECT_EQ(m.gui.texts(4),
                      (std::vector<std::string>{c.error, "Error reading rst file."}));
            // Sets read before stay; of the failing set the elements before
            // the failure are filed with their own values, no other.
            const bool inSet1 = c.error.find("SET 1") != std::string::npos;
            EXPECT_EQ(m.results().entries(), inSet1 ? 2 : 4);
            if (m.results().entries() != (inSet1 ? 2 : 4)) continue;
            int filled = 0;
            for (int r = 0; r < m.results().entries(); r += 2) {
                const int set = r / 2 + 1;
                for (int k = 0; k < 3; ++k) {
                    const std::vector<float> values = Floats(m.result(r), 11 + k);
                    if (values.empty()) continue;
                    ++filled;
                    EXPECT_EQ(values, Membrane(rstfile::Pattern(set, k)));
                    EXPECT_EQ(Floats(m.result(r + 1), 11 + k), Bending(rstfile::Pattern(set, k)));
                }
            }
            EXPECT_EQ(filled, c.filled);
        }
    }
}

TEST(CRSTParser, WriteIsRefusedAndLeavesTheFileAndTheModelAsTheyWere) {
    const rstfile::File good = rstfile::Write(TwoSets());
    TempFile file("kept.rst", good.bytes);
    RstModel m("write", {11, 12, 13});
    ASSERT_EQ(m.Read(file.path, 1, 1), 0);
    ASSERT_EQ(m.results().entries(), 4);
    const std::string absent = xfiles::TempPath("never_written.rst");
    for (int what : {0, 1, 15}) {
        for (int type : {0, 1, 2}) {
            SCOPED_TRACE(std::to_string(what) + " " + std::to_string(type));
            CRSTParser onFile, onAbsent;
            EXPECT_EQ(m.Write(onFile, file.path, what, type), -1);
            EXPECT_EQ(m.Write(onAbsent, absent, what, type), -1);
            EXPECT_NE(access(absent.c_str(), F_OK), 0);
        }
    }
    EXPECT_TRUE(xfiles::ReadAll(file.path) == good.bytes);
    EXPECT_EQ(m.Count(2) + m.Count(4), 0);
    // The model keeps its results, and the file reads back as before.
    RstModel back("write_back", {11, 12, 13});
    ASSERT_EQ(back.Read(file.path, 1, 1), 0);
    for (RstModel* model : {&m, &back}) {
        ASSERT_EQ(model->results().entries(), 4);
        EXPECT_EQ(Names(model->result(2))[0], "LOADSTEP 2");
        EXPECT_EQ(Names(model->result(3))[1], "ITERATION 3");
        for (int set = 1; set <= 2; ++set) {
            for (int k = 0; k < 3; ++k) {
                EXPECT_EQ(Floats(model->result(2 * set - 2), 11 + k),
                          Membrane(rstfile::Pattern(set, k)));
                EXPECT_EQ(Floats(model->result(2 * set - 1), 11 + k),
                          Bending(rstfile::Pattern(set, k)));
            }
        }
    }
}

TEST(CRSTParser, TruncationAtAndInsideEveryRecord) {
    for (const std::string release : {"18.2", "9.0"}) {
        const rstfile::File good = rstfile::Write(TwoSets(release));
        for (size_t i = 0; i < good.records.size(); ++i) {
            const rstfile::RecordInfo& r = good.records[i];
            // Results a cut leaves: two per set read before, and two for its
            // own set once the set's solution records (its first two) are in.
            int expected = 0;
            if (r.block.rfind("SET ", 0) == 0) {
                const int set = r.block[4] - '0';
                const size_t first = size_t(good.Find(r.block));
                expected = 2 * (set - 1) + (i >= first + 2 ? 2 : 0);
            }
            const size_t read = r.readEnd - r.start;
            for (size_t cut : {size_t(0), size_t(4), size_t(8), read / 2, read - 1}) {
                SCOPED_TRACE(release + " " + r.block + " #" + std::to_string(i) + " at +" +
                             std::to_string(cut));
                TempFile file("cut.rst", good.bytes.substr(0, r.start + cut));
                RstModel m("cut", {11, 12, 13});
                EXPECT_EQ(m.Read(file.path, 1, 1), -1);
                EXPECT_EQ(m.gui.texts(4),
                          (std::vector<std::string>{"No data read in '" + r.block + "'.",
                                                    "Error reading rst file."}));
                EXPECT_EQ(m.results().entries(), expected);
            }
        }
    }
}

TEST(CRSTParser, RealFilesConvertedToTheExternalForm) {
    const std::string boxInternal = xfiles::ReadAll(SharedRst("shell181_box.rst"));
    const std::string smallInternal = xfiles::ReadAll(SharedRst("shell181.rst"));
    ASSERT_EQ(boxInternal.size(), 720896u);
    ASSERT_EQ(smallInternal.size(), 327680u);

    // Conversion is reversible byte for byte.
    std::string box, small, back;
    ASSERT_TRUE(rstfile::ToExternal(boxInternal, box));
    ASSERT_TRUE(rstfile::ToExternal(smallInternal, small));
    ASSERT_TRUE(rstfile::ToInternal(box, back, -1));
    EXPECT_TRUE(back == boxInternal);
    ASSERT_TRUE(rstfile::ToInternal(small, back, -1));
    EXPECT_TRUE(back == smallInternal);

    // The originals are refused.
    {
        RstModel m("box_internal");
        EXPECT_EQ(m.Read(SharedRst("shell181_box.rst"), 0, 1), -1);
        EXPECT_EQ(m.gui.texts(4), (std::vector<std::string>{"File format must be external.",
                                                            "Error reading rst file."}));
    }

    // shell181_box: 240 elements (ids 118081 to 118532), one set, single
    // precision values. The element ids come from the file's own table.
    TempFile boxFile("shell181_box_ext.rst", box);
    std::vector<int> ids;
    {
        const size_t at = size_t(rstfile::GetInt(box, 4 * (103 + 2 + 13))) * 4;
        const int n = rstfile::GetInt(box, at);
        for (int k = 0; k < n; ++k) ids.push_back(rstfile::GetInt(box, at + 8 + 4 * k));
    }
    ASSERT_EQ(ids.size(), 240u);
    EXPECT_EQ(ids[0], 118087);
    for (int modelFlags : {0, 1}) {
        SCOPED_TRACE(modelFlags);
        RstModel m("box", ids);
        ASSERT_EQ(m.Read(boxFile.path, modelFlags, 1), 0);
        EXPECT_TRUE(m.Logged("Release level 18.2."));
        ASSERT_EQ(m.results().entries(), 2);
        CKpRes* membrane = m.result(0);
        CKpRes* bending = m.result(1);
        EXPECT_EQ(Names(membrane),
                  (std::vector<std::string>{"LOADSTEP 1", "ITERATION 1", "Shell Forces",
                                            "Membrane Forces", ""}));
        EXPECT_EQ(Names(bending)[3], "Bending Moments");
        EXPECT_EQ(membrane->GetNumElements(), 240);
        EXPECT_EQ(bending->GetNumElements(), 240);
        const std::vector<float> m87 = Floats(membrane, 118087);
        const std::vector<float> b87 = Floats(bending, 118087);
        const std::vector<float> em = {-540.318909f, 30.2053986f, 0.0f,
                                       245.617523f,  17.6785927f, 150.180496f};
        const std::vector<float> eb = {11969.0264f, 14611.7744f, 0.0f, -6402.48486f, 0.0f, 0.0f};
        ASSERT_EQ(m87.size(), 6u);
        ASSERT_EQ(b87.size(), 6u);
        for (int i = 0; i < 6; ++i) {
            EXPECT_NEAR(m87[i], em[i], 1e-6 * std::fabs(em[i]) + 1e-6) << i;
            EXPECT_NEAR(b87[i], eb[i], 1e-6 * std::fabs(eb[i]) + 1e-6) << i;
        }
        const std::vector<float> m81 = Floats(membrane, 118081);
        ASSERT_EQ(m81.size(), 6u);
        EXPECT_NEAR(m81[0], 73.0248337, 1e-4);
        EXPECT_NEAR(m81[5], -61.7868996, 1e-4);
        EXPECT_NEAR(Floats(bending, 118532)[0], 115428.695, 1e-2);
        double sumFx = 0.0, sumMx = 0.0;
        for (int id : ids) {
            sumFx += Floats(membrane, id)[0];
            sumMx -= Floats(bending, id)[0];
        }
        EXPECT_NEAR(sumFx, -414.448331, 1e-3);
        EXPECT_NEAR(sumMx, 5172292.07, 1e-1);
        EXPECT_EQ(m.Count(2) + m.Count(4), 0);
    }

    // shell181: 7 elements, 4 sets, no element pointer to values: 8 empty
    // results.
    TempFile smallFile("shell181_ext.rst", small);
    for (int modelFlags : {0, 1}) {
        SCOPED_TRACE(modelFlags);
        RstModel m("small", {68, 70, 72, 1, 69, 71, 73});
        ASSERT_EQ(m.Read(smallFile.path, modelFlags, 1), 0);
        EXPECT_TRUE(m.Logged("Release level 17.2."));
        ASSERT_EQ(m.results().entries(), 8);
        for (int r = 0; r < 8; ++r) {
            EXPECT_EQ(Names(m.result(r))[0], "LOADSTEP " + std::to_string(r / 2 + 1));
            EXPECT_EQ(Names(m.result(r))[1], "ITERATION 1");
            EXPECT_EQ(m.result(r)->GetNumElements(), 0);
        }
        EXPECT_EQ(m.Count(2) + m.Count(4), 0);
    }
}
