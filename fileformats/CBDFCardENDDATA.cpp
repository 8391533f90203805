#include "fileformats/CBDFCardENDDATA.h"

int CBDFCardENDDATA::Write(CKpLayup*) {
    return 1;
}

int CBDFCardENDDATA::Read(CVekObject*) {
    return Start("ENDDATA") ? 0 : -1;
}
