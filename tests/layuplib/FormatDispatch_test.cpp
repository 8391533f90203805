#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpResStore.h"
#include "tests/support/ExchangeFiles.h"
#include "tests/support/LypTestModel.h"
#include "tests/support/MemoryDB.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/RstWriter.h"

namespace {

ILayup::EFormat Code(int code) {
    return static_cast<ILayup::EFormat>(code);
}

void LoadPlate(CKpLayup& model, int nx, int ny) {
    const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, nx, ny, nx, ny);
    const std::vector<int> patches(m.numElems(), 1);
    ASSERT_EQ(model.NewLayupMesh(m.numNodes(), m.nodeIds.data(), m.xyz.data(), m.numElems(),
                                 m.elemIds.data(), patches.data(), m.topologies.data(), m.width,
                                 m.connectivity.data(), 0.0, 0.0),
              0);
}

}  // namespace

TEST(FormatDispatch, RefusesCodesWithoutReaderOrWriter) {
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    const std::string path = xfiles::TempPath("none.dat");
    EXPECT_EQ(model.Read(Code(10), path.c_str(), 0, 0, ""), -1);
    EXPECT_EQ(model.Read(Code(12), path.c_str(), 0, 0, ""), -1);
    EXPECT_EQ(gui.texts(4), (std::vector<std::string>{"Unsupported format 10", "Read failed.",
                                                      "Unsupported format 12", "Read failed."}));
    RecordingGUI gui6;
    CKpLayup model6(nullptr, &gui6);
    EXPECT_EQ(model6.Read(Code(6), path.c_str(), 0, 0, ""), -1);
    EXPECT_EQ(gui6.texts(4), std::vector<std::string>{"Read failed."});
    for (int code : {0, 3, 4, 5, 6, 8, 9, 12}) {
        EXPECT_EQ(model.Write(Code(code), path.c_str(), 7, 0, 0, 0), -1) << code;
        EXPECT_EQ(gui.texts(4).back(), "Unsupported format " + std::to_string(code));
    }
    // No host database: nothing to talk to, and nothing said.
    const size_t before = gui.messages.size();
    EXPECT_EQ(model.Read(Code(11), path.c_str(), 0, 0, ""), -1);
    EXPECT_EQ(model.Write(Code(11), path.c_str(), 7, 1, 0, 0), -1);
    EXPECT_EQ(gui.messages.size(), before);
}

TEST(FormatDispatch, StlWritesBinaryOnRequestAndReadsMergedCorners) {
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    LoadPlate(model, 1, 1);
    const std::string ascii = xfiles::TempPath("plate_ascii.stl");
    const std::string binary = xfiles::TempPath("plate_binary.stl");
    ASSERT_EQ(model.Write(Code(1), ascii.c_str(), 1, 0, 0, 0), 0);
    ASSERT_EQ(model.Write(Code(1), binary.c_str(), 1, 0, 0, 1), 0);
    EXPECT_EQ(xfiles::ReadAll(ascii).compare(0, 5, "solid"), 0);
    EXPECT_EQ(xfiles::ReadAll(binary).size(), 84u + 50u * 2u);  // two triangles

    // Read into an empty model without clearing: the six facet corners
    // merge into the four plate corners.
    RecordingGUI gui2;
    CKpLayup other(nullptr, &gui2);
    other.NewLayup(0.0, 0.0);
    ASSERT_EQ(other.Read(Code(1), binary.c_str(), 0, 0, ""), 0);
    EXPECT_EQ(other.pNodes()->entries(), 4);
    EXPECT_EQ(other.pElems()->entries(), 2);
    // Clearing a model with nodes says so.
    ASSERT_EQ(other.Read(Code(1), ascii.c_str(), 1, 0, ""), 0);
    EXPECT_EQ(gui2.texts(2), std::vector<std::string>{"Clearing initial model."});
    EXPECT_EQ(other.pNodes()->entries(), 4);
    std::remove(ascii.c_str());
    std::remove(binary.c_str());
}

TEST(FormatDispatch, CdbAndXmlRoads) {
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    lyptest::Build(model, "Ply one");
    const std::string cdb = xfiles::TempPath("dispatch.cdb");
    ASSERT_EQ(model.Write(Code(7), cdb.c_str(), 7, 0, 0, 0), 0);
    RecordingGUI gui2;
    CKpLayup back(nullptr, &gui2);
    back.NewLayup(0.0, 0.0);
    ASSERT_EQ(back.Read(Code(7), cdb.c_str(), 1, 0, ""), 0);
    EXPECT_EQ(back.pNodes()->entries(), model.pNodes()->entries());
    EXPECT_EQ(back.pElems()->entries(), 8);
    // A file that is not there: the reader's error, then the summary.
    EXPECT_EQ(back.Read(Code(7), (cdb + ".missing").c_str(), 0, 0, ""), -1);
    EXPECT_EQ(gui2.texts(4).back(), "Read failed.");

    const std::string xml = xfiles::TempPath("dispatch.xml");
    ASSERT_EQ(model.Write(Code(10), xml.c_str(), 0, 0, 0, 0), 0);
    const std::string doc = xfiles::ReadAll(xml);
    EXPECT_NE(doc.find("<Laminate_Layup PART_NAME=\"Main layup\">"), std::string::npos);
    size_t plies = 0;
    for (size_t at = doc.find("<Ply "); at != std::string::npos; at = doc.find("<Ply ", at + 1))
        ++plies;
    EXPECT_EQ(plies, 4u);  // ply 1 twice in the layup
    EXPECT_EQ(model.Write(Code(10), "/nonexistent-dir/x.xml", 0, 0, 0, 0), 2);
    EXPECT_EQ(gui.texts(4).back(), "Unable to write to XML file: /nonexistent-dir/x.xml");
    std::remove(cdb.c_str());
    std::remove(xml.c_str());
}

