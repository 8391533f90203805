#ifndef PLYSTRAND_TESTS_SUPPORT_STACKINGFILE_H
#define PLYSTRAND_TESTS_SUPPORT_STACKINGFILE_H

#include <string>
#include <vector>

// Writes stacking files for the fill-solid tests: comma-separated lines of
// name, material, thickness and angle in degrees.
namespace stackfile {

struct Layer {
    std::string name;
    std::string material;
    double thickness;
    double angleDeg;
};

// A path in the test temp directory unique to this process and `stem`; the
// file is removed when the program ends.
std::string TempPath(const std::string& stem);

// Writes one line per layer ("%s,%s,%.17g,%.17g\n"), after a comment line.
// Returns the path.
std::string Write(const std::string& path, const std::vector<Layer>& layers);

// Writes `bytes` exactly (NULs included). Returns the path.
std::string WriteText(const std::string& path, const std::string& bytes);

}  // namespace stackfile

#endif  // PLYSTRAND_TESTS_SUPPORT_STACKINGFILE_H
