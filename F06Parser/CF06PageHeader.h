#ifndef PLYSTRAND_F06PARSER_CF06PAGEHEADER_H
#define PLYSTRAND_F06PARSER_CF06PAGEHEADER_H

#include <cstdint>
#include <string>

class CF06FileBuffer;

// CF06PageHeader: the head of one page of a printed report: title,
// subtitle and label lines (carriage control blanked, trimmed, runs of
// blanks cut to two), the eigenvalue or time of the subcase when printed,
// and the page title (the first other non-empty line).
class CF06PageHeader {
  public:
    CF06PageHeader();
    virtual ~CF06PageHeader();

    // Reads the header of the page whose "1" is at pos. Returns the position
    // after the label line.
    std::int64_t Parse(std::int64_t pos, CF06FileBuffer& buffer);
    // The subtitle, or "Default Loadcase".
    const char* GetSubTitle();
    // The label ("Default Subcase" when empty), with ":Freq.=%g" (eigenvalue
    // pages: sqrt(eigenvalue) / 2 pi) or ":Time=%g".
    const char* GetLabel();
    const char* GetTitle() const { return m_title; }
    const char* GetPageTitle() const { return m_pageTitle; }
    const char* GetRawLabel() const { return m_label; }
    int GetType() const { return m_type; }
    float GetValue() const { return m_value; }
    std::int64_t GetStartPos() const { return m_start; }
    std::int64_t GetHeaderEndPos() const { return m_headerEnd; }

  private:
    char m_title[134];
    char m_subtitle[134];
    char m_label[134];
    int m_type;
    float m_value;
    std::string m_labelWork;
    char m_pageTitle[134];
    std::int64_t m_start;
    std::int64_t m_headerEnd;
};

#endif  // PLYSTRAND_F06PARSER_CF06PAGEHEADER_H
