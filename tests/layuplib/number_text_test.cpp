#include "layuplib/number_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

// 10^5 doubles where "%.8G" is easy to get wrong: zeros, the ends of the
// fixed form (1E-5, 1E-4, 1E+8) and values just beside them, exact ties at
// the eighth digit, subnormals, infinities, NaNs, and random bit patterns.
std::vector<double> HardValues() {
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> v = {0.0,
                             -0.0,
                             1e-5,
                             -1e-5,
                             1e-4,
                             9.99999995e-5,
                             9.9999999e-5,
                             0.000099999999,
                             99999999.0,
                             99999999.5,
                             99999999.4,
                             1e8,
                             -1e8,
                             1e100,
                             1e-100,
                             std::numeric_limits<double>::denorm_min(),
                             -std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::min(),
                             std::numeric_limits<double>::max(),
                             -std::numeric_limits<double>::max(),
                             inf,
                             -inf,
                             std::nan(""),
                             -std::nan(""),
                             0.5,
                             0.125,
                             1234567.25,
                             1234567.75,
                             123456785.0,
                             123456775.0,
                             0.087266462599716474};
    std::mt19937_64 rng(20261207);
    for (int e = -330; e <= 310; ++e) {
        const double p = std::pow(10.0, e);
        v.insert(v.end(), {p, std::nextafter(p, 0.0), std::nextafter(p, inf), -p});
    }
    while (v.size() < 100000) {
        const uint64_t bits = rng();
        double d = 0.0;
        switch (v.size() % 4) {
            case 0:
                std::memcpy(&d, &bits, sizeof d);
                break;
            case 1:  // a mantissa at any decade a model may hold
                d = std::ldexp(static_cast<double>(bits >> 11), -53) *
                    std::pow(10.0, static_cast<int>(rng() % 40) - 20);
                break;
            case 2:  // nine digits ending in 5: an exact tie when it is an integer
                d = static_cast<double>(100000000 + bits % 900000000 / 10 * 10 + 5) *
                    std::pow(2.0, static_cast<int>(rng() % 9) - 4);
                break;
            default:  // the sums a drape leaves, of a few decimals
                d = 0.1 * static_cast<double>(bits % 40) + 1e-5 * static_cast<double>(rng() % 1000);
        }
        v.push_back(d);
    }
    return v;
}

std::string Printf(const char* format, double d) {
    char text[64];
    std::snprintf(text, sizeof text, format, d);
    return text;
}

