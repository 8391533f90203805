#ifndef PLYSTRAND_F06PARSER_CF06ECHOCONTROL_H
#define PLYSTRAND_F06PARSER_CF06ECHOCONTROL_H

#include "F06Parser/CF06ParserType.h"

// CF06EchoControl: the case control echo pages, copied to the echo file
// without their line numbers (each row from its first "$" or letter on).
// One-shot.
class CF06EchoControl : public CF06ParserType {
  public:
    CF06EchoControl(CF06Parser* owner, CKpResStore* store) : CF06ParserType(owner, store, true) {}
    std::int64_t StartParsing(std::int64_t pos, CF06PageHeader header) override;
    int IsOfType(CF06PageHeader& header) override;
};

#endif  // PLYSTRAND_F06PARSER_CF06ECHOCONTROL_H
