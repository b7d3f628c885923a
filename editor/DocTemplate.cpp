#include "DocTemplate.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QPointer>

#include "QuilletDoc.h"
#include "QuilletView.h"
#include "UserPrompt.h"

const CDocTemplate::Strings& CDocTemplate::GetStrings()
{
    static const Strings strings;
    return strings;
}

QString CDocTemplate::FileDialogFilter()
{
    return GetStrings().filterName + QStringLiteral(";;所有文件 (*)");
}

CDocTemplate::CDocTemplate(QObject* parent) : QObject(parent), m_pWatcher(new QFileSystemWatcher(this))
{
    connect(m_pWatcher, &QFileSystemWatcher::fileChanged, this, &CDocTemplate::diskChanged);
    // The watched files follow the documents and the names they are saved under.
    connect(this, &CDocTemplate::fileUsed, this, &CDocTemplate::WatchFiles);
    connect(this, &CDocTemplate::documentRemoved, this, &CDocTemplate::WatchFiles);
}

void CDocTemplate::WatchFiles()
{
    QStringList wanted;
    for (const CQuilletDoc* doc : std::as_const(m_docs))
        if (!doc->GetPathName().isEmpty())
            wanted << doc->GetPathName();
    // A file replaced by a rename (as editors and our own saves do) drops out
    // of the watch; asking again takes it up.
    const QStringList watched = m_pWatcher->files();
    if (!watched.isEmpty())
        m_pWatcher->removePaths(watched);
    for (const QString& path : std::as_const(wanted))
        if (QFileInfo::exists(path))
            m_pWatcher->addPath(path);
}

void CDocTemplate::CheckDiskChanges()
{
    if (m_bCheckingDisk)
        return;
    m_bCheckingDisk = true;
    const QList<QPointer<CQuilletDoc>> docs(m_docs.cbegin(), m_docs.cend());
    for (const QPointer<CQuilletDoc>& doc : docs)
        if (doc && !doc->IsClosing() && doc->HasChangedOnDisk())
            doc->AskAboutDiskChange();
    m_bCheckingDisk = false;
    WatchFiles();
}

CDocTemplate::~CDocTemplate()
{
    qDeleteAll(m_docs);
}

CQuilletDoc* CDocTemplate::CreateDocument()
{
    auto* doc = new CQuilletDoc(this);
    if (!m_frameFactory || !m_frameFactory(doc, nullptr)) {
        delete doc;
        return nullptr;
    }
    m_docs << doc;
    emit documentAdded(doc);
    return doc;
}

CQuilletDoc* CDocTemplate::NewDocument()
{
    // The number is taken before the window exists, so a failed window
    // still uses it up, as the counter only ever grows.
    const int number = ++m_nUntitledCount;
    CQuilletDoc* doc = CreateDocument();
    if (doc)
        doc->SetTitle(GetStrings().docName + QString::number(number));
    return doc;
}

namespace {

// The one name of a file however it is reached (through links, "..", or
// its absolute path when it does not exist yet).
QString FileIdentity(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

CQuilletDoc* CDocTemplate::FindDocument(const QString& path) const
{
    const QString wanted = QFileInfo(path).absoluteFilePath();
    for (CQuilletDoc* doc : m_docs)
        if (!doc->GetPathName().isEmpty() && doc->GetPathName() == wanted)
            return doc;
    // The same file under another name: a link to it, or a path through "..".
    const QString identity = FileIdentity(path);
    for (CQuilletDoc* doc : m_docs)
        if (!doc->GetPathName().isEmpty() && FileIdentity(doc->GetPathName()) == identity)
            return doc;
    return nullptr;
}

CQuilletDoc* CDocTemplate::OpenDocumentFile(const QString& path, bool reportFailure)
{
    if (path.isEmpty())
        return NewDocument();
    if (CQuilletDoc* open = FindDocument(path)) {
        if (CQuilletView* view = open->FirstView()) {
            view->window()->activateWindow();
            if (view->parentWidget())
                view->parentWidget()->setFocus();
            view->setFocus();
        }
        emit fileUsed(open->GetPathName());
        return open;
    }
    QFileInfo info(path);
    // The editor counts positions in 32 bits: a larger file is refused before
    // a byte of it is read.
    if (info.isFile() && info.size() > kMaxFileBytes) {
        if (reportFailure)
            UserPrompt::ShowMessage(nullptr, QStringLiteral("文件太大，无法打开。"));
        return nullptr;
    }
    if (!info.isFile() || !info.isReadable()) {
        if (reportFailure)
            UserPrompt::ShowMessage(nullptr, QStringLiteral("打开文档失败。"));
        return nullptr;
    }
    // A large file is read while the event loop runs: a second request for
    // the same file meanwhile (another start handing it over) waits for none.
    const QString absolute = info.absoluteFilePath();
    if (m_opening.contains(absolute))
        return nullptr;
    CQuilletDoc* doc = CreateDocument();
    if (!doc)
        return nullptr;
    m_opening << absolute;
    const bool opened = doc->OnOpenDocument(path);
    m_opening.removeOne(absolute);
    if (!opened) {
        doc->OnCloseDocument();
        if (reportFailure)
            UserPrompt::ShowMessage(nullptr, QStringLiteral("打开文档失败。"));
        return nullptr;
    }
    emit fileUsed(doc->GetPathName());
    return doc;
}

CQuilletView* CDocTemplate::NewWindow(CQuilletDoc* doc, CQuilletView* source)
{
    if (!doc || !m_frameFactory)
        return nullptr;
    return m_frameFactory(doc, source ? source : doc->FirstView());
}

bool CDocTemplate::SaveAllModified()
{
    const QList<CQuilletDoc*> docs = m_docs;
    for (CQuilletDoc* doc : docs)
        if (!doc->SaveModified())
            return false;
    return true;
}

void CDocTemplate::CloseAllDocuments()
{
    emit closingAll();
    const QList<CQuilletDoc*> docs = m_docs;
    for (CQuilletDoc* doc : docs)
        doc->OnCloseDocument();
}

void CDocTemplate::RemoveDocument(CQuilletDoc* doc)
{
    if (!m_docs.removeOne(doc))
        return;
    emit documentRemoved(doc);
    doc->deleteLater();
}
