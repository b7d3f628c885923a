// Stands in for the desktop while installed: records every address handed
// to it and answers as told, starting nothing.
#pragma once

#include <QStringList>

#include "DesktopLink.h"

class CRecordingLauncher
{
public:
    bool opens = true;                 // what the desktop's "open" answers
    QString webPageCommand;            // the registered program's command line
    int startResult = LinkOpening::kOpened;

    QStringList opened;                // addresses given to "open"
    QList<QStringList> started;        // program and arguments started

    CRecordingLauncher()
    {
        m_launcher.openUrl = [this](const QString& address) {
            opened << address;
            return opens;
        };
        m_launcher.webPageCommand = [this] { return webPageCommand; };
        m_launcher.start = [this](const QString& program, const QStringList& arguments) {
            started << (QStringList{program} + arguments);
            return startResult;
        };
        DesktopLink::SetLauncher(&m_launcher);
    }
    ~CRecordingLauncher() { DesktopLink::SetLauncher(nullptr); }

private:
    LinkOpening::Launcher m_launcher;
};
