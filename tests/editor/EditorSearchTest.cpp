#include <gtest/gtest.h>

#include <QTest>

#include "CodeEditCtrl.h"
#include "EditorSearch.h"

namespace {
CFindOptions Opt(const char* text, bool matchCase = false, bool word = false, bool re = false, bool back = false)
{
    CFindOptions o;
    o.strText = QString::fromUtf8(text);
    o.bMatchCase = matchCase;
    o.bWholeWord = word;
    o.bRegExp = re;
    o.bBackward = back;
    return o;
}

class EditorSearchTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_editor.resize(500, 300);
        m_editor.show();
    }
    void Load(const char* text, int caret = 0)
    {
        m_editor.SetWholeText(QByteArray(text));
        m_editor.SetSelection(caret, caret);
    }
    QPair<int, int> Sel() const { return {m_editor.SelectionStart(), m_editor.SelectionEnd()}; }
    CCodeEditCtrl m_editor;
};
} // namespace

// Successive finds from a caret at 0 in one text: where each lands.
TEST_F(EditorSearchTest, FindGoesForwardBackwardAndWrapsOnce)
{
    struct Case
    {
        const char* what;
        CFindOptions options;
        int caret;
        QList<QPair<int, int>> expected;   // selections after successive finds
    };
    //                 0         1         2         3
    //                 0123456789012345678901234567890123456
    const char* text = "$Echo = echo($a); echo_it(); ECHO 1;";
    const QList<Case> cases = {
        {"any case, wrapping", Opt("echo"), 10, {{18, 22}, {29, 33}, {1, 5}, {8, 12}}},
        {"match case", Opt("echo", true), 0, {{8, 12}, {18, 22}, {8, 12}}},
        {"whole word", Opt("echo", true, true), 0, {{8, 12}, {8, 12}}},
        {"backward", Opt("echo", true, false, false, true), 13, {{8, 12}, {18, 22}, {8, 12}}},
        {"regular expression", Opt("\\$[a-z]\\b", false, false, true), 0, {{13, 15}, {13, 15}}},
    };
    for (const Case& c : cases) {
        Load(text, c.caret);
        for (const auto& want : c.expected) {
            EXPECT_TRUE(EditorSearch::FindNext(&m_editor, c.options)) << c.what;
            EXPECT_EQ(Sel(), want) << c.what;
        }
    }
    // Nothing found: nothing moves.
    Load(text);
    m_editor.SetSelection(3, 6);
    EXPECT_FALSE(EditorSearch::FindNext(&m_editor, Opt("printf")));
    EXPECT_EQ(Sel(), qMakePair(3, 6));
}

TEST_F(EditorSearchTest, ReplaceAllIsOneUndoStepAndKeepsToASelectionOfSeveralLines)
{
    Load("a1 a2\na3 a4\na5\n");
    CFindOptions o = Opt("a(\\d)", false, false, true);
    EXPECT_EQ(EditorSearch::ReplaceAll(&m_editor, o, "<\\1>"), 5);
    EXPECT_EQ(m_editor.WholeText(), "<1> <2>\n<3> <4>\n<5>\n");
    m_editor.undo();
    EXPECT_EQ(m_editor.WholeText(), "a1 a2\na3 a4\na5\n");

    // A selection over two lines limits the replacements to it.
    m_editor.SetSelection(3, 11);
    EXPECT_EQ(EditorSearch::ReplaceAll(&m_editor, Opt("a"), "bb"), 3);
    EXPECT_EQ(m_editor.WholeText(), "a1 bb2\nbb3 bb4\na5\n");
    // A selection within one line does not: the whole text counts.
    m_editor.SetSelection(0, 1);
    EXPECT_EQ(EditorSearch::ReplaceAll(&m_editor, Opt("bb"), "c"), 3);
    Load("// \xe4\xb8\xad\xe6\x96\x87 abc\r\n$abc = '\xe4\xb8\xad" "abc';\r\n");
    EXPECT_EQ(EditorSearch::ReplaceAll(&m_editor, Opt("abc"), "xyz"), 3) << m_editor.WholeText().toStdString();
    // Empty matches step on instead of looping, and touch no character.
    Load("xy");
    const int empties = EditorSearch::ReplaceAll(&m_editor, Opt("z*", false, false, true), "-");
    EXPECT_GE(empties, 2);
    EXPECT_EQ(m_editor.WholeText().count('-'), empties);
    EXPECT_EQ(m_editor.WholeText().replace("-", ""), "xy");
}

TEST_F(EditorSearchTest, ReplaceTakesOnlyAMatchThatIsSelected)
{
    Load("one two one");
    m_editor.SetSelection(4, 7);   // "two" is no match for "one"
    EXPECT_FALSE(EditorSearch::ReplaceSelected(&m_editor, Opt("one"), "1"));
    EXPECT_EQ(m_editor.WholeText(), "one two one");
    EXPECT_EQ(Sel(), qMakePair(8, 11));   // the next match is selected instead
    EXPECT_TRUE(EditorSearch::ReplaceSelected(&m_editor, Opt("one"), "1"));
    EXPECT_EQ(m_editor.WholeText(), "one two 1");
    EXPECT_EQ(Sel(), qMakePair(0, 3));   // and on to the next, round the end
}

TEST_F(EditorSearchTest, GoToLinePutsTheLineInTheMiddle)
{
    QByteArray text;
    for (int i = 1; i <= 500; ++i)
        text += "line " + QByteArray::number(i) + "\n";
    m_editor.SetWholeText(text);
    EditorSearch::GoToLine(&m_editor, 250);
    int line = 0, index = 0;
    m_editor.getCursorPosition(&line, &index);
    EXPECT_EQ(line, 249);
    EXPECT_EQ(index, 0);
    const long first = m_editor.SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE);
    const long onScreen = m_editor.SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN);
    EXPECT_NEAR(first + onScreen / 2, 249, 1);
    EditorSearch::GoToLine(&m_editor, 9999);
    m_editor.getCursorPosition(&line, &index);
    EXPECT_EQ(line, 500);
}

// With the setting on, Enter keeps blanks as they are and "}" takes back a level.
TEST_F(EditorSearchTest, IndentationWithSpaces)
{
    struct Case
    {
        const char* before;   // the text, caret at its end
        const char* typed;    // "\n" for Enter, "}" for the brace
        const char* after;
    };
    const Case cases[] = {
        {"    $a = 1;", "\n", "    $a = 1;\n    "},
        {"  \t x", "\n", "  \t x\n  \t "},
        {"if ($a) {", "\n", "if ($a) {\n    "},
        {"    {", "\n", "    {\n        "},
        {"\tfunction f() {", "\n", "\tfunction f() {\n\t\t"},
        {"        ", "}", "    }"},
        {"\t\t", "}", "\t}"},
        {"  ", "}", "}"},
        {"    x ", "}", "    x }"},
    };
    CCodeEditCtrl::SetIndentWithSpaces(true);
    for (const Case& c : cases) {
        Load(c.before, static_cast<int>(qstrlen(c.before)));
        if (QByteArray(c.typed) == "\n")
            QTest::keyClick(&m_editor, Qt::Key_Return);
        else
            QTest::keyClicks(&m_editor, c.typed);
        EXPECT_EQ(m_editor.WholeText(), QByteArray(c.after)) << c.before;
    }
    CCodeEditCtrl::SetIndentWithSpaces(false);
    // Off: the tab rule as before, spaces are not repeated.
    Load("    $a = 1;", 11);
    QTest::keyClick(&m_editor, Qt::Key_Return);
    EXPECT_EQ(m_editor.WholeText(), "    $a = 1;\n");
}
