// The facet rebuild begun while a layup file is still read: the file tail
// check it rests on, and the model and message log it leaves, compared with
// the rebuild after the reading on the same file.

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOffStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/LayerRecreate.h"
#include "layuplib/read_lyp.h"
#include "layuplib/surface_div.h"
#include "layuplib/read_lyp_facets.h"
#include "layuplib/read_lypgroup.h"
#include "tests/support/LypTestModel.h"
#include "tests/support/MeshGen.h"

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "read_lyp_facets_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + name;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Whether a line of `text` from `at` on begins with "10" or "20", a line
// beginning at `at` when `lineStart`.
bool NaiveMayBegin(const std::string& text, size_t at, bool lineStart) {
    for (size_t i = at; i + 1 < text.size(); ++i) {
        const bool begins = i == at ? lineStart : text[i - 1] == '\n';
        if (begins && (text[i] == '1' || text[i] == '2') && text[i + 1] == '0') return true;
    }
    return false;
}

int Carry(bool lineStart) {
    return lineStart ? LYP_SCAN_LINE : LYP_SCAN_NONE;
}

// Text of lines made of the bytes that matter to the check, with line
// feeds in every position of a 16-byte vector; near misses ("1x", "22")
// throughout, a mesh line somewhere when `withMesh`.
std::string RandomLines(std::mt19937& rng, size_t size, bool withMesh) {
    const char pool[] = "4x 3\r\t\n\n10\n2\n0\n22\n12";
    std::string text;
    while (text.size() < size) {
        const char c = pool[rng() % (sizeof(pool) - 1)];
        // "\n10" and "\n20" only where asked for.
        if (c == '0' && text.size() >= 2 && text[text.size() - 2] == '\n' &&
            (text.back() == '1' || text.back() == '2'))
            continue;
        text += c;
    }
    if (withMesh) {
        const size_t at = rng() % text.size();
        text.insert(at, rng() % 2 ? "\n102 1 2 3" : "\n20");
    }
    return text;
}

}  // namespace

TEST(LypFileTail, LinesBeginningWithAMeshCodeAreFoundWhereverTheyLie) {
    std::mt19937 rng(38);
    const std::string path = TempPath("tail");
    // Sizes around the read block (1 MiB) and the vector width.
    for (size_t size : {1u, 15u, 16u, 17u, 33u, 200u, (1u << 20) - 1, (1u << 20) + 17}) {
        for (int round = 0; round < (size > 1000 ? 2 : 6); ++round) {
            const std::string text = RandomLines(rng, size, round % 2 == 1);
            WriteFile(path, text);
            for (int k = 0; k < 4; ++k) {
                const size_t at = k == 0 ? 0 : rng() % text.size();
                const bool lineStart = rng() % 2 == 0;
                EXPECT_EQ(lyp_file_may_begin(path.c_str(), static_cast<long long>(at),
                                             Carry(lineStart), LypFacets::kMeshCodes),
                          NaiveMayBegin(text, at, lineStart))
                    << "size " << size << " round " << round << " from " << at;
            }
        }
    }
    // A mesh line right at a vector's or a block's end or start, its two
    // bytes split between blocks too; a line ending the file after its
    // first byte.
    for (size_t at : {15u, 16u, (1u << 20) - 1, 1u << 20}) {
        std::string text((1u << 20) + 64, 'x');
        text[at - 1] = '\n';
        text[at] = '1';
        text[at + 1] = '0';
        WriteFile(path, text);
        EXPECT_TRUE(lyp_file_may_begin(path.c_str(), 0, LYP_SCAN_NONE, LypFacets::kMeshCodes))
            << at;
        text[at + 1] = '1';
        WriteFile(path, text);
        EXPECT_FALSE(lyp_file_may_begin(path.c_str(), 0, LYP_SCAN_NONE, LypFacets::kMeshCodes))
            << at;
    }
    WriteFile(path, std::string("x\n2"));
    EXPECT_FALSE(lyp_file_may_begin(path.c_str(), 0, LYP_SCAN_LINE, LypFacets::kMeshCodes));
    // A line begun with '2' just before the offset.
    WriteFile(path, std::string("0x\n"));
    EXPECT_TRUE(lyp_file_may_begin(path.c_str(), 0, '2', "20"));
    EXPECT_FALSE(lyp_file_may_begin(path.c_str(), 0, '1', "20"));
    EXPECT_TRUE(lyp_file_may_begin((path + ".none").c_str(), 0, LYP_SCAN_LINE, "1020"));
    std::remove(path.c_str());
}

