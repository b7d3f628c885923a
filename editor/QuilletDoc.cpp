#include "QuilletDoc.h"

#include "LargeFileLoad.h"

#include <algorithm>
#include <utility>

#include <QDir>
#include <QFile>
#include <QDateTime>
#include <QFileInfo>
#include <QSettings>
#include <QTimer>

#include "CodeEditCtrl.h"
#include "CommandIds.h"
#include "DocTemplate.h"
#include "EditorHost.h"
#include "LargeFileLoad.h"
#include "QuilletView.h"
#include "SettingsValue.h"
#include "UserPrompt.h"
#include "core/DialogFolder.h"
#include "core/FileSave.h"
#include "core/RecoveryStore.h"

namespace {
CRecoveryStore* g_pRecovery = nullptr;
constexpr int kDefaultRecoverySeconds = 5;
int g_nRecoveryDelayMs = kDefaultRecoverySeconds * 1000;
int g_nNextRecoveryId = 1;
// However long the typing goes on, a copy is at most this old.
constexpr qint64 kMaxRecoveryAgeMs = 30000;
}

CQuilletDoc::CQuilletDoc(CDocTemplate* docTemplate) : m_pTemplate(docTemplate), m_nRecoveryId(g_nNextRecoveryId++)
{
    Commands().On(Cmd::FileSave, [this] { DoFileSave(); });
    Commands().On(Cmd::FileSaveAs, [this] { DoSave(); });
    Commands().On(Cmd::FileClose, [this] { OnFileClose(); });
}

CQuilletDoc::~CQuilletDoc() = default;

void CQuilletDoc::SetTitle(const QString& title)
{
    m_strTitle = title;
    emit titleChanged();
}

void CQuilletDoc::SetPathName(const QString& path)
{
    m_strPathName = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(path).fileName());
}

CCodeEditCtrl* CQuilletDoc::Editor() const
{
    return m_views.isEmpty() ? nullptr : m_views.constFirst()->Editor();
}

bool CQuilletDoc::IsModified() const
{
    const CCodeEditCtrl* editor = Editor();
    return m_bForcedModified || (editor && editor->isModified());
}

void CQuilletDoc::SetModifiedFlag(bool modified)
{
    const bool was = IsModified();
    m_bForcedModified = modified;
    if (!modified) {
        if (CCodeEditCtrl* editor = Editor())
            editor->setModified(false);   // the text as it is now is the saved state
    }
    if (IsModified() != was)
        emit modifiedChanged(IsModified());
}

void CQuilletDoc::SetRecoveryStore(CRecoveryStore* store)
{
    g_pRecovery = store;
    if (store)
        g_nRecoveryDelayMs =
            1000 * std::clamp(SettingsValue::ToInt(QSettings().value(QStringLiteral("Settings/RecoverySeconds")),
                                                   kDefaultRecoverySeconds),
                              1, 30);
}

int CQuilletDoc::RecoveryDelayMs()
{
    return g_nRecoveryDelayMs;
}

void CQuilletDoc::ScheduleRecovery()
{
    if (!g_pRecovery || m_bClosing)
        return;
    if (!m_pRecoveryTimer) {
        m_pRecoveryTimer = new QTimer(this);
        m_pRecoveryTimer->setSingleShot(true);
        connect(m_pRecoveryTimer, &QTimer::timeout, this, &CQuilletDoc::WriteRecovery);
    }
    // A few seconds after the typing stops.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (m_nLastRecoveryWrite == 0)
        m_nLastRecoveryWrite = now;
    const qint64 left = kMaxRecoveryAgeMs - (now - m_nLastRecoveryWrite);
    m_pRecoveryTimer->start(static_cast<int>(std::clamp<qint64>(left, 0, g_nRecoveryDelayMs)));
}

void CQuilletDoc::WriteRecovery()
{
    if (!g_pRecovery)
        return;
    m_nLastRecoveryWrite = QDateTime::currentMSecsSinceEpoch();
    CCodeEditCtrl* editor = Editor();
    if (!editor || !IsModified()) {
        g_pRecovery->Remove(m_nRecoveryId);
        return;
    }
    CRecoveredText entry;
    entry.strPath = m_strPathName;
    entry.strTitle = m_strTitle;
    entry.nEncoding = static_cast<int>(m_format.kind);
    entry.nLineBreak = static_cast<int>(m_format.lineBreak);
    entry.text = editor->WholeText();
    g_pRecovery->Write(m_nRecoveryId, entry);
}

