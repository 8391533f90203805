#ifndef PLYSTRAND_HOST_GUARD_EXPORT_H
#define PLYSTRAND_HOST_GUARD_EXPORT_H

// The one guard at the boundary to the host: the exported functions and the
// built-ins run their bodies through guard_export, so that an exception a
// standard container raises inside (std::bad_alloc when memory runs out,
// std::length_error for a size past a container's limit) never crosses into
// the host, which cannot catch it. The system raises no exceptions of its
// own; these are the only ones that can occur.

#include <exception>
#include <utility>

// Reports that `function` stopped on an exception: the error "%s could not
// complete: %s." (function, reason) into the slot model's message log when
// there is a model, else on standard error. `what` may be null.
void guard_export_report(const char* function, const char* what) noexcept;

// Runs `body` (returning int) and returns its status. When it throws, the
// exception is reported with guard_export_report and `failure` is returned.
// Whatever the body changed before the throw stays changed: the bodies
// allocate before they change the model wherever a size comes from outside.
template <class Body>
int guard_export(const char* function, int failure, Body&& body) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (const std::exception& e) {
        guard_export_report(function, e.what());
    } catch (...) {
        guard_export_report(function, nullptr);
    }
    return failure;
}

#endif
