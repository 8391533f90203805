#ifndef PLYSTRAND_FILEFORMATS_CRSTPARSER_H
#define PLYSTRAND_FILEFORMATS_CRSTPARSER_H

#include <cstdint>
#include <cstdio>

#include "layuplib/CKpDBF.h"

// CRSTParser: reader of shell forces and moments from an ANSYS binary
// results file (format code 8) into the model's result store. Only the
// "external" (big-endian) form is read. Only elements already in the model
// receive values; nothing else in the model changes. Writing is refused.
//
// File layout as read here. Every record is a header of two big-endian ints
// (length L, flag word), the data and a footer equal to L. From release
// 10.0 on the data holds L 4-byte words; below 10.0 it holds L - 4 bytes.
// The flag word's top bits give the type of the values: 0x80000000 ints,
// 0x40000000 alone single-precision reals, neither double-precision reals,
// both short ints; 0x20000000, 0x10000000 and 0x08000000 mark compressed
// records. File positions count 4-byte words from the start of the file.
//
// Before Read the caller sets the stores (SetStores), the name and the two
// flag words: a non-zero modelFlags walks and checks the model part of the
// file (nodes, elements, element types, real constants, coordinate
// systems, mass table) without changing the model; a non-zero resultFlags
// reads the result sets. Per set i (from 1) two results are added, each
// with the store's highest id + 1: names ("LOADSTEP <load step>",
// "ITERATION <iteration>", "Shell Forces", "Membrane Forces", "") and
// (..., "Bending Moments", ""), orientation 1, type 3 (tensor), location 1.
// An element of the set with shell results gets six floats in each:
//   membrane (Fx, Fy, 0, Fxy, Qy, Qx), bending (-Mx, -My, 0, -Mxy, 0, 0)
// from the first eight values of its miscellaneous record (Fx, Fy, Fxy, Mx,
// My, Mxy, Qx, Qy; doubles, or floats when the record says so).
//
// Messages (severity 1 unless said): "Opened rst file '%s'.", "Release level
// %g.", "Reading '%s'." before every block (loops: "<block> %d of %d"),
// "Closed rst file '%s'.". Warning: "No element of the rst file is in the
// model." when results are read and none of the file's elements is in the
// model (as after a read that clears the model). Information: "Element %d
// given again in '%s': the later value is kept." when one element appears
// twice in a set (one record, the later values).
class CRSTParser : public CKpDBF {
  public:
    // Reads the file `name`. 0 on success; -1 on failure, after the error
    // (severity 4) and then "Error reading rst file." once the file was
    // opened (the file is closed on every path; results of the sets read
    // before the failure stay in the store):
    //   "Could not open rst file '%s'." (no further message);
    //   "File format must be external.": the first record is not framed as
    //     a big-endian standard header (its length 100, or 404 below
    //     release 10), or the header's file format word is 0;
    //   "No data read in '%s'.": the file ends inside the named block, or a
    //     record or position of the block lies outside the file (an element
    //     values record whole, footer included, though only its first eight
    //     values are used);
    //   "Block error in '%s'.": a footer differs from its header, a record
    //     holds fewer items than the reader needs from it, a count or set
    //     number passes the table it indexes, the standard header's framing
    //     does not match its release level, a set does not start after the
    //     one before it, or its element solution index lies outside the set
    //     (before its solution records' end or past the next set's start);
    //   "Inconsistent nelm in header and GEO block.";
    //   "Unsupported record type 0x%08x in '%s'.": an element value record
    //     that is compressed or not of reals, or a compressed element
    //     solution index or element index record (its words are no
    //     pointers);
    //   "fgetpos error '%d' in '%s'." / "fsetpos error '%d' in '%s'." (the
    //     system's error code) when the stream cannot tell or move;
    //   memory running out.
    // Elements are passed over (no values, no message) when they are not in
    // the model, when their index entry (p) or miscellaneous-record pointer
    // (q) is below 1, or when that record holds fewer than eight values; a
    // set whose element solution index pointer is below 1 gets no values.
    // A set reads at most as many elements as the file's element table, the
    // set's element count and its element solution index hold.
    int Read() override;
    // -1: this format is read only.
    int Write() override { return -1; }

    // Reads a record header from `stream`: two big-endian ints into
    // `length` and `flags` (each written only when read). Returns the number
    // of ints read (2, or fewer at the end of the file).
    static int ReadHeader(int* length, int* flags, FILE* stream);
    // Reads a record footer (one big-endian int) into `length`. Returns the
    // number of ints read (1, or 0 at the end of the file).
    static int ReadFooter(int* length, FILE* stream);
    // 0 when a footer `b` matches its header `a`, else -1.
    static int CheckBlock(int a, int b);
    // Number of items of `size` bytes in the data of a record of length
    // word `length`: (level < 10.0 ? length - 4 : length * 4) / size.
    // Negative for a negative data size; `size` must be positive.
    static int64_t GetNdat(int length, int size, double level);
    // `value` with its 8 bytes in reverse order.
    static double RCNVRT(double value);
    // A 64-bit int from 8 bytes as they lie in the file: the first four a
    // big-endian low part, the next four a big-endian high part.
    static int64_t I64CNVRT(const unsigned char bytes[8]);
    // The same from two words as read from the file into memory unchanged
    // (their bytes in file order): `low` first, then `high`.
    static int64_t GetLargeInt(int low, int high);
    // Moves `stream` by `offset` bytes from where it stands. 0; -1 when the
    // position cannot be told or set (errno tells why).
    static int fsetposCurVal(FILE* stream, int64_t offset);
    // Moves `stream` to the absolute byte `position`. 0; -1 when it cannot
    // be set (errno tells why).
    static int fsetposVal(FILE* stream, int64_t position);
};

#endif  // PLYSTRAND_FILEFORMATS_CRSTPARSER_H
