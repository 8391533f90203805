// Every reader of the model's read dispatch, and the layup file open, fed
// the inputs a new user gives by mistake: an empty file, a folder, a path
// that does not exist, one byte, 10 MB of random bytes, the first half of a
// real sample, and the sample itself under a path with spaces and
// non-ASCII characters. A failure is a non-zero status and one error naming
// the file and the reason; a file of another kind adds nothing to the open
// model; a cut file says it ends early.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpResStore.h"
#include "tests/support/ExchangeFiles.h"
#include "tests/support/RecordingGUI.h"

namespace {

namespace fs = std::filesystem;

std::string ProjectData(const std::string& rel) {
    const char* env = std::getenv("PLYSTRAND_TEST_DATA");
    return std::string(env ? env : "tests/data") + "/" + rel;
}

std::string SamplePath(const std::string& rel, bool shared) {
    return shared ? xfiles::SampleFile(rel) : ProjectData(rel);
}

// A working folder of the test's own, removed with everything in it.
class WorkDir {
  public:
    explicit WorkDir(const std::string& name)
        : m_path(::testing::TempDir() + "bad_input_" + name + "_" + std::to_string(::getpid())) {
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~WorkDir() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    WorkDir(const WorkDir&) = delete;
    WorkDir& operator=(const WorkDir&) = delete;
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

  private:
    std::string m_path;
};

const std::string& RandomBytes() {
    static const std::string bytes = [] {
        std::mt19937 gen(20240611u);
        std::string b(10u << 20, '\0');
        for (char& c : b) c = static_cast<char>(gen() & 0xff);
        return b;
    }();
    return bytes;
}

enum Kind { kEmpty, kDirectory, kMissing, kOneByte, kRandom, kHalf, kSpaced };
const char* const kKindNames[] = {"empty file", "directory",    "missing path", "one byte",
                                  "10 MB random", "first half", "spaced path"};

struct Input {
    Kind kind;
    std::string path;
};

// The seven inputs, made from `sample` in `dir`.
std::vector<Input> MakeInputs(const WorkDir& dir, const std::string& sample,
                              const std::string& ext) {
    const std::string bytes = xfiles::ReadAll(sample);
    EXPECT_GT(bytes.size(), 2u) << sample;
    std::vector<Input> in;
    in.push_back({kEmpty, dir / ("empty." + ext)});
    xfiles::WriteAll(in.back().path, "");
    in.push_back({kDirectory, dir / ("folder." + ext)});
    fs::create_directories(in.back().path);
    in.push_back({kMissing, dir / ("no such file." + ext)});
    in.push_back({kOneByte, dir / ("one." + ext)});
    xfiles::WriteAll(in.back().path, bytes.substr(0, 1));
    in.push_back({kRandom, dir / ("random." + ext)});
    xfiles::WriteAll(in.back().path, RandomBytes());
    in.push_back({kHalf, dir / ("half." + ext)});
    xfiles::WriteAll(in.back().path, bytes.substr(0, bytes.size() / 2));
    fs::create_directories(dir / "mit Leerzeichen und Ümlaut");
    in.push_back({kSpaced, dir / ("mit Leerzeichen und Ümlaut/Probe é ß." + ext)});
    xfiles::WriteAll(in.back().path, bytes);
    return in;
}

struct Counts {
    int nodes, elems, mats, plies, results;
    bool operator==(const Counts& o) const {
        return nodes == o.nodes && elems == o.elems && mats == o.mats && plies == o.plies &&
               results == o.results;
    }
};

std::ostream& operator<<(std::ostream& os, const Counts& c) {
    return os << "{nodes " << c.nodes << ", elements " << c.elems << ", materials " << c.mats
              << ", plies " << c.plies << ", results " << c.results << "}";
}

Counts CountsOf(CKpLayup& m) {
    m.init();
    return {m.pNodes()->entries(), m.pElems()->entries(), m.pMats()->entries(),
            m.pPlys()->entries(), m.pRess()->entries()};
}

// A model with its messages recorded as the host sees them.
struct Model {
    RecordingGUI gui;
    CKpLayup model{nullptr, &gui};