TEST(FormatDispatch, HostDatabaseCallsInOrder) {
    MemoryDB db;
    db.mesh = meshgen::Plate(meshgen::Kind::Quad4, 2, 2, 2.0, 2.0);
    RecordingGUI gui;
    CKpLayup model(&db, &gui);
    ASSERT_EQ(model.Read(Code(11), "", 0, 0, ""), 0);
    EXPECT_EQ(db.calls, (std::vector<std::string>{"getMesh", "getLam", "getMat", "getProp"}));
    EXPECT_EQ(model.pElems()->entries(), 4);

    db.calls.clear();
    EXPECT_EQ(model.Write(Code(11), "", 6, 0, 0, 0), 0);
    EXPECT_EQ(db.calls, (std::vector<std::string>{"putMat", "putLam", "putProp"}));
    db.calls.clear();
    EXPECT_EQ(model.Write(Code(11), "", 1, 1, 0, 0), 0);
    EXPECT_EQ(db.calls, (std::vector<std::string>{"putMesh", "putRes"}));
}

TEST(FormatDispatch, EsaCompResultsAttachToTheModel) {
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    LoadPlate(model, 2, 1);
    const std::string path = xfiles::TempPath("dispatch_esacomp.xml");
    xfiles::WriteAll(path,
                     "<OBJECT><EVAR name=\"VRIM_Name\">RF</EVAR><DTABLE name=\"T\">"
                     "<tr><td>2</td><td>0.8</td></tr></DTABLE></OBJECT>");
    ASSERT_EQ(model.Read(Code(9), path.c_str(), 0, 0, ""), 0);
    EXPECT_EQ(model.pRess()->entries(), 1);
    EXPECT_EQ(model.pElems()->entries(), 2);  // the mesh stays
    xfiles::WriteAll(path, "<OBJECT>");
    EXPECT_EQ(model.Read(Code(9), path.c_str(), 0, 0, ""), -1);
    EXPECT_EQ(gui.texts(4).back(), "Read failed.");
    std::remove(path.c_str());
}

TEST(FormatDispatch, RstResultsAttachToTheModel) {
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    LoadPlate(model, 2, 1);  // elements 1 and 2
    rstfile::Recipe recipe;
    recipe.ids = {2, 1, 7};  // 7 is not in the model
    rstfile::Set set;
    for (int k = 0; k < 3; ++k) set.elements.push_back(rstfile::Pattern(1, k));
    recipe.sets.push_back(set);
    const std::string path = xfiles::TempPath("dispatch.rst");
    xfiles::WriteAll(path, rstfile::Write(recipe).bytes);

    // Results attach to the model as it is: clear 0.
    ASSERT_EQ(model.Read(Code(8), path.c_str(), 0, 1, ""), 0);
    ASSERT_EQ(model.pRess()->entries(), 2);
    CKpRes* membrane = (*model.pRess())[0];
    EXPECT_STREQ(membrane->name(3), "Membrane Forces");
    EXPECT_EQ(membrane->GetNumElements(), 2);
    ASSERT_NE(membrane->ResElems()->find(2), nullptr);
    EXPECT_EQ(membrane->ResElems()->find(2)->GetFloat(0), float(rstfile::Pattern(1, 0).v[0]));
    EXPECT_EQ(model.pElems()->entries(), 2);  // the mesh stays
    EXPECT_TRUE(gui.texts(2).empty());

    // Clearing first leaves no element for the results.
    ASSERT_EQ(model.Read(Code(8), path.c_str(), 1, 1, ""), 0);
    EXPECT_EQ(gui.texts(2),
              (std::vector<std::string>{"Clearing initial model.",
                                        "No element of the rst file is in the model."}));
    ASSERT_EQ(model.pRess()->entries(), 2);
    EXPECT_EQ((*model.pRess())[0]->GetNumElements(), 0);

    const std::string missing = path + ".missing";
    EXPECT_EQ(model.Read(Code(8), missing.c_str(), 0, 1, ""), -1);
    EXPECT_EQ(gui.texts(4), (std::vector<std::string>{"Could not open rst file '" + missing + "'.",
                                                      "Read failed."}));
    std::remove(path.c_str());
}
