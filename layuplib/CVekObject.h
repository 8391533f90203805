#ifndef PLYSTRAND_LAYUPLIB_CVEKOBJECT_H
#define PLYSTRAND_LAYUPLIB_CVEKOBJECT_H

// CVekObject: the base of every model object that is looked up by an integer
// id (nodes, elements, materials, plies, ...). Such objects live in a store
// derived from CVekObjectStore<T>, which keeps them sorted by id and owns
// them: stores delete their objects through the virtual destructor.
class CVekObject {
  public:
    // An object with the given id (any signed 32-bit value; the store does not
    // require ids to be unique, its callers keep them so).
    explicit CVekObject(int id);

    // Copies the id only.
    CVekObject(const CVekObject& other);
    CVekObject& operator=(const CVekObject& other) = default;

    // The only virtual operation: stores delete their objects through it.
    virtual ~CVekObject();

    // The key.
    int id() const { return m_id; }

    // Writes the id without telling any store. The id of an object that sits
    // in a store must be changed through the store's `updateId`, otherwise
    // the store's order breaks and lookups miss the object.
    void setId(int id) { m_id = id; }

  private:
    int m_id;
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKOBJECT_H
