#ifndef PLYSTRAND_LAYUPLIB_CPLPATH_H
#define PLYSTRAND_LAYUPLIB_CPLPATH_H

class CPLString;

// Path helpers of the portability library (static operations only). Both '\\'
// and '/' count as separators.
class CPLPath {
  public:
    // Position of the last separator; -1 when there is none or `path` is null.
    static int GetFilenamePos(const char* path);
    // Writes into `out` the text before the last separator; the empty text when
    // there is none or it is the first character. `out` must hold at least
    // strlen(path) + 1 bytes (the size cannot be checked here); it may not
    // overlap `path`. 0; 1 when an argument is null (out untouched).
    static int GetPath(const char* path, char* out);
    // The text after the last separator (the whole path when there is none),
    // into `out` (same size rule as GetPath) or into a CPLString.
    // 0; 1 when an argument is null.
    static int GetFilename(const char* path, char* out);
    static int GetFilename(const char* path, CPLString& out);
    // The text after the last '.', or the whole path when it holds no '.'.
    // The first form points `ext` into `path` (no copy). 0; 1 for a null path
    // (ext and out untouched).
    static int GetExtension(char* path, char*& ext);
    static int GetExtension(const char* path, CPLString& out);
};

#endif  // PLYSTRAND_LAYUPLIB_CPLPATH_H
