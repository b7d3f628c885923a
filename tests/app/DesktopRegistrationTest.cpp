#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/DesktopRegistration.h"

namespace {
QString Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void Write(const QString& path, const QString& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
}

// Every test runs against XDG directories of its own.
class Registration : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        qputenv("XDG_CONFIG_HOME", m_dir.filePath("config").toLocal8Bit());
        qputenv("XDG_DATA_HOME", m_dir.filePath("data").toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", m_dir.filePath("sysconfig").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", m_dir.filePath("sysdata").toLocal8Bit());
        qunsetenv("XDG_CURRENT_DESKTOP");
    }
    QString Path(const char* rel) const { return m_dir.filePath(QLatin1String(rel)); }

    QTemporaryDir m_dir;
    CDesktopRegistration m_reg{QStringLiteral("/opt/quillet/bin/quillet")};
};
} // namespace

TEST_F(Registration, NoDefaultYetMakesQuilletTheDefault)
{
    ASSERT_TRUE(m_reg.Register());
    EXPECT_TRUE(Read(Path("data/applications/quillet.desktop")).contains("Exec=/opt/quillet/bin/quillet %F"));
    EXPECT_TRUE(Read(Path("data/applications/quillet.desktop")).contains("MimeType=application/x-php;"));
    EXPECT_EQ(m_reg.CurrentDefault(), "quillet.desktop");
    // Registering at every start leaves the file as it is.
    const QString before = Read(Path("config/mimeapps.list"));
    ASSERT_TRUE(m_reg.Register());
    EXPECT_EQ(Read(Path("config/mimeapps.list")), before);
}

TEST_F(Registration, SomeoneElsesDefaultIsKept)
{
    Write(Path("sysdata/applications/mimeapps.list"),
          "[Default Applications]\napplication/x-php=geany.desktop;\n");
    ASSERT_TRUE(m_reg.Register());
    EXPECT_EQ(m_reg.CurrentDefault(), "geany.desktop");
    EXPECT_FALSE(QFile::exists(Path("config/mimeapps.list")));
    EXPECT_TRUE(QFile::exists(Path("data/applications/quillet.desktop")));
}

TEST_F(Registration, OurDefaultIsRenewedAndOtherLinesKept)
{
    const QString text = "[Added Associations]\ntext/plain=gedit.desktop;\n\n"
                         "[Default Applications]\ntext/html=firefox.desktop;\n"
                         "application/x-php=quillet.desktop;vim.desktop;\n";
    Write(Path("config/mimeapps.list"), text);
    ASSERT_TRUE(m_reg.Register());
    const QString after = Read(Path("config/mimeapps.list"));
    EXPECT_TRUE(after.contains("text/plain=gedit.desktop;"));
    EXPECT_TRUE(after.contains("text/html=firefox.desktop;"));
    EXPECT_EQ(m_reg.CurrentDefault(), "quillet.desktop");
}

TEST_F(Registration, UserFileWinsOverSystemFile)
{
    Write(Path("config/mimeapps.list"), "[Default Applications]\napplication/x-php=kate.desktop;\n");
    Write(Path("sysdata/applications/mimeapps.list"),
          "[Default Applications]\napplication/x-php=quillet.desktop;\n");
    ASSERT_TRUE(m_reg.Register());
    EXPECT_EQ(m_reg.CurrentDefault(), "kate.desktop");
}

TEST_F(Registration, UnregisterRemovesOnlyWhatNamesQuillet)
{
    Write(Path("config/mimeapps.list"), "[Default Applications]\ntext/html=firefox.desktop;\n");
    ASSERT_TRUE(m_reg.Register());
    ASSERT_EQ(m_reg.CurrentDefault(), "quillet.desktop");
    ASSERT_TRUE(m_reg.Unregister());
    EXPECT_FALSE(QFile::exists(Path("data/applications/quillet.desktop")));
    EXPECT_EQ(m_reg.CurrentDefault(), "");
    EXPECT_TRUE(Read(Path("config/mimeapps.list")).contains("text/html=firefox.desktop;"));

    // Someone else's default survives an unregister.
    Write(Path("config/mimeapps.list"), "[Default Applications]\napplication/x-php=kate.desktop;\n");
    ASSERT_TRUE(m_reg.Unregister());
    EXPECT_EQ(m_reg.CurrentDefault(), "kate.desktop");
}

TEST(MimeAppsList, AddsSectionWhenMissing)
{
    const QString out = MimeAppsList::WithDefault("[Added Associations]\na/b=x.desktop;\n",
                                                  "application/x-php", "quillet.desktop");
    EXPECT_EQ(out, "[Added Associations]\na/b=x.desktop;\n\n[Default Applications]\n"
                   "application/x-php=quillet.desktop;\n");
    EXPECT_EQ(MimeAppsList::DefaultFor(out, "application/x-php"), "quillet.desktop");
    // An entry of the same type in another section is not a default.
    EXPECT_EQ(MimeAppsList::DefaultFor("[Added Associations]\napplication/x-php=a.desktop;\n",
                                       "application/x-php"), "");
}
