#include "QuilletApp.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

#include "AboutDlg.h"
#include "ChildFrame.h"
#include "CodeEditCtrl.h"
#include "CommandIds.h"
#include "CrashRecovery.h"
#include "DocTemplate.h"
#include "InstanceChannel.h"
#include "MainFrame.h"
#include "OpenFailureNotice.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "SessionCommands.h"
#include "SettingsSync.h"
#include "SettingsValue.h"
#include "StartupSplashWnd.h"
#include "UserPrompt.h"
#include "ViewPrinter.h"
#include "core/DesktopRegistration.h"
#include "core/DialogFolder.h"

namespace {
// Stands in for the message boxes while the command line prints: with no
// window shown, a message is one line on standard error naming the file it
// concerns, and every question is answered "cancel".
class CConsolePrompts : public UserPrompt::Responder
{
public:
    CConsolePrompts() : m_pPrevious(UserPrompt::CurrentResponder()) { UserPrompt::SetResponder(this); }
    ~CConsolePrompts() override { UserPrompt::SetResponder(m_pPrevious); }

    QString subject;   // the file being printed

    UserPrompt::Answer Ask(const UserPrompt::Request&) override { return UserPrompt::Answer::Cancel; }
    void Shown(const UserPrompt::Request& request) override
    {
        const QString line = QStringLiteral("quillet: %1: %2\n").arg(subject, request.text);
        std::fputs(line.toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
    }
    QString ChooseFile(const UserPrompt::Request&) override { return {}; }

private:
    UserPrompt::Responder* m_pPrevious;
};
} // namespace

CQuilletApp::CQuilletApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setOrganizationName(QStringLiteral("Fennroth"));
    setApplicationName(QStringLiteral("Quillet"));
    setApplicationVersion(QStringLiteral("3.0"));
    // The icon drawn beforehand at the sizes the window system is given
    // (resources/icons/RenderWindowIcons.cpp): the same pixels as the SVG's,
    // without loading an SVG renderer at every start.
    QIcon icon;
    for (int size : {16, 32, 64, 128})
        icon.addFile(QStringLiteral(":/quillet/icons/quillet-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);

    Commands().On(Cmd::FileNew, [this] { m_pDocTemplate->NewDocument(); });
    Commands().On(Cmd::FileOpen, [this] { OnFileOpen(); });
    Commands().On(Cmd::FilePrintSetup, [this] { OnFilePrintSetup(); });
    Commands().On(Cmd::AppAbout, [this] { CAboutDlg::DoModal(m_pMainFrame); });
}

CQuilletApp::~CQuilletApp()
{
    delete m_pMainFrame;
    delete m_pDocTemplate;
}

void CQuilletApp::LoadTranslations(QCoreApplication* app)
{
    // The whole interface speaks Simplified Chinese, Qt's own dialogs too,
    // whatever the user's locale is.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    // The "qt" catalogue brings "qtbase" and the other modules' with it; the
    // "qtbase" one alone is the stand-in where it is missing. Loading both
    // would map qtbase's twice.
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : {"qt_zh_CN", "qtbase_zh_CN"}) {
        auto* translator = new QTranslator(app);
        if (translator->load(QLatin1String(name), dir)) {
            app->installTranslator(translator);
            break;
        }
        delete translator;
    }
}

bool CQuilletApp::InitInstance()
{
    const QStringList args = arguments().mid(1);
    const CCommandLineInfo first = CCommandLineInfo::Parse(args);
    CStartupSplashWnd::EnableSplashScreen(first.m_bShowSplash);

    if (first.m_nShellCommand == CCommandLineInfo::AppUnregister) {
        CDesktopRegistration(applicationFilePath()).Unregister();
        return false;
    }
    // Files for an editor that is running already go to that editor, all of them.
    if (first.m_nShellCommand == CCommandLineInfo::FileOpen &&
        CInstanceChannel::SendToRunningInstance(first.m_fileNames)) {
        return false;
    }

    LoadTranslations(this);
    QSettings settings;
    m_recentFiles.ReadList(settings);
    m_bRecentListRead = true;
    ViewPrinter::SetPreviewPages(SettingsValue::ToInt(settings.value(QStringLiteral("Settings/PreviewPages")), 1));

    m_pDocTemplate = new CDocTemplate(this);
    connect(m_pDocTemplate, &CDocTemplate::fileUsed, this,
            [this](const QString& path) { m_recentFiles.Add(path); });

    m_pMainFrame = new CMainFrame(m_pDocTemplate, this, &m_recentFiles);
    if (!m_pMainFrame->Create()) {
        m_nExitCode = 1;
        return false;
    }

    m_pChannel = new CInstanceChannel(this);
    connect(m_pChannel, &CInstanceChannel::filesReceived, this, &CQuilletApp::OpenRequestedFiles);
    m_pChannel->Listen();

    CDesktopRegistration(applicationFilePath()).Register();

    const CCommandLineInfo second = CCommandLineInfo::Parse(args);
    // The files of the last run come back first, when the user asked for
    // that; they take the place of the new empty document.
    const bool opensWindow = second.m_nShellCommand == CCommandLineInfo::FileNew ||
                             second.m_nShellCommand == CCommandLineInfo::FileOpen ||
                             second.m_nShellCommand == CCommandLineInfo::FileDDE;
    const int restored = opensWindow ? CSessionCommands::Restore(m_pMainFrame) : 0;
    if (!(restored > 0 && second.m_nShellCommand == CCommandLineInfo::FileNew) && !ProcessShellCommand(second)) {
        // Files named on the command line that did not open end the run
        // only when nothing else is open.
        if (restored == 0 || second.m_nShellCommand != CCommandLineInfo::FileOpen)
            return false;
        m_nExitCode = 0;
    }
    // The file named last on the command line is the one in front, even when
    // the last session had it open already.
    if (restored > 0 && second.m_nShellCommand == CCommandLineInfo::FileOpen && !second.m_fileNames.isEmpty())
        if (CQuilletDoc* doc = m_pDocTemplate->FindDocument(second.m_fileNames.constLast()))
            if (auto* frame = doc->FirstView() ? qobject_cast<CChildFrame*>(doc->FirstView()->parentWidget()) : nullptr)
                frame->ActivateFrame();

    // From now on every modified document keeps a copy in the recovery
    // folder; a logout or kill ends the run without losing them.
    m_pRecovery = new CCrashRecovery(m_pDocTemplate, QString(), this);
    m_pRecovery->Start();
    connect(m_pRecovery, &CCrashRecovery::terminationRequested, this, [this] {
        m_bTerminated = true;
        exit(0);
    });

    // Without a window manager a maximise request is never carried out, so
    // the window is given the screen's whole work area first.
    if (QScreen* screen = m_pMainFrame->screen())
        m_pMainFrame->setGeometry(screen->availableGeometry());
    m_pMainFrame->showMaximized();
    m_pMainFrame->repaint();
    // What an earlier run could not save is offered once the window is up.
    QTimer::singleShot(0, this, [this] { m_pRecovery->OfferOrphans(m_pMainFrame); });
    return true;
}

bool CQuilletApp::ProcessShellCommand(const CCommandLineInfo& info)
{
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        return m_pDocTemplate->NewDocument() != nullptr;
    case CCommandLineInfo::FileOpen: {
        // Every file is opened; one that cannot be (and is reported) does not
        // stop the others. Only when none opened does the program end.
        int opened = 0;
        for (const QString& file : info.m_fileNames)
            opened += m_pDocTemplate->OpenDocumentFile(file) != nullptr;
        if (opened == 0) {
            m_nExitCode = 1;
            return false;
        }
        return true;
    }
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo: {
        // Print and end: the main window is never shown, so what goes wrong
        // is told on standard error, and the exit code says whether every
        // file was printed.
        CConsolePrompts console;
        bool printedAll = true;
        for (const QString& file : info.m_fileNames) {
            console.subject = file;
            CQuilletDoc* doc = m_pDocTemplate->OpenDocumentFile(file);
            printedAll = doc && PrintDocument(doc, info.m_strPrinterName) && printedAll;
            if (doc)
                doc->OnCloseDocument();
        }
        m_nExitCode = printedAll ? 0 : 1;
        return false;
    }
    case CCommandLineInfo::FileDDE:
        return true;
    case CCommandLineInfo::AppUnregister:
        CDesktopRegistration(applicationFilePath()).Unregister();
        return false;
    case CCommandLineInfo::Invalid:
        UserPrompt::ShowMessage(nullptr, QStringLiteral("命令行参数无效。"));
        m_nExitCode = 2;
        return false;
    }
    return false;
}