TEST(LypFileTail, TheStreamBufferAndTheRestOfTheFileTellTheLinesNotYetRead) {
    std::mt19937 rng(7);
    const std::string path = TempPath("stream");
    // Longer than a stream block (64 KiB), mesh lines in a few places.
    std::string text;
    for (int i = 0; i < 9000; ++i) {
        const int kind = static_cast<int>(rng() % 400);
        text += kind == 0   ? "102 1 2 3"
                : kind == 1 ? "201 0 5"
                : kind == 2 ? "220 1 Default 0"
                            : "430 0 1 1 0 0 1.5707963 1 1";
        if (rng() % 50 == 0) text += std::string(rng() % 3000, 'x');
        text += rng() % 7 == 0 ? "\r\n" : "\n";
    }
    WriteFile(path, text);
    for (long count : {0L, 1L, 137L, 2000L, 4500L, 8999L, 9000L}) {
        LypStream in;
        ASSERT_EQ(in.Open(path.c_str(), 0), 0);
        LypLine line;
        size_t consumed = 0;
        for (long i = 0; i < count; ++i) {
            ASSERT_EQ(read_lypline(in, line), 1);
            consumed = text.find('\n', consumed) + 1;
        }
        std::string rest;
        long long offset = -1;
        int carry = LYP_SCAN_NONE;
        const bool buffered = in.BufferMayBegin(LypFacets::kMeshCodes, &rest, &offset, &carry);
        const bool found = buffered || lyp_file_may_begin(rest.c_str(), offset, carry,
                                                          LypFacets::kMeshCodes);
        EXPECT_EQ(found, NaiveMayBegin(text, consumed, true)) << "after " << count << " lines";
        if (!buffered) {
            EXPECT_EQ(rest, path);
        }
    }
    // A gzip stream cannot be looked ahead in.
    LypStream gz;
    ASSERT_EQ(gz.Open(path.c_str(), 1), 0);
    std::string rest;
    long long offset = 0;
    int carry = LYP_SCAN_NONE;
    EXPECT_TRUE(gz.BufferMayBegin(LypFacets::kMeshCodes, &rest, &offset, &carry));
    std::remove(path.c_str());
}

