#include "layuplib/fortreal.h"

#include <cmath>
#include <cstdio>

namespace {

const int kBufferSize = 24;

// x / 10^e without overflowing 10^e at the ends of the double range.
double ScaleDown(double x, int e) {
    int half = e / 2;
    return x / std::pow(10.0, half) / std::pow(10.0, e - half);
}

char* Format(char* buffer, double x, int width, int decimals) {
    // Width of "m.dddE+ee": mantissa field, 'E', sign and two digits.
    const int total = width + 4;
    if (!std::isfinite(x)) {
        const char* text = std::isnan(x) ? "nan" : (x < 0 ? "-inf" : "inf");
        std::snprintf(buffer, kBufferSize, "%*s", total, text);
        return buffer;
    }
    if (x == 0.0) {
        std::snprintf(buffer, kBufferSize, "%*.*fE%+03d", width, decimals, 0.0, 0);
        return buffer;
    }
    int e = static_cast<int>(std::floor(std::log10(std::fabs(x)))) + 1;
    double m = ScaleDown(x, e);
    // log10 may land one off near powers of ten.
    if (std::fabs(m) >= 1.0) {
        m /= 10.0;
        ++e;
    } else if (std::fabs(m) < 0.1) {
        m *= 10.0;
        --e;
    }
    char mantissa[kBufferSize];
    std::snprintf(mantissa, sizeof(mantissa), "%.*f", decimals, std::fabs(m));
    if (mantissa[0] == '1') {
        // Rounded up to 1.000...: the mantissa becomes 0.100... of the next
        // power of ten.
        m /= 10.0;
        ++e;
    }
    std::snprintf(buffer, kBufferSize, "%*.*fE%+03d", width, decimals, m, e);
    return buffer;
}

}  // namespace

char* fortreal03(double x) {
    static char buffer[kBufferSize];
    return Format(buffer, x, 6, 3);
}

char* fortreal06(double x) {
    static char buffer[kBufferSize];
    return Format(buffer, x, 9, 6);
}

char* fortreal09(double x) {
    static char buffer[kBufferSize];
    return Format(buffer, x, 12, 9);
}

char* fortreal12(double x) {
    static char buffer[kBufferSize];
    return Format(buffer, x, 15, 12);
}
