// The site's rules without a window: which files open in an editor, how a
// desktop command is cut, how folders are read and sorted, and how entries are
// created and deleted on real folders.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QSettings>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include "SiteTestSupport.h"
#include "TestSupport.h"
#include "core/FolderListing.h"
#include "core/SiteFileOps.h"
#include "DesktopExec.h"
#include "core/SiteMemory.h"
#include "core/SiteOpenRules.h"

using SiteFileOps::Result;

TEST(SiteOpenRulesTest, TheExtensionIsFoundInTheSiteListAsASubstringWithItsCase)
{
    const struct { const char* path; bool editor; } cases[] = {
        {"/site/index.php", true},   {"/site/style.css", true},  {"/site/x.s", true},
        {"/site/name.", true},       {"/site/page.ht", true},    {"/site/a.b.inc", true},
        {"/site/.php", true},        {"/site/A.PHP", false},     {"/site/notes.txt", false},
        {"/site/README", false},     {"/site/v1.2/README", false}, {"/site/archive.tar.gz", false},
        {"/site/.htaccess", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SiteOpenRules::OpensInEditor(QString::fromUtf8(c.path)), c.editor) << c.path;
    EXPECT_EQ(SiteOpenRules::Extension(QStringLiteral("/site/name.")), QString());
    EXPECT_FALSE(SiteOpenRules::Extension(QStringLiteral("/s.d/README")).has_value());
}

TEST(DesktopExecTest, ACommandIsCutAtItsFirstFieldCodeWithTheQuotesAroundIt)
{
    const struct { const char* command; const char* cut; } cases[] = {
        {"gedit %U", "gedit"},
        {"\"/opt/my editor/ed\" --new \"%f\" --wait", "\"/opt/my editor/ed\" --new"},
        {"notepad \"%1\"", "notepad"},
        {"prog %1 -x", "prog"},
        {"prog '%F'", "prog"},
        {"printf 100%% %f", "printf 100%%"},
        {"viewer --title=%c %u", "viewer --title="},
        // No field code is left behind for the program to take as a file.
        {"browser %f --open \"%u\"", "browser"},
        {"browser --profile=%%u %u", "browser --profile=%%u"},
        {"browser %x %F", "browser %x"},
        {"browser 100%", "browser 100%"},
        {"plain-program", "plain-program"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DesktopExec::CutAtFieldCode(QString::fromUtf8(c.command)), QString::fromUtf8(c.cut)) << c.command;
}

TEST(DesktopExecTest, TheExecLineComesFromTheDesktopEntryGroupWithEscapesUndone)
{
    const QString entry = QStringLiteral(
        "[Desktop Action new]\nExec=wrong %f\n"
        "[Desktop Entry]\nName=Ed\nExecutable=no\nExec = my\\sedit --x \\\\y %f\nType=Application\n");
    EXPECT_EQ(DesktopExec::ExecOf(entry), QStringLiteral("my edit --x \\y %f"));
    EXPECT_EQ(DesktopExec::ExecOf(QStringLiteral("[Desktop Entry]\nName=x\n")), QString());
}

TEST(FolderListingTest, NamesSortWithoutCaseAndEqualNamesKeepTheirOrder)
{
    QStringList names = {QStringLiteral("b"), QStringLiteral("A"), QStringLiteral("c"), QStringLiteral("B"),
                         QStringLiteral("a"), QStringLiteral("_x"), QStringLiteral("10")};
    FolderListing::SortNoCase(names);
    // Letters compare as lower case, so "_" comes before every letter.
    EXPECT_EQ(names, QStringList({"10", "_x", "A", "a", "b", "B", "c"}));
    const struct { const char* path; const char* leaf; const char* clean; } paths[] = {
        {"/srv/site/", "site", "/srv/site"}, {"/srv/site", "site", "/srv/site"},
        {"/", "/", "/"}, {"//", "/", "/"}, {"name", "name", "name"},
    };
    for (const auto& p : paths) {
        EXPECT_EQ(FolderListing::GetLeafName(QString::fromUtf8(p.path)), QString::fromUtf8(p.leaf)) << p.path;
        EXPECT_EQ(FolderListing::WithoutTrailingSeparators(QString::fromUtf8(p.path)), QString::fromUtf8(p.clean)) << p.path;
    }
    EXPECT_EQ(FolderListing::Join(QStringLiteral("/"), QStringLiteral("usr")), QStringLiteral("/usr"));
    EXPECT_EQ(FolderListing::Join(QStringLiteral("/srv"), QStringLiteral("a")), QStringLiteral("/srv/a"));
}

TEST(FolderListingTest, AFolderListsFoldersThenFilesAndHiddenFilesGiveNoExpandButton)
{
    QTemporaryDir dir;
    ASSERT_TRUE(SiteTest::MakeTree(dir.path(), {"b/", "A/x.php", "c/", "z.txt", ".hidden", "Y.php",
                                                "onlyhidden/.a", "hiddensub/.git/", "onlyfiles/readme"}));
    ASSERT_TRUE(QFile::link(dir.filePath("A"), dir.filePath("linkToA")));
    ASSERT_TRUE(QFile::link(dir.filePath("gone"), dir.filePath("dangling")));

    const FolderListing::Listing withFiles = FolderListing::ReadFolder(dir.path(), true);
    QStringList folders;
    QList<bool> buttons;
    for (const auto& f : withFiles.folders) {
        folders << f.name;
        buttons << f.hasEntries;
    }
    EXPECT_EQ(folders, QStringList({"A", "b", "c", "hiddensub", "linkToA", "onlyfiles", "onlyhidden"}));
    EXPECT_EQ(buttons, QList<bool>({true, false, false, true, true, true, false}));
    EXPECT_EQ(withFiles.files, QStringList({".hidden", "dangling", "Y.php", "z.txt"}));

    // Folders only: a folder of files has nothing to show.
    const FolderListing::Listing foldersOnly = FolderListing::ReadFolder(dir.path(), false);
    EXPECT_TRUE(foldersOnly.files.isEmpty());
    EXPECT_FALSE(foldersOnly.folders.at(5).hasEntries);
    EXPECT_TRUE(FolderListing::ReadFolder(dir.filePath("missing"), true).folders.isEmpty());
    EXPECT_FALSE(FolderListing::HasEntries(dir.filePath("missing"), true));
}

class SiteFileOpsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(SiteTest::MakeTree(m_dir.path(), {"site/page.php", "site/sub/", "outside.txt"}));
        m_site = m_dir.filePath("site");
    }
    QTemporaryDir m_dir;
    QString m_site;
};

