// The code libraries the build ships: the empty template and the standard library.
#include "AdoDatabase.h"
#include "AdoResultSet.h"
#include "CodeLibraryProbe.h"
#include "ConnectionString.h"
#include "LibraryFixtures.h"
#include "QtPrinters.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString Shipped(const char* name)
{
    return QStringLiteral(QUILLET_BIN_DIR "/") + QString::fromLatin1(name);
}

TEST(ShippedLibrariesTest, TemplateHoldsAnEmptyCodeTable)
{
    const QString path = Shipped("userlibTemp.mdb");
    ASSERT_TRUE(QFile::exists(path));
    CAdoDatabase db;
    ASSERT_TRUE(db.Open(ConnectionString::ForFile(path))) << db.GetLastErrorText().toStdString();
    EXPECT_TRUE(CodeLibraryProbe::Passes(db));
    EXPECT_TRUE(LibraryFixtures::ReadSnippets(path).isEmpty());
}

TEST(ShippedLibrariesTest, TemplateCopyAssignsPositiveIdsFromOne)
{
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("copy.mdb"));
    ASSERT_TRUE(QFile::copy(Shipped("userlibTemp.mdb"), copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    CAdoDatabase db;
    ASSERT_TRUE(db.Open(ConnectionString::ForFile(copy)));
    qint32 count = 0;
    ASSERT_TRUE(db.Execute(QStringLiteral("INSERT INTO CodeTable([title],[text]) VALUES('a','b')"), count));
    EXPECT_EQ(count, 1);
    EXPECT_EQ(LibraryFixtures::ReadIds(copy), QList<qint32>{1});
}

TEST(ShippedLibrariesTest, StandardLibraryHasAtLeastFortyTitledSnippets)
{
    const auto snippets = LibraryFixtures::ReadSnippets(Shipped("phplib.mdb"));
    ASSERT_GE(snippets.size(), 40);
    QSet<QString> titles;
    for (const auto& [title, text] : snippets) {
        EXPECT_FALSE(title.trimmed().isEmpty());
        EXPECT_LE(title.size(), 100) << title.toStdString();   // what the snippet dialog accepts
        EXPECT_TRUE(std::any_of(title.begin(), title.end(),
                                [](QChar c) { return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF; }))
            << "no Chinese in the title " << title.toStdString();
        EXPECT_FALSE(text.trimmed().isEmpty()) << title.toStdString();
        EXPECT_FALSE(text.startsWith(QStringLiteral("<?php\n"))) << title.toStdString();
        titles.insert(title);
    }
    EXPECT_EQ(titles.size(), snippets.size()) << "titles repeat";
}

TEST(ShippedLibrariesTest, EverySnippetPassesPhpLint)
{
    const QString php = QStandardPaths::findExecutable(QStringLiteral("php"));
    if (php.isEmpty())
        GTEST_SKIP() << "php is not installed";
    QTemporaryDir dir;
    const auto snippets = LibraryFixtures::ReadSnippets(Shipped("phplib.mdb"));
    ASSERT_FALSE(snippets.isEmpty());
    int n = 0;
    for (const auto& [title, text] : snippets) {
        // Snippets go into code already inside a PHP region; templates start with markup.
        const QString file = dir.filePath(QStringLiteral("s%1.php").arg(++n));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write((text.startsWith(u'<') ? text : QStringLiteral("<?php\n") + text).toUtf8());
        out.close();
        QProcess lint;
        lint.start(php, {QStringLiteral("-l"), file});
        ASSERT_TRUE(lint.waitForFinished(30000));
        EXPECT_EQ(lint.exitCode(), 0) << title.toStdString() << "\n"
                                      << lint.readAllStandardOutput().toStdString()
                                      << lint.readAllStandardError().toStdString();
    }
}

} // namespace
