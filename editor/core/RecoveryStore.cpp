#include "RecoveryStore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QStandardPaths>
#include <QThreadPool>
#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "RecoveryFiles.h"

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
    m_nStarted = QDateTime::currentMSecsSinceEpoch();
    m_strSession = QStringLiteral("%1-%2").arg(getpid()).arg(m_nStarted);
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

QString CRecoveryStore::BackupFolder() const
{
    return QDir(m_strFolder).filePath(QStringLiteral("backups"));
}

bool CRecoveryStore::Open()
{
    if (m_bOpen)
        return true;
    if (!QDir().mkpath(m_strFolder) || !QDir().mkpath(BackupFolder()))
        return false;
    // Private to this user; a folder that is a link is used as it is, its
    // target's mode left alone.
    const int dir = ::open(QFile::encodeName(m_strFolder).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dir >= 0) {
        struct stat st {};
        if (::fstat(dir, &st) == 0 && st.st_uid == ::geteuid() && (st.st_mode & 077) != 0)
            ::fchmod(dir, 0700);
        ::close(dir);
    }
    m_pLock = std::make_unique<QLockFile>(QDir(m_strFolder).filePath(m_strSession + kLockSuffix));
    m_pLock->setStaleLockTime(0);
    m_bOpen = m_pLock->tryLock(0);
    if (!m_bOpen)
        m_pLock.reset();
    return m_bOpen;
}

QString CRecoveryStore::FileFor(int id) const
{
    return QDir(m_strFolder).filePath(QStringLiteral("%1-%2%3").arg(m_strSession).arg(id).arg(kSuffix));
}

void CRecoveryStore::Write(int id, const CRecoveredText& entry)
{
    if (!m_bOpen)
        return;
    const QString file = FileFor(id);
    m_pWriter->start([file, head = EncodeHeader(entry, entry.text.size()), text = entry.text,
                      observer = m_writeObserver] {
        const bool written = RecoveryFiles::WriteWhole(file, {head, text});
        if (observer)
            observer(written);
    });
}

void CRecoveryStore::Remove(int id)
{
    if (!m_bOpen)
        return;
    const QString file = FileFor(id);
    m_pWriter->start([file] { QFile::remove(file); });
}

void CRecoveryStore::Adopt(int id, const CRecoveredText& entry)
{
    if (!m_bOpen || entry.strFile.isEmpty())
        return;
    const QString file = FileFor(id);
    m_pWriter->start([file, from = entry.strFile] {
        ::rename(QFile::encodeName(from).constData(), QFile::encodeName(file).constData());
    });
}

void CRecoveryStore::Flush()
{
    m_pWriter->waitForDone();
}

void CRecoveryStore::CloseSession()
{
    Flush();
    if (!m_bOpen)
        return;
    const QDir dir(m_strFolder);
    for (const QString& name : RecoveryFiles::RegularFiles(m_strFolder)) {
        const auto parsed = RecoveryFiles::Parse(name, kSuffix);
        if (parsed && parsed->session == m_strSession)
            QFile::remove(dir.filePath(name));
    }
    m_pLock.reset();   // unlocks and removes the lock file
    m_takenLocks.clear(); // and those of the dead sessions taken over
    m_bOpen = false;
}

