// Find, replace, go to line, the syntax check and the indentation setting
// through the real main frame's commands.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QHelpEvent>

#include "CodeEditCtrl.h"
#include "CommandIds.h"
#include "DocTemplate.h"
#include "EditCommands.h"
#include "FindInFilesCommand.h"
#include "FindResultsPane.h"
#include "FindInFilesDlg.h"
#include "LocalSiteTreeCtrl.h"
#include "ModalScript.h"
#include "WorkspaceBar.h"
#include "WorkspaceSetup.h"
#include "FindReplaceDlg.h"
#include "GoToLineDlg.h"
#include "FrameFixture.h"
#include "MainFrame.h"
#include "PhpSyntaxCheck.h"
#include "QuilletApp.h"
#include "QuilletDoc.h"
#include "ScriptedResponder.h"
#include "StatusIndicators.h"
#include "TestSupport.h"

namespace {

using namespace FrameTest;

CFindReplaceDlg* FindDlg() { return Frame()->findChild<CEditCommands*>()->FindDialog(); }

class EditCommandsTest : public FrameFixture
{
protected:
    void TearDown() override
    {
        FindDlg()->hide();
        FrameFixture::TearDown();
        QSettings().remove(QStringLiteral("Settings/PhpPath"));
    }
    CQuilletDoc* Open(const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("page%1.php").arg(++m_nFiles));
        EXPECT_TRUE(QuilletTest::WriteFile(path, bytes));
        return Docs()->OpenDocumentFile(path);
    }
    void Run(int id)
    {
        Frame()->UpdateCommandStates();
        ASSERT_TRUE(Frame()->Action(id)->isEnabled()) << id;
        Frame()->Action(id)->trigger();
        QCoreApplication::processEvents();
    }
    static QString Status() { return Frame()->statusBar()->currentMessage(); }
    static QString Verdict() { return Frame()->StatusPanes()->MessagePane()->text(); }

    QTemporaryDir m_dir;
    int m_nFiles = 0;
};

} // namespace

TEST_F(EditCommandsTest, EditMenuHoldsTheNewCommandsGreyedWithoutAnEditor)
{
    const QList<int> ids = {Cmd::EditFind, Cmd::EditFindNext, Cmd::EditFindPrevious,
                            Cmd::EditReplace, Cmd::EditGoToLine, Cmd::CheckSyntax};
    Frame()->UpdateCommandStates();
    for (int id : ids)
        EXPECT_FALSE(Frame()->Action(id)->isEnabled()) << id;
    CQuilletDoc* doc = Docs()->NewDocument();
    Frame()->UpdateCommandStates();
    for (int id : ids)
        EXPECT_TRUE(Frame()->Action(id)->isEnabled()) << id;
    EXPECT_FALSE(Frame()->Action(Cmd::EditRedo)->isEnabled());
    QTest::keyClicks(doc->Editor(), "ab");
    doc->Editor()->undo();
    Frame()->UpdateCommandStates();
    EXPECT_TRUE(Frame()->Action(Cmd::EditRedo)->isEnabled());
    Run(Cmd::EditRedo);
    EXPECT_EQ(doc->Editor()->WholeText(), "ab");
    EXPECT_EQ(Frame()->Action(Cmd::EditRedo)->shortcuts().size(), 2);
    EXPECT_EQ(Frame()->Action(Cmd::EditFindNext)->shortcut(), QKeySequence(Qt::Key_F3));
}

TEST_F(EditCommandsTest, FindOpensPrefilledAndTellsWhatItCannotFind)
{
    CQuilletDoc* doc = Open("<?php\n$total = 0;\necho $total;\n");
    CCodeEditCtrl* editor = doc->Editor();
    editor->SetSelection(7, 12);   // "total"
    Run(Cmd::EditFind);
    ASSERT_TRUE(FindDlg()->isVisible());
    EXPECT_EQ(FindDlg()->windowTitle(), "查找");
    EXPECT_EQ(FindDlg()->FindBox()->currentText(), "total");
    EXPECT_TRUE(FindDlg()->FindBox()->lineEdit()->hasSelectedText());
    EXPECT_FALSE(FindDlg()->ReplaceBox()->isVisible());
    FindDlg()->OnFindNext();
    EXPECT_EQ(editor->SelectionStart(), 24);
    Run(Cmd::EditFindNext);   // F3: round to the first again
    EXPECT_EQ(editor->SelectionStart(), 7);
    Run(Cmd::EditFindPrevious);
    EXPECT_EQ(editor->SelectionStart(), 24);
    EXPECT_EQ(QSettings().value("Find/History").toStringList().value(0), "total");

    FindDlg()->FindBox()->setEditText("nowhere");
    FindDlg()->OnFindNext();
    EXPECT_EQ(Status(), "找不到“nowhere”");
    EXPECT_EQ(editor->SelectionStart(), 24);
    // Escape closes it.
    QTest::keyClick(FindDlg(), Qt::Key_Escape);
    EXPECT_FALSE(FindDlg()->isVisible());
}

