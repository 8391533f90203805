#include "layuplib/gen_flat_pat_dxf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpFile.h"
#include "layuplib/CKpFlatPat.h"
#include "layuplib/CKpFlatPatPt.h"
#include "layuplib/CKpFlatPatStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPointArray.h"
#include "layuplib/angle_util.h"
#include "tests/support/ExportRead.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

const std::string kHead =
    "0  \nSECTION\n2  \nHEADER\n0  \nENDSEC\n"
    "0  \nSECTION\n2  \nTABLES\n0  \nTABLE\n2  \nSTYLE\n70 \n1\n0  \nSTYLE\n2  \nSTANDARD\n"
    "70 \n0\n40 \n0\n41 \n1\n50 \n0\n71 \n0\n42 \n0.2\n3  \ntxt\n4  \n\n0  \nENDTAB\n"
    "0  \nTABLE\n2  \nLAYER\n70 \n1\n0  \nLAYER\n2  \n1\n70 \n0\n62 \n7\n6  \nCONTINUOUS\n"
    "0  \nENDTAB\n0  \nENDSEC\n"
    "0  \nSECTION\n2  \nENTITIES\n";
const std::string kTail = "0  \nENDSEC\n0  \nEOF\n";

// A DXF file as (group code, value) pairs; codes trimmed.
struct Pair {
    int code;
    std::string value;
};
std::vector<Pair> Pairs(const std::string& path) {
    const std::vector<std::string> lines = exportread::Lines(path);
    std::vector<Pair> pairs;
    for (size_t k = 0; k + 1 < lines.size(); k += 2)
        pairs.push_back({std::atoi(lines[k].c_str()), lines[k + 1]});
    return pairs;
}

// One SPLINE record read back: degree, knots, control and fit points.
struct Spline {
    std::string handle, layer;
    int degree = 0, nKnots = 0, nControl = 0, nFit = 0;
    std::vector<double> knots, cx, cy, fx, fy;
};
std::vector<Spline> Splines(const std::vector<Pair>& pairs) {
    std::vector<Spline> out;
    for (size_t k = 0; k < pairs.size(); ++k) {
        if (pairs[k].code != 0) continue;
        if (pairs[k].value != "SPLINE") continue;
        Spline s;
        for (size_t m = k + 1; m < pairs.size() && pairs[m].code != 0; ++m) {
            const double v = std::strtod(pairs[m].value.c_str(), nullptr);
            switch (pairs[m].code) {
                case 5:
                    s.handle = pairs[m].value;
                    break;
                case 8:
                    s.layer = pairs[m].value;
                    break;
                case 71:
                    s.degree = static_cast<int>(v);
                    break;
                case 72:
                    s.nKnots = static_cast<int>(v);
                    break;
                case 73:
                    s.nControl = static_cast<int>(v);
                    break;
                case 74:
                    s.nFit = static_cast<int>(v);
                    break;
                case 40:
                    s.knots.push_back(v);
                    break;
                case 10:
                    s.cx.push_back(v);
                    break;
                case 20:
                    s.cy.push_back(v);
                    break;
                case 11:
                    s.fx.push_back(v);
                    break;
                case 21:
                    s.fy.push_back(v);
                    break;
                default:
                    break;
            }
        }
        out.push_back(s);
    }
    return out;
}

// The B-spline of `s` at t (de Boor's algorithm, independent of the
// writer's basis functions); the last knot span is closed.
void Evaluate(const Spline& s, double t, double& x, double& y) {
    const int p = s.degree;
    const int n = static_cast<int>(s.cx.size());
    int k = p;
    while (k + 1 < n && t >= s.knots[k + 1]) ++k;
    std::vector<double> dx(p + 1), dy(p + 1);
    for (int j = 0; j <= p; ++j) {
        dx[j] = s.cx[j + k - p];
        dy[j] = s.cy[j + k - p];
    }
    for (int r = 1; r <= p; ++r)
        for (int j = p; j >= r; --j) {
            const double a =
                (t - s.knots[j + k - p]) / (s.knots[j + 1 + k - r] - s.knots[j + k - p]);
            dx[j] = (1 - a) * dx[j - 1] + a * dx[j];
            dy[j] = (1 - a) * dy[j - 1] + a * dy[j];
        }
    x = dx[p];
    y = dy[p];
}

class DxfTest : public ::testing::Test {
  protected:
    RecordingGUI gui;
    CKpMsg log;
    CKpFile file;
    std::string path = exportread::TempPath("pattern.dxf");
    CKpPat pat{1};
    CKpFlatPatStore flats;

