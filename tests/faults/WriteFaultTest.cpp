// Every write path under a failing call, in the manner of SQLite's I/O-error
// tests: a helper process runs one operation with a preloaded library
// (WriteFaults.cpp) that makes the n-th write (ENOSPC), fsync/fdatasync,
// rename, link, fchown, fchmod, ftruncate, fallocate or close (EIO) on the
// operation's files fail, for every such call the operation makes (counted
// in a run without a failure: a run follows the same calls up to the one
// that fails). After every failure the user has been told exactly once, a
// document is still modified, the files hold the old content or the new
// (never a mix, never nothing), and no temporary file is left; a failure
// nobody is told of must have cost nothing (a descriptor only read, a file
// thrown away, a call made again with success: "absorbed"). Each test prints
// its row; a run on Linux (ext4), Qt 6.4, SQLite 3.40:
//
//   operation             write fsync rename link fchown fchmod ftrunc falloc close  all told absorbed
//   save-replace-utf8         1     2      1    2      1      2      0      0     1   10    5        5
//   save-replace-gb18030      1     2      1    2      1      2      0      0     1   10    5        5
//   save-inplace-utf8         2     3      0    1      0      0      1      1     2   10    8        2
//   save-inplace-gb18030      2     3      0    1      0      0      1      1     2   10    8        2
//   recovery-copy             1     2      1    2      0      2      0      0     1    9    5        4
//   settings                  2     3      1    2      0      1      0      0     6   15    6        9
//   library-write            14     4      0    0      1      0      0      0     2   21   17        4
//   library-new              13     7      2    3      1      2      0      0    11   39   22       17
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <cerrno>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

#include "LibraryFixtures.h"
#include "TestSupport.h"
#include "WriteFaultCases.h"
#include "core/FileEncoding.h"
#include "core/RecoveryStore.h"
#include "SlotFontChoice.h"

namespace {
using namespace WriteFaultCases;
using QuilletTest::ReadFile;
using LibraryFixtures::Snippet;

const QStringList kCalls = {"write", "fsync", "rename", "link", "fchown", "fchmod", "ftruncate", "fallocate", "close"};

QStringList Listing(const QString& folder)
{
    QStringList names;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& e : entries)
        names << (e.isDir() ? e.fileName() + u'/' : e.fileName());
    return names;
}

struct Outcome
{
    bool fired = false;
    QString failedCall;     // what the library made fail
    QMap<QString, QString> facts;   // what the library knew about it (see WriteFaults.cpp)
    QStringList messages;
    int modified = -1;      // -1: not a document
    QString state;          // "old", "new" or what else was found
    QStringList leftovers;  // files no operation should leave
    QString error;          // the helper did not run as it should
    QMap<QString, int> counts;  // calls of each kind (a run without a failure)
    bool targetRemains = false;  // the name a failed link or rename made is there
};


class Operation
{
public:
    Operation(const QString& op, const QString& dir) : m_op(op), m_dir(dir) {}

    void Prepare() const;
    // What the operation left: "old", "new", or a description of anything else.
    QString State() const;
    // Files besides those the operation's old or new state has.
    QStringList Leftovers() const;
    bool IsDocument() const { return m_op.startsWith(QLatin1String("save-")) || m_op == QLatin1String("recovery-copy"); }
    // A recovery copy leaves its document modified; a save that went through does not.
    int StaysModified() const { return m_op == QLatin1String("recovery-copy") ? 1 : 0; }

private:
    FileEncoding::Kind Encoding() const
    {
        return m_op.endsWith(QLatin1String("gb18030")) ? FileEncoding::Kind::Gb18030 : FileEncoding::Kind::Utf8;
    }
    QByteArray Bytes(bool isNew) const { return *FileEncoding::Encode(Text(isNew, PageLines(m_op)).toUtf8(), Encoding()); }
    bool InPlace() const { return m_op.startsWith(QLatin1String("save-inplace")); }
    static QList<Snippet> OldSnippets() { return {{"echo", "<?php echo 1; ?>"}, {"循环", "for (;;) {}"}}; }
    static QList<Snippet> TemplateSnippets() { return {{"模板", "template"}}; }
    QMap<QString, QString> SettingsValues(bool isNew) const;

    QString m_op, m_dir;
};

QMap<QString, QString> Operation::SettingsValues(bool isNew) const
{
    QMap<QString, QString> values;
    CChosenFont font;
    font.faceName = kOldFace;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        font.height = -10 - slot;
        for (const auto& [name, value] : SlotFontValues(slot, font))
            values[QStringLiteral("Settings/") + name] = value.toString();
    }
    if (isNew)
        for (const auto& [name, value] : SlotFontValues(kStyleSlot, NewFont()))
            values[QStringLiteral("Settings/") + name] = value.toString();
    for (int i = 1; i <= 4; ++i)
        values[QStringLiteral("Recent File List/File%1").arg(i)] = QStringLiteral("/网站/页面%1.php").arg(i);
    return values;
}

