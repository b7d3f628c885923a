#include <gtest/gtest.h>

#include <QAccessible>
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QTest>

#include <functional>

#include "CodeEditCtrl.h"
#include "EditorAccessibility.h"
#include "EditorHost.h"
#include "QuilletEvent.h"
#include "RecordingHelpList.h"
#include "TestSupport.h"

namespace {
// Stands in for the main window: keeps the caret reports it is posted.
class CaretSink : public QObject
{
public:
    QList<QPair<qintptr, qintptr>> reports;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != QuilletEvent::CaretPos)
            return QObject::event(e);
        auto* q = static_cast<CQuilletEvent*>(e);
        reports << qMakePair(q->wParam(), q->lParam());
        return true;
    }
};

class EditCtrlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        EditorHost::SetMainWindow(&m_sink);
        EditorHost::SetHelpList(&m_list);
        EditorHost::SetRecolourer([this](CCodeEditCtrl*) { ++m_recolours; });
        m_editor.resize(600, 400);
        m_editor.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_editor));
    }
    void TearDown() override
    {
        EditorHost::SetHelpList(nullptr);
        EditorHost::SetRecolourer({});
        EditorHost::SetMainWindow(nullptr);
    }
    // Puts text in the editor as a file load would and the caret at its end.
    void Load(const QByteArray& text)
    {
        m_editor.SetWholeText(text);
        m_editor.SetSelection(text.size(), text.size());
    }
    void Type(const QString& text) { QTest::keyClicks(&m_editor, text); }
    void Enter() { QTest::keyClick(&m_editor, Qt::Key_Return); }
    QPair<qintptr, qintptr> LastReport()
    {
        QCoreApplication::processEvents();
        return m_sink.reports.isEmpty() ? qMakePair(qintptr(-1), qintptr(-1)) : m_sink.reports.last();
    }

    CaretSink m_sink;
    CRecordingHelpList m_list;
    CCodeEditCtrl m_editor;
    int m_recolours = 0;
};
} // namespace

TEST_F(EditCtrlTest, ClosingBraceTakesBackOneBlank)
{
    Load("\t\t");
    Type("}");
    EXPECT_EQ(m_editor.WholeText(), "\t}");
    Load("if (a)  ");
    Type("}");
    EXPECT_EQ(m_editor.WholeText(), "if (a) }");
    Load("a");
    Type("}");
    EXPECT_EQ(m_editor.WholeText(), "a}");
    Load("");
    Type("}");
    EXPECT_EQ(m_editor.WholeText(), "}");
    // A selection is replaced by the brace; no blank before it is taken.
    Load(" xy");
    m_editor.SetSelection(1, 3);
    Type("}");
    EXPECT_EQ(m_editor.WholeText(), " }");
}

TEST_F(EditCtrlTest, EnterRepeatsLeadingTabsPlusOneAfterAnOpeningBrace)
{
    Load("\t\tif ($x) {");
    Enter();
    EXPECT_EQ(m_editor.WholeText(), "\t\tif ($x) {\n\t\t");
    Load("\t{");
    Enter();
    EXPECT_EQ(m_editor.WholeText(), "\t{\n\t\t");
    Load("    $y = 1;");
    Enter();
    EXPECT_EQ(m_editor.WholeText(), "    $y = 1;\n");
    Load("");
    Enter();
    EXPECT_EQ(m_editor.WholeText(), "\n");
    Load("{");
    Enter();
    EXPECT_EQ(m_editor.WholeText(), "{\n\t");
    // The caret ends after the indentation, ready to type.
    Type("x");
    EXPECT_EQ(m_editor.WholeText(), "{\n\tx");
}

TEST_F(EditCtrlTest, EnterAndItsIndentationUndoAsOneStep)
{
    Load("\t\tfoo();");
    Enter();
    ASSERT_EQ(m_editor.WholeText(), "\t\tfoo();\n\t\t");
    m_editor.undo();
    EXPECT_EQ(m_editor.WholeText(), "\t\tfoo();");
}

TEST_F(EditCtrlTest, NewLinesUseTheFilesLineBreak)
{
    m_editor.setEolMode(QsciScintilla::EolWindows);
    Load("\ta\r\n");
    m_editor.SetSelection(2, 2);
    Enter();
    EXPECT_EQ(m_editor.WholeText(), "\ta\r\n\t\r\n");
    m_editor.setEolMode(QsciScintilla::EolUnix);
}