QList<CRecoveredText> CRecoveryStore::TakeOrphans(QList<SaveJournal::Record>* saves)
{
    QList<CRecoveredText> found;
    const QDir dir(m_strFolder), backups(BackupFolder());
    // Every name is parsed exactly: "<session>-<id>.qrec" copies,
    // "<session>.lock" locks, "<session>-<n>.save" records of saves, and the
    // temporary files of copies and records cut short ("<name>.XXXXXX"): a
    // session killed before its first copy was through has only the last
    // ones. Anything else, or anything that is not a regular file, is not ours.
    struct Files
    {
        QStringList copies, temporaries, records;
    };
    QMap<QString, Files> sessions;
    const auto sort = [&](const QDir& folder, const QString& suffix, QStringList Files::*whole) {
        for (const QString& name : RecoveryFiles::RegularFiles(folder.path())) {
            if (const auto parsed = RecoveryFiles::Parse(name, suffix)) {
                (sessions[parsed->session].*whole) << folder.filePath(name);
            } else if (const auto cut = RecoveryFiles::Parse(name.chopped(std::min<qsizetype>(7, name.size())), suffix);
                       cut && RecoveryFiles::IsTemporaryOf(name, name.chopped(7))) {
                sessions[cut->session].temporaries << folder.filePath(name);
            } else if (folder == dir && name.endsWith(kLockSuffix) &&
                       RecoveryFiles::IsSession(QStringView(name).chopped(kLockSuffix.size()))) {
                sessions[name.chopped(kLockSuffix.size())];
            }
        }
    };
    sort(dir, kSuffix, &Files::copies);
    sort(backups, SaveJournal::kSuffix.toString(), &Files::records);
    for (auto it = sessions.cbegin(); it != sessions.cend(); ++it) {
        if (it.key() == m_strSession)
            continue;
        // A live editor holds its session's lock; a dead one's lock is stale
        // (or gone) and passes to us, so no other editor takes the same copies.
        auto lock = std::make_shared<QLockFile>(dir.filePath(it.key() + kLockSuffix));
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            continue;
        for (const QString& file : it->temporaries)
            QFile::remove(file);
        const qsizetype before = found.size();
        bool kept = false;
        for (const QString& file : it->copies) {
            const int fd = RecoveryFiles::OpenRegular(file);
            if (fd < 0)
                continue;
            const std::optional<RecoveryFiles::Header> head = RecoveryFiles::ReadHeader(fd, kMagic);
            ::close(fd);
            CRecoveredText entry;
            // A copy cut short (a crash while it was written) is no copy.
            if (!head || head->Value("length") != QByteArray::number(head->bodySize))
                continue;
            entry.strFile = file;
            entry.strPath = QUrl::fromPercentEncoding(head->Value("path"));
            entry.strTitle = QUrl::fromPercentEncoding(head->Value("title"));
            entry.nEncoding = head->Value("encoding").toInt();
            entry.nLineBreak = head->Value("linebreak").toInt();
            entry.nOffers = head->Value("offers").toInt();
            entry.nTextOffset = head->bodyOffset;
            entry.nTextSize = head->bodySize;
            found << entry;
        }
        for (const QString& file : it->records) {
            const std::optional<SaveJournal::Record> record = SaveJournal::Read(file);
            if (record && !record->bInPlace)
                SaveJournal::RemoveTemporaries(record->strPath, m_nStarted);
            // A save in place cut off leaves the file holding neither version:
            // the old one is offered from the record, which stays until then.
            if (record && record->bInPlace && saves && SaveJournal::StateOf(*record) == SaveJournal::State::Neither) {
                *saves << *record;
                kept = true;
            } else if (saves || !record || !record->bInPlace) {
                QFile::remove(file);
            } else {
                kept = true;
            }
        }
        // A session with nothing to offer goes with its lock.
        if (found.size() > before || kept)
            m_takenLocks << lock;
    }
    return found;
}

bool CRecoveryStore::ReadText(const CRecoveredText& entry, const std::function<bool(const char*, qint64)>& sink)
{
    if (entry.strFile.isEmpty())
        return sink(entry.text.constData(), entry.text.size());
    const int fd = RecoveryFiles::OpenRegular(entry.strFile);
    if (fd < 0)
        return false;
    struct stat st {};
    const bool ok = ::fstat(fd, &st) == 0 && st.st_size == entry.nTextOffset + entry.nTextSize &&
                    RecoveryFiles::ReadBody(fd, entry.nTextOffset, entry.nTextSize, sink);
    ::close(fd);
    return ok;
}

QByteArray CRecoveryStore::ReadText(const CRecoveredText& entry)
{
    QByteArray text;
    text.reserve(static_cast<qsizetype>(entry.strFile.isEmpty() ? entry.text.size() : entry.nTextSize));
    if (!ReadText(entry, [&](const char* p, qint64 n) { text.append(p, static_cast<qsizetype>(n)); return true; }))
        return QByteArray();
    return text;
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
        // The text is copied over in pieces, never read whole.
        RecoveryFiles::RewriteHeader(entry.strFile, EncodeHeader(entry, entry.nTextSize), entry.nTextOffset,
                                     entry.nTextSize);
    }
}

QByteArray CRecoveryStore::Encode(const CRecoveredText& e)
{
    return EncodeHeader(e, e.text.size()) + e.text;
}

QByteArray CRecoveryStore::EncodeHeader(const CRecoveredText& e, qint64 textSize)
{
    QByteArray head = kMagic;
    head += "path: " + QUrl::toPercentEncoding(e.strPath) + '\n';
    head += "title: " + QUrl::toPercentEncoding(e.strTitle) + '\n';
    head += "encoding: " + QByteArray::number(e.nEncoding) + '\n';
    head += "linebreak: " + QByteArray::number(e.nLineBreak) + '\n';
    head += "offers: " + QByteArray::number(e.nOffers) + '\n';
    head += "length: " + QByteArray::number(textSize) + "\n\n";
    return head;
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