void Operation::Prepare() const
{
    QDir().mkpath(ConfigHome(m_dir) + QStringLiteral("/Fennroth"));
    QDir().mkpath(m_dir + QStringLiteral("/home"));
    QDir().mkpath(m_dir + QStringLiteral("/lib"));
    QDir().mkpath(StartDir(m_dir));
    if (m_op.startsWith(QLatin1String("save-"))) {
        QDir().mkpath(m_dir + QStringLiteral("/site"));
        QuilletTest::WriteFile(Page(m_dir), Bytes(false));
        if (InPlace())
            ::link(QFile::encodeName(Page(m_dir)).constData(), QFile::encodeName(Alias(m_dir)).constData());
        else if (::geteuid() == 0)   // the replacement must be given to the old owner
            ::chown(QFile::encodeName(Page(m_dir)).constData(), QuilletTest::kUnprivilegedUid,
                    QuilletTest::kUnprivilegedUid);
    } else if (m_op == QLatin1String("settings")) {
        QSettings settings(SettingsFile(m_dir), QSettings::IniFormat);
        const QMap<QString, QString> values = SettingsValues(false);
        for (auto it = values.begin(); it != values.end(); ++it)
            settings.setValue(it.key(), it.value());
    } else if (m_op.startsWith(QLatin1String("library-"))) {
        LibraryFixtures::MakeLibrary(UserLibrary(m_dir), OldSnippets());
        LibraryFixtures::MakeLibrary(StartDir(m_dir) + QStringLiteral("/userlibTemp.mdb"), TemplateSnippets());
        if (m_op == QLatin1String("library-new"))
            LibraryFixtures::MakeLibrary(NewLibrary(m_dir), OldSnippets());
        QSettings settings(SettingsFile(m_dir), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Settings/UserLib"), UserLibrary(m_dir));
    }
}

QStringList Operation::Leftovers() const
{
    QStringList found;
    const auto expect = [&found](const QString& folder, QStringList names) {
        for (const QString& name : Listing(folder))
            if (!names.removeOne(name))
                found << folder + u'/' + name;
    };
    expect(ConfigHome(m_dir) + QStringLiteral("/Fennroth"),
           QFile::exists(SettingsFile(m_dir)) ? QStringList{"Quillet.conf"} : QStringList());
    expect(m_dir + QStringLiteral("/lib"), m_op == QLatin1String("library-new")
                                               ? QStringList{"mine.mdb", "fresh.mdb"}
                                               : m_op == QLatin1String("library-write") ? QStringList{"mine.mdb"}
                                                                                        : QStringList());
    if (m_op.startsWith(QLatin1String("save-"))) {
        expect(m_dir + QStringLiteral("/site"), InPlace() ? QStringList{"alias.php", "page.php"} : QStringList{"page.php"});
        expect(Backups(m_dir), {});
    }
    if (m_op == QLatin1String("recovery-copy")) {
        // The session's copy, the lock of a session that ended, an empty folder for backups.
        for (const QString& name : Listing(RecoveryFolder(m_dir)))
            if (!name.endsWith(QLatin1String(".qrec")) && !name.endsWith(QLatin1String(".lock")) && name != u"backups/")
                found << name;
        expect(RecoveryFolder(m_dir) + QStringLiteral("/backups"), {});
    }
    return found;
}

QString Operation::State() const
{
    if (m_op.startsWith(QLatin1String("save-"))) {
        const QByteArray bytes = ReadFile(Page(m_dir));
        struct stat page {}, alias {};
        if (InPlace() && (::stat(QFile::encodeName(Page(m_dir)).constData(), &page) != 0 ||
                          ::stat(QFile::encodeName(Alias(m_dir)).constData(), &alias) != 0 || page.st_ino != alias.st_ino))
            return QStringLiteral("hard link split");
        if (!InPlace() && ::geteuid() == 0 && QFileInfo(Page(m_dir)).ownerId() != QuilletTest::kUnprivilegedUid)
            return QStringLiteral("owner lost");
        return bytes == Bytes(false) ? QStringLiteral("old")
               : bytes == Bytes(true) ? QStringLiteral("new")
                                      : QStringLiteral("mixed (%1 bytes)").arg(bytes.size());
    }
    if (m_op == QLatin1String("recovery-copy")) {
        const QStringList copies = QDir(RecoveryFolder(m_dir)).entryList({"*.qrec"}, QDir::Files);
        if (copies.size() != 1)
            return QStringLiteral("%1 copies").arg(copies.size());
        CRecoveredText entry;
        if (!CRecoveryStore::Decode(ReadFile(RecoveryFolder(m_dir) + u'/' + copies[0]), entry))
            return QStringLiteral("damaged copy");
        return entry.text == Text(false, kCopyLines).toUtf8() ? QStringLiteral("old")
               : entry.text == Text(true, kCopyLines).toUtf8() ? QStringLiteral("new")
                                                   : QStringLiteral("mixed copy");
    }
    if (m_op == QLatin1String("settings")) {
        QSettings settings(SettingsFile(m_dir), QSettings::IniFormat);
        QMap<QString, QString> values;
        for (const QString& key : settings.allKeys())
            values[key] = settings.value(key).toString();
        return values == SettingsValues(false) ? QStringLiteral("old")
               : values == SettingsValues(true) ? QStringLiteral("new")
                                                : QStringLiteral("mixed settings (%1 keys)").arg(values.size());
    }
    const QString userLib =
        QSettings(SettingsFile(m_dir), QSettings::IniFormat).value(QStringLiteral("Settings/UserLib")).toString();
    if (m_op == QLatin1String("library-write")) {
        const QList<Snippet> snippets = LibraryFixtures::ReadSnippets(UserLibrary(m_dir));
        if (userLib != UserLibrary(m_dir))
            return QStringLiteral("setting changed");
        return snippets == OldSnippets() ? QStringLiteral("old")
               : snippets == OldSnippets() + QList<Snippet>{{kSnippetTitle, kSnippetText}}
                   ? QStringLiteral("new")
                   : QStringLiteral("mixed library (%1 rows)").arg(snippets.size());
    }
    // A new library: the chosen file is emptied; the setting names it. The
    // library made but not remembered counts as new, with the setting old.
    const QList<Snippet> snippets = LibraryFixtures::ReadSnippets(NewLibrary(m_dir));
    const bool fileNew = snippets.isEmpty() && QFileInfo(NewLibrary(m_dir)).size() > 0 &&
                         LibraryFixtures::ReadSnippets(NewLibrary(m_dir)).isEmpty() &&
                         QSettings(SettingsFile(m_dir), QSettings::IniFormat).status() == QSettings::NoError;
    const QString file = snippets == OldSnippets() ? QStringLiteral("old") : fileNew ? QStringLiteral("new") : QStringLiteral("mixed");
    const QString setting = userLib == UserLibrary(m_dir) ? QStringLiteral("old")
                            : userLib == NewLibrary(m_dir) ? QStringLiteral("new")
                                                           : QStringLiteral("other");
    if (file == setting)
        return file;
    return QStringLiteral("file %1, setting %2").arg(file, setting);
}

Outcome RunOnce(const QString& op, const QString& call, int n)
{
    Outcome out;
    QTemporaryDir temp;
    const QString dir = QFileInfo(temp.path()).canonicalFilePath();
    Operation operation(op, dir);
    operation.Prepare();
    const QString report = dir + QStringLiteral(".fault");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", dir + QStringLiteral("/home"));
    env.insert("XDG_CONFIG_HOME", ConfigHome(dir));
    env.insert("XDG_STATE_HOME", dir + QStringLiteral("/state"));
    env.insert("XDG_DATA_HOME", dir + QStringLiteral("/data"));
    env.insert("LD_PRELOAD", WRITE_FAULTS_LIBRARY);
    env.insert("ASAN_OPTIONS", "verify_asan_link_order=0:detect_leaks=0");
    env.insert("QUILLET_FAULT_DIR", dir);
    env.insert("QUILLET_FAULT_CALL", call);
    env.insert("QUILLET_FAULT_N", QString::number(n));
    env.insert("QUILLET_FAULT_ERRNO", QString::number(call == u"write" || call == u"fallocate" ? ENOSPC : EIO));
    env.insert("QUILLET_FAULT_REPORT", report);
    const QString counts = dir + QStringLiteral(".counts");
    env.insert("QUILLET_FAULT_COUNTS", counts);
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(WRITE_FAULT_CHILD, {op, dir});
    if (!child.waitForFinished(120000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        child.kill();
        child.waitForFinished();
        out.error = QStringLiteral("helper failed (%1): %2")
                        .arg(child.exitCode())
                        .arg(QString::fromUtf8(child.readAllStandardError().right(2000)));
    }
    out.fired = QFile::exists(report);
    const QStringList lines = QString::fromUtf8(ReadFile(report)).split(u'\n', Qt::SkipEmptyParts);
    out.failedCall = lines.value(0);
    for (const QString& line : lines.mid(1))
        out.facts[line.section(u'=', 0, 0)] = line.section(u'=', 1);
    out.targetRemains = QFile::exists(lines.value(0).section(u' ', 3));
    QFile::remove(report);
    for (const QString& line : QString::fromUtf8(ReadFile(counts)).split(u'\n', Qt::SkipEmptyParts))
        out.counts[line.section(u'=', 0, 0)] = line.section(u'=', 1).toInt();
    QFile::remove(counts);
    for (const QString& line : QString::fromUtf8(child.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1String("message: ")))
            out.messages << line.mid(9);
        else if (line.startsWith(QLatin1String("modified: ")))
            out.modified = line.mid(10).toInt();
    }
    out.leftovers = operation.Leftovers();
    out.state = operation.State();
    return out;
}

// Empty when the outcome is sound.
QString Verdict(const Operation& operation, const Outcome& o)
{
    if (!o.error.isEmpty())
        return o.error;
    if (!o.leftovers.isEmpty())
        return QStringLiteral("left ") + o.leftovers.join(u' ');
    if (!o.fired) {
        // The operation ran to its end untouched.
        if (o.state != u"new" || !o.messages.isEmpty() || (operation.IsDocument() && o.modified != operation.StaysModified()))
            return QStringLiteral("clean run: %1, told %2").arg(o.state, o.messages.join(u'|'));
        return QString();
    }
    if (o.messages.size() > 1)
        return QStringLiteral("told %1 times: %2").arg(o.messages.size()).arg(o.messages.join(u'|'));
    if (o.messages.isEmpty()) {
        // Nothing to tell when the operation is whole all the same and the
        // failure cost nothing: a descriptor only read, a sync or close of a
        // file with nothing unsynced, a file thrown away, a call made again
        // with success, or a name tried and replaced by another.
        const QString kind = o.failedCall.section(u' ', 0, 0);
        const bool harmless =
            o.facts.value("readonly") == u"1" || o.facts.value("repeated") == u"1" ||
            ((kind == u"fsync" || kind == u"close") && o.facts.value("clean") == u"1") ||
            o.facts.value("gone") == u"1" ||
            ((kind == u"link" || kind == u"rename") && !o.targetRemains);
        if (!harmless || o.state != u"new" || (operation.IsDocument() && o.modified != operation.StaysModified()))
            return QStringLiteral("not told; %1").arg(o.state);
        return QString();
    }
    if (o.state != u"old" && o.state != u"new" && o.state != u"file new, setting old")
        return o.state;
    if (operation.IsDocument() && o.modified != 1)
        return QStringLiteral("document not modified");
    return QString();
}

class WriteFaults : public testing::TestWithParam<QString>
{
};

TEST_P(WriteFaults, EveryFailingCallIsToldAndLosesNothing)
{
    const QString op = GetParam();
    QStringList row{op}, faults;
    int told = 0, absorbed = 0, total = 0;
    const Outcome clean = RunOnce(op, QString(), 0);
    ASSERT_FALSE(clean.counts.isEmpty()) << "the fault library was not loaded: " << qPrintable(clean.error);
    const QString cleanVerdict = Verdict(Operation(op, QString()), clean);
    if (!cleanVerdict.isEmpty())
        faults << QStringLiteral("without a failure: ") + cleanVerdict;
    for (const QString& call : kCalls) {
        const int points = clean.counts.value(call);
        for (int n = 1; n <= points; ++n) {
            const Outcome o = RunOnce(op, call, n);
            const QString verdict = o.fired ? Verdict(Operation(op, QString()), o) : QStringLiteral("no call failed");
            if (!verdict.isEmpty())
                faults << QStringLiteral("%1 #%2 [%3]: %4").arg(call).arg(n).arg(o.failedCall, verdict);
            (o.messages.isEmpty() ? absorbed : told) += 1;
        }
        row << QString::number(points);
        total += points;
    }
    row << QString::number(total) << QString::number(told) << QString::number(absorbed)
        << QString::number(faults.size());
    std::printf("| %s |\n", qPrintable(row.join(QStringLiteral(" | "))));
    EXPECT_TRUE(faults.isEmpty()) << qPrintable(faults.join(u'\n'));
}

INSTANTIATE_TEST_SUITE_P(Operations, WriteFaults, testing::ValuesIn(kOperations.begin(), kOperations.end()),
                         [](const testing::TestParamInfo<QString>& info) {
                             return QString(info.param).replace(u'-', u'_').toStdString();
                         });

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
