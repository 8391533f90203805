#ifndef PLYSTRAND_HOST_LAYUPOUT_H
#define PLYSTRAND_HOST_LAYUPOUT_H

// The host's tables and the library's callbacks on top of them.
//
// The host hands over its interface tables once per process through
// VekApiInit; the LayupOut callbacks reach the host's mesh, graphics,
// message and interrupt services through them. CMorvekGUI and CMorvek call
// the callbacks; the host may call them too.
//
// Graphics state, process-wide: one host graphics handle per graphics
// segment number (any int), created on the segment's first drawing and
// dropped when the segment is deleted, and a draw counter: the host display
// is refreshed once every 201 drawing calls and at every segment deletion.
//
// Before the tables are held (or when the host gave none) no callback calls
// the host: the drawing callbacks and LayupOutMessage return 0,
// LayupOutUiAbort 0 (no stop request), the mesh callbacks -1.
//
// Colours are the library's colour numbers, mapped by LayupOutCLUT. Points
// are three floats x, y, z; point arrays three floats per point. The `id`
// and `width` arguments of the drawing callbacks are not used.

#include "host/MorvekHost.h"

extern "C" {

// Fetches the mesh (3), graphics (6), message (12) and interface (13) tables
// in this order through `getter` (8, table id, slot) and keeps them for the
// life of the process. 0; the first nonzero status of the getter, after
// which a later call asks for all four again; -1 for a null getter. Once all
// four are held a call returns 0 and asks the getter nothing.
int VekApiInit(MorvekHostGetter getter);

// The host's interrupt polls: 0 when message entry 1 answers nonzero; else
// -1 when message entry 0 answers nonzero; else 0 when interface entry 3
// answers nonzero; else -1.
int LayupOutUiAbort(void);

// Sends `text` to the host as message code channel + 59200000 (channel 1:
// the log's warnings and errors; 100005: the yes/no questions, 59300005) with
// `severity` unchanged (1, 2, 4, or a question type such as 1029) and base
// code 59000000. Returns the host's answer (the user's, for a question).
int LayupOutMessage(int channel, int severity, const char* text);

// Does nothing; -1.
int LayupOutGraSetColor(int colour);
// A polygon of `count` points: lines from each point to the next, and a
// closing line from the last to the first when count > 2; one drawing call.
// 0.
int LayupOutGraDrawPolygon(int segment, int id, int colour, float width, int count, float* points);
int LayupOutGraDrawLine(int segment, int id, int colour, float width, float* start, float* end);
// The two ints select the host's marker and go to the host unchanged.
int LayupOutGraDrawMarker(int segment, int id, int colour, float width, float* point,
                          int markerSize, int markerType);
// Through the host's GmDrawArrow. 0.
int LayupOutGraDrawArrow(int segment, int id, int colour, float width, float* base, float* tip,
                         float size);
// Through the host's GmDrawResultArrow (with 1 after the label). 0.
int LayupOutGraDrawResultArrow(int segment, int id, int colour, float width, float* base,
                               float* vector, float scale, int style, const char* label);
// Refreshes the display, resets the draw counter and deletes the segment's
// handle when it has one. 0.
int LayupOutGraDeleteSegment(int segment);

// Mesh access: the arguments go to mesh entries 0, 1, 2, 4 and 5 in the same
// order; the host's status comes back unchanged (-1 without tables).
int LayupOutCountElems(int* count);
int LayupOutGetElemIds(int count, int* ids);
int LayupOutGetElemEtop(int count, int* ids, int* topologies);
int LayupOutGetNodesForElems(int count, int slots, int* ids, int* nodeIds);
int LayupOutGetNodes(int count, int* nodeIds, int* a, int* b, float* xyz);

}  // extern "C"

// Host colour index of a library colour number: 0 -> 0; 1, 9 -> 4; 2, 10 ->
// 2; 3, 11 -> 6; 4, 12 -> 1; 5, 13 -> 5; 6, 14 -> 3; 8, 101 -> 8; 100 -> 12;
// 102 -> 15; 103 -> 13; 104 -> 9; 105 -> 14; a negative c -> -c; every other
// value -> 7. (Exported with C++ linkage.)
int LayupOutCLUT(int colour);

#endif  // PLYSTRAND_HOST_LAYUPOUT_H
