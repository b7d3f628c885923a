// Unsaved work kept across crashes, kills and logouts: the recovery folder
// for this run, the offer of what an earlier run left, and SIGTERM/SIGHUP
// turned into an orderly exit that keeps every unsaved text.
#pragma once

#include <QObject>
#include <memory>

#include "core/RecoveryStore.h"

class CDocTemplate;
class QSocketNotifier;
class QTimer;
class QWidget;

class CCrashRecovery : public QObject
{
    Q_OBJECT
public:
    CCrashRecovery(CDocTemplate* docTemplate, const QString& folder, QObject* parent);
    ~CCrashRecovery() override;

    // Takes this run's session and starts the documents' copies; catches
    // SIGTERM and SIGHUP. False when the folder cannot be used (a full disk,
    // say): the folder is then tried again every kRetryMs and before the
    // copies a signal asks for, and saves in place are refused meanwhile
    // (their old content cannot be copied).
    bool Start();
    // Tries the folder again; true when the copies are on (every modified
    // document's copy is then written).
    bool Retry();
    static constexpr int kRetryMs = 30000;
    CRecoveryStore* Store() const { return m_pStore.get(); }

    // Offers what runs that ended without closing left behind: saves in
    // place cut off (the file's old content put back), then the unsaved
    // texts; returns how many documents were restored. Says first, once,
    // when the folder cannot be used.
    int OfferOrphans(QWidget* parent);

    // Every modified document's copy written now, and waited for.
    void WriteAll();
    // A clean exit: this run's copies go.
    void CleanExit();

signals:
    // SIGTERM or SIGHUP arrived; the copies are written already.
    void terminationRequested();

private:
    void OnSignal();
    void OfferCutSaves(QWidget* parent, const QList<SaveJournal::Record>& saves);
    // Says once that copies cannot be written, until one is written again.
    void OnCopyWritten(bool written);

    CDocTemplate* m_pDocTemplate;
    std::unique_ptr<CRecoveryStore> m_pStore;
    QSocketNotifier* m_pNotifier = nullptr;
    QTimer* m_pRetry = nullptr;
    bool m_bWarned = false;
    bool m_bToldCopyFailed = false;
};
