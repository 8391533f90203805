#include "layuplib/CKpIgesData.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/ExportRead.h"

namespace {

const std::string kBlank(8, ' ');

std::string Blanks(int fields) {
    return std::string(8 * fields, ' ');
}

// Writes the store's sections into one file and reads its lines back.
std::vector<std::string> Sections(CKpIgesDataStore& store, int* d, int* p) {
    const std::string path = exportread::TempPath("sections.igs");
    FILE* fp = std::fopen(path.c_str(), "w");
    *d = store.WriteDirectorySection(fp);
    *p = store.WriteParameterSection(fp);
    std::fclose(fp);
    std::vector<std::string> lines = exportread::Lines(path);
    std::remove(path.c_str());
    return lines;
}

CKpIgesData102* Curve(int members) {
    CKpIgesData102* c = new CKpIgesData102;
    // Added in reverse: the curve writes its members ascending.
    for (int m = members; m >= 1; --m) EXPECT_EQ(c->AddRef(100 + m), 0);
    c->level = 1;
    c->status = 1;
    return c;
}

}  // namespace

TEST(CKpIgesData, LineAndRuledSurfaceLinesAreFixedColumn) {
    CKpIgesDataStore store;
    CKpIgesData110* line = new CKpIgesData110;
    line->x0 = 1.0;
    line->y0 = 2.5;
    line->z0 = -3.0;
    line->x1 = 1e-10;
    line->y1 = 0.0;
    line->z1 = 123456789.0;
    store.InsertLastIges110(line);
    CKpIgesData118* ruled = new CKpIgesData118;
    ruled->level = 2;
    ruled->status = 10000;
    ruled->curve1 = 1;
    ruled->curve2 = 1234567;  // wider than its six columns
    ruled->direction = 1;
    store.InsertLastIges118(ruled);
    EXPECT_EQ(line->directoryPointer, 1);
    EXPECT_EQ(line->parameterPointer, 1);
    EXPECT_EQ(ruled->directoryPointer, 3);
    EXPECT_EQ(ruled->parameterPointer, 3);  // a line takes two parameter lines

    int d = 0, p = 0;
    const std::vector<std::string> lines = Sections(store, &d, &p);
    EXPECT_EQ(d, 4);
    EXPECT_EQ(p, 3);
    ASSERT_EQ(lines.size(), 7u);
    // Level 0 leaves field 5 blank; status 0 is eight zeros.
    EXPECT_EQ(lines[0], "     110       1" + Blanks(6) + "00000000D0000001");
    EXPECT_EQ(lines[1], "     110" + Blanks(2) + "       2" + Blanks(5) + "D0000002");
    EXPECT_EQ(lines[2],
              "     118       3" + Blanks(2) + "       2" + Blanks(3) + "00010000D0000003");
    EXPECT_EQ(lines[3], "     118" + Blanks(2) + "       1" + Blanks(5) + "D0000004");
    EXPECT_EQ(lines[4],
              "110,               1,             2.5,              -3,         "
              "       1P0000001");
    EXPECT_EQ(lines[5],
              "               1E-10,               0,   1.2345679E+08;         "
              "       1P0000002");
    EXPECT_EQ(lines[6],
              "118,     1,1234567,     1,     0;                               "
              "       3P0000003");
    for (const std::string& l : lines) EXPECT_EQ(l.size(), 80u) << l;
    store.eraseAllObjects();
}

// Composite curves hold six pointers on their first parameter line and
// seven on every further one.
TEST(CKpIgesData, CompositeCurveLinesFollowTheMemberCount) {
    const int counts[] = {0, 1, 6, 7, 13, 14, 20, 21};
    const int expected[] = {0, 1, 1, 2, 2, 3, 3, 4};
    for (int k = 0; k < 8; ++k) {
        CKpIgesData102* c = Curve(counts[k]);
        EXPECT_EQ(c->GetNumParameterLines(), expected[k]) << counts[k];
        delete c;
    }

    CKpIgesDataStore store;
    CKpIgesData102* six = Curve(6);
    CKpIgesData102* seven = Curve(7);
    store.InsertLastIges102(six);
    store.InsertLastIges102(seven);
    EXPECT_EQ(seven->parameterPointer, 2);
    int d = 0, p = 0;
    const std::vector<std::string> lines = Sections(store, &d, &p);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0],
              "     102       1" + Blanks(2) + "       1" + Blanks(3) + "00000001D0000001");
    EXPECT_EQ(lines[4],
              "102,          6,    101,    102,    103,    104,    105,    106;"
              "       1P0000001");
    EXPECT_EQ(lines[5],
              "102,          7,    101,    102,    103,    104,    105,    106,"
              "       3P0000002");
    EXPECT_EQ(lines[6], kBlank + "    107;" + Blanks(6) + "       3P0000003");
    store.eraseAllObjects();
}
