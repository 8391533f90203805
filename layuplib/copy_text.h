#ifndef PLYSTRAND_LAYUPLIB_COPY_TEXT_H
#define PLYSTRAND_LAYUPLIB_COPY_TEXT_H

// Copies `text` (null taken as "") into the caller's `buffer` of `size`
// bytes: at most size - 1 characters and a terminator, so a long text is
// cut, never overruns. 0; 1 with nothing written for a null buffer or a
// size below 1.
int copy_text(char* buffer, int size, const char* text);

// Bytes a text may take at `buffer` (terminator included) when it lies in
// storage whose size a caller outside the library fixed, else -1.
typedef int (*CopyTextRoom)(const char* buffer);
// While set, copy_text cuts every text at the smaller of its size and the
// room `room` reports. The command-language wrapper sets it for the length
// of a built-in call, so texts stay within the host's slots; null clears it.
void SetCopyTextRoom(CopyTextRoom room);

#endif  // PLYSTRAND_LAYUPLIB_COPY_TEXT_H
