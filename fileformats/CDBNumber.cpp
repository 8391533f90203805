#include "fileformats/CDBNumber.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Whether the text reads back as `value` within `rel` relative.
bool readsBack(const char* text, double value, double rel) {
    const double back = std::strtod(text, nullptr);
    return std::fabs(back - value) <= rel * std::fabs(value);
}

}  // namespace

int CdbFormatF16(char* out, double value) {
    if (!std::isfinite(value)) return std::snprintf(out, 32, "%16.9f", value);
    // Fixed point holds 9 decimals: from 0.01 up the relative error stays
    // below 5e-8, so only smaller values need the read-back test.
    if (value > -1e5 && value < 1e6) {
        int n = std::snprintf(out, 32, "%16.9f", value);
        if (n == 16 && (value == 0.0 || std::fabs(value) >= 0.01 || readsBack(out, value, 1e-7)))
            return n;
    }
    for (int digits = 9; digits >= 6; --digits) {
        int n = std::snprintf(out, 32, "%16.*E", digits, value);
        if (n <= 16) return n;
    }
    return std::snprintf(out, 32, "%16.6E", value);
}

int CdbFormatSec(char* out, double value) {
    int n = std::snprintf(out, 32, "%13.6f", value);
    if (!std::isfinite(value) || (n <= 24 && readsBack(out, value, 1e-6))) return n;
    return std::snprintf(out, 32, "%13.9G", value);
}

int CdbFormatOffset(char* out, double value) {
    int n = std::snprintf(out, 32, "%8.5f", value);
    if (!std::isfinite(value) || (n <= 24 && readsBack(out, value, 1e-6))) return n;
    return std::snprintf(out, 32, "%8.9G", value);
}

bool CdbToInt(double value, int& out) {
    if (!std::isfinite(value)) return false;
    const double t = std::trunc(value);
    if (t < static_cast<double>(INT_MIN) || t > static_cast<double>(INT_MAX)) return false;
    out = static_cast<int>(t);
    return true;
}
