#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include "core/CommandLineInfo.h"
#include "core/ComboText.h"
#include "core/RecentFileList.h"

TEST(ComboText, SplitsAtSemicolonsAndTrimsLeadingSpace)
{
    EXPECT_EQ(SplitComboText(QStringLiteral("a(x); b(y);\tc(z)")),
              QStringList({"a(x)", "b(y)", "c(z)"}));
    // Empty pieces between semicolons are kept; a final empty piece is not.
    EXPECT_EQ(SplitComboText(QStringLiteral("a;;b;")), QStringList({"a", "", "b"}));
    EXPECT_EQ(SplitComboText(QStringLiteral("a; ")), QStringList({"a"}));
    // Trailing spaces of a piece stay: only leading white space goes.
    EXPECT_EQ(SplitComboText(QStringLiteral("a ; b ")), QStringList({"a ", "b "}));
}

TEST(ComboText, OneItemWithoutSemicolonOrWhenTextStartsWithOne)
{
    EXPECT_EQ(SplitComboText(QStringLiteral("  strlen(string $s): int")),
              QStringList({"  strlen(string $s): int"}));
    EXPECT_EQ(SplitComboText(QStringLiteral(";a;b")), QStringList({";a;b"}));
    EXPECT_EQ(SplitComboText(QString()), QStringList({QString()}));
}

TEST(CommandLine, FileAndFlags)
{
    auto info = CCommandLineInfo::Parse({});
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
    EXPECT_TRUE(info.m_bShowSplash);

    // An absolute path starts with "/" here and is a file, never a flag.
    info = CCommandLineInfo::Parse({"/home/u/site/index.php"});
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(info.m_strFileName, "/home/u/site/index.php");

    info = CCommandLineInfo::Parse({"-EMBEDDING", "a.php"});
    EXPECT_FALSE(info.m_bShowSplash);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_FALSE(CCommandLineInfo::Parse({"--Automation"}).m_bShowSplash);

    info = CCommandLineInfo::Parse({"-p", "a.php"});
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FilePrint);
    EXPECT_EQ(info.m_strFileName, "a.php");

    info = CCommandLineInfo::Parse({"--PT", "a.php", "Office Printer"});
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FilePrintTo);
    EXPECT_EQ(info.m_strPrinterName, "Office Printer");
    EXPECT_EQ(CCommandLineInfo::Parse({"-pt", "a.php"}).m_nShellCommand, CCommandLineInfo::Invalid);
    EXPECT_EQ(CCommandLineInfo::Parse({"-p"}).m_nShellCommand, CCommandLineInfo::Invalid);

    EXPECT_EQ(CCommandLineInfo::Parse({"-dde"}).m_nShellCommand, CCommandLineInfo::FileDDE);
    EXPECT_EQ(CCommandLineInfo::Parse({"-Unregister"}).m_nShellCommand, CCommandLineInfo::AppUnregister);
    EXPECT_EQ(CCommandLineInfo::Parse({"/unregserver"}).m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(CCommandLineInfo::Parse({"-unregserver"}).m_nShellCommand, CCommandLineInfo::AppUnregister);

    // After "--" everything is a file, even names that look like flags.
    info = CCommandLineInfo::Parse({"--", "-p"});
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(info.m_strFileName, "-p");
}

TEST(CommandLine, KeepsEveryFileInOrder)
{
    using C = CCommandLineInfo;
    const struct
    {
        QStringList args;
        C::ShellCommand command;
        QStringList files;
        QString printer;
    } cases[] = {
        {{"a.php", "b.php", "c.php"}, C::FileOpen, {"a.php", "b.php", "c.php"}, {}},
        {{"a.php", "-embedding", "/s/b.php", "--", "-c.php"}, C::FileOpen, {"a.php", "/s/b.php", "-c.php"}, {}},
        {{"-p", "a.php", "b.php"}, C::FilePrint, {"a.php", "b.php"}, {}},
        // Only the first "--" ends the flags; a later one is a file's name.
        {{"--", "--", "-p"}, C::FileOpen, {"--", "-p"}, {}},
        // "pt" takes one file and then the printer; more is ignored.
        {{"-pt", "a.php", "Office", "x.php"}, C::FilePrintTo, {"a.php"}, "Office"},
        {{}, C::FileNew, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const C info = C::Parse(c.args);
        EXPECT_EQ(info.m_nShellCommand, c.command);
        EXPECT_EQ(info.m_fileNames, c.files);
        EXPECT_EQ(info.m_strFileName, c.files.value(0));
        EXPECT_EQ(info.m_strPrinterName, c.printer);
    }
}

TEST(RecentFiles, NewestFirstAndFifthPushesOldestOut)
{
    CRecentFileList list(4);
    for (const char* f : {"/a.php", "/b.php", "/c.php", "/d.php"})
        list.Add(QString::fromLatin1(f));
    EXPECT_EQ(list.Files(), QStringList({"/d.php", "/c.php", "/b.php", "/a.php"}));
    list.Add(QStringLiteral("/e.php"));
    EXPECT_EQ(list.Files(), QStringList({"/e.php", "/d.php", "/c.php", "/b.php"}));
    // Opening a listed file again moves it to the head without a duplicate.
    list.Add(QStringLiteral("/c.php"));
    EXPECT_EQ(list.Files(), QStringList({"/c.php", "/e.php", "/d.php", "/b.php"}));
}

TEST(RecentFiles, WrittenAndReadAsFile1ToFile4)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("q.conf");
    {
        QSettings s(ini, QSettings::IniFormat);
        CRecentFileList list;
        list.Add(QStringLiteral("/x/one.php"));
        list.Add(QStringLiteral("/x/two.php"));
        list.WriteList(s);
        s.setValue(QStringLiteral("Recent File List/File4"), QStringLiteral("/stale"));
        list.WriteList(s);   // entries past the list's end are removed
    }
    QSettings s(ini, QSettings::IniFormat);
    EXPECT_EQ(s.value("Recent File List/File1").toString(), "/x/two.php");
    EXPECT_EQ(s.value("Recent File List/File2").toString(), "/x/one.php");
    EXPECT_FALSE(s.contains("Recent File List/File4"));
    CRecentFileList read;
    read.ReadList(s);
    EXPECT_EQ(read.Files(), QStringList({"/x/two.php", "/x/one.php"}));
}
