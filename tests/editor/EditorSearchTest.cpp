#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTest>

#include "CodeEditCtrl.h"
#include "EditorSearch.h"
#include "FindReplaceDlg.h"
#include "ScriptedResponder.h"

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
            EXPECT_EQ(EditorSearch::FindNext(&m_editor, c.options).outcome, SearchOutcome::Found) << c.what;
            EXPECT_EQ(Sel(), want) << c.what;
        }
    }
    // Nothing found: nothing moves.
    Load(text);
    m_editor.SetSelection(3, 6);
    EXPECT_EQ(EditorSearch::FindNext(&m_editor, Opt("printf")).outcome, SearchOutcome::NotFound);
    EXPECT_EQ(Sel(), qMakePair(3, 6));
}

TEST_F(EditorSearchTest, ReplaceAllIsOneUndoStepAndKeepsToASelectionOfSeveralLines)
{
    Load("a1 a2\na3 a4\na5\n");
    CFindOptions o = Opt("a(\\d)", false, false, true);
    EXPECT_EQ(EditorSearch::ReplaceAll(&m_editor, o, "<\\1>").nReplaced, 5);
    EXPECT_EQ(m_editor.WholeText(), "<1> <2>\n<3> <4>\n<5>\n");
    m_editor.undo();
    EXPECT_EQ(m_editor.WholeText(), "a1 a2\na3 a4\na5\n");

    // A selection over two lines limits the replacements to it.
    m_editor.SetSelection(3, 11);
    EXPECT_EQ(EditorSearch::ReplaceAll(&m_editor, Opt("a"), "bb").nReplaced, 3);
    EXPECT_EQ(m_editor.WholeText(), "a1 bb2\nbb3 bb4\na5\n");
    // A selection within one line does not: the whole text counts.
    m_editor.SetSelection(0, 1);
    EXPECT_EQ(EditorSearch::ReplaceAll(&m_editor, Opt("bb"), "c").nReplaced, 3);
    Load("// \xe4\xb8\xad\xe6\x96\x87 abc\r\n$abc = '\xe4\xb8\xad" "abc';\r\n");
    EXPECT_EQ(EditorSearch::ReplaceAll(&m_editor, Opt("abc"), "xyz").nReplaced, 3) << m_editor.WholeText().toStdString();
    // Empty matches step on instead of looping, and touch no character.
    Load("xy");
    const int empties = EditorSearch::ReplaceAll(&m_editor, Opt("z*", false, false, true), "-").nReplaced;
    EXPECT_GE(empties, 2);
    EXPECT_EQ(m_editor.WholeText().count('-'), empties);
    EXPECT_EQ(m_editor.WholeText().replace("-", ""), "xy");
}

TEST_F(EditorSearchTest, ReplaceTakesOnlyAMatchThatIsSelected)
{
    Load("one two one");
    m_editor.SetSelection(4, 7);   // "two" is no match for "one"
    EXPECT_EQ(EditorSearch::ReplaceSelected(&m_editor, Opt("one"), "1").nReplaced, 0);
    EXPECT_EQ(m_editor.WholeText(), "one two one");
    EXPECT_EQ(Sel(), qMakePair(8, 11));   // the next match is selected instead
    EXPECT_EQ(EditorSearch::ReplaceSelected(&m_editor, Opt("one"), "1").nReplaced, 1);
    EXPECT_EQ(m_editor.WholeText(), "one two 1");
    EXPECT_EQ(Sel(), qMakePair(0, 3));   // and on to the next, round the end
}

