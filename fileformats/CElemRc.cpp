#include "fileformats/CElemRc.h"

CElemRc::~CElemRc() = default;
