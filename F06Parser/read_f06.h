#ifndef PLYSTRAND_F06PARSER_READ_F06_H
#define PLYSTRAND_F06PARSER_READ_F06_H

class CKpLayup;

// Reads the layered results of a solver printed-output file into the
// model's result store (see CF06Parser). flags: bit 0 forces, bit 1 layered
// stresses, bit 2 failure indices; echo nonzero opens `echoPath` (when
// given) as the echo file. 0 on success; 1 when the echo file cannot be
// opened or the parse fails.
int read_f06(const char* path, CKpLayup* model, int echo, const char* echoPath, int flags);

#endif  // PLYSTRAND_F06PARSER_READ_F06_H
