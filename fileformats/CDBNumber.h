#ifndef PLYSTRAND_FILEFORMATS_CDBNUMBER_H
#define PLYSTRAND_FILEFORMATS_CDBNUMBER_H

// Number formatting of the CDB writer, and the integer conversion of the CDB
// reader.
//
// Every real the writer puts into a CDB file reads back (atof) within 1e-7
// relative (fixed columns) or 1e-6 relative (section lines). A value that the
// file's customary fixed-point form holds to that accuracy is written in
// exactly that form; any other value (too large for the columns, or so small
// that the decimals would round it away) takes an exponent form of the same
// width (fixed columns) or a wider field (comma-separated lines).

// Appends `value` in 16 columns to `out` (room for at least 17 bytes beyond
// its current length is the caller's): "%16.9f" when that fits 16 columns
// and reads back within 1e-7 relative, else "%16.9E" (fewer digits when a
// three-digit exponent needs the room). Returns the number of characters
// written (16, more only for a value that is not finite).
int CdbFormatF16(char* out, double value);

// Section thickness and angle: "%13.6f" when that reads back within 1e-6
// relative, else "%13.9G". Returns the length written (at least 13; at most
// 24). `out` must hold 32 bytes.
int CdbFormatSec(char* out, double value);

// Section user offset: "%8.5f" when that reads back within 1e-6 relative,
// else "%8.9G". Returns the length written; `out` must hold 32 bytes.
int CdbFormatOffset(char* out, double value);

// Whether `value` fits an 8-column integer field ("%8d" keeps its width):
// -9999999 .. 99999999.
inline bool CdbFitsI8(long long value) {
    return value >= -9999999LL && value <= 99999999LL;
}

// An integer field of a CDB file read as a real: `value` truncated toward
// zero into `out`. False, with `out` unchanged, when the value is not finite
// or lies outside the int range.
bool CdbToInt(double value, int& out);

#endif  // PLYSTRAND_FILEFORMATS_CDBNUMBER_H
