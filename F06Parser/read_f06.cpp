#include "F06Parser/read_f06.h"

#include "F06Parser/CF06Parser.h"
#include "layuplib/CKpLayup.h"

int read_f06(const char* path, CKpLayup* model, int echo, const char* echoPath, int flags) {
    if (!model) return 1;
    CF06Parser parser;
    parser.SetLayup(model);
    parser.SetFlags(flags);
    if (echo && parser.SetEcho(static_cast<char>(echo), echoPath) != 0 && echoPath && echoPath[0])
        return 1;
    return parser.Parse(path, model->pRess()) == 0 ? 0 : 1;
}