namespace {

// Every bit the facet rebuild leaves: facets with elements, vertices and
// neighbours, subdomains and areas; node positions, directions and offset
// ranges; element facet lists, direction flags and node links.
std::string SurfaceDump(CKpLayup& model) {
    std::ostringstream out;
    out.precision(17);
    CKpFacetStore* facets = model.pFacs();
    out << facets->entries() << "\n";
    for (int i = 0; i < facets->entries(); ++i) {
        const CKpFacet* f = facets->pFac(i);
        if (!f) {
            out << "-\n";
            continue;
        }
        out << f->GetElemId();
        for (int e = 0; e < 3; ++e) {
            out << " " << (f->getCKpNode(e) ? f->getCKpNode(e)->id() : -1) << ":"
                << f->getNeigh(e) << "/" << f->getNedge(e) << "/" << f->getNeighn(e);
            for (int k = 0; f->getNeigha(e) && k < f->getNeighn(e); ++k)
                out << "," << f->getNeigha(e)[k] << "/" << f->getNedgea(e)[k];
        }
        out << " " << f->getSbdmn() << " " << f->getSbdmndnfg() << " " << f->Area() << "\n";
    }
    CVekObjectStoreIterator<CKpNode> nit(*model.pNodes());
    while (++nit) {
        const CKpNode* n = nit.key();
        const CKpPoint* p = n->getCKpPoint();
        out << n->id() << " " << n->incomplete() << " " << p->getx() << " " << p->gety() << " "
            << p->getz() << " " << n->getCKpDirnX() << " " << n->getCKpDirnY() << " "
            << n->getCKpDirnZ() << " " << n->getmax_off() << " " << n->getmin_off() << "\n";
    }
    CVekObjectStoreIterator<CKpElem> eit(*model.pElems());
    while (++eit) {
        CKpElem* e = eit.key();
        out << e->id() << " " << e->getetdnfg();
        for (int j = 0; j < e->getnfac(); ++j) out << " f" << e->getfacs(j);
        for (int j = 0; j < e->getnnod(); ++j)
            out << " n" << (e->getckpnodes(j) ? e->getckpnodes(j)->id() : -1);
        out << "\n";
    }
    return out.str();
}

// What one OpenLayup of `path` leaves: its result, the message log it
// wrote, the surface and the file saved from the model.
struct Opened {
    int result = 0;
    std::string log, surface, saved;
};

// The steps of CKpLayup::OpenLayup with the facets rebuilt only after the
// reading (read_lyp without LypFacets): the reference.
int OpenThenRebuild(CKpLayup& model, const std::string& path, int compressed) {
    CKpMsg* msg = model.pMsg();
    if (model.reinit() != 0) return -2;
    msg->Create(1, "Reinitialisation completed");
    model.pFile()->SetName(path.c_str());
    if (read_lyp(&model, compressed) == 0) {
        msg->Create(4, "Could not read layup file '%s'", path.c_str());
        model.reinit();
        return -1;
    }
    msg->Create(1, "Layup file opened");
    if (model.pFacs()->CreateFacets() == 0) {
        msg->Create(1, "Could not generate facets");
        return -1;
    }
    msg->Create(1, "Facets created");
    LayerRecreate(msg, model.pMats(), model.pPats(), model.pPlys());
    model.LayupRecreate(msg, model.pElems(), model.pPlys(), model.pLyp());
    if (model.pOffs()->Apply() == 0)
        msg->Create(1, "offset set to elements");
    else
        msg->Create(2, "Could not set offset to elements");
    if (set_all_tolerances(model.pElems(), model.pFacs(), model.pGTol(), model.pTols()) != 0)
        msg->Create(2, "Could not set tolerance to elements");
    else
        msg->Create(1, "tolerance set to elements");
    return 0;
}

// OpenLayup of `path`, or with `reference` OpenThenRebuild.
Opened Open(const std::string& path, int compressed, bool reference) {
    Opened o;
    std::unique_ptr<CKpLayup> model(new CKpLayup(nullptr, nullptr));
    const std::string log = path + ".msg";
    model->OpenMessage(log.c_str());
    o.result = reference ? OpenThenRebuild(*model, path, compressed)
                         : model->OpenLayup(path.c_str(), compressed);
    o.surface = SurfaceDump(*model);
    model->CloseMessage();
    o.log = Slurp(log);
    const std::string saved = path + ".saved";
    model->SaveLayup(saved.c_str(), 0, 0);
    o.saved = Slurp(saved);
    std::remove(log.c_str());
    std::remove(saved.c_str());
    return o;
}

// Whether read_lyp began the rebuild while reading `path` and kept it: the
// facets are there before LypFacets::Create is asked for them.
bool RebuiltWhileReading(const std::string& path, int compressed) {
    std::unique_ptr<CKpLayup> model(new CKpLayup(nullptr, nullptr));
    model->pFile()->SetName(path.c_str());
    LypFacets facets;
    if (read_lyp(model.get(), compressed, &facets) != 1) return false;
    const bool early = model->pFacs()->entries() > 0;
    facets.Create(model.get());
    return early;
}

// `text` written to `path` as it is, or gzip-compressed.
void WriteLyp(const std::string& path, const std::string& text, int compressed) {
    if (!compressed) {
        WriteFile(path, text);
        return;
    }
    gzFile gz = gzopen(path.c_str(), "wb1");
    ASSERT_NE(gz, nullptr);
    ASSERT_EQ(gzwrite(gz, text.data(), static_cast<unsigned>(text.size())),
              static_cast<int>(text.size()));
    ASSERT_EQ(gzclose(gz), Z_OK);
}

// A layup file of a curved shell: a quarter cylinder of 12 x 6 quad4 with
// one draped ply over its first rows, and the offsets, tolerances and sets
// of the full test model after the patterns.
std::string CylinderFile() {
    std::unique_ptr<CKpLayup> model(new CKpLayup(nullptr, nullptr));
    const meshgen::Mesh m = meshgen::Cylinder(meshgen::Kind::Quad4, 12, 6, 2.0, 1.5707963, 3.0);
    EXPECT_EQ(meshgen::LoadModel(*model, m), 0);
    CKpMat* mat = lyptest::AddMat(*model, 1, 3, "Woven carbon");
    lyptest::AddPly(*model, 1, "Ply one", 3, mat, 1, 30);
    EXPECT_EQ(CreateLayupPly(model.get(), nullptr, nullptr, 3, "Ply one", 1, 0, 0, 1001), 0);
    const std::string path = TempPath("cylinder.lyp");
    EXPECT_EQ(model->SaveLayup(path.c_str(), 0, 0), 0);
    std::string text = Slurp(path);
    std::remove(path.c_str());
    return text;
}

std::string FullModelFile() {
    std::unique_ptr<CKpLayup> model(new CKpLayup(nullptr, nullptr));
    lyptest::Build(*model, "Ply one");
    const std::string path = TempPath("full.lyp");
    EXPECT_EQ(model->SaveLayup(path.c_str(), 0, 0), 0);
    std::string text = Slurp(path);
    std::remove(path.c_str());
    return text;
}

// The text with `line` put in after the line that begins with `after`.
std::string InsertAfter(std::string text, const std::string& after, const std::string& line) {
    const size_t at = text.find("\n" + after);
    if (at == std::string::npos) return text;
    const size_t end = text.find('\n', at + 1);
    return text.insert(end + 1, line + "\n");
}

// The 202 record (element type, geometry type, ...) of each element of
// `ids` given geometry type `gmtp`.
std::string SetGeometry(const std::string& text, const std::vector<int>& ids,
                        const std::string& gmtp) {
    std::istringstream in(text);
    std::string out, line;
    bool wanted = false;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string code;
        int first = 0, id = 0;
        fields >> code >> first >> id;
        if (code == "201") wanted = std::find(ids.begin(), ids.end(), id) != ids.end();
        if (code == "202" && wanted) {
            std::istringstream rec(line);
            std::string c, eltp, old, rest;
            rec >> c >> eltp >> old;
            std::getline(rec, rest);
            line = c + " " + eltp + " " + gmtp + rest;
            wanted = false;
        }
        out += line + "\n";
    }
    return out;
}

}  // namespace

