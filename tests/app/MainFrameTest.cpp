#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QClipboard>
#include <QListWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include "CodeEditCtrl.h"
#include "EditorHost.h"
#include "../editor/RecordingHelpList.h"
#include "ComboToolBar.h"
#include "CommandIds.h"
#include "DocTemplate.h"
#include "FrameFixture.h"
#include "MainFrame.h"
#include "QuilletApp.h"
#include "QuilletDoc.h"
#include "QuilletEvent.h"
#include "QuilletView.h"
#include "ScriptedResponder.h"
#include "StatusIndicators.h"
#include "ContextHelpDlg.h"
#include "WorkspaceBar.h"
#include <QTabWidget>
#include <QTreeWidget>
#include "TestSupport.h"

using UserPrompt::Answer;

namespace {
using QuilletTest::ReadFile;

using namespace FrameTest;

QStringList MenuTitles()
{
    QStringList titles;
    for (QAction* a : Frame()->menuBar()->actions())
        titles << a->text();
    return titles;
}

void Type(QWidget* w, const QString& text)
{
    QTest::keyClicks(w, text);
}

class MainFrameTest : public FrameFixture
{
protected:
    QTemporaryDir m_dir;
};
} // namespace

TEST_F(MainFrameTest, MenuBarFollowsWhetherAnEditorWindowExists)
{
    EXPECT_EQ(MenuTitles(), QStringList({"文件(&F)", "站点", "查看(&V)", "帮助(&H)"}));
    CQuilletDoc* doc = Docs()->NewDocument();
    ASSERT_TRUE(doc);
    EXPECT_EQ(MenuTitles(),
              QStringList({"文件(&F)", "编辑(&E)", "查看(&V)", "设置(&O)", "窗口(&W)", "帮助(&H)"}));
    doc->OnFileClose();
    ASSERT_TRUE(QuilletTest::WaitFor([] { return !Frame()->HasDocumentMenus(); }));
    EXPECT_EQ(MenuTitles(), QStringList({"文件(&F)", "站点", "查看(&V)", "帮助(&H)"}));
}

TEST_F(MainFrameTest, UntitledDocumentsAreNumberedAndTitleTheFrame)
{
    CQuilletDoc* first = Docs()->NewDocument();
    CQuilletDoc* second = Docs()->NewDocument();
    const int n = first->GetTitle().mid(7).toInt();
    EXPECT_TRUE(first->GetTitle().startsWith("Quillet"));
    EXPECT_EQ(second->GetTitle(), QStringLiteral("Quillet%1").arg(n + 1));
    QCoreApplication::processEvents();
    EXPECT_EQ(Frame()->windowTitle(), "Quillet - [" + second->GetTitle() + "]");
    EXPECT_TRUE(Frame()->MdiArea()->activeSubWindow()->isMaximized());
}

TEST_F(MainFrameTest, ToolbarOrderAndComboSlot)
{
    QList<int> ids;
    for (QAction* a : Frame()->ToolBar()->actions()) {
        if (a->isSeparator())
            ids << 0;
        else if (a->data().isValid())
            ids << a->data().toInt();
        else
            ids << -1;   // the combo box's place
    }
    EXPECT_EQ(ids, QList<int>({Cmd::FileNew, Cmd::FileOpen, Cmd::FileSave, Cmd::SaveAll, 0,
                               Cmd::EditCut, Cmd::EditCopy, Cmd::EditPaste, Cmd::EditFind,
                               Cmd::EditReplace, 0, Cmd::FilePrint,
                               Cmd::AppAbout, 0, -1}));
    QComboBox* combo = Frame()->ToolBar()->Combo();
    ASSERT_TRUE(combo);
    EXPECT_EQ(combo->width(), 300);
    EXPECT_EQ(combo->parentWidget()->width(), 605);
    for (QAction* a : Frame()->ToolBar()->actions())
        if (!a->isSeparator() && a->data().isValid())
            EXPECT_FALSE(a->icon().isNull()) << a->data().toInt();

    Frame()->ToolBar()->SetComboText(QStringLiteral("f(a); f(a, b)"));
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(1), "f(a, b)");
    EXPECT_EQ(combo->currentIndex(), 0);
}

