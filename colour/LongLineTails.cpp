#include "LongLineTails.h"

#include "LongLines.h"
#include "ScintillaStyleTarget.h"
#include "StyleSlot.h"

#include <Qsci/qsciscintilla.h>

#include <algorithm>
#include <vector>

namespace LongLineTails {

namespace {

using Sci = QsciScintillaBase;

long Send(QsciScintilla* e, unsigned int msg, unsigned long w = 0, long l = 0)
{
    return e->SendScintilla(msg, w, l);
}

// Gives [from, to) the hidden styles of the slots they show.
void Hide(QsciScintilla* e, std::int64_t from, std::int64_t to)
{
    constexpr std::int64_t kChunk = std::int64_t{4} << 20;
    for (std::int64_t at = from; at < to; at += kChunk) {
        const std::int64_t n = std::min(kChunk, to - at);
        std::vector<std::uint8_t> styles = CScintillaStyleTarget::StylesAt(e, at, n);
        bool changed = false;
        for (std::uint8_t& s : styles)
            if (s < kSlotCount) {
                s = static_cast<std::uint8_t>(s + kHiddenBase);
                changed = true;
            }
        if (!changed)
            continue;
        Send(e, Sci::SCI_STARTSTYLING, static_cast<unsigned long>(at), 0x1f);
        e->SendScintilla(Sci::SCI_SETSTYLINGEX, static_cast<uintptr_t>(n), reinterpret_cast<const char*>(styles.data()));
    }
}

} // namespace

void Refresh(QsciScintilla* editor, std::int64_t start, std::int64_t end)
{
    const std::int64_t length = Send(editor, Sci::SCI_GETTEXTLENGTH);
    end = std::min(end, length);
    if (start >= end)
        return;
    const std::int64_t first = Send(editor, Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(start));
    const std::int64_t last = Send(editor, Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(end - 1));
    const std::int64_t lines = Send(editor, Sci::SCI_GETLINECOUNT);
    ForEachLongLine(
        first, last, kShown,
        [&](std::int64_t line) -> std::int64_t {
            return line >= lines ? length : Send(editor, Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
        },
        [&](std::int64_t, std::int64_t from, std::int64_t to) {
            Hide(editor, std::max(start, from + kShown), std::min(end, to));
        });
}

} // namespace LongLineTails
