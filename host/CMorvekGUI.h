#ifndef PLYSTRAND_HOST_CMORVEKGUI_H
#define PLYSTRAND_HOST_CMORVEKGUI_H

#include "host/CKpGUI.h"

// CMorvekGUI: the host's CKpGUI. It holds no state and forwards every
// operation, arguments unchanged, to the LayupOut callback of the same name
// (host/LayupOut.h) and returns its result; FailUser goes to the host's
// MAT_LamCalcFailUser. FailUserName returns -1 and leaves the name untouched
// (the host offers no name), as the exported MAT_LamCalcFailUserName does.
class CMorvekGUI : public CKpGUI {
  public:
    int UiAbort() override;
    int Message(int channel, int severity, const char* text) override;
    int GraSetColor(int colour) override;
    int GraDrawPolygon(int segment, int id, int colour, float width, int count,
                       float* points) override;
    int GraDrawLine(int segment, int id, int colour, float width, float* start,
                    float* end) override;
    int GraDrawMarker(int segment, int id, int colour, float width, float* point, int markerSize,
                      int markerType) override;
    int GraDrawArrow(int segment, int id, int colour, float width, float* base, float* tip,
                     float size) override;
    int GraDrawResultArrow(int segment, int id, int colour, float width, float* base, float* vector,
                           float scale, int style, const char* label) override;
    int GraDeleteSegment(int segment) override;
    int FailUserName(char* name) override;
    int FailUser(float* loads, float* allowables, float* results) override;
};

extern "C" {
// The name of the host's user failure criterion: none. -1, `name` untouched.
int MAT_LamCalcFailUserName(char* name);
}

#endif  // PLYSTRAND_HOST_CMORVEKGUI_H
