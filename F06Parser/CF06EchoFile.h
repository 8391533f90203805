#ifndef PLYSTRAND_F06PARSER_CF06ECHOFILE_H
#define PLYSTRAND_F06PARSER_CF06ECHOFILE_H

#include "F06Parser/CF06ParserType.h"

// CF06EchoFile: the executive control and file/system parameter echo pages
// (recognised by their label line), copied to the echo file: each page title
// followed by "\r\n", then the page's text. One-shot.
class CF06EchoFile : public CF06ParserType {
  public:
    CF06EchoFile(CF06Parser* owner, CKpResStore* store) : CF06ParserType(owner, store, true) {}
    std::int64_t StartParsing(std::int64_t pos, CF06PageHeader header) override;
    int IsOfType(CF06PageHeader& header) override;
};

#endif  // PLYSTRAND_F06PARSER_CF06ECHOFILE_H
