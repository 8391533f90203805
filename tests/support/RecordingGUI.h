#ifndef PLYSTRAND_TESTS_SUPPORT_RECORDINGGUI_H
#define PLYSTRAND_TESTS_SUPPORT_RECORDINGGUI_H

#include <deque>
#include <string>
#include <vector>

#include "host/CKpGUI.h"

// A CKpGUI test double: records every message and drawing call in order and
// answers questions and abort polls from a script set up by the test.
class RecordingGUI : public CKpGUI {
public:
    struct MessageCall {
        int channel;
        int severity;
        std::string text;
    };

    // One drawing call. `kind` is "colour", "polygon", "line", "marker",
    // "arrow", "resultArrow" or "deleteSegment"; `points` holds the floats
    // handed over (3 per point); `extra` the trailing integer/float arguments.
    struct DrawCall {
        std::string kind;
        int segment = 0;
        int id = 0;
        int colour = 0;
        float width = 0.0f;
        std::vector<float> points;
        std::vector<double> extra;
        std::string label;
    };

    // Script: answers returned by Message, oldest first; when the queue is
    // empty Message answers `defaultAnswer`.
    std::deque<int> answers;
    int defaultAnswer = 0;
    // Script: UiAbort answers 0 for this many polls, then 1. Negative: never.
    int abortAfterPolls = -1;
    // Script: the user failure criterion's name and results.
    std::string failUserName;  // empty: FailUserName returns -1
    float failUserResults[3] = {0.0f, 0.0f, 0.0f};
    int failUserStatus = 0;

    std::vector<MessageCall> messages;
    std::vector<DrawCall> draws;
    int abortPolls = 0;

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
    int GraDrawResultArrow(int segment, int id, int colour, float width, float* base,
                           float* vector, float scale, int style, const char* label) override;
    int GraDeleteSegment(int segment) override;
    int FailUserName(char* name) override;
    int FailUser(float* loads, float* allowables, float* results) override;

    // Messages of one severity, texts only, in order.
    std::vector<std::string> texts(int severity) const;
    // Drawing calls of one kind, in order.
    std::vector<DrawCall> drawsOf(const std::string& kind) const;
    void clear();
};

#endif  // PLYSTRAND_TESTS_SUPPORT_RECORDINGGUI_H
