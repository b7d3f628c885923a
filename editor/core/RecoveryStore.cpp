#include "RecoveryStore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QStandardPaths>
#include <QThreadPool>
#include <QUrl>

#include <unistd.h>

#include "FileSave.h"

namespace {
const QByteArray kMagic = "QUILLET-RECOVERY 1\n";
const QString kSuffix = QStringLiteral(".qrec");
const QString kLockSuffix = QStringLiteral(".lock");
// A copy offered at this many starts and refused each time is given up.
constexpr int kMaxOffers = 2;
}

CRecoveryStore::CRecoveryStore(const QString& folder)
    : m_strFolder(folder.isEmpty() ? DefaultFolder() : folder), m_pWriter(std::make_unique<QThreadPool>())
{
    m_pWriter->setMaxThreadCount(1);   // one writer keeps the writes in order
}

CRecoveryStore::~CRecoveryStore()
{
    Flush();
}

QString CRecoveryStore::DefaultFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty())
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/quillet/recovery");
}

bool CRecoveryStore::Open()
{
    if (!QDir().mkpath(m_strFolder))
        return false;
    QFile::setPermissions(m_strFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_strSession = QStringLiteral("%1-%2").arg(getpid()).arg(QDateTime::currentMSecsSinceEpoch());
    m_pLock = std::make_unique<QLockFile>(QDir(m_strFolder).filePath(m_strSession + kLockSuffix));
    m_pLock->setStaleLockTime(0);
    return m_pLock->tryLock(0);
}

QString CRecoveryStore::FileFor(int id) const
{
    return QDir(m_strFolder).filePath(QStringLiteral("%1-%2%3").arg(m_strSession).arg(id).arg(kSuffix));
}

void CRecoveryStore::Write(int id, const CRecoveredText& entry)
{
    if (m_strSession.isEmpty())
        return;
    const QString file = FileFor(id);
    QByteArray bytes = Encode(entry);
    m_pWriter->start([file, bytes = std::move(bytes), observer = m_writeObserver] {
        QSaveFile out(file);
        // Only this user reads the copies.
        const bool written = out.open(QIODevice::WriteOnly) &&
                             out.setPermissions(QFile::ReadOwner | QFile::WriteOwner) &&
                             out.write(bytes) == bytes.size() && FileSave::Commit(out);
        if (!written)
            out.cancelWriting();
        if (observer)
            observer(written);
    });
}

void CRecoveryStore::Remove(int id)
{
    if (m_strSession.isEmpty())
        return;
    const QString file = FileFor(id);
    m_pWriter->start([file] { QFile::remove(file); });
}

void CRecoveryStore::Flush()
{
    m_pWriter->waitForDone();
}

void CRecoveryStore::CloseSession()
{
    Flush();
    if (m_strSession.isEmpty())
        return;
    const QDir dir(m_strFolder);
    for (const QString& name : dir.entryList({m_strSession + QStringLiteral("-*") + kSuffix}, QDir::Files))
        QFile::remove(dir.filePath(name));
    m_pLock.reset();   // unlocks and removes the lock file
    m_takenLocks.clear(); // and those of the dead sessions taken over
    m_strSession.clear();
}

QList<CRecoveredText> CRecoveryStore::TakeOrphans()
{
    QList<CRecoveredText> found;
    const QDir dir(m_strFolder);
    // Sessions by their copies, their locks and the temporary files of
    // copies cut short ("<session>-<id>.qrec.XXXXXX"): a session killed
    // before its first copy was through has only the last two.
    QSet<QString> sessions;
    const QString copies = QStringLiteral("*") + kSuffix, unfinished = copies + QStringLiteral(".*");
    for (const QString& name : dir.entryList({copies, unfinished}, QDir::Files | QDir::Hidden)) {
        const QString copy = name.left(name.indexOf(kSuffix));
        const qsizetype dash = copy.lastIndexOf(u'-');
        if (dash > 0)
            sessions.insert(copy.left(dash));
    }
    for (const QString& name : dir.entryList({QStringLiteral("*") + kLockSuffix}, QDir::Files | QDir::Hidden))
        sessions.insert(name.chopped(kLockSuffix.size()));
    for (const QString& session : std::as_const(sessions)) {
        if (session == m_strSession)
            continue;
        // A live editor holds its session's lock; a dead one's lock is stale
        // (or gone) and passes to us, so no other editor takes the same copies.
        auto lock = std::make_shared<QLockFile>(dir.filePath(session + kLockSuffix));
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            continue;
        const QString prefix = session + QStringLiteral("-*") + kSuffix;
        for (const QString& name : dir.entryList({prefix + QStringLiteral(".*")}, QDir::Files | QDir::Hidden))
            QFile::remove(dir.filePath(name));
        const qsizetype before = found.size();
        for (const QString& name : dir.entryList({prefix}, QDir::Files)) {
            QFile f(dir.filePath(name));
            CRecoveredText entry;
            if (f.open(QIODevice::ReadOnly) && Decode(f.readAll(), entry)) {
                entry.strFile = f.fileName();
                found << entry;
            }
        }
        // A session with nothing to offer goes with its lock.
        if (found.size() > before)
            m_takenLocks << lock;
    }
    return found;
}

void CRecoveryStore::Discard(const CRecoveredText& entry)
{
    QFile::remove(entry.strFile);
}

void CRecoveryStore::Decline(const QList<CRecoveredText>& entries)
{
    for (CRecoveredText entry : entries) {
        if (++entry.nOffers >= kMaxOffers) {
            Discard(entry);
            continue;
        }
        QSaveFile out(entry.strFile);
        if (!out.open(QIODevice::WriteOnly) || out.write(Encode(entry)) < 0 || !FileSave::Commit(out))
            out.cancelWriting();
    }
}

QByteArray CRecoveryStore::Encode(const CRecoveredText& e)
{
    QByteArray head = kMagic;
    head += "path: " + QUrl::toPercentEncoding(e.strPath) + '\n';
    head += "title: " + QUrl::toPercentEncoding(e.strTitle) + '\n';
    head += "encoding: " + QByteArray::number(e.nEncoding) + '\n';
    head += "linebreak: " + QByteArray::number(e.nLineBreak) + '\n';
    head += "offers: " + QByteArray::number(e.nOffers) + '\n';
    head += "length: " + QByteArray::number(e.text.size()) + "\n\n";
    return head + e.text;
}

bool CRecoveryStore::Decode(const QByteArray& bytes, CRecoveredText& e)
{
    if (!bytes.startsWith(kMagic))
        return false;
    const qsizetype end = bytes.indexOf("\n\n", kMagic.size() - 1);
    if (end < 0)
        return false;
    qint64 length = -1;
    for (const QByteArray& line : bytes.mid(kMagic.size(), end - kMagic.size()).split('\n')) {
        const qsizetype colon = line.indexOf(": ");
        if (colon < 0)
            continue;
        const QByteArray key = line.left(colon), value = line.mid(colon + 2);
        if (key == "path")
            e.strPath = QUrl::fromPercentEncoding(value);
        else if (key == "title")
            e.strTitle = QUrl::fromPercentEncoding(value);
        else if (key == "encoding")
            e.nEncoding = value.toInt();
        else if (key == "linebreak")
            e.nLineBreak = value.toInt();
        else if (key == "offers")
            e.nOffers = value.toInt();
        else if (key == "length")
            length = value.toLongLong();
    }
    e.text = bytes.mid(end + 2);
    // A copy cut short (a crash while it was written) is no copy.
    return length == e.text.size();
}
