// The editor windows inside the main frame: which one is active while the user
// works elsewhere, their arrangement and list, and the context-help list on a
// real frame.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <QWheelEvent>

#include "ChildFrame.h"
#include "CodeEditCtrl.h"
#include "ComboToolBar.h"
#include "CommandIds.h"
#include "ContextHelpDlg.h"
#include "DocTemplate.h"
#include "FrameFixture.h"
#include "MainFrame.h"
#include "QuilletApp.h"
#include "QuilletDoc.h"
#include "QuilletEvent.h"
#include "QuilletView.h"
#include "ScriptedResponder.h"
#include "StatusIndicators.h"
#include "StyleSlot.h"
#include "TestSupport.h"
#include "WorkspaceBar.h"

namespace {

using namespace FrameTest;

QMdiSubWindow* WindowOf(CQuilletDoc* doc)
{
    return qobject_cast<QMdiSubWindow*>(doc->FirstView()->parentWidget());
}

QMenu* MenuTitled(const QString& title)
{
    for (QAction* a : Frame()->menuBar()->actions())
        if (a->text() == title)
            return a->menu();
    return nullptr;
}

class EditorWindowsTest : public FrameFixture
{
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        EnsureDeferredLoad();
        ActivateFrame();
    }
    QList<CQuilletDoc*> NewDocuments(int count)
    {
        QList<CQuilletDoc*> docs;
        for (int i = 0; i < count; ++i)
            docs << Docs()->NewDocument();
        QCoreApplication::processEvents();
        return docs;
    }
    // Types into doc's editor with the keyboard focus there.
    static void TypeInto(CQuilletDoc* doc, const QString& text)
    {
        Frame()->MdiArea()->setActiveSubWindow(WindowOf(doc));
        doc->Editor()->setFocus();
        const QStringList lines = text.split(u'\n');
        for (int i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(doc->Editor(), Qt::Key_Return);
            QTest::keyClicks(doc->Editor(), lines.at(i));
        }
        QCoreApplication::processEvents();
    }
};