TEST_F(EditCommandsTest, ReplaceAllInAGb18030FileChangesOnlyTheMatches)
{
    // "中文" in GB18030 around the matches: the bytes must come back as they were.
    const QByteArray original = "<?php\r\n// \xD6\xD0\xCE\xC4 abc\r\n$abc = '\xD6\xD0" "abc';\r\n";
    CQuilletDoc* doc = Open(original);
    Run(Cmd::EditReplace);
    EXPECT_EQ(FindDlg()->windowTitle(), "替换");
    EXPECT_TRUE(FindDlg()->ReplaceBox()->isVisible());
    FindDlg()->FindBox()->setEditText("abc");
    FindDlg()->ReplaceBox()->setText("xyz");
    FindDlg()->OnReplaceAll();
    EXPECT_EQ(Status(), "已替换 3 处。");
    ASSERT_TRUE(doc->DoFileSave());
    QByteArray expected = original;
    expected.replace("abc", "xyz");
    EXPECT_EQ(QuilletTest::ReadFile(doc->GetPathName()), expected);
    doc->Editor()->undo();   // one step takes all three back
    EXPECT_EQ(doc->Editor()->WholeText().count("abc"), 3);
}

TEST_F(EditCommandsTest, GoToLineAsksWithinTheDocumentsLines)
{
    CGoToLineDlg dlg(2, 40, Frame());
    QSpinBox* box = dlg.LineBox();
    EXPECT_EQ(box->minimum(), 1);
    EXPECT_EQ(box->maximum(), 40);
    box->selectAll();
    QTest::keyClicks(box, "99");   // out of range: refused as typed
    EXPECT_LE(box->value(), 40);
    box->selectAll();
    QTest::keyClicks(box, "17");
    EXPECT_EQ(dlg.Line(), 17);
}

TEST_F(EditCommandsTest, SyntaxCheckMarksTheLineOrSaysItIsClean)
{
    CQuilletDoc* doc = Open("<?php\n$a = 1;\n");
    // Without an interpreter: a message says so and where to name one.
    QSettings().setValue("Settings/PhpPath", m_dir.filePath("no-such-php"));
    {
        CScriptedResponder responder;
        Run(Cmd::CheckSyntax);
        ASSERT_EQ(responder.Texts(UserPrompt::Request::Message).size(), 1);
        EXPECT_TRUE(responder.Texts(UserPrompt::Request::Message).first().contains("PhpPath"));
    }
    QSettings().remove("Settings/PhpPath");
    if (CPhpSyntaxCheck::FindPhp().isEmpty())
        GTEST_SKIP() << "no php interpreter on this machine";

    CPhpSyntaxCheck* check = Frame()->findChild<CEditCommands*>()->SyntaxCheck();
    Run(Cmd::CheckSyntax);
    ASSERT_TRUE(QuilletTest::WaitFor([check] { return !check->IsRunning(); }, 15000));
    EXPECT_EQ(Verdict(), "没有发现语法错误");

    // The text as it stands, unsaved, is checked.
    doc->Editor()->SetWholeText("<?php\n$a = 1;\n$b = ;\necho $a;\n");
    Run(Cmd::CheckSyntax);
    ASSERT_TRUE(QuilletTest::WaitFor([check] { return !check->IsRunning(); }, 15000));
    QCoreApplication::processEvents();
    EXPECT_TRUE(Verdict().startsWith("第 3 行")) << Verdict().toStdString();
    int line = 0, index = 0;
    doc->Editor()->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 2);
    EXPECT_EQ(doc->Editor()->markersAtLine(2) & (1 << CPhpSyntaxCheck::kErrorMarker),
              1 << CPhpSyntaxCheck::kErrorMarker);
    EXPECT_EQ(QuilletTest::ReadFile(doc->GetPathName()), "<?php\n$a = 1;\n");
}

