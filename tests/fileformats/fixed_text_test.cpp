#include "fileformats/fixed_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

std::string Fixed(double v) {
    char text[FIXED6_TEXT_MAX];
    return std::string(text, FormatFixed6(text, v));
}

std::string Printf(double v) {
    char text[400];
    std::snprintf(text, sizeof text, "%lf", v);
    return text;
}

}  // namespace

TEST(FormatFixed6, SpecialValuesTiesAndRangeEdgesAsPrintf) {
    const double cases[] = {0.0, -0.0, 1.0 / 128, -1.0 / 128, 3.0 / 128, 0.0000005, 0.0000015,
                            -5e-7, -4e-7, 2.5e-7, 0.9999995, 0.99999949999999, 123456789.0000005,
                            999999999.9999995, 999999999.99999999, 1e9, -1e9, 1e15 + 0.5, 1e300,
                            -1e-300, std::numeric_limits<double>::max(),
                            std::numeric_limits<double>::denorm_min(), HUGE_VAL, -HUGE_VAL,
                            std::nan(""), -std::nan("")};
    for (double v : cases) EXPECT_EQ(Fixed(v), Printf(v)) << v;
    EXPECT_EQ(Fixed(1.0 / 128), "0.007812");  // half of the last decimal: to even
    EXPECT_EQ(Fixed(3.0 / 128), "0.023438");
    EXPECT_EQ(Fixed(-1e-9), "-0.000000");
}

TEST(FormatFixed6, RandomValuesOfEveryMagnitudeAsPrintf) {
    std::mt19937_64 rng(11);
    int differ = 0;
    for (int i = 0; i < 300000; ++i) {
        double v;
        switch (i % 4) {
            case 0:  // halves and near-halves of the last decimal
                v = (static_cast<double>(rng() % 2000000000) + 0.5) / 1e6;
                break;
            case 1:  // binary fractions with few bits
                v = std::ldexp(static_cast<double>(rng() % 100000000), -static_cast<int>(rng() % 30));
                break;
            default: {  // any bit pattern, brought below 1e10 when larger
                std::uint64_t bits = rng();
                std::memcpy(&v, &bits, sizeof v);
                if (!(std::fabs(v) < 1e10)) v = std::ldexp(static_cast<double>(rng() % 1000), -9);
            }
        }
        if (rng() % 2) v = -v;
        if (Fixed(v) != Printf(v) && ++differ < 5) ADD_FAILURE() << Printf(v) << " " << Fixed(v);
    }
    EXPECT_EQ(differ, 0);
}
