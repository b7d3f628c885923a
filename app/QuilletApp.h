// The application object: start-up, the shell's commands, and exit.
#pragma once

#include <QApplication>
#include <memory>

#include "CommandMap.h"
#include "core/CommandLineInfo.h"
#include "core/RecentFileList.h"

class CCrashRecovery;
class CDocTemplate;
class CInstanceChannel;
class CMainFrame;
class COpenFailureNotice;
class CQuilletDoc;

class CQuilletApp : public QApplication, public CCmdTarget
{
    Q_OBJECT
public:
    CQuilletApp(int& argc, char** argv);
    ~CQuilletApp() override;

    // The start-up sequence; false ends the program with ExitCode().
    bool InitInstance();
    // Writes the recent-file list when start-up read it; returns the exit code.
    int ExitInstance(int code);
    int ExitCode() const { return m_nExitCode; }

    CDocTemplate* DocTemplate() const { return m_pDocTemplate; }
    CMainFrame* MainFrame() const { return m_pMainFrame; }
    CRecentFileList& RecentFiles() { return m_recentFiles; }
    CCrashRecovery* Recovery() const { return m_pRecovery; }

    // Carries out the command line: a new document, the files, printing,
    // waiting. Printing ends the program, with exit code 1 when a file was
    // not printed.
    bool ProcessShellCommand(const CCommandLineInfo& info);
    // Prints doc on printerName (the default printer when empty; a name
    // ending in ".pdf" that is no printer's is a PDF file to write). False,
    // with a message, when nothing was printed.
    static bool PrintDocument(CQuilletDoc* doc, const QString& printerName);

    // Files sent by a second start: opened, and the window comes to the front.
    void OpenRequestedFiles(const QStringList& files);

    static void LoadTranslations(QCoreApplication* app);

private:
    void OnFileOpen();
    void OnFilePrintSetup();

    CDocTemplate* m_pDocTemplate = nullptr;
    CMainFrame* m_pMainFrame = nullptr;
    CInstanceChannel* m_pChannel = nullptr;
    COpenFailureNotice* m_pOpenFailures = nullptr;
    CCrashRecovery* m_pRecovery = nullptr;
    // SIGTERM or SIGHUP ended the run: the recovery copies stay for the next start.
    bool m_bTerminated = false;
    CRecentFileList m_recentFiles{4};
    bool m_bRecentListRead = false;
    int m_nExitCode = 0;
};
