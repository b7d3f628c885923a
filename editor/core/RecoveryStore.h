// The recovery folder: copies of modified documents written while the user
// works, so that a crash, a kill or a power cut loses nothing typed. Each
// running editor writes under its own session, held by a lock file; the
// copies of a session whose editor is gone are offered at the next start.
#pragma once

#include <QByteArray>
#include <QList>
#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>

#include "SaveJournal.h"

class QThreadPool;

struct CRecoveredText
{
    QString strFile;        // the copy in the recovery folder
    QString strPath;        // the document's own file; empty for an untitled one
    QString strTitle;       // its title when it was written
    int nEncoding = 0;      // FileEncoding::Kind
    int nLineBreak = 0;     // FileEncoding::LineBreak
    int nOffers = 0;        // how many starts have offered it already
    QByteArray text;        // UTF-8, as the editor held it; for a copy taken
                            // from the folder it stays on disk (ReadText)
    qint64 nTextOffset = 0; // where the text starts in the copy
    qint64 nTextSize = 0;
};

class CRecoveryStore
{
public:
    // folder: where copies go; empty for $XDG_STATE_HOME/quillet/recovery
    // (~/.local/state/quillet/recovery).
    explicit CRecoveryStore(const QString& folder = QString());
    ~CRecoveryStore();

    static QString DefaultFolder();
    QString Folder() const { return m_strFolder; }
    // Where saves in place keep the old content (FileSave::SetBackupFolder).
    QString BackupFolder() const;
    // This editor's session, "<pid>-<msecs>", named before it is open.
    QString Session() const { return m_strSession; }
    // Takes this editor's session; false when the folder cannot be used (it
    // may be tried again later).
    bool Open();
    bool IsOpen() const { return m_bOpen; }

    // Writes (atomically, in the background, in order) the copy of document id.
    void Write(int id, const CRecoveredText& entry);
    // Called on the writer's thread after every copy: whether it is on the
    // disk whole (when not, the copy before it stays).
    void SetWriteObserver(std::function<void(bool written)> observer) { m_writeObserver = std::move(observer); }
    // Removes the copy of document id (after the writes before it).
    void Remove(int id);
    // Waits for the background writes.
    void Flush();
    // A clean exit: this session's copies and lock go, and the locks taken over.
    void CloseSession();

    // The copies of sessions whose editors are gone (their locks are taken
    // over, so a second editor running meanwhile never sees them); their
    // headers only, the text stays on disk. saves: the saves in place they
    // left cut off (the file holds neither version whole); the rest of what
    // they left (temporary files, records of saves that are done) goes.
    QList<CRecoveredText> TakeOrphans(QList<SaveJournal::Record>* saves = nullptr);
    // The text of a copy TakeOrphans found, in pieces handed to sink; false
    // when it cannot be read whole.
    static bool ReadText(const CRecoveredText& entry, const std::function<bool(const char*, qint64)>& sink);
    static QByteArray ReadText(const CRecoveredText& entry);
    // Makes a taken copy the one of document id, as it is (nothing is read).
    void Adopt(int id, const CRecoveredText& entry);
    // Deletes a copy that was restored or given up.
    static void Discard(const CRecoveredText& entry);
    // Marks copies as offered once more (the user said no); copies offered
    // twice are deleted instead.
    static void Decline(const QList<CRecoveredText>& entries);

    static QByteArray Encode(const CRecoveredText& entry);
    static bool Decode(const QByteArray& bytes, CRecoveredText& entry);

private:
    QString FileFor(int id) const;
    static QByteArray EncodeHeader(const CRecoveredText& entry, qint64 textSize);

    QString m_strFolder;
    QString m_strSession;
    qint64 m_nStarted = 0;
    bool m_bOpen = false;
    std::unique_ptr<QLockFile> m_pLock;
    std::unique_ptr<QThreadPool> m_pWriter;
    std::function<void(bool)> m_writeObserver;
    QList<std::shared_ptr<QLockFile>> m_takenLocks;
};