TEST_F(SiteFileOpsTest, NamesThatNameNoNewEntryCreateNothingAnywhere)
{
    const QStringList before = SiteTest::Listing(m_dir.path());
    for (const char* name : {"", ".", "..", "../x", "a/b", "/tmp/abs", "sub/new"}) {
        const QString n = QString::fromUtf8(name);
        EXPECT_EQ(SiteFileOps::CreateNewFile(m_site, n), Result::BadName) << name;
        EXPECT_EQ(SiteFileOps::CreateNewFolder(m_site, n), Result::BadName) << name;
    }
    EXPECT_EQ(SiteFileOps::CreateNewFile(m_site, QString::fromUtf8("x\0y", 3)), Result::BadName);
    EXPECT_EQ(SiteTest::Listing(m_dir.path()), before);
}

TEST_F(SiteFileOpsTest, ANewEntryNeverReplacesWhatIsThere)
{
    const QString page = m_site + QStringLiteral("/page.php");
    EXPECT_EQ(SiteFileOps::CreateNewFile(m_site, QStringLiteral("page.php")), Result::Exists);
    EXPECT_EQ(QuilletTest::ReadFile(page), QByteArray("site/page.php"));
    EXPECT_EQ(SiteFileOps::CreateNewFile(m_site, QStringLiteral("sub")), Result::Exists);
    EXPECT_EQ(SiteFileOps::CreateNewFolder(m_site, QStringLiteral("page.php")), Result::Exists);
    EXPECT_EQ(SiteFileOps::CreateNewFolder(m_site, QStringLiteral("sub")), Result::Exists);
    ASSERT_TRUE(QFile::link(m_site + QStringLiteral("/nowhere"), m_site + QStringLiteral("/dangling")));
    EXPECT_EQ(SiteFileOps::CreateNewFile(m_site, QStringLiteral("dangling")), Result::Exists);
    EXPECT_FALSE(QFileInfo::exists(m_site + QStringLiteral("/nowhere")));

    EXPECT_EQ(SiteFileOps::CreateNewFile(m_site, QStringLiteral("new file.php")), Result::Done);
    EXPECT_TRUE(QFileInfo(m_site + QStringLiteral("/new file.php")).isFile());
    EXPECT_EQ(QFileInfo(m_site + QStringLiteral("/new file.php")).size(), 0);
    EXPECT_EQ(SiteFileOps::CreateNewFolder(m_site, QStringLiteral("图片")), Result::Done);
    EXPECT_TRUE(QFileInfo(m_site + QStringLiteral("/图片")).isDir());
}

