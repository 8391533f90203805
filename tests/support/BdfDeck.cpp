#include "tests/support/BdfDeck.h"

#include <cstdio>

#include "tests/support/MeshGen.h"

namespace bdfdeck {

namespace {

// One card from its fields (name first, then up to 8 data fields a line).
void Card(std::string& out, Layout layout, const std::vector<std::string>& fields) {
    char buf[64];
    if (layout == Layout::Free) {
        // Name and 8 data fields a line; continuation lines start with ",".
        out += fields[0];
        for (size_t i = 1; i < fields.size(); ++i) {
            if (i > 1 && (i - 1) % 8 == 0) out += '\n';
            out += ',';
            out += fields[i];
        }
        out += '\n';
        return;
    }
    const bool large = layout == Layout::Large;
    const int width = large ? 16 : 8;
    const int perLine = large ? 4 : 8;
    size_t i = 1;
    std::string name = fields[0] + (large ? "*" : "");
    std::snprintf(buf, sizeof buf, "%-8s", name.c_str());
    out += buf;
    int onLine = 0;
    for (; i < fields.size(); ++i) {
        if (onLine == perLine) {
            out += large ? "\n*       " : "\n        ";
            onLine = 0;
        }
        std::snprintf(buf, sizeof buf, "%*s", width, fields[i].c_str());
        out += buf;
        ++onLine;
    }
    out += '\n';
    if (large && fields.size() <= 5) out += "*\n";
}

std::string Real(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4f", v);
    return buf;
}

}  // namespace

std::string Plate(int nx, int ny, Layout layout) {
    meshgen::Mesh mesh = meshgen::Plate(meshgen::Kind::Quad4, nx, ny, nx, ny);
    std::string out;
    out.reserve(static_cast<size_t>(mesh.numElems()) * 120 + 1000);
    out += "$ generated plate deck\nSOL 101\nCEND\nBEGIN BULK\n";
    Card(out, layout, {"CORD2R", "7", "0", "0.", "0.", "0.", "0.", "0.", "1.", "1.", "1.", "0."});
    Card(out, layout,
         {"MAT8", "1", "1.4+11", "9.+9", ".3", "5.+9", "5.+9", "3.+9", "1600.", "", "", "", "1.5+9",
          "1.2+9", "5.+7", "2.+8", "7.+7"});
    Card(out, layout, {"PCOMP", "10",   "",    "",    "",     "",     "",    "",    "",
                       "1",     ".125", "0.",  "YES", "1",    ".125", "45.", "YES", "1",
                       ".125",  "-45.", "YES", "1",   ".125", "90.",  "YES"});
    for (int e = 0; e < mesh.numElems(); ++e) {
        const int* r = mesh.row(e);
        int id = mesh.elemIds[e];
        std::vector<std::string> f = {"CQUAD4",
                                      std::to_string(id),
                                      "10",
                                      std::to_string(r[0]),
                                      std::to_string(r[1]),
                                      std::to_string(r[2]),
                                      std::to_string(r[3])};
        if (id % 3 == 1) f.push_back("30.");
        if (id % 3 == 2) f.push_back("7");
        Card(out, layout, f);
    }
    for (int n = 0; n < mesh.numNodes(); ++n) {
        const double* p = &mesh.xyz[3 * static_cast<size_t>(n)];
        Card(out, layout,
             {"GRID", std::to_string(mesh.nodeIds[n]), "", Real(p[0]), Real(p[1]), Real(p[2])});
    }
    out += "ENDDATA\n";
    return out;
}

bool WritePlate(const std::string& path, int nx, int ny, Layout layout) {
    std::string text = Plate(nx, ny, layout);
    FILE* fp = std::fopen(path.c_str(), "wb");
    if (!fp) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), fp) == text.size();
    return std::fclose(fp) == 0 && ok;
}

}  // namespace bdfdeck
