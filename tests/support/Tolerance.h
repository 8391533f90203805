#ifndef PLYSTRAND_TESTS_SUPPORT_TOLERANCE_H
#define PLYSTRAND_TESTS_SUPPORT_TOLERANCE_H

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <string>

// Named tolerances per quantity: a value passes when it is within the
// absolute bound or within the relative bound of the expected value.
struct Tol {
    double abs;
    double rel;
};

namespace tol {
constexpr Tol length{1e-9, 1e-12};
constexpr Tol angle{1e-12, 1e-12};
constexpr Tol stiffness{1e-6, 1e-9};
constexpr Tol loose{1e-6, 1e-6};
}  // namespace tol

inline bool withinTol(double actual, double expected, Tol t) {
    if (std::isnan(actual) || std::isnan(expected)) return false;
    double d = std::fabs(actual - expected);
    return d <= t.abs || d <= t.rel * std::fabs(expected);
}

inline ::testing::AssertionResult Near(double actual, double expected, Tol t) {
    if (withinTol(actual, expected, t)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "got " << actual << ", expected " << expected << " (abs " << t.abs << ", rel "
           << t.rel << ")";
}

// Compares n entries and names the first that differs.
template <typename A, typename B>
::testing::AssertionResult NearArray(const A& actual, const B& expected, std::size_t n, Tol t) {
    for (std::size_t i = 0; i < n; ++i)
        if (!withinTol(actual[i], expected[i], t))
            return ::testing::AssertionFailure()
                   << "entry " << i << ": got " << actual[i] << ", expected " << expected[i];
    return ::testing::AssertionSuccess();
}

#endif  // PLYSTRAND_TESTS_SUPPORT_TOLERANCE_H
