#include "fileformats/CLamRc.h"

CLamRc::~CLamRc() = default;
