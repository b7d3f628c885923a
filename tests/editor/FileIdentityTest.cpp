// What makes a file the same file across a save and across another
// program's change: the owner a save keeps, the stamp that sees a change.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"
#include "core/DiskStamp.h"
#include "core/FileSave.h"

namespace {

struct stat StatOf(const QString& path)
{
    struct stat st {};
    stat(QFile::encodeName(path).constData(), &st);
    return st;
}

} // namespace

// A file replaced by a save belongs to whom it belonged before, not to the
// superuser who saved it.
TEST(FileIdentity, ASaveKeepsTheOwnerAndGroup)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only the superuser can save a file that belongs to another user";
    QTemporaryDir dir;
    const QString page = dir.filePath("page.php");
    ASSERT_TRUE(QuilletTest::WriteFile(page, "<?php old"));
    const uid_t other = QuilletTest::kUnprivilegedUid;
    if (chown(QFile::encodeName(page).constData(), other, other) != 0)
        GTEST_SKIP() << "a file cannot be given to another user here";
    chmod(QFile::encodeName(page).constData(), 0640);
    const ino_t before = StatOf(page).st_ino;
    ASSERT_TRUE(FileSave::Write(page, "<?php new"));
    const struct stat after = StatOf(page);
    ASSERT_NE(after.st_ino, before) << "not replaced: the owner was never at stake";
    EXPECT_EQ(after.st_uid, other);
    EXPECT_EQ(after.st_gid, other);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(QuilletTest::ReadFile(page), "<?php new");
}

// Another program rewrites the file in place with as many bytes: only the
// modification time tells. It is set apart explicitly, since two writes in
// a row may share a coarse file system clock tick.
TEST(FileIdentity, TheStampSeesASameSizeChangeInPlace)
{
    QTemporaryDir dir;
    const QString page = dir.filePath("page.php");
    ASSERT_TRUE(QuilletTest::WriteFile(page, "<?php 1;"));
    const timespec earlier[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(page).constData(), earlier, 0), 0);
    const CDiskStamp read = CDiskStamp::Of(page);
    ASSERT_TRUE(QuilletTest::WriteFile(page, "<?php 2;"));
    const timespec later[2] = {{0, UTIME_OMIT}, {1000000000, 1}};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(page).constData(), later, 0), 0);
    const CDiskStamp now = CDiskStamp::Of(page);
    ASSERT_EQ(now.nInode, read.nInode);
    ASSERT_EQ(now.nSize, read.nSize);
    EXPECT_FALSE(now == read);
    EXPECT_TRUE(CDiskStamp::Of(page) == now);
}
