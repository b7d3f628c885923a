// Unsaved work kept across crashes, kills and logouts: the recovery folder
// for this run, the offer of what an earlier run left, and SIGTERM/SIGHUP
// turned into an orderly exit that keeps every unsaved text.
#pragma once

#include <QObject>
#include <memory>

#include "core/RecoveryStore.h"

class CDocTemplate;
class QSocketNotifier;
class QWidget;

class CCrashRecovery : public QObject
{
    Q_OBJECT
public:
    CCrashRecovery(CDocTemplate* docTemplate, const QString& folder, QObject* parent);
    ~CCrashRecovery() override;

    // Takes this run's session and starts the documents' copies; catches
    // SIGTERM and SIGHUP. False when the folder cannot be used (the editor
    // then runs without copies).
    bool Start();
    CRecoveryStore* Store() const { return m_pStore.get(); }

    // Offers what runs that ended without closing left behind; returns how
    // many documents were restored.
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
    // Says once that copies cannot be written, until one is written again.
    void OnCopyWritten(bool written);

    CDocTemplate* m_pDocTemplate;
    std::unique_ptr<CRecoveryStore> m_pStore;
    QSocketNotifier* m_pNotifier = nullptr;
    bool m_bToldCopyFailed = false;
};