TEST_F(SiteFileOpsTest, DeletedEntriesGoToTheTrashAndFoldersMustBeEmpty)
{
    const QString page = m_site + QStringLiteral("/page.php");
    EXPECT_EQ(SiteFileOps::DeleteFile(m_site + QStringLiteral("/sub")), Result::Failed);
    EXPECT_TRUE(QFileInfo(m_site + QStringLiteral("/sub")).isDir());
    EXPECT_EQ(SiteFileOps::DeleteFile(page), Result::Done);
    EXPECT_FALSE(QFileInfo::exists(page));
    const QString trashed = SiteTest::FindInTrash(QStringLiteral("page.php"));
    ASSERT_FALSE(trashed.isEmpty());
    EXPECT_EQ(QuilletTest::ReadFile(trashed), QByteArray("site/page.php"));
    EXPECT_EQ(SiteFileOps::DeleteFile(page), Result::Failed);   // nothing there any more

    ASSERT_TRUE(SiteTest::MakeTree(m_site, {"sub/.keep"}));
    EXPECT_FALSE(SiteFileOps::IsEmptyFolder(m_site + QStringLiteral("/sub")));
    EXPECT_EQ(SiteFileOps::DeleteEmptyFolder(m_site + QStringLiteral("/sub")), Result::NotEmpty);
    EXPECT_TRUE(QFileInfo::exists(m_site + QStringLiteral("/sub/.keep")));
    ASSERT_TRUE(QFile::remove(m_site + QStringLiteral("/sub/.keep")));
    EXPECT_EQ(SiteFileOps::DeleteEmptyFolder(m_site + QStringLiteral("/sub")), Result::Done);
    EXPECT_FALSE(QFileInfo::exists(m_site + QStringLiteral("/sub")));
    EXPECT_FALSE(SiteTest::FindInTrash(QStringLiteral("sub")).isEmpty());
}

// Whether an entry has a trash, against Qt's own trashing as the oracle: on
// the home folder's file system, on a file system of its own (/dev/shm), and
// with the data folder, and so the user's trash, on another file system.
TEST_F(SiteFileOpsTest, HasTrashSaysWhatMovingToTheTrashThenDoes)
{
    struct stat home {}, shm {};
    if (::stat(QFile::encodeName(m_dir.path()).constData(), &home) != 0 || ::stat("/dev/shm", &shm) != 0 ||
        home.st_dev == shm.st_dev)
        GTEST_SKIP() << "no second file system at /dev/shm";
    QTemporaryDir elsewhere(QStringLiteral("/dev/shm/quillet-trash-XXXXXX"));
    ASSERT_TRUE(elsewhere.isValid());
    const QString shmTrash = QStringLiteral("/dev/shm/.Trash-%1").arg(::getuid());
    const bool shmTrashWasThere = QFileInfo::exists(shmTrash);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QDir().mkpath(data);

    const auto check = [](const QString& path, bool expected) {
        SCOPED_TRACE(path.toStdString());
        ASSERT_TRUE(QuilletTest::WriteFile(path, "x"));
        EXPECT_EQ(SiteFileOps::HasTrash(path), expected);
        EXPECT_EQ(QFile::moveToTrash(path), expected);
    };
    check(m_site + QStringLiteral("/home.php"), true);
    check(elsewhere.filePath(QStringLiteral("shm.php")), true);
    // The user's trash on another file system than the home folder.
    ASSERT_TRUE(QDir().rename(data, data + QStringLiteral(".aside")));
    ASSERT_TRUE(QFile::link(elsewhere.path(), data));
    check(m_site + QStringLiteral("/apart.php"), false);
    QFile::remove(data);
    QDir().rename(data + QStringLiteral(".aside"), data);
    if (!shmTrashWasThere)
        QDir(shmTrash).removeRecursively();
}

TEST(SiteMemoryTest, ATypedOrPastedPathBecomesAFolderPath)
{
    const QString home = QDir::homePath();
    const struct { const char* typed; QString path; } cases[] = {
        {"  /srv/www/site/  ", "/srv/www/site"}, {"\"/srv/my site\"", "/srv/my site"},
        {"'/srv/x'", "/srv/x"},                  {"file:///srv/my%20site/", "/srv/my site"},
        {"~", home},                             {"~/www", home + "/www"},
        {"www/a/../b", home + "/www/b"},         {"/", "/"},
        {"", ""},                                {" \t", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SiteMemory::FromTyped(QString::fromUtf8(c.typed)), c.path) << c.typed;
}

TEST(SiteMemoryTest, TheLastSiteIsOfferedWhileItIsStillAFolder)
{
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("q.conf")), QSettings::IniFormat);
    const QString site = dir.filePath(QStringLiteral("site"));
    ASSERT_TRUE(QDir().mkpath(site));
    SiteMemory::Remember(settings, site);
    EXPECT_EQ(settings.value(QStringLiteral("Settings/LastSite")).toString(), site);
    EXPECT_EQ(SiteMemory::StartFolder(settings), site);
    ASSERT_TRUE(QDir(site).removeRecursively());
    EXPECT_EQ(SiteMemory::StartFolder(settings), QDir::homePath());
}
