// The document tabs on the real main frame: one per editor window, titled
// as it, with the modified marker; clicks activate and focus, the close
// button and the middle button close, and 查看 → 文档标签 hides the strip.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>
#include <QTest>

#include "CodeEditCtrl.h"
#include "CommandIds.h"
#include "DocumentTabs.h"
#include "EditingCommands.h"
#include "FrameFixture.h"
#include "QuilletDoc.h"

namespace {

using namespace FrameTest;

class DocumentTabsTest : public FrameFixture
{
protected:
    static CDocumentTabs* Tabs() { return Frame()->findChild<CEditingCommands*>()->DocumentTabs(); }
    static QTabBar* Bar() { return Tabs()->TabBar(); }
    static QStringList Titles()
    {
        QStringList titles;
        for (int i = 0; i < Bar()->count(); ++i)
            titles << Bar()->tabText(i);
        return titles;
    }
    static void Click(int index, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(Bar(), button, {}, Bar()->tabRect(index).center());
        QCoreApplication::processEvents();
    }
    // Opens the tab's context menu and picks item there, as a user would.
    static void ChooseFromMenu(int index, const QString& item)
    {
        QTimer::singleShot(0, Bar(), [item] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* action : menu->actions())
                if (action->text() == item)
                    menu->setActiveAction(action);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        emit Bar()->customContextMenuRequested(Bar()->tabRect(index).center());
        QCoreApplication::processEvents();
    }
};

TEST_F(DocumentTabsTest, FollowTheWindowsAndActivateWhatIsClicked)
{
    ActivateFrame();
    CQuilletDoc* first = Docs()->NewDocument();
    CQuilletDoc* second = Docs()->NewDocument();
    QCoreApplication::processEvents();
    ASSERT_TRUE(Bar()->isVisible());
    EXPECT_EQ(Titles(), (QStringList{first->GetTitle(), second->GetTitle()}));
    EXPECT_EQ(Bar()->currentIndex(), 1);

    QTest::keyClicks(second->Editor(), "x");
    QCoreApplication::processEvents();
    EXPECT_EQ(Bar()->tabText(1), second->GetTitle() + " *");

    // Reordered by dragging, a click still reaches its own window, focus and all.
    Bar()->moveTab(1, 0);
    Click(1);
    EXPECT_EQ(Frame()->MdiArea()->activeSubWindow(), Tabs()->WindowAt(1));
    EXPECT_EQ(QApplication::focusWidget(), first->Editor());
    Click(0);
    EXPECT_EQ(QApplication::focusWidget(), second->Editor());

    // The middle button closes the unmodified one without a question.
    Click(1, Qt::MiddleButton);
    EXPECT_TRUE(QuilletTest::WaitFor([] { return Bar()->count() == 1; }));
    EXPECT_EQ(Docs()->Documents(), QList<CQuilletDoc*>{second});

    Frame()->Action(Cmd::ViewDocumentTabs)->trigger();
    EXPECT_FALSE(Bar()->isVisible());
    EXPECT_FALSE(Tabs()->IsWanted());
    Frame()->Action(Cmd::ViewDocumentTabs)->trigger();
    EXPECT_TRUE(Bar()->isVisible());

    // The close button asks about the unsaved change like the window's own.
    CScriptedResponder keep;
    keep.answers = {UserPrompt::Answer::Cancel};
    emit Bar()->tabCloseRequested(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(Bar()->count(), 1);
    CScriptedResponder discard;
    discard.answers = {UserPrompt::Answer::No};
    emit Bar()->tabCloseRequested(0);
    EXPECT_TRUE(QuilletTest::WaitFor([] { return Bar()->count() == 0; }));
    EXPECT_FALSE(Bar()->isVisible());
}

TEST_F(DocumentTabsTest, ContextMenuCopiesThePathAndClosesTheOthers)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.php"));
    ASSERT_TRUE(QuilletTest::WriteFile(path, "<?php\n"));
    Docs()->NewDocument();
    CQuilletDoc* file = Docs()->OpenDocumentFile(path);
    Docs()->NewDocument();
    QCoreApplication::processEvents();
    ASSERT_EQ(Bar()->count(), 3);
    ChooseFromMenu(1, QStringLiteral("复制路径"));
    EXPECT_EQ(QApplication::clipboard()->text(), QDir::toNativeSeparators(path));
    EXPECT_EQ(Frame()->ActiveView(), file->FirstView());
    ChooseFromMenu(1, QStringLiteral("关闭其他"));
    EXPECT_TRUE(QuilletTest::WaitFor([] { return Bar()->count() == 1; }));
    EXPECT_EQ(Docs()->Documents(), QList<CQuilletDoc*>{file});
}

} // namespace
