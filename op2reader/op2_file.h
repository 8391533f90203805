#ifndef PLYSTRAND_OP2READER_OP2_FILE_H
#define PLYSTRAND_OP2READER_OP2_FILE_H

// Binary record file library of the Korbeld solver's binary output (OP2).
//
// A file is a sequence of physical records, each a 4-byte signed length L,
// L bytes, and L again. Records form a label at the file start and then
// datablocks: tables (a header record and logical records of 4-byte words)
// or matrices (packed columns). Up to ten files are open at once, named by
// an identifier 1..10.
//
// Byte order: files are written in this machine's order (little-endian). A
// reader detects a file of the other order from its first length word and
// then reverses the bytes of every control word it interprets (lengths,
// counts, markers, keys). Data words, including the date words of the label
// and the trailer words of a datablock header, are delivered as stored: the
// caller swaps them with SwapByte4Int or HandleSwapByte4Int.
//
// Every function returns an int status: 0 (or a count, or a file
// identifier) on success, a negative code on failure, and writes one
// diagnostic line per failure to the error stream given to op2_Init
// (nothing when no stream was given). Codes:
//   -1 all ten slots in use            -2 access key not 'R' or 'W'
//   -3 opening the file failed         -4 closing the file failed
//  -10 identifier outside 1..10       -11 file not open
//  -12 file not open for that access  -13 a low-level read failed
//  -14 end of file inside a structure, leading and trailing lengths
//      differ, or a length or count the file cannot hold
//  -15 a low-level write failed       -16 not enough memory
//  -20 logical record without key 1   -21 datablock is not a table
//  -22 datablock is not a matrix      -23 bad argument
//  -24 real data requested as complex -25 complex data requested as real
//  -26 complex data given to a packing operation
//
// No exception leaves these functions: memory running out inside (or any
// exception of a standard container) ends the call with -16 (null for
// op2_ReadEntryRun) and the line "\n*E* <function>: <reason>\n".
//
// The file table is process-wide and unguarded: use it from one thread.

#include <cstdio>

#define OP2_EXPORT __attribute__((visibility("default")))

extern "C" {

// Keeps `err` (may be null: no diagnostics) and marks all slots free. 0.
OP2_EXPORT int op2_Init(FILE* err);

// Reports every slot still open ("File with Identifier %d not closed");
// closes nothing. 0.
OP2_EXPORT int op2_End(void);

// Opens `path` in the first free slot. `key` 'R' reads, 'W' creates or
// truncates for writing (mode 0666). Returns the identifier (1..10), or -1,
// -2, -3.
OP2_EXPORT int op2_OpenFile(const char* path, char key);

// Writes the end-of-file record for a file open for writing, closes it and
// frees the slot. 0, or -10, -11, -15, -4 (slot stays in use).
OP2_EXPORT int op2_CloseFile(int id);

// Stores 1 in *swapped when the file (open for reading) is in the other
// byte order, else 0. 0, or -10, -11, -12.
OP2_EXPORT int op2_GetSwapped(int id, int* swapped);

// Reverses the bytes of *word in place when the file (open for reading) is
// swapped. 0, or -10, -11, -12.
OP2_EXPORT int HandleSwapByte4Int(int id, int* word);

// The word with its four bytes reversed.
OP2_EXPORT int SwapByte4Int(int word);

// Reads the label at the file start. Writes the three date words as stored
// (month, day, year - 2000), the 8-character label with a terminator into
// label[9], and the version text (up to 12 characters and a terminator, ""
// when the label has none) into version[13]. 0, or -14 when the file ends
// inside the label or its records do not have the label's shape: its first
// six records must have the label's lengths in words (1, 3, 1, 7, 1, 2), so
// a file of 64-bit words is refused.
OP2_EXPORT int op2_ReadLabel2(int id, int date[3], char label[9], char version[13]);

// Writes the label with today's UTC date and the 8 characters of label[2].
// 0 or -15.
OP2_EXPORT int op2_WriteLabel(int id, const int label[2]);

// Reading: reads the next datablock header into name[9] (8 characters and a
// terminator) and trailer[6] (as stored), and for `table` != 0 also passes
// the header record. Sets *eof to 1 at the end of the file (name and trailer
// then untouched). Writing: writes a header from name and trailer (with the
// header record when `table` != 0), *eof = 0. 0 or a negative code (-14
// when the header's first record is not of one word).
OP2_EXPORT int op2_OpenDatablk(int id, int table, char name[9], int trailer[6], int* eof);

// Ends the open datablock: a reader skips what was not read, a writer writes
// the datablock's end. 0 or a negative code.
OP2_EXPORT int op2_CloseDatablk(int id);

// Reads the next datablock header and skips all its records. *maxlen: the
// largest logical record in words. *eof as for op2_OpenDatablk.
OP2_EXPORT int op2_SkipDatablk(int id, char name[9], int trailer[6], int* maxlen, int* eof);

// Delivers up to `wanted` words of the current logical record of a table
// into `buffer` (room for `wanted` words); *delivered counts them. *status:
// 0 the record has more words, 1 the record ended, 2 the datablock ended.
// advance 1 skips the rest of the record after delivering. 0 or a negative
// code.
OP2_EXPORT int op2_ReadRecord(int id, int wanted, int advance, int* delivered, int* status,
                              void* buffer);

// Readers of tables of fixed-size entries: the next whole entries of `size`
// words (at most `maxEntries`) that lie inside the current piece and the
// read window, exactly as op2_ReadRecord(id, size, 0, ...) would deliver
// them one call at a time where that call neither reads a count word nor
// touches the file (it then cannot fail and leaves status 0). *count gets
// the number of entries; they are returned as stored, as bytes (4 per word,
// not necessarily aligned), valid until the next call on the file. Null
// with *count 0 when the next entry needs op2_ReadRecord (or the
// identifier is not a file open for reading).
OP2_EXPORT const unsigned char* op2_ReadEntryRun(int id, int size, int maxEntries, int* count);

// Appends `count` words to the current logical record; advance 1 ends the
// record, 0 keeps it open. 0, -23 (count < 0 or past what a length word
// counts, advance not 0 or 1), -15.
OP2_EXPORT int op2_WriteRecord(int id, int count, int advance, const void* data);

// Reads the next column of the open matrix and delivers rows
// request[1]..request[2] with step request[3] as type request[0] (1 real
// single, 2 real double, 3 complex single, 4 complex double) into `buffer`
// (room for that many elements). *eom = 1 when the matrix has ended. The
// memory taken follows the rows asked for, not the row count of the file.
// 0 or a negative code.
OP2_EXPORT int op2_UnpackColumn(int id, const int request[4], int* delivered, void* buffer,
                                int* eom);

// Writes one real column of rows request[1]..request[2] (step request[3])
// from `values` of type request[0]. 0 or a negative code.
OP2_EXPORT int op2_PackColumn(int id, const int request[4], const void* values);

// Writes one real column holding values (of `type`) of the n ascending rows
// listed in `rows`. 0 or a negative code.
OP2_EXPORT int op2_PackColumnI(int id, int type, const int* rows, int n, const void* values);
}

#endif
