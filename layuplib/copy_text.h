#ifndef PLYSTRAND_LAYUPLIB_COPY_TEXT_H
#define PLYSTRAND_LAYUPLIB_COPY_TEXT_H

// Copies `text` (null taken as "") into the caller's `buffer` of `size`
// bytes: at most size - 1 characters and a terminator, so a long text is
// cut, never overruns. 0; 1 with nothing written for a null buffer or a
// size below 1.
int copy_text(char* buffer, int size, const char* text);

#endif  // PLYSTRAND_LAYUPLIB_COPY_TEXT_H
