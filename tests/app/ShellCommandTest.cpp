// The command line's files, carried out by the running application.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "DocTemplate.h"
#include "QuilletApp.h"
#include "QuilletDoc.h"
#include "ScriptedResponder.h"
#include "TestSupport.h"
#include "core/CommandLineInfo.h"

namespace {

CQuilletApp* App() { return static_cast<CQuilletApp*>(qApp); }
CDocTemplate* Docs() { return App()->DocTemplate(); }

class ShellCommandTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(Docs()->Documents().isEmpty()); }
    void TearDown() override
    {
        Docs()->CloseAllDocuments();
        QuilletTest::WaitFor([] { return Docs()->Documents().isEmpty(); });
    }
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
    TearDown();

    const QString missing = m_dir.filePath("missing.php");
    EXPECT_TRUE(App()->ProcessShellCommand(CCommandLineInfo::Parse({missing, b, c})));
    EXPECT_EQ(OpenPaths(), QStringList({b, c}));
    EXPECT_EQ(responder.Texts(UserPrompt::Request::Message), QStringList({"打开文档失败。"}));
}
