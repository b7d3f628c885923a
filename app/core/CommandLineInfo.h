// The start command line: the files to open and the shell's flags.
#pragma once

#include <QString>
#include <QStringList>

class CCommandLineInfo
{
public:
    enum ShellCommand {
        FileNew,        // no file: one new untitled document
        FileOpen,       // open every file of m_fileNames
        FilePrint,      // "p": print every file of m_fileNames to the default printer
        FilePrintTo,    // "pt": print m_strFileName to m_strPrinterName
        FileDDE,        // "dde": wait for open requests, open nothing
        AppUnregister,  // "Unregister" / "Unregserver": remove the registration
        Invalid         // a flag that needs an argument did not get it
    };

    ShellCommand m_nShellCommand = FileNew;
    bool m_bShowSplash = true;
    bool m_bRunEmbedded = false;
    bool m_bRunAutomated = false;
    QString m_strFileName;     // the first file, empty when there is none
    QStringList m_fileNames;   // every file, in command-line order
    QString m_strPrinterName;
    QStringList m_unknownFlags;

    // Parses the arguments after the program name. Flags start with "-" or
    // "--" and are matched without regard to case; anything else (including an
    // absolute path starting with "/") is a file or a flag's argument.
    static CCommandLineInfo Parse(const QStringList& args);
};
