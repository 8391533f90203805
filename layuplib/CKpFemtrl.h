#ifndef PLYSTRAND_LAYUPLIB_CKPFEMTRL_H
#define PLYSTRAND_LAYUPLIB_CKPFEMTRL_H

// CKpFemtrl: one record of the material list the shell neutral writer
// numbers its laminate entries by: material number (from 1, in list order),
// the material's ply type, material id, state key (0 for the material
// itself, the state id for a further state), a used flag and the next
// record. All zero after construction.
class CKpFemtrl {
  public:
    CKpFemtrl() = default;
    CKpFemtrl(const CKpFemtrl&) = delete;
    CKpFemtrl& operator=(const CKpFemtrl&) = delete;

    // Deletes `first` and every record after it.
    static void DeleteList(CKpFemtrl* first);

    int number = 0;
    int plyType = 0;
    int matId = 0;
    int stateKey = 0;
    int used = 0;
    CKpFemtrl* next = nullptr;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPFEMTRL_H
