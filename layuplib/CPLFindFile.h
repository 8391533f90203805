#ifndef PLYSTRAND_LAYUPLIB_CPLFINDFILE_H
#define PLYSTRAND_LAYUPLIB_CPLFINDFILE_H

#include <cstdint>
#include <string>

#include "platform/PlatDirSearch.h"

// Search of one directory for entries matching a mask, one match at a time:
//   SetPath("dir"); SetMask("*.so");
//   for (int r = f.FindFirst(); r == 0; r = f.FindNext()) use(f.GetFullFilePath());
// Matches come in byte-wise order of their names; "." and ".." never match a
// wildcard mask. Paths may be of any length; one that the platform cannot
// search makes FindFirst fail.
class CPLFindFile {
  public:
    // No search, no mask, empty paths, separator "/".
    CPLFindFile();
    CPLFindFile(const CPLFindFile&) = delete;
    CPLFindFile& operator=(const CPLFindFile&) = delete;
    // Ends the search, frees the mask.
    virtual ~CPLFindFile();

    // Ends a running search and clears the current match, then takes a copy of
    // `directory`. 0; 1 for a null directory (the path stays as it was) or
    // when memory runs out.
    int SetPath(const char* directory);
    // Replaces the mask copy; the mask may hold '*' and '?'. 0; 1 for a null
    // mask or when the copy cannot be made (the old mask stays).
    int SetMask(const char* mask);

    // Starts a new search (ending a running one) for path + "/" + mask, the
    // "/" left out when the path already ends with it; without a mask the path
    // alone names the one entry searched for. 0 with the first match current;
    // 1 when nothing matches or the directory cannot be searched (no search
    // running then).
    int FindFirst();
    // Moves to the next match: 0; 1 when no search is running or no further
    // match exists (the last match stays current).
    int FindNext();

    // The current match: its name, and path + "/" + name (the "/" left out when
    // the path ends with it). "" when there is no match.
    const char* GetFilename() const { return m_Record.name.c_str(); }
    const char* GetFullFilePath() const { return m_strFullPath.c_str(); }
    // 1 when the current match is a directory, else 0.
    int IsDirectory() const { return (m_Record.attributes & kPlatAttrDirectory) ? 1 : 0; }
    // Low 32 bits of the current match's size in bytes (0 for a directory).
    std::uint32_t GetFileSize() const { return m_Record.sizeLow; }
    // 1 while a search is running, else 0.
    int IsValid() const { return m_hSearch ? 1 : 0; }
    // Ends the search and clears the current match.
    void Close();

  private:
    // Sets the full path from the path and the current match's name.
    void SetFullPath();

    PlatDirSearch* m_hSearch;
    PlatFindRecord m_Record;
    char* m_pszMask;
    std::string m_strPath;
    std::string m_strFullPath;
    char m_szSeparator[2];
};

#endif  // PLYSTRAND_LAYUPLIB_CPLFINDFILE_H
