// The settings file with values of the wrong type or shape, or no INI text at
// all: every reader takes its default for a bad value, and the real program
// starts over such a file, ends cleanly, and leaves settings that read back.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <csignal>

#include "core/AdAddress.h"
#include "CodeEditCtrl.h"
#include "CodeLibraryStore.h"
#include "ColourEditor.h"
#include "DocTemplate.h"
#include "MainFrame.h"
#include "QuilletDoc.h"
#include "SlotFormat.h"
#include "StartupSplashWnd.h"
#include "TestSupport.h"
#include "core/FindHistory.h"
#include "core/RecentFileList.h"
#include "core/RecoveryStore.h"

namespace {

// The settings file of this process (under the test mode's own folder) and the
// one the editor started from here reads.
QString OwnConf()
{
    return QSettings().fileName();
}

QString EditorConf()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Fennroth/Quillet.conf");
}

void WriteConf(const QString& path, const QByteArray& text)
{
    static int written = 0;
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    ASSERT_TRUE(QuilletTest::WriteFile(path, text));
    // A time of its own for every version, so that the settings store reads it again.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-60 * ++written), QFileDevice::FileModificationTime);
}

// What the program makes of its settings, read through its own readers and
// with a main frame built over them.
struct Effective
{
    QStringList formats;   // every slot's face, colour, size and effects
    int recoveryMs = 0;
    bool indentWithSpaces = false;
    bool grammarColouring = false;
    QStringList findHistory;
    QString adAddress;
    QString userLib;
    QStringList recentFiles;

    bool operator==(const Effective&) const = default;
    std::string Text() const
    {
        return QStringLiteral("formats %1\nrecovery %2 indent %3 grammar %8\nfind %4\nad %5\nuserlib %6\nrecent %7")
            .arg(formats.join(u' '))
            .arg(recoveryMs)
            .arg(indentWithSpaces)
            .arg(findHistory.join(u'|'), adAddress, userLib, recentFiles.join(u'|'))
            .arg(grammarColouring)
            .toStdString();
    }
};

Effective Read()
{
    Effective e;
    for (const CSlotFormat& f : ReadStoredSlotFormats())
        e.formats << QStringLiteral("%1/%2/%3/%4")
                       .arg(QString::fromUtf8(f.szFaceName))
                       .arg(f.crTextColor)
                       .arg(f.yHeight)
                       .arg(f.dwEffects);
    QTemporaryDir recovery;
    CRecoveryStore store(recovery.path());
    CQuilletDoc::SetRecoveryStore(&store);
    e.recoveryMs = CQuilletDoc::RecoveryDelayMs();
    CQuilletDoc::SetRecoveryStore(nullptr);
    e.findHistory = FindHistory::Stored();
    e.adAddress = AdAddress::Current();
    e.userLib = CCodeLibraryStore::StoredUserLibPath();
    QSettings settings;
    CRecentFileList recent;
    recent.ReadList(settings);
    e.recentFiles = recent.Files();
    {
        CStartupSplashWnd::EnableSplashScreen(false);
        CDocTemplate docs;
        CMainFrame frame(&docs, nullptr, &recent);
        EXPECT_TRUE(frame.Create());
        e.indentWithSpaces = CCodeEditCtrl::IndentWithSpaces();
        e.grammarColouring = ColourEditor::Rules() == ColourRules::Grammar;
    }
    return e;
}

// Runs the editor over the settings file until it is up, then ends it the way
// a logout does; true when it came up and ended with status 0.
bool RunAndEnd()
{
    const QString stateHome = QDir::homePath() + QStringLiteral("/.local/state");
    const QString state = stateHome + QStringLiteral("/quillet");
    QDir(state).removeRecursively();
    QProcess quillet;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_STATE_HOME"), stateHome);
    quillet.setProcessEnvironment(env);
    quillet.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    quillet.setWorkingDirectory(QDir::homePath());
    quillet.start(QStringLiteral(QUILLET_BIN_DIR "/quillet"), {QStringLiteral("-dde"), QStringLiteral("-embedding")});
    // The recovery folder is made once the editor handles the signal.
    const bool up = QuilletTest::WaitFor([&] { return QDir(state).exists() || quillet.state() == QProcess::NotRunning; },
                                         30000) &&
                    quillet.state() == QProcess::Running;
    if (up)
        ::kill(static_cast<pid_t>(quillet.processId()), SIGTERM);
    if (!quillet.waitForFinished(30000)) {
        quillet.kill();
        quillet.waitForFinished();
        return false;
    }
    EXPECT_TRUE(up);
    return up && quillet.exitStatus() == QProcess::NormalExit && quillet.exitCode() == 0;
}

} // namespace

