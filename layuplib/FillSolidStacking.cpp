#include "layuplib/FillSolidStacking.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "layuplib/CSVParser.h"
#include "layuplib/Messages.h"

namespace SolidElements {

namespace {

// Reads `field` as a number: blanks around it allowed, nothing else.
bool parseNumber(const std::string& field, double& value) {
    size_t first = field.find_first_not_of(" \t");
    if (first == std::string::npos) return false;
    size_t last = field.find_last_not_of(" \t");
    const std::string text = field.substr(first, last - first + 1);
    if (text.find('\0') != std::string::npos) return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(value);
}

void record(Messages& messages, const char* path, int line, const char* what) {
    std::string text = std::string("File ") + path + ", line " + std::to_string(line) + what;
    messages.AddMessage(text.c_str(), Messages::eError);
}

}  // namespace

int FillSolidStacking::Read(const char* path, Messages& messages) {
    if (!path) return 1;
    CSVParser parser;
    if (parser.Open(path) != 0) {
        messages.AddMessage((std::string("Unable to open file ") + path).c_str(), Messages::eError);
        return 2;
    }
    int line = 0;
    try {
        std::vector<std::string> fields;
        while (parser.ReadNextLine(fields) == 0) {
            ++line;
            if (fields.size() != 4) {
                record(messages, path, line, " should have 4 fields");
                return 3;
            }
            for (const std::string& f : fields)
                if (f.empty()) {
                    record(messages, path, line, " has empty fields");
                    return 4;
                }
            double thickness = 0.0, angle = 0.0;
            if (!parseNumber(fields[2], thickness) || thickness < 0.0 ||
                !parseNumber(fields[3], angle)) {
                record(messages, path, line, " has an invalid number");
                return 5;
            }
            m_layers.push_back(std::make_unique<SolidStackingLayer>(fields[0], fields[1], thickness,
                                                                    angle * 0.0174532925199433));
        }
    } catch (...) {
        try {
            record(messages, path, line, " could not be stored");
        } catch (...) {
        }
        return 6;
    }
    return 0;
}

double FillSolidStacking::GetThickness() const {
    double sum = 0.0;
    for (const auto& layer : m_layers) sum += layer->GetThickness();
    return sum;
}

}  // namespace SolidElements