bool CQuilletDoc::Restore(const CRecoveredText& recovered)
{
    CCodeEditCtrl* editor = Editor();
    if (!editor)
        return false;
    const bool fromFile = !recovered.strFile.isEmpty();
    if (fromFile) {
        const bool read = editor->SetWholeText(recovered.nTextSize, [&](const CCodeEditCtrl::PieceSink& sink) {
            return CRecoveryStore::ReadText(recovered, sink);
        });
        if (!read) {
            editor->SetWholeText(QByteArray());
            return false;
        }
    } else {
        editor->SetWholeText(recovered.text);
    }
    m_format.kind = static_cast<FileEncoding::Kind>(std::clamp(recovered.nEncoding, 0, 3));
    m_format.lineBreak = static_cast<FileEncoding::LineBreak>(std::clamp(recovered.nLineBreak, 0, 2));
    ApplyLineBreak();
    emit formatChanged();
    if (!recovered.strPath.isEmpty()) {
        SetPathName(recovered.strPath);
        m_diskStamp = m_seenStamp = CDiskStamp::Of(m_strPathName);
    }
    SetModifiedFlag(true);
    EditorHost::Recolour(editor);
    // The copy on disk holds this text already: it is taken over as it is
    // rather than written again.
    if (m_pRecoveryTimer)
        m_pRecoveryTimer->stop();
    m_nLastRecoveryWrite = QDateTime::currentMSecsSinceEpoch();
    if (fromFile && g_pRecovery && g_pRecovery->IsOpen())
        g_pRecovery->Adopt(m_nRecoveryId, recovered);
    else
        WriteRecovery();
    return true;
}

void CQuilletDoc::AddView(CQuilletView* view)
{
    m_views << view;
    connect(view->Editor(), &QsciScintilla::textChanged, this, &CQuilletDoc::ScheduleRecovery);
    connect(view->Editor(), &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int, int type, const char*, int, int, int, int, int, int, int) {
                if (type & (QsciScintillaBase::SC_PERFORMED_UNDO | QsciScintillaBase::SC_PERFORMED_REDO))
                    m_bUndoneOrRedone = true;
            });
    connect(view->Editor(), &QsciScintilla::textChanged, this, [this] {
        if (std::exchange(m_bUndoneOrRedone, false))
            FollowLineBreakOfText();
    });
    connect(view->Editor(), &QsciScintilla::modificationChanged, this,
            [this](bool) { emit modifiedChanged(IsModified()); });
    if (m_views.size() == 1)
        ApplyLineBreak();
}

void CQuilletDoc::RemoveView(CQuilletView* view)
{
    m_views.removeAll(view);
    if (m_views.isEmpty() && m_pTemplate)
        m_pTemplate->RemoveDocument(this);
}

void CQuilletDoc::ApplyLineBreak()
{
    using FileEncoding::LineBreak;
    const auto mode = m_format.lineBreak == LineBreak::CrLf ? QsciScintilla::EolWindows
                      : m_format.lineBreak == LineBreak::Cr ? QsciScintilla::EolMac
                                                            : QsciScintilla::EolUnix;
    for (CQuilletView* view : m_views)
        view->Editor()->setEolMode(mode);
}

