// Opening a link without a window: the desktop's "open", the fallback on the
// program registered for web pages, the result texts, and finding and starting
// that program.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/LinkOpening.h"
#include "core/WebBrowserCommand.h"

using namespace LinkOpening;

TEST(LinkOpeningTest, FailureTextsByResult)
{
    const struct { int result; const char* text; } cases[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {26, "A sharing violation occurred. "},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
        {1, "Unknown Error (1) occurred."},
        {-7, "Unknown Error (-7) occurred."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResultText(c.result), QString::fromUtf8(c.text)) << c.result;
        EXPECT_EQ(FailureMessage(c.result), "Can't open link:\n\n" + QString::fromUtf8(c.text));
    }
}

TEST(LinkOpeningTest, DesktopOpenFirstThenTheRegisteredProgramWithTheAddressAsOneArgument)
{
    const QString address = QStringLiteral("https://example.test/a b?q=\"x\" --evil");
    const struct Case
    {
        const char* name;
        bool opens;
        const char* command;
        int startResult;
        int expected;
        QStringList started;   // program, then its arguments; empty: not started
    } cases[] = {
        {"desktop opens", true, "browser %u", 33, kOpened, {}},
        {"nothing registered", false, "", 33, kNoAssociation, {}},
        {"registered program started", false, "\"/opt/web b/run\" --new \"%u\" --gone", 33, kOpened,
         {"/opt/web b/run", "--new", address}},
        {"registered program missing", false, "nosuch %U", kFileNotFound, kFileNotFound, {"nosuch", address}},
        {"command of spaces only", false, "   %u", 33, kNoAssociation, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList opened, started;
        Launcher launcher;
        launcher.openUrl = [&](const QString& a) { opened << a; return c.opens; };
        launcher.webPageCommand = [&] { return QString::fromUtf8(c.command); };
        launcher.start = [&](const QString& program, const QStringList& args) {
            started = QStringList{program} + args;
            return c.startResult;
        };
        EXPECT_EQ(Open(address, launcher), c.expected);
        EXPECT_EQ(opened, QStringList{address});
        EXPECT_EQ(started, c.started);
    }
}

class WebBrowserCommandTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        for (const char* var : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS",
                                "XDG_CURRENT_DESKTOP"})
            m_saved << qgetenv(var);
        qputenv("XDG_CONFIG_HOME", Path("config").toUtf8());
        qputenv("XDG_CONFIG_DIRS", Path("sysconfig").toUtf8());
        qputenv("XDG_DATA_HOME", Path("data").toUtf8());
        qputenv("XDG_DATA_DIRS", Path("sysdata").toUtf8());
        qunsetenv("XDG_CURRENT_DESKTOP");
    }
    void TearDown() override
    {
        const char* vars[] = {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS",
                              "XDG_CURRENT_DESKTOP"};
        for (int i = 0; i < 5; ++i)
            qputenv(vars[i], m_saved[i]);
    }
    QString Path(const QString& rel) const { return m_dir.filePath(rel); }
    void Write(const QString& rel, const QByteArray& text) const
    {
        QDir().mkpath(QFileInfo(Path(rel)).path());
        QFile f(Path(rel));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QTemporaryDir m_dir;
    QList<QByteArray> m_saved;
};

TEST_F(WebBrowserCommandTest, RegisteredCommandFollowsTheMimeDefaultsToTheDesktopEntry)
{
    EXPECT_EQ(WebBrowserCommand::RegisteredCommand(), QString());

    // The system names one browser, the user another; the user's wins, and
    // a "vendor-name" id may live in a vendor folder.
    Write("sysdata/applications/mimeapps.list", "[Default Applications]\ntext/html=system.desktop\n");
    Write("sysdata/applications/system.desktop", "[Desktop Entry]\nExec=system-browser %u\n");
    EXPECT_EQ(WebBrowserCommand::RegisteredCommand(), "system-browser %u");

    Write("config/mimeapps.list",
          "[Added Associations]\ntext/html=other.desktop\n"
          "[Default Applications]\ntext/plain=editor.desktop\ntext/html=acme-web.desktop;system.desktop;\n");
    Write("data/applications/acme/web.desktop",
          "[Desktop Action new]\nExec=wrong\n[Desktop Entry]\nName=Web\nExec = \"/opt/acme\\sweb\" \"%u\"\n");
    EXPECT_EQ(WebBrowserCommand::RegisteredCommand(), "\"/opt/acme web\" \"%u\"");
    EXPECT_EQ(WebBrowserCommand::RegisteredCommand(QStringLiteral("image/png")), QString());

    // A default whose entry is gone gives nothing.
    QFile::remove(Path("data/applications/acme/web.desktop"));
    EXPECT_EQ(WebBrowserCommand::RegisteredCommand(), QString());
}

TEST_F(WebBrowserCommandTest, StartingAProgramGivesTheNearestResultCode)
{
    Write("plain.txt", "not a program");
    const struct { QString program; int result; } cases[] = {
        {Path("missing-program"), kFileNotFound},
        {QStringLiteral("no-such-program-anywhere"), kFileNotFound},
        {QString(), kFileNotFound},
        {Path("plain.txt"), kAccessDenied},
        {m_dir.path(), kAccessDenied},
        {QStringLiteral("true"), kOpened},   // found on the search path
    };
    for (const auto& c : cases)
        EXPECT_EQ(WebBrowserCommand::Start(c.program, {QStringLiteral("https://example.test/")}), c.result)
            << c.program.toStdString();
}
