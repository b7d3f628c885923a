#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/FileSearch.h"

namespace {
void Write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QStringList Found(const QString& root, const CFileSearchOptions& o, CFileSearchSummary* summary = nullptr)
{
    std::atomic<bool> stop{false};
    QStringList out;
    const CFileSearchSummary s = FileSearch::SearchTree(root, o, stop, [&](const CFileMatch& m) {
        out << QStringLiteral("%1:%2:%3+%4").arg(QDir(root).relativeFilePath(m.strPath)).arg(m.nLine).arg(m.nColumn).arg(m.nLength);
    });
    if (summary)
        *summary = s;
    out.sort();
    return out;
}

CFileSearchOptions Opt(const char* text, bool matchCase = false, bool word = false, bool re = false)
{
    CFileSearchOptions o;
    o.strText = QString::fromUtf8(text);
    o.bMatchCase = matchCase;
    o.bWholeWord = word;
    o.bRegExp = re;
    return o;
}
} // namespace

TEST(FileSearch, FindsInTheChosenKindsOfFileUnderTheFolder)
{
    QTemporaryDir dir;
    const QString r = dir.path();
    Write(r + "/index.php", "<?php\n$userName = 1;\necho $username;\r\n");
    Write(r + "/lib/a.inc", "function user() {}\n");
    Write(r + "/lib/deep/style.css", ".user { }\n");
    Write(r + "/notes.txt", "user\n");                             // not a listed kind
    Write(r + "/img.php", QByteArray("user\0\x01\x02", 7));         // binary
    Write(r + "/gb.php", "// \xD3\xC3\xBB\xA7 user\n");            // "用户" in GB18030
    Write(r + "/.hidden/x.php", "user\n");

    CFileSearchSummary summary;
    EXPECT_EQ(Found(r, Opt("user"), &summary),
              QStringList({".hidden/x.php:1:0+4", "gb.php:1:6+4", "index.php:2:1+4", "index.php:3:6+4",
                           "lib/a.inc:1:9+4", "lib/deep/style.css:1:1+4"}));
    EXPECT_EQ(summary.nFilesSkipped, 1);   // the binary one
    EXPECT_EQ(Found(r, Opt("userName", true)), QStringList({"index.php:2:1+8"}));
    EXPECT_EQ(Found(r, Opt("user", false, true)),
              QStringList({".hidden/x.php:1:0+4", "gb.php:1:6+4", "lib/a.inc:1:9+4", "lib/deep/style.css:1:1+4"}));
    EXPECT_EQ(Found(r, Opt("\\$user\\w+;", false, false, true)), QStringList({"index.php:3:5+10"}));
    EXPECT_EQ(Found(r, Opt("用户")), QStringList({"gb.php:1:3+2"}));
    CFileSearchOptions onlyCss = Opt("user");
    onlyCss.strPatterns = " *.css ; ";
    EXPECT_EQ(Found(r, onlyCss), QStringList({"lib/deep/style.css:1:1+4"}));
    // A bad expression finds nothing rather than failing.
    EXPECT_TRUE(Found(r, Opt("(", false, false, true)).isEmpty());
}

TEST(FileSearch, StopsWhenAskedAndNeverFollowsALinkBackUp)
{
    QTemporaryDir dir;
    const QString r = dir.path();
    Write(r + "/a/page.php", "x\n");
    ASSERT_TRUE(QFile::link(r, r + "/a/loop"));
    CFileSearchSummary summary;
    EXPECT_EQ(Found(r, Opt("x"), &summary), QStringList({"a/page.php:1:0+1"}));
    EXPECT_EQ(summary.nFilesSearched, 1);

    std::atomic<bool> stop{true};
    int matches = 0;
    const CFileSearchSummary stopped =
        FileSearch::SearchTree(r, Opt("x"), stop, [&](const CFileMatch&) { ++matches; });
    EXPECT_TRUE(stopped.bStopped);
    EXPECT_EQ(matches, 0);
}

TEST(FileSearch, SeesTheWholeTextAroundAMatchAndStopsAtTheEnginesLimits)
{
    QTemporaryDir dir;
    const QString r = dir.path();
    Write(r + "/a.php", "a\r\nb echo\n");
    EXPECT_EQ(Found(r, Opt("(?<=a\\r\\n)b|o$", false, false, true)), QStringList({"a.php:2:0+1"}));
    Write(r + "/long.php", QByteArray(200000, 'a') + "b\n");
    CFileSearchSummary summary;
    EXPECT_EQ(Found(r, Opt("^(a+)+$", false, false, true), &summary), QStringList({"a.php:1:0+1"}));
    EXPECT_EQ(summary.nFilesTooComplex, 1);
}
