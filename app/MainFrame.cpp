#include "MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>

#include "ChildFrame.h"
#include "CodeBlockWiring.h"
#include "CodeEditCtrl.h"
#include "CodeLibraryStore.h"
#include "ColourEditor.h"
#include "ComboToolBar.h"
#include "CommandIds.h"
#include "DataFileLocator.h"
#include "DocTemplate.h"
#include "EditCommands.h"
#include "EditorHost.h"
#include "EditorHostWiring.h"
#include "ExtraCommands.h"
#include "FindInFilesCommand.h"
#include "MdiWindows.h"
#include "QuilletDoc.h"
#include "QuilletEvent.h"
#include "QuilletView.h"
#include "RecentFilesMenu.h"
#include "StartupSplashWnd.h"
#include "StatusIndicators.h"
#include "SymbolWiring.h"
#include "WorkspaceWiring.h"
#include "ZoomCommands.h"

CMainFrame::CMainFrame(CDocTemplate* docTemplate, CCmdTarget* appTarget,
                       CRecentFileList* recentFiles, QWidget* parent)
    : QMainWindow(parent), m_pDocTemplate(docTemplate), m_pAppTarget(appTarget),
      m_pRecentFiles(recentFiles)
{
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QStringLiteral("Quillet"));
    setAcceptDrops(true);
}

CMainFrame::~CMainFrame()
{
    // Child windows are destroyed after this destructor; their goodbyes must
    // not reach a frame that is half gone.
    m_bDestroying = true;
    // Nothing the children signal while they are destroyed may reach a frame
    // that is no longer one.
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
    m_pDocTemplate->SetFrameFactory({});
    if (EditorHost::MainWindow() == this) {
        EditorHost::SetMainWindow(nullptr);
        EditorHost::SetEditorSetup({});
        EditorHost::SetEntryTextReader({});
        EditorHost::SetHelpList(nullptr);
    }
}

bool CMainFrame::Create()
{
    // The editor windows' area.
    m_pMdiArea = new QMdiArea(this);
    m_pMdiArea->setObjectName(QStringLiteral("mdiClient"));
    m_pMdiArea->setViewMode(QMdiArea::SubWindowView);
    m_pMdiArea->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    setCentralWidget(m_pMdiArea);
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);

    m_actions = FrameCommands::CreateActions(this);
    for (QAction* action : std::as_const(m_actions)) {
        addAction(action);   // shortcuts work whichever menu bar is shown
        const int id = action->data().toInt();
        connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
    }
    RegisterCommands();
    new CEditCommands(this);
    new CFindInFilesCommand(this);
    InstallExtraCommands(this);

    CreateToolBar();
    CreateStatusBar();
    m_strStartDir = QDir::currentPath() + u'/';
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);
    m_pWorkspace = new CWorkspaceWiring(this, m_wndToolBar, m_pDocTemplate);

    m_menus = FrameCommands::BuildMenus(this, m_actions);
    for (QMenu* menu : m_menus.noDocument + m_menus.withDocument)
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
    for (QMenu* file : {m_menus.fileNoDoc, m_menus.fileWithDoc})
        connect(file, &QMenu::aboutToShow, this, [this, file] {
            RecentFilesMenu::Fill(file, m_actions.value(Cmd::FileMruFirst), m_pRecentFiles, m_pDocTemplate,
                                  m_recentActions);
        });
    connect(m_menus.window, &QMenu::aboutToShow, this,
            [this] { MdiWindows::FillWindowList(m_menus.window, m_pMdiArea, m_windowListActions); });
    UpdateMenuBar();

    m_wndToolBar->CreateCombo(m_actions.value(Cmd::ComboSlot));
    EditorHostWiring::Install(this, m_pDocTemplate);
    CStartupSplashWnd::ShowSplashScreen(this);
    m_pStatus->SetCaretText(QString());

    // The installed data directory is found from the executable's place, so an
    // installation works under whatever prefix it was put.
    const QString installedData = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                                  QStringLiteral("/../" QUILLET_INSTALL_DATA_SUBDIR));
    m_pCodeLibraries = new CCodeLibraryStore(
        m_strStartDir, CDataFileLocator::StandardFallbackDirs(installedData), this);
    m_pCodeLibraries->OpenDatabases();
    InstallCodeBlockPage(this);
    new CSymbolWiring(this, m_pDocTemplate);

    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::RequestUpdate);
    // An accelerator runs its command only when the command's update rule
    // allows it at that moment, so the states are brought up to date first.
    qApp->installEventFilter(this);
    m_pDocTemplate->SetFrameFactory(
        [this](CQuilletDoc* doc, CQuilletView* source) { return CreateChildFrame(doc, source); });
    // Files changed by other programs are asked about when the user comes
    // back to the editor, or at once while it is in front.
    m_pDiskCheck = new QTimer(this);
    m_pDiskCheck->setSingleShot(true);
    m_pDiskCheck->setInterval(200);
    connect(m_pDiskCheck, &QTimer::timeout, m_pDocTemplate, &CDocTemplate::CheckDiskChanges);
    connect(m_pDocTemplate, &CDocTemplate::diskChanged, this, [this] {
        if (isActiveWindow())
            m_pDiskCheck->start();
    });
    UpdateCommandStates();
    return true;
}

