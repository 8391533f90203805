#ifndef PLYSTRAND_HOST_LAYUPEXPORT_H
#define PLYSTRAND_HOST_LAYUPEXPORT_H

// Exported functions that start the model's file exports. Every one
// returns 1 when the model slot is empty. Whole-model exports report the
// outcome in the model's message log (information on success, error on
// failure) and return 0, or -1 on failure:
//   LayupExportMorvek25  "MORVEK 2.5 file written" / "Could not write MORVEK
//                        2.5 file" (host neutral file of the shell model);
//   LayupExportBacon     "BACON file exported" / "Could not save BACON file"
//                        (the int is the element id offset);
//   LayupSaveIndex       "Index saved" / "Could not save index data";
//   LayupExportLaserLayup "Laser layup data exported" / "Could not export
//                        laser layup data" (laser projector files of n
//                        projectors, counts[n] targets each, three floats a
//                        target; a negative count, or a null array that
//                        would be read, is refused before anything is
//                        written);
//   LayupExportMouldSurfIGES "Mould surfaces exported in IGES format" /
//                        "Could not export mould surfaces in IGES format"
//                        (the surface area is restored first; -1 without a
//                        message when that fails).
// The BACON and index exports open their file first ("Could not open file
// '%s' for writing.", no writer called) and close it on every path ("Could
// not close file" when that fails); a write error on the stream counts as
// failure.
// Per-ply exports find the ply by name ("Invalid ply store." without ply
// store, "Ply name '%s' does not exist." for an unknown name: -1, no file
// created) and return the result of the ply's export operation.
extern "C" {

int LayupExportMorvek25(const char* file);
int LayupExportBacon(const char* file, int elemIdOffset);
int LayupSaveIndex(const char* file);
int LayupExportLaserLayup(int mask, const char* base, const char* partNumber, int units, int n,
                          const int* counts, const float* xyz);
int LayupExportMouldSurfIGES(const char* file);
// The layup's laser projector file through a temporary frame (id 0, the
// given type and external id, built from origin[3] and axes[9]); the angle
// tolerance in degrees. The result of the layup laser writer, which
// reports its own messages.
int LayupExportLayupLaser(int numIds, const int* ids, int frameExtId, int frameType,
                          const float* origin, const float* axes, int offset, int minimise,
                          float angTolDeg, float distTol, int unused, int separate,
                          const char* prefix, float markerSize, int startMarker, int refMarker,
                          int warp, int fill, int flatOutline, const char* flatPrefix,
                          const char* path, int draw);

int LayupExportPly3dLaser(const char* ply, int kind, const char* file, int flag);
int LayupExportPly3dDXF(const char* ply, const char* file, const char* layer, int flag);
int LayupExportPly3dVFP(const char* ply, const char* file, const char* name, int flag);
int LayupExportPly3dIGES(const char* ply, const char* file, int flag);
int LayupExportPly2dDXF(const char* ply, const char* file, const char* layer, const char* style,
                        int flag);
int LayupExportPly2dIGES(const char* ply, const char* file, int flag);
int LayupExportPly2dVirtek(const char* ply, const char* file, int flag);

// Clears the solid generation set: 0; 1 without model or set.
int LayupClearSolidModel(void);
// Erases the laser plot (graphics segment 505): 0; 1 without model.
int LayupEraseLayupLaser(void);

}  // extern "C"

#endif  // PLYSTRAND_HOST_LAYUPEXPORT_H