TEST_F(MainFrameTest, StatusBarPanes)
{
    CStatusIndicators* panes = Frame()->StatusPanes();
    EXPECT_EQ(Frame()->findChild<QLabel*>("messagePane")->text(),
              "上下文帮助出现时按 Ctrl+I 插入选中的函数");
    EXPECT_GE(panes->CaretPane()->width(),
              panes->CaretPane()->fontMetrics().horizontalAdvance("Ln 224977,Col 1024"));
    EXPECT_EQ(panes->CapsPane()->text(), "大写");
    EXPECT_EQ(panes->NumPane()->text(), "数字");
    EXPECT_EQ(panes->ScrollPane()->text(), "滚动");
    CQuilletEvent::Post(Frame(), QuilletEvent::CaretPos, 12, 5);
    EXPECT_NE(panes->CaretPane()->text(), "Ln 12,Col 5");   // posted, not sent
    QCoreApplication::processEvents();
    EXPECT_EQ(panes->CaretPane()->text(), "Ln 12,Col 5");
}

TEST_F(MainFrameTest, CommandsWithoutHandlersAreGreyed)
{
    Docs()->NewDocument();
    Frame()->UpdateCommandStates();
    EXPECT_FALSE(Frame()->Action(Cmd::SaveAsCode)->isEnabled());
    EXPECT_TRUE(Frame()->Action(Cmd::FileNew)->isEnabled());
    EXPECT_TRUE(Frame()->Action(Cmd::SaveAll)->isEnabled());
    EXPECT_TRUE(Frame()->Action(Cmd::ViewToolbar)->isChecked());
    EXPECT_EQ(Frame()->Action(Cmd::FileNew)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(Frame()->Action(Cmd::EditUndo)->shortcuts().size(), 2);
}

TEST_F(MainFrameTest, EditCommandsFollowTheSelection)
{
    CQuilletDoc* doc = Docs()->NewDocument();
    CCodeEditCtrl* editor = doc->Editor();
    Type(editor, "abc");
    Frame()->UpdateCommandStates();
    EXPECT_FALSE(Frame()->Action(Cmd::EditCut)->isEnabled());
    EXPECT_FALSE(Frame()->Action(Cmd::EditCopy)->isEnabled());
    EXPECT_TRUE(Frame()->Action(Cmd::EditUndo)->isEnabled());
    // With no context-help list showing, Insert is greyed and does nothing.
    EXPECT_FALSE(Frame()->Action(Cmd::EditInsert)->isEnabled());
    editor->SetSelection(1, 2);
    Frame()->UpdateCommandStates();
    EXPECT_TRUE(Frame()->Action(Cmd::EditCut)->isEnabled());
    EXPECT_TRUE(Frame()->Action(Cmd::EditCopy)->isEnabled());
    Frame()->Action(Cmd::EditCopy)->trigger();
    editor->SetSelection(3, 3);
    Frame()->UpdateCommandStates();
    EXPECT_TRUE(Frame()->Action(Cmd::EditPaste)->isEnabled());
    Frame()->Action(Cmd::EditPaste)->trigger();
    EXPECT_EQ(editor->WholeText(), "abcb");
    Frame()->Action(Cmd::EditInsert)->trigger();
    EXPECT_EQ(editor->WholeText(), "abcb");
}

TEST_F(MainFrameTest, SaveAllSavesOnlyModifiedDocuments)
{
    const QString a = m_dir.filePath("a.php"), b = m_dir.filePath("b.php"), c = m_dir.filePath("c.php");
    for (const QString& p : {a, b, c})
        ASSERT_TRUE(QuilletTest::WriteFile(p, "<?php\n"));
    CQuilletDoc* docA = Docs()->OpenDocumentFile(a);
    Docs()->OpenDocumentFile(b);
    Docs()->OpenDocumentFile(c);
    ASSERT_EQ(Docs()->Documents().size(), 3);
    // b is rewritten behind the editor's back: saving it would overwrite that.
    ASSERT_TRUE(QuilletTest::WriteFile(b, "changed outside\n"));
    docA->Editor()->SetSelection(6, 6);
    Type(docA->Editor(), "echo 1;");
    ASSERT_TRUE(docA->IsModified());
    CScriptedResponder responder;
    Frame()->Action(Cmd::SaveAll)->trigger();
    EXPECT_EQ(ReadFile(a), "<?php\necho 1;");
    EXPECT_EQ(ReadFile(b), "changed outside\n");
    EXPECT_FALSE(docA->IsModified());
    EXPECT_TRUE(responder.asked.isEmpty());
}

TEST_F(MainFrameTest, SaveAllAsksForTheNameOfAnUntitledDocument)
{
    CQuilletDoc* doc = Docs()->NewDocument();
    Docs()->NewDocument();   // unmodified: never asked about
    Type(doc->Editor(), "x");
    CScriptedResponder responder;
    responder.files << m_dir.filePath("named");
    Frame()->OnSaveAll();
    EXPECT_EQ(responder.Texts(UserPrompt::Request::SaveFile).size(), 1);
    // The default extension is added to a name typed without one.
    EXPECT_EQ(ReadFile(m_dir.filePath("named.php")), "x");
    EXPECT_EQ(doc->GetTitle(), "named.php");
}

TEST_F(MainFrameTest, CloseAllAsksForEachModifiedDocumentAndKeepsCancelledOnes)
{
    CQuilletDoc* first = Docs()->NewDocument();
    CQuilletDoc* second = Docs()->NewDocument();
    Type(first->Editor(), "one");
    Type(second->Editor(), "two");
    CScriptedResponder responder;
    responder.answers = {Answer::Cancel, Answer::No};
    Frame()->OnCloseAll();
    QuilletTest::WaitFor([] { return Docs()->Documents().size() == 1; });
    const QStringList asked = responder.Texts(UserPrompt::Request::YesNoCancel);
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked.at(0), "将改动保存到 " + first->GetTitle() + "？");
    ASSERT_EQ(Docs()->Documents().size(), 1);
    EXPECT_EQ(Docs()->Documents().constFirst(), first);
    EXPECT_EQ(first->Editor()->WholeText(), "one");
}

