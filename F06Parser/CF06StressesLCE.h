#ifndef PLYSTRAND_F06PARSER_CF06STRESSESLCE_H
#define PLYSTRAND_F06PARSER_CF06STRESSESLCE_H

#include "F06Parser/CF06FieldParser.h"
#include "F06Parser/CF06ParserType.h"

// CF06StressesLCE: pages "STRESSES IN LAYERED COMPOSITE ELEMENTS" into
// "Stress Tensor"/"Fibre Directions"/"Layer <ply>" results: NORMAL-1,
// NORMAL-2, 0, SHEAR-12, SHEAR-2Z, SHEAR-1Z per element.
class CF06StressesLCE : public CF06ParserType {
  public:
    CF06StressesLCE(CF06Parser* owner, CKpResStore* store) : CF06ParserType(owner, store, false) {}
    std::int64_t StartParsing(std::int64_t pos, CF06PageHeader header) override;
    int IsOfType(CF06PageHeader& header) override;

  private:
    CF06FieldParser m_fields;
};

#endif  // PLYSTRAND_F06PARSER_CF06STRESSESLCE_H