TEST_F(EditCtrlTest, LetterPopsTheListUpUnderTheCaretAndNarrowsIt)
{
    Load("<?php ");
    Type("s");
    EXPECT_EQ(m_list.shown, 1);
    EXPECT_EQ(m_editor.WordStart(), 6);
    EXPECT_EQ(m_list.rect.size(), QSize(200, 150));
    const int x = static_cast<int>(m_editor.SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, 7L));
    const int y = static_cast<int>(m_editor.SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, 7L));
    EXPECT_EQ(m_list.rect.topLeft(), m_editor.viewport()->mapToGlobal(QPoint(x, y + 20)));
    Type("t2_");
    EXPECT_EQ(m_list.chars, QList<int>({'s', 't', '2', '_'}));
    EXPECT_EQ(m_list.shown, 1);
    EXPECT_TRUE(m_list.visible);
    Type("(");
    EXPECT_FALSE(m_list.visible);
    EXPECT_EQ(m_list.chars.last(), '(');   // passed on even as it hides the list
}

TEST_F(EditCtrlTest, ListOpensAboveTheCaretNearTheBottom)
{
    QByteArray text;
    const int lines = m_editor.viewport()->height() / m_editor.textHeight(0);
    for (int i = 0; i < lines - 1; ++i)
        text += "\n";
    Load(text);
    Type("a");
    const long pos = m_editor.SelectionStart();
    const int y = static_cast<int>(m_editor.SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, pos));
    ASSERT_GE(y, m_editor.viewport()->rect().bottom() - 150);
    EXPECT_EQ(m_list.rect.top(), m_editor.viewport()->mapToGlobal(QPoint(0, y - 150)).y());
}

TEST_F(EditCtrlTest, DigitsAndSpacesWithTheListHiddenOrShown)
{
    Load("");
    Type("1");
    EXPECT_EQ(m_list.shown, 0);
    EXPECT_TRUE(m_list.chars.isEmpty());
    Type("a9");
    EXPECT_TRUE(m_list.visible);
    EXPECT_EQ(m_list.chars, QList<int>({'a', '9'}));
    QTest::keyClick(&m_editor, Qt::Key_Backspace);
    EXPECT_TRUE(m_list.visible);
    EXPECT_EQ(m_list.chars.last(), 8);
    Type(" ");
    EXPECT_FALSE(m_list.visible);
}

TEST_F(EditCtrlTest, ListKeysMoveTheListNotTheCaret)
{
    Load("one\ntwo\nthree");
    m_editor.SetSelection(4, 4);
    m_list.visible = true;
    QTest::keyClick(&m_editor, Qt::Key_Down);
    QTest::keyClick(&m_editor, Qt::Key_PageUp);
    EXPECT_EQ(m_editor.SelectionStart(), 4);
    EXPECT_EQ(m_list.keys, QList<int>({Qt::Key_Down, Qt::Key_PageUp}));
    m_list.visible = false;
    QTest::keyClick(&m_editor, Qt::Key_Down);
    EXPECT_EQ(m_editor.SelectionStart(), 8);
    EXPECT_EQ(m_list.keys.size(), 2);
}

TEST_F(EditCtrlTest, CaretReportsAfterKeysAndClicks)
{
    Load("ab\n\xe4\xb8\xad\xe6\x96\x87x");   // "中文x" on line 2
    QTest::keyClick(&m_editor, Qt::Key_End);
    EXPECT_EQ(LastReport(), qMakePair(qintptr(2), qintptr(4)));   // characters, not bytes
    QTest::keyClick(&m_editor, Qt::Key_Home);
    EXPECT_EQ(LastReport(), qMakePair(qintptr(2), qintptr(1)));
    // A character's key press reports the position before it is inserted.
    m_editor.SetSelection(1, 1);
    m_sink.reports.clear();
    Type("z");
    EXPECT_EQ(LastReport(), qMakePair(qintptr(1), qintptr(3)));

    m_list.visible = true;
    const int x = static_cast<int>(m_editor.SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, 1L));
    const int y = static_cast<int>(m_editor.SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, 1L));
    QTest::mouseClick(m_editor.viewport(), Qt::LeftButton, {}, QPoint(x + 1, y + 2));
    EXPECT_FALSE(m_list.visible);
    EXPECT_EQ(LastReport(), qMakePair(qintptr(1), qintptr(2)));
}

// However the caret moved (a search, a jump to a line, a program's call), the
// caret pane hears of it.
TEST_F(EditCtrlTest, CaretReportsFollowMovesMadeWithoutKeys)
{
    Load("ab\ncdef\n");
    m_sink.reports.clear();
    m_editor.setCursorPosition(1, 3);
    EXPECT_TRUE(QuilletTest::WaitFor([this] { return LastReport() == qMakePair(qintptr(2), qintptr(4)); }));
    m_editor.SetSelection(0, 1);
    EXPECT_TRUE(QuilletTest::WaitFor([this] { return LastReport() == qMakePair(qintptr(1), qintptr(2)); }));
}