    // Errors other than the dispatch's closing "Read failed.".
    std::vector<std::string> Errors() const {
        std::vector<std::string> out;
        for (const auto& m : gui.messages)
            if (m.severity == 4 && m.text != "Read failed.") out.push_back(m.text);
        return out;
    }
    int Count(int severity, const std::string& text) const {
        int n = 0;
        for (const auto& m : gui.messages) n += m.severity == severity && m.text == text;
        return n;
    }
    std::string Log() const {
        std::string s;
        for (const auto& m : gui.messages)
            s += std::to_string(m.severity) + ": " + m.text + "\n";
        return s;
    }
};

// One reader of the dispatch and what it says about the inputs.
struct Reader {
    const char* name;
    int format;
    const char* sample;
    bool shared;  // the sample lives in the shared data folder
    const char* ext;
    int clear;  // the content mask a full read of the sample uses
    int flags;
    // Reason texts for one byte, random bytes and the first half.
    const char* oneByte;
    const char* random;
    const char* half;
};

// The loaded model the bad inputs are read over (content mask 0: added to it).
void LoadModel(CKpLayup& m) {
    ASSERT_EQ(m.OpenLayup(ProjectData("lyp/golden.lyp").c_str(), 0), 0);
}

void CheckReader(const Reader& r) {
    SCOPED_TRACE(r.name);
    const std::string sample = SamplePath(r.sample, r.shared);
    WorkDir dir(r.ext);
    // What the sample itself gives.
    Model full;
    ASSERT_EQ(full.model.Read(static_cast<ILayup::EFormat>(r.format), sample.c_str(), r.clear,
                              r.flags, nullptr),
              0)
        << full.Log();
    const Counts whole = CountsOf(full.model);
    ASSERT_GT(whole.nodes + whole.results, 0);

    for (const Input& in : MakeInputs(dir, sample, r.ext)) {
        SCOPED_TRACE(kKindNames[in.kind]);
        Model m;
        const bool spaced = in.kind == kSpaced, half = in.kind == kHalf;
        // Inputs of no format go over a loaded model and must leave it; the
        // cut and the good file are read as the sample was.
        if (!spaced && !half) LoadModel(m.model);
        const Counts before = CountsOf(m.model);
        m.gui.messages.clear();
        const int clear = spaced || half ? r.clear : 0;
        const int status = m.model.Read(static_cast<ILayup::EFormat>(r.format), in.path.c_str(),
                                        clear, r.flags, nullptr);
        const Counts after = CountsOf(m.model);
        const std::vector<std::string> errors = m.Errors();
        if (spaced) {
            EXPECT_EQ(status, 0) << m.Log();
            EXPECT_TRUE(errors.empty()) << m.Log();
            EXPECT_EQ(after, whole);
            continue;
        }
        EXPECT_NE(status, 0);
        ASSERT_EQ(errors.size(), 1u) << m.Log();
        EXPECT_EQ(m.Count(4, "Read failed."), 1) << m.Log();
        const std::string& text = errors[0];
        EXPECT_NE(text.find(in.path), std::string::npos) << text;
        const char* reason = in.kind == kEmpty       ? "is empty"
                             : in.kind == kDirectory ? "is a directory"
                             : in.kind == kMissing   ? "does not exist"
                             : in.kind == kOneByte   ? r.oneByte
                             : in.kind == kRandom    ? r.random
                                                     : r.half;
        EXPECT_NE(text.find(reason), std::string::npos) << text;
        std::printf("[ table ] %-22s %-13s status %d: %s\n", r.name, kKindNames[in.kind], status,
                    text.c_str());
        if (half) {
            // What was read before the cut stays; never more than the whole
            // (nodes may stay unmerged when a read fails).
            EXPECT_LE(after.elems, whole.elems);
            EXPECT_LE(after.results, whole.results);
        } else {
            EXPECT_EQ(after, before);
        }
    }
}

TEST(ReadBadInput, Stl) {
    CheckReader({"STL (1)", 1, "stl/HalfDonut_binary.stl", true, "stl", 1, 0,
                 "is not an STL file", "is not an STL file", "ends early at byte"});
}

TEST(ReadBadInput, BulkData) {
    CheckReader({"bulk data (2)", 2, "bdf/flat_plate_composite.bdf", false, "bdf", 1, 0,
                 "No BEGIN BULK", "No BEGIN BULK", "ends early"});
}

TEST(ReadBadInput, PrintedOutput) {
    CheckReader({"printed output (3)", 3, "f06/flat_plate_composite.f06", false, "f06", 0, 7,
                 "is not printed output", "is not printed output", "ends early inside line"});
}

TEST(ReadBadInput, BinaryOutput) {
    CheckReader({"binary output (4)", 4, "op2/flat_plate_composite.op2", false, "op2", 7, 7,
                 "is not solver binary output", "incompatible hardware platform",
                 "ends early"});
}

TEST(ReadBadInput, Neutral) {
    CheckReader({"neutral (5)", 5, "neutral/crlf_quad8_tria6.neu", false, "neu", 1, 0,
                 "is not a neutral file", "is not a neutral file", "ends early at line"});
}

TEST(ReadBadInput, Cdb) {
    CheckReader({"CDB (7)", 7, "cdb/linear_shell_with_MAPDL_sections.cdb", true, "cdb", 1, 0,
                 "is not a CDB file", "is not a CDB file", "ends"});
}

TEST(ReadBadInput, EsaComp) {
    CheckReader({"ESAComp results (9)", 9, "../fuzz/seeds/fuzz_esacomp/tables.xml", false, "xml",
                 0, 0, "Parse Error", "Parse Error", "Parse Error: the file ends early"});
}

// The layup file: refused before the open model is given up, or (a file
// that breaks while it is read) an empty model, never a fragment.
void CheckLayupOpen(const char* sample, int compressed, const char* half) {
    SCOPED_TRACE(sample);
    WorkDir dir(compressed ? "lypgz" : "lyp");
    Model full;
    ASSERT_EQ(full.model.OpenLayup(ProjectData(sample).c_str(), compressed), 0) << full.Log();
    const Counts whole = CountsOf(full.model);
    for (const Input& in : MakeInputs(dir, ProjectData(sample), compressed ? "lyp.gz" : "lyp")) {
        SCOPED_TRACE(kKindNames[in.kind]);
        Model m;
        ASSERT_EQ(m.model.OpenLayup(ProjectData("lyp/full.lyp").c_str(), 0), 0);
        const Counts before = CountsOf(m.model);
        ASSERT_GT(before.elems, 0);
        m.gui.messages.clear();
        const int status = m.model.OpenLayup(in.path.c_str(), compressed);
        const Counts after = CountsOf(m.model);
        if (in.kind == kSpaced) {
            EXPECT_EQ(status, 0) << m.Log();
            EXPECT_EQ(after, whole);
            continue;
        }
        EXPECT_EQ(status, -1);
        // The reason, then the open's own "Could not read layup file '%s'".
        const std::vector<std::string> errors = m.Errors();
        ASSERT_EQ(errors.size(), 2u) << m.Log();
        EXPECT_EQ(errors[1], "Could not read layup file '" + in.path + "'");
        const char* reason = in.kind == kEmpty       ? "is empty"
                             : in.kind == kDirectory ? "is a directory"
                             : in.kind == kMissing   ? "does not exist"
                             : in.kind == kHalf      ? half
                                                     : "is not a layup file";
        EXPECT_NE(errors[0].find(in.path), std::string::npos) << errors[0];
        EXPECT_NE(errors[0].find(reason), std::string::npos) << errors[0];
        std::printf("[ table ] %-22s %-13s status %d: %s\n",
                    compressed ? "layup file (gzip)" : "layup file", kKindNames[in.kind], status,
                    errors[0].c_str());
        if (in.kind == kHalf)
            EXPECT_EQ(after, (Counts{0, 0, 0, 0, 0}));
        else
            EXPECT_EQ(after, before);
    }
}

TEST(ReadBadInput, LayupFile) {
    CheckLayupOpen("lyp/golden.lyp", 0, "ends early at line");
}

TEST(ReadBadInput, CompressedLayupFileSaysWhatThePlainOneSays) {
    CheckLayupOpen("lyp/golden.lyp.gz", 1, "corrupt or ends early");
    // Empty and one-byte files: the same words whichever way they are opened.
    WorkDir dir("lypsame");
    for (const std::string& bytes : {std::string(), std::string("*")}) {
        const std::string path = dir / "same.lyp";
        xfiles::WriteAll(path, bytes);
        std::string said[2];
        for (int compressed = 0; compressed <= 1; ++compressed) {
            Model m;
            EXPECT_EQ(m.model.OpenLayup(path.c_str(), compressed), -1);
            said[compressed] = m.Log();
        }
        EXPECT_EQ(said[0], said[1]);
        EXPECT_NE(said[0].find(bytes.empty() ? "is empty" : "is not a layup file"),
                  std::string::npos)
            << said[0];
    }
}

}  // namespace