TEST_F(MainFrameTest, DroppedFilesOpenAsDocuments)
{
    const QString path = m_dir.filePath("dropped.php");
    ASSERT_TRUE(QuilletTest::WriteFile(path, "<?php echo 'dropped'; ?>"));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Frame(), &drop);
    ASSERT_EQ(Docs()->Documents().size(), 1);
    EXPECT_EQ(Docs()->Documents().constFirst()->Editor()->WholeText(), "<?php echo 'dropped'; ?>");
    EXPECT_EQ(App()->RecentFiles().Files().value(0), QFileInfo(path).absoluteFilePath());
}

TEST_F(MainFrameTest, OpenRequestsFromASecondStartOpenTheFile)
{
    const QString path = m_dir.filePath("sent.php");
    ASSERT_TRUE(QuilletTest::WriteFile(path, "sent"));
    App()->OpenRequestedFiles({path});
    ASSERT_EQ(Docs()->Documents().size(), 1);
    EXPECT_EQ(Docs()->Documents().constFirst()->GetPathName(), QFileInfo(path).absoluteFilePath());
    // The same file again activates it rather than opening a second copy.
    App()->OpenRequestedFiles({path});
    EXPECT_EQ(Docs()->Documents().size(), 1);
}

TEST_F(MainFrameTest, ShippedDatabasesAreOpenAfterStart)
{
    // The test binary sits beside the built databases, as an editor started
    // from the build tree does.
    EXPECT_NE(Frame()->GetDatabase(1), nullptr);
    EXPECT_NE(Frame()->GetDatabase(2), nullptr);
    EXPECT_EQ(Frame()->GetDatabase(3), nullptr);   // no user library chosen yet
    Frame()->UpdateCommandStates();
    EXPECT_TRUE(Frame()->Action(Cmd::OpenCodeLib)->isEnabled());
    EXPECT_FALSE(Frame()->Action(Cmd::ImportCode)->isEnabled());
}

TEST_F(MainFrameTest, WorkspaceBarAndViewMenuStayInStep)
{
    CWorkspaceBar* bar = Frame()->WorkspaceBar();
    ASSERT_TRUE(bar);
    EXPECT_EQ(Frame()->dockWidgetArea(bar), Qt::LeftDockWidgetArea);
    EXPECT_EQ(bar->GetViewCount(), 7);   // the six pages, then 符号
    Frame()->UpdateCommandStates();
    EXPECT_TRUE(Frame()->Action(Cmd::ViewWorkspace)->isChecked());

    // Hidden by the bar's own means (its menu's item goes through the frame too).
    bar->hide();
    QCoreApplication::processEvents();
    EXPECT_FALSE(Frame()->Action(Cmd::ViewWorkspace)->isChecked());
    Frame()->Action(Cmd::ViewWorkspace)->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(Frame()->dockWidgetArea(bar), Qt::LeftDockWidgetArea);
    EXPECT_TRUE(Frame()->Action(Cmd::ViewWorkspace)->isChecked());

    // A page chosen by its tab moves the check mark; so does the command.
    bar->TabControl()->setCurrentIndex(1);
    QCoreApplication::processEvents();
    const QList<int> pages = {Cmd::ViewPagePHP, Cmd::ViewPageCSS, Cmd::ViewPageHtml,
                              Cmd::ViewPageJavaScript, Cmd::ViewPageCodeBlock, Cmd::ViewPageLocalSite};
    for (int i = 0; i < pages.size(); ++i)
        EXPECT_EQ(Frame()->Action(pages[i])->isChecked(), i == 1) << i;
    Frame()->Action(Cmd::ViewPageLocalSite)->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(bar->GetActiveIndex(), 5);
    for (int i = 0; i < pages.size(); ++i)
        EXPECT_EQ(Frame()->Action(pages[i])->isChecked(), i == 5) << i;
    Frame()->Action(Cmd::ViewPagePHP)->trigger();

    // Menu 143: the six page items and "工作空间".
    QStringList items;
    for (QAction* a : Frame()->WorkspaceMenu()->actions())
        if (!a->isSeparator())
            items << a->text();
    EXPECT_EQ(items, QStringList({"PHP", "CSS", "Html", "JavaScript", "CodeBlock", "LocalSite", "工作空间"}));
}

