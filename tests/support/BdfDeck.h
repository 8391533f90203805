#ifndef PLYSTRAND_TESTS_SUPPORT_BDFDECK_H
#define PLYSTRAND_TESTS_SUPPORT_BDFDECK_H

#include <string>

// Generated bulk data decks for round trips, benchmarks and fuzz seeds: an
// nx x ny plate of CQUAD4 elements (meshgen::Plate, 1 x 1 cells at z 0)
// with its GRID points, one MAT8 (id 1) and one PCOMP (id 10, four plies
// 0/45/-45/90 of 0.125). Element k (from 1) is oriented by THETA 30.0 when
// k % 3 == 1, by frame 7 (a CORD2R) when k % 3 == 2, and not at all else.
namespace bdfdeck {

enum class Layout { Small, Large, Free };

std::string Plate(int nx, int ny, Layout layout);

// Writes Plate(nx, ny, layout) to `path`; false when the file cannot be
// written.
bool WritePlate(const std::string& path, int nx, int ny, Layout layout);

}  // namespace bdfdeck

#endif  // PLYSTRAND_TESTS_SUPPORT_BDFDECK_H
