#include "SessionCommands.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMainWindow>
#include <QSettings>
#include <QStatusBar>

#include "ChildFrame.h"
#include "CodeEditCtrl.h"
#include "CommandIds.h"
#include "CommandMap.h"
#include "DocTemplate.h"
#include "EditorSearch.h"
#include "FrameAccess.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "SettingsSync.h"
#include "SiteAccess.h"
#include "WSLocalSiteView.h"
#include "core/LastSession.h"

CSessionCommands::CSessionCommands(IFrameAccess* frame) : QObject(frame->Window()), m_pFrame(frame)
{
    frame->CommandMap().On(Cmd::RestoreSession, [] {
        QSettings settings;
        const bool on = !LastSession::IsOn(settings);
        settings.setValue(QLatin1String(LastSession::kRestoreKey), on);
        // Turned off, nothing of an earlier run is left to come back later.
        if (!on)
            LastSession::Clear(settings);
        SettingsSync::Commit(settings, nullptr);
    }, [](CCmdUI& ui) { ui.checked = LastSession::IsOn(QSettings()); });
    // The files still open once every unsaved change was asked about.
    connect(frame->DocTemplate(), &CDocTemplate::closingAll, this, &CSessionCommands::Save);
    // A run ended by a logout or a signal closes no document first.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (!m_pFrame->DocTemplate()->Documents().isEmpty())
            Save();
    });
}

void CSessionCommands::Save()
{
    QSettings settings;
    if (!LastSession::IsOn(settings))
        return;
    const CQuilletView* active = m_pFrame->ActiveView();
    LastSession::Session session;
    for (CQuilletDoc* doc : m_pFrame->DocTemplate()->Documents()) {
        if (doc->GetPathName().isEmpty() || !doc->FirstView())
            continue;
        const bool isActive = active && active->GetDocument() == doc;
        const CQuilletView* view = isActive ? active : doc->FirstView();
        int line = 0, index = 0;
        view->Editor()->getCursorPosition(&line, &index);
        if (isActive)
            session.nActive = static_cast<int>(session.files.size());
        session.files << LastSession::Entry{doc->GetPathName(), line};
    }
    session.strSite = SiteAccess::Folder(m_pFrame);
    LastSession::Write(settings, session);
    SettingsSync::Commit(settings, nullptr);
}

int CSessionCommands::Restore(IFrameAccess* frame)
{
    const QSettings settings;
    if (!LastSession::IsOn(settings))
        return 0;
    const LastSession::Session session = LastSession::Read(settings);
    if (!session.strSite.isEmpty() && session.strSite != SiteAccess::Folder(frame) &&
        QFileInfo(session.strSite).isDir())
        if (CWSLocalSiteView* page = SiteAccess::Page(frame))
            page->OpenSite(session.strSite);
    int opened = 0, gone = 0;
    CQuilletView* active = nullptr;
    for (qsizetype i = 0; i < session.files.size(); ++i) {
        const LastSession::Entry& entry = session.files.at(i);
        // A file deleted or moved since is left out without a message of its own.
        CQuilletDoc* doc = QFileInfo(entry.strPath).isFile()
                               ? frame->DocTemplate()->OpenDocumentFile(entry.strPath, false)
                               : nullptr;
        CQuilletView* view = doc ? doc->FirstView() : nullptr;
        if (!view) {
            ++gone;
            continue;
        }
        ++opened;
        EditorSearch::GoToLine(view->Editor(), qMin(entry.nLine, view->Editor()->lines() - 1) + 1);
        if (i == session.nActive)
            active = view;
    }
    if (active) {
        if (auto* child = qobject_cast<CChildFrame*>(active->parentWidget()))
            child->ActivateFrame();
        active->Editor()->setFocus(Qt::OtherFocusReason);
    }
    if (gone > 0)
        frame->Window()->statusBar()->showMessage(
            QStringLiteral("上次打开的文件中有 %1 个已不存在或无法读取，没有打开。").arg(gone), 15000);
    return opened;
}