TEST_F(EditCtrlTest, ChordsNoCommandTakesTypeNothing)
{
    Load("x");
    for (const char c : {'=', '+', '-', '1', ';', '.', 'q'})
        for (const Qt::KeyboardModifiers mods : {Qt::KeyboardModifiers(Qt::ControlModifier),
                                                 Qt::KeyboardModifiers(Qt::AltModifier),
                                                 Qt::ControlModifier | Qt::ShiftModifier})
            QTest::keyClick(&m_editor, c, mods);
    EXPECT_EQ(m_editor.WholeText(), "x");
    Type("=");   // the keys themselves still type
    EXPECT_EQ(m_editor.WholeText(), "x=");
}

TEST_F(EditCtrlTest, FocusLossHidesTheList)
{
    QWidget other;
    other.show();
    m_editor.activateWindow();
    m_editor.setFocus();
    m_list.visible = true;
    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(&m_editor, &out);
    EXPECT_FALSE(m_list.visible);
}

TEST_F(EditCtrlTest, RecolourWhenTheCaretsLineStartChangesAcrossEditors)
{
    Load("<?php\n");
    QCoreApplication::processEvents();
    CCodeEditCtrl::ResetCaretLineStart(m_editor.SelectionStart());
    m_recolours = 0;
    Type("echo");
    QCoreApplication::processEvents();
    EXPECT_EQ(m_recolours, 0);   // typing within a line never recolours
    Enter();
    QCoreApplication::processEvents();
    EXPECT_EQ(m_recolours, 1);
    Type("x");
    QCoreApplication::processEvents();
    EXPECT_EQ(m_recolours, 1);

    // One value for every editor: a change in another editor on another line
    // start recolours, and then a change back here does too.
    CCodeEditCtrl other;
    other.SetWholeText("abc");
    other.SetSelection(1, 1);
    QTest::keyClicks(&other, "d");
    QCoreApplication::processEvents();
    EXPECT_EQ(m_recolours, 2);
    EXPECT_EQ(CCodeEditCtrl::CaretLineStart(), 0);
    Type("y");
    QCoreApplication::processEvents();
    EXPECT_EQ(m_recolours, 3);
}

// The control reports changes to Scintilla's container only before they are
// made; textChanged and linesChanged still come, after the change, with the
// new text and line count, for edits of every kind.
TEST_F(EditCtrlTest, ChangeSignalsComeAfterTheChange)
{
    struct Case {
        const char* name;
        std::function<void(CCodeEditCtrl&)> edit;
        QByteArray text;
        bool linesChange;
    };
    const Case cases[] = {
        {"key", [](CCodeEditCtrl& e) { QTest::keyClick(&e, Qt::Key_X); }, "ab\ncdx", false},
        {"Enter", [](CCodeEditCtrl& e) { QTest::keyClick(&e, Qt::Key_Return); }, "ab\ncd\n", true},
        {"delete", [](CCodeEditCtrl& e) { e.SendScintilla(QsciScintillaBase::SCI_DELETERANGE, 1UL, 3L); }, "ad", true},
        {"insert", [](CCodeEditCtrl& e) { e.SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, 0UL, "q"); }, "qab\ncd", false},
        {"undo",
         [](CCodeEditCtrl& e) {
             e.SendScintilla(QsciScintillaBase::SCI_DELETERANGE, 0UL, 4L);
             QCoreApplication::processEvents();
             e.undo();
         },
         "ab\ncd", true},
    };
    for (const Case& c : cases) {
        Load("ab\ncd");
        QCoreApplication::processEvents();
        QList<QByteArray> seen;
        QList<int> lineCounts;
        const auto text = QObject::connect(&m_editor, &QsciScintilla::textChanged, [&] { seen << m_editor.WholeText(); });
        const auto lines = QObject::connect(&m_editor, &QsciScintilla::linesChanged, [&] { lineCounts << m_editor.lines(); });
        c.edit(m_editor);
        QCoreApplication::processEvents();
        QObject::disconnect(text);
        QObject::disconnect(lines);
        ASSERT_FALSE(seen.isEmpty()) << c.name;
        EXPECT_EQ(seen.last(), c.text) << c.name;
        EXPECT_EQ(lineCounts.isEmpty(), !c.linesChange) << c.name;
        if (!lineCounts.isEmpty())
            EXPECT_EQ(lineCounts.last(), m_editor.lines()) << c.name;
    }
}

