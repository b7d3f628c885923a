// Fold levels on a real control: after edits anywhere, each recoloured, the
// levels on screen (given lazily) and, after a fold action, those of every
// line equal the levels of a fresh whole scan of the control's text.
#include "ColourEditor.h"
#include "DocColourState.h"
#include "FoldLevels.h"
#include "FoldMargin.h"

#include <gtest/gtest.h>

#include <Qsci/qsciscintilla.h>

#include <random>

namespace {

using Sci = QsciScintillaBase;

TEST(FoldMargin, ControlLevelsMatchAWholeScanAfterEdits)
{
    QsciScintilla editor;
    editor.resize(600, 400);
    editor.SendScintilla(Sci::SCI_SETCODEPAGE, static_cast<unsigned long>(Sci::SC_CP_UTF8));
    std::mt19937 rng(12);
    // Balanced nesting of elements and PHP blocks, so that a change of depth
    // near the top changes the level of most lines after it.
    std::string text;
    for (int block = 0; text.size() < 200 * 1024; ++block) {
        const int depth = 1 + static_cast<int>(rng() % 6);
        for (int d = 0; d < depth; ++d)
            text += d % 2 ? "<?php if ($a) { ?>\n" : "<div class=\"x\">\n";
        text += "<span>text { }</span>\n";
        for (int d = depth - 1; d >= 0; --d)
            text += d % 2 ? "<?php } ?>\n" : "</div>\n";
    }
    editor.SendScintilla(Sci::SCI_SETTEXT, static_cast<uintptr_t>(0), text.c_str());
    FoldMargin::Show(&editor, true);
    ColourEditor::RecolourControl(&editor);

    auto check = [&](long from, long to, int round) {
        CFoldLevels whole;
        CChangeSet all;
        all.MarkAll();
        whole.Update(text, all);
        ASSERT_EQ(whole.LineCount(), editor.SendScintilla(Sci::SCI_GETLINECOUNT));
        for (long line = from; line < std::min<long>(to, static_cast<long>(whole.LineCount())); ++line)
            ASSERT_EQ(editor.SendScintilla(Sci::SCI_GETFOLDLEVEL, static_cast<unsigned long>(line)) & 0x3FFF,
                      whole.Level(line))
                << "line " << line << ", round " << round;
    };
    for (int round = 0; round < 80; ++round) {
        // An edit at the top, then one near the end, then a pass.
        for (int end = 0; end < 2; ++end) {
            const std::size_t offset = end == 0 ? 0 : text.size() - std::min<std::size_t>(text.size(), 3000);
            static const char* const typed[] = {"<div>", "</div>", "<?php { ?>", "<?php } ?>", "\n", "x", "\""};
            const std::size_t pos = offset + rng() % std::min<std::size_t>(3000, text.size() - offset);
            if (rng() % 4 == 0) {
                const std::size_t len = std::min<std::size_t>(rng() % 12, text.size() - pos);
                text.erase(pos, len);
                editor.SendScintilla(Sci::SCI_DELETERANGE, static_cast<unsigned long>(pos), static_cast<long>(len));
            } else {
                const char* s = typed[rng() % std::size(typed)];
                text.insert(pos, s);
                editor.SendScintilla(Sci::SCI_INSERTTEXT, static_cast<unsigned long>(pos), s);
            }
        }
        ColourEditor::RecolourControl(&editor);
        // Scrolled to one of a few places, the lines on screen get their
        // levels (as the control's update report makes happen on screen);
        // places seen before show whether levels set then were kept current.
        const long lines = editor.SendScintilla(Sci::SCI_GETLINECOUNT);
        editor.SendScintilla(Sci::SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(lines * (round % 4) / 4));
        if (CFoldLevels* levels = CDocColourState::For(&editor)->FoldsIfAny())
            FoldMargin::ApplyVisible(&editor, *levels);
        const long first = editor.SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE);
        check(first, first + editor.SendScintilla(Sci::SCI_LINESONSCREEN), round);
    }
    FoldMargin::FoldAll(&editor, false);
    check(0, editor.SendScintilla(Sci::SCI_GETLINECOUNT), -1);
}

} // namespace
