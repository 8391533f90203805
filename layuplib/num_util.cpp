#include "layuplib/num_util.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

double PctRat(double r) {
    return r * 100.0;
}

double RatPct(double p) {
    return p / 100.0;
}

double square(double x) {
    return x * x;
}

double SetZero(double tol, double x) {
    return std::fabs(x) < tol ? 0.0 : x;
}

int cmp_int(const void* a, const void* b) {
    const int ia = *static_cast<const int*>(a);
    const int ib = *static_cast<const int*>(b);
    if (ia > ib) return 1;
    if (ia < ib) return -1;
    return 0;
}

int cleanIntArray(int* n, int* ids) {
    if (!n) return -1;
    if (*n < 1) return 0;
    if (!ids) return -1;
    std::qsort(ids, static_cast<size_t>(*n), sizeof(int), cmp_int);
    int kept = 0;
    for (int i = 0; i < *n; ++i) {
        if (ids[i] < 1) continue;
        if (kept > 0 && ids[kept - 1] == ids[i]) continue;
        ids[kept++] = ids[i];
    }
    *n = kept;
    return 0;
}

int matrix_invert(const double a[3][3], double inv[3][3]) {
    if (!a || !inv) return -1;
    double cof[3][3];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            // Cyclic indices give the signed cofactor without a sign table.
            const int i1 = (i + 1) % 3, i2 = (i + 2) % 3;
            const int j1 = (j + 1) % 3, j2 = (j + 2) % 3;
            cof[i][j] = a[i1][j1] * a[i2][j2] - a[i1][j2] * a[i2][j1];
        }
    }
    const double det = a[0][0] * cof[0][0] + a[0][1] * cof[0][1] + a[0][2] * cof[0][2];
    if (det == 0.0 || !std::isfinite(det)) return -1;

    // The inverse is the transposed cofactor matrix over the determinant; it
    // is built aside so that a failure leaves inv unchanged.
    double r[3][3];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            r[i][j] = cof[j][i] / det;
            if (!std::isfinite(r[i][j])) return -1;
        }
    }
    std::memcpy(inv, r, sizeof r);
    return 0;
}

void matrix_multiply(const double a[3][3], const double b[3][3], double c[3][3]) {
    if (!a || !b || !c) return;
    double r[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    std::memcpy(c, r, sizeof r);
}

char* StringStripLeadTrail(char* s) {
    if (!s) return s;
    size_t len = std::strlen(s);
    while (len > 0 && s[len - 1] == ' ') --len;
    s[len] = '\0';
    size_t lead = 0;
    while (s[lead] == ' ') ++lead;
    if (lead > 0) std::memmove(s, s + lead, len - lead + 1);
    return s;
}

char* StringStripSpaces(char* s) {
    if (!s) return s;
    size_t out = 0;
    int run = 0;
    for (size_t in = 0; s[in] != '\0'; ++in) {
        run = (s[in] == ' ') ? run + 1 : 0;
        if (run <= 2) s[out++] = s[in];
    }
    s[out] = '\0';
    return s;
}