TEST(DamagedSettings, BadValuesReadAsDefaultsAndTheEditorStartsAndEndsOverThem)
{
    // The program's own settings file, as the application object names it.
    QCoreApplication::setOrganizationName(QStringLiteral("Fennroth"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillet"));
    WriteConf(OwnConf(), "");
    const Effective defaults = Read();
    ASSERT_EQ(defaults.recoveryMs, 5000);
    ASSERT_FALSE(defaults.indentWithSpaces);

    QByteArray allBytes;
    for (int i = 0; i < 256; ++i)
        allBytes += char(i);
    const struct
    {
        const char* what;
        QByteArray ini;
    } cases[] = {
        {"text for numbers",
         "[Settings]\nRecoverySeconds=five\nCF1_Size=twelve\nCF1_Color=red\nCF1_Bold=yes\nCF2_Italic=x\n"
         "IndentWithSpaces=sometimes\nGrammarColouring=sometimes\nPreviewPages=two\n"},
        {"numbers beyond int",
         "[Settings]\nRecoverySeconds=4294967306\nCF1_Size=4294967308\nCF1_Color=99999999999999999999\n"
         "CF1_Bold=4294967297\nCF2_UnderLine=-4294967295\nIndentWithSpaces=4294967297\n"
         "PreviewPages=4294967298\n"},
        {"negative numbers",
         "[Settings]\nCF1_Bold=-1\nCF3_StrikeOut=-1\nIndentWithSpaces=-1\nGrammarColouring=-1\nPreviewPages=-2\n"},
        {"lists for single values",
         "[Settings]\nRecoverySeconds=10, 20\nCF1_Size=9, 10\nCF1_FaceName=Arial, Courier\nIndentWithSpaces=true, true\n"
         "AdAddress=http://a.example/, http://b.example/\nUserLib=/a.mdb, /b.mdb\n"
         "[Recent%20File%20List]\nFile1=/a.php, /b.php\n"},
        {"empty values",
         "[Settings]\nRecoverySeconds=\nCF1_Size=\nCF1_Color=\nCF1_FaceName=\nIndentWithSpaces=\nAdAddress=\n"
         "UserLib=\nPreviewPages=\n[Find]\nHistory=\n[Recent%20File%20List]\nFile1=\n"},
        {"garbage values",
         "[Settings]\nRecoverySeconds=\x01\x02\xff\nCF1_Size=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\xff)\n"
         "CF1_Color=@ByteArray(\\xff\\xfe)\nIndentWithSpaces=\xfe\xff\nUserLib=@Variant(\\0\\0\\0\\b\\xff\\xff\\xff\\xf0)\n"
         "[Find]\nHistory=@Variant(\\0\\0\\0\\v\\xff\\xff\\xff\\xff)\n"},
        {"no INI text: bytes", allBytes.repeated(8)},
        {"no INI text: JSON", "{\"Settings\": {\"RecoverySeconds\": 7, \"IndentWithSpaces\": true}}\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteConf(OwnConf(), c.ini);
        const Effective read = Read();
        EXPECT_TRUE(read == defaults) << read.Text() << "\n--- defaults ---\n" << defaults.Text();

        WriteConf(EditorConf(), c.ini);
        EXPECT_TRUE(RunAndEnd());
        // What the editor left reads back as settings, and as the defaults still.
        EXPECT_EQ(QSettings(EditorConf(), QSettings::IniFormat).status(), QSettings::NoError);
        WriteConf(OwnConf(), QuilletTest::ReadFile(EditorConf()));
        const Effective reread = Read();
        EXPECT_TRUE(reread == defaults) << reread.Text();
    }
}
