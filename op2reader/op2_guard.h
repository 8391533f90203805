#ifndef PLYSTRAND_OP2READER_OP2_GUARD_H
#define PLYSTRAND_OP2READER_OP2_GUARD_H

// The boundary guard of the binary output functions: each exported function
// runs its body through op2_guard, so that an exception a standard container
// raises inside (std::bad_alloc when memory runs out, std::length_error for
// a size past a container's limit) ends the call with its failure status
// instead of crossing into a caller that cannot catch it. The system raises
// no exceptions of its own; these are the only ones that can occur.

#include <exception>
#include <new>
#include <utility>

// Runs `body` (returning the function's status) and returns its status.
// When it throws, `report` is called with the reason (never null; what it
// throws itself is dropped) and `failure` is returned.
template <class Body, class Report>
auto op2_guard(decltype(std::declval<Body>()()) failure, Report&& report, Body&& body) noexcept
    -> decltype(std::declval<Body>()()) {
    // The reason is reported inside its handler: what() belongs to the
    // exception, which ends with the handler.
    auto say = [&report](const char* reason) noexcept {
        try {
            report(reason);
        } catch (...) {
            // The report itself failed: the status still says what happened.
        }
    };
    try {
        return std::forward<Body>(body)();
    } catch (const std::bad_alloc&) {
        say("not enough memory");
    } catch (const std::exception& e) {
        say(e.what() && *e.what() ? e.what() : "unknown exception");
    } catch (...) {
        say("unknown exception");
    }
    return failure;
}

#endif  // PLYSTRAND_OP2READER_OP2_GUARD_H
