// A library that loads but exports no InstantiateVekAddIn.
extern "C" __attribute__((visibility("default"))) int SomethingElse() {
    return 42;
}
