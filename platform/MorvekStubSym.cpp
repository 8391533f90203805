// The stand-in host's command language: symbol records, built-in
// registry, argument errors and the memory pools (host/MorvekHost.h).

#include <cstdlib>
#include <cstring>
#include <string>

#include "host/MorvekHost.h"
#include "platform/MorvekStubState.h"

using morvekstub::state;
using morvekstub::SymData;
using morvekstub::takeFailure;

namespace {

SymData* data(SmSym* sym) {
    return sym ? static_cast<SymData*>(sym->host[0]) : nullptr;
}

// Gives `rec` fresh storage of value type `type`.
SymData* remake(SmSym* rec, int type) {
    if (!rec) return nullptr;
    delete data(rec);
    SymData* d = new SymData;
    rec->host[0] = d;
    rec->type = static_cast<unsigned char>(type);
    return d;
}

}  // namespace

extern "C" {

int SmBltAdd(const char* name, SmBltFn fn) {
    int status = 0;
    if (takeFailure("SmBltAdd", &status)) return status;
    state().builtins.emplace_back(name ? name : "", fn);
    return 0;
}

int SmSymGetArray(SmSym* sym) {
    const SymData* d = data(sym);
    return d && d->array ? 1 : 0;
}

int SmSymArrayElems(SmSym* sym) {
    const SymData* d = data(sym);
    return d ? d->count : 0;
}

int SmSymGetIntVal(SmSym* sym) {
    const SymData* d = data(sym);
    return d && !d->ints.empty() ? d->ints[0] : 0;
}

float SmSymGetRealVal(SmSym* sym) {
    const SymData* d = data(sym);
    return d && !d->reals.empty() ? d->reals[0] : 0.0f;
}

char* SmSymGetStringVal(SmSym* sym) {
    SymData* d = data(sym);
    return d && !d->text.empty() ? d->text.data() : nullptr;
}

int* SmSymGetIntPtr(SmSym* sym) {
    SymData* d = data(sym);
    return d && !d->ints.empty() ? d->ints.data() : nullptr;
}

float* SmSymGetRealPtr(SmSym* sym) {
    SymData* d = data(sym);
    return d && !d->reals.empty() ? d->reals.data() : nullptr;
}

char* SmSymGetStringPtr(SmSym* sym) {
    return SmSymGetStringVal(sym);
}

int* SmSymGetIntAVal(SmSym* sym) {
    return SmSymGetIntPtr(sym);
}

float* SmSymGetRealAVal(SmSym* sym) {
    return SmSymGetRealPtr(sym);
}

int* SmSymGetIntAPtr(SmSym* sym) {
    return SmSymGetIntPtr(sym);
}

float* SmSymGetRealAPtr(SmSym* sym) {
    return SmSymGetRealPtr(sym);
}

char* SmSymGetDataVal(SmSym* sym) {
    return SmSymGetStringVal(sym);
}

char* SmSymGetDataPtr(SmSym* sym) {
    return SmSymGetStringVal(sym);
}

int SmSymGetStringMax(SmSym* sym) {
    const SymData* d = data(sym);
    return d ? d->max : 0;
}

SmSym* SmErrorInt(int cls, int code, int position) {
    state().argErrors.push_back(morvekstub::ArgError{cls, code, position, -1});
    return nullptr;
}

SmSym* SmErrorInt2(int cls, int code, int expected, int actual) {
    state().argErrors.push_back(morvekstub::ArgError{cls, code, expected, actual});
    return nullptr;
}

void* MemAllocX(int pool, std::uint64_t size, const char*, int) {
    int status = 0;
    if (takeFailure("MemAllocX", &status)) return nullptr;
    void* block = std::malloc(size > 0 ? static_cast<size_t>(size) : 1);
    if (block) ++state().blocksInUse[pool];
    return block;
}

void MemFreeX(int pool, void* block, const char*, int) {
    if (!block) return;
    --state().blocksInUse[pool];
    std::free(block);
}

// ---- Control API ----

SmBltFn MorvekStubFindBuiltin(const char* name) {
    if (!name) return nullptr;
    for (const auto& b : state().builtins)
        if (b.first == name) return b.second;
    return nullptr;
}

int MorvekStubNumBuiltins(void) {
    return static_cast<int>(state().builtins.size());
}

const char* MorvekStubBuiltinName(int k) {
    const auto& builtins = state().builtins;
    if (k < 1 || static_cast<size_t>(k) > builtins.size()) return nullptr;
    return builtins[static_cast<size_t>(k) - 1].first.c_str();
}

void MorvekStubSymInt(SmSym* rec, int value) {
    if (SymData* d = remake(rec, 1)) d->ints.assign(1, value);
}

void MorvekStubSymReal(SmSym* rec, float value) {
    if (SymData* d = remake(rec, 2)) d->reals.assign(1, value);
}

void MorvekStubSymString(SmSym* rec, const char* text, int max) {
    SymData* d = remake(rec, 4);
    if (!d) return;
    d->max = max > 0 ? max : 0;
    d->text.assign(static_cast<size_t>(d->max) + 1, '\0');
    if (text) std::strncpy(d->text.data(), text, static_cast<size_t>(d->max));
}

void MorvekStubSymIntArray(SmSym* rec, const int* values, int n) {
    SymData* d = remake(rec, 1);
    if (!d) return;
    d->array = true;
    d->count = n;
    if (n > 0) d->ints.assign(values, values + n);
}

void MorvekStubSymRealArray(SmSym* rec, const float* values, int n) {
    SymData* d = remake(rec, 2);
    if (!d) return;
    d->array = true;
    d->count = n;
    if (n > 0) d->reals.assign(values, values + n);
}

void MorvekStubSymStringArray(SmSym* rec, int n, int max) {
    SymData* d = remake(rec, 4);
    if (!d) return;
    d->array = true;
    d->count = n;
    d->max = max > 0 ? max : 0;
    if (n > 0) d->text.assign(static_cast<size_t>(n) * (static_cast<size_t>(d->max) + 1), '\0');
}

void MorvekStubSymSetCount(SmSym* rec, int n) {
    if (SymData* d = data(rec)) d->count = n;
}

void MorvekStubSymFree(SmSym* rec) {
    if (!rec) return;
    delete data(rec);
    rec->host[0] = nullptr;
}

int MorvekStubErrorCount(void) {
    return static_cast<int>(state().argErrors.size());
}

int MorvekStubGetError(int i, int* cls, int* code, int* a, int* b) {
    const auto& errors = state().argErrors;
    if (i < 0 || static_cast<size_t>(i) >= errors.size()) return -1;
    const morvekstub::ArgError& e = errors[static_cast<size_t>(i)];
    if (cls) *cls = e.cls;
    if (code) *code = e.code;
    if (a) *a = e.a;
    if (b) *b = e.b;
    return 0;
}

long long MorvekStubBlocksInUse(int pool) {
    const auto& blocks = state().blocksInUse;
    const auto found = blocks.find(pool);
    return found == blocks.end() ? 0 : found->second;
}

}  // extern "C"
