#ifndef PLYSTRAND_LAYUPLIB_MESSAGES_H
#define PLYSTRAND_LAYUPLIB_MESSAGES_H

#include <string>
#include <vector>

namespace SolidElements {

// Messages: the fill-solid module's own message store, two parallel lists of
// texts and their types, kept in the order they were added until the store
// is destroyed. The module stores every message as eError.
class Messages {
  public:
    enum EType { eInformation = 0, eWarning = 1, eError = 2 };

    // Appends `text` (null taken as "") with `type`.
    void AddMessage(const char* text, EType type);
    int GetNumMessages() const;
    // The i-th text (0 oldest) and its type; "" and eError outside
    // 0 .. GetNumMessages() - 1.
    const char* GetMessage(int i) const;
    EType GetType(int i) const;

  private:
    std::vector<std::string> m_texts;
    std::vector<EType> m_types;
};

}  // namespace SolidElements

#endif  // PLYSTRAND_LAYUPLIB_MESSAGES_H
