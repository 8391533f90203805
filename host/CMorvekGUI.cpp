#include "host/CMorvekGUI.h"

#include "host/LayupOut.h"
#include "host/MorvekHost.h"

int CMorvekGUI::UiAbort() {
    return LayupOutUiAbort();
}

int CMorvekGUI::Message(int channel, int severity, const char* text) {
    return LayupOutMessage(channel, severity, text);
}

int CMorvekGUI::GraSetColor(int colour) {
    return LayupOutGraSetColor(colour);
}

int CMorvekGUI::GraDrawPolygon(int segment, int id, int colour, float width, int count,
                               float* points) {
    return LayupOutGraDrawPolygon(segment, id, colour, width, count, points);
}

int CMorvekGUI::GraDrawLine(int segment, int id, int colour, float width, float* start,
                            float* end) {
    return LayupOutGraDrawLine(segment, id, colour, width, start, end);
}

int CMorvekGUI::GraDrawMarker(int segment, int id, int colour, float width, float* point,
                              int markerSize, int markerType) {
    return LayupOutGraDrawMarker(segment, id, colour, width, point, markerSize, markerType);
}

int CMorvekGUI::GraDrawArrow(int segment, int id, int colour, float width, float* base, float* tip,
                             float size) {
    return LayupOutGraDrawArrow(segment, id, colour, width, base, tip, size);
}

int CMorvekGUI::GraDrawResultArrow(int segment, int id, int colour, float width, float* base,
                                   float* vector, float scale, int style, const char* label) {
    return LayupOutGraDrawResultArrow(segment, id, colour, width, base, vector, scale, style,
                                      label);
}

int CMorvekGUI::GraDeleteSegment(int segment) {
    return LayupOutGraDeleteSegment(segment);
}

int CMorvekGUI::FailUserName(char* name) {
    return MAT_LamCalcFailUserName(name);
}

int CMorvekGUI::FailUser(float* loads, float* allowables, float* results) {
    return MAT_LamCalcFailUser(loads, allowables, results);
}

extern "C" int MAT_LamCalcFailUserName(char*) {
    return -1;
}
