#include "fileformats/CCDBRlsetStore.h"

CCDBRlsetStore::~CCDBRlsetStore() {
    eraseAllObjects();
}