// Each file plain and gzip-compressed (a gzip stream is not looked ahead
// in: a node or element record after the patterns drops the rebuild begun).
TEST(LypOpenFacets, RebuildWhileReadingLeavesTheModelAndLogOfTheRebuildAfterIt) {
    const std::string cylinder = CylinderFile();
    const std::string full = FullModelFile();
    const size_t firstPattern = cylinder.find("\n430 ");
    const std::string cutInPatterns =
        cylinder.substr(0, cylinder.find("\n430 ", firstPattern + 1) + 30);
    struct Case {
        const char* name;
        std::string text;
        bool early;  // the rebuild is begun while reading and kept
    };
    const std::vector<Case> cases = {
        {"cylinder", cylinder, true},
        // Its orientations (220) follow the patterns.
        {"full model", full, true},
        {"CR line ends", [&] {
             std::string t;
             for (char c : cylinder) t += c == '\n' ? std::string("\r\n") : std::string(1, c);
             return t;
         }(), true},
        // Elements the rebuild skips with a message each: its messages are
        // held, folded repeats included, and issued in order.
        {"unsupported geometry", SetGeometry(cylinder, {3, 4, 5, 9, 40}, "5"), true},
        {"one unsupported", SetGeometry(cylinder, {7}, "5"), true},
        // A node or element record after the patterns: rebuilt after reading.
        // The last node moved.
        {"node after patterns", InsertAfter(cylinder, "430 ", "102 0.5 0.25 0.125"), false},
        // The last element given other nodes (its corner node then belongs
        // to no facet: its direction is the one it was read with).
        {"element after patterns", InsertAfter(cylinder, "430 ", "204 1 2 3 4"), false},
        // The same nodes from another corner: its diagonal changes.
        {"element turned after patterns", InsertAfter(cylinder, "430 ", "204 78 91 90 77"), false},
        // A new element over the first one, the file's last records.
        {"element added at the end",
         InsertAfter(cylinder, "809 ", "201 72 900 0\n202 1 1 0\n204 1 2 15 14"), false},
        // Failures in the pattern section while the rebuild runs.
        {"bad pattern field", InsertAfter(cylinder, "430 ", "430 0 x 1"), false},
        {"cut in patterns", cutInPatterns, false},
        // A node record after the patterns, then a failure.
        {"node then cut", InsertAfter(cutInPatterns, "430 ", "102 0.5 0.25 0.125"), false},
        // Shape failures and missing nodes are left to the reading's own
        // links and messages.
        {"bad shape", InsertAfter(cylinder, "204 1 ", "204 3 3 4 5"), false},
        {"quadratic", SetGeometry(cylinder, {2}, "2"), false},
    };
    for (int compressed = 0; compressed <= 1; ++compressed) {
        for (const Case& c : cases) {
            const std::string name = std::string(c.name) + (compressed ? " (gzip)" : "");
            const std::string path = TempPath("case.lyp");
            WriteLyp(path, c.text, compressed);
            EXPECT_EQ(RebuiltWhileReading(path, compressed), c.early) << name;
            const Opened early = Open(path, compressed, false);
            const Opened after = Open(path, compressed, true);
            EXPECT_EQ(early.result, after.result) << name;
            EXPECT_EQ(early.log, after.log) << name;
            EXPECT_EQ(early.surface, after.surface) << name;
            EXPECT_EQ(early.saved, after.saved) << name;
            const bool failing = name.find("cut") != std::string::npos ||
                                 name.find("bad pattern") != std::string::npos;
            if (failing) {
                EXPECT_EQ(early.result, -1) << name;
            } else if (name.find("quadratic") == std::string::npos &&
                       name.find("bad shape") == std::string::npos) {
                EXPECT_EQ(early.result, 0) << name << "\n" << early.log;
                EXPECT_NE(early.log.find("$# Facets created"), std::string::npos) << name;
            }
            if (std::string(c.name) == "unsupported geometry") {
                EXPECT_NE(early.log.find("Unsupported facet number."), std::string::npos);
                EXPECT_NE(early.log.find("(...repeated 5 times...)"), std::string::npos);
            }
            std::remove(path.c_str());
        }
    }
}
