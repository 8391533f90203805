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
    // Grouped by first letter: a card is compared with its group only.
    const Entry grids[] = {{"GRID", &grid}};
    const Entry mats[] = {{"MAT1", &mat1}, {"MAT2", &mat2}, {"MAT8", &mat8}};
    const Entry props[] = {{"PCOMP", &pcomp}, {"PCOMPG", &pcompg}};
    const Entry cards[] = {{"CTRIA6", &ctria6}, {"CTRIA3", &ctria3}, {"CQUAD8", &cquad8},
                           {"CQUAD4", &cquad4}, {"CORD2S", &cord2s}, {"CORD2R", &cord2r},
                           {"CORD2C", &cord2c}};
    const Entry ends[] = {{"ENDDATA", &enddata}};
    const Entry* first = nullptr;
    int count = 0;
    switch (name[0]) {
        case 'G':
            first = grids, count = 1;
            break;
        case 'M':
            first = mats, count = 3;
            break;
        case 'P':
            first = props, count = 2;
            break;
        case 'C':
            first = cards, count = 7;
            break;
        case 'E':
            first = ends, count = 1;
            break;
        default:
            return nullptr;
    }
    for (int i = 0; i < count; ++i)
        if (std::strcmp(name, first[i].name) == 0) return first[i].card;
    return nullptr;
}

CBDFCard* CBDFCardGenerator::GetCard(CBDFFieldParser& parser) {
    CBDFCard* card = GetCard(parser.GetFields().GetString(0, 0));
    if (card) card->SetFields(&parser.GetFields());
    return card;
}
