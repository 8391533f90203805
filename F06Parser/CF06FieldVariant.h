#ifndef PLYSTRAND_F06PARSER_CF06FIELDVARIANT_H
#define PLYSTRAND_F06PARSER_CF06FIELDVARIANT_H

// CF06FieldVariant: one parsed field of a card or a printed-output line:
// empty, an int, a double or a text (an owned copy).
//
// A variant that is reused keeps its text storage, so that parsing a long
// file does not allocate per field.
class CF06FieldVariant {
  public:
    // Type tags.
    enum EType { eEmpty = 0, eInt = 1, eDouble = 2, eString = 3 };

    // Empty.
    CF06FieldVariant();
    // Frees the text; the tag becomes 0.
    ~CF06FieldVariant();
    CF06FieldVariant(const CF06FieldVariant&) = delete;
    CF06FieldVariant& operator=(const CF06FieldVariant&) = delete;

    // Makes the field empty (any text is dropped).
    void Clear() { m_type = eEmpty; }
    void Set(int value) {
        m_type = eInt;
        m_int = value;
    }
    void Set(double value) {
        m_type = eDouble;
        m_double = value;
    }
    // Copies the text (null gives an empty text). Returns 0, or -1 when
    // memory runs out (the field is then empty).
    int Set(const char* text);
    // Copies n bytes of text and terminates them.
    int Set(const char* text, int n);

    int GetType() const { return m_type; }
    bool IsEmpty() const { return m_type == eEmpty; }
    bool IsNumber() const { return m_type == eInt || m_type == eDouble; }

    // The int, or the double truncated toward zero (saturated to the int
    // range); 0 for an empty field or a text.
    int ToInt() const;
    // The double, or the int widened; 0.0 for an empty field or a text.
    double ToDouble() const {
        return m_type == eDouble ? m_double : m_type == eInt ? static_cast<double>(m_int) : 0.0;
    }
    operator int() const { return ToInt(); }
    operator double() const { return ToDouble(); }
    operator float() const { return static_cast<float>(ToDouble()); }
    // The text of a text field; null for other fields.
    const char* GetString() const { return m_type == eString ? m_text : nullptr; }

  private:
    int m_type;
    int m_int;
    double m_double;
    char* m_text;
    int m_capacity;
};

#endif  // PLYSTRAND_F06PARSER_CF06FIELDVARIANT_H
