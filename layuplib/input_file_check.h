#ifndef PLYSTRAND_LAYUPLIB_INPUT_FILE_CHECK_H
#define PLYSTRAND_LAYUPLIB_INPUT_FILE_CHECK_H

#include <cstdint>
#include <string>

// Why `path` cannot serve as an input file, as a short clause for a message
// ("does not exist", "is a directory", "is not a regular file", "is empty",
// "cannot be opened (<system reason>)"); the empty text when it is a regular,
// non-empty file that opens for reading. A null or empty path "does not
// exist". `size` (may be null) receives the file's size in bytes, 0 when
// the file cannot be used.
//
// Readers call it before they open or change anything, so that the message
// they give names the reason and the model stays as it was.
std::string input_file_problem(const char* path, std::int64_t* size = nullptr);

// The last byte of the file `path` (0..255); -1 when it has none or cannot
// be read. Text readers use it to tell a file cut inside its last line: a
// text file written whole ends in its line end.
int input_file_last_byte(const char* path);

#endif  // PLYSTRAND_LAYUPLIB_INPUT_FILE_CHECK_H
