#include "tests/support/ResultsDigest.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResElem.h"
#include "layuplib/CKpResStore.h"

std::string ResultsDump(CKpLayup& model) {
    std::string out;
    char line[64];
    CKpResStore* store = model.pRess();
    for (int i = 0; i < store->entries(); ++i) {
        CKpRes* res = (*store)[i];
        std::snprintf(line, sizeof line, "result %d", res->id());
        out += line;
        for (int k = 0; k < 5; ++k) {
            out += '|';
            out += res->name(k);
        }
        std::snprintf(line, sizeof line, "| %d %d %d %d\n", res->orient(), res->type(), res->loc(),
                      res->GetNumElements());
        out += line;
        CKpResElemStore* elems = res->ResElems();
        for (int k = 0; k < elems->entries(); ++k) {
            const CKpResElem* e = (*elems)[k];
            std::snprintf(line, sizeof line, "%d %d %d:", e->id(), e->GetNumFloats(),
                          e->GetNumInts());
            out += line;
            for (int v = 0; v < e->GetNumFloats(); ++v) {
                const float f = e->GetFloat(v);
                unsigned bits;
                std::memcpy(&bits, &f, sizeof bits);
                std::snprintf(line, sizeof line, " %08x", bits);
                out += line;
            }
            for (int v = 0; v < e->GetNumInts(); ++v) {
                std::snprintf(line, sizeof line, " i%08x", static_cast<unsigned>(e->GetInt(v)));
                out += line;
            }
            out += '\n';
        }
    }
    return out;
}

std::uint64_t Fnv1a64(const std::string& text) {
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

std::string ReadFingerprint(CKpLayup& model, const std::string& messages) {
    char text[80];
    std::snprintf(text, sizeof text, "%d %016llx/%016llx", model.pRess()->entries(),
                  static_cast<unsigned long long>(Fnv1a64(ResultsDump(model))),
                  static_cast<unsigned long long>(Fnv1a64(messages)));
    return text;
}

namespace {

std::string FileText(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

std::string CaptureMessages(CKpLayup& model, const std::string& path,
                            const std::function<void(CKpLayup&)>& read) {
    const std::string log =
        ::testing::TempDir() + "results_digest_" + std::to_string(::getpid()) + ".msg";
    model.pMsg()->FileOpen(log.c_str());
    const size_t skip = FileText(log).size();
    read(model);
    model.pMsg()->FileClose();
    std::string body = FileText(log).substr(skip);
    std::remove(log.c_str());
    for (size_t at; !path.empty() && (at = body.find(path)) != std::string::npos;)
        body.replace(at, path.size(), "<path>");
    return body;
}
