#include "fileformats/CCDBRlset.h"

CCDBRlset::~CCDBRlset() = default;
