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

class QThreadPool;

struct CRecoveredText
{
    QString strFile;        // the copy in the recovery folder
    QString strPath;        // the document's own file; empty for an untitled one
    QString strTitle;       // its title when it was written
    int nEncoding = 0;      // FileEncoding::Kind
    int nLineBreak = 0;     // FileEncoding::LineBreak
    int nOffers = 0;        // how many starts have offered it already
    QByteArray text;        // UTF-8, as the editor held it
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
    // Takes this editor's session; false when the folder cannot be used.
    bool Open();

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
    // over, so a second editor running meanwhile never sees them).
    QList<CRecoveredText> TakeOrphans();
    // Deletes a copy that was restored or given up.
    static void Discard(const CRecoveredText& entry);
    // Marks copies as offered once more (the user said no); copies offered
    // twice are deleted instead.
    static void Decline(const QList<CRecoveredText>& entries);

    static QByteArray Encode(const CRecoveredText& entry);
    static bool Decode(const QByteArray& bytes, CRecoveredText& entry);

private:
    QString FileFor(int id) const;

    QString m_strFolder;
    QString m_strSession;
    std::unique_ptr<QLockFile> m_pLock;
    std::unique_ptr<QThreadPool> m_pWriter;
    std::function<void(bool)> m_writeObserver;
    QList<std::shared_ptr<QLockFile>> m_takenLocks;
};
