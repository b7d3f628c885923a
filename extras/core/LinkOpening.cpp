#include "LinkOpening.h"

#include <QProcess>

#include "DesktopExec.h"

namespace LinkOpening {

int Open(const QString& address, const Launcher& launcher)
{
    if (launcher.openUrl && launcher.openUrl(address))
        return kOpened;
    const int shellResult = kNoAssociation;
    const QString command = launcher.webPageCommand ? launcher.webPageCommand() : QString();
    if (command.isEmpty() || !launcher.start)
        return shellResult;
    // The address goes in as one argument of its own, whatever characters
    // it holds, never through the command line's quoting.
    QStringList arguments = QProcess::splitCommand(DesktopExec::CutAtFieldCode(command));
    if (arguments.isEmpty())
        return shellResult;
    const QString program = arguments.takeFirst();
    arguments << address;
    return launcher.start(program, arguments);
}

QString ResultText(int result)
{
    switch (result) {
    case 0: return QStringLiteral("The operating system is out\nof memory or resources.");
    case 2: return QStringLiteral("The specified file was not found.");
    case 3: return QStringLiteral("The specified path was not found.");
    case 5: return QStringLiteral("The operating system denied\naccess to the specified file.");
    case 8: return QStringLiteral("There was not enough memory to complete the operation.");
    case 11: return QStringLiteral("The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
    case 26: return QStringLiteral("A sharing violation occurred. ");
    case 27: return QStringLiteral("The filename association is\nincomplete or invalid.");
    case 28:
        return QStringLiteral("The DDE transaction could not\nbe completed because the request timed out.");
    case 29: return QStringLiteral("The DDE transaction failed.");
    case 30:
        return QStringLiteral("The DDE transaction could not\nbe completed because other DDE transactions\n"
                              "were being processed.");
    case 31: return QStringLiteral("There is no application associated\nwith the given filename extension.");
    case 32: return QStringLiteral("The specified dynamic-link library was not found.");
    default: return QStringLiteral("Unknown Error (%1) occurred.").arg(result);
    }
}

QString FailureMessage(int result)
{
    return QStringLiteral("Can't open link:\n\n") + ResultText(result);
}

} // namespace LinkOpening
