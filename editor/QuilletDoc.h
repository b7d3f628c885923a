// One open text file; its text lives in the editor of its views, which share it.
#pragma once

#include <QObject>
#include <QString>

#include "CommandMap.h"
#include "core/DiskStamp.h"
#include "core/FileEncoding.h"

class CDocTemplate;
class CRecoveryStore;
class QTimer;
struct CRecoveredText;
class CQuilletView;
class CCodeEditCtrl;

class CQuilletDoc : public QObject, public CCmdTarget
{
    Q_OBJECT
public:
    explicit CQuilletDoc(CDocTemplate* docTemplate);
    ~CQuilletDoc() override;

    CDocTemplate* GetDocTemplate() const { return m_pTemplate; }
    QString GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& title);
    QString GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& path);
    const FileEncoding::Format& GetFormat() const { return m_format; }

    // Modified whenever the text differs from what was last loaded or saved
    // (an undo back to that state clears it), or when set explicitly.
    bool IsModified() const;
    void SetModifiedFlag(bool modified = true);

    const QList<CQuilletView*>& Views() const { return m_views; }
    CQuilletView* FirstView() const { return m_views.value(0); }
    CCodeEditCtrl* Editor() const;
    void AddView(CQuilletView* view);
    void RemoveView(CQuilletView* view);

    // Reads path into the editor; false (and the editor untouched) on failure.
    bool OnOpenDocument(const QString& path);
    // Writes the editor's text to path (FileSave::Write: the file keeps its
    // mode, owner, group and links); false, for a file this user may not
    // write too, leaves the old file as it was and the document modified.
    bool OnSaveDocument(const QString& path);

    // The recovery folder every document writes its unsaved text to (none:
    // no copies are written); the delay after typing stops is read from the
    // settings ("Settings"/"RecoverySeconds") here, once.
    static void SetRecoveryStore(CRecoveryStore* store);
    // The delay SetRecoveryStore read: 1 to 30 s, 5 s when the setting is no number.
    static int RecoveryDelayMs();
    // Writes (or, unmodified, removes) this document's recovery copy now.
    void WriteRecovery();
    // Takes a recovered text as this document's: its file, encoding and line
    // breaks, the text itself, and modified. A copy from the recovery folder
    // is read in pieces into the editor and becomes this document's copy.
    // False when its text could not be read.
    bool Restore(const CRecoveredText& recovered);

    // Whether another program changed, replaced or deleted the file since
    // this document last read or wrote it, or since the user was last asked
    // about it.
    bool HasChangedOnDisk() const;
    // Asks about such a change. A changed file: the question names the file
    // ("文件已被其他程序修改。是否重新载入？", and with unsaved edits that
    // reloading discards them); yes reads the file again, no keeps the text,
    // modified. A deleted file: says so, naming it, and keeps the text,
    // modified. True when the file was read again. Either way the change
    // counts as seen; it is still not the text's base, so a save asks before
    // it overwrites the other program's change.
    bool AskAboutDiskChange();
    // Whether the file on disk is no longer what this document last read or
    // wrote (a deleted file is nothing to overwrite).
    bool WouldOverwriteOutsideChange() const;

    // Converts every line break of the text (LF, CRLF and CR alike) to
    // lineBreak as one undo step; Enter inserts it from then on. An undo or
    // redo later sets the line break again from the text's first line end.
    void ConvertLineBreaks(FileEncoding::LineBreak lineBreak);
    // Saves as kind (UTF-8 or GB18030) from the next save on; the text stays
    // as it is and the document counts as modified. A text holding a
    // character kind cannot carry is refused with a message naming it, and
    // nothing changes. True when the document now saves as kind.
    bool SetEncoding(FileEncoding::Kind kind);
    // 重新载入: reads the file again, the caret kept on its line. With unsaved
    // edits the user is asked first; a no leaves the text, its undo history,
    // the caret and the modified state as they were. True when read again.
    bool Reload();

    // Save (57603): save-as dialog for an untitled document. Reports failures.
    bool DoFileSave();
    // Save as (57604), or the save dialog of an untitled document.
    bool DoSave(const QString& path = QString());
    // Asks "将改动保存到 %1？" for a modified document; false when cancelled
    // or when the save failed.
    bool SaveModified();
    // Close (57602): asks to save, then closes every view.
    bool OnFileClose();
    // Closes every view without asking.
    void OnCloseDocument();
    bool IsClosing() const { return m_bClosing; }

signals:
    void titleChanged();
    void modifiedChanged(bool modified);
    // The encoding or the line break the file is saved with has changed.
    void formatChanged();

private:
    // OnOpenDocument for a file large enough to want a progress dialog.
    bool OpenLarge(const QString& path);
    void ApplyLineBreak();
    // The line break of the text's first line end, taken as the document's.
    void FollowLineBreakOfText();
    // Reads the file again; the caret stays on its line. Reports a failure.
    bool ReadAgainKeepingCaret();
    void ScheduleRecovery();

    CDocTemplate* m_pTemplate;
    QList<CQuilletView*> m_views;
    QString m_strTitle;
    QString m_strPathName;
    FileEncoding::Format m_format;
    // The file as this document last read or wrote it: what its text is based on.
    CDiskStamp m_diskStamp;
    // The file as the user was last asked about it (or as read or written).
    CDiskStamp m_seenStamp;
    QTimer* m_pRecoveryTimer = nullptr;
    qint64 m_nLastRecoveryWrite = 0;
    int m_nRecoveryId;
    bool m_bForcedModified = false;
    bool m_bClosing = false;
    // An undo or redo changed the text: its line break is looked at again
    // once the change is done.
    bool m_bUndoneOrRedone = false;
};
