// The layup reader's number fields must read every token exactly as
// ParseInt and ParseReal do: same acceptance, same bits.
#include "layuplib/read_lyp_numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "layuplib/number_text.h"

namespace {

// The token followed by a blank and padding, as in a read line.
struct Padded {
    explicit Padded(const std::string& token) : bytes(token.size() + 80, '\0') {
        std::memcpy(bytes.data(), token.data(), token.size());
        bytes[token.size()] = ' ';
    }
    std::vector<char> bytes;
};

// Both parsers on one token; a failure message names the token.
void ExpectSame(const std::string& token) {
    const Padded a(token);
    double want = 0.0, got = 0.0;
    const bool wantOk = ParseReal(a.bytes.data(), token.size(), want);
    const bool gotOk = lyp_numbers::ReadReal(a.bytes.data(), token.size(), got);
    ASSERT_EQ(gotOk, wantOk) << "real '" << token << "'";
    if (wantOk) {
        uint64_t wb, gb;
        std::memcpy(&wb, &want, 8);
        std::memcpy(&gb, &got, 8);
        ASSERT_EQ(gb, wb) << "real '" << token << "' " << want << " vs " << got;
    }
    int wi = -7, gi = -7;
    const bool wantInt = ParseInt(a.bytes.data(), token.size(), wi);
    const bool gotInt = lyp_numbers::ReadInt(a.bytes.data(), token.size(), gi);
    ASSERT_EQ(gotInt, wantInt) << "int '" << token << "'";
    if (wantInt) {
        ASSERT_EQ(gi, wi) << "int '" << token << "'";
    }
}

}  // namespace

TEST(LypNumbers, EdgeTokensReadAsTheGeneralParsers) {
    const char* tokens[] = {
        "0",
        "-0",
        "+0",
        "1",
        "-1",
        "+5",
        "7",
        "12345678",
        "-12345678",
        "99999999",
        "100000000",
        "123456789",
        "2147483647",
        "2147483648",
        "-2147483648",
        "-2147483649",
        "00000000",
        "000000001",
        "0.",
        ".5",
        "-.5",
        ".",
        "-",
        "+",
        "e5",
        "1e",
        "1e+",
        "1E-",
        "1E-05",
        "1.5707963",
        "0.087266463",
        "-1.2345678E-308",
        "1E+08",
        "1e22",
        "1e23",
        "1e-22",
        "1e-23",
        "12345678.12345678",
        "99999999.9999999",
        "9999999.99999999",
        "1234567.89012345",
        "0.000000000000001",
        "0.0000000000000001",
        "12345678.1E-22",
        "1.E5",
        ".1E5",
        "1.2.3",
        "1e5e5",
        "1ee5",
        "1E+0",
        "1E-0",
        "1E000",
        "1E0001",
        "1E999",
        "--1",
        "1-",
        "12a",
        "a12",
        "0x10",
        "0x1p3",
        "inf",
        "-inf",
        "nan",
        "INF",
        "1.5 ",
        "1,5",
        "1\xfe",
        "\xfe",
        "123456789012345",
        "1234567890123456",
        "00000000000000001",
        "3.14159265358979323846",
        "4.9e-324",
        "1.7976931348623157e308",
        "1e400",
        "-1e-400",
        "0e999999",
        "1E-5x",
        "5.E-3",
        "-0.0",
        "-0.E1",
        "0.1",
        "0.3",
        "1234.5678E+12",
        "1234.5678E-12",
        "1234.5678e12",
    };
    for (const char* t : tokens) ExpectSame(t);
    ExpectSame(std::string());
}

TEST(LypNumbers, RandomTokensReadAsTheGeneralParsers) {
    std::mt19937_64 rng(38);
    const char alphabet[] = "0123456789.Ee+-x ";
    auto digits = [&](std::string& s, int n) {
        for (int i = 0; i < n; ++i) s += static_cast<char>('0' + rng() % 10);
    };
    for (int i = 0; i < 200000; ++i) {
        std::string s;
        if (rng() % 3 == 0) s += rng() % 4 == 0 ? '+' : '-';
        digits(s, static_cast<int>(rng() % 11));
        if (rng() % 2) {
            s += '.';
            digits(s, static_cast<int>(rng() % 11));
        }
        if (rng() % 3 == 0) {
            s += rng() % 2 ? 'E' : 'e';
            if (rng() % 2) s += rng() % 2 ? '-' : '+';
            digits(s, static_cast<int>(rng() % 5));
        }
        if (rng() % 8 == 0 && !s.empty())  // a stray byte anywhere
            s[rng() % s.size()] = alphabet[rng() % (sizeof alphabet - 2)];
        ExpectSame(s);
    }
    // The writer's own texts of doubles of every decade.
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    for (int i = 0; i < 200000; ++i) {
        const double value = mantissa(rng) * std::pow(10.0, static_cast<int>(rng() % 80) - 40);
        char text[NUMBER_TEXT_MAX];
        ExpectSame(std::string(text, FormatG8(text, value)));
    }
}
