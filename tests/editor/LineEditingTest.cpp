// The line commands and auto-close on a real editor control: each change is
// one undo step and the clipboard keeps what it held.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTest>

#include "AutoClose.h"
#include "CodeEditCtrl.h"
#include "EditorDisplay.h"
#include "LineEditing.h"

namespace {

class LineEditingTest : public testing::Test
{
protected:
    void SetUp() override { QGuiApplication::clipboard()->setText(QStringLiteral("kept")); }
    void TearDown() override
    {
        EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
        AutoClose::SetEnabled(false);
    }
    // Loads text (| marks the caret, or two of them the selection) and runs step.
    QByteArray Run(QByteArray text, const std::function<void(CCodeEditCtrl*)>& step, bool oneStep = true)
    {
        const int start = static_cast<int>(text.indexOf('|'));
        text.remove(start, 1);
        const int end = text.contains('|') ? static_cast<int>(text.indexOf('|')) : start;
        text.replace("|", "");
        m_editor.SetWholeText(text);
        m_editor.SetSelection(start, end);
        step(&m_editor);
        const QByteArray after = m_editor.WholeText();
        m_editor.undo();
        if (oneStep)
            EXPECT_EQ(m_editor.WholeText(), text) << "one undo step: " << after.constData();
        return after;
    }
    CCodeEditCtrl m_editor;
};

const auto kUp = [](CCodeEditCtrl* e) { LineEditing::MoveLines(e, true); };
const auto kDown = [](CCodeEditCtrl* e) { LineEditing::MoveLines(e, false); };

TEST_F(LineEditingTest, MovesAndDuplicatesWholeLines)
{
    const struct {
        QByteArray before;
        std::function<void(CCodeEditCtrl*)> step;
        QByteArray after;
    } cases[] = {
        {"a\nb|\nc\n", kUp, "b\na\nc\n"},
        {"a\n|b\nc|\nd", kUp, "b\nc\na\nd"},
        {"a\r\nb|\r\nc", kDown, "a\r\nc\r\nb"},
        {"a\rb|", kUp, "b\ra"},
        {"a\nb\nc|", kDown, "a\nb\nc"},
        {"|a\nb", kUp, "a\nb"},
        {"a|b\nc\n", LineEditing::DuplicateLines, "ab\nab\nc\n"},
        {"x\n|a\nb\n|c", LineEditing::DuplicateLines, "x\na\nb\na\nb\nc"},
        {"a\r\nb|", LineEditing::DuplicateLines, "a\r\nb\r\nb"},
        {"only|", LineEditing::DuplicateLines, "only\nonly"},
        {QByteArray("n\0l|\n", 5), LineEditing::DuplicateLines, QByteArray("n\0l\nn\0l\n", 8)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Run(c.before, c.step), c.after) << c.before.constData();
    // The selection goes with the lines moved.
    Run("a\nb\nc|d|\n", [](CCodeEditCtrl* e) {
        LineEditing::MoveLines(e, true);
        EXPECT_EQ(e->selectedText(), "d");
        EXPECT_EQ(e->WholeText(), "a\ncd\nb\n");
    });
}

TEST_F(LineEditingTest, CommentToggleOverRandomSelectionsIsOneStep)
{
    const QByteArray page = "<style>\n p { }\n</style>\n<div>\n  <?php\n  echo 1;\n  ?>\n</div>\n";
    QRandomGenerator random(26);
    for (int round = 0; round < 40; ++round) {
        const int a = random.bounded(page.size() + 1);
        const int b = random.bounded(page.size() + 1);
        QByteArray marked = page;
        marked.insert(std::max(a, b), '|').insert(std::min(a, b), '|');
        const QByteArray once = Run(marked, LineEditing::ToggleComment);
        // Toggled twice over the same selection: the page again when the first commented.
        const QByteArray twice = Run(marked, [](CCodeEditCtrl* e) {
            e->SendScintilla(QsciScintillaBase::SCI_BEGINUNDOACTION);
            LineEditing::ToggleComment(e);
            LineEditing::ToggleComment(e);
            e->SendScintilla(QsciScintillaBase::SCI_ENDUNDOACTION);
        });
        if (once.size() > page.size())
            EXPECT_EQ(twice.toStdString(), page.toStdString()) << marked.constData();
    }
    EXPECT_EQ(Run("<style>\n p { }|\n", LineEditing::ToggleComment), "<style>\n /* p { } */\n");
}

TEST_F(LineEditingTest, AutoCloseGivesPartnersWithoutDoubling)
{
    const struct {
        const char* before;
        const char* typed;
        const char* after;
    } cases[] = {
        {"|", "(", "()"},
        {"|", "f(a)", "f(a)"},
        {"|", "{[\"x\"]}", "{[\"x\"]}"},
        {"|x", "(", "(x"},
        {"|", "it's", "it's"},
        {"\"ab|", "\"", "\"ab\""},
        {"|", "(\b", ""},
        {"(|)", ")", "())"},
        {"<div><p>x|", "</", "<div><p>x</p>"},
        {"<ul><li>a</li>|", "</", "<ul><li>a</li></ul>"},
        {"<?php $a = 1 |", "</", "<?php $a = 1 </"},
    };
    for (bool on : {false, true}) {
        AutoClose::SetEnabled(on);
        for (const auto& c : cases) {
            const QByteArray after = Run(c.before, [&](CCodeEditCtrl* e) { QTest::keyClicks(e, c.typed); }, false);
            if (on)
                EXPECT_EQ(after, c.after) << c.before << " + " << c.typed;
            else
                EXPECT_EQ(after, QByteArray(c.before).replace("|", c.typed).replace("(\b", "")) << c.typed;
        }
    }
    // The partner goes with the bracket typed in one undo step.
    AutoClose::SetEnabled(true);
    EXPECT_EQ(Run("a|", [](CCodeEditCtrl* e) { QTest::keyClicks(e, "("); }), "a()");
    // Enter between the braces puts the partner on a line of its own.
    EXPECT_EQ(Run("\tif (a) |", [](CCodeEditCtrl* e) { QTest::keyClicks(e, "{\r"); }, false), "\tif (a) {\n\t\n\t}");
}

// Braces in PHP code and the < > of tags light with their partner; the
// same characters in a string do not, and the switch puts the lights out.
TEST(BraceMatchingTest, LightsTheBraceAtTheCaretAndItsPartner)
{
    using Sci = QsciScintillaBase;
    CCodeEditCtrl e;
    e.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&e));
    e.SetWholeText("<p>f(a, \")\") </p>");
    const QByteArray styles = "22255555777552202";   // tag delimiters, PHP code, a string
    e.SendScintilla(Sci::SCI_STARTSTYLING, 0UL);
    for (const char style : styles)
        e.SendScintilla(Sci::SCI_SETSTYLING, 1UL, static_cast<long>(style - '0'));
    const auto lit = [&](int caret) {
        e.SetSelection(caret, caret);
        e.viewport()->repaint();   // the control tells of caret moves as it paints
        QString marks;
        for (int pos = 0; pos < e.WholeText().size(); ++pos)
            marks += e.SendScintilla(Sci::SCI_INDICATORVALUEAT, 10UL, static_cast<long>(pos)) ? u'^' : u' ';
        return marks.trimmed();
    };
    EXPECT_EQ(lit(5), "^      ^");   // after "(": its ")" past the one in the string
    EXPECT_EQ(lit(0), "^ ^");        // before "<p>"
    EXPECT_EQ(lit(9), "");           // at the ")" in the string
    EditorDisplay::SetOn(EditorDisplay::BraceMatching, false);
    EXPECT_EQ(lit(5), "");
    EditorDisplay::SetOn(EditorDisplay::BraceMatching, true);
}

} // namespace