std::string G8(double d) {
    char text[NUMBER_TEXT_MAX];
    return std::string(text, FormatG8(text, d));
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

TEST(NumberText, FormatG8MatchesPrintfOnHardValues) {
    int wrong = 0;
    for (double d : HardValues()) {
        const std::string expected = Printf("%.8G", d);
        if (G8(d) != expected && ++wrong <= 10)
            ADD_FAILURE() << std::hexfloat << d << ": " << G8(d) << " instead of " << expected;
    }
    EXPECT_EQ(wrong, 0);
}

TEST(NumberText, ParseRealReadsWhatStrtodReads) {
    // Every value in the two forms the files hold (the writer's eight
    // digits, and the full seventeen of other writers).
    int wrong = 0;
    for (double d : HardValues())
        for (const char* format : {"%.8G", "%.17g"}) {
            const std::string text = Printf(format, d);
            double got = 0.0;
            const double expected = std::strtod(text.c_str(), nullptr);
            if ((!ParseReal(text.c_str(), text.size(), got) || !SameBits(got, expected)) &&
                ++wrong <= 10)
                ADD_FAILURE() << text;
        }
    EXPECT_EQ(wrong, 0);

    // Forms from_chars refuses and strtod takes, and out-of-range values.
    const struct {
        const char* text;
        double value;
    } accepted[] = {
        {"+1.5", 1.5},   {"0x1p3", 8.0},     {"1e400", HUGE_VAL},    {"-1e400", -HUGE_VAL},
        {"1e-400", 0.0}, {"4e-320", 4e-320}, {"infinity", HUGE_VAL}, {"-INF", -HUGE_VAL},
        {".5", 0.5},     {"5.", 5.0},        {"+.5E+1", 5.0}};
    for (const auto& c : accepted) {
        double got = -7.0;
        EXPECT_TRUE(ParseReal(c.text, std::strlen(c.text), got)) << c.text;
        EXPECT_TRUE(SameBits(got, c.value)) << c.text << " read as " << got;
    }
    double nan = 0.0;
    EXPECT_TRUE(ParseReal("nan", 3, nan));
    EXPECT_TRUE(std::isnan(nan));
    for (const char* bad : {"", "1e", "1.5x", "--1", "+", "e5", "1,5", "0x", "1.5.2"}) {
        double got = 0.0;
        EXPECT_FALSE(ParseReal(bad, std::strlen(bad), got)) << '"' << bad << '"';
    }
    // Only the token counts, not what follows it on the line.
    double got = 0.0;
    EXPECT_TRUE(ParseReal("2.5 7", 3, got));
    EXPECT_EQ(got, 2.5);
}

TEST(NumberText, IntegersAsPrintfWritesAndTheWholeTokenRead) {
    for (int v : {0, 7, -5, 42, 999, 1000, -1000, 123456, INT_MAX, INT_MIN}) {
        char text[16];
        char expected[16];
        std::snprintf(expected, sizeof expected, "%d", v);
        EXPECT_EQ(std::string(text, FormatInt(text, v)), expected);
        std::snprintf(expected, sizeof expected, "%03d", v);
        EXPECT_EQ(std::string(text, FormatInt03(text, v)), expected);
    }
    const struct {
        const char* text;
        bool ok;
        int value;
    } cases[] = {{"+7", true, 7},
                 {"-2147483648", true, INT_MIN},
                 {"2147483647", true, INT_MAX},
                 {"2147483648", false, 0},
                 {"-2147483649", false, 0},
                 {"12a", false, 0},
                 {"-", false, 0},
                 {"", false, 0},
                 {"1.0", false, 0},
                 {"-000000000000042", true, -42},
                 {"99999999999999999999", false, 0}};
    for (const auto& c : cases) {
        int got = -99;
        EXPECT_EQ(ParseInt(c.text, std::strlen(c.text), got), c.ok) << c.text;
        EXPECT_EQ(got, c.ok ? c.value : -99) << c.text;
    }
}

TEST(NumberText, LinesFitTheirBufferOrFailWhole) {
    char buffer[64];
    NumberLine line(buffer, sizeof buffer);
    line.Code(102)
        .Real(1.5)
        .Real(-2.0)
        .Real(1e-9)
        .Int(-3)
        .Text(
            "a\xFE"
            "b")
        .End();
    EXPECT_STREQ(buffer,
                 "102 1.5 -2 1E-09 -3 a\xFE"
                 "b\n");
    EXPECT_EQ(line.Length(), static_cast<int>(std::strlen(buffer)));

    // "430 0.33333333\n" is 15 characters: 16 bytes hold it with its
    // terminator, 15 do not, whichever way the real is written.
    for (size_t size : {size_t{15}, size_t{16}, size_t{40}}) {
        std::vector<char> room(size, 'x');
        NumberLine l(room.data(), size);
        l.Code(430).Real(1.0 / 3.0).End();
        if (size < 16) {
            EXPECT_EQ(l.Length(), -1);
            EXPECT_STREQ(room.data(), "");
        } else {
            EXPECT_EQ(l.Length(), 15);
            EXPECT_STREQ(room.data(), "430 0.33333333\n");
        }
    }
    NumberLine none(nullptr, 0);
    none.Code(1).End();
    EXPECT_EQ(none.Length(), -1);
}

}  // namespace
