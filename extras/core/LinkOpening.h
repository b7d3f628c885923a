// Opening a hyperlink's address: the desktop's "open", then the program
// registered for web pages, and the texts for a failure. The desktop is
// reached through a launcher so that tests can stand in for it.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace LinkOpening {

// Result codes: any value above kLastFailure is success.
constexpr int kOutOfResources = 0;
constexpr int kFileNotFound = 2;
constexpr int kAccessDenied = 5;
constexpr int kNoAssociation = 31;
constexpr int kLastFailure = 32;
constexpr int kOpened = 33;

struct Launcher
{
    // The desktop's "open" for an address; true when the desktop took it.
    std::function<bool(const QString& address)> openUrl;
    // The command line of the program registered for web pages; empty when
    // there is none.
    std::function<QString()> webPageCommand;
    // Starts program with arguments; a result code.
    std::function<int(const QString& program, const QStringList& arguments)> start;
};

// Opens address: the desktop's "open" first; when that fails, the program
// registered for web pages with the address as its last argument. Returns
// the final result code.
int Open(const QString& address, const Launcher& launcher);

// The text for a result code, and the whole message shown for a failure.
QString ResultText(int result);
QString FailureMessage(int result);

} // namespace LinkOpening
