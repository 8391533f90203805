#ifndef PLYSTRAND_F06PARSER_CF06ECHOBULK_H
#define PLYSTRAND_F06PARSER_CF06ECHOBULK_H

#include <string>

#include "F06Parser/CF06ParserType.h"

class CF06File;
class CKpLayup;

// CF06EchoBulk: the bulk data echo pages, read into the model as bulk data
// (the cards from the echo's card column, across page breaks, up to ENDDATA)
// and copied to the echo file, a card line and "\r\n" at a time. The card
// column is that of the ruler line of an unsorted echo (first non-blank ".",
// then "1" and "..", blanks between in any number: ".   1  ..   2  ..") when
// one of the three lines after the page title is one, else the first
// non-blank after the first "-" of the first row (a sorted echo's "1-").
// One-shot.
class CF06EchoBulk : public CF06ParserType {
  public:
    CF06EchoBulk(CF06Parser* owner, CKpResStore* store) : CF06ParserType(owner, store, true) {}
    std::int64_t StartParsing(std::int64_t pos, CF06PageHeader header) override;
    int IsOfType(CF06PageHeader& header) override;

    // The offset from `from` of the first non-blank after the first "-" in
    // [from, to), or 0 when there is none.
    static int FindColPos(CF06FileBuffer& buffer, std::int64_t from, std::int64_t to);

    // Collects the card lines from pos (the first row) into `cards`, one
    // line each, copying them to the echo file; pos ends where the echo ends
    // (the "1" of a page of another kind, or after ENDDATA).
    void CollectCards(std::int64_t& pos, std::string& cards);
    int GetColPos() const { return m_colPos; }
    CF06File* GetEchoFile();
    CKpLayup* GetModel();

  private:
    // The first row of the page whose header ends at `end`; sets the card
    // column.
    std::int64_t FirstRow(std::int64_t end);

    int m_colPos = 0;
};

#endif  // PLYSTRAND_F06PARSER_CF06ECHOBULK_H
