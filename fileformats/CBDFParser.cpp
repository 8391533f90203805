#include "fileformats/CBDFParser.h"

#include <cstring>
#include <string>

#include "F06Parser/CF06FileBuffer.h"
#include "fileformats/CBDFCardGenerator.h"
#include "fileformats/CBDFFieldParser.h"
#include "layuplib/CKpCoord.h"
#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/input_file_check.h"
#include "layuplib/user_break.h"

namespace {

const int kWindow = 1048576;

// Number of line feeds before `end`: the line number of `end` is that + 1.
std::int64_t CountLines(CF06FileBuffer& buffer, std::int64_t end) {
    std::int64_t lines = 0;
    std::int64_t pos = 0;
    while (pos < end && buffer.InWindow(pos)) {
        std::int64_t stop = buffer.GetWindowEnd() < end ? buffer.GetWindowEnd() : end;
        const char* p = buffer.GetBuffer(pos);
        for (std::int64_t i = 0; i < stop - pos; ++i) lines += p[i] == '\n';
        pos = stop;
    }
    return lines;
}

// Whether the last row of a card holds a field after its name or mark.
bool LastRowHasData(const CBDFFields& fields) {
    const int row = fields.GetRows() - 1;
    if (row < 0) return false;
    for (int col = 1; col < fields.GetCols(row); ++col)
        if (fields.GetValue(row, col)) return true;
    return false;
}

}  // namespace

CBDFParser::CBDFParser() : m_echo(nullptr) {}

CBDFParser::~CBDFParser() = default;

int CBDFParser::Parse(const char* path, CKpLayup* model) {
    if (!model) return 1;
    CKpMsg* msg = model->pMsg();
    const std::string problem = input_file_problem(path);
    if (!problem.empty()) {
        msg->Create(4, "Could not open file '%s' for reading. The file %s.", path ? path : "",
                    problem.c_str());
        return 1;
    }
    CF06FileBuffer buffer;
    if (buffer.SetBufferSize(kWindow, 512) != 0 || buffer.OpenRead(path, 1) != 0) {
        msg->Create(4, "Could not open file '%s' for reading.", path);
        return 1;
    }
    std::int64_t begin = buffer.FindiString(0, "BEGIN BULK", 0);
    if (begin < 0) {
        msg->Create(4, "No BEGIN BULK in file '%s'.", path);
        return 1;
    }
    std::int64_t pos = buffer.NextLine(begin);
    std::int64_t line = CountLines(buffer, pos) + 1;
    // Without ENDDATA the deck is read to the end of the file.
    return Parse(buffer, pos, model, line, path);
}

int CBDFParser::Parse(CF06FileBuffer& buffer, std::int64_t& pos, CKpLayup* model,
                      std::int64_t firstLine, const char* path) {
    if (!model) return 1;
    if (!path) path = "";
    model->init();
    CKpMsg* msg = model->pMsg();
    CBDFCardGenerator cards;
    CBDFFieldParser parser;
    parser.SetLineNumber(firstLine);
    bool lastRead = false;  // the card before was one this reader stores
    while (buffer[pos] != '\0') {
        if (user_break(model->pGUI(), 5000)) return 0;
        std::int64_t next = parser.Parse(pos, buffer);
        const CBDFFields& fields = parser.GetFields();
        const char* name = fields.GetRows() > 0 ? fields.GetString(0, 0) : nullptr;
        const long long line = static_cast<long long>(parser.GetCardLine());
        // The last line of the file, without its line end, is cut only
        // where its text is incomplete: a number stops inside its exponent,
        // or a card that fails holds no data after its name or mark.
        const bool lastLine = !buffer.InWindow(next) && next > pos && buffer[next - 1] != '\n' &&
                              buffer[next - 1] != '\r';
        const bool cutNumber = lastLine && parser.EndsInsideNumber();
        const bool cutCard = lastLine && (cutNumber || !LastRowHasData(fields));
        auto reportCut = [&]() {
            msg->Create(4,
                        "Bulk data file '%s' ends early inside line %lld (card %s); the cards "
                        "before it were read.",
                        path, line, name ? name : "");
            pos = next;
            return 1;
        };
        // Only cards of the set are looked at: any other card is skipped
        // whatever its fields hold.
        CBDFCard* card = name && name[0] != '=' ? cards.GetCard(parser) : nullptr;
        if (cutNumber && card) return reportCut();
        if (parser.GetError() && card) {
            if (cutCard) return reportCut();
            msg->Create(4, "Number '%s' of card %s on line %lld of '%s' is out of range.",
                        parser.GetErrorText(), name, line, path);
            pos = next;
            return 1;
        }
        if (name && name[0] == '=') {
            // A replication line copies the card before it, which may be
            // one that is read: that copy cannot be dropped silently.
            if (lastRead) {
                msg->Create(4, "Replicated card on line %d of '%s' is not supported.",
                            static_cast<int>(line), path);
                pos = next;
                return 1;
            }
        } else if (fields.GetRows() > 0) {
            lastRead = card != nullptr;
            if (card) {
                card->SetSource(path, line);
                int status = card->Write(model);
                if (status < 0) {
                    if (cutCard) return reportCut();
                    msg->Create(4, "Could not store %s %d on line %lld of '%s'.", name,
                                fields.GetValue(0, 1, 0), line, path);
                    pos = next;
                    return 1;
                }
                if (status > 0) {
                    pos = next;
                    return 0;
                }
            }
        }
        pos = next;
    }
    if (buffer.InWindow(pos)) {
        msg->Create(4, "Zero byte on line %lld of '%s'; the rest of the file is not read.",
                    static_cast<long long>(parser.GetCardLine()), path);
        return 1;
    }
    return 0;
}

