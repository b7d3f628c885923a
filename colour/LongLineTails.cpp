#include "LongLineTails.h"

#include "LongLines.h"
#include "StyleSlot.h"

#include <QString>
#include <Qsci/qsciscintilla.h>

#include <algorithm>
#include <vector>

namespace LongLineTails {

namespace {

using Sci = QsciScintillaBase;

// The note's own style, after the hidden ones.
constexpr int kNoteStyle = kHiddenBase + kSlotCount;

struct TextRange {
    long cpMin;
    long cpMax;
    char* lpstrText;
};

long Send(QsciScintilla* e, unsigned int msg, unsigned long w = 0, long l = 0)
{
    return e->SendScintilla(msg, w, l);
}

// Gives [from, to) the hidden styles of the slots they show.
void Hide(QsciScintilla* e, std::int64_t from, std::int64_t to)
{
    constexpr std::int64_t kChunk = std::int64_t{4} << 20;
    std::vector<char> styled;
    std::vector<char> styles;
    for (std::int64_t at = from; at < to; at += kChunk) {
        const std::int64_t n = std::min(kChunk, to - at);
        styled.resize(static_cast<std::size_t>(2 * n + 2));
        TextRange range{static_cast<long>(at), static_cast<long>(at + n), styled.data()};
        e->SendScintilla(Sci::SCI_GETSTYLEDTEXT, 0UL, static_cast<void*>(&range));
        styles.resize(static_cast<std::size_t>(n));
        bool changed = false;
        for (std::int64_t i = 0; i < n; ++i) {
            auto s = static_cast<unsigned char>(styled[static_cast<std::size_t>(2 * i + 1)]);
            if (s < kSlotCount) {
                s = static_cast<unsigned char>(s + kHiddenBase);
                changed = true;
            }
            styles[static_cast<std::size_t>(i)] = static_cast<char>(s);
        }
        if (!changed)
            continue;
        Send(e, Sci::SCI_STARTSTYLING, static_cast<unsigned long>(at), 0x1f);
        e->SendScintilla(Sci::SCI_SETSTYLINGEX, static_cast<uintptr_t>(n), styles.data());
    }
}

void Note(QsciScintilla* e, std::int64_t line, std::int64_t length)
{
    const QByteArray note = QStringLiteral("↑ 此行共 %1 字节，太长，只显示前 %2 字节（其余照常保存、查找和编辑）")
                                .arg(length)
                                .arg(kShown)
                                .toUtf8();
    e->SendScintilla(Sci::SCI_ANNOTATIONSETTEXT, static_cast<unsigned long>(line), note.constData());
    Send(e, Sci::SCI_ANNOTATIONSETSTYLE, static_cast<unsigned long>(line), kNoteStyle);
    if (!(Send(e, Sci::SCI_MARKERGET, static_cast<unsigned long>(line)) & (1L << kMarker)))
        Send(e, Sci::SCI_MARKERADD, static_cast<unsigned long>(line), kMarker);
}

void Unnote(QsciScintilla* e, std::int64_t line)
{
    e->SendScintilla(Sci::SCI_ANNOTATIONSETTEXT, static_cast<unsigned long>(line), static_cast<const char*>(nullptr));
    Send(e, Sci::SCI_MARKERDELETE, static_cast<unsigned long>(line), kMarker);
}

} // namespace

void SetUpView(QsciScintilla* editor)
{
    // Asked on every pass: set once, since a style change lays the view out again.
    if (Send(editor, Sci::SCI_MARKERSYMBOLDEFINED, kMarker) == Sci::SC_MARK_EMPTY &&
        Send(editor, Sci::SCI_ANNOTATIONGETVISIBLE) == Sci::ANNOTATION_BOXED)
        return;
    Send(editor, Sci::SCI_MARKERDEFINE, kMarker, Sci::SC_MARK_EMPTY);
    Send(editor, Sci::SCI_STYLESETFORE, kNoteStyle, 0x606060);
    Send(editor, Sci::SCI_STYLESETBACK, kNoteStyle, 0xE8F4FF);
    Send(editor, Sci::SCI_STYLESETITALIC, kNoteStyle, 1);
    Send(editor, Sci::SCI_ANNOTATIONSETVISIBLE, Sci::ANNOTATION_BOXED);
}

void Refresh(QsciScintilla* editor, std::int64_t start, std::int64_t end, Scope scope)
{
    const std::int64_t length = Send(editor, Sci::SCI_GETTEXTLENGTH);
    end = std::min(end, length);
    if (scope == Scope::All) {
        Send(editor, Sci::SCI_MARKERDELETEALL, kMarker);
        Send(editor, Sci::SCI_ANNOTATIONCLEARALL);
    }
    if (start >= end)
        return;
    const std::int64_t first = Send(editor, Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(start));
    const std::int64_t last = Send(editor, Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(end - 1));
    const auto lineStart = [editor](std::int64_t line) -> std::int64_t {
        return Send(editor, Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    };
    if (scope == Scope::Lines) {
        // The notes of these lines are made again below, for those still long.
        for (long line = Send(editor, Sci::SCI_MARKERNEXT, static_cast<unsigned long>(first), 1L << kMarker);
             line >= 0 && line <= last; line = Send(editor, Sci::SCI_MARKERNEXT, static_cast<unsigned long>(line + 1), 1L << kMarker))
            Unnote(editor, line);
    }
    const std::int64_t lines = Send(editor, Sci::SCI_GETLINECOUNT);
    ForEachLongLine(first, last, kShown,
                    [&](std::int64_t line) { return line >= lines ? length : lineStart(line); },
                    [&](std::int64_t line, std::int64_t from, std::int64_t to) {
                        Hide(editor, std::max(start, from + kShown), std::min(end, to));
                        Note(editor, line, to - from);
                    });
}

} // namespace LongLineTails
