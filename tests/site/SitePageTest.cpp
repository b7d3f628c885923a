// The dialogs and the LocalSite page on the offscreen platform: the name
// dialog's modes, the open-site dialog's OK, the page's menus and double clicks.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "CommandIds.h"
#include "LocalSiteTreeCtrl.h"
#include "NameDlg.h"
#include "OpenSiteDlg.h"
#include "SiteTestSupport.h"
#include "TestSupport.h"
#include "WSLocalSiteView.h"

#include <sys/stat.h>

namespace {

QTreeWidgetItem* Child(QTreeWidgetItem* item, const QString& text)
{
    for (int i = 0; i < item->childCount(); ++i)
        if (item->child(i)->text(0) == text)
            return item->child(i);
    return nullptr;
}

bool WaitRead(const CFolderTreeCtrl* tree)
{
    return QuilletTest::WaitFor([tree] { return !tree->IsReading(); });
}

bool AnyMessageBoxShown()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox*>(w) && w->isVisible())
            return true;
    return false;
}

} // namespace

TEST(NameDlgTest, EachModeAsksItsOwnQuestion)
{
    const struct { int mode; const char* caption; const char* label; } modes[] = {
        {1, "新建文件", "新文件名:"},         {2, "新建文件夹", "新文件夹名:"},
        {3, "文件重命名", "新文件名:"},       {4, "文件夹重命名", "新文件夹名:"},
        {0, "对话框参数错误!", "对话框参数错误!"}, {7, "对话框参数错误!", "对话框参数错误!"},
    };
    for (const auto& m : modes) {
        CNameDlg dlg(m.mode);
        EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8(m.caption)) << m.mode;
        EXPECT_EQ(dlg.GetLabel(), QString::fromUtf8(m.label)) << m.mode;
        EXPECT_EQ(dlg.findChild<QLabel*>()->text(), QString::fromUtf8(m.label)) << m.mode;
    }
    // The name comes back as typed, blanks and all.
    CNameDlg dlg(CNameDlg::NewFile);
    dlg.open();
    QTest::keyClicks(dlg.NameEdit(), QStringLiteral(" new page.php"));
    QTest::keyClick(dlg.NameEdit(), Qt::Key_Return);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.GetName(), QStringLiteral(" new page.php"));
}

TEST(OpenSiteDlgTest, OkTakesOnlyAFolderAndOtherwiseStaysOpenWithoutAWord)
{
    QTemporaryDir dir;
    ASSERT_TRUE(SiteTest::MakeTree(dir.path(), {"site/index.php", "other/"}));
    COpenSiteDlg dlg;
    CFolderTreeCtrl* tree = dlg.Tree();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("打开站点"));
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("/"));
    dlg.open();
    QPushButton* ok = dlg.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);

    // Files shown here only to have one to choose.
    tree->SetRoot(dir.path(), 1);
    ASSERT_TRUE(WaitRead(tree));
    QTreeWidgetItem* site = Child(tree->topLevelItem(0), "site");
    ASSERT_TRUE(site);
    tree->expandItem(site);
    ASSERT_TRUE(WaitRead(tree));
    tree->clearSelection();
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(dlg.isVisible());
    tree->setCurrentItem(Child(site, "index.php"));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(dlg.SitePath().isEmpty());
    EXPECT_FALSE(AnyMessageBoxShown());

    tree->setCurrentItem(site);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.SitePath(), dir.filePath("site"));
}

