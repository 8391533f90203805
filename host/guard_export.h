#ifndef PLYSTRAND_HOST_GUARD_EXPORT_H
#define PLYSTRAND_HOST_GUARD_EXPORT_H

// The guard at the boundary to the host: the exported functions and the
// built-ins run their bodies through guard_export (guard_call,
// layuplib/guard_call.h, with the host's report), so that an exception a
// standard container raises inside never crosses into the host, which
// cannot catch it.

#include <exception>
#include <utility>

#include "layuplib/guard_call.h"

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
    return guard_call(
        failure,
        [function](const std::exception* e) noexcept {
            guard_export_report(function, e ? e->what() : nullptr);
        },
        std::forward<Body>(body));
}

#endif
