// The layup file writer: save_lyp and its section writers.

#include "layuplib/save_lyp.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "layuplib/CKpAnsys.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemEdgeStore.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFile.h"
#include "layuplib/CKpLyp.h"
#include "layuplib/CKpLypOut.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatPropStore.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOff.h"
#include "layuplib/CKpOffStore.h"
#include "layuplib/CKpOrient.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatSplitStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpSet.h"
#include "layuplib/CKpSetStore.h"
#include "layuplib/CKpStrSpaces.h"
#include "layuplib/CKpTol.h"
#include "layuplib/CKpTolStore.h"
#include "layuplib/CKpView.h"
#include "layuplib/num_util.h"
#include "layuplib/number_text.h"

namespace {

const int kFileVersion = 20081003;
const int kNumbersPerSetLine = 10;
const double kAngleZero = 1e-12;

// A text as one blank-free token of the file. A token that cannot be formed
// (memory) raises the stream's failure mark, so that the file is not taken
// as complete with a field missing.
class Token {
  public:
    Token(CKpLypOut* out, const char* text) {
        if (!text) text = "";
        // "%s" on reading stops at any white space, not only at blanks.
        const char* const breaking = "\t\n\v\f\r";
        if (text[std::strcspn(text, breaking)] == '\0') {
            m_text.Set(text);
        } else {
            try {
                std::string plain(text);
                for (char& c : plain)
                    if (std::strchr(breaking, c)) c = ' ';
                m_text.Set(plain.c_str());
            } catch (...) {
                m_text.Clear();
                out->SetFailed();
            }
        }
        if (m_text.GetNoSpaces()[0] == '\0') out->SetFailed();
    }
    const char* c_str() const { return m_text.GetNoSpaces(); }