TEST_F(EditorWindowsTest, WorkspaceClicksLeaveTheActiveEditorAndItGetsTheInsertion)
{
    const QList<CQuilletDoc*> docs = NewDocuments(3);
    docs[2]->Editor()->setFocus();
    QTest::keyClick(docs[2]->Editor(), Qt::Key_F6);
    QCoreApplication::processEvents();
    CQuilletView* chosen = Frame()->ActiveView();
    ASSERT_NE(chosen, docs[2]->FirstView());

    CWorkspaceBar* bar = Frame()->WorkspaceBar();
    QTabBar* tabs = bar->TabControl()->tabBar();
    for (int tab : {0, 1, 0}) {
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
        QCoreApplication::processEvents();
        EXPECT_EQ(Frame()->ActiveView(), chosen) << "after the tab " << tab;
    }
    auto* tree = bar->GetView(0)->findChild<QTreeWidget*>();
    tree->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(Frame()->ActiveView(), chosen);

    const auto found = tree->findItems(QStringLiteral("strlen"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    tree->scrollToItem(found.first());
    const QPoint at = tree->visualItemRect(found.first()).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(QuilletTest::WaitFor([chosen] { return !chosen->Editor()->WholeText().isEmpty(); }));
    EXPECT_EQ(chosen->Editor()->WholeText(), "strlen");
    for (CQuilletDoc* doc : docs)
        if (doc->FirstView() != chosen)
            EXPECT_TRUE(doc->Editor()->WholeText().isEmpty());
    // Typing goes on in that editor.
    EXPECT_EQ(QApplication::focusWidget(), chosen->Editor());
}

TEST_F(EditorWindowsTest, CascadeAndTileLeaveEveryWindowUsableWithItsTitle)
{
    const QList<CQuilletDoc*> docs = NewDocuments(3);
    const QRect area = Frame()->MdiArea()->viewport()->rect();
    const auto expectUsable = [&](const char* how) {
        for (CQuilletDoc* doc : docs) {
            QMdiSubWindow* w = WindowOf(doc);
            EXPECT_FALSE(w->isMaximized()) << how;
            EXPECT_TRUE(area.contains(w->geometry())) << how;
            // The title bar sits above the editor inside the window.
            EXPECT_GT(w->widget()->geometry().top(), 10) << how;
            EXPECT_GT(w->widget()->height(), 100) << how;
            EXPECT_EQ(w->windowTitle(), doc->GetTitle()) << how;
        }
    };
    Frame()->Action(Cmd::WindowCascade)->trigger();
    QCoreApplication::processEvents();
    expectUsable("cascade");
    for (CQuilletDoc* doc : docs)
        EXPECT_GE(WindowOf(doc)->height(), area.height() * 2 / 3);
    EXPECT_EQ(Frame()->ActiveView(), docs[2]->FirstView());

    Frame()->Action(Cmd::WindowTile)->trigger();
    QCoreApplication::processEvents();
    expectUsable("tile");
    int covered = 0;
    for (int i = 0; i < docs.size(); ++i) {
        const QRect r = WindowOf(docs[i])->geometry();
        covered += r.width() * r.height();
        for (int j = i + 1; j < docs.size(); ++j)
            EXPECT_FALSE(r.intersects(WindowOf(docs[j])->geometry())) << i << " " << j;
    }
    EXPECT_EQ(covered, area.width() * area.height());
}

TEST_F(EditorWindowsTest, WindowMenuListsTheWindowsAndCtrlTabGoesRound)
{
    const QList<CQuilletDoc*> docs = NewDocuments(3);
    QMenu* menu = MenuTitled(QStringLiteral("窗口(&W)"));
    ASSERT_TRUE(menu);
    emit menu->aboutToShow();
    QList<QAction*> lines;
    for (QAction* a : menu->actions())
        if (a->text().startsWith(u'&') && a->isCheckable())
            lines << a;
    ASSERT_EQ(lines.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(lines[i]->text(), QStringLiteral("&%1 %2").arg(i + 1).arg(docs[i]->GetTitle()));
        EXPECT_EQ(lines[i]->isChecked(), i == 2);
    }
    lines[0]->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(Frame()->ActiveView(), docs[0]->FirstView());
    emit menu->aboutToShow();   // filled afresh, never twice
    int count = 0;
    for (QAction* a : menu->actions())
        count += a->isCheckable() && a->text().startsWith(u'&') ? 1 : 0;
    EXPECT_EQ(count, 3);

    for (const QKeyCombination key : {Qt::CTRL | Qt::Key_Tab, Qt::CTRL | Qt::Key_F6}) {
        CQuilletView* before = Frame()->ActiveView();
        before->Editor()->setFocus();
        QTest::keyClick(before->Editor(), key.key(), key.keyboardModifiers());
        QCoreApplication::processEvents();
        EXPECT_NE(Frame()->ActiveView(), before);
        // Ctrl let go in between: the same key goes back to the window before.
        QTest::keyClick(Frame()->ActiveView()->Editor(), key.key(), key.keyboardModifiers());
        QCoreApplication::processEvents();
        EXPECT_EQ(Frame()->ActiveView(), before);
    }
}

TEST_F(EditorWindowsTest, CtrlTabGoesThroughTheWindowsMostRecentlyUsedFirst)
{
    const QList<CQuilletDoc*> d = NewDocuments(4);   // used last to first: 3 2 1 0
    const auto ctrlTab = [](Qt::KeyboardModifiers extra = {}) {
        // Pressed, not clicked: a click lets Ctrl go too.
        QTest::keyPress(Frame()->ActiveView()->Editor(), extra ? Qt::Key_Backtab : Qt::Key_Tab,
                        Qt::ControlModifier | extra);
        QCoreApplication::processEvents();
    };
    const auto letCtrlGo = [] {
        QTest::keyRelease(Frame()->ActiveView()->Editor(), Qt::Key_Control);
        QCoreApplication::processEvents();
    };
    Frame()->MdiArea()->setActiveSubWindow(WindowOf(d[1]));   // now 1 3 2 0
    QCoreApplication::processEvents();
    ctrlTab();
    EXPECT_EQ(Frame()->ActiveView(), d[3]->FirstView());
    ctrlTab();   // Ctrl still held: further back
    EXPECT_EQ(Frame()->ActiveView(), d[2]->FirstView());
    letCtrlGo();   // now 2 1 3 0
    ctrlTab();
    EXPECT_EQ(Frame()->ActiveView(), d[1]->FirstView());
    letCtrlGo();   // now 1 2 3 0
    ctrlTab(Qt::ShiftModifier);   // the least recently used
    EXPECT_EQ(Frame()->ActiveView(), d[0]->FirstView());
    ctrlTab(Qt::ShiftModifier);
    EXPECT_EQ(Frame()->ActiveView(), d[3]->FirstView());
    letCtrlGo();
}

TEST_F(EditorWindowsTest, ZoomIsOneSizeForEveryEditorAndIsKept)
{
    const QList<CQuilletDoc*> docs = NewDocuments(2);
    TypeInto(docs[1], "x");
    CCodeEditCtrl* editor = docs[1]->Editor();
    const auto zooms = [&docs] {
        QList<long> z;
        for (CQuilletDoc* doc : docs)
            z << doc->Editor()->SendScintilla(QsciScintillaBase::SCI_GETZOOM);
        return z;
    };
    QTest::keyClick(editor, '=', Qt::ControlModifier);
    EXPECT_EQ(zooms(), QList<long>({1, 1}));
    QTest::keyClick(editor, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(zooms(), QList<long>({2, 2}));
    QTest::keyClick(editor, '-', Qt::ControlModifier);
    EXPECT_EQ(zooms(), QList<long>({1, 1}));
    EXPECT_EQ(QSettings().value("Settings/Zoom").toInt(), 1);
    EXPECT_EQ(Docs()->NewDocument()->Editor()->SendScintilla(QsciScintillaBase::SCI_GETZOOM), 1);
    QTest::keyClick(editor, '0', Qt::ControlModifier);
    EXPECT_EQ(zooms(), QList<long>({0, 0}));
    // Ctrl and the wheel, a notch up.
    QWheelEvent wheel(QPointF(20, 20), editor->viewport()->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(editor->viewport(), &wheel);
    EXPECT_EQ(zooms(), QList<long>({1, 1}));
    // The 查看 menu holds the three commands; none of the keys typed a thing.
    QMenu* view = MenuTitled(QStringLiteral("查看(&V)"));
    ASSERT_TRUE(view);
    for (int id : {Cmd::ViewZoomIn, Cmd::ViewZoomOut, Cmd::ViewZoomReset}) {
        EXPECT_TRUE(view->actions().contains(Frame()->Action(id))) << id;
        EXPECT_FALSE(Frame()->Action(id)->statusTip().isEmpty()) << id;
    }
    Frame()->Action(Cmd::ViewZoomReset)->trigger();
    EXPECT_EQ(zooms(), QList<long>({0, 0}));
    EXPECT_EQ(editor->WholeText(), "x");
}

TEST_F(EditorWindowsTest, CaretPaneFollowsTheActiveEditor)
{
    const QList<CQuilletDoc*> docs = NewDocuments(2);
    TypeInto(docs[0], "a\nb\ncd");
    TypeInto(docs[1], "xyz");
    QLabel* pane = Frame()->StatusPanes()->CaretPane();
    EXPECT_EQ(pane->text(), "Ln 1,Col 4");
    Frame()->MdiArea()->setActiveSubWindow(WindowOf(docs[0]));
    QCoreApplication::processEvents();
    EXPECT_EQ(pane->text(), "Ln 3,Col 3");
    // A move made by a command, not a key, shows too; one in a window in
    // the background does not.
    docs[0]->Editor()->setCursorPosition(1, 1);
    EXPECT_TRUE(QuilletTest::WaitFor([pane] { return pane->text() == "Ln 2,Col 2"; })) << pane->text().toStdString();
    docs[1]->Editor()->setCursorPosition(0, 0);
    emit docs[1]->Editor()->SCN_UPDATEUI(QsciScintillaBase::SC_UPDATE_SELECTION);
    QCoreApplication::processEvents();
    EXPECT_EQ(pane->text(), "Ln 2,Col 2");
    CScriptedResponder discard;
    discard.answers = {UserPrompt::Answer::No, UserPrompt::Answer::No};
    Docs()->CloseAllDocuments();
    QuilletTest::WaitFor([] { return Docs()->Documents().isEmpty(); });
    QCoreApplication::processEvents();
    EXPECT_TRUE(pane->text().isEmpty());
}

TEST_F(EditorWindowsTest, NewWindowShowsTheSameColoursAndFollowsStyleChanges)
{
    QSettings settings;
    const QString keywordColour = QStringLiteral("Settings/") + StyleSlots::ValueName(SLOT_PHP_KEYWORD, StyleSlots::kColor);
    settings.setValue(keywordColour, 0x123456);
    settings.sync();
    CQuilletDoc* doc = NewDocuments(1).first();
    TypeInto(doc, "<?php\necho 1; ?>\n");
    Frame()->Action(Cmd::WindowNew)->trigger();
    QCoreApplication::processEvents();
    ASSERT_EQ(doc->Views().size(), 2);
    CCodeEditCtrl* first = doc->Views().at(0)->Editor();
    CCodeEditCtrl* second = doc->Views().at(1)->Editor();
    const auto fore = [](CCodeEditCtrl* e, int style) {
        return e->SendScintilla(QsciScintillaBase::SCI_STYLEGETFORE, static_cast<unsigned long>(style));
    };
    EXPECT_EQ(fore(second, SLOT_PHP_KEYWORD), 0x123456);
    for (int slot = 0; slot < kSlotCount; ++slot)
        EXPECT_EQ(fore(second, slot), fore(first, slot)) << slot;

    settings.setValue(keywordColour, 0x654321);
    settings.sync();
    TypeInto(doc, "\n");   // a new line: the next pass
    EXPECT_EQ(fore(first, SLOT_PHP_KEYWORD), 0x654321);
    EXPECT_EQ(fore(second, SLOT_PHP_KEYWORD), 0x654321);
    settings.remove(keywordColour);
}

TEST_F(EditorWindowsTest, ContextListWorksFromTheMenuAndTheMouse)
{
    CQuilletDoc* doc = NewDocuments(1).first();
    CContextHelpDlg* list = Frame()->GetHelpList();
    CCodeEditCtrl* editor = doc->Editor();
    TypeInto(doc, "$n = str");
    ASSERT_TRUE(list->isVisible());

    // 编辑 → 插入 with the list up: the menu takes the focus for its choice only.
    QMenu* edit = MenuTitled(QStringLiteral("编辑(&E)"));
    ASSERT_TRUE(edit);
    edit->popup(editor->mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(edit));
    QCoreApplication::processEvents();
    EXPECT_TRUE(list->isVisible());
    EXPECT_TRUE(Frame()->Action(Cmd::EditInsert)->isEnabled());
    const QString selected = list->GetSelectedName();
    QTest::keyClick(edit, Qt::Key_I);
    QCoreApplication::processEvents();
    EXPECT_EQ(editor->WholeText(), "$n = " + selected.toUtf8());
    EXPECT_FALSE(list->isVisible());

    // A click on a line shows its prototypes; a double click puts it in.
    TypeInto(doc, " + str");
    ASSERT_TRUE(list->isVisible());
    QListWidget* lines = list->List();
    QListWidgetItem* other = lines->item(lines->currentRow() + 3);
    ASSERT_TRUE(other);
    lines->scrollToItem(other);
    const QPoint at = lines->visualItemRect(other).center();
    QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(list->GetSelectedName(), other->text());
    EXPECT_TRUE(Frame()->ToolBar()->Combo()->itemText(0).startsWith(other->text()))
        << Frame()->ToolBar()->Combo()->itemText(0).toStdString();
    EXPECT_EQ(QApplication::focusWidget(), editor);
    QTest::mouseDClick(lines->viewport(), Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();
    EXPECT_EQ(editor->WholeText(), "$n = " + selected.toUtf8() + " + " + other->text().toUtf8());
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), editor);
}

} // namespace
