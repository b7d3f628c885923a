#include "EditorSearch.h"

#include <Qsci/qsciscintilla.h>

#include <algorithm>
#include <optional>

#include "core/Utf8Text.h"

namespace EditorSearch {

namespace {

long Send(QsciScintilla* e, unsigned int msg, unsigned long w = 0, long l = 0)
{
    return e->SendScintilla(msg, w, l);
}

void SetSelection(QsciScintilla* e, long start, long end)
{
    Send(e, QsciScintillaBase::SCI_SETSEL, static_cast<unsigned long>(start), end);
}

long SelStart(QsciScintilla* e) { return Send(e, QsciScintillaBase::SCI_GETSELECTIONSTART); }
long SelEnd(QsciScintilla* e) { return Send(e, QsciScintillaBase::SCI_GETSELECTIONEND); }

// One search from the selection (its end forward, its start backward), with
// or without wrapping; the match becomes the selection. Plain text only.
bool Search(QsciScintilla* e, const CFindOptions& o, bool forward, bool wrap, bool show)
{
    // The search starts at the caret: after the selection forward, before it backward.
    const long from = forward ? SelEnd(e) : SelStart(e);
    SetSelection(e, from, from);
    return e->findFirst(o.strText, false, o.bMatchCase, o.bWholeWord, wrap, forward, -1, -1, show);
}

// The control's text decoded for regular expressions, made once and kept
// until the text changes: a search of a large text copies it once, not at
// every find.
class CSearchText : public QObject
{
public:
    static const CUtf8Text& Of(QsciScintilla* editor)
    {
        auto* cache = dynamic_cast<CSearchText*>(editor->findChild<QObject*>(Name(), Qt::FindDirectChildrenOnly));
        if (!cache)
            cache = new CSearchText(editor);
        if (!cache->m_text) {
            const long length = Send(editor, QsciScintillaBase::SCI_GETLENGTH);
            const auto* bytes = reinterpret_cast<const char*>(
                editor->SendScintilla(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
            cache->m_text.emplace(QByteArray(bytes, length));
        }
        return *cache->m_text;
    }

private:
    static QString Name() { return QStringLiteral("quilletSearchText"); }
    explicit CSearchText(QsciScintilla* editor) : QObject(editor)
    {
        setObjectName(Name());
        // Before or after, any insertion or deletion makes the copy stale.
        constexpr int kChanges = QsciScintillaBase::SC_MOD_INSERTTEXT | QsciScintillaBase::SC_MOD_DELETETEXT |
                                 QsciScintillaBase::SC_MOD_BEFOREINSERT | QsciScintillaBase::SC_MOD_BEFOREDELETE;
        connect(editor, &QsciScintillaBase::SCN_MODIFIED, this,
                [this](int, int type, const char*, int, int, int, int, int, int, int) {
                    if (type & kChanges)
                        m_text.reset();
                });
    }
    std::optional<CUtf8Text> m_text;
};

QRegularExpression Expression(const CFindOptions& o)
{
    CSearchPattern pattern = o;
    pattern.bRegExp = true;
    return TextSearch::Build(pattern);
}

CSearchResult Failed(const QRegularExpression& re)
{
    return {SearchOutcome::BadPattern, 0, re.errorString()};
}

// Selects a match found in the decoded text and brings it into view.
void SelectMatch(QsciScintilla* editor, const CUtf8Text& text, const QRegularExpressionMatch& m)
{
    const long start = static_cast<long>(text.ToByte(m.capturedStart()));
    const long end = static_cast<long>(text.ToByte(m.capturedEnd()));
    const long line = Send(editor, QsciScintillaBase::SCI_LINEFROMPOSITION, static_cast<unsigned long>(start));
    Send(editor, QsciScintillaBase::SCI_ENSUREVISIBLEENFORCEPOLICY, static_cast<unsigned long>(line));
    SetSelection(editor, start, end);
}

// The next regular-expression match from the selection, wrapping once.
SearchOutcome FindRegExp(QsciScintilla* editor, const QRegularExpression& re, bool backward,
                         QRegularExpressionMatch* found)
{
    const CUtf8Text& text = CSearchText::Of(editor);
    const QString& t = text.Text();
    const qsizetype start = text.ToUnit(SelStart(editor));
    const qsizetype end = text.ToUnit(SelEnd(editor));
    SearchOutcome outcome;
    if (backward) {
        outcome = TextSearch::Backward(re, t, start, found);
        if (outcome == SearchOutcome::NotFound)
            outcome = TextSearch::Backward(re, t, t.size(), found);
    } else {
        // From a bare caret, an empty match right there would stay put for ever.
        outcome = TextSearch::Forward(re, t, end, start == end, found);
        if (outcome == SearchOutcome::NotFound)
            outcome = TextSearch::Forward(re, t, 0, false, found);
    }
    return outcome;
}

// The replacement for a match as the control's bytes: groups are copied from
// the text's own bytes, the rest is encoded.
QByteArray Replacement(const CUtf8Text& text, const QList<CReplacementPart>& parts, const QRegularExpressionMatch& m)
{
    QByteArray out;
    for (const CReplacementPart& part : parts) {
        if (part.nGroup < 0) {
            out += part.strText.toUtf8();
        } else if (part.nGroup <= m.lastCapturedIndex() && m.capturedStart(part.nGroup) >= 0) {
            const qsizetype from = text.ToByte(m.capturedStart(part.nGroup));
            out += text.Bytes().mid(from, text.ToByte(m.capturedEnd(part.nGroup)) - from);
        }
    }
    return out;
}

void ReplaceRange(QsciScintilla* editor, long start, long end, const QByteArray& bytes)
{
    Send(editor, QsciScintillaBase::SCI_SETTARGETSTART, static_cast<unsigned long>(start));
    Send(editor, QsciScintillaBase::SCI_SETTARGETEND, static_cast<unsigned long>(end));
    editor->SendScintilla(QsciScintillaBase::SCI_REPLACETARGET, static_cast<unsigned long>(bytes.size()),
                          bytes.constData());
}

} // namespace

CSearchResult FindNext(QsciScintilla* editor, const CFindOptions& options)
{
    if (options.strText.isEmpty())
        return {};
    if (options.bRegExp) {
        const QRegularExpression re = Expression(options);
        if (!re.isValid())
            return Failed(re);
        QRegularExpressionMatch m;
        const SearchOutcome outcome = FindRegExp(editor, re, options.bBackward, &m);
        if (outcome == SearchOutcome::Found)
            SelectMatch(editor, CSearchText::Of(editor), m);
        return {outcome, 0, {}};
    }
    const long start = SelStart(editor);
    const long end = SelEnd(editor);
    if (Search(editor, options, !options.bBackward, true, true))
        return {SearchOutcome::Found, 0, {}};
    SetSelection(editor, start, end);
    return {};
}

CSearchResult ReplaceSelected(QsciScintilla* editor, const CFindOptions& options, const QString& replacement)
{
    if (options.strText.isEmpty())
        return {};
    const long start = SelStart(editor);
    const long end = SelEnd(editor);
    int replaced = 0;
    if (start != end && options.bRegExp) {
        const QRegularExpression re = Expression(options);
        if (!re.isValid())
            return Failed(re);
        // Only a match that is the selection is replaced, found with the whole
        // text around it, and a regular expression's groups are its own.
        const CUtf8Text& text = CSearchText::Of(editor);
        const QRegularExpressionMatch m = re.match(text.Text(), text.ToUnit(start), QRegularExpression::NormalMatch,
                                                   QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.isValid())
            return {SearchOutcome::TooComplex, 0, {}};
        if (m.hasMatch() && text.ToByte(m.capturedEnd()) == end) {
            const QByteArray bytes = Replacement(text, TextSearch::ParseReplacement(replacement), m);
            ReplaceRange(editor, start, end, bytes);
            SetSelection(editor, start, start + static_cast<long>(bytes.size()));
            replaced = 1;
        }
    } else if (start != end) {
        // Search afresh from the selection's start: only a match that is the
        // selection is replaced.
        SetSelection(editor, start, start);
        if (Search(editor, options, true, false, false) && SelStart(editor) == start && SelEnd(editor) == end) {
            editor->replace(replacement);
            replaced = 1;
        } else {
            SetSelection(editor, start, end);
        }
    }
    CSearchResult next = FindNext(editor, options);
    next.nReplaced = replaced;
    return next;
}

namespace {

// Every regular-expression match from pos that ends by rangeEnd, replaced in
// one change of the stretch from the first to the last; nothing changes when
// the search cannot be completed.
CSearchResult ReplaceAllRegExp(QsciScintilla* editor, const CFindOptions& options, const QString& replacement,
                               long pos, long* rangeEnd)
{
    const QRegularExpression re = Expression(options);
    if (!re.isValid())
        return Failed(re);
    const CUtf8Text& text = CSearchText::Of(editor);
    const qsizetype lastUnit = text.ToUnit(*rangeEnd);
    const QList<CReplacementPart> parts = TextSearch::ParseReplacement(replacement);
    QByteArray stretch;
    long first = -1;
    long last = -1;
    int count = 0;
    const SearchOutcome outcome =
        TextSearch::ForEach(re, text.Text(), text.ToUnit(pos), [&](const QRegularExpressionMatch& m) {
            if (m.capturedEnd() > lastUnit)
                return false;
            const long start = static_cast<long>(text.ToByte(m.capturedStart()));
            if (first < 0)
                first = start;
            else
                stretch += text.Bytes().mid(last, start - last);
            last = static_cast<long>(text.ToByte(m.capturedEnd()));
            stretch += Replacement(text, parts, m);
            ++count;
            return true;
        });
    if (outcome == SearchOutcome::TooComplex || count == 0)
        return {outcome == SearchOutcome::TooComplex ? outcome : SearchOutcome::NotFound, 0, {}};
    ReplaceRange(editor, first, last, stretch);
    *rangeEnd += static_cast<long>(stretch.size()) - (last - first);
    return {SearchOutcome::Found, count, {}};
}

} // namespace

CSearchResult ReplaceAll(QsciScintilla* editor, const CFindOptions& options, const QString& replacement)
{
    if (options.strText.isEmpty())
        return {};
    const long selStart = SelStart(editor);
    const long selEnd = SelEnd(editor);
    const bool inSelection = Send(editor, QsciScintillaBase::SCI_LINEFROMPOSITION, selStart) !=
                             Send(editor, QsciScintillaBase::SCI_LINEFROMPOSITION, selEnd);
    long rangeEnd = inSelection ? selEnd : Send(editor, QsciScintillaBase::SCI_GETLENGTH);
    long pos = inSelection ? selStart : 0;
    const long firstLine = Send(editor, QsciScintillaBase::SCI_GETFIRSTVISIBLELINE);

    CSearchResult result;
    Send(editor, QsciScintillaBase::SCI_BEGINUNDOACTION);
    if (options.bRegExp) {
        result = ReplaceAllRegExp(editor, options, replacement, pos, &rangeEnd);
    } else {
        while (pos <= rangeEnd) {
            SetSelection(editor, pos, pos);
            if (!Search(editor, options, true, false, false))
                break;
            const long s = SelStart(editor);
            const long e = SelEnd(editor);
            if (e > rangeEnd || s < pos)
                break;
            editor->replace(replacement);
            const long newEnd = SelEnd(editor);
            rangeEnd += newEnd - e;
            ++result.nReplaced;
            pos = newEnd;
            // An empty match would be found again at the same place: step over one character.
            if (s == e) {
                if (pos >= Send(editor, QsciScintillaBase::SCI_GETLENGTH))
                    break;
                pos = Send(editor, QsciScintillaBase::SCI_POSITIONAFTER, static_cast<unsigned long>(pos));
            }
        }
        result.outcome = result.nReplaced > 0 ? SearchOutcome::Found : SearchOutcome::NotFound;
    }
    Send(editor, QsciScintillaBase::SCI_ENDUNDOACTION);
    if (result.outcome == SearchOutcome::TooComplex || result.outcome == SearchOutcome::BadPattern)
        return result;   // the selection and the view as they were
    // The selection as the user left it, grown or shrunk by the replacements.
    if (inSelection)
        SetSelection(editor, selStart, rangeEnd);
    else
        SetSelection(editor, std::min(selStart, Send(editor, QsciScintillaBase::SCI_GETLENGTH)),
                     std::min(selStart, Send(editor, QsciScintillaBase::SCI_GETLENGTH)));
    Send(editor, QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(firstLine));
    return result;
}

void GoToLine(QsciScintilla* editor, int line)
{
    const long lines = Send(editor, QsciScintillaBase::SCI_GETLINECOUNT);
    const long target = std::clamp<long>(line, 1, std::max(1L, lines)) - 1;
    const long pos = Send(editor, QsciScintillaBase::SCI_POSITIONFROMLINE, static_cast<unsigned long>(target));
    Send(editor, QsciScintillaBase::SCI_GOTOPOS, static_cast<unsigned long>(pos));
    const long visible = Send(editor, QsciScintillaBase::SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(target));
    const long onScreen = Send(editor, QsciScintillaBase::SCI_LINESONSCREEN);
    Send(editor, QsciScintillaBase::SCI_SETFIRSTVISIBLELINE,
         static_cast<unsigned long>(std::max(0L, visible - onScreen / 2)));
}

} // namespace EditorSearch
