// The stand-in host's property, field, frame, material and laminate
// functions (host/MorvekHost.h). Statuses: 0 success, 1 an unknown object or
// a duplicate id, 2 a bad argument.

#include <algorithm>
#include <cstring>
#include <string>

#include "host/MorvekHost.h"
#include "platform/MorvekStubState.h"

using morvekstub::state;
using morvekstub::takeFailure;

namespace morvekstub {

void copyText(const std::string& text, char* out, std::size_t size) {
    if (!out || size == 0) return;
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
}

int labelId(std::vector<std::string>& labels, const std::string& label, bool add) {
    const auto found = std::find(labels.begin(), labels.end(), label);
    if (found != labels.end()) return static_cast<int>(found - labels.begin()) + 1;
    if (!add) return 0;
    labels.push_back(label);
    return static_cast<int>(labels.size());
}

}  // namespace morvekstub

namespace {

#define STUB_ENTRY(name) \
    int status_ = 0;     \
    if (takeFailure(name, &status_)) return status_

morvekstub::Region* region(int id) {
    auto& regions = state().db.regions;
    const auto found = regions.find(id);
    return found == regions.end() ? nullptr : &found->second;
}

morvekstub::Material* material(int id) {
    auto& mats = state().db.materials;
    const auto found = mats.find(id);
    return found == mats.end() ? nullptr : &found->second;
}

void setOut(int* p, int v) {
    if (p) *p = v;
}

}  // namespace