// The verdict outlasts any timeout and the menus' prompts: it goes when the
// text it is about changes, and the error line's mark says it too.
TEST_F(EditCommandsTest, SyntaxVerdictStaysUntilTheTextChangesAndIsTheMarksTooltip)
{
    CQuilletDoc* doc = Open("<?php\n$a = 1;\n$b = ;\n");
    CCodeEditCtrl* editor = doc->Editor();
    CPhpLintResult result;
    result.nLine = 3;
    result.strMessage = "syntax error, unexpected token \";\"";
    QCoreApplication::processEvents();   // the load's own change report
    emit Frame()->findChild<CEditCommands*>()->SyntaxCheck()->checked(editor, result);
    const QString verdict = "第 3 行: syntax error, unexpected token \";\"";
    EXPECT_EQ(Verdict(), verdict);

    const auto marginPoint = [editor](int line) {
        const auto pos = static_cast<unsigned long>(editor->positionFromLineIndex(line, 0));
        return QPoint(2, static_cast<int>(editor->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, pos)) + 2);
    };
    EXPECT_EQ(CPhpSyntaxCheck::TipAt(editor, marginPoint(2)), verdict);
    EXPECT_TRUE(CPhpSyntaxCheck::TipAt(editor, marginPoint(1)).isEmpty());
    QHelpEvent help(QEvent::ToolTip, marginPoint(2), editor->viewport()->mapToGlobal(marginPoint(2)));
    QCoreApplication::sendEvent(editor->viewport(), &help);
    EXPECT_EQ(QToolTip::text(), verdict);
    QToolTip::hideText();

    editor->setFocus();
    QTest::keyClicks(editor, "x");
    EXPECT_TRUE(QuilletTest::WaitFor([] { return Verdict() == CStatusIndicators::IdleText(); }))
        << Verdict().toStdString();
}

TEST_F(EditCommandsTest, FindDialogMovesOffTheMatchItFound)
{
    CQuilletDoc* doc = Open("<?php\n$total = 0;\n");
    CCodeEditCtrl* editor = doc->Editor();
    editor->SetSelection(7, 12);
    Run(Cmd::EditFind);
    const auto matchRect = [editor] {
        const int x = static_cast<int>(editor->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, 7UL));
        const int y = static_cast<int>(editor->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, 7UL));
        return QRect(editor->viewport()->mapToGlobal(QPoint(x, y)), QSize(20, 10));
    };
    FindDlg()->move(matchRect().topLeft() - QPoint(30, 20));
    ASSERT_TRUE(FindDlg()->frameGeometry().intersects(matchRect()));
    FindDlg()->OnFindNext();   // round to the same match
    EXPECT_EQ(editor->SelectionStart(), 7);
    EXPECT_FALSE(FindDlg()->frameGeometry().intersects(matchRect()));
}

TEST_F(EditCommandsTest, FindResultsPaneComesBackFromTheViewMenu)
{
    CFindResultsPane* pane = Frame()->findChild<CFindInFilesCommand*>()->Pane();
    pane->show();
    pane->close();   // its caption's close button
    ASSERT_FALSE(pane->isVisible());
    Docs()->NewDocument();
    QAction* item = Frame()->Action(Cmd::ViewFindResults);
    ASSERT_TRUE(item);
    bool inViewMenu = false;
    for (QAction* menu : Frame()->menuBar()->actions())
        if (menu->text() == "查看(&V)")
            inViewMenu = menu->menu()->actions().contains(item);
    EXPECT_TRUE(inViewMenu);
    Run(Cmd::ViewFindResults);
    EXPECT_TRUE(pane->isVisible());
    Frame()->UpdateCommandStates();
    EXPECT_TRUE(item->isChecked());
    Run(Cmd::ViewFindResults);
    EXPECT_FALSE(pane->isVisible());
}

TEST_F(EditCommandsTest, IndentationSettingIsAKeptCheckItem)
{
    Docs()->NewDocument();
    Frame()->UpdateCommandStates();
    QAction* item = Frame()->Action(Cmd::IndentWithSpaces);
    EXPECT_FALSE(item->isChecked());
    Run(Cmd::IndentWithSpaces);
    Frame()->UpdateCommandStates();
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(CCodeEditCtrl::IndentWithSpaces());
    EXPECT_TRUE(QSettings().value("Settings/IndentWithSpaces").toBool());
    Run(Cmd::IndentWithSpaces);
    EXPECT_FALSE(CCodeEditCtrl::IndentWithSpaces());
}

