#ifndef PLYSTRAND_LAYUPLIB_GUARD_CALL_H
#define PLYSTRAND_LAYUPLIB_GUARD_CALL_H

// The one catch of the system's exported boundaries (the host's exported
// functions and built-ins, the binary output library and reader): each runs
// its body through guard_call, so that an exception a standard container
// raises inside (std::bad_alloc when memory runs out, std::length_error for
// a size past a container's limit) ends the call with its failure status
// instead of crossing into a caller that cannot catch it. The system raises
// no exceptions of its own; these are the only ones that can occur.

#include <exception>
#include <utility>

// Runs `body` and returns what it returns. When it throws, `report` is
// called with the exception (null when it is not a std::exception), inside
// the handler, while the exception still lives; whatever `report` throws
// itself is dropped; then `failure` is returned.
template <class Result, class Report, class Body>
Result guard_call(Result failure, Report&& report, Body&& body) noexcept {
    auto say = [&report](const std::exception* e) noexcept {
        try {
            report(e);
        } catch (...) {
            // The report itself failed: the status still says what happened.
        }
    };
    try {
        return std::forward<Body>(body)();
    } catch (const std::exception& e) {
        say(&e);
    } catch (...) {
        say(nullptr);
    }
    return failure;
}

#endif  // PLYSTRAND_LAYUPLIB_GUARD_CALL_H
