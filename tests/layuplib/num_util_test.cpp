#include "layuplib/num_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>

#include "tests/support/Tolerance.h"

TEST(NumUtilTest, CleanIntArray) {
    int ids[] = {5, -2, 3, 5, 0, 3};
    int n = 6;
    ASSERT_EQ(cleanIntArray(&n, ids), 0);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(ids[0], 3);
    EXPECT_EQ(ids[1], 5);

    // Extreme values sort correctly (a subtraction comparator would overflow).
    int ext[] = {std::numeric_limits<int>::max(), 1, std::numeric_limits<int>::min(), 1};
    n = 4;
    ASSERT_EQ(cleanIntArray(&n, ext), 0);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(ext[1], std::numeric_limits<int>::max());

    n = 3;
    EXPECT_EQ(cleanIntArray(&n, nullptr), -1);
    n = 0;
    EXPECT_EQ(cleanIntArray(&n, nullptr), 0);
}

TEST(NumUtilTest, MatrixInvertTimesMatrixIsIdentity) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-5.0, 5.0);
    for (int k = 0; k < 200; ++k) {
        double a[3][3], inv[3][3], prod[3][3];
        for (auto& row : a)
            for (double& v : row) v = u(rng);
        ASSERT_EQ(matrix_invert(a, inv), 0);
        matrix_multiply(inv, a, prod);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                ASSERT_TRUE(Near(prod[i][j], i == j ? 1.0 : 0.0, Tol{1e-8, 0}))
                    << "case " << k << " entry " << i << "," << j;
    }
    // In place: a matrix replaced by its inverse.
    double m[3][3] = {{2, 0, 0}, {0, 4, 0}, {1, 0, 1}};
    ASSERT_EQ(matrix_invert(m, m), 0);
    EXPECT_EQ(m[1][1], 0.25);
    EXPECT_EQ(m[2][0], -0.5);
}

TEST(NumUtilTest, MatrixInvertRefusesSingularAndNonFinite) {
    const double sentinel[3][3] = {{9, 9, 9}, {9, 9, 9}, {9, 9, 9}};
    double inv[3][3];
    std::memcpy(inv, sentinel, sizeof inv);
    const double singular[3][3] = {{1, 2, 3}, {2, 4, 6}, {0, 1, 1}};
    EXPECT_EQ(matrix_invert(singular, inv), -1);
    const double withNan[3][3] = {{1, 0, 0}, {0, std::nan(""), 0}, {0, 0, 1}};
    EXPECT_EQ(matrix_invert(withNan, inv), -1);
    const double huge[3][3] = {{1e200, 0, 0}, {0, 1e200, 0}, {0, 0, 1e200}};  // det overflows
    EXPECT_EQ(matrix_invert(huge, inv), -1);
    EXPECT_EQ(std::memcmp(inv, sentinel, sizeof inv), 0);
}

TEST(NumUtilTest, StringStrip) {
    char s1[] = "a     b";
    EXPECT_STREQ(StringStripSpaces(s1), "a  b");
    char s2[] = "   x  y z    ";
    EXPECT_STREQ(StringStripSpaces(s2), "  x  y z  ");
    char s3[] = "   two words \t ";
    EXPECT_STREQ(StringStripLeadTrail(s3), "two words \t");
    char s4[] = "    ";
    EXPECT_STREQ(StringStripLeadTrail(s4), "");
    char s5[] = "";
    EXPECT_STREQ(StringStripSpaces(s5), "");
    EXPECT_EQ(StringStripLeadTrail(nullptr), nullptr);
}
