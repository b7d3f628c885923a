// The folder tree on real temporary folders: order, expand buttons, reading
// afresh at each expansion, large folders read away from the window, links
// that lead back up, and the volume list.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QStyle>
#include <QTemporaryDir>

#include "FolderTreeCtrl.h"
#include "SiteTestSupport.h"
#include "TestSupport.h"

namespace {

// The texts of item's children, placeholders as "<>".
QStringList Children(const QTreeWidgetItem* item)
{
    QStringList out;
    for (int i = 0; i < item->childCount(); ++i)
        out << (CFolderTreeCtrl::IsPlaceholder(item->child(i)) ? QStringLiteral("<>") : item->child(i)->text(0));
    return out;
}

QTreeWidgetItem* Child(QTreeWidgetItem* item, const QString& text)
{
    for (int i = 0; i < item->childCount(); ++i)
        if (item->child(i)->text(0) == text)
            return item->child(i);
    return nullptr;
}

// The whole tree as indented lines.
void Dump(const QTreeWidgetItem* item, int depth, QStringList& out)
{
    out << QString(depth, u' ') + item->text(0) + (item->isExpanded() ? QStringLiteral(" +") : QString());
    for (int i = 0; i < item->childCount(); ++i)
        Dump(item->child(i), depth + 1, out);
}

class FolderTreeTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    // Expands item and waits until its folder has been read.
    bool Expand(QTreeWidgetItem* item)
    {
        m_tree.expandItem(item);
        return QuilletTest::WaitFor([this] { return !m_tree.IsReading(); });
    }
    bool Open(const QString& root, int showFiles = 1)
    {
        return m_tree.SetRoot(root, showFiles) && QuilletTest::WaitFor([this] { return !m_tree.IsReading(); });
    }
    QTemporaryDir m_dir;
    CFolderTreeCtrl m_tree;
};

} // namespace

TEST_F(FolderTreeTest, FoldersComeFirstInCaseFreeOrderAndOnlyWhatHasSomethingToShowExpands)
{
    ASSERT_TRUE(SiteTest::MakeTree(m_dir.path(), {"b/", "A/inner.php", "c/", "z.txt", "Y.php", ".hidden",
                                                "hiddenfiles/.a", "hiddenfiles/.b", "hiddensub/.git/"}));
    ASSERT_TRUE(Open(m_dir.path()));
    ASSERT_EQ(m_tree.topLevelItemCount(), 1);
    QTreeWidgetItem* top = m_tree.topLevelItem(0);
    EXPECT_EQ(top->text(0), m_dir.path());
    EXPECT_TRUE(top->isExpanded());
    EXPECT_EQ(Children(top), QStringList({"A", "b", "c", "hiddenfiles", "hiddensub", ".hidden", "Y.php", "z.txt"}));
    EXPECT_EQ(Children(Child(top, "A")), QStringList({"<>"}));
    EXPECT_EQ(Children(Child(top, "b")), QStringList());
    EXPECT_EQ(Children(Child(top, "hiddenfiles")), QStringList());
    EXPECT_EQ(Children(Child(top, "hiddensub")), QStringList({"<>"}));
    EXPECT_TRUE(m_tree.IsFolderItem(Child(top, "A")));
    EXPECT_FALSE(m_tree.IsFileItem(Child(top, "A")));
    EXPECT_TRUE(m_tree.IsFileItem(Child(top, "Y.php")));
    EXPECT_EQ(m_tree.GetItemPath(Child(top, "Y.php")), m_dir.filePath("Y.php"));
    EXPECT_FALSE(m_tree.IsFileItem(Child(top, "A")->child(0)));   // a placeholder is nothing

    // Hidden entries are listed once their folder is open.
    ASSERT_TRUE(Expand(Child(top, "hiddensub")));
    EXPECT_EQ(Children(Child(top, "hiddensub")), QStringList({".git"}));

    // Folders only: the files and the expand buttons they gave are gone.
    ASSERT_TRUE(Open(m_dir.path(), 0));
    top = m_tree.topLevelItem(0);
    EXPECT_EQ(Children(top), QStringList({"A", "b", "c", "hiddenfiles", "hiddensub"}));
    EXPECT_EQ(Children(Child(top, "A")), QStringList());
}

