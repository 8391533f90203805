#ifndef PLYSTRAND_F06PARSER_CF06PARSER_H
#define PLYSTRAND_F06PARSER_CF06PARSER_H

#include <cstdint>
#include <string>

#include "F06Parser/CF06File.h"
#include "F06Parser/CF06FileBuffer.h"
#include "layuplib/CVekTemplateArray.h"

class CKpLayup;
class CKpResStore;
class CF06ParserType;

// CF06Parser: reads the result pages of the solver's printed output (F06)
// into the model's result store. The file is scanned for page breaks (a line
// feed followed by "1"); each page header is read and the page handed to the
// first page parser that recognises its title: failure indices or strength
// ratios, layered stresses, shell forces (as the flags ask), and, with the
// echo switched on, the echo pages (copied to the echo file; the bulk data
// echo is also read into the model). "^^^" lines with "DESIGN CYCLE
// NUMBER=" set the design cycle that later result labels carry.
class CF06Parser {
  public:
    CF06Parser();
    virtual ~CF06Parser();
    CF06Parser(const CF06Parser&) = delete;
    CF06Parser& operator=(const CF06Parser&) = delete;

    void SetLayup(CKpLayup* model) { m_model = model; }
    CKpLayup* GetLayup() const { return m_model; }
    // Bit 0 forces, bit 1 layered stresses, bit 2 failure indices and
    // strength ratios (all on after construction).
    void SetFlags(int flags);
    // Sets the echo switch; on with a non-empty path opens the echo file.
    // Nonzero when that open fails.
    int SetEcho(char on, const char* path);
    CF06File* GetEchoFile() { return &m_echo; }

    // 0; 1 when path, store or model is missing (no message), and 1 with
    // one error naming the file ("Printed output file '%s' ..."): it does
    // not exist, is a directory, is empty or cannot be opened; it holds no
    // page header (a title line ending in "PAGE" and a number: it is not
    // printed output); its last line has no line end and is cut: it ends
    // inside a number, or stops short of the table row above it in that
    // row's columns (it ends early: the results before stay); memory for
    // the buffer runs out. Any other last line without its line end reads
    // as it would with one. A file with pages but no layered results reads
    // with the information "Printed output file '%s' holds no layered
    // results.". Results read stay in the store whatever happens later in
    // the file.
    int Parse(const char* path, CKpResStore* store);
    // Handles the page whose "1" is at pos; returns where the scan goes on
    // (0: stop).
    virtual std::int64_t OnPageBreak(std::int64_t pos);

    // Copies input bytes [from, to) to the echo file, or writes text.
    void WriteEcho(std::int64_t from, std::int64_t to);
    void WriteEcho(const char* text);
    bool HasEchoFile() const { return !m_echoPath.empty(); }

    int IsPageHeader(std::int64_t pos) {
        return m_buffer[pos] == '\n' && m_buffer[pos + 1] == '1' ? 1 : 0;
    }
    CF06FileBuffer& GetBuffer() { return m_buffer; }
    const char* GetDesignCycle() const { return m_cycle; }

  private:
    std::int64_t OnComment(std::int64_t pos);
    bool LastLines(std::int64_t size, std::string& last, std::string& before);

    CF06FileBuffer m_buffer;
    CKpResStore* m_store;
    CKpLayup* m_model;
    CVekTemplateArray<CF06ParserType> m_parsers;
    char m_cycle[10];
    char m_forces;
    char m_stresses;
    char m_failures;
    char m_echoOn;
    int m_pages;  // page headers seen by the current Parse
    std::string m_echoPath;
    CF06File m_echo;
};

#endif  // PLYSTRAND_F06PARSER_CF06PARSER_H
