#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "core/DialogFolder.h"

TEST(DialogFolder, ActiveDocumentThenLastUsedThenHome)
{
    QTemporaryDir root;
    QDir(root.path()).mkpath("docs");
    QDir(root.path()).mkpath("last");
    const QString docs = root.filePath("docs"), last = root.filePath("last");
    const QString home = root.filePath("home");
    const QString gone = root.filePath("gone");
    const struct
    {
        QString doc, lastUsed, expected;
    } cases[] = {
        {docs + "/page.php", last, docs},
        {docs + "/page.php", QString(), docs},
        {QString(), last, last},
        {gone + "/page.php", last, last},   // the document's folder was removed
        {QString(), gone, home},            // and so was the last one used
        {QString(), QString(), home},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.doc + " | " + c.lastUsed).toStdString());
        EXPECT_EQ(DialogFolder::StartFolder(c.doc, c.lastUsed, home), c.expected);
    }
}

TEST(DialogFolder, RemembersTheFolderOfTheFileChosen)
{
    QTemporaryDir root;
    EXPECT_EQ(DialogFolder::For(QString()), DialogFolder::StartFolder({}, DialogFolder::LastUsed(), QDir::homePath()));
    DialogFolder::Remember(root.filePath("chosen.php"));
    EXPECT_EQ(DialogFolder::LastUsed(), root.path());
    EXPECT_EQ(DialogFolder::For(QString()), root.path());
    // A cancelled dialog chose nothing and changes nothing.
    DialogFolder::Remember(QString());
    EXPECT_EQ(DialogFolder::For(QString()), root.path());
}