TEST(OpenSiteDlgTest, ItOpensOnTheStartFolderAndTakesATypedOrPastedPath)
{
    QTemporaryDir dir;
    ASSERT_TRUE(SiteTest::MakeTree(dir.path(), {"www/shop/site/index.php", "other/"}));
    const QString site = dir.filePath(QStringLiteral("www/shop/site"));
    COpenSiteDlg dlg(nullptr, site);
    dlg.open();
    QLineEdit* path = dlg.PathEdit();
    EXPECT_EQ(path->text(), site);
    EXPECT_EQ(path->selectedText(), site);   // a paste replaces it
    ASSERT_TRUE(QuilletTest::WaitFor([&] {
        QTreeWidgetItem* item = dlg.Tree()->currentItem();
        return item && item->isSelected() && dlg.Tree()->GetItemPath(item) == site;
    }));
    EXPECT_EQ(path->text(), site);

    QPushButton* ok = dlg.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    for (const QString& refused : {site + QStringLiteral("/index.php"), dir.filePath(QStringLiteral("none"))}) {
        path->clear();
        QTest::keyClicks(path, refused);
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_TRUE(dlg.isVisible());
    }
    EXPECT_FALSE(AnyMessageBoxShown());
    path->clear();
    QTest::keyClicks(path, QStringLiteral(" file://") + dir.filePath(QStringLiteral("other/ ")));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.SitePath(), dir.filePath(QStringLiteral("other")));
}

TEST(LocalSitePageTest, WithoutASiteThePageOffersToOpenOneAndTheLastSiteComesBack)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Fennroth"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillet"));
    QTemporaryDir dir;
    ASSERT_TRUE(SiteTest::MakeTree(dir.path(), {"site/index.php"}));
    CWSLocalSiteView page;
    QAction openSite(QStringLiteral("打开站点"));
    openSite.setData(Cmd::OpenSite);
    page.GetTreeCtrl()->SetActionLookup([&](int id) { return id == Cmd::OpenSite ? &openSite : nullptr; });
    page.resize(300, 400);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    QSignalSpy commands(&page, &CWSLocalSiteView::commandRequested);
    ASSERT_TRUE(page.OpenSiteButton()->isVisible());
    QTest::mouseClick(page.OpenSiteButton(), Qt::LeftButton);
    ASSERT_EQ(commands.size(), 1);
    EXPECT_EQ(commands.at(0).at(0).toInt(), Cmd::OpenSite);
    // The empty area's menu offers the same.
    QWidget* viewport = page.GetTreeCtrl()->viewport();
    QTest::mouseClick(viewport, Qt::RightButton, {}, QPoint(10, viewport->height() - 5));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->actions(), QList<QAction*>({&openSite}));
    menu->close();

    page.OpenSite(dir.filePath(QStringLiteral("site/")));
    ASSERT_TRUE(WaitRead(page.GetTreeCtrl()));
    EXPECT_FALSE(page.OpenSiteButton()->isVisible());
    CWSLocalSiteView next;   // as at the next start
    EXPECT_EQ(next.GetTreeCtrl()->topLevelItemCount(), 0);
    next.OpenLastSite();
    ASSERT_EQ(next.GetTreeCtrl()->topLevelItemCount(), 1);
    EXPECT_EQ(next.GetTreeCtrl()->topLevelItem(0)->text(0), dir.filePath(QStringLiteral("site")));
    QSettings().clear();
}

class SitePageTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SiteTest::MakeTree(m_dir.path(), {"site/index.php", "site/img/logo.png"}));
        for (int id : {Cmd::SiteOpenFile, Cmd::SiteDeleteFile, Cmd::SiteNewFolder, Cmd::SiteDeleteFolder,
                       Cmd::SiteNewFile}) {
            auto* action = new QAction(QStringLiteral("cmd%1").arg(id), &m_page);
            action->setData(id);
            m_actions.insert(id, action);
        }
        m_tree = m_page.GetTreeCtrl();
        m_tree->SetActionLookup([this](int id) { return m_actions.value(id); });
        m_page.resize(300, 400);
        m_page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_page));
        m_tree->SetRoot(m_dir.filePath("site"), 1);
        ASSERT_TRUE(WaitRead(m_tree));
        m_top = m_tree->topLevelItem(0);
    }
    void TearDown() override
    {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    }
    // Right-clicks at the centre of item (or at the foot of the tree for none)
    // and returns the ids of the menu that opened, 0 for separators.
    QList<int> RightClick(QTreeWidgetItem* item)
    {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        QCoreApplication::processEvents();
        const QPoint at = item ? m_tree->visualItemRect(item).center() : QPoint(20, m_tree->viewport()->height() - 5);
        QTest::mouseClick(m_tree->viewport(), Qt::RightButton, {}, at);
        QCoreApplication::processEvents();
        QList<int> ids;
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return ids;
        EXPECT_EQ(menu, m_tree->OpenMenu());
        for (QAction* a : menu->actions())
            ids << (a->isSeparator() ? 0 : a->data().toInt());
        return ids;
    }
    QTemporaryDir m_dir;
    CWSLocalSiteView m_page;
    QHash<int, QAction*> m_actions;
    CLocalSiteTreeCtrl* m_tree = nullptr;
    QTreeWidgetItem* m_top = nullptr;
};

