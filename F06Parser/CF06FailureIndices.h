#ifndef PLYSTRAND_F06PARSER_CF06FAILUREINDICES_H
#define PLYSTRAND_F06PARSER_CF06FAILUREINDICES_H

#include "F06Parser/CF06FieldParser.h"
#include "F06Parser/CF06ParserType.h"

// CF06FailureIndices: pages "FAILURE INDICES" ("Failure Indices") or
// "STRENGTH RATIOS" ("Reserve Factors") "FOR LAYERED COMPOSITE ELEMENTS":
// each ply's index under the element's theory and "Layer <ply>", the bond
// index printed between two plies under "Interface <ply>-<ply+1>".
class CF06FailureIndices : public CF06ParserType {
  public:
    CF06FailureIndices(CF06Parser* owner, CKpResStore* store)
        : CF06ParserType(owner, store, false), m_quantity("Failure Indices") {}
    std::int64_t StartParsing(std::int64_t pos, CF06PageHeader header) override;
    int IsOfType(CF06PageHeader& header) override;

  private:
    const char* m_quantity;
    CF06FieldParser m_fields;
};

#endif  // PLYSTRAND_F06PARSER_CF06FAILUREINDICES_H