bool CQuilletApp::PrintDocument(CQuilletDoc* doc, const QString& printerName)
{
    const CCodeEditCtrl* editor = doc ? doc->Editor() : nullptr;
    if (!editor)
        return false;
    QPrinter printer;
    QString pdf;
    if (!printerName.isEmpty()) {
        if (!QPrinterInfo::printerInfo(printerName).isNull()) {
            printer.setPrinterName(printerName);
        } else if (printerName.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
            // Written beside its place and renamed there only when complete:
            // a full disk leaves the old file, never a cut one.
            pdf = QFileInfo(printerName).absoluteFilePath();
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf + QStringLiteral(".part"));
        } else {
            UserPrompt::ShowMessage(nullptr, QStringLiteral("找不到打印机。"));
            return false;
        }
    }
    if (!printer.isValid()) {
        UserPrompt::ShowMessage(nullptr, QStringLiteral("找不到打印机。"));
        return false;
    }
    // No page printed means the printer or the file could not be opened
    // (a PDF in a folder that is missing or may not be written); a PDF must
    // be there afterwards.
    const int pages = ViewPrinter::Print(printer, ViewPrinter::SplitLines(editor->WholeText()));
    bool printed = pages > 0;
    if (!pdf.isEmpty()) {
        const QString part = pdf + QStringLiteral(".part");
        printed = printed && ViewPrinter::IsCompletePdf(part) &&
                  std::rename(QFile::encodeName(part).constData(), QFile::encodeName(pdf).constData()) == 0;
        if (!printed)
            QFile::remove(part);
    }
    if (!printed) {
        UserPrompt::ShowMessage(nullptr, QStringLiteral("打印失败。"));
        return false;
    }
    return true;
}