    void SetUp() override {
        log.SetGUI(&gui);
        file.SetName(path.c_str());
        pat.setStep(2.0);
        pat.setStwpwtang(kPi / 2);
    }
    void TearDown() override { std::remove(path.c_str()); }

    void AddOutline(const std::vector<std::vector<double>>& pts) {
        CKpFlatPat* flat = new CKpFlatPat;
        CKpFlatPatPt* last = nullptr;
        for (const std::vector<double>& p : pts) {
            CKpFlatPatPt* q = new CKpFlatPatPt;
            q->SetUV(p[0], p[1]);
            q->setPlot(static_cast<int>(p[2]));
            flat->pPoints()->InsertAfter(last, q);
            last = q;
        }
        flats.InsertLast(flat);
    }

    // Writes a spline through `pts` (x y pairs) into the test file and reads
    // it back.
    Spline OneSpline(const std::vector<double>& pts, int handle = 257) {
        CKpPointArray a;
        for (size_t k = 0; k < pts.size() / 2; ++k)
            a.pPoint(static_cast<int>(k))->Set(pts[2 * k], pts[2 * k + 1], 0.0);
        FILE* fp = std::fopen(path.c_str(), "w");
        EXPECT_EQ(SaveDxfSpline(&log, fp, a.entries(), &a, handle, "L"), 0);
        std::fclose(fp);
        std::vector<Spline> s = Splines(Pairs(path));
        EXPECT_EQ(s.size(), 1u);
        return s.empty() ? Spline() : s[0];
    }
};

}  // namespace

TEST(CKpPointArray, GrowsByIndexKeepingPoints) {
    CKpPointArray a;
    EXPECT_EQ(a.capacity(), 10);
    EXPECT_EQ(a.entries(), 0);
    a.pPoint(3)->Set(1, 2, 3);
    EXPECT_EQ(a.entries(), 4);
    a.pPoint(25)->Set(4, 5, 6);
    EXPECT_EQ(a.capacity(), 35);
    EXPECT_EQ(a.entries(), 26);
    EXPECT_EQ(a.pPoint(3)->gety(), 2.0);
    EXPECT_EQ(a.pPoint(10)->getx(), 0.0);
    EXPECT_EQ(a.pPoint(-1), nullptr);
}

TEST_F(DxfTest, FixedSectionsAndAnEmptyEntitiesSection) {
    AddOutline({{0, 0, 2}, {1, 0, 2}, {0, 1, 2}, {0, 0, 2}});
    ASSERT_EQ(gen_flat_pat_dxf(&log, &file, &pat, &flats, "Ply", "SPLINE", 0), 0);
    EXPECT_EQ(exportread::Text(path), kHead + kTail);
    ASSERT_EQ(gen_draped_pat_dxf(&log, &file, nullptr, nullptr, nullptr, "Ply", 0), 0);
    EXPECT_EQ(exportread::Text(path), kHead + kTail);

    EXPECT_EQ(gen_flat_pat_dxf(&log, &file, nullptr, &flats, "Ply", "", 1), -1);
    EXPECT_EQ(gui.texts(4).back(), "No pattern data defined.");
    CKpFlatPatStore none;
    EXPECT_EQ(gen_flat_pat_dxf(&log, &file, &pat, &none, "Ply", "", 1), -1);
    EXPECT_EQ(gui.texts(4).back(), "No flat pattern defined.");
    CKpFile full;
    full.SetName("/dev/full");
    EXPECT_EQ(gen_flat_pat_dxf(&log, &full, &pat, &flats, "Ply", "", 1), -1);
    EXPECT_EQ(gui.texts(4).back(), "Could not close file.");
    EXPECT_EQ(gen_draped_pat_dxf(&log, &full, nullptr, nullptr, nullptr, "Ply", 0), -1);

    // A fill axis without sine is left out, never written as inf or nan.
    pat.setStwpwtang(kPi);
    ASSERT_EQ(gen_flat_pat_dxf(&log, &file, &pat, &flats, "Ply", "", 4), 0);
    EXPECT_EQ(gui.texts(2).back(), "Fill axis skipped: warp/weft angle 180 degrees.");
    EXPECT_EQ(exportread::Text(path), kHead + kTail);
}

