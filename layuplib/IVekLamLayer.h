#ifndef PLYSTRAND_LAYUPLIB_IVEKLAMLAYER_H
#define PLYSTRAND_LAYUPLIB_IVEKLAMLAYER_H

class IVekMaterial;

// IVekLamLayer: what outside clients see of one layer of a laminate.
// CKpLamLyr derives from it first. The layer belongs to its laminate's layer
// store: clients never delete it.
class IVekLamLayer {
  public:
    // The layer's material, looked up by id in the model's material store;
    // null when the layer lies in no laminate, the laminate in no store, the
    // store has no model, or no material has that id. Owned by the store.
    virtual IVekMaterial* GetMaterial() = 0;

    // External (solver) name and id of the material's state that the layer
    // uses (state index 0 is the material itself). Null text, or 0, when
    // there is no material or no such state.
    virtual const char* GetExternalMaterialName() = 0;
    virtual int GetExternalMaterialId() = 0;

    // Thickness (model length units), angle (radians), global ply id (below
    // 1: none).
    virtual double GetThickness() = 0;
    virtual double GetAngle() = 0;
    virtual int GetGlobalPlyID() = 0;

    // Name of the layup ply (global ply) the layer came from; "" when unset.
    virtual const char* GetLayupPlyName() = 0;

    // Makes `material` the layer's material (the layer keeps its id).
    // 0 done; 1 for a null material; 2 when the layer lies in no laminate,
    // the laminate in no store or the store has no model; 3 when the model's
    // material store cannot be created; 4 when `material` is not the
    // material of its id in the model's material store.
    virtual int SetMaterial(IVekMaterial* material) = 0;

    // Store thickness, angle (radians), global ply id and layup ply name
    // (null taken as ""). Each returns 0.
    virtual int SetThickness(double thickness) = 0;
    virtual int SetAngle(double angle) = 0;
    virtual int SetGlobalPlyID(int id) = 0;
    virtual int SetGlobalPlyName(const char* name) = 0;

    virtual ~IVekLamLayer() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKLAMLAYER_H
