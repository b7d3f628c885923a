// The command line's files and the document dialogs' start folder, carried out
// by the running application.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "CommandIds.h"
#include "FrameFixture.h"
#include "DocTemplate.h"
#include "QuilletApp.h"
#include "QuilletDoc.h"
#include "ScriptedResponder.h"
#include "TestSupport.h"
#include "core/CommandLineInfo.h"
#include "core/DialogFolder.h"

namespace {

using namespace FrameTest;

class ShellCommandTest : public FrameFixture
{
protected:
    QString File(const char* name, const QByteArray& text = "<?php ?>")
    {
        const QString path = m_dir.filePath(QLatin1String(name));
        EXPECT_TRUE(QuilletTest::WriteFile(path, text));
        return path;
    }
    QStringList OpenPaths() const
    {
        QStringList paths;
        for (const CQuilletDoc* doc : Docs()->Documents())
            paths << doc->GetPathName();
        return paths;
    }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ShellCommandTest, EveryFileOfTheCommandLineOpensAndAMissingOneStopsNoOther)
{
    const QString a = File("a.php"), b = File("b.php"), c = File("c.php");
    CScriptedResponder responder;
    EXPECT_TRUE(App()->ProcessShellCommand(CCommandLineInfo::Parse({a, b, c})));
    EXPECT_EQ(OpenPaths(), QStringList({a, b, c}));
    EXPECT_TRUE(responder.asked.isEmpty());
    CloseAll();

    const QString missing = m_dir.filePath("missing.php");
    EXPECT_TRUE(App()->ProcessShellCommand(CCommandLineInfo::Parse({missing, b, c})));
    EXPECT_EQ(OpenPaths(), QStringList({b, c}));
    EXPECT_EQ(responder.Texts(UserPrompt::Request::Message), QStringList({"打开文档失败。"}));
}

TEST_F(ShellCommandTest, OpenAndSaveAsDialogsStartInTheActiveDocumentsFolder)
{
    QDir(m_dir.path()).mkpath("site/inc");
    const QString page = File("site/inc/page.php");
    CScriptedResponder responder;
    ASSERT_TRUE(App()->ProcessShellCommand(CCommandLineInfo::Parse({page})));

    // Open with a document active: that document's folder.
    responder.files = {File("other.php")};
    ASSERT_TRUE(App()->Commands().Run(Cmd::FileOpen));
    ASSERT_EQ(responder.asked.size(), 1);
    EXPECT_EQ(responder.asked[0].kind, UserPrompt::Request::OpenFile);
    EXPECT_EQ(responder.asked[0].dir, m_dir.filePath("site/inc"));
    CloseAll();

    // With none active: the folder the last dialog chose, which was m_dir's.
    ASSERT_TRUE(App()->Commands().Run(Cmd::FileOpen));
    ASSERT_EQ(responder.asked.size(), 2);
    EXPECT_EQ(responder.asked[1].dir, m_dir.path());
    EXPECT_NE(responder.asked[1].dir, QCoreApplication::applicationDirPath());

    // Save as of an untitled document proposes its name in that folder too.
    CQuilletDoc* untitled = Docs()->NewDocument();
    ASSERT_TRUE(untitled);
    EXPECT_FALSE(untitled->DoSave());
    ASSERT_EQ(responder.asked.size(), 3);
    EXPECT_EQ(responder.asked[2].kind, UserPrompt::Request::SaveFile);
    EXPECT_EQ(responder.asked[2].dir, m_dir.filePath(untitled->GetTitle() + ".php"));
}

TEST_F(ShellCommandTest, FilesHandedOverThatFailAreReportedInOneMessage)
{
    const QString good = File("good.php");
    QStringList sent = {good};
    for (int i = 0; i < 30; ++i)
        sent << m_dir.filePath(QStringLiteral("missing%1.php").arg(i));
    CScriptedResponder responder;
    App()->OpenRequestedFiles(sent);
    EXPECT_EQ(OpenPaths(), QStringList({good}));
    const QStringList messages = responder.Texts(UserPrompt::Request::Message);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains("missing0.php"));
    EXPECT_TRUE(messages.first().contains("30"));
}