TEST_F(DxfTest, PolylineStyleAndAxes) {
    // A right triangle, one point dropped; "spline" is not "SPLINE".
    AddOutline({{0, 0, 2}, {0.5, 0, 0}, {1, 0, 2}, {0, 1, 2}, {0, 0, 2}});
    AddOutline({{0.2, 0.2, 2}});
    ASSERT_EQ(gen_flat_pat_dxf(&log, &file, &pat, &flats, "Ply", "spline", 1 | 32 | 2 | 4), 0);
    const std::string text = exportread::Text(path);
    const std::string outline =
        "0  \nPOLYLINE\n  8\nPly\n66 \n1\n70 \n1\n40 \n0\n41 \n0\n"
        "0  \nVERTEX\n8  \nPly\n10 \n0\n20 \n0\n"
        "0  \nVERTEX\n8  \nPly\n10 \n2\n20 \n0\n"
        "0  \nVERTEX\n8  \nPly\n10 \n0\n20 \n2\n"
        "0  \nVERTEX\n8  \nPly\n10 \n0\n20 \n0\n"
        "0  \nSEQEND\n  8\nPly\n";
    const std::string warp =
        "0  \nPOLYLINE\n  8\nPly_princ_warp\n66 \n1\n70 \n0\n40 \n0\n41 \n0\n"
        "0  \nVERTEX\n8  \nPly_princ_warp\n10 \n0\n20 \n0\n"
        "0  \nVERTEX\n8  \nPly_princ_warp\n10 \n2\n20 \n0\n"
        "0  \nSEQEND\n  8\nPly_princ_warp\n";
    // The outer outline once, the one-point hole not at all, then the axes.
    ASSERT_EQ(text.substr(0, kHead.size()), kHead);
    EXPECT_EQ(text.substr(kHead.size(), outline.size() + warp.size()), outline + warp);
    const std::vector<Pair> pairs = Pairs(path);
    std::vector<double> fill;
    bool onFill = false;
    for (const Pair& p : pairs) {
        if (p.code == 8 && p.value.find("Ply_princ_fill") == 0) onFill = true;
        if (onFill && (p.code == 10 || p.code == 20)) fill.push_back(std::atof(p.value.c_str()));
    }
    ASSERT_EQ(fill.size(), 4u);
    EXPECT_LT(std::fabs(fill[0]) + std::fabs(fill[2]), 1e-12);  // x = 0 at 90 degrees
    EXPECT_DOUBLE_EQ(fill[3], 2.0);
    EXPECT_EQ(text.substr(text.size() - kTail.size()), kTail);
}

TEST_F(DxfTest, SplineKnotsControlPointsAndFit) {
    Spline s = OneSpline({0, 0, 3, 1});
    EXPECT_EQ(s.handle, "101");
    EXPECT_EQ(s.degree, 1);
    EXPECT_EQ(s.knots, (std::vector<double>{0, 0, 1, 1}));
    EXPECT_EQ(s.cx, (std::vector<double>{0, 3}));
    EXPECT_EQ(s.nFit, 2);

    // The quadratic passes through the middle point at parameter 0.5.
    s = OneSpline({0, 0, 1, 2, 3, 0});
    EXPECT_EQ(s.degree, 2);
    EXPECT_EQ(s.knots, (std::vector<double>{0, 0, 0, 1, 1, 1}));
    double x, y;
    Evaluate(s, 0.5, x, y);
    EXPECT_NEAR(x, 1.0, 1e-12);
    EXPECT_NEAR(y, 2.0, 1e-12);

    s = OneSpline({0, 0, 1, 1, 2, 0, 3, 1, 4, 0}, 0x2AF);
    EXPECT_EQ(s.handle, "2AF");
    EXPECT_EQ(s.knots, (std::vector<double>{0, 0, 0, 1, 2, 3, 3, 3}));
    EXPECT_EQ(s.nKnots, 8);
    EXPECT_EQ(s.nControl, 5);

    // Thirteen points around a unit circle: the sweeps reach the fit
    // tolerance 1e-7 without warning; read back from the six digits "%g"
    // keeps, the curve meets every data point at its parameter (0, i - 0.5,
    // n - 2) to that precision.
    std::vector<double> circle;
    for (int k = 0; k <= 12; ++k) {
        circle.push_back(std::cos(k * kPi / 6));
        circle.push_back(std::sin(k * kPi / 6));
    }
    s = OneSpline(circle);
    EXPECT_TRUE(gui.texts(2).empty());
    ASSERT_EQ(s.cx.size(), 13u);
    for (int i = 0; i < 13; ++i) {
        const double t = i == 0 ? 0.0 : i == 12 ? 11.0 : i - 0.5;
        Evaluate(s, t, x, y);
        EXPECT_NEAR(x, circle[2 * i], 2e-6) << i;
        EXPECT_NEAR(y, circle[2 * i + 1], 2e-6) << i;
        EXPECT_NEAR(s.fx[i], circle[2 * i], 1e-6);
    }
    // At a radius of 1e12 rounding alone exceeds 1e-7: the last sweep
    // is written after the warning.
    for (double& c : circle) c *= 1e12;
    s = OneSpline(circle);
    ASSERT_FALSE(gui.texts(2).empty());
    EXPECT_EQ(gui.texts(2).back(), "Could not fit spline to points.");
    Evaluate(s, 5.5, x, y);
    EXPECT_NEAR(x, circle[12], 1e7);

    CKpPointArray one;
    one.pPoint(0);
    EXPECT_EQ(SaveDxfSpline(&log, nullptr, 1, &one, 257, "L"), -1);
}

