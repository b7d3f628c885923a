#include "AutoClose.h"

#include <Qsci/qsciscintilla.h>

#include <QByteArray>
#include <cstring>
#include <string_view>

#include "core/CodeContext.h"

namespace AutoClose {

namespace {

using Sci = QsciScintillaBase;
// A hidden indicator on each closing character put in here: only those are
// stepped over, wherever later edits moved them.
constexpr int kClosedIndicator = 12;
bool g_bEnabled = false;

long Send(QsciScintilla* e, unsigned int msg, unsigned long w = 0, long l = 0) { return e->SendScintilla(msg, w, l); }
int CharAt(QsciScintilla* e, long pos) { return pos < 0 ? 0 : static_cast<int>(Send(e, Sci::SCI_GETCHARAT, static_cast<unsigned long>(pos)) & 0xff); }

char PartnerOf(int ch)
{
    switch (ch) {
    case '(': return ')';
    case '[': return ']';
    case '{': return '}';
    case '"': return '"';
    case '\'': return '\'';
    default: return 0;
    }
}

bool IsWordChar(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c >= 0x80; }

bool IsMarkedCloser(QsciScintilla* e, long pos)
{
    return Send(e, Sci::SCI_INDICATORVALUEAT, kClosedIndicator, pos) != 0;
}

// Puts text in at the caret, the caret staying before it (closer) or going after it.
void InsertAtCaret(QsciScintilla* e, const QByteArray& text, bool mark)
{
    const long caret = Send(e, Sci::SCI_GETCURRENTPOS);
    e->SendScintilla(Sci::SCI_INSERTTEXT, static_cast<unsigned long>(caret), text.constData());
    if (mark) {
        Send(e, Sci::SCI_INDICSETSTYLE, kClosedIndicator, Sci::INDIC_HIDDEN);
        Send(e, Sci::SCI_SETINDICATORCURRENT, kClosedIndicator);
        Send(e, Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(caret), text.size());
    } else {
        Send(e, Sci::SCI_GOTOPOS, static_cast<unsigned long>(caret + text.size()));
    }
}

// Whether the quote just typed at pos closes a string begun earlier on its
// line: an even count of such quotes, unescaped, from the line start to it.
bool ClosesString(QsciScintilla* e, long pos, int quote)
{
    const long line = Send(e, Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(pos));
    int count = 0;
    for (long p = Send(e, Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line)); p <= pos; ++p) {
        const int c = CharAt(e, p);
        if (c == '\\')
            ++p;
        else if (c == quote)
            ++count;
    }
    return count % 2 == 0;
}

void CloseElement(QsciScintilla* e, long slash)
{
    const auto* data = reinterpret_cast<const char*>(e->SendScintilla(Sci::SCI_GETCHARACTERPOINTER));
    if (!data || slash < 1 || CharAt(e, slash - 1) != '<')
        return;
    const std::string name = CodeContext::OpenElementAt(std::string_view(data, static_cast<std::size_t>(slash - 1)), static_cast<std::size_t>(slash - 1));
    if (!name.empty())
        InsertAtCaret(e, QByteArray::fromStdString(name + '>'), false);
}

// Enter between a "{" and the "}" put in for it: the "}" goes to a line of
// its own below the caret, indented as the line of the "{".
void BreakBeforeCloser(QsciScintilla* e, long caret)
{
    if (CharAt(e, caret) != '}' || !IsMarkedCloser(e, caret))
        return;
    const long line = Send(e, Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(caret));
    if (line < 1)
        return;
    const long above = Send(e, Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line - 1));
    const long aboveEnd = Send(e, Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line - 1));
    if (aboveEnd <= above || CharAt(e, aboveEnd - 1) != '{')
        return;
    QByteArray text;
    for (long p = aboveEnd; p < Send(e, Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line)); ++p)
        text += static_cast<char>(CharAt(e, p));
    for (long p = above; CharAt(e, p) == ' ' || CharAt(e, p) == '\t'; ++p)
        text += static_cast<char>(CharAt(e, p));
    e->SendScintilla(Sci::SCI_INSERTTEXT, static_cast<unsigned long>(caret), text.constData());
}

} // namespace

void SetEnabled(bool on) { g_bEnabled = on; }
bool Enabled() { return g_bEnabled; }

bool MayClose(int ch) { return g_bEnabled && (PartnerOf(ch) != 0 || ch == '/' || ch == 13); }

bool TypeOver(QsciScintilla* e, int ch)
{
    if (!g_bEnabled || Send(e, Sci::SCI_GETSELECTIONEMPTY) == 0)
        return false;
    const long caret = Send(e, Sci::SCI_GETCURRENTPOS);
    const bool closer = ch == ')' || ch == ']' || ch == '}' || ch == '"' || ch == '\'';
    if (closer && CharAt(e, caret) == ch && IsMarkedCloser(e, caret)) {
        Send(e, Sci::SCI_SETINDICATORCURRENT, kClosedIndicator);
        Send(e, Sci::SCI_INDICATORCLEARRANGE, static_cast<unsigned long>(caret), 1);
        Send(e, Sci::SCI_GOTOPOS, static_cast<unsigned long>(caret + 1));
        return true;
    }
    if (ch == 8 && caret > 0 && PartnerOf(CharAt(e, caret - 1)) == CharAt(e, caret) && CharAt(e, caret) != 0 &&
        IsMarkedCloser(e, caret)) {
        Send(e, Sci::SCI_DELETERANGE, static_cast<unsigned long>(caret - 1), 2);
        return true;
    }
    return false;
}

void AfterChar(QsciScintilla* e, int ch)
{
    if (!MayClose(ch) || Send(e, Sci::SCI_GETSELECTIONEMPTY) == 0)
        return;
    const long caret = Send(e, Sci::SCI_GETCURRENTPOS);
    if (ch == 13) {
        BreakBeforeCloser(e, caret);
        return;
    }
    if (caret < 1 || CharAt(e, caret - 1) != ch)
        return;
    if (ch == '/') {
        CloseElement(e, caret - 1);
        return;
    }
    // Only before a blank, the end of the line or a closing character: in
    // front of a word the partner would land on the wrong side of it.
    const int next = CharAt(e, caret);
    if (next != 0 && !std::strchr(" \t\r\n)]};,", next))
        return;
    if ((ch == '"' || ch == '\'') && (IsWordChar(CharAt(e, caret - 2)) || ClosesString(e, caret - 1, ch)))
        return;
    InsertAtCaret(e, QByteArray(1, PartnerOf(ch)), true);
}

} // namespace AutoClose
