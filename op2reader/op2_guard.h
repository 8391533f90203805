#ifndef PLYSTRAND_OP2READER_OP2_GUARD_H
#define PLYSTRAND_OP2READER_OP2_GUARD_H

// The boundary guard of the binary output functions: guard_call
// (layuplib/guard_call.h) with the reason these functions give, so that no
// exception leaves an exported function of the library or the reader.

#include <exception>
#include <new>
#include <utility>

#include "layuplib/guard_call.h"

// Runs `body` (returning the function's status) and returns its status.
// When it throws, `report` is called with the reason ("not enough memory"
// when memory ran out, else the exception's own text, "unknown exception"
// when it has none) and `failure` is returned.
template <class Body, class Report>
auto op2_guard(decltype(std::declval<Body>()()) failure, Report&& report, Body&& body) noexcept
    -> decltype(std::declval<Body>()()) {
    return guard_call(
        failure,
        [&report](const std::exception* e) {
            if (dynamic_cast<const std::bad_alloc*>(e))
                report("not enough memory");
            else
                report(e && e->what() && *e->what() ? e->what() : "unknown exception");
        },
        std::forward<Body>(body));
}

#endif  // PLYSTRAND_OP2READER_OP2_GUARD_H