// The switch recolours the open editor at once; in the grammar mode a key
// recolours its own line, in the flat mode the line waits for the caret.
TEST_F(EditCommandsTest, GrammarColouringRecoloursAtOnceAndAsTyped)
{
    CCodeEditCtrl* editor = Open("<?php\n$a = 'if';\n")->Editor();
    const auto styleAt = [editor](long pos) { return editor->SendScintilla(CCodeEditCtrl::SCI_GETSTYLEAT, pos); };
    ASSERT_TRUE(QuilletTest::WaitFor([&] { return styleAt(12) == 4; })); // "if" is a flat keyword
    QAction* item = Frame()->Action(Cmd::GrammarColouring);
    for (const bool on : {true, false}) {
        SCOPED_TRACE(on);
        Run(Cmd::GrammarColouring);
        Frame()->UpdateCommandStates();
        EXPECT_EQ(item->isChecked(), on);
        EXPECT_EQ(QSettings().value("Settings/GrammarColouring").toBool(), on);
        EXPECT_EQ(styleAt(12), on ? 7 : 4); // a string in the grammar mode
        editor->setCursorPosition(1, 10);
        for (const char* key : {" ", "7"}) {
            QTest::keyClicks(editor, key);
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(styleAt(17), on ? 9 : 0); // the number typed, coloured at once
        editor->setCursorPosition(0, 0);
        QCoreApplication::processEvents();
    }
}

TEST_F(EditCommandsTest, FindInFilesListsMatchesAndOpensThemAtTheirLine)
{
    const QString page = m_dir.filePath("site/index.php");
    QDir().mkpath(m_dir.filePath("site/inc"));
    ASSERT_TRUE(QuilletTest::WriteFile(page, "<?php\n// 中文\n$n = strlen($s);\n"));
    ASSERT_TRUE(QuilletTest::WriteFile(m_dir.filePath("site/inc/a.inc"), "strlen\n"));
    auto* command = Frame()->findChild<CFindInFilesCommand*>();
    ASSERT_TRUE(command);
    CFindResultsPane* pane = command->Pane();
    CFileSearchOptions options;
    options.strText = "STRLEN";
    pane->Start(m_dir.filePath("site"), options);
    ASSERT_TRUE(QuilletTest::WaitFor([pane] { return !pane->IsRunning() && pane->List()->count() == 2; }));
    QCoreApplication::processEvents();
    QStringList lines;
    for (int i = 0; i < pane->List()->count(); ++i)
        lines << pane->List()->item(i)->text();
    lines.sort();
    EXPECT_EQ(lines, QStringList({"inc/a.inc:1: strlen", "index.php:3: $n = strlen($s);"}));
    EXPECT_TRUE(pane->StateLabel()->text().contains("找到 2 处")) << pane->StateLabel()->text().toStdString();

    const auto found = pane->List()->findItems("index.php:3", Qt::MatchStartsWith);
    ASSERT_EQ(found.size(), 1);
    emit pane->List()->itemActivated(found.first());
    ASSERT_EQ(Docs()->Documents().size(), 1);
    CCodeEditCtrl* editor = Docs()->Documents().first()->Editor();
    EXPECT_EQ(editor->selectedText(), "strlen");
    int line = 0, index = 0;
    editor->getCursorPosition(&line, &index);
    EXPECT_EQ(line, 2);
    emit pane->List()->itemActivated(found.first());   // the same window again
    EXPECT_EQ(Docs()->Documents().size(), 1);
}

TEST_F(EditCommandsTest, FindInFilesStartsInTheSiteOrTheFolderChosenOnThePage)
{
    QDir().mkpath(m_dir.filePath("site/lib"));
    CWorkspaceBar* bar = Frame()->WorkspaceBar();
    auto* tree = bar->GetView(WorkspacePage::LocalSite)->findChild<CLocalSiteTreeCtrl*>();
    ASSERT_TRUE(tree);
    tree->SetRoot(m_dir.filePath("site"), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    ASSERT_TRUE(root);
    root->setExpanded(true);
    ASSERT_TRUE(QuilletTest::WaitFor([root] { return root->childCount() == 1 && !root->child(0)->text(0).isEmpty(); }));
    EXPECT_TRUE(CLocalSiteTreeCtrl::MenuItems(CLocalSiteTreeCtrl::kFolderMenu).contains(Cmd::SiteFindInFolder));

    QStringList offered;
    CModalScript script([&offered](QDialog* dialog) {
        if (auto* find = qobject_cast<CFindInFilesDlg*>(dialog))
            offered << find->Folder();
        dialog->reject();
    });
    Frame()->Action(Cmd::FindInFiles)->trigger();
    tree->setCurrentItem(root->child(0));
    root->child(0)->setSelected(true);
    Frame()->UpdateCommandStates();
    Frame()->Action(Cmd::SiteFindInFolder)->trigger();
    EXPECT_EQ(offered, QStringList({m_dir.filePath("site"), m_dir.filePath("site/lib")}));
    tree->SetRoot(QString(), 1);
}