// Without an assistive technology the editor shows Qt's plain interface (no
// text); once one is active it gets QScintilla's text interface.
TEST_F(EditCtrlTest, AssistiveTechnologyGetsTheTextOnceActive)
{
    Load("abc 中文");
    QAccessibleInterface* plain = QAccessible::queryAccessibleInterface(&m_editor);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->role(), QAccessible::EditableText);
    EXPECT_EQ(plain->textInterface(), nullptr);

    QAccessible::setActive(true);
    QAccessibleInterface* full = QAccessible::queryAccessibleInterface(&m_editor);
    QAccessibleTextInterface* text = full ? full->textInterface() : nullptr;
    const QString shown = text ? text->text(0, text->characterCount()) : QString();
    QAccessible::setActive(false);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(shown, QStringLiteral("abc 中文"));
}

// With an assistive technology active, every insertion and deletion is told
// with its offset in characters and its text: replayed on the text as it
// was, the events give the text as it is, each removal naming what stood there.
TEST_F(EditCtrlTest, AssistiveTechnologyHearsEveryInsertionAndDeletion)
{
    static QList<std::tuple<bool, int, QString>>* heard = nullptr;
    QList<std::tuple<bool, int, QString>> events;
    heard = &events;
    EditorAccessibility::SetEventSinkForTests([](QAccessibleEvent* e) {
        if (e->type() == QAccessible::TextInserted) {
            auto* i = static_cast<QAccessibleTextInsertEvent*>(e);
            heard->append({true, i->changePosition(), i->textInserted()});
        } else if (e->type() == QAccessible::TextRemoved) {
            auto* r = static_cast<QAccessibleTextRemoveEvent*>(e);
            heard->append({false, r->changePosition(), r->textRemoved()});
        }
    });
    QAccessible::setActive(true);
    const QString before = QStringLiteral("中文 abc\n第二行 ünï\n😀 end\n");
    m_editor.setText(before);
    QCoreApplication::processEvents();
    events.clear();
    m_editor.setCursorPosition(1, 4);
    Type(QStringLiteral("xy"));
    QTest::keyClick(&m_editor, Qt::Key_Backspace);
    m_editor.setSelection(0, 1, 2, 2);
    m_editor.replaceSelectedText(QStringLiteral("新"));
    m_editor.setCursorPosition(1, 2);
    QTest::keyClick(&m_editor, Qt::Key_Delete);
    m_editor.undo();
    m_editor.undo();
    m_editor.redo();
    QCoreApplication::processEvents();   // the change done, its insertion told
    QAccessible::setActive(false);
    EditorAccessibility::SetEventSinkForTests(nullptr);

    QList<uint> text = before.toUcs4();
    for (const auto& [inserted, at, piece] : events) {
        const QList<uint> chars = piece.toUcs4();
        ASSERT_LE(at, text.size());
        if (inserted) {
            for (qsizetype k = 0; k < chars.size(); ++k)
                text.insert(at + k, chars[k]);
        } else {
            ASSERT_EQ(text.mid(at, chars.size()), chars) << at;
            text.remove(at, chars.size());
        }
    }
    EXPECT_GE(events.size(), 9);
    EXPECT_EQ(QString::fromUcs4(reinterpret_cast<const char32_t*>(text.constData()), text.size()), m_editor.text());
}

// A text put in by slices with the events run between them (a large open's
// progress bar) is one change, told once it is all in: the slices are never
// recoloured one by one as they arrive.
TEST_F(EditCtrlTest, TextPutInBySlicesIsOneChange)
{
    const QByteArray text = QByteArray("<?php $a = 1; ?>\n").repeated(1'100'000);   // three slices
    int slices = 0;
    int changes = 0;
    Load("x");
    QCoreApplication::processEvents();
    m_recolours = 0;
    const auto counter = QObject::connect(&m_editor, &QsciScintilla::textChanged, [&] { ++changes; });
    m_editor.SetWholeText(text, [&](double) {
        ++slices;
        QCoreApplication::processEvents();
    });
    QCoreApplication::processEvents();
    QObject::disconnect(counter);
    EXPECT_GE(slices, 2);
    EXPECT_EQ(changes, 1);
    EXPECT_LE(m_recolours, 1);
    EXPECT_EQ(m_editor.length(), text.size());
}

TEST_F(EditCtrlTest, NoLimitOnTheTextsLength)
{
    Load(QByteArray(40000, 'a'));
    Type("b");
    EXPECT_EQ(m_editor.WholeText().size(), 40001);
}

