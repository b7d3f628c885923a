// The CodeBlock page in the running editor: the shipped library after the
// deferred load, insertion into the active editor, and the page's menu running
// the snippet commands on a user library.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QContextMenuEvent>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "CodeBlockWiring.h"
#include "CodeEditCtrl.h"
#include "CodeEditDlg.h"
#include "CommandIds.h"
#include "DocTemplate.h"
#include "FrameFixture.h"
#include "MainFrame.h"
#include "ModalScript.h"
#include "QuilletApp.h"
#include "QuilletDoc.h"
#include "QuilletEvent.h"
#include "ScriptedResponder.h"
#include "TestSupport.h"
#include "WSCodeBlockView.h"
#include "WorkspaceBar.h"

namespace {

using namespace FrameTest;

CWSCodeBlockView* Page() { return FindCodeBlockPage(Frame()); }
QListWidget* List() { return Page()->GetCodeList(); }

const QString kSnippetSources = QStringLiteral(QUILLET_TEST_DATA_DIR "/../../dbsrc/phplib/");

QListWidgetItem* Line(const QString& title)
{
    const QList<QListWidgetItem*> found = List()->findItems(title, Qt::MatchExactly);
    return found.size() == 1 ? found.first() : nullptr;
}

void DoubleClick(QListWidgetItem* item)
{
    List()->scrollToItem(item);
    const QPoint at = List()->visualItemRect(item).center();
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, at);
}

// Right-clicks the list and returns the page's menu as it opened.
QMenu* OpenMenu()
{
    const QPoint at(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, List()->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(List()->viewport(), &event);
    QMenu* menu = Page()->GetContextMenu();
    EXPECT_TRUE(menu->isVisible());
    return menu;
}

QList<bool> EnabledItems(QMenu* menu)
{
    QList<bool> enabled;
    for (QAction* item : menu->actions())
        if (!item->isSeparator())
            enabled << item->isEnabled();
    return enabled;
}

// Chooses an item of the open menu as a click on it would.
void Choose(QMenu* menu, int position)
{
    QAction* item = menu->actions().at(position);
    menu->hide();
    item->trigger();
}

class CodeBlockTest : public FrameFixture
{
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        EnsureDeferredLoad();
        ActivateFrame();
        Frame()->Action(Cmd::ViewPageCodeBlock)->trigger();
        QCoreApplication::processEvents();
    }
};

TEST_F(CodeBlockTest, ShippedLibraryIsListedAfterStart)
{
    QFile manifest(kSnippetSources + QStringLiteral("snippets.txt"));
    ASSERT_TRUE(manifest.open(QIODevice::ReadOnly));
    QStringList shipped;
    for (const QString& line : QString::fromUtf8(manifest.readAll()).split(u'\n'))
        if (!line.isEmpty() && !line.startsWith(u'#'))
            shipped << line.section(u'\t', 1);
    ASSERT_GT(shipped.size(), 10);
    QStringList listed;
    for (int i = 0; i < List()->count(); ++i)
        if (!(CWSCodeBlockView::ItemData(List()->item(i)) & 0x80000000u))
            listed << List()->item(i)->text();
    // The list keeps its own order: compare as sets.
    std::sort(shipped.begin(), shipped.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, shipped);
    EXPECT_EQ(Frame()->WorkspaceBar()->GetActiveIndex(), 4);
}

