#ifndef PLYSTRAND_TESTS_SUPPORT_RESULTSDIGEST_H
#define PLYSTRAND_TESTS_SUPPORT_RESULTSDIGEST_H

#include <cstdint>
#include <functional>
#include <string>

class CKpLayup;

// Every result of the model's result store in store order: id, the five
// names, orientation, type and location codes, then each element record
// with its id, counts and the bits of every float and int in hex. Two
// models give the same text only when their results agree bit for bit.
std::string ResultsDump(CKpLayup& model);

// 64-bit FNV-1a of `text`: short fingerprints of dumps and message logs.
std::uint64_t Fnv1a64(const std::string& text);

// A file written by `read` into the model's message log, with every
// occurrence of `path` replaced by "<path>" (temp file names change from run
// to run). `read` is called with the model after the log file is opened;
// the log's opening lines are left out.
std::string CaptureMessages(CKpLayup& model, const std::string& path,
                            const std::function<void(CKpLayup&)>& read);

// The fingerprint of the results and the messages of one read, as
// "<results hash>/<messages hash>" in hex, with the result count first.
std::string ReadFingerprint(CKpLayup& model, const std::string& messages);

#endif  // PLYSTRAND_TESTS_SUPPORT_RESULTSDIGEST_H
