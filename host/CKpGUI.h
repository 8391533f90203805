#ifndef PLYSTRAND_HOST_CKPGUI_H
#define PLYSTRAND_HOST_CKPGUI_H

// CKpGUI: what the model needs of the host's user interface.
//
// The model never talks to the host directly. Its message log sends messages
// and questions here, its graphics context draws here, and the user-defined
// lamina failure criterion is evaluated here. The host gives one
// implementation; an outside client program may bring its own.
//
// Conventions for every drawing operation:
//   - points are three floats x, y, z in the model's basic frame; a point
//     array holds three floats per point;
//   - `segment` is the numbered graphics segment the item belongs to, so that
//     deleting the segment erases exactly that plot;
//   - `id` is an entity id inside the segment (the model passes 0);
//   - `colour` is one of the library's colour numbers; `width` the pen width.
// Results are the host's; the model only relies on the answer of Message for
// questions and on the result of FailUser.
//
// The operations are declared in the order of the interface's table; the
// destructor comes after them so that the order of the eleven is unchanged.
class CKpGUI {
public:
    // Nonzero when the user has asked the running operation to stop.
    virtual int UiAbort() = 0;

    // Shows or logs `text` in the host. `channel` is 1 for the log's ordinary
    // warnings and errors and another code for questions (100005 for the
    // system's yes/no questions); `severity` is 1 information, 2 warning,
    // 4 error. Returns the host's answer: 0 for an ordinary message, the
    // user's answer for a question.
    virtual int Message(int channel, int severity, const char* text) = 0;

    // Sets the host's current drawing colour.
    virtual int GraSetColor(int colour) = 0;

    // A polygon of `count` points; `points` holds 3*count floats.
    virtual int GraDrawPolygon(int segment, int id, int colour, float width, int count,
                               float* points) = 0;

    // One line from `start` to `end` (3 floats each).
    virtual int GraDrawLine(int segment, int id, int colour, float width, float* start,
                            float* end) = 0;

    // One marker at `point` (3 floats); `markerSize` and `markerType` are the
    // host's marker codes (the model's pixels pass 1 and 5).
    virtual int GraDrawMarker(int segment, int id, int colour, float width, float* point,
                              int markerSize, int markerType) = 0;

    // An arrow from `base` to `tip` (3 floats each) with head size `size`.
    virtual int GraDrawArrow(int segment, int id, int colour, float width, float* base,
                             float* tip, float size) = 0;

    // A result arrow at `base` along `vector` (3 floats each) scaled by
    // `scale`, with the host's arrow style code and an optional label.
    virtual int GraDrawResultArrow(int segment, int id, int colour, float width, float* base,
                                   float* vector, float scale, int style,
                                   const char* label) = 0;

    // Deletes the graphics segment and everything drawn in it.
    virtual int GraDeleteSegment(int segment) = 0;

    // Copies the name of the user-defined failure criterion into `name`.
    // Returns -1 when the host has none (and leaves `name` untouched).
    virtual int FailUserName(char* name) = 0;

    // Evaluates the user-defined lamina failure criterion: `loads` holds the
    // six load components, `allowables` the criterion's allowables, and the
    // host fills the three floats of `results`. Nonzero means the evaluation
    // failed.
    virtual int FailUser(float* loads, float* allowables, float* results) = 0;

    // Deleting an adapter through this interface is allowed.
    virtual ~CKpGUI() = default;
};

#endif  // PLYSTRAND_HOST_CKPGUI_H