// "SPLINE" style: an outline is a chain of splines meeting at its corners
// (plot flag 2); each outline's handles start again at 101.
TEST_F(DxfTest, SplineOutlinesSplitAtCorners) {
    // Corners at (0,0), (2,0) and the closing point; (1,0.2) and (1,1.5)
    // are kept for the chord (flag 1), (1.5,1) is dropped.
    AddOutline({{0, 0, 2}, {1, 0.2, 1}, {2, 0, 2}, {1.5, 1, 0}, {1, 1.5, 1}, {0, 0, 2}});
    AddOutline({{0, 0, 2}, {1, 0, 2}, {0, 1, 2}, {0, 0, 2}});
    ASSERT_EQ(gen_flat_pat_dxf(&log, &file, &pat, &flats, "P", "SPLINE", 32), 0);
    const std::vector<Spline> s = Splines(Pairs(path));
    ASSERT_EQ(s.size(), 5u);
    EXPECT_EQ(s[0].handle, "101");
    EXPECT_EQ(s[1].handle, "102");
    EXPECT_EQ(s[2].handle, "101");
    EXPECT_EQ(s[4].handle, "103");
    EXPECT_EQ(s[0].nFit, 3);
    EXPECT_EQ(s[1].nFit, 3);
    // Consecutive splines share their meeting point (model units, step 2).
    EXPECT_EQ(s[0].fx.back(), 4.0);
    EXPECT_EQ(s[1].fx.front(), 4.0);
    EXPECT_EQ(s[1].fx[1], 2.0);
    EXPECT_EQ(s[1].fy[1], 3.0);
    EXPECT_EQ(s[3].degree, 1);
    EXPECT_EQ(s[0].layer, "P");
}

// Fibres of a hand-built grid: row j = 0 runs from a crossing through
// (0,0) (1,0) to a crossing; row j = 1 has (0,1) (1,1) and ends without
// crossing at the end of the range, where its polyline is still ended.
TEST_F(DxfTest, DrapedFibresAreClosedPolylines) {
    CKpDrape grid;
    for (int j = 0; j <= 1; ++j)
        for (int i = 0; i <= 1; ++i) {
            CKpDrapePt* p = new CKpDrapePt;
            CKpPoint pos;
            pos.Set(i, j, 0.5);
            p->SetPoint(pos);
            if (j == 0) {
                CKpPoint end;
                end.Set(i == 0 ? -0.5 : 1.5, 0, 0.5);
                p->SetEndFrac(i == 0 ? 2 : 0, 0.5);
                p->SetEndPoint(i == 0 ? 2 : 0, end);
            }
            ASSERT_EQ(grid.pDrapePt(i, j, p), 0);
        }
    ASSERT_EQ(gen_draped_pat_dxf(&log, &file, nullptr, nullptr, &grid, "D", 2 | 8), 0);
    const std::string text = exportread::Text(path);
    auto vertex = [](const char* layer, const char* x, const char* y) {
        return std::string("0  \nVERTEX\n  8\n") + layer + "\n 10\n" + x + "\n 20\n" + y +
               "\n 30\n0.500000\n 70\n    32\n";
    };
    const std::string warp = "  0\nPOLYLINE\n  8\nD_princ_warp\n 66\n     1\n 70\n     8\n" +
                             vertex("D_princ_warp", "-0.500000", "0.000000") +
                             vertex("D_princ_warp", "0.000000", "0.000000") +
                             vertex("D_princ_warp", "1.000000", "0.000000") +
                             vertex("D_princ_warp", "1.500000", "0.000000") +
                             "0  \nSEQEND\n  8\nD_princ_warp\n";
    const std::string row = "  0\nPOLYLINE\n  8\nD_warp\n 66\n     1\n 70\n     8\n" +
                            vertex("D_warp", "0.000000", "1.000000") +
                            vertex("D_warp", "1.000000", "1.000000") + "0  \nSEQEND\n  8\nD_warp\n";
    EXPECT_EQ(text, kHead + warp + row + kTail);
}
