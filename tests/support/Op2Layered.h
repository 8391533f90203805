#ifndef PLYSTRAND_TESTS_SUPPORT_OP2LAYERED_H
#define PLYSTRAND_TESTS_SUPPORT_OP2LAYERED_H

#include <string>

// Layered results of a composite shell model in binary output of the real
// layout: the label of a solver-written file, then OES1C (ply stresses, 11
// words per ply) and OEFIT (ply failure indices, 9 words, theory "HILL" on
// an element's first ply, an interface flag -1 on every ply but the last)
// of element type 95, one identification record per subcase (approach code
// 13, table codes 5 and 25, format code 1, num_wide 11 and 9) followed by
// one data record of all elements, cut into pieces of `perPiece` elements.
struct Op2LayeredRecipe {
    long elements = 100;
    int plies = 4;
    int subcases = 1;
    long perPiece = 1000;
    // Elements in a scrambled order, every seventh one given twice (the
    // second time with other values).
    bool scrambled = false;
};

// Writes the file to `path`; the label words (date, tape code, label) are
// copied from the solver-written file `labelSource`. False when either file
// fails.
bool WriteLayeredOp2(const std::string& path, const std::string& labelSource,
                     const Op2LayeredRecipe& recipe);

#endif  // PLYSTRAND_TESTS_SUPPORT_OP2LAYERED_H
