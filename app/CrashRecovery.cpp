#include "CrashRecovery.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include "DocTemplate.h"
#include "QuilletDoc.h"
#include "UserPrompt.h"
#include "core/FileSave.h"

namespace {
// The signal handler may only write to a descriptor; the event loop reads
// the other end.
int g_signalFds[2] = {-1, -1};

void OnTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(g_signalFds[0], &byte, 1);
}
} // namespace

CCrashRecovery::CCrashRecovery(CDocTemplate* docTemplate, const QString& folder, QObject* parent)
    : QObject(parent), m_pDocTemplate(docTemplate), m_pStore(std::make_unique<CRecoveryStore>(folder))
{
}

CCrashRecovery::~CCrashRecovery()
{
    CQuilletDoc::SetRecoveryStore(nullptr);
    m_pStore->Flush();
}

bool CCrashRecovery::Start()
{
    if (g_signalFds[0] < 0 && socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalFds) == 0) {
        m_pNotifier = new QSocketNotifier(g_signalFds[1], QSocketNotifier::Read, this);
        connect(m_pNotifier, &QSocketNotifier::activated, this, &CCrashRecovery::OnSignal);
        struct sigaction action {};
        action.sa_handler = OnTerminationSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &action, nullptr);
        sigaction(SIGHUP, &action, nullptr);
    }
    // A file saved in place has its old content copied here first; a save
    // whose copy cannot be written is refused.
    FileSave::SetBackupFolder(m_pStore->BackupFolder(), m_pStore->Session());
    if (Retry())
        return true;
    if (!m_pRetry) {
        m_pRetry = new QTimer(this);
        connect(m_pRetry, &QTimer::timeout, this, &CCrashRecovery::Retry);
        m_pRetry->start(kRetryMs);
    }
    return false;
}

bool CCrashRecovery::Retry()
{
    if (!m_pStore->Open())
        return false;
    m_pStore->SetWriteObserver([this](bool written) {
        QMetaObject::invokeMethod(this, [this, written] { OnCopyWritten(written); }, Qt::QueuedConnection);
    });
    CQuilletDoc::SetRecoveryStore(m_pStore.get());
    if (m_pRetry) {
        // What was typed while the folder could not be used is copied now.
        delete m_pRetry;
        m_pRetry = nullptr;
        WriteAll();
    }
    return true;
}

void CCrashRecovery::OnSignal()
{
    char byte = 0;
    [[maybe_unused]] const ssize_t n = read(g_signalFds[1], &byte, 1);
    Retry();
    WriteAll();
    // From here on nothing removes a copy: they are for the next start.
    CQuilletDoc::SetRecoveryStore(nullptr);
    emit terminationRequested();
}

void CCrashRecovery::OnCopyWritten(bool written)
{
    if (written || m_bToldCopyFailed) {
        m_bToldCopyFailed = !written;
        return;
    }
    m_bToldCopyFailed = true;
    UserPrompt::ShowMessage(nullptr, QStringLiteral("无法写入恢复文件夹 %1：未保存的改动暂时没有副本，"
                                                    "程序意外退出时可能丢失。")
                                         .arg(QDir::toNativeSeparators(m_pStore->Folder())));
}

void CCrashRecovery::WriteAll()
{
    for (CQuilletDoc* doc : m_pDocTemplate->Documents())
        if (doc->IsModified())
            doc->WriteRecovery();
    m_pStore->Flush();
}

void CCrashRecovery::CleanExit()
{
    CQuilletDoc::SetRecoveryStore(nullptr);
    m_pStore->CloseSession();
}

void CCrashRecovery::OfferCutSaves(QWidget* parent, const QList<SaveJournal::Record>& saves)
{
    for (const SaveJournal::Record& save : saves) {
        const QString name = QDir::toNativeSeparators(save.strPath);
        if (!UserPrompt::AskYesNo(parent, QStringLiteral("保存 %1 时被中断。是否用保存前的内容恢复？").arg(name))) {
            SaveJournal::Decline(save);
            continue;
        }
        // The record goes only once the file holds the old content again.
        if (SaveJournal::PutBackOld(save))
            QFile::remove(save.strFile);
        else
            UserPrompt::ShowMessage(parent, QStringLiteral("无法恢复 %1。保存前的内容仍在 %2。")
                                                .arg(name, QDir::toNativeSeparators(save.strFile)));
    }
}

int CCrashRecovery::OfferOrphans(QWidget* parent)
{
    if (!m_pStore->IsOpen() && !m_bWarned) {
        m_bWarned = true;
        UserPrompt::ShowMessage(parent, QStringLiteral("无法使用恢复文件夹 %1（磁盘可能已满）。在此之前，未保存的改动在程序意外退出时"
                                                       "无法得到保护，原处保存的文件也无法先备份。稍后会自动重试。")
                                            .arg(QDir::toNativeSeparators(m_pStore->Folder())));
    }
    QList<SaveJournal::Record> saves;
    const QList<CRecoveredText> orphans = m_pStore->TakeOrphans(&saves);
    // The files first: a text restored below is then compared with the
    // file as it is again.
    OfferCutSaves(parent, saves);
    if (orphans.isEmpty())
        return 0;
    const QString question =
        QStringLiteral("上次没有正常退出，有 %1 个未保存的文档可以恢复。是否恢复？").arg(orphans.size());
    if (!UserPrompt::AskYesNo(parent, question)) {
        CRecoveryStore::Decline(orphans);
        UserPrompt::ShowMessage(parent,
                                QStringLiteral("未恢复的文档保存在 %1，下次启动时会再问一次。")
                                    .arg(QDir::toNativeSeparators(m_pStore->Folder())),
                                QMessageBox::Information);
        return 0;
    }
    int restored = 0;
    for (const CRecoveredText& entry : orphans) {
        // A file already open and unchanged takes the text; otherwise it gets
        // a window of its own.
        CQuilletDoc* doc = entry.strPath.isEmpty() ? nullptr : m_pDocTemplate->FindDocument(entry.strPath);
        if (doc && doc->IsModified())
            doc = nullptr;
        if (!doc)
            doc = m_pDocTemplate->NewDocument();
        if (!doc)
            continue;
        // The copy becomes the document's own (or stays where it is when it
        // cannot be read or the folder cannot be used).
        if (doc->Restore(entry))
            ++restored;
        else
            UserPrompt::ShowMessage(parent, QStringLiteral("无法读取 %1。").arg(QDir::toNativeSeparators(entry.strFile)));
    }
    return restored;
}
