#include "PreviewCommands.h"

#include <QDir>
#include <QMainWindow>
#include <QPushButton>
#include <QSettings>

#include "CodeEditCtrl.h"
#include "CommandIds.h"
#include "CommandMap.h"
#include "FrameAccess.h"
#include "PhpSyntaxCheck.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "ServerOutputPane.h"
#include "SettingsValue.h"
#include "SiteAccess.h"
#include "SiteShell.h"
#include "UserPrompt.h"
#include "core/PreviewServer.h"

CPreviewCommands::CPreviewCommands(IFrameAccess* frame)
    : QObject(frame->Window()), m_pFrame(frame), m_pServer(new CPreviewServer(this))
{
    setObjectName(QStringLiteral("previewCommands"));
    frame->CommandMap().On(Cmd::SitePreview, [this] { OnPreview(); });
    frame->CommandMap().On(Cmd::SiteStopPreview, [this] { OnStopPreview(); },
                           [this](CCmdUI& ui) { ui.enabled = m_pServer->IsStarted(); });
    connect(m_pServer, &CPreviewServer::ready, this, &CPreviewCommands::OnReady);
    connect(m_pServer, &CPreviewServer::output, this, [this](const QByteArray& bytes) { Pane()->AppendOutput(bytes); });
    connect(m_pServer, &CPreviewServer::failed, this, &CPreviewCommands::Say);
    connect(m_pServer, &CPreviewServer::stopped, this, [this] {
        m_bOpenPending = false;
        if (m_pPane) {
            m_pPane->SetState(QStringLiteral("预览服务器没有运行。"));
            m_pPane->StopButton()->setEnabled(false);
        }
        m_pFrame->RequestUpdate();
    });
}

CServerOutputPane* CPreviewCommands::Pane()
{
    if (!m_pPane) {
        m_pPane = new CServerOutputPane(m_pFrame->Window());
        m_pFrame->Window()->addDockWidget(Qt::BottomDockWidgetArea, m_pPane);
        connect(m_pPane->StopButton(), &QPushButton::clicked, this, &CPreviewCommands::OnStopPreview);
    }
    return m_pPane;
}

void CPreviewCommands::OnPreview()
{
    CQuilletView* view = m_pFrame->ActiveView();
    CQuilletDoc* doc = view ? view->GetDocument() : nullptr;
    const QString file = doc ? doc->GetPathName() : QString();
    const QString root = CPreviewServer::RootFor(file, SiteAccess::Folder(m_pFrame));
    if (root.isEmpty()) {
        Say(QStringLiteral("没有可以预览的文件：请先保存文档，或打开一个站点。"));
        return;
    }
    CServerOutputPane* pane = Pane();
    pane->show();
    pane->raise();
    if (doc && doc->IsModified())
        pane->AppendNote(QStringLiteral("（%1 有尚未保存的改动，浏览器中看到的是磁盘上的内容。）")
                             .arg(doc->GetTitle()));
    // The same folder is served by the server that runs already; another
    // one by a server of its own.
    if (m_pServer->IsStarted() && m_pServer->Root() != root)
        m_pServer->Stop();
    m_strPendingFile = file;
    m_bOpenPending = true;
    if (m_pServer->IsStarted()) {
        if (m_pServer->IsReady())
            OnReady();
        return;
    }
    // A port of the user's choice ("Settings"/"PreviewPort"), else a free one.
    const int port = SettingsValue::ToInt(QSettings().value(QStringLiteral("Settings/PreviewPort")), 0);
    if (!m_pServer->Start(CPhpSyntaxCheck::FindPhp(), root, port > 0 && port < 65536 ? port : 0))
        return;
    pane->SetState(QStringLiteral("正在启动预览服务器：%1").arg(QDir::toNativeSeparators(root)));
    pane->StopButton()->setEnabled(true);
    m_pFrame->RequestUpdate();
}

void CPreviewCommands::OnStopPreview()
{
    m_pServer->Stop();
}

void CPreviewCommands::OnReady()
{
    const QUrl root = m_pServer->AddressOf(QString());
    Pane()->SetState(QStringLiteral("预览服务器运行中：%1（%2）")
                         .arg(root.toString(), QDir::toNativeSeparators(m_pServer->Root())));
    if (std::exchange(m_bOpenPending, false))
        OpenAddress(m_strPendingFile);
}

void CPreviewCommands::OpenAddress(const QString& file)
{
    const QUrl url = m_pServer->AddressOf(file);
    // Without a browser the address is there to copy.
    if (SiteShell::OpenAddress(url))
        Pane()->AppendNote(QStringLiteral("已在浏览器中打开 %1").arg(url.toString()));
    else
        Pane()->AppendNote(QStringLiteral("无法打开浏览器；请在浏览器中访问 %1").arg(url.toString()));
}

void CPreviewCommands::Say(const QString& message)
{
    UserPrompt::ShowMessage(m_pFrame->Window(), message);
    // The user goes on where he was.
    if (CQuilletView* view = m_pFrame->ActiveView())
        view->Editor()->setFocus(Qt::OtherFocusReason);
}