TEST_F(FolderTreeTest, EachItemShowsTheImageOfItsKindOpenFoldersTheOpenOne)
{
    ASSERT_TRUE(SiteTest::MakeTree(m_dir.path(), {"sub/", "page.php"}));
    ASSERT_TRUE(Open(m_dir.path()));
    const auto image = [](const QIcon& icon) { return icon.pixmap(16, 16).toImage(); };
    const QFileIconProvider provider;
    QTreeWidgetItem* top = m_tree.topLevelItem(0);
    ASSERT_FALSE(image(provider.icon(QFileIconProvider::File)).isNull());
    EXPECT_EQ(image(Child(top, "page.php")->icon(0)), image(provider.icon(QFileIconProvider::File)));
    EXPECT_EQ(image(Child(top, "sub")->icon(0)), image(provider.icon(QFileIconProvider::Folder)));
    EXPECT_EQ(image(top->icon(0)), image(m_tree.style()->standardIcon(QStyle::SP_DirOpenIcon)));
    // The volumes, in a tree that has never opened a folder.
    CFolderTreeCtrl volumes;
    ASSERT_TRUE(volumes.SetRoot());
    ASSERT_GT(volumes.topLevelItemCount(), 0);
    EXPECT_EQ(image(volumes.topLevelItem(0)->icon(0)), image(provider.icon(QFileIconProvider::Drive)));
}

TEST_F(FolderTreeTest, ARootWithOrWithoutATrailingSeparatorGivesTheSameTree)
{
    ASSERT_TRUE(SiteTest::MakeTree(m_dir.path(), {"site/b/", "site/A/x", "site/index.php"}));
    QStringList dumps[2];
    const QString roots[2] = {m_dir.filePath("site"), m_dir.filePath("site") + QStringLiteral("//")};
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(Open(roots[i]));
        EXPECT_EQ(m_tree.GetRootPath(), m_dir.filePath("site") + u'/');
        Dump(m_tree.topLevelItem(0), 0, dumps[i]);
        EXPECT_EQ(m_tree.GetItemPath(m_tree.topLevelItem(0)->child(1)), m_dir.filePath("site/b"));
    }
    EXPECT_EQ(dumps[0], dumps[1]);
    EXPECT_EQ(dumps[0].size(), 5);
}

TEST_F(FolderTreeTest, EveryExpansionReadsTheFolderAfreshAndACollapseForgetsIt)
{
    ASSERT_TRUE(SiteTest::MakeTree(m_dir.path(), {"sub/one.php"}));
    ASSERT_TRUE(Open(m_dir.path()));
    QTreeWidgetItem* sub = Child(m_tree.topLevelItem(0), "sub");
    ASSERT_TRUE(Expand(sub));
    EXPECT_EQ(Children(sub), QStringList({"one.php"}));

    m_tree.collapseItem(sub);
    EXPECT_EQ(Children(sub), QStringList({"<>"}));
    ASSERT_TRUE(SiteTest::MakeTree(m_dir.path(), {"sub/Two.php", "sub/new/"}));
    ASSERT_TRUE(Expand(sub));
    EXPECT_EQ(Children(sub), QStringList({"new", "one.php", "Two.php"}));

    // A collapse while the folder is being read: the read is dropped.
    m_tree.collapseItem(sub);
    m_tree.expandItem(sub);
    m_tree.collapseItem(sub);
    ASSERT_TRUE(QuilletTest::WaitFor([this] { return !m_tree.IsReading(); }));
    EXPECT_EQ(Children(sub), QStringList({"<>"}));
    // And a new root while one is being read.
    m_tree.expandItem(sub);
    ASSERT_TRUE(Open(m_dir.filePath("sub")));
    EXPECT_EQ(Children(m_tree.topLevelItem(0)), QStringList({"new", "one.php", "Two.php"}));
}

