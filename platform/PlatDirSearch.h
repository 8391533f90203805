#ifndef PLYSTRAND_PLATFORM_PLATDIRSEARCH_H
#define PLYSTRAND_PLATFORM_PLATDIRSEARCH_H

// Directory search of the host platform, reduced to what the library needs:
// walk the entries of one directory that match a mask. This POSIX version
// reads the directory with opendir/readdir, matches with fnmatch and asks
// stat for the attributes. A port to another host replaces this folder only.

#include <cstdint>
#include <string>

// Attribute bit of an entry that is a directory.
constexpr unsigned int kPlatAttrDirectory = 0x10;

// One match of a search.
struct PlatFindRecord {
    std::string name;         // entry name without its directory
    unsigned int attributes;  // kPlatAttrDirectory or 0
    std::uint32_t sizeLow;    // low 32 bits of the size in bytes (0 for a directory)
};

// A running search; opaque to callers.
struct PlatDirSearch;

// Starts a search. `pattern` is "directory/mask": the mask (the text after the
// last '/') may hold '*' (any run of characters) and '?' (one character); every
// other character matches itself, byte-wise and case-sensitively. A mask
// without wildcard matches that one entry (the directory itself included).
// A pattern without '/' searches the current directory. A wildcard search
// never reports "." and "..". Matches come sorted by name, byte-wise ascending.
//
// On success fills `*record` (written) with the first match and returns a new
// handle that the caller ends with PlatFindClose. Returns null (and leaves
// `*record` alone) when an argument is null, the mask is empty, the pattern is
// longer than the platform accepts, the directory cannot be read, nothing
// matches or memory runs out.
PlatDirSearch* PlatFindFirst(const char* pattern, PlatFindRecord* record);

// Moves to the next match: 0 with `*record` filled, 1 when there is none
// (or `search` or `record` is null; `*record` is then left alone).
int PlatFindNext(PlatDirSearch* search, PlatFindRecord* record);

// Ends a search and frees its handle; null is accepted.
void PlatFindClose(PlatDirSearch* search);

#endif  // PLYSTRAND_PLATFORM_PLATDIRSEARCH_H
