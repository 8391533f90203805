#ifndef PLYSTRAND_LAYUPLIB_CPLSTRINGUTILS_H
#define PLYSTRAND_LAYUPLIB_CPLSTRINGUTILS_H

// Text helpers of the portability library (static operations only).
class CPLStringUtils {
  public:
    // A malloc'd copy of `s` that the caller frees with free(); a null `s`
    // gives a new empty text. Null only when memory runs out.
    static char* StrDup(const char* s);
    // Case-blind comparison: walks both texts while their characters are equal
    // under tolower and returns the difference of the first differing
    // characters as they stand (unsigned bytes), 0 when both end together.
    // 1 when either text is null.
    static int StrICmp(const char* a, const char* b);
    // 1 when every character is a digit, 'E', 'e', '-', '.', '+' or a blank
    // (the empty text included), else 0 (also for null). A loose test: "1.5E+03"
    // and "--" both pass.
    static int IsNumber(const char* s);
    // Removes the first occurrence of `part` from `text` in place: 0; 1 when
    // `part` does not occur or either argument is null.
    static int RemoveString(char* text, const char* part);
    // Replaces, in place, every '\\' by '/' when `toSlash` is nonzero, else
    // every '/' by '\\'. A null path is left alone.
    static void MakePathPlatformSafe(char* path, int toSlash);
};

#endif  // PLYSTRAND_LAYUPLIB_CPLSTRINGUTILS_H
