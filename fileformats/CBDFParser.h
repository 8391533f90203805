#ifndef PLYSTRAND_FILEFORMATS_CBDFPARSER_H
#define PLYSTRAND_FILEFORMATS_CBDFPARSER_H

#include <cstdint>

class CF06EchoBulk;
class CF06FileBuffer;
class CKpLayup;

// CBDFParser: reads the solver's bulk data into the model and writes the
// model as bulk data. Cards read: GRID, CORD2R, CORD2C, CORD2S, CQUAD4,
// CQUAD8, CTRIA3, CTRIA6, MAT1, MAT2, MAT8, PCOMP, PCOMPG, ENDDATA (see
// the CBDFCard classes); other cards are skipped. A parser object serves
// one call.
//
// Messages go to the model's log; every failure of a read names the file
// and line.
class CBDFParser {
  public:
    CBDFParser();
    ~CBDFParser();
    CBDFParser(const CBDFParser&) = delete;
    CBDFParser& operator=(const CBDFParser&) = delete;

    // Reads the cards after the line holding "BEGIN BULK" (any case) of the
    // file `path` through a 1 MiB window, until ENDDATA or the end of the
    // file. 0 on success (also when the user stops the reading: the cards
    // read so far stay). 1 with an error message, model unchanged:
    //   "Could not open file '%s' for reading.", "No BEGIN BULK in file '%s'.";
    // 1 with an error message, the cards before the failing one read:
    //   a card that cannot be stored ("Could not store %s %d on line %lld
    //   of '%s'.": an id below 1, an element id already used by an element
    //   of another shape, memory), a number out of range in a card of the
    //   set ("Number '%s' of card %s on line %lld of '%s' is out of
    //   range."; other cards are skipped whatever they hold), a last line
    //   without its line end whose text is incomplete, a number stopping
    //   inside its exponent or a failing card with nothing after its name
    //   ("Bulk data file '%s' ends early inside line %lld (card %s); the
    //   cards before it were read."; a complete last line reads as with its
    //   line end), a replication line
    //   after a card that is read ("Replicated card on line %d of '%s' is
    //   not supported."; after a skipped card it is skipped too), a zero
    //   byte inside the file ("Zero byte on line %lld of '%s'; the rest of
    //   the file is not read.").
    int Parse(const char* path, CKpLayup* model);
    // The same over an open buffer, from `pos` (updated to where reading
    // stopped); `firstLine` is the line number of `pos` for messages and
    // `path` the file name in them.
    int Parse(CF06FileBuffer& buffer, std::int64_t& pos, CKpLayup* model,
              std::int64_t firstLine = 1, const char* path = "");
    // Reads the bulk data echo of a printed-output file from its page
    // parser, from pos, into that parser's model (defined with the
    // printed-output reader).
    int Parse(CF06EchoBulk* echo, std::int64_t& pos);

    // Writes "BEGIN BULK", the frames (CORD2R, CORD2C, CORD2S, each in id
    // order), the elements (CQUAD4, CQUAD8, CTRIA3, CTRIA6), the placed grid
    // points, the material states (MAT1, MAT2, MAT8 passes), the laminates
    // (PCOMPG when usePcompg is nonzero and the laminate's global ply ids
    // are unique and positive, else PCOMP) and ENDDATA to `path`. 0; 1 with
    // "Could not write file '%s'." when the file cannot be created or a
    // write or the close fails.
    int WriteBDF(const char* path, CKpLayup* model, int usePcompg);

  private:
    CF06EchoBulk* m_echo;
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFPARSER_H
