#include "host/LayupOut.h"

#include <climits>
#include <unordered_map>

#include "host/guard_export.h"

namespace {

// The host's tables; held only once all four came.
MorvekHostTable g_mesh = nullptr;
MorvekHostTable g_graphics = nullptr;
MorvekHostTable g_message = nullptr;
MorvekHostTable g_interface = nullptr;
bool g_latched = false;

// Host graphics handle per segment; a segment without an entry has none.
// Made on first use: loading the library constructs nothing.
std::unordered_map<int, int>& handles() {
    static std::unordered_map<int, int> map;
    return map;
}
int g_drawCount = 0;

template <class Fn>
Fn entry(MorvekHostTable table, int position) {
    return reinterpret_cast<Fn>(table[position]);
}

// The segment's host handle, created on first use.
int handleOf(int segment) {
    int& handle = handles()[segment];
    if (handle < 1) entry<MorvekGraNewHandle>(g_graphics, 1)(&handle);
    return handle;
}

// Every drawing call counts once; the 201st since the last refresh refreshes.
void countDrawing() {
    if (++g_drawCount > 200) {
        g_drawCount = 0;
        entry<MorvekGraRefresh>(g_graphics, 2)();
    }
}

int drawLine(int handle, int hostColour, float* start, float* end) {
    return entry<MorvekGraLine>(g_graphics, 0)(handle, hostColour, start, end);
}

}  // namespace

int LayupOutCLUT(int colour) {
    switch (colour) {
        case 0:
            return 0;
        case 1:
        case 9:
            return 4;
        case 2:
        case 10:
            return 2;
        case 3:
        case 11:
            return 6;
        case 4:
        case 12:
            return 1;
        case 5:
        case 13:
            return 5;
        case 6:
        case 14:
            return 3;
        case 8:
        case 101:
            return 8;
        case 100:
            return 12;
        case 102:
            return 15;
        case 103:
            return 13;
        case 104:
            return 9;
        case 105:
            return 14;
        default:
            // INT_MIN has no positive counterpart.
            if (colour < 0 && colour != INT_MIN) return -colour;
            return 7;
    }
}

extern "C" {

int VekApiInit(MorvekHostGetter getter) {
    return guard_export(__func__, -1, [&]() -> int {
        if (g_latched) return 0;
        if (!getter) return -1;
        // A failed earlier attempt asks for all four again, so that no table is
        // left empty behind a success.
        MorvekHostTable* slots[4] = {&g_mesh, &g_graphics, &g_message, &g_interface};
        const int ids[4] = {3, 6, 12, 13};
        for (int k = 0; k < 4; ++k) {
            const int status = getter(8, ids[k], slots[k]);
            if (status != 0) return status;
        }
        g_latched = g_mesh && g_graphics && g_message && g_interface;
        return g_latched ? 0 : -1;
    });
}

int LayupOutUiAbort(void) {
    return guard_export(__func__, -1, [&]() -> int {
        if (!g_latched) return 0;
        if (entry<MorvekMsgPoll>(g_message, 1)() != 0) return 0;
        if (entry<MorvekMsgPoll>(g_message, 0)() != 0) return -1;
        if (entry<MorvekIfPoll>(g_interface, 3)() != 0) return 0;
        return -1;
    });
}

int LayupOutMessage(int channel, int severity, const char* text) {
    return guard_export(__func__, -1, [&]() -> int {
        if (!g_latched) return 0;
        return entry<MorvekMsgSend>(g_message, 2)(channel + 59200000, severity, 59000000, 0,
                                                  nullptr, 1, text);
    });
}

int LayupOutGraSetColor(int) {
    return -1;
}

int LayupOutGraDrawPolygon(int segment, int, int colour, float, int count, float* points) {
    return guard_export(__func__, -1, [&]() -> int {
        if (!g_latched) return 0;
        const int handle = handleOf(segment);
        const int hostColour = LayupOutCLUT(colour);
        if (points) {
            for (int k = 0; k + 1 < count; ++k)
                drawLine(handle, hostColour, points + 3 * k, points + 3 * (k + 1));
            if (count > 2) drawLine(handle, hostColour, points + 3 * (count - 1), points);
        }
        countDrawing();
        return 0;
    });
}

int LayupOutGraDrawLine(int segment, int, int colour, float, float* start, float* end) {
    return guard_export(__func__, -1, [&]() -> int {
        if (!g_latched) return 0;
        drawLine(handleOf(segment), LayupOutCLUT(colour), start, end);
        countDrawing();
        return 0;
    });
}

int LayupOutGraDrawMarker(int segment, int, int colour, float, float* point, int markerSize,
                          int markerType) {
    return guard_export(__func__, -1, [&]() -> int {
        if (!g_latched) return 0;
        entry<MorvekGraMarker>(g_graphics, 3)(handleOf(segment), LayupOutCLUT(colour), point,
                                              markerSize, markerType);
        countDrawing();
        return 0;
    });
}

int LayupOutGraDrawArrow(int segment, int, int colour, float, float* base, float* tip, float size) {
    return guard_export(__func__, -1, [&]() -> int {
        if (!g_latched) return 0;
        GmDrawArrow(handleOf(segment), LayupOutCLUT(colour), base, tip, size);
        countDrawing();
        return 0;
    });
}

int LayupOutGraDrawResultArrow(int segment, int, int colour, float, float* base, float* vector,
                               float scale, int style, const char* label) {
    return guard_export(__func__, -1, [&]() -> int {
        if (!g_latched) return 0;
        GmDrawResultArrow(handleOf(segment), LayupOutCLUT(colour), base, vector, scale, style,
                          label, 1);
        countDrawing();
        return 0;
    });
}

int LayupOutGraDeleteSegment(int segment) {
    return guard_export(__func__, -1, [&]() -> int {
        if (!g_latched) return 0;
        entry<MorvekGraRefresh>(g_graphics, 2)();
        g_drawCount = 0;
        const auto found = handles().find(segment);
        if (found != handles().end()) {
            if (found->second > 0) entry<MorvekGraDelete>(g_graphics, 4)(found->second);
            handles().erase(found);
        }
        return 0;
    });
}

int LayupOutCountElems(int* count) {
    return guard_export(__func__, -1, [&]() -> int {
        if (!g_latched) return -1;
        return entry<MorvekMeshCountElems>(g_mesh, 0)(count);
    });
}

int LayupOutGetElemIds(int count, int* ids) {
    return guard_export(__func__, -1, [&]() -> int {
        if (!g_latched) return -1;
        return entry<MorvekMeshGetElemIds>(g_mesh, 1)(count, ids);
    });
}

int LayupOutGetElemEtop(int count, int* ids, int* topologies) {
    return guard_export(__func__, -1, [&]() -> int {
        if (!g_latched) return -1;
        return entry<MorvekMeshGetElemEtop>(g_mesh, 2)(count, ids, topologies);
    });
}

int LayupOutGetNodesForElems(int count, int slots, int* ids, int* nodeIds) {
    return guard_export(__func__, -1, [&]() -> int {
        if (!g_latched) return -1;
        return entry<MorvekMeshGetNodesForElems>(g_mesh, 4)(count, slots, ids, nodeIds);
    });
}

int LayupOutGetNodes(int count, int* nodeIds, int* a, int* b, float* xyz) {
    return guard_export(__func__, -1, [&]() -> int {
        if (!g_latched) return -1;
        return entry<MorvekMeshGetNodes>(g_mesh, 5)(count, nodeIds, a, b, xyz);
    });
}

}  // extern "C"