TEST_F(SitePageTest, ARightClickSelectsTheItemAndOpensTheMenuOfWhatItIs)
{
    QTreeWidgetItem* file = Child(m_top, "index.php");
    QTreeWidgetItem* folder = Child(m_top, "img");
    const QList<int> fileMenu = {Cmd::SiteOpenFile, Cmd::SiteDeleteFile};
    const QList<int> folderMenu = {Cmd::SiteNewFile, 0, Cmd::SiteNewFolder, Cmd::SiteDeleteFolder, 0};
    const struct { QTreeWidgetItem* item; QList<int> menu; int id; } cases[] = {
        {file, fileMenu, 142}, {folder, folderMenu, 148}, {m_top, folderMenu, 148}, {nullptr, {}, 0},
    };
    for (const auto& c : cases) {
        m_tree->setCurrentItem(file == c.item ? folder : file);
        EXPECT_EQ(RightClick(c.item), c.menu) << (c.item ? c.item->text(0).toStdString() : "empty space");
        EXPECT_EQ(m_tree->OpenMenuId(), c.id);
        if (c.item) {
            EXPECT_TRUE(c.item->isSelected());
        }
    }
    // A file that is gone from disk is no file any more.
    ASSERT_TRUE(QFile::remove(m_dir.filePath("site/index.php")));
    EXPECT_EQ(RightClick(file), folderMenu);
}

TEST_F(SitePageTest, ADoubleClickOnAFileAsksForOpenAndOnAFolderOpensIt)
{
    QSignalSpy commands(&m_page, &CWSLocalSiteView::commandRequested);
    QTreeWidgetItem* folder = Child(m_top, "img");
    const QPoint folderAt = m_tree->visualItemRect(folder).center();
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, folderAt);
    QTest::mouseDClick(m_tree->viewport(), Qt::LeftButton, {}, folderAt);
    EXPECT_TRUE(folder->isExpanded());
    ASSERT_TRUE(WaitRead(m_tree));
    EXPECT_EQ(folder->childCount(), 1);
    EXPECT_TRUE(commands.isEmpty());

    const QPoint fileAt = m_tree->visualItemRect(Child(m_top, "index.php")).center();
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, fileAt);
    QTest::mouseDClick(m_tree->viewport(), Qt::LeftButton, {}, fileAt);
    ASSERT_EQ(commands.size(), 1);
    EXPECT_EQ(commands.at(0).at(0).toInt(), Cmd::SiteOpenFile);
}

TEST_F(SitePageTest, APipeOrADanglingLinkGetsTheFileMenuWithOpenGreyed)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(m_dir.filePath("site/pipe")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(m_dir.filePath("nowhere"), m_dir.filePath("site/gone.php")));
    m_tree->SetRoot(m_dir.filePath("site"), 1);
    ASSERT_TRUE(WaitRead(m_tree));
    m_top = m_tree->topLevelItem(0);
    for (const char* name : {"pipe", "gone.php", "index.php"}) {
        EXPECT_EQ(RightClick(Child(m_top, name)), QList<int>({Cmd::SiteOpenFile, Cmd::SiteDeleteFile})) << name;
        const QList<QAction*> actions = m_tree->OpenMenu()->actions();
        EXPECT_EQ(actions.at(0)->isEnabled(), QByteArray(name) == "index.php") << name;
        EXPECT_TRUE(actions.at(1)->isEnabled()) << name;
    }
}
