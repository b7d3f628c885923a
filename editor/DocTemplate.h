// Keeps the open documents in order, names untitled ones and creates their windows.
#pragma once

#include <QObject>
#include <QStringList>
#include <QString>
#include <functional>

class CQuilletDoc;
class CQuilletView;
class QFileSystemWatcher;

class CDocTemplate : public QObject
{
    Q_OBJECT
public:
    // The seven fields of the document type's string.
    struct Strings
    {
        QString windowTitle;                                   // empty
        QString docName = QStringLiteral("Quillet");
        QString fileNewName = QStringLiteral("Quillet");
        QString filterName = QStringLiteral("Quillet 文件 (*.php)");
        QString filterExt = QStringLiteral(".php");
        QString regFileTypeId = QStringLiteral("Quillet.Document");
        QString regFileTypeName = QStringLiteral("Quillet Document");
    };
    static const Strings& GetStrings();
    // The open and save dialogs' filter: ours first, then all files.
    static QString FileDialogFilter();

    // Creates the frame and view that show doc; another view of an open
    // document when source is given. Returns the new view, or nullptr when
    // the window could not be created.
    using FrameFactory = std::function<CQuilletView*(CQuilletDoc* doc, CQuilletView* source)>;

    // The largest file that opens: the editor's positions are 32-bit.
    static constexpr qint64 kMaxFileBytes = 0x7fffffffLL - 1024;

    explicit CDocTemplate(QObject* parent = nullptr);
    ~CDocTemplate() override;

    void SetFrameFactory(FrameFactory factory) { m_frameFactory = std::move(factory); }

    // A new untitled document (Quillet1, Quillet2, ...) in a window of its own.
    CQuilletDoc* NewDocument();
    // Opens path, or activates it when it is open already; reports a file that
    // cannot be read and returns nullptr.
    // reportFailure false: a file that cannot be opened is only left out,
    // for callers that say so once for many files.
    CQuilletDoc* OpenDocumentFile(const QString& path, bool reportFailure = true);
    // Another view of doc in a new window.
    CQuilletView* NewWindow(CQuilletDoc* doc, CQuilletView* source);

    const QList<CQuilletDoc*>& Documents() const { return m_docs; }
    CQuilletDoc* FindDocument(const QString& path) const;
    // Asks to save every modified document; false when the user cancelled.
    bool SaveAllModified();
    void CloseAllDocuments();

    // Called by a document when its last view has gone.
    void RemoveDocument(CQuilletDoc* doc);

    // Asks about every open file another program changed or deleted since it
    // was read or written (see CQuilletDoc::AskAboutDiskChange); one question
    // at a time, never from inside another such check.
    void CheckDiskChanges();

signals:
    void documentAdded(CQuilletDoc* doc);
    void documentRemoved(CQuilletDoc* doc);
    // A file was opened or saved under path (for the recent-file list).
    void fileUsed(const QString& path);
    // An open file was changed on disk (by anyone, this program too).
    void diskChanged();
    // CloseAllDocuments is about to close every document (the end of a run).
    void closingAll();

private:
    CQuilletDoc* CreateDocument();

    void WatchFiles();

    QList<CQuilletDoc*> m_docs;
    QStringList m_opening; // files being read in, by absolute path
    QFileSystemWatcher* m_pWatcher;
    bool m_bCheckingDisk = false;
    int m_nUntitledCount = 0;
    FrameFactory m_frameFactory;
};
