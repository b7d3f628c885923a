// 转到定义 and 返回 in the running application over a site on disk: F12 and
// Ctrl+click open the file of the definition at its line, Alt+Left goes back
// step by step; the 符号 page shows the active document's outline.
#include <QTemporaryDir>
#include <QTreeWidget>

#include <QLineEdit>

#include <QListWidget>

#include "CodeEditCtrl.h"
#include "ContextHelpDlg.h"
#include "EditorHost.h"
#include "ModalScript.h"
#include "FrameFixture.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "SymbolIndex.h"
#include "SymbolWiring.h"
#include "WSLocalSiteView.h"
#include "WSSymbolView.h"
#include "WorkspaceBar.h"
#include "WorkspaceSetup.h"

using namespace FrameTest;

namespace {

void Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The active editor's file name and caret line (from 1).
QString Where()
{
    CQuilletView* view = Frame()->ActiveView();
    if (!view)
        return {};
    int line = 0, index = 0;
    view->Editor()->getCursorPosition(&line, &index);
    return QFileInfo(view->GetDocument()->GetPathName()).fileName() + u':' + QString::number(line + 1);
}

class SymbolNavigationTest : public FrameFixture
{
};

TEST_F(SymbolNavigationTest, GoToDefinitionAndBackSeveralSteps)
{
    QTemporaryDir site;
    Write(site.filePath("a.php"), "<?php\nrequire 'inc/b.php';\n\nfunction top_level() {}\necho helper_one(1);\n");
    QDir(site.path()).mkpath("inc");
    Write(site.filePath("inc/b.php"), "<?php\n/** Helps. */\nfunction helper_one($x) {\n  top_level();\n}\n"
                                      "class K { function m() {} }\n");
    auto* wiring = Frame()->findChild<CSymbolWiring*>();
    ASSERT_TRUE(wiring);
    qobject_cast<CWSLocalSiteView*>(Frame()->WorkspaceBar()->GetView(WorkspacePage::LocalSite))->OpenSite(site.path());
    ASSERT_TRUE(QuilletTest::WaitFor([wiring] { return !wiring->Index()->IsBusy() && wiring->Index()->FileCount() == 2; }));
    ActivateFrame();

    CQuilletDoc* a = Docs()->OpenDocumentFile(site.filePath("a.php"));
    ASSERT_TRUE(a);
    a->Editor()->setCursorPosition(4, 8);   // in "helper_one"
    QTest::keyClick(a->Editor(), Qt::Key_F12);
    ASSERT_TRUE(QuilletTest::WaitFor([] { return Where() == "b.php:3"; })) << Where().toStdString();

    // Ctrl+click on the call in b.php: one more step.
    CCodeEditCtrl* b = Frame()->ActiveView()->Editor();
    const long pos = b->SendScintilla(QsciScintillaBase::SCI_FINDCOLUMN, 3UL, 4L);
    const QPoint at(int(b->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, pos)) + 2,
                    int(b->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, pos)) + 2);
    QTest::mouseClick(b->viewport(), Qt::LeftButton, Qt::ControlModifier, at);
    ASSERT_TRUE(QuilletTest::WaitFor([] { return Where() == "a.php:4"; })) << Where().toStdString();

    QTest::keyClick(Frame()->ActiveView()->Editor(), Qt::Key_Left, Qt::AltModifier);
    ASSERT_TRUE(QuilletTest::WaitFor([] { return Where() == "b.php:4"; })) << Where().toStdString();
    QTest::keyClick(Frame()->ActiveView()->Editor(), Qt::Key_Left, Qt::AltModifier);
    ASSERT_TRUE(QuilletTest::WaitFor([] { return Where() == "a.php:5"; })) << Where().toStdString();
    int line = 0, index = 0;
    a->Editor()->getCursorPosition(&line, &index);
    EXPECT_EQ(index, 8);

    // Ctrl+T in the editor (not Scintilla's line transpose): "helon" finds helper_one by the starts of its words.
    {
        CModalScript script([](QDialog* dialog) {
            QTest::keyClicks(dialog->findChild<QLineEdit*>(), "helon");
            QTest::keyClick(dialog->findChild<QLineEdit*>(), Qt::Key_Return);
        });
        QTest::keyClick(a->Editor(), Qt::Key_T, Qt::ControlModifier);
        EXPECT_EQ(script.seen, 1);
    }
    ASSERT_TRUE(QuilletTest::WaitFor([] { return Where() == "b.php:3"; })) << Where().toStdString();
    EXPECT_EQ(a->Editor()->text(4), "echo helper_one(1);\n");
    ActivateFrame();   // as the window manager does once the dialog is gone
    QTest::keyClick(Frame()->ActiveView()->Editor(), Qt::Key_Left, Qt::AltModifier);
    ASSERT_TRUE(QuilletTest::WaitFor([] { return Where() == "a.php:5"; })) << Where().toStdString();

    // The outline of b.php; a click on an item moves the caret of that editor only.
    Frame()->WorkspaceBar()->SetActiveView(Frame()->WorkspaceBar()->GetViewCount() - 1);
    QTest::keyClick(Frame()->ActiveView()->Editor(), Qt::Key_F12);
    ASSERT_TRUE(QuilletTest::WaitFor([] { return Where() == "b.php:3"; })) << Where().toStdString();
    QTreeWidget* tree = wiring->Page()->Tree();
    ASSERT_TRUE(QuilletTest::WaitFor([tree] { return tree->topLevelItemCount() == 2; }));
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "helper_one($x)");
    EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0));
    QTreeWidgetItem* m = tree->topLevelItem(1)->child(0);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->text(0), "m()");
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(m).center());
    ASSERT_TRUE(QuilletTest::WaitFor([] { return Where() == "b.php:6"; })) << Where().toStdString();
    EXPECT_EQ(tree->currentItem(), m);

    // Context help: after "->" on a variable made by "new K", K's members alone;
    // elsewhere the site's functions beside PHP's, in one sorted list.
    EnsureDeferredLoad();
    auto* help = dynamic_cast<CContextHelpDlg*>(EditorHost::HelpList());
    ASSERT_TRUE(help);
    CCodeEditCtrl* editor = Frame()->ActiveView()->Editor();
    editor->setFocus();
    editor->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    const auto shown = [help] {
        QStringList names;
        for (int row = 0; row < help->List()->count(); ++row)
            if (!help->List()->item(row)->isHidden())
                names << help->List()->item(row)->text();
        return names;
    };
    QTest::keyClicks(editor, "$k = new K; $k->m");
    ASSERT_TRUE(help->IsListVisible());
    EXPECT_EQ(shown(), QStringList({"m"}));
    QTest::keyClicks(editor, "; helper_");
    ASSERT_TRUE(help->IsListVisible());
    const QStringList all = shown();
    EXPECT_TRUE(all.contains("helper_one") && all.contains("top_level") && all.contains("strlen"));
    EXPECT_EQ(help->GetSelectedName(), "helper_one");
}

} // namespace
