// Registers Quillet with the desktop: its desktop entry and the default
// application for PHP files, in the user's XDG directories.
#pragma once

#include <QString>
#include <QStringList>

class CDesktopRegistration
{
public:
    static constexpr const char* kDesktopId = "quillet.desktop";
    static constexpr const char* kPhpMimeType = "application/x-php";

    // execPath is the program the entry starts; iconName the entry's icon.
    CDesktopRegistration(QString execPath, QString iconName = QStringLiteral("quillet"));

    // Writes the desktop entry, then makes it the default for PHP files when
    // PHP files have no default yet or already name Quillet. Returns false
    // when a file could not be written.
    bool Register() const;
    // Removes what Register wrote: the entry and a default naming Quillet.
    bool Unregister() const;

    // The desktop id that opens PHP files now (empty when none is set), by
    // the XDG rules: the first mimeapps.list that names one wins.
    QString CurrentDefault() const;
    // The desktop id that opens files of mimeType (empty when none is set).
    static QString DefaultFor(const QString& mimeType);

    QString DesktopEntryPath() const;
    QString UserMimeAppsPath() const;
    QString DesktopEntryText() const;

    // Directories as the XDG base directory rules give them (variables or
    // their defaults under HOME).
    static QString DataHome();
    static QString ConfigHome();
    static QStringList DataDirs();
    static QStringList ConfigDirs();
    // The mimeapps.list files in the order the XDG rules read them.
    static QStringList MimeAppsFiles();

private:
    QString m_strExecPath;
    QString m_strIconName;
};

// Line-preserving edits of a mimeapps.list (an INI text with ";"-lists as values).
namespace MimeAppsList {
// The first desktop id given for mimeType in [Default Applications].
QString DefaultFor(const QString& text, const QString& mimeType);
// text with mimeType's default set to desktopId (section created when missing);
// every other line is kept as it was.
QString WithDefault(const QString& text, const QString& mimeType, const QString& desktopId);
// text without the mimeType line of [Default Applications].
QString WithoutDefault(const QString& text, const QString& mimeType);
} // namespace MimeAppsList