// Replace all finds every match with the whole text around it, exactly as
// the engine's own global replace does, whatever the text's characters.
TEST_F(EditorSearchTest, RegExpReplaceAllMatchesTheEnginesGlobalReplace)
{
    const QStringList atoms = {"\\b", "\\B", "^", "$", "echo", "\\w+", "a*", "(?<=a)", "(?<!\\s)", "(?=b)",
                               ".", "\\s", "[ab]+?", "中", "x?", "(?:ab)+", "\\d", "\\W"};
    const QStringList alphabet = QStringLiteral("a a b b x 1 \r \n 中 文 😀 echo < ? p").split(u' ') << " ";
    // Patterns in a group are replaced with the group in brackets.
    QList<std::pair<QString, QString>> cases = {{"(\\becho)", "echoecho echo xecho"}, {"\\b", "<?php"}};
    QRandomGenerator rng(qEnvironmentVariableIntValue("QUILLET_SEED") + 20);
    for (int i = 0; i < 300; ++i) {
        QString pattern, text;
        for (int n = 1 + rng.bounded(3); n > 0; --n)
            pattern += atoms.at(rng.bounded(atoms.size()));
        for (int n = rng.bounded(40); n > 0; --n)
            text += alphabet.at(rng.bounded(alphabet.size()));
        cases.append({rng.bounded(2) ? "(" + pattern + ")" : pattern, text});
    }
    // Once as it is and once in stretches of two units, as a long text is searched.
    for (const qsizetype stretch : {qsizetype(1) << 30, qsizetype(2)})
    for (const auto& [pattern, text] : cases) {
        TextSearch::SetStretchForTests(stretch);
        const bool grouped = pattern.startsWith(u'(') && !pattern.startsWith(QStringLiteral("(?"));
        const QString with = grouped ? QStringLiteral("<\\1>") : QStringLiteral("|");
        const QRegularExpression oracle("(*ANYCRLF)" + pattern, QRegularExpression::MultilineOption |
                                            QRegularExpression::UseUnicodePropertiesOption |
                                            QRegularExpression::CaseInsensitiveOption);
        Load(text.toUtf8().constData());
        EditorSearch::ReplaceAll(&m_editor, Opt(pattern.toUtf8().constData(), false, false, true), with);
        EXPECT_EQ(m_editor.WholeText().toStdString(), QString(text).replace(oracle, with).toStdString())
            << pattern.toStdString() << " in stretches of " << stretch;
    }
    TextSearch::SetStretchForTests(TextSearch::kStretchUnits);
    Load("echoecho echo xecho");
    EditorSearch::ReplaceAll(&m_editor, Opt("\\becho", false, false, true), "Z");
    EXPECT_EQ(m_editor.WholeText(), "Zecho Z xecho");
}

// Regular expressions find forward and back over Chinese text at the right bytes.
TEST_F(EditorSearchTest, RegExpFindsAtTheRightBytesBothWays)
{
    Load("中文 echo\r\n$x = '文echo';\r\n", 0);   // "echo" at bytes 7 and 22
    const CFindOptions forward = Opt("(?<=[ 文])echo(?=$|')", true, false, true);
    CFindOptions backward = forward;
    backward.bBackward = true;
    for (const auto& [options, want] : {std::pair{forward, qMakePair(7, 11)}, {forward, qMakePair(22, 26)},
                                        {forward, qMakePair(7, 11)}, {backward, qMakePair(22, 26)},
                                        {backward, qMakePair(7, 11)}}) {
        EXPECT_EQ(EditorSearch::FindNext(&m_editor, options).outcome, SearchOutcome::Found);
        EXPECT_EQ(Sel(), want);
    }
    // An empty match under a bare caret does not hold the search there.
    Load("a\nb\n", 0);
    EditorSearch::FindNext(&m_editor, Opt("^", false, false, true));
    EXPECT_EQ(Sel(), qMakePair(2, 2));
}

// A pattern that would need endless backtracking on a 10 MB line stops at the
// engine's limits with one message and changes nothing; the others find.
TEST(EditorSearchLongLine, NoPatternTakesTheEditorDown)
{
    CCodeEditCtrl editor;   // not shown: only the search is under test
    QByteArray line(10 * 1024 * 1024, 'a');
    line += 'b';
    editor.SendScintilla(QsciScintillaBase::SCI_SETTEXT, line.constData());   // in one piece, quickly
    struct Case
    {
        const char* pattern;
        SearchOutcome outcome;
        QPair<int, int> selection;
    };
    const int n = static_cast<int>(line.size());
    for (const Case& c : {Case{".*", SearchOutcome::Found, {0, n}}, Case{"a+", SearchOutcome::Found, {0, n - 1}},
                          Case{"(a+)+$", SearchOutcome::TooComplex, {0, 0}},
                          Case{"(.*)*x", SearchOutcome::TooComplex, {0, 0}}}) {
        editor.SetSelection(0, 0);
        EXPECT_EQ(EditorSearch::FindNext(&editor, Opt(c.pattern, false, false, true)).outcome, c.outcome) << c.pattern;
        EXPECT_EQ(qMakePair(editor.SelectionStart(), editor.SelectionEnd()), c.selection) << c.pattern;
    }
    CScriptedResponder responder;
    CFindReplaceDlg dlg([&editor] { return &editor; }, nullptr);
    dlg.FindBox()->setEditText("(a+)+$");
    dlg.findChildren<QCheckBox*>().at(2)->setChecked(true);   // 正则表达式
    dlg.ReplaceBox()->setText("-");
    dlg.OnReplaceAll();
    ASSERT_EQ(responder.Texts(UserPrompt::Request::Message).size(), 1);
    EXPECT_TRUE(responder.Texts(UserPrompt::Request::Message).first().contains("太复杂"));
    EXPECT_EQ(editor.WholeText(), line);
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
