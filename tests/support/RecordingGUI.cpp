#include "tests/support/RecordingGUI.h"

#include <cstring>

namespace {
std::vector<float> copyPoints(const float* p, int count) {
    if (!p || count <= 0) return {};
    return std::vector<float>(p, p + 3 * count);
}
}  // namespace

int RecordingGUI::UiAbort() {
    ++abortPolls;
    return (abortAfterPolls >= 0 && abortPolls > abortAfterPolls) ? 1 : 0;
}

int RecordingGUI::Message(int channel, int severity, const char* text) {
    messages.push_back({channel, severity, text ? text : ""});
    if (answers.empty()) return defaultAnswer;
    int a = answers.front();
    answers.pop_front();
    return a;
}

int RecordingGUI::GraSetColor(int colour) {
    DrawCall c;
    c.kind = "colour";
    c.colour = colour;
    draws.push_back(c);
    return 0;
}

int RecordingGUI::GraDrawPolygon(int segment, int id, int colour, float width, int count,
                                 float* points) {
    draws.push_back({"polygon", segment, id, colour, width, copyPoints(points, count), {}, {}});
    return 0;
}

int RecordingGUI::GraDrawLine(int segment, int id, int colour, float width, float* start,
                              float* end) {
    std::vector<float> p = copyPoints(start, 1);
    std::vector<float> q = copyPoints(end, 1);
    p.insert(p.end(), q.begin(), q.end());
    draws.push_back({"line", segment, id, colour, width, p, {}, {}});
    return 0;
}

int RecordingGUI::GraDrawMarker(int segment, int id, int colour, float width, float* point,
                                int markerSize, int markerType) {
    draws.push_back({"marker", segment, id, colour, width, copyPoints(point, 1),
                     {double(markerSize), double(markerType)}, {}});
    return 0;
}

int RecordingGUI::GraDrawArrow(int segment, int id, int colour, float width, float* base,
                               float* tip, float size) {
    std::vector<float> p = copyPoints(base, 1);
    std::vector<float> q = copyPoints(tip, 1);
    p.insert(p.end(), q.begin(), q.end());
    draws.push_back({"arrow", segment, id, colour, width, p, {double(size)}, {}});
    return 0;
}

int RecordingGUI::GraDrawResultArrow(int segment, int id, int colour, float width, float* base,
                                     float* vector, float scale, int style, const char* label) {
    std::vector<float> p = copyPoints(base, 1);
    std::vector<float> q = copyPoints(vector, 1);
    p.insert(p.end(), q.begin(), q.end());
    draws.push_back({"resultArrow", segment, id, colour, width, p,
                     {double(scale), double(style)}, label ? label : ""});
    return 0;
}

int RecordingGUI::GraDeleteSegment(int segment) {
    DrawCall c;
    c.kind = "deleteSegment";
    c.segment = segment;
    draws.push_back(c);
    return 0;
}

int RecordingGUI::FailUserName(char* name) {
    if (failUserName.empty() || !name) return -1;
    std::strcpy(name, failUserName.c_str());
    return 0;
}

int RecordingGUI::FailUser(float*, float*, float* results) {
    if (results) std::memcpy(results, failUserResults, sizeof(failUserResults));
    return failUserStatus;
}

std::vector<std::string> RecordingGUI::texts(int severity) const {
    std::vector<std::string> out;
    for (const auto& m : messages)
        if (m.severity == severity) out.push_back(m.text);
    return out;
}

std::vector<RecordingGUI::DrawCall> RecordingGUI::drawsOf(const std::string& kind) const {
    std::vector<DrawCall> out;
    for (const auto& d : draws)
        if (d.kind == kind) out.push_back(d);
    return out;
}

void RecordingGUI::clear() {
    messages.clear();
    draws.clear();
    abortPolls = 0;
}