TEST_F(MainFrameTest, CtrlIInTheEditorInsertsTheListsEntry)
{
    CRecordingHelpList list;
    EditorHost::SetHelpList(&list);
    CQuilletDoc* doc = Docs()->NewDocument();
    CCodeEditCtrl* editor = doc->Editor();
    Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    editor->setFocus();
    QTest::keyClicks(editor, "x = st");
    ASSERT_TRUE(list.visible);
    QTest::keyClick(editor, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(editor->WholeText(), "x = strlen");
    EXPECT_FALSE(list.visible);
    EditorHost::SetHelpList(Frame()->GetHelpList());
}

TEST_F(MainFrameTest, OpeningAUserLibraryEnablesImport)
{
    const QString lib = m_dir.filePath("mine.mdb");
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLET_BIN_DIR "/userlibTemp.mdb"), lib));
    CScriptedResponder responder;
    responder.files << lib;
    Frame()->Action(Cmd::OpenCodeLib)->trigger();
    EXPECT_NE(Frame()->GetDatabase(3), nullptr);
    Frame()->UpdateCommandStates();
    EXPECT_TRUE(Frame()->Action(Cmd::ImportCode)->isEnabled());
    QSettings settings;
    EXPECT_EQ(settings.value("Settings/UserLib").toString(), lib);
}

TEST_F(MainFrameTest, OpenedFileIsColouredAndNewEditorsTakeSlotZero)
{
    const QString path = m_dir.filePath("c.php");
    ASSERT_TRUE(QuilletTest::WriteFile(path, "<p><?php echo 1; ?></p>"));
    CQuilletDoc* doc = Docs()->OpenDocumentFile(path);
    ASSERT_TRUE(doc);
    CCodeEditCtrl* editor = doc->Editor();
    // Colour right after loading: "<?php" is a PHP delimiter (slot 1),
    // "echo" a PHP keyword (slot 4), "<p>" an HTML delimiter at its "<" (slot 2).
    EXPECT_EQ(editor->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, 3UL), 1);
    EXPECT_EQ(editor->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, 9UL), 4);
    EXPECT_EQ(editor->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, 0UL), 2);
    Frame()->UpdateCommandStates();
    EXPECT_TRUE(Frame()->Action(Cmd::CodeStyle)->isEnabled());
}

TEST_F(MainFrameTest, DeferredLoadFillsTheReferencePagesFromTheShippedDatabase)
{
    CWorkspaceBar* bar = Frame()->WorkspaceBar();
    const QStringList titles = {"PHP", "CSS", "Html", "JavaScript"};
    for (int tab = 0; tab < 4; ++tab) {
        EXPECT_EQ(bar->GetViewTitle(tab), titles[tab]);
        auto* tree = bar->GetView(tab)->findChild<QTreeWidget*>();
        ASSERT_TRUE(tree) << tab;
        tree->clear();
    }
    bar->SetActiveView(0);
    CQuilletEvent::Post(Frame(), QuilletEvent::DeferredLoad);
    QCoreApplication::processEvents();
    // The page in view is filled at once, the others when first shown.
    EXPECT_GT(bar->GetView(0)->findChild<QTreeWidget*>()->topLevelItemCount(), 3);
    EXPECT_EQ(bar->GetView(1)->findChild<QTreeWidget*>()->topLevelItemCount(), 0);
    for (int tab = 0; tab < 4; ++tab) {
        bar->SetActiveView(tab);
        EXPECT_GT(bar->GetView(tab)->findChild<QTreeWidget*>()->topLevelItemCount(), 3) << tab;
    }
    const auto found = bar->GetView(0)->findChild<QTreeWidget*>()->findItems(
        QStringLiteral("strlen"), Qt::MatchExactly | Qt::MatchRecursive);
    EXPECT_EQ(found.size(), 1);
}

