#include "fileformats/CBDFCardGenerator.h"

#include <cstring>

#include "fileformats/CBDFFieldParser.h"

CBDFCardGenerator::CBDFCardGenerator() = default;

CBDFCardGenerator::~CBDFCardGenerator() = default;

CBDFCard* CBDFCardGenerator::GetCard(const char* name) {
    if (!name) return nullptr;
    struct Entry {
        const char* name;
        CBDFCard* card;
    };
    const Entry table[] = {{"GRID", &grid},     {"MAT1", &mat1},      {"MAT2", &mat2},
                           {"MAT8", &mat8},     {"PCOMP", &pcomp},    {"PCOMPG", &pcompg},
                           {"CTRIA6", &ctria6}, {"CTRIA3", &ctria3},  {"CQUAD8", &cquad8},
                           {"CQUAD4", &cquad4}, {"CORD2S", &cord2s},  {"CORD2R", &cord2r},
                           {"CORD2C", &cord2c}, {"ENDDATA", &enddata}};
    for (const Entry& e : table)
        if (std::strcmp(name, e.name) == 0) return e.card;
    return nullptr;
}

CBDFCard* CBDFCardGenerator::GetCard(CBDFFieldParser& parser) {
    CBDFCard* card = GetCard(parser.GetFields().GetString(0, 0));
    if (card) card->SetFields(&parser.GetFields());
    return card;
}