void CMainFrame::CreateToolBar()
{
    m_wndToolBar = new CComboToolBar(this);
    m_wndToolBar->setWindowTitle(QStringLiteral("标准"));
    m_wndToolBar->setProperty("ctrlId", Cmd::ViewToolbar);
    auto* slot = new QAction(this);
    slot->setData(Cmd::ComboSlot);
    m_actions.insert(Cmd::ComboSlot, slot);
    for (int id : FrameCommands::ToolbarOrder()) {
        if (id == 0)
            m_wndToolBar->addSeparator();
        else
            m_wndToolBar->addAction(m_actions.value(id));
    }
    m_wndToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);
}

void CMainFrame::CreateStatusBar()
{
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    m_pStatus = new CStatusIndicators(statusBar());
}

void CMainFrame::RegisterCommands()
{
    Commands().On(Cmd::SaveAll, [this] { OnSaveAll(); });
    Commands().On(Cmd::CloseAll, [this] { OnCloseAll(); });
    Commands().On(Cmd::AppExit, [this] { close(); });
    Commands().On(Cmd::ViewToolbar, [this] { m_wndToolBar->setVisible(!m_wndToolBar->isVisible()); },
                  [this](CCmdUI& ui) { ui.checked = m_wndToolBar->isVisible(); });
    Commands().On(Cmd::ViewStatusBar, [this] { statusBar()->setVisible(!statusBar()->isVisible()); },
                  [this](CCmdUI& ui) { ui.checked = statusBar()->isVisible(); });
    MdiWindows::RegisterCommands(this, m_pMdiArea);
    RegisterCodeLibraryCommands(this);
    Commands().On(Cmd::CodeStyle, [this] { ColourEditor::ShowCodeStyleDialog(this); });
    RegisterZoomCommands(Commands());
}

CSlotFormat CMainFrame::GetSlotFormat(int slot) const
{
    return GetStoredSlotFormat(slot);
}

CAdoDatabase* CMainFrame::GetDatabase(int kind) const
{
    return m_pCodeLibraries ? m_pCodeLibraries->GetDatabase(kind) : nullptr;
}

CWorkspaceBar* CMainFrame::WorkspaceBar() const
{
    return m_pWorkspace ? m_pWorkspace->Bar() : nullptr;
}

QMenu* CMainFrame::WorkspaceMenu() const
{
    return m_pWorkspace ? m_pWorkspace->Menu() : nullptr;
}

CContextHelpDlg* CMainFrame::GetHelpList() const
{
    return m_pWorkspace ? m_pWorkspace->HelpList() : nullptr;
}

CQuilletView* CMainFrame::ActiveView() const
{
    if (!m_pMdiArea)
        return nullptr;
    QMdiSubWindow* active = m_pMdiArea->activeSubWindow();
    // With the focus outside the editor windows, the one last worked in.
    if (!active && m_pLastActive && m_pMdiArea->subWindowList().contains(m_pLastActive.data()))
        active = m_pLastActive;
    if (!active && !m_pMdiArea->subWindowList().isEmpty())
        active = m_pMdiArea->currentSubWindow();
    auto* frame = qobject_cast<CChildFrame*>(active);
    return frame ? frame->View() : nullptr;
}

bool CMainFrame::SendToView(CQuilletView* view, int id)
{
    if (!view)
        return false;
    if (view->Commands().Run(id))
        return true;
    return view->GetDocument() && view->GetDocument()->Commands().Run(id);
}

bool CMainFrame::RouteCommand(int id)
{
    CQuilletView* view = ActiveView();
    bool handled = SendToView(view, id) || Commands().Run(id) || (m_pAppTarget && m_pAppTarget->Commands().Run(id));
    RequestUpdate();
    return handled;
}

void CMainFrame::UpdateCommandStates()
{
    m_bUpdatePending = false;
    CQuilletView* view = ActiveView();
    const QList<const CCmdTarget*> route = {view, view ? view->GetDocument() : nullptr, this, m_pAppTarget};
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        // The recent-file placeholder is enabled by its own entries; the
        // combo box's place is no command.
        if (it.key() == Cmd::FileMruFirst || it.key() == Cmd::ComboSlot)
            continue;
        CCmdUI ui;
        ui.id = it.key();
        bool handled = false;
        for (const CCmdTarget* target : route) {
            if (target && target->Commands().Update(ui)) {
                handled = true;
                break;
            }
        }
        QAction* action = it.value();
        action->setEnabled(handled && ui.enabled);
        if (action->isCheckable())
            action->setChecked(handled && ui.checked);
    }
}

void CMainFrame::RequestUpdate()
{
    if (m_bUpdatePending)
        return;
    m_bUpdatePending = true;
    QTimer::singleShot(0, this, &CMainFrame::UpdateCommandStates);
}

