#ifndef PLYSTRAND_F06PARSER_CF06FORCESIN_H
#define PLYSTRAND_F06PARSER_CF06FORCESIN_H

#include "F06Parser/CF06FieldParser.h"
#include "F06Parser/CF06ParserType.h"

// CF06ForcesIn: pages "FORCES IN QUADRILATERAL/TRIANGULAR ELEMENTS" into
// "Shell Forces" results "Membrane Forces" (FX, FY, 0, FXY, QY, QX) and
// "Bending Moments" (MX, MY, 0, MXY, 0, 0) of each element's centre. Corner
// output (a row with the element id, "CEN/n" and the values, then one row per
// corner grid) files the centre row; on centre-only pages every row is an
// element. Pages whose headings are pushed down by "RESULTS IN MATERIAL
// COORD SYSTEM" give orientation code 3, others 1.
class CF06ForcesIn : public CF06ParserType {
  public:
    CF06ForcesIn(CF06Parser* owner, CKpResStore* store) : CF06ParserType(owner, store, false) {}
    std::int64_t StartParsing(std::int64_t pos, CF06PageHeader header) override;
    int IsOfType(CF06PageHeader& header) override;
    // Rows per element of corner output: 5 for QUAD4, QUAD8 and QUADR, 4 for
    // TRIA6 and TRIAR, else 1.
    static int GetNrOfVectorsFromHeader(const char* title);

  private:
    void FileElement(int eid, const float v[8], int orient, int loc);
    CF06FieldParser m_fields;
};

#endif  // PLYSTRAND_F06PARSER_CF06FORCESIN_H