void CQuilletApp::OpenRequestedFiles(const QStringList& files)
{
    // However many files fail, the user hears of them once.
    QStringList failed;
    for (const QString& f : files)
        if (!m_pDocTemplate->OpenDocumentFile(f, false))
            failed << QDir::toNativeSeparators(f);
    // Requests that fail while the box is up add to it.
    if (!m_pOpenFailures)
        m_pOpenFailures = new COpenFailureNotice(this);
    m_pOpenFailures->Report(m_pMainFrame, failed);
    if (m_pMainFrame) {
        if (m_pMainFrame->isMinimized())
            m_pMainFrame->showMaximized();
        m_pMainFrame->raise();
        m_pMainFrame->activateWindow();
    }
}

int CQuilletApp::ExitInstance(int code)
{
    // Only a run that read the list writes it back: a start that ended early
    // (unregistering, or handing its files to the running editor) knows no
    // list and must not erase the one on disk.
    if (m_bRecentListRead) {
        QSettings settings;
        m_recentFiles.WriteList(settings);
        SettingsSync::Commit(settings, nullptr);
    }
    // A run that closed its documents leaves no copies; one ended by a signal
    // leaves them for the next start.
    if (m_pRecovery && !m_bTerminated)
        m_pRecovery->CleanExit();
    return code;
}

void CQuilletApp::OnFileOpen()
{
    // The dialog starts in the active document's folder, else in the one
    // last used, else in home; never in the program's own folder.
    const CQuilletView* active = m_pMainFrame ? m_pMainFrame->ActiveView() : nullptr;
    const CQuilletDoc* doc = active ? active->GetDocument() : nullptr;
    const QString path =
        UserPrompt::GetOpenFileName(m_pMainFrame, QStringLiteral("打开"),
                                    DialogFolder::For(doc ? doc->GetPathName() : QString()),
                                    CDocTemplate::FileDialogFilter());
    if (path.isEmpty())
        return;
    DialogFolder::Remember(path);
    m_pDocTemplate->OpenDocumentFile(path);
}

void CQuilletApp::OnFilePrintSetup()
{
    QPrinter printer;
    QPageSetupDialog dialog(&printer, m_pMainFrame);
    dialog.exec();
}
