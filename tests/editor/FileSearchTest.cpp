#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
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

// A generated tree (seed from QUILLET_TEST_SEED) searched for plain texts: the
// lines found are grep's (grep -rniF or -rnF), and every match, column and
// length included, is the one the regular-expression search gives for the
// same text escaped, which decodes every file.
TEST(FileSearch, PlainTextsFindWhatGrepAndTheExpressionSearchFind)
{
    QTemporaryDir dir;
    const QString r = dir.path();
    const QByteArray words[] = {"needle", "NeedLe", "nEEDLE", "hay", "中文", "😀", "ü", " ", "\t", "$x=1;",
                                "need", "le", "\r\n", "\n", "\n", "ss", "Key"};
    quint32 seed = qEnvironmentVariableIntValue("QUILLET_TEST_SEED") + 7;
    for (int f = 0; f < 40; ++f) {
        QByteArray body;
        for (int w = 0; w < 400; ++w) {
            seed = seed * 1103515245u + 12345u;
            body += words[(seed >> 16) % std::size(words)];
        }
        Write(r + QStringLiteral("/d%1/f%2.php").arg(f % 5).arg(f), body);
    }
    Write(r + "/gbk.php", "Needle \xd6\xd0\xce\xc4 needle\n");   // GB18030, decoded before searching
    for (const char* text : {"needle", "NEEDLE", "le\tne", "y$x", "ss", "e"}) {
        for (const bool matchCase : {false, true}) {
            CFileSearchOptions plain = Opt(text, matchCase);
            CFileSearchOptions expression = Opt(QRegularExpression::escape(QString::fromUtf8(text)).toUtf8(), matchCase,
                                                false, true);
            EXPECT_EQ(Found(r, plain), Found(r, expression)) << text << matchCase;

            QStringList lines;
            std::atomic<bool> stop{false};
            FileSearch::SearchTree(r, plain, stop, [&](const CFileMatch& m) {
                lines << QStringLiteral("%1:%2:%3").arg(QDir(r).relativeFilePath(m.strPath)).arg(m.nLine).arg(m.strText);
            });
            QProcess grep;
            grep.setWorkingDirectory(r);
            grep.start(QStringLiteral("grep"), {matchCase ? QStringLiteral("-rnF") : QStringLiteral("-rniF"),
                                                QString::fromUtf8(text), QStringLiteral(".")});
            ASSERT_TRUE(grep.waitForFinished(60000));
            QStringList expected;
            for (QString line : QString::fromUtf8(grep.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts)) {
                if (line.endsWith(u'\r'))
                    line.chop(1);
                if (!line.startsWith(QStringLiteral("./gbk.php")))   // grep sees GB18030 bytes, not text
                    expected << line.mid(2).left(line.indexOf(u':', line.indexOf(u':') + 1) - 1 + FileSearch::kMaxLineChars);
            }
            lines.removeIf([](const QString& l) { return l.startsWith(QStringLiteral("gbk.php")); });
            lines.sort();
            expected.sort();
            EXPECT_TRUE(matchCase || !expected.isEmpty()) << text;
            EXPECT_EQ(lines, expected) << text << matchCase;
        }
    }
    // Unicode folds "k" to KELVIN SIGN and "s" to LONG S: such files are decoded.
    Write(r + "/fold.php", "x \xE2\x84\xAA" "ey \xC5\xBF\n");
    EXPECT_TRUE(Found(r, Opt("key")).contains(QStringLiteral("fold.php:1:2+3")));
    EXPECT_TRUE(Found(r, Opt("S")).contains(QStringLiteral("fold.php:1:6+1")));
}
