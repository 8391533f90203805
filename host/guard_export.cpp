#include "host/guard_export.h"

#include <cstdio>
#include <string>

#include "host/LayupApi.h"
#include "layuplib/ILayup.h"

void guard_export_report(const char* function, const char* what) noexcept {
    char text[512];
    std::snprintf(text, sizeof text, "%s could not complete: %s.", function ? function : "",
                  what && *what ? what : "unknown exception");
    ILayup* model = LayupSlotModel();
    try {
        if (model) {
            model->SetMessage(ILayup::eError, text);
            return;
        }
    } catch (...) {
        // The log itself could not take the line: fall through to stderr.
    }
    std::fprintf(stderr, "%s\n", text);
}