CQuilletView* CMainFrame::CreateChildFrame(CQuilletDoc* doc, CQuilletView* source)
{
    auto* view = new CQuilletView(doc, source);
    auto* frame = new CChildFrame(view);
    m_pMdiArea->addSubWindow(frame);
    CCodeEditCtrl* editor = view->Editor();
    connect(editor, &QsciScintilla::selectionChanged, this, &CMainFrame::RequestUpdate);
    connect(editor, &QsciScintilla::textChanged, this, &CMainFrame::RequestUpdate);
    const QPointer<CQuilletDoc> guard(doc);
    const auto retitle = [guard] {
        if (!guard)
            return;
        for (CQuilletView* v : guard->Views())
            if (auto* f = qobject_cast<CChildFrame*>(v->parentWidget()))
                f->UpdateTitle();
    };
    connect(doc, &CQuilletDoc::titleChanged, frame, retitle);
    connect(doc, &CQuilletDoc::modifiedChanged, frame, retitle);
    connect(frame, &QWidget::windowTitleChanged, this, &CMainFrame::RequestTitleCheck);
    if (source)
        ColourEditor::ApplyStoredFormats(editor);
    ++m_nChildFrames;
    connect(frame, &QObject::destroyed, this, [this, retitle] {
        if (m_bDestroying)
            return;
        --m_nChildFrames;
        retitle();   // the windows left are numbered afresh
        UpdateMenuBar();
        RequestTitleCheck();
        if (m_pMdiArea->subWindowList().isEmpty())
            m_pStatus->SetCaretText(QString());
        RequestUpdate();
    });
    frame->ActivateFrame();
    retitle();
    UpdateMenuBar();
    RequestUpdate();
    return view;
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window)
{
    // Qt reports no active window while the main window itself is inactive
    // (a dialog or another program in front); the last one stays the user's.
    if (window && window != m_pLastActive) {
        m_pLastActive = window;
        if (auto* frame = qobject_cast<CChildFrame*>(window))
            frame->View()->Editor()->ReportCaretPosition();
    }
    UpdateMenuBar();
    RequestTitleCheck();
    RequestUpdate();
}

void CMainFrame::RequestTitleCheck()
{
    if (m_bTitleCheckPending || m_bDestroying)
        return;
    m_bTitleCheckPending = true;
    QTimer::singleShot(0, this, &CMainFrame::UpdateFrameTitle);
}

void CMainFrame::UpdateFrameTitle()
{
    m_bTitleCheckPending = false;
    QString title = QStringLiteral("Quillet");
    if (CQuilletView* view = ActiveView())
        if (auto* frame = qobject_cast<CChildFrame*>(view->parentWidget()))
            title += QStringLiteral(" - [%1]").arg(frame->windowTitle());
    if (windowTitle() != title)
        setWindowTitle(title);
}

void CMainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange)
        RequestTitleCheck();
}

void CMainFrame::UpdateMenuBar()
{
    const bool withDocument = m_nChildFrames > 0;
    if (withDocument == m_bDocumentMenus && !menuBar()->actions().isEmpty())
        return;
    m_bDocumentMenus = withDocument;
    menuBar()->clear();
    for (QMenu* menu : withDocument ? m_menus.withDocument : m_menus.noDocument)
        menuBar()->addMenu(menu);
}

void CMainFrame::OnSaveAll()
{
    const QList<CQuilletDoc*> docs = m_pDocTemplate->Documents();
    for (CQuilletDoc* doc : docs)
        if (doc->IsModified())
            SendToView(doc->FirstView(), Cmd::FileSave);
}

void CMainFrame::OnCloseAll()
{
    const QList<CQuilletDoc*> docs = m_pDocTemplate->Documents();
    for (CQuilletDoc* doc : docs)
        SendToView(doc->FirstView(), Cmd::FileClose);
}

bool CMainFrame::event(QEvent* event)
{
    if (event->type() == QuilletEvent::CaretPos) {
        auto* e = static_cast<CQuilletEvent*>(event);
        m_pStatus->SetCaretText(QStringLiteral("Ln %1,Col %2").arg(e->wParam()).arg(e->lParam()));
        return true;
    }
    // The private messages of the pages and the list (WM_USER+2 .. +4).
    if (m_pWorkspace && m_pWorkspace->HandleMessage(event))
        return true;
    if (event->type() == QuilletEvent::DeferredLoad) {
        ++m_nDeferredLoads;
        m_pWorkspace->LoadDeferred();
        return true;
    }
    if (event->type() == QEvent::StatusTip || event->type() == QEvent::WindowActivate)
        RequestUpdate();
    if (event->type() == QEvent::WindowActivate && m_pDiskCheck)
        m_pDiskCheck->start();
    return QMainWindow::event(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool accelerator = (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) ||
                                 (key->key() >= Qt::Key_F1 && key->key() <= Qt::Key_F35) ||
                                 key->key() == Qt::Key_Delete || key->key() == Qt::Key_Insert;
        if (accelerator && watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this)
            UpdateCommandStates();
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!m_pDocTemplate->SaveAllModified()) {
        event->ignore();
        return;
    }
    m_pDocTemplate->CloseAllDocuments();
    QMainWindow::closeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
    }
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    activateWindow();
    for (const QString& f : files)
        m_pDocTemplate->OpenDocumentFile(f);
}