extern "C" {

// ---- Regions, property words, fields, frames ----

int DbFGetRegionForElements(int count, int* elemIds, int* regionIds) {
    STUB_ENTRY("DbFGetRegionForElements");
    if (count < 0 || (count > 0 && (!elemIds || !regionIds))) return 2;
    const auto& elemRegion = state().db.elemRegion;
    for (int k = 0; k < count; ++k) {
        const auto found = elemRegion.find(elemIds[k]);
        regionIds[k] = found == elemRegion.end() ? 0 : found->second;
    }
    return 0;
}

int DbFCountProps(int regionId, int* wordCount) {
    STUB_ENTRY("DbFCountProps");
    const morvekstub::Region* r = region(regionId);
    if (!r) return 1;
    if (!wordCount) return 2;
    *wordCount = static_cast<int>(r->words.size());
    return 0;
}

int DbFGetPropsByRegion(int wordCount, int regionId, int* wordIds) {
    STUB_ENTRY("DbFGetPropsByRegion");
    const morvekstub::Region* r = region(regionId);
    if (!r) return 1;
    if (wordCount != static_cast<int>(r->words.size()) || (wordCount > 0 && !wordIds)) return 2;
    for (int k = 0; k < wordCount; ++k) wordIds[k] = r->words[k].word;
    return 0;
}

int DbFGetPropValue(int regionId, int wordId, int* a, int* dataType, int* b, float* reals3,
                    char* string32, int* frameId, int* c, int* fieldId) {
    STUB_ENTRY("DbFGetPropValue");
    const morvekstub::Region* r = region(regionId);
    if (!r) return 1;
    for (const morvekstub::PropWord& w : r->words) {
        if (w.word != wordId) continue;
        setOut(a, w.materialId);
        setOut(dataType, w.dataType);
        setOut(b, 0);
        if (reals3) std::copy(w.reals, w.reals + 3, reals3);
        if (string32) string32[0] = '\0';
        setOut(frameId, w.frameId);
        setOut(c, 0);
        setOut(fieldId, w.fieldId);
        return 0;
    }
    return 1;
}

int DbFGetRegionDefinition(int regionId, char* name32, int* o1, int* o2, int* o3, int* o4, int* o5,
                           int* kind, int* o7, int* materialId, int* o9, int* o10) {
    STUB_ENTRY("DbFGetRegionDefinition");
    const morvekstub::Region* r = region(regionId);
    if (!r) return 1;
    morvekstub::copyText(r->name, name32, 32);
    for (int* p : {o1, o2, o3, o4, o5, o7, o9, o10}) setOut(p, 0);
    // Kind 3 marks a laminate material on word 13, 1 any other material.
    int k = 0, mid = 0;
    for (const morvekstub::PropWord& w : r->words) {
        if (w.word != 13) continue;
        const morvekstub::Material* m = material(w.materialId);
        if (m) {
            k = m->isLaminate ? 3 : 1;
            mid = w.materialId;
        }
    }
    setOut(kind, k);
    setOut(materialId, mid);
    return 0;
}

int DbFGetCoordinateFrame(int frameId, int* a, int* b, float* origin3, float* axes9) {
    STUB_ENTRY("DbFGetCoordinateFrame");
    const auto& frames = state().db.frames;
    const auto found = frames.find(frameId);
    if (found == frames.end()) return 1;
    setOut(a, found->second.type);
    setOut(b, 0);
    if (origin3) std::copy(found->second.origin, found->second.origin + 3, origin3);
    if (axes9) std::copy(found->second.axes, found->second.axes + 9, axes9);
    return 0;
}

int GetFieldValues25(int fieldId, int, int, int, float*, int, int* elemId, int*, int*, int*,
                     float* value) {
    STUB_ENTRY("GetFieldValues25");
    const auto& fields = state().db.fields;
    const auto found = fields.find(fieldId);
    if (found == fields.end() || !elemId) return 1;
    const auto v = found->second.values.find(*elemId);
    if (v == found->second.values.end()) return 1;
    if (value) *value = v->second;
    return 0;
}

int DbFCreateFieldLbc(int* fieldId, const char* name, int, int, int, int count, int* elemIds,
                      float*, float*, float*, float* values) {
    STUB_ENTRY("DbFCreateFieldLbc");
    if (!fieldId || count < 0 || (count > 0 && (!elemIds || !values))) return 2;
    auto& fields = state().db.fields;
    const int id = morvekstub::nextId(fields);
    morvekstub::Field& f = fields[id];
    f.name = name ? name : "";
    for (int k = 0; k < count; ++k) f.values[elemIds[k]] = values[k];
    *fieldId = id;
    return 0;
}

int DbFCreateCoordinateFrame(int* frameId, int frameType, float* origin3, float* axes9, int* out) {
    STUB_ENTRY("DbFCreateCoordinateFrame");
    if (!frameId || !origin3 || !axes9) return 2;
    auto& frames = state().db.frames;
    int id = *frameId;
    if (id < 1 || frames.count(id)) id = morvekstub::nextId(frames);
    morvekstub::Frame& f = frames[id];
    f.type = frameType;
    std::copy(origin3, origin3 + 3, f.origin);
    std::copy(axes9, axes9 + 9, f.axes);
    *frameId = id;
    setOut(out, 0);
    return 0;
}

int DbFCreatePhysPropRegion(int regionId, const char* name, int, int, int, int, int, int) {
    STUB_ENTRY("DbFCreatePhysPropRegion");
    if (regionId < 1) return 2;
    auto& regions = state().db.regions;
    if (regions.count(regionId)) return 1;
    regions[regionId].name = name ? name : "";
    return 0;
}

int DbFCreatePhysPropValue(int regionId, int wordId, int materialId, int dataType, int,
                           float* reals3, const char*, int, int frameId, int fieldId) {
    STUB_ENTRY("DbFCreatePhysPropValue");
    morvekstub::Region* r = region(regionId);
    if (!r) return 1;
    morvekstub::PropWord w;
    w.word = wordId;
    w.dataType = dataType;
    w.materialId = materialId;
    if (reals3) std::copy(reals3, reals3 + 3, w.reals);
    w.frameId = frameId;
    w.fieldId = fieldId;
    for (morvekstub::PropWord& old : r->words)
        if (old.word == wordId) {
            old = w;
            return 0;
        }
    r->words.push_back(w);
    return 0;
}

int DbFAssociateElementToRegion(int elemId, int regionId) {
    STUB_ENTRY("DbFAssociateElementToRegion");
    auto& db = state().db;
    if (!region(regionId) || !db.elem(elemId)) return 1;
    db.elemRegion[elemId] = regionId;
    return 0;
}

// ---- Materials and laminates ----

int DbGetMaterialPropValueCount(int materialId, int* wordCount) {
    STUB_ENTRY("DbGetMaterialPropValueCount");
    const morvekstub::Material* m = material(materialId);
    if (!m) return 1;
    if (!wordCount) return 2;
    *wordCount = static_cast<int>(m->words.size());
    return 0;
}

int DbGetMaterialPropValue(int materialId, int* wordIds, int* fieldIds, float* values) {
    STUB_ENTRY("DbGetMaterialPropValue");
    const morvekstub::Material* m = material(materialId);
    if (!m) return 1;
    if (!m->words.empty() && (!wordIds || !values)) return 2;
    for (size_t k = 0; k < m->words.size(); ++k) {
        wordIds[k] = m->words[k].first;
        if (fieldIds) fieldIds[k] = 0;
        values[k] = m->words[k].second;
    }
    return 0;
}

int DbGetCompLamIdsById2(int materialId, int layers, char* name32, int* a, int* materialIds,
                         double* thicknesses, double* anglesDeg, int* b, double* offset,
                         int* noOffset, int* globalPlyIds) {
    STUB_ENTRY("DbGetCompLamIdsById2");
    const morvekstub::Material* m = material(materialId);
    if (!m || !m->hasStack) return 1;
    if (layers != static_cast<int>(m->layers.size())) return 2;
    if (layers > 0 && (!materialIds || !thicknesses || !anglesDeg)) return 2;
    morvekstub::copyText(m->name, name32, 32);
    setOut(a, 0);
    setOut(b, 0);
    for (int k = 0; k < layers; ++k) {
        materialIds[k] = m->layers[k].materialId;
        thicknesses[k] = m->layers[k].thickness;
        anglesDeg[k] = m->layers[k].angle;
        if (globalPlyIds) globalPlyIds[k] = m->layers[k].globalPlyId;
    }
    if (offset) *offset = m->offset;
    setOut(noOffset, m->noOffset);
    return 0;
}

int DbSetCompLamById2(int materialId, int layers, int* materialIds, double* thicknesses,
                      double* anglesDeg, int, double offset, int noOffset, int* globalPlyIds) {
    STUB_ENTRY("DbSetCompLamById2");
    morvekstub::Material* m = material(materialId);
    if (!m) return 1;
    if (layers < 0 || (layers > 0 && (!materialIds || !thicknesses || !anglesDeg))) return 2;
    m->hasStack = true;
    m->offset = offset;
    m->noOffset = noOffset;
    m->layers.assign(static_cast<size_t>(layers), morvekstub::LamLayer());
    for (int k = 0; k < layers; ++k)
        m->layers[k] = {materialIds[k], thicknesses[k], anglesDeg[k],
                        globalPlyIds ? globalPlyIds[k] : 0};
    return 0;
}

int DbFGetMaterial(int materialId, char* name256, int* a, int* b, int* directionality,
                   char* description1024, int* c, int* d) {
    STUB_ENTRY("DbFGetMaterial");
    const morvekstub::Material* m = material(materialId);
    if (!m) return 1;
    morvekstub::copyText(m->name, name256, 256);
    morvekstub::copyText(m->description, description1024, 1024);
    setOut(a, m->code);
    setOut(b, 0);
    setOut(directionality, m->directionality);
    setOut(c, m->isLaminate);
    setOut(d, 0);
    return 0;
}

int DbFCreateMaterial(const char* name, const char* description, int code, int, int directionality,
                      int isLaminate, int* materialId) {
    STUB_ENTRY("DbFCreateMaterial");
    if (!materialId) return 2;
    auto& mats = state().db.materials;
    const int id = morvekstub::nextId(mats);
    morvekstub::Material& m = mats[id];
    m.name = name ? name : "";
    m.description = description ? description : "";
    m.code = code;
    m.directionality = directionality;
    m.isLaminate = isLaminate;
    *materialId = id;
    return 0;
}

int DbCreateMatlConstModelDefn(int materialId, int* models, int count) {
    STUB_ENTRY("DbCreateMatlConstModelDefn");
    morvekstub::Material* m = material(materialId);
    if (!m) return 1;
    if (count < 0 || (count > 0 && !models)) return 2;
    for (int k = 0; k < count; ++k) m->models.emplace_back(models[k], 0);
    return 0;
}

int DbCreateConstitutiveModelsSpecified(int materialId, int model, int*, int) {
    STUB_ENTRY("DbCreateConstitutiveModelsSpecified");
    morvekstub::Material* m = material(materialId);
    if (!m) return 1;
    for (auto& entry : m->models)
        if (entry.first == model) {
            entry.second = 1;
            return 0;
        }
    return 1;
}

int DbCreateMaterialPropValue(int materialId, int* wordId, int*, float* value, int) {
    STUB_ENTRY("DbCreateMaterialPropValue");
    morvekstub::Material* m = material(materialId);
    if (!m) return 1;
    if (!wordId || !value) return 2;
    for (auto& w : m->words)
        if (w.first == *wordId) {
            w.second = *value;
            return 0;
        }
    m->words.emplace_back(*wordId, *value);
    return 0;
}

}  // extern "C"