// After "wor" typed into "x ;" with the list up, each input either keeps the list (the
// caret is still in the word) or closes it; none of them may leave it open
// with the caret outside the word.
TEST_F(EditCtrlTest, ListClosesOnEverythingButTheWordBeingTyped)
{
    struct Case
    {
        const char* what;
        std::function<void(CCodeEditCtrl&)> input;
        bool staysOpen;
    };
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers m = {}) {
        return [k, m](CCodeEditCtrl& e) { QTest::keyClick(&e, k, m); };
    };
    const QList<Case> cases = {
        {"letter", key(Qt::Key_D), true},
        {"digit", key(Qt::Key_7), true},
        {"Shift alone", key(Qt::Key_Shift, Qt::ShiftModifier), true},
        {"Left within the word", key(Qt::Key_Left), true},
        {"Escape", key(Qt::Key_Escape), false},
        {"Enter", key(Qt::Key_Return), false},
        {"Tab", key(Qt::Key_Tab), false},
        {"Ctrl+Backspace", key(Qt::Key_Backspace, Qt::ControlModifier), false},
        {"Alt with a letter", key(Qt::Key_X, Qt::AltModifier), false},
        {"Ctrl+Z", key(Qt::Key_Z, Qt::ControlModifier), false},
        {"Delete", key(Qt::Key_Delete), false},
        {"Home", key(Qt::Key_Home), false},
        {"three Lefts to the word start", [](CCodeEditCtrl& e) {
             for (int i = 0; i < 3; ++i)
                 QTest::keyClick(&e, Qt::Key_Left);
         }, false},
        {"undo", [](CCodeEditCtrl& e) { e.undo(); }, false},
        {"paste", [](CCodeEditCtrl& e) {
             QGuiApplication::clipboard()->setText(QStringLiteral("zz"));
             e.paste();
         }, false},
        {"cut of a selection", [](CCodeEditCtrl& e) {
             e.SetSelection(0, 1);
             e.cut();
         }, false},
        {"input method word", [](CCodeEditCtrl& e) {
             QInputMethodEvent ime;
             ime.setCommitString(QStringLiteral("中文"));
             QCoreApplication::sendEvent(&e, &ime);
         }, false},
        {"right button", [](CCodeEditCtrl& e) {
             QTest::mouseClick(e.viewport(), Qt::RightButton, {}, QPoint(5, 5));
         }, true},
        {"focus to a menu", [](CCodeEditCtrl& e) {
             QFocusEvent out(QEvent::FocusOut, Qt::PopupFocusReason);
             QCoreApplication::sendEvent(&e, &out);
         }, true},
    };
    for (const Case& c : cases) {
        Load("x ;");
        m_editor.SetSelection(2, 2);
        m_list.visible = false;
        Type("wor");
        ASSERT_TRUE(m_list.visible) << c.what;
        c.input(m_editor);
        EXPECT_EQ(m_list.visible, c.staysOpen) << c.what;
        if (m_list.visible)
            EXPECT_TRUE(m_editor.IsCaretInTypedWord()) << c.what;
    }
}

TEST_F(EditCtrlTest, TextFromAnInputMethodIsTyped)
{
    Load("");
    QInputMethodEvent ime;
    ime.setCommitString(QStringLiteral("ab"));
    QCoreApplication::sendEvent(&m_editor, &ime);
    EXPECT_EQ(m_editor.WholeText(), "ab");
    EXPECT_TRUE(m_list.visible);
    EXPECT_EQ(m_list.chars, QList<int>({'a', 'b'}));
}

TEST_F(EditCtrlTest, LineNumbersInTheFixedFontWideEnoughForTheLastLine)
{
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_editor.SendScintilla(QsciScintillaBase::SCI_STYLESETSIZE, QsciScintillaBase::STYLE_DEFAULT, 30L);
    QByteArray name(200, '\0');
    m_editor.SendScintilla(QsciScintillaBase::SCI_STYLEGETFONT, QsciScintillaBase::STYLE_LINENUMBER, name.data());
    EXPECT_EQ(QString::fromUtf8(name.constData()), fixed.family());
    for (int lines : {1, 99999, 1234567}) {
        Load(QByteArray(lines - 1, '\n'));
        const long needed = m_editor.SendScintilla(QsciScintillaBase::SCI_TEXTWIDTH,
                                                   QsciScintillaBase::STYLE_LINENUMBER,
                                                   QByteArray::number(lines).constData());
        EXPECT_GT(m_editor.marginWidth(0), needed) << lines;
    }
}
