#include "DocTemplate.h"

#include <QFileInfo>

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

CDocTemplate::CDocTemplate(QObject* parent) : QObject(parent) {}

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

CQuilletDoc* CDocTemplate::FindDocument(const QString& path) const
{
    const QString wanted = QFileInfo(path).absoluteFilePath();
    for (CQuilletDoc* doc : m_docs)
        if (!doc->GetPathName().isEmpty() && doc->GetPathName() == wanted)
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
    if (!info.isFile() || !info.isReadable()) {
        if (reportFailure)
            UserPrompt::ShowMessage(nullptr, QStringLiteral("打开文档失败。"));
        return nullptr;
    }
    CQuilletDoc* doc = CreateDocument();
    if (!doc)
        return nullptr;
    if (!doc->OnOpenDocument(path)) {
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