TEST_F(CodeBlockTest, DoubleClickReplacesTheSelectionAndLeavesTheClipboardAsItWas)
{
    QFile source(kSnippetSources + QStringLiteral("pdo-connect.php"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QString snippet = QString::fromUtf8(source.readAll()).remove(QRegularExpression("^<\\?php[ \t]*\r?\n"));

    CQuilletDoc* doc = Docs()->NewDocument();
    CCodeEditCtrl* editor = doc->Editor();
    editor->setText(QStringLiteral("abc XYZ"));
    doc->SetModifiedFlag(false);
    editor->setSelection(0, 4, 0, 7);
    // What the user had cut, in two formats.
    auto* cut = new QMimeData;
    cut->setText(QStringLiteral("before"));
    cut->setHtml(QStringLiteral("<b>before</b>"));
    QApplication::clipboard()->setMimeData(cut);

    QListWidgetItem* line = Line(QStringLiteral("PDO 数据库连接"));
    ASSERT_TRUE(line);
    DoubleClick(line);
    ASSERT_TRUE(QuilletTest::WaitFor([editor] { return editor->WholeText() != "abc XYZ"; }));
    EXPECT_EQ(editor->WholeText(), QStringLiteral("abc ") + snippet);
    EXPECT_EQ(QApplication::clipboard()->text(), "before");
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->html().contains("<b>before</b>"));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(QApplication::focusWidget(), editor);
    // One change, undone in one step.
    editor->undo();
    EXPECT_EQ(editor->WholeText(), "abc XYZ");
}

TEST_F(CodeBlockTest, PageMenuRunsTheSnippetCommandsOnTheUsersLibrary)
{
    QTemporaryDir dir;
    const QString lib = dir.filePath(QStringLiteral("tips.mdb"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLET_BIN_DIR "/userlibTemp.mdb"), lib));
    QFile::setPermissions(lib, QFile::ReadOwner | QFile::WriteOwner);
    CScriptedResponder user;
    user.files << lib;
    Frame()->Action(Cmd::OpenCodeLib)->trigger();
    ASSERT_NE(Frame()->GetDatabase(3), nullptr);
    const int shipped = List()->count();

    CQuilletDoc* doc = Docs()->NewDocument();
    CCodeEditCtrl* editor = doc->Editor();
    QCoreApplication::processEvents();
    Frame()->UpdateCommandStates();
    EXPECT_FALSE(Frame()->Action(Cmd::SaveAsCode)->isEnabled());

    // Nothing selected: only "新建" and "导入".
    Page()->ClearSelection();
    QMenu* menu = OpenMenu();
    EXPECT_EQ(EnabledItems(menu), QList<bool>({false, true, false, false, true}));
    {
        CModalScript script([](QDialog* dialog) {
            auto* dlg = qobject_cast<CCodeEditDlg*>(dialog);
            ASSERT_TRUE(dlg);
            QTest::keyClicks(dlg->TitleField(), QStringLiteral("Tom's tips"));
            QTest::keyClicks(dlg->ContentField(), QStringLiteral("echo 'tip';"));
            QTest::mouseClick(dlg->OkButton(), Qt::LeftButton);
        });
        Choose(menu, CWSCodeBlockView::kMenuNew);
        EXPECT_EQ(script.seen, 1);
    }
    ASSERT_EQ(List()->count(), shipped + 1);
    QListWidgetItem* tip = Line(QStringLiteral("Tom's tips"));
    ASSERT_TRUE(tip);
    EXPECT_TRUE(CWSCodeBlockView::ItemData(tip) & 0x80000000u);

    // Inserted from the menu into the editor the user works in.
    List()->setCurrentItem(tip);
    List()->setFocus();
    menu = OpenMenu();
    EXPECT_EQ(EnabledItems(menu), QList<bool>({true, true, true, true, true}));
    Choose(menu, CWSCodeBlockView::kMenuInsert);
    ASSERT_TRUE(QuilletTest::WaitFor([editor] { return !editor->WholeText().isEmpty(); }));
    EXPECT_EQ(editor->WholeText(), "echo 'tip';");
    // The keyboard focus is the editor's once the menu has gone.
    EXPECT_EQ(Frame()->focusWidget(), editor);

    // Edited, then deleted.
    List()->setCurrentItem(Line(QStringLiteral("Tom's tips")));
    {
        CModalScript script([](QDialog* dialog) {
            auto* dlg = qobject_cast<CCodeEditDlg*>(dialog);
            ASSERT_TRUE(dlg);
            EXPECT_EQ(dlg->ContentField()->toPlainText(), "echo 'tip';");
            // The title opens selected; the user goes to its end first.
            QTest::keyClick(dlg->TitleField(), Qt::Key_End);
            QTest::keyClicks(dlg->TitleField(), QStringLiteral(" 2"));
            QTest::mouseClick(dlg->OkButton(), Qt::LeftButton);
        });
        Choose(OpenMenu(), CWSCodeBlockView::kMenuEdit);
        EXPECT_EQ(script.seen, 1);
    }
    QListWidgetItem* edited = Line(QStringLiteral("Tom's tips 2"));
    ASSERT_TRUE(edited);
    EXPECT_EQ(Line(QStringLiteral("Tom's tips")), nullptr);
    List()->setCurrentItem(edited);
    user.answers = {UserPrompt::Answer::Yes};
    Choose(OpenMenu(), CWSCodeBlockView::kMenuDelete);
    EXPECT_EQ(user.Texts(UserPrompt::Request::YesNo), QStringList({"确定要删除这一段代码吗?"}));
    EXPECT_EQ(List()->count(), shipped);
    EXPECT_EQ(Line(QStringLiteral("Tom's tips 2")), nullptr);
}

} // namespace