TEST_F(MainFrameTest, TypingStrOffersTheStrFunctionsAndTheToolbarShowsTheirPrototypes)
{
    EnsureDeferredLoad();
    CContextHelpDlg* list = Frame()->GetHelpList();
    ASSERT_GT(list->List()->count(), 1000);
    CQuilletDoc* doc = Docs()->NewDocument();
    CCodeEditCtrl* editor = doc->Editor();
    Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    editor->setFocus();
    QTest::keyClicks(editor, "$n = str");
    QCoreApplication::processEvents();
    ASSERT_TRUE(list->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), editor);   // the list never takes the focus
    const QString selected = list->GetSelectedName();
    EXPECT_TRUE(selected.startsWith("str")) << selected.toStdString();
    QComboBox* combo = Frame()->ToolBar()->Combo();
    ASSERT_GE(combo->count(), 1);
    EXPECT_TRUE(combo->itemText(0).startsWith(selected)) << combo->itemText(0).toStdString();
    QTest::keyClick(editor, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(editor->WholeText(), "$n = " + selected.toUtf8());
    EXPECT_FALSE(list->isVisible());
}

TEST_F(MainFrameTest, ClickOnAReferenceEntryShowsItsPrototypesAndDoubleClickInsertsIt)
{
    EnsureDeferredLoad();
    CQuilletDoc* doc = Docs()->NewDocument();
    auto* tree = Frame()->WorkspaceBar()->GetView(0)->findChild<QTreeWidget*>();
    const auto found = tree->findItems(QStringLiteral("strlen"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    tree->setCurrentItem(found.first());
    CQuilletEvent::Post(Frame(), QuilletEvent::PageSelection, 0, 0, tree);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Frame()->ToolBar()->Combo()->itemText(0).startsWith("strlen("))
        << Frame()->ToolBar()->Combo()->itemText(0).toStdString();
    QApplication::clipboard()->setText(QStringLiteral("cut by the user"));
    CQuilletEvent::Post(Frame(), QuilletEvent::InsertEntry, 0, 0, tree);
    QuilletTest::WaitFor([doc] { return !doc->Editor()->WholeText().isEmpty(); });
    EXPECT_EQ(doc->Editor()->WholeText(), "strlen");
    EXPECT_EQ(QApplication::clipboard()->text(), "cut by the user");
    // Context help switched off: typing opens nothing.
    Frame()->Action(Cmd::ViewContextHelp)->trigger();
    EXPECT_FALSE(Frame()->GetHelpList()->IsContextHelpEnabled());
    QTest::keyClicks(doc->Editor(), " s");
    EXPECT_FALSE(Frame()->GetHelpList()->isVisible());
    Frame()->Action(Cmd::ViewContextHelp)->trigger();
}

TEST_F(MainFrameTest, FrameTitleNamesTheActiveFileFromTheStart)
{
    const QString a = m_dir.filePath("index.php"), b = m_dir.filePath("form.php");
    for (const QString& p : {a, b})
        ASSERT_TRUE(QuilletTest::WriteFile(p, "<?php\n"));
    CQuilletDoc* docA = Docs()->OpenDocumentFile(a);
    QCoreApplication::processEvents();
    EXPECT_EQ(Frame()->windowTitle(), "Quillet - [index.php]");
    Docs()->OpenDocumentFile(b);
    QCoreApplication::processEvents();
    EXPECT_EQ(Frame()->windowTitle(), "Quillet - [form.php]");
    Frame()->MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(docA->FirstView()->parentWidget()));
    QCoreApplication::processEvents();
    EXPECT_EQ(Frame()->windowTitle(), "Quillet - [index.php]");
    QTest::keyClicks(docA->Editor(), "x");
    QCoreApplication::processEvents();
    EXPECT_EQ(Frame()->windowTitle(), "Quillet - [index.php *]");
    Docs()->CloseAllDocuments();
    QuilletTest::WaitFor([] { return Docs()->Documents().isEmpty(); });
    CScriptedResponder discard;
    discard.answers = {Answer::No};
    QCoreApplication::processEvents();
    EXPECT_EQ(Frame()->windowTitle(), "Quillet");
}
