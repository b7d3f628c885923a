// Saving where a new file beside the old one cannot be made: the file is
// written in place, with its old content copied away first. Run as a user
// without root rights (a child process that gives them up when the tests run
// as root), since the superuser may write any folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"
#include "core/FileSave.h"

namespace {
constexpr uid_t kNobody = QuilletTest::kUnprivilegedUid;

ino_t InodeOf(const QString& path)
{
    struct stat st {};
    return stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

TEST(FileSave, AFileInAFolderThatMayNotBeWrittenIsWrittenInPlaceAfterACopy)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("site"), backups = dir.filePath("backups");
    const QString page = folder + "/index.php";
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QDir().mkpath(backups));
    ASSERT_TRUE(QuilletTest::WriteFile(page, "<?php old"));
    if (geteuid() == 0) {
        // The page is nobody's, the folder root's: nobody may write the page only.
        chmod(QFile::encodeName(dir.path()).constData(), 0755);
        if (chown(QFile::encodeName(page).constData(), kNobody, kNobody) != 0 ||
            chown(QFile::encodeName(backups).constData(), kNobody, kNobody) != 0)
            GTEST_SKIP() << "files cannot be given to another user here";
        chmod(QFile::encodeName(folder).constData(), 0755);
    } else {
        chmod(QFile::encodeName(folder).constData(), 0555);
    }
    const ino_t before = InodeOf(page);
    FileSave::SetBackupFolder(backups);
    const std::optional<bool> written =
        QuilletTest::AsUnprivileged([&] { return FileSave::Write(page, "<?php new and longer"); });
    FileSave::SetBackupFolder(QString());
    chmod(QFile::encodeName(folder).constData(), 0755);
    if (!written)
        GTEST_SKIP() << "no other user can be taken on here";
    EXPECT_TRUE(*written);
    EXPECT_EQ(QuilletTest::ReadFile(page), "<?php new and longer");
    EXPECT_EQ(InodeOf(page), before);
    // The copy is gone once the write is through.
    EXPECT_TRUE(QDir(backups).entryList(QDir::Files).isEmpty());
}