TEST_F(FolderTreeTest, ALargeFolderIsReadWhileTheWindowGoesOn)
{
    constexpr int kFiles = 20000;
    QDir big(m_dir.filePath("big"));
    ASSERT_TRUE(big.mkpath("."));
    for (int i = 0; i < kFiles; ++i) {
        QFile f(big.filePath(QStringLiteral("f%1.php").arg(kFiles - i, 5, 10, QChar(u'0'))));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    m_tree.SetRoot(m_dir.path(), 1);
    ASSERT_TRUE(QuilletTest::WaitFor([this] { return !m_tree.IsReading(); }));
    QTreeWidgetItem* item = Child(m_tree.topLevelItem(0), "big");
    m_tree.expandItem(item);
    // The expansion returns before the folder is read, with a busy cursor.
    EXPECT_TRUE(m_tree.IsReading());
    EXPECT_EQ(Children(item), QStringList({"<>"}));
    EXPECT_EQ(m_tree.viewport()->cursor().shape(), Qt::BusyCursor);
    ASSERT_TRUE(QuilletTest::WaitFor([this] { return !m_tree.IsReading(); }, 60000));
    ASSERT_EQ(item->childCount(), kFiles);
    EXPECT_EQ(item->child(0)->text(0), QStringLiteral("f00001.php"));
    EXPECT_EQ(item->child(kFiles - 1)->text(0), QStringLiteral("f20000.php"));
    EXPECT_EQ(m_tree.viewport()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(FolderTreeTest, ALinkToAParentFolderOpensOneLevelAtATime)
{
    ASSERT_TRUE(SiteTest::MakeTree(m_dir.path(), {"site/a/page.php"}));
    ASSERT_TRUE(QFile::link(m_dir.filePath("site"), m_dir.filePath("site/a/up")));
    ASSERT_TRUE(Open(m_dir.filePath("site")));
    QTreeWidgetItem* item = Child(m_tree.topLevelItem(0), "a");
    QString expected = m_dir.filePath("site/a");
    for (int level = 0; level < 4; ++level) {
        ASSERT_TRUE(item);
        EXPECT_EQ(Children(item), QStringList({"<>"})) << level;
        ASSERT_TRUE(Expand(item));
        EXPECT_EQ(Children(item), QStringList({"up", "page.php"})) << level;
        EXPECT_EQ(m_tree.GetItemPath(item), expected);
        EXPECT_TRUE(m_tree.IsFolderItem(Child(item, "up")));
        item = Child(item, "up");
        ASSERT_EQ(Children(item), QStringList({"<>"}));
        ASSERT_TRUE(Expand(item));
        EXPECT_EQ(Children(item), QStringList({"a"}));
        item = Child(item, "a");
        expected += QStringLiteral("/up/a");
    }
}

TEST_F(FolderTreeTest, WithoutARootTheRootAndTheHomeFolderLeadTheVolumes)
{
    // The test's home (a temporary folder): folders listed, files not.
    ASSERT_TRUE(SiteTest::MakeTree(QDir::homePath(), {"Sites/", "notes.txt"}));
    ASSERT_TRUE(m_tree.SetRoot());
    EXPECT_TRUE(m_tree.GetRootPath().isEmpty());
    ASSERT_GE(m_tree.topLevelItemCount(), 2);
    EXPECT_EQ(m_tree.topLevelItem(0)->text(0), QStringLiteral("/"));
    EXPECT_EQ(m_tree.topLevelItem(1)->text(0), QDir::homePath());
    QStringList tops;
    for (int i = 0; i < m_tree.topLevelItemCount(); ++i) {
        EXPECT_FALSE(tops.contains(m_tree.topLevelItem(i)->text(0)));
        tops << m_tree.topLevelItem(i)->text(0);
        EXPECT_TRUE(m_tree.IsFolderItem(m_tree.topLevelItem(i)));
    }
    QTreeWidgetItem* home = m_tree.topLevelItem(1);
    ASSERT_TRUE(Expand(home));
    EXPECT_TRUE(Children(home).contains(QStringLiteral("Sites")));
    EXPECT_FALSE(Children(home).contains(QStringLiteral("notes.txt")));
    EXPECT_EQ(m_tree.GetItemPath(Child(home, "Sites")), QDir::homePath() + QStringLiteral("/Sites"));

    QTreeWidgetItem* root = m_tree.topLevelItem(0);
    ASSERT_TRUE(Expand(root));
    QTreeWidgetItem* tmp = Child(root, "tmp");
    ASSERT_TRUE(tmp);
    EXPECT_EQ(m_tree.GetItemPath(tmp), QStringLiteral("/tmp"));
}
