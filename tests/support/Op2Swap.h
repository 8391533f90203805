#ifndef PLYSTRAND_TESTS_SUPPORT_OP2SWAP_H
#define PLYSTRAND_TESTS_SUPPORT_OP2SWAP_H

#include <functional>
#include <string>

// Structural byte swapper of binary output files: turns a file written in
// this machine's order into the one a big-endian machine would have written.
// Lengths, counts, markers, keys and numeric words are reversed; text words
// stay as stored (a big-endian machine keeps text in the same byte order):
// the label's tape code, label and version text, datablock names, and any
// data word for which `isText` answers true.
//
// isText(datablock, record, word, words): `record` counts the logical
// records of the datablock's tables from 1 (the header record is 0), `word`
// is the index within the record's data, `words` the record's data as
// stored. May be empty: every data word is numeric.
//
// Returns the swapped bytes; input that does not have the file's structure
// is swapped word by word from where the structure was lost.
using Op2TextWord =
    std::function<bool(const std::string& datablock, int record, int word, const int* words)>;
std::string SwapOp2Bytes(const std::string& bytes, const Op2TextWord& isText = {});

#endif
