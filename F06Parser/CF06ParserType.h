#ifndef PLYSTRAND_F06PARSER_CF06PARSERTYPE_H
#define PLYSTRAND_F06PARSER_CF06PARSERTYPE_H

#include <cstdint>
#include <string>

#include "F06Parser/CF06NameBranch.h"
#include "F06Parser/CF06PageHeader.h"

class CF06Parser;
class CF06FileBuffer;
class CKpRes;
class CKpResElem;
class CKpResStore;

// CF06ParserType: base of the page parsers of a printed report. A page
// parser recognises its pages by their title and reads them, and the
// following pages of its kind, into results or the echo file.
class CF06ParserType {
  public:
    CF06ParserType(CF06Parser* owner, CKpResStore* store, bool removable);
    virtual ~CF06ParserType();
    CF06ParserType(const CF06ParserType&) = delete;
    CF06ParserType& operator=(const CF06ParserType&) = delete;

    // Reads from the header end of the page at `header`; returns the
    // position of the "1" of the first page of another kind, or of the end
    // of the input. Without owner or store: pos.
    virtual std::int64_t StartParsing(std::int64_t pos, CF06PageHeader header);
    // 1 when the page is of this parser's kind.
    virtual int IsOfType(CF06PageHeader& header) = 0;

    // Files `elem` under `res`'s names: 1 when that opened a new result.
    int AddElem(CKpRes* res, CKpResElem* elem);
    // Removes the result's branch, erases it from the store and destroys it.
    void RemoveBranch(CKpRes* res);
    // Appends ":D <cycle>" to text when a design cycle was seen.
    void AddDesCycle(std::string& text) const;
    bool IsRemovable() const { return m_removable; }

  protected:
    CF06FileBuffer& Buffer();
    // True when a page starts at pos ("1" after a line feed).
    bool IsPageStart(std::int64_t pos);
    // Skips n lines from pos.
    std::int64_t SkipLines(std::int64_t pos, int n);
    // Files one record of `n` floats under the names given, with the codes;
    // the result is created and stored when the names are new (id: the
    // store's highest + 1). 0 or -1.
    int File(const char* const names[5], int orient, int type, int loc, int eid, int n,
             const float* values);
    // Name 0 and 1 of the page's results (label with the design cycle).
    void PageNames(CF06PageHeader& header);

    CF06NameBranch m_root;
    CF06Parser* m_owner;
    CKpResStore* m_store;
    bool m_removable;
    CKpRes* m_current;
    std::string m_subtitle;
    std::string m_label;
};

#endif  // PLYSTRAND_F06PARSER_CF06PARSERTYPE_H