bool CQuilletDoc::OnOpenDocument(const QString& path)
{
    if (QFileInfo(path).size() >= LargeFileLoad::Threshold())
        return OpenLarge(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    FileEncoding::Decoded decoded = FileEncoding::Decode(bytes);
    bytes.clear();
    CCodeEditCtrl* editor = Editor();
    if (!editor)
        return false;
    m_format = decoded.format;
    editor->SetWholeText(decoded.text);
    ApplyLineBreak();
    emit formatChanged();
    SetPathName(path);
    m_diskStamp = m_seenStamp = CDiskStamp::Of(m_strPathName);
    SetModifiedFlag(false);
    // A freshly loaded file is coloured at once, a long one on a worker
    // thread while its text is already shown; later changes follow the
    // editor's own trigger.
    constexpr qsizetype kColourLaterBytes = qsizetype{1} << 20;
    if (decoded.text.size() >= kColourLaterBytes)
        EditorHost::ColourLater(editor, decoded.text);
    else
        EditorHost::Recolour(editor);
    return true;
}

bool CQuilletDoc::OpenLarge(const QString& path)
{
    CCodeEditCtrl* editor = Editor();
    if (!editor)
        return false;
    const std::optional<FileEncoding::Format> format = LargeFileLoad::Open(path, editor);
    if (!format)
        return false;
    m_format = *format;
    ApplyLineBreak();
    emit formatChanged();
    SetPathName(path);
    m_diskStamp = m_seenStamp = CDiskStamp::Of(m_strPathName);
    SetModifiedFlag(false);
    return true;
}

bool CQuilletDoc::OnSaveDocument(const QString& path)
{
    CCodeEditCtrl* editor = Editor();
    if (!editor)
        return false;
    const QByteArray text = editor->WholeText();
    FileEncoding::Format format = m_format;
    std::optional<QByteArray> bytes = FileEncoding::Encode(text, format.kind);
    if (!bytes) {
        // The text now holds characters the file's encoding cannot carry:
        // keep every one of them by writing UTF-8 from now on.
        format.kind = FileEncoding::Kind::Utf8;
        bytes = text;
    }
    // A save in place cut off by a kill leaves the file holding neither
    // version; the text being saved is in the recovery folder first, to be
    // offered at the next start with the file's old content.
    if (g_pRecovery && IsModified() && FileSave::WritesInPlace(path)) {
        if (m_pRecoveryTimer)
            m_pRecoveryTimer->stop();
        WriteRecovery();
        g_pRecovery->Flush();
    }
    // A file this user may not write is refused rather than replaced; a
    // save keeps the file's mode, owner, group and links as they were.
    if (!FileSave::Write(path, *bytes))
        return false;
    const bool formatChange = m_format.kind != format.kind;
    m_format = format;
    if (formatChange)
        emit formatChanged();
    SetPathName(path);
    m_diskStamp = m_seenStamp = CDiskStamp::Of(m_strPathName);
    SetModifiedFlag(false);
    if (g_pRecovery)
        g_pRecovery->Remove(m_nRecoveryId);
    return true;
}

bool CQuilletDoc::DoFileSave()
{
    // A file that may not be written is saved under another name.
    if (m_strPathName.isEmpty() || !FileSave::IsWritable(m_strPathName))
        return DoSave();
    return DoSave(m_strPathName);
}

bool CQuilletDoc::DoSave(const QString& pathIn)
{
    QString path = pathIn;
    if (path.isEmpty()) {
        const auto& strings = CDocTemplate::GetStrings();
        // A file is proposed under its own name; an untitled document in the
        // folder last used for opening or saving, or else in home.
        const QString proposed =
            m_strPathName.isEmpty()
                ? QDir(DialogFolder::For(QString())).filePath(m_strTitle + strings.filterExt)
                : m_strPathName;
        path = UserPrompt::GetSaveFileName(FirstView(), QObject::tr("另存为"), proposed,
                                           CDocTemplate::FileDialogFilter(), strings.filterExt);
        if (path.isEmpty())
            return false;
        DialogFolder::Remember(path);
    }
    // Another program's change to the file is never overwritten unasked, even
    // when the user chose to keep this text rather than reload it.
    if (!m_strPathName.isEmpty() && QFileInfo(path).absoluteFilePath() == m_strPathName &&
        WouldOverwriteOutsideChange() &&
        !UserPrompt::Confirm(FirstView(),
                             QStringLiteral("%1\n\n文件在读入或上次保存之后已被其他程序修改。"
                                            "保存将覆盖其他程序所做的改动。")
                                 .arg(QDir::toNativeSeparators(m_strPathName)),
                             QStringLiteral("覆盖")))
        return false;
    const FileEncoding::Kind kind = m_format.kind;
    const bool ontoOwnFile = !m_strPathName.isEmpty() && QFileInfo(path).absoluteFilePath() == m_strPathName &&
                             !WouldOverwriteOutsideChange();
    if (!OnSaveDocument(path)) {
        // A failed save puts the file back as it was: the touch it leaves is
        // this program's, no other program's change.
        if (ontoOwnFile)
            m_diskStamp = m_seenStamp = CDiskStamp::Of(m_strPathName);
        // A file written in place is never overwritten without a copy of
        // its old content: the user has to know why it was not saved.
        UserPrompt::ShowMessage(FirstView(),
                                FileSave::BackupFailed()
                                    ? QStringLiteral("无法在恢复文件夹中备份 %1 保存前的内容（磁盘可能已满），文档没有保存。")
                                          .arg(QDir::toNativeSeparators(path))
                                    : QStringLiteral("保存文档失败。"));
        return false;
    }
    // A page that names its charset, or a server that sends one, now reads
    // the file wrongly: the user has to know.
    if (m_format.kind != kind)
        UserPrompt::ShowMessage(FirstView(), QStringLiteral("文档中有原编码无法表示的字符，已改用 UTF-8 保存。"),
                                QMessageBox::Information);
    if (m_pTemplate)
        emit m_pTemplate->fileUsed(m_strPathName);
    return true;
}

bool CQuilletDoc::HasChangedOnDisk() const
{
    return !m_strPathName.isEmpty() && CDiskStamp::Of(m_strPathName) != m_seenStamp;
}

bool CQuilletDoc::WouldOverwriteOutsideChange() const
{
    if (m_strPathName.isEmpty())
        return false;
    const CDiskStamp now = CDiskStamp::Of(m_strPathName);
    return now.bExists && now != m_diskStamp;
}

bool CQuilletDoc::AskAboutDiskChange()
{
    const CDiskStamp now = CDiskStamp::Of(m_strPathName);
    m_seenStamp = now;
    const QString name = QDir::toNativeSeparators(m_strPathName);
    if (!now.bExists) {
        // Nothing is lost: the text stays open, to be saved again if wanted.
        SetModifiedFlag(true);
        UserPrompt::ShowMessage(FirstView(),
                                QStringLiteral("%1\n\n文件已被其他程序删除。文档仍然打开，其内容尚未保存。").arg(name));
        return false;
    }
    QString question = QStringLiteral("%1\n\n文件已被其他程序修改。是否重新载入？").arg(name);
    if (IsModified())
        question += QStringLiteral("\n重新载入将丢弃尚未保存的改动。");
    if (UserPrompt::AskYesNo(FirstView(), question) && ReadAgainKeepingCaret())
        return true;
    // The text stays as it is; against the file as it now is, it is a change
    // the user still has to save.
    SetModifiedFlag(true);
    return false;
}

bool CQuilletDoc::SaveModified()
{
    if (!IsModified())
        return true;
    const QString name = m_strPathName.isEmpty() ? m_strTitle : m_strPathName;
    switch (UserPrompt::AskYesNoCancel(FirstView(), QStringLiteral("将改动保存到 %1？").arg(name))) {
    case UserPrompt::Answer::Yes:
        return DoFileSave();
    case UserPrompt::Answer::No:
        return true;
    case UserPrompt::Answer::Cancel:
        break;
    }
    return false;
}

bool CQuilletDoc::OnFileClose()
{
    if (!SaveModified())
        return false;
    OnCloseDocument();
    return true;
}

void CQuilletDoc::OnCloseDocument()
{
    if (m_bClosing)
        return;
    m_bClosing = true;
    // Closed with or without saving, as the user chose: no copy stays.
    if (m_pRecoveryTimer)
        m_pRecoveryTimer->stop();
    if (g_pRecovery)
        g_pRecovery->Remove(m_nRecoveryId);
    // Closing the last window removes the document from its template, which
    // deletes it later; the list is copied because windows leave it as they go.
    const QList<CQuilletView*> views = m_views;
    for (CQuilletView* view : views)
        view->parentWidget() ? view->parentWidget()->close() : view->close();
}