int CBDFParser::WriteBDF(const char* path, CKpLayup* model, int usePcompg) {
    if (!model) return 1;
    CKpMsg* msg = model->pMsg();
    CF06FileBuffer out;
    if (!path || out.SetBufferSize(kWindow, 512) != 0 || out.OpenWrite(path, 0) != 0) {
        msg->Create(4, "Could not write file '%s'.", path ? path : "");
        return 1;
    }
    model->init();
    CBDFFields table;
    CBDFCardGenerator cards;
    cards.pcomp.SetMsg(msg);
    cards.pcompg.SetMsg(msg);
    int failed = out.Write("BEGIN BULK\n", 11) != 0;
    // Fills the table from one object and writes it.
    auto put = [&](CBDFCard& card, CVekObject* object) {
        card.SetFields(&table);
        table.Reset();
        if (card.Read(object) == 0 && table.GetRows() > 0 && table.Write(out) != 0) failed = 1;
    };

    CKpCoordStore* coords = model->pCoords();
    CBDFCardCORD* cordCards[] = {&cards.cord2r, &cards.cord2c, &cards.cord2s};
    for (CBDFCardCORD* card : cordCards) {
        for (int i = 0; i < coords->entries(); ++i) {
            CKpCoord* coord = (*coords)[i];
            if (coord && coord->type() == card->GetType()) put(*card, coord);
        }
    }
    CKpElemStore* elems = model->pElems();
    CBDFCardGEOM* elemCards[] = {&cards.cquad4, &cards.cquad8, &cards.ctria3, &cards.ctria6};
    for (CBDFCardGEOM* card : elemCards) {
        for (int i = 0; i < elems->entries(); ++i) {
            CKpElem* elem = (*elems)[i];
            if (elem && elem->getgmtp() == card->GetGmtp()) put(*card, elem);
        }
    }
    CKpNodeStore* nodes = model->pNodes();
    for (int i = 0; i < nodes->entries(); ++i) {
        CKpNode* node = (*nodes)[i];
        if (node && !node->incomplete()) put(cards.grid, node);
    }
    CKpMatStore* mats = model->pMats();
    for (int tropy : {1, 5, 4}) {
        for (int i = 0; i < mats->Count(); ++i) {
            CKpMat* mat = mats->Get(i);
            if (!mat) continue;
            for (int k = 0; k < mat->Count(); ++k) {
                CKpMatProp* state = mat->Get(k);
                if (!state || state->GetTropy() != tropy) continue;
                int status = -1;
                table.Reset();
                if (tropy == 1) {
                    cards.mat1.SetFields(&table);
                    status = cards.mat1.ReadState(state);
                } else if (tropy == 5) {
                    cards.mat2.SetFields(&table);
                    status = cards.mat2.ReadState(state);
                } else {
                    cards.mat8.SetFields(&table);
                    status = cards.mat8.ReadState(state);
                }
                if (status == 0 && table.Write(out) != 0) failed = 1;
            }
        }
    }
    CKpLamStore* lams = model->pLams();
    for (int i = 0; i < lams->Count(); ++i) {
        CKpLam* lam = lams->Get(i);
        if (!lam) continue;
        if (usePcompg && lam->GPlyIdsOK(msg))
            put(cards.pcompg, lam);
        else
            put(cards.pcomp, lam);
    }
    put(cards.enddata, nullptr);
    if (out.Close() != 0) failed = 1;
    if (failed) {
        msg->Create(4, "Could not write file '%s'.", path);
        return 1;
    }
    return 0;
}