  private:
    CKpStrSpaces m_text;
};

// The fields of a record: ints as "%d", reals as "%.8G", texts as they
// are. Other types are refused at compile time, so that no field is
// converted silently.
template <class T>
size_t FieldRoom(T) = delete;
size_t FieldRoom(int) {
    return 12;
}
size_t FieldRoom(double) {
    return NUMBER_TEXT_MAX + 1;
}
size_t FieldRoom(const char* text) {
    return (text ? std::strlen(text) : 0) + 1;
}
template <class T>
void AppendField(NumberLine&, T) = delete;
void AppendField(NumberLine& line, int value) {
    line.Int(value);
}
void AppendField(NumberLine& line, double value) {
    line.Real(value);
}
void AppendField(NumberLine& line, const char* text) {
    line.Text(text);
}

// One record line: the code as "%03d", each field after one blank, '\n'.
// 0; -1 (failure mark raised) when it cannot be written.
template <class... Fields>
int WriteRecord(CKpLypOut* out, int compress, int code, Fields... fields) {
    size_t room = 16;  // code, line feed, terminator
    ((room += FieldRoom(fields)), ...);
    char* buffer = out->Buffer(room);
    if (!buffer) return -1;
    NumberLine line(buffer, room);
    line.Code(code);
    (AppendField(line, fields), ...);
    line.End();
    if (line.Length() < 0) {
        out->SetFailed();
        return -1;
    }
    return out->Write(buffer, static_cast<size_t>(line.Length()), compress);
}

// A record of the code and a text padded with blanks to `width`.
int WritePadded(CKpLypOut* out, int compress, int code, const char* word, size_t width) {
    const size_t length = std::strlen(word);
    const size_t room = 16 + std::max(length, width);
    char* buffer = out->Buffer(room);
    if (!buffer) return -1;
    NumberLine line(buffer, room);
    line.Code(code).Text(word);
    for (size_t k = length; k < width; ++k) line.Raw(" ", 1);
    line.End();
    if (line.Length() < 0) {
        out->SetFailed();
        return -1;
    }
    return out->Write(buffer, static_cast<size_t>(line.Length()), compress);
}

// "**", "** <title>", "**".
int WriteBanner(CKpLypOut* out, int compress, const char* title) {
    return WriteLine(out, "**\n** ", compress) | WriteLine(out, title, compress) |
           WriteLine(out, "\n**\n", compress);
}

// Group line: code and word, the word padded to seven characters.
int WriteGroup(CKpLypOut* out, int compress, int code, const char* word) {
    return WritePadded(out, compress, code, word, 7);
}

// The three angles of records 004 and 005 from the view's rotation R:
// angles[0..2] = atan2(R12, R22), asin(-R02), atan2(R01, R00); inverse[0..2]
// the same of R's inverse, negated. Angles below 1e-12 in magnitude are 0.
void ViewAngles(const CKpView* view, double angles[3], double inverse[3]) {
    double r[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r[i][j] = view ? view->xfm(i, j) : (i == j ? 1.0 : 0.0);
    double n[3][3] = {{0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}};
    matrix_invert(r, n);  // a singular view leaves n zero: angles 0
    // Rounding can carry |sin| a hair past 1.
    auto asinClamped = [](double s) { return std::asin(std::max(-1.0, std::min(1.0, s))); };
    angles[0] = SetZero(kAngleZero, std::atan2(r[1][2], r[2][2]));
    angles[1] = SetZero(kAngleZero, asinClamped(-r[0][2]));
    angles[2] = SetZero(kAngleZero, std::atan2(r[0][1], r[0][0]));
    inverse[0] = SetZero(kAngleZero, -std::atan2(n[1][2], n[2][2]));
    inverse[1] = SetZero(kAngleZero, -asinClamped(-n[0][2]));
    inverse[2] = SetZero(kAngleZero, -std::atan2(n[0][1], n[0][0]));
}

// Header records 000-006 and the ANSYS element types (009, 010).
void SaveHeader(CKpLypOut* out, int compress, CKpFile* file, CKpAnsys* ansys, CKpView* view) {
    double angles[3], inverse[3];
    ViewAngles(view, angles, inverse);
    WriteBanner(out, compress, "HEADER DATA");
    WritePadded(out, compress, 0, "HEADER", 6);
    {
        Token name(out, file ? file->GetName() : "");
        Token type(out, file ? file->GetType() : "");
        Token comment(out, file ? file->GetComment() : "");
        WriteRecord(out, compress, 1, name.c_str());
        WriteRecord(out, compress, 2, type.c_str());
        WriteRecord(out, compress, 3, comment.c_str());
    }
    WriteRecord(out, compress, 4, angles[0], angles[1], angles[2]);
    WriteRecord(out, compress, 5, inverse[0], inverse[1], inverse[2]);
    {
        // "%8d": right-aligned in eight places.
        char number[12];
        char version[24] = "       ";
        const size_t digits = static_cast<size_t>(FormatInt(number, kFileVersion) - number);
        const size_t pad = digits < 8 ? 8 - digits : 0;
        std::memcpy(version + pad, number, digits);
        version[pad + digits] = '\0';
        WriteRecord(out, compress, 6, static_cast<const char*>(version));
    }
    CKpAnsysEtStore* ets = ansys ? ansys->pEts() : nullptr;
    if (!ets) return;
    for (int i = 0; i < ets->entries(); ++i) {
        CKpAnsysEt* et = (*ets)[i];
        if (!et) continue;
        WriteRecord(out, compress, 9, et->id(), et->Val());
        CKpAnsysKeyoptStore* keyopts = et->pKeyopts();
        for (int k = 0; k < keyopts->entries(); ++k) {
            CKpAnsysKeyopt* keyopt = (*keyopts)[k];
            if (keyopt) WriteRecord(out, compress, 10, keyopt->id(), keyopt->Val());
        }
    }
}

// Records 100-102 of every placed node; the position counts every slot.
void SaveNodes(CKpLypOut* out, int compress, CKpNodeStore* nodes) {
    if (!nodes) return;
    const int n = nodes->entries();
    for (int i = 0; i < n && !out->Failed(); ++i) {
        const CKpNode* node = (*nodes)[i];
        if (!node || node->incomplete() == 1) continue;
        char* buffer = out->Buffer(CKpNode::WRITE_MAX);
        const int length = buffer ? node->write(buffer, CKpNode::WRITE_MAX, i) : -1;
        if (length < 0) {
            out->SetFailed();
            return;
        }
        out->Write(buffer, static_cast<size_t>(length), compress);
    }
}

// Records 200-209 of every element, and 210 per layup ply at detail >= 1.
void SaveElems(CKpLypOut* out, int compress, CKpElemStore* elems, int detail) {
    if (!elems) return;
    const int n = elems->entries();
    for (int i = 0; i < n && !out->Failed(); ++i) {
        const CKpElem* elem = (*elems)[i];
        if (!elem) continue;
        char* buffer = out->Buffer(CKpElem::WRITE_MAX);
        const int length = buffer ? elem->write(buffer, CKpElem::WRITE_MAX, i) : -1;
        if (length < 0) {
            out->SetFailed();
            return;
        }
        out->Write(buffer, static_cast<size_t>(length), compress);
        const CKpElemLypPlyStore* stack = elem->getElemLypPlies();
        if (detail < 1 || !stack) continue;
        for (const CKpElemLypPly* p = stack->First(); p; p = stack->Next(p))
            WriteRecord(out, compress, 210, p->lyrtp(), p->lyrid(), p->instance(), p->thck(),
                        p->rotn(), p->mtrl(), p->dens(), p->wpwtang(), p->dnfg());
    }
}

// One property set as 510-519 (base) or 520-529 (state, code offset 10).
void SaveMatProp(CKpLypOut* out, int compress, const CKpMatProp& s, int base) {
    const bool isState = base != 510;
    WriteRecord(out, compress, base, s.sttid(), s.strn(), s.thckmlt(), s.dir(), s.c14(), s.c15(),
                s.c16());
    WriteRecord(out, compress, base + 1, s.ex(), s.ey(), s.ez(), s.c24(), s.c25(), s.c26());
    WriteRecord(out, compress, base + 2, s.nuxy(), s.nuyz(), s.nuzx(), s.c34(), s.c35(), s.c36());
    WriteRecord(out, compress, base + 3, s.gxy(), s.gyz(), s.gzx(), s.c45(), s.c46(), s.c56());
    WriteRecord(out, compress, base + 4, s.alpx(), s.alpy(), s.alpz(), s.a4(), s.a5(), s.a6());
    // A state carries its strengths as the accessors read them (with their
    // fallbacks), the base set its stored ones.
    WriteRecord(out, compress, base + 5, s.fxt(), isState ? s.fyt() : s.fytRaw(), s.fzt());
    WriteRecord(out, compress, base + 6, isState ? s.fxc() : s.fxcRaw(),
                isState ? s.fyc() : s.fycRaw(), s.fzc());
    WriteRecord(out, compress, base + 7, s.fs12(), s.fs23(), s.fs31());
    WriteRecord(out, compress, base + 8, s.f12(), s.f23(), s.f31());
    WriteRecord(out, compress, base + 9, s.dens(), s.tref(), s.ge());
}

int Status(const CKpLypOut* out) {
    return out->Failed() ? -1 : 0;
}

}  // namespace

int WriteLine(CKpLypOut* out, const char* text, int compress) {
    if (!out) return -1;
    if (!text) {
        out->SetFailed();
        return -1;
    }
    return out->Write(text, std::strlen(text), compress);
}

int SaveLayupPly(CKpLypOut* out, int compress, CKpPly* ply, int detail) {
    if (!out) return -1;
    if (!ply) return 0;
    WriteBanner(out, compress, "LAYER DATA");
    WriteGroup(out, compress, 300, "LAYER");
    WriteRecord(out, compress, 301, ply->lyrtp());
    WriteRecord(out, compress, 302, ply->id());
    {
        Token name(out, ply->name());
        WriteRecord(out, compress, 303, name.c_str());
    }
    if (detail >= 1) WriteRecord(out, compress, 304, ply->lyrthck());
    WriteRecord(out, compress, 305, ply->mtrlid());
    WriteRecord(out, compress, 306, ply->pttrnid());
    if (detail >= 1) {
        WriteRecord(out, compress, 307, ply->instances());
        WriteRecord(out, compress, 308, ply->stdn());
    }
    CKpEventStore& events = ply->Events();
    const int nEvents = events.Count();
    for (int i = 0; i < nEvents; ++i) {
        IVekEvent* event = events.Get(i);
        if (event) WriteRecord(out, compress, 309, event->GetType());
    }
    if (detail >= 1) {
        const CVekList<CKpPlyElem>& plyElems = ply->PlyElems();
        for (const CKpPlyElem* pe = plyElems.First(); pe && !out->Failed();
             pe = plyElems.Next(pe)) {
            const int elemId = pe->ppatelem() ? pe->ppatelem()->GetElemId() : 0;
            WriteRecord(out, compress, 310, 0, elemId, pe->dnfg(), pe->thck(), pe->rotn(),
                        pe->mtrl(), pe->dens(), pe->wpwtang(), pe->stdn(), pe->order());
        }
    }
    return Status(out);
}

int SaveLayupMaterial(CKpLypOut* out, int compress, CKpMat* mat) {
    if (!out) return -1;
    if (!mat) return 0;
    const CKpMatProp& base = *mat;
    WriteBanner(out, compress, "MATERIAL DATA");
    WriteGroup(out, compress, 500, "MATERIAL");
    WriteRecord(out, compress, 501, mat->lyrtp());
    WriteRecord(out, compress, 502, mat->id());
    {
        Token name(out, mat->mtrlnm());
        WriteRecord(out, compress, 503, name.c_str());
    }
    WriteRecord(out, compress, 504, mat->mtrlthck());
    WriteRecord(out, compress, 505, mat->maxstrn());
    {
        Token extName(out, base.extmtrlnm());
        WriteRecord(out, compress, 506, extName.c_str());
    }
    WriteRecord(out, compress, 507, mat->wpwtang());
    WriteRecord(out, compress, 508, base.strnallow());
    SaveMatProp(out, compress, base, 510);
    if (const CKpMatPropStore* states = mat->MatStates()) {
        for (const CKpMatProp* state = states->First(); state; state = states->Next(state)) {
            SaveMatProp(out, compress, *state, 520);
            Token extName(out, state->extmtrlnm());
            WriteRecord(out, compress, 530, extName.c_str());
            WriteRecord(out, compress, 531, state->strnallow());
        }
    }
    WriteRecord(out, compress, 551, mat->a1(), mat->a2(), mat->a3());
    WriteRecord(out, compress, 552, mat->b1(), mat->b2(), mat->b3());
    return Status(out);
}

int SaveLayupLayup(CKpLypOut* out, int compress, CKpLyp* lyp) {
    if (!out) return -1;
    if (!lyp) return 0;
    WriteBanner(out, compress, "GLOBAL LAYER DATA");
    WriteGroup(out, compress, 600, "GLOBAL LAYER");
    CKpLypPlyStore& lypPlys = lyp->LypPlys();
    for (int i = 0; i < lypPlys.entries(); ++i) {
        CKpLypPly* lp = lypPlys[i];
        if (!lp) continue;
        Token name(out, lp->defaultName());
        Token plyName(out, lp->lyrnm());
        const bool isLong = lp->plyGroup()[0] != '\0' || lp->sequence()[0] != '\0';
        if (!isLong) {
            WriteRecord(out, compress, 601, lp->id(), name.c_str(), lp->lyrtp(), lp->lyrid(),
                        plyName.c_str(), lp->side(), lp->instance(), lp->angleOffset(),
                        lp->thicknessOverride(), lp->stdn(), lp->gplyid());
        } else {
            Token group(out, lp->plyGroup());
            Token sequence(out, lp->sequence());
            WriteRecord(out, compress, 601, lp->id(), name.c_str(), lp->lyrtp(), lp->lyrid(),
                        plyName.c_str(), lp->side(), lp->instance(), lp->angleOffset(),
                        lp->thicknessOverride(), lp->stdn(), lp->gplyid(), group.c_str(),
                        sequence.c_str());
        }
    }
    if (lyp->id() >= 1) {
        // The name goes through the token form like every other text, so a
        // name with blanks reads back whole.
        Token name(out, lyp->name());
        WriteRecord(out, compress, 602, lyp->id());
        WriteRecord(out, compress, 603, name.c_str());
    }
    return Status(out);
}

int SaveLayupPatElems(CKpLypOut* out, int compress, CKpPatElemStore* elems) {
    if (!out) return -1;
    if (!elems) return 0;
    for (const CKpPatElem* pe = elems->First(); pe && !out->Failed(); pe = elems->Next(pe)) {
        char* buffer = out->Buffer(CKpPatElem::WRITE_MAX);
        const int length = buffer ? pe->write(buffer, CKpPatElem::WRITE_MAX) : -1;
        if (length < 0) {
            out->SetFailed();
            break;
        }
        out->Write(buffer, static_cast<size_t>(length), compress);
    }
    return Status(out);
}

int SaveLayupPattern(CKpLypOut* out, int compress, CKpPat* pat) {
    if (!out) return -1;
    if (!pat) return 0;
    WriteBanner(out, compress, "PATTERN DATA");
    WriteGroup(out, compress, 400, "PATTERN");
    WriteRecord(out, compress, 401, pat->lyrtp());
    WriteRecord(out, compress, 402, pat->id());
    {
        Token name(out, pat->pttrnnm());
        WriteRecord(out, compress, 403, name.c_str());
    }
    {
        // The axis name is a text token like every other text ("Null" when
        // empty), so a name with blanks reads back whole.
        const bool hasAxis = pat->axsdn()[0] != '\0';
        Token axis(out, pat->axsdn());
        WriteRecord(out, compress, 404, pat->axstp(), pat->exttp(),
                    hasAxis ? axis.c_str() : "Null");
    }
    WriteRecord(out, compress, 405, pat->stx(), pat->sty(), pat->stz());
    WriteRecord(out, compress, 406, pat->stwpdx(), pat->stwpdy(), pat->stwpdz());
    WriteRecord(out, compress, 407, pat->stwtdx(), pat->stwtdy(), pat->stwtdz());
    WriteRecord(out, compress, 408, pat->stwpwtang(), pat->WarpWeftRatio(), pat->SimResult());
    WriteRecord(out, compress, 409, pat->maxstrn());
    if (pat->inadmissibleMode() == 0 && pat->inadmissibleTolerance() == 0.0)
        WriteRecord(out, compress, 410, pat->step(), pat->stdn());
    else
        WriteRecord(out, compress, 410, pat->step(), pat->stdn(), pat->inadmissibleMode(),
                    pat->inadmissibleTolerance());
    {
        // A grid whose mid is 0 but whose bounds are set is written shifted by
        // 100, so that mid reads back non-zero.
        int v[5] = {pat->minu(), pat->maxu(), pat->minv(), pat->maxv(), pat->mid()};
        if (v[4] == 0 && (v[0] != 0 || v[1] != 0 || v[2] != 0 || v[3] != 0))
            for (int& x : v) x += 100;
        WriteRecord(out, compress, 411, v[0], v[1], v[2], v[3], v[4]);
    }
    WriteRecord(out, compress, 412, pat->eyex(), pat->eyey(), pat->eyez());
    if (pat->originSet()) {
        // The origin name is taken whole (no fixed buffer cuts it).
        const double* o = pat->origin();
        Token origin(out, pat->originName());
        WriteRecord(out, compress, 413, pat->eyedx(), pat->eyedy(), pat->eyedz(), o[0], o[1], o[2],
                    origin.c_str());
    } else {
        WriteRecord(out, compress, 413, pat->eyedx(), pat->eyedy(), pat->eyedz());
    }
    WriteRecord(out, compress, 414, pat->refdx(), pat->refdy(), pat->refdz(), pat->refang());
    WriteRecord(out, compress, 415, pat->minstrnc(), pat->maxstrnc(), pat->minthck(),
                pat->maxthck());
    WriteRecord(out, compress, 416, pat->minwp(), pat->maxwp(), pat->minwt(), pat->maxwt());
    if (const CKpPatSplitStore* splits = pat->PatSplits())
        for (const CKpPatSplit* s = splits->First(); s; s = splits->Next(s))
            WriteRecord(out, compress, 417, s->elemId(), s->edgeId(), s->flag());
    for (int i = 0; i < 2; i++)
        if (const CKpElemEdgeStore* curve = pat->SeedCurve(i))
            for (const CKpElemEdge* e = curve->First(); e; e = curve->Next(e))
                WriteRecord(out, compress, 418 + i, e->Elem(), e->Edge());
    SaveLayupPatElems(out, compress, pat->PatElems());
    return Status(out);
}

int SaveLayupOffset(CKpLypOut* out, int compress, CKpOffStore* offs) {
    if (!out) return -1;
    WriteBanner(out, compress, "OFFSET DEFINITION DATA");
    WriteGroup(out, compress, 700, "OFFSET DEFINITION");
    const int n = offs ? offs->entries() : 0;
    for (int i = 0; i < n && !out->Failed(); ++i) {
        CKpOff* off = (*offs)[i];
        if (!off) continue;
        Token name(out, off->name());
        WriteRecord(out, compress, 702, off->id());
        WriteRecord(out, compress, 703, name.c_str());
        const double* seed = off->seedPoint();
        const double* dirn = off->applicationDirection();
        WriteRecord(out, compress, 710, seed[0], seed[1], seed[2]);
        if (off->originSet()) {
            const double* o = off->origin();
            Token origin(out, off->originName());
            WriteRecord(out, compress, 711, dirn[0], dirn[1], dirn[2], o[0], o[1], o[2],
                        origin.c_str());
        } else {
            WriteRecord(out, compress, 711, dirn[0], dirn[1], dirn[2]);
        }
        WriteRecord(out, compress, 712, off->offsetFlag(), off->offsetValue());
        const CVekList<CKpOffElem>& elems = off->Elems();
        WriteRecord(out, compress, 720, elems.entries());
        for (const CKpOffElem* e = elems.First(); e && !out->Failed(); e = elems.Next(e))
            WriteRecord(out, compress, 721, e->elemId());
    }
    return Status(out);
}

int SaveLayupTol(CKpLypOut* out, int compress, CKpTol* gtol, CKpTolStore* tols) {
    if (!out) return -1;
    WriteBanner(out, compress, "TOLERANCE DEFINITION DATA");
    WriteGroup(out, compress, 800, "TOLERANCE DEFINITION");
    if (gtol) WriteRecord(out, compress, 809, gtol->getangtol(), gtol->getthktol());
    const int n = tols ? tols->entries() : 0;
    for (int i = 0; i < n && !out->Failed(); ++i) {
        CKpTol* tol = (*tols)[i];
        if (!tol) continue;
        WriteRecord(out, compress, 810, tol->getangtol(), tol->getthktol());
        const CVekList<CKpTolElem>* elems = tol->pElems();
        WriteRecord(out, compress, 820, elems ? elems->entries() : 0);
        if (!elems) continue;
        for (const CKpTolElem* e = elems->First(); e && !out->Failed(); e = elems->Next(e))
            WriteRecord(out, compress, 821, e->getElemId());
    }
    return Status(out);
}

int SaveLayupSets(CKpLypOut* out, int compress, CKpSetStore* sets) {
    if (!out) return -1;
    if (!sets || sets->entries() == 0) return 0;
    WriteBanner(out, compress, "SET DEFINITION DATA");
    WriteGroup(out, compress, 900, "SET DEFINITION");
    std::vector<int> numbers;
    std::string line;
    for (int i = 0; i < sets->entries() && !out->Failed(); ++i) {
        CKpSet* set = (*sets)[i];
        if (!set) continue;
        {
            Token name(out, set->name());
            WriteRecord(out, compress, 901, set->id(), name.c_str());
        }
        const int n = set->GetNumComprIds();
        if (n < 1) continue;
        try {
            numbers.resize(static_cast<size_t>(n));
        } catch (...) {
            // Leaving the set's ids out would lose them silently.
            out->SetFailed();
            break;
        }
        if (set->GetComprIds(n, numbers.data()) != 0) {
            out->SetFailed();
            break;
        }
        for (int first = 0; first < n && !out->Failed(); first += kNumbersPerSetLine) {
            const int last = std::min(n, first + kNumbersPerSetLine);
            const size_t room = 16 + 12 * kNumbersPerSetLine;
            char* buffer = out->Buffer(room);
            if (!buffer) break;
            NumberLine line(buffer, room);
            line.Code(902);
            for (int k = first; k < last; ++k) line.Int(numbers[k]);
            line.End();
            out->Write(buffer, static_cast<size_t>(line.Length()), compress);
        }
    }
    return Status(out);
}

int SaveLayupOrientations(CKpLypOut* out, int compress, CKpOrientStore* orients) {
    if (!out) return -1;
    if (!orients) return 0;
    bool banner = false;
    for (int i = 0; i < orients->entries() && !out->Failed(); ++i) {
        const CKpOrient* orient = (*orients)[i];
        if (!orient || orient->type() == 0) continue;
        if (!banner) {
            WriteBanner(out, compress, "ORIENTATION DEFINITION DATA");
            banner = true;
        }
        Token name(out, orient->name());
        WriteRecord(out, compress, 220, orient->id(), name.c_str(), orient->type(), orient->refId(),
                    orient->value(0), orient->value(1), orient->value(2));
    }
    return Status(out);
}

int save_lyp(CKpMsg* msg, CKpFile* file, CKpAnsys* ansys, CKpNodeStore* nodes, CKpElemStore* elems,
             CKpOrientStore* orients, CKpMatStore* mats, CKpPatStore* pats, CKpPlyStore* plys,
             CKpLyp* lyp, CKpOffStore* offs, CKpTol* gtol, CKpTolStore* tols, CKpSetStore* sets,
             CKpView* view, int detail, int compress) {
    const char* path = file ? file->GetName() : "";
    if (compress < 0 || compress > 9) {
        if (msg) msg->Create(4, "Unsupported compression level %d.", compress);
        return 0;
    }

    // 1. Open.
    CKpLypOut out;
    if (out.Open(path, compress) != 0) {
        if (msg) msg->Create(4, "Could not open file '%s' for writing.", path);
        return 0;
    }

    // 2. Header, plies, materials, layup.
    SaveHeader(&out, compress, file, ansys, view);
    for (int i = 0; plys && i < plys->entries() && !out.Failed(); ++i)
        SaveLayupPly(&out, compress, (*plys)[i], detail);
    for (int i = 0; mats && i < mats->entries() && !out.Failed(); ++i)
        SaveLayupMaterial(&out, compress, (*mats)[i]);
    SaveLayupLayup(&out, compress, lyp);
    WriteLine(&out, "**\n", compress);

    // 3. Mesh.
    WriteLine(&out, "** NODE DATA\n**\n", compress);
    SaveNodes(&out, compress, nodes);
    WriteLine(&out, "**\n", compress);
    WriteLine(&out, "** ELEMENT DATA\n**\n", compress);
    SaveElems(&out, compress, elems, detail);

    // 4. Patterns and the definitions on the mesh.
    for (int i = 0; pats && i < pats->entries() && !out.Failed(); ++i)
        SaveLayupPattern(&out, compress, (*pats)[i]);
    SaveLayupOffset(&out, compress, offs);
    SaveLayupTol(&out, compress, gtol, tols);
    SaveLayupSets(&out, compress, sets);
    SaveLayupOrientations(&out, compress, orients);
    WriteLine(&out, "**\n", compress);
    WriteLine(&out, "** END\n**\n", compress);

    // 5. Close; a failed write or close means the file is not the model.
    const int failed = out.Failed();
    const int closed = out.Close();
    if (failed && msg) msg->Create(4, "Could not write file '%s'.", path);
    if (closed != 0 && msg) msg->Create(4, "Could not close file.");
    return (failed || closed != 0) ? 0 : 1;
}
