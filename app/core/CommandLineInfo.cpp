#include "CommandLineInfo.h"

namespace {
// The flag's name without its "-" or "--", or an empty text for a non-flag.
QString FlagName(const QString& arg)
{
    if (arg.size() < 2 || arg.front() != u'-')
        return {};
    return arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1).toLower();
}
} // namespace

CCommandLineInfo CCommandLineInfo::Parse(const QStringList& args)
{
    CCommandLineInfo info;
    QStringList params;
    bool print = false, printTo = false, dde = false, unregister = false;
    bool flagsEnded = false;
    for (const QString& arg : args) {
        const QString flag = flagsEnded ? QString() : FlagName(arg);
        if (!flagsEnded && arg == QLatin1String("--")) {
            flagsEnded = true;
            continue;
        }
        if (flag.isEmpty()) {
            params << arg;
            continue;
        }
        if (flag == u"embedding") {
            info.m_bRunEmbedded = true;
            info.m_bShowSplash = false;
        } else if (flag == u"automation") {
            info.m_bRunAutomated = true;
            info.m_bShowSplash = false;
        } else if (flag == u"p") {
            print = true;
        } else if (flag == u"pt") {
            printTo = true;
        } else if (flag == u"dde") {
            dde = true;
        } else if (flag == u"unregister" || flag == u"unregserver") {
            unregister = true;
        } else {
            info.m_unknownFlags << arg;
        }
    }
    if (!params.isEmpty())
        info.m_strFileName = params.constFirst();
    if (unregister) {
        info.m_nShellCommand = AppUnregister;
    } else if (dde) {
        info.m_nShellCommand = FileDDE;
    } else if (printTo) {
        // "pt FILE PRINTER": one file, then the printer; anything after the
        // two is ignored.
        info.m_strPrinterName = params.value(1);
        params = params.mid(0, 1);
        info.m_nShellCommand =
            info.m_strFileName.isEmpty() || info.m_strPrinterName.isEmpty() ? Invalid : FilePrintTo;
    } else if (print) {
        info.m_nShellCommand = info.m_strFileName.isEmpty() ? Invalid : FilePrint;
    } else {
        info.m_nShellCommand = info.m_strFileName.isEmpty() ? FileNew : FileOpen;
    }
    info.m_fileNames = params;
    return info;
}
