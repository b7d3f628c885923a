#include "LineEditing.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qsciscintilla.h>

#include <QByteArray>

#include <string_view>

#include "core/CommentToggle.h"

namespace LineEditing {

namespace {

using Sci = QsciScintillaBase;

long Send(QsciScintilla* e, unsigned int msg, unsigned long w = 0, long l = 0)
{
    return e->SendScintilla(msg, w, l);
}

// The first and last line of the selection; a selection that ends at the
// start of a line leaves that line out.
std::pair<long, long> SelectedLines(QsciScintilla* e)
{
    const long start = Send(e, Sci::SCI_GETSELECTIONSTART);
    const long end = Send(e, Sci::SCI_GETSELECTIONEND);
    const long first = Send(e, Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(start));
    long last = Send(e, Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(end));
    if (last > first && Send(e, Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(last)) == end)
        --last;
    return {first, last};
}

// Groups the changes made while it lives into one undo step.
class UndoStep
{
public:
    explicit UndoStep(QsciScintilla* e) : m_e(e) { Send(m_e, Sci::SCI_BEGINUNDOACTION); }
    ~UndoStep() { Send(m_e, Sci::SCI_ENDUNDOACTION); }
    UndoStep(const UndoStep&) = delete;
    UndoStep& operator=(const UndoStep&) = delete;

private:
    QsciScintilla* m_e;
};

} // namespace

void ToggleComment(QsciScintilla* e)
{
    if (e->isReadOnly())
        return;
    const auto [first, last] = SelectedLines(e);
    const auto* data = reinterpret_cast<const char*>(e->SendScintilla(Sci::SCI_GETCHARACTERPOINTER));
    const std::string_view text(data ? data : "", data ? static_cast<std::size_t>(Send(e, Sci::SCI_GETLENGTH)) : 0);
    // Worked out on the text as it is, before the first change moves it.
    const std::vector<CommentToggle::Edit> edits =
        CommentToggle::Edits(text, static_cast<std::size_t>(first), static_cast<std::size_t>(last));
    if (edits.empty())
        return;
    UndoStep step(e);
    // Through the target: unlike plain insertion it keeps the selection,
    // so that a second toggle finds the same lines selected.
    for (const CommentToggle::Edit& edit : edits) {
        Send(e, Sci::SCI_SETTARGETRANGE, edit.pos, static_cast<long>(edit.pos + edit.removed));
        e->SendScintilla(Sci::SCI_REPLACETARGET, edit.inserted.size(), edit.inserted.c_str());
    }
}

void MoveLines(QsciScintilla* e, bool up)
{
    if (e->isReadOnly())
        return;
    const auto [first, last] = SelectedLines(e);
    const long lineCount = Send(e, Sci::SCI_GETLINECOUNT);
    const auto* data = reinterpret_cast<const char*>(e->SendScintilla(Sci::SCI_GETCHARACTERPOINTER));
    if (!data || (up ? first == 0 : last + 1 >= lineCount))
        return;
    const auto lineStart = [e, lineCount](long line) {
        return line < lineCount ? Send(e, Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line))
                                : Send(e, Sci::SCI_GETLENGTH);
    };
    // The upper part (the line above, or the lines moved down) and the lower
    // part change places.
    const long upperFirst = up ? first - 1 : first;
    const long lowerFirst = up ? first : last + 1;
    const long lowerLast = up ? last : last + 1;
    const long from = lineStart(upperFirst);
    const long split = lineStart(lowerFirst);
    const long to = lineStart(lowerLast + 1);
    QByteArray upper(data + from, split - from);
    QByteArray lower(data + split, to - split);
    // Each part keeps its own line break; the last line of the text, which
    // has none, takes the upper part's.
    if (lowerLast + 1 >= lineCount) {
        const long upperEnd = Send(e, Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(lowerFirst - 1));
        lower += upper.mid(upperEnd - from);
        upper.truncate(upperEnd - from);
    }
    const QByteArray swapped = lower + upper;
    // The selection goes with its lines.
    const long shift = up ? from - split : static_cast<long>(lower.size());
    const long anchor = Send(e, Sci::SCI_GETANCHOR);
    const long caret = Send(e, Sci::SCI_GETCURRENTPOS);
    UndoStep step(e);
    Send(e, Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(from), to);
    e->SendScintilla(Sci::SCI_REPLACETARGET, static_cast<unsigned long>(swapped.size()), swapped.constData());
    Send(e, Sci::SCI_SETSEL, static_cast<unsigned long>(anchor + shift), caret + shift);
}

void DuplicateLines(QsciScintilla* e)
{
    if (e->isReadOnly())
        return;
    const auto [first, last] = SelectedLines(e);
    const long from = Send(e, Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(first));
    const long lastEnd = Send(e, Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(last));
    const long next = Send(e, Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(last + 1));
    const auto* data = reinterpret_cast<const char*>(e->SendScintilla(Sci::SCI_GETCHARACTERPOINTER));
    if (!data)
        return;
    // The copy ends with the line break of the lines copied; after the last
    // line of the text, which has none, it starts with the break before it.
    const bool atEnd = next <= lastEnd;
    const long breakStart =
        !atEnd ? lastEnd : first > 0 ? Send(e, Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(first - 1)) : from;
    const long breakEnd = atEnd ? from : next;
    QByteArray eol(data + breakStart, breakEnd - breakStart);
    if (eol.isEmpty())
        eol = "\n";
    const QByteArray lines(data + from, lastEnd - from);
    const QByteArray copy = atEnd ? eol + lines : lines + eol;
    const long at = atEnd ? lastEnd : next;
    UndoStep step(e);
    // Through the target, which takes a length: the lines may hold NULs.
    Send(e, Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(at), at);
    e->SendScintilla(Sci::SCI_REPLACETARGET, static_cast<unsigned long>(copy.size()), copy.constData());
}

void ReleaseKeys(QsciScintilla* e)
{
    for (const int key : {Qt::CTRL | Qt::Key_Slash, Qt::CTRL | Qt::Key_D, Qt::ALT | Qt::Key_Up, Qt::ALT | Qt::Key_Down}) {
        while (QsciCommand* command = e->standardCommands()->boundTo(key)) {
            if (command->key() == key)
                command->setKey(0);
            if (command->alternateKey() == key)
                command->setAlternateKey(0);
        }
    }
}

} // namespace LineEditing
