#include "DesktopRegistration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
const QString kSection = QStringLiteral("[Default Applications]");

QString EnvOr(const char* name, const QString& fallback)
{
    const QString value = qEnvironmentVariable(name);
    return QDir::isAbsolutePath(value) ? value : fallback;
}

QStringList EnvList(const char* name, const QStringList& fallback)
{
    QStringList dirs;
    for (const QString& d : qEnvironmentVariable(name).split(u':', Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(d))
            dirs << d;
    return dirs.isEmpty() ? fallback : dirs;
}

QString ReadText(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

bool WriteText(const QString& path, const QString& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(text.toUtf8());
    return f.commit();
}

bool IsSectionHeader(const QString& line) { return line.trimmed().startsWith(u'['); }

// Index of the mimeType line inside [Default Applications], or -1; sectionEnd
// receives the line index after the section (or -1 when there is none).
qsizetype FindEntry(const QStringList& lines, const QString& mimeType, qsizetype* sectionStart,
                    qsizetype* sectionEnd)
{
    *sectionStart = -1;
    *sectionEnd = -1;
    qsizetype found = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (IsSectionHeader(line)) {
            if (*sectionStart >= 0 && *sectionEnd < 0)
                *sectionEnd = i;
            if (line == kSection && *sectionStart < 0)
                *sectionStart = i;
            continue;
        }
        if (*sectionStart >= 0 && *sectionEnd < 0 && found < 0) {
            const qsizetype eq = line.indexOf(u'=');
            if (eq > 0 && line.left(eq).trimmed() == mimeType)
                found = i;
        }
    }
    if (*sectionStart >= 0 && *sectionEnd < 0)
        *sectionEnd = lines.size();
    return found;
}
} // namespace

namespace MimeAppsList {

QString DefaultFor(const QString& text, const QString& mimeType)
{
    const QStringList lines = text.split(u'\n');
    qsizetype start, end;
    const qsizetype i = FindEntry(lines, mimeType, &start, &end);
    if (i < 0)
        return {};
    const QString value = lines.at(i).mid(lines.at(i).indexOf(u'=') + 1).trimmed();
    return value.split(u';', Qt::SkipEmptyParts).value(0).trimmed();
}

QString WithDefault(const QString& text, const QString& mimeType, const QString& desktopId)
{
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    const QString entry = mimeType + u'=' + desktopId + u';';
    qsizetype start, end;
    const qsizetype i = FindEntry(lines, mimeType, &start, &end);
    if (i >= 0) {
        lines[i] = entry;
    } else if (start >= 0) {
        qsizetype at = end;
        while (at > start + 1 && lines.at(at - 1).trimmed().isEmpty())
            --at;   // keep the blank line that separates sections after the new entry
        lines.insert(at, entry);
    } else {
        if (!lines.isEmpty() && !lines.constLast().trimmed().isEmpty())
            lines << QString();
        lines << kSection << entry;
    }
    return lines.join(u'\n') + u'\n';
}

QString WithoutDefault(const QString& text, const QString& mimeType)
{
    QStringList lines = text.split(u'\n');
    qsizetype start, end;
    const qsizetype i = FindEntry(lines, mimeType, &start, &end);
    if (i < 0)
        return text;
    lines.removeAt(i);
    return lines.join(u'\n');
}

} // namespace MimeAppsList

CDesktopRegistration::CDesktopRegistration(QString execPath, QString iconName)
    : m_strExecPath(std::move(execPath)), m_strIconName(std::move(iconName))
{
}

QString CDesktopRegistration::DataHome()
{
    return EnvOr("XDG_DATA_HOME", QDir::homePath() + QLatin1String("/.local/share"));
}

QString CDesktopRegistration::ConfigHome()
{
    return EnvOr("XDG_CONFIG_HOME", QDir::homePath() + QLatin1String("/.config"));
}

QStringList CDesktopRegistration::DataDirs()
{
    return EnvList("XDG_DATA_DIRS", {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")});
}

QStringList CDesktopRegistration::ConfigDirs()
{
    return EnvList("XDG_CONFIG_DIRS", {QStringLiteral("/etc/xdg")});
}

QString CDesktopRegistration::DesktopEntryPath() const
{
    return DataHome() + QLatin1String("/applications/") + QLatin1String(kDesktopId);
}

QString CDesktopRegistration::UserMimeAppsPath() const
{
    return ConfigHome() + QLatin1String("/mimeapps.list");
}

QStringList CDesktopRegistration::MimeAppsFiles()
{
    // The lookup order of the XDG MIME applications rules: desktop-specific
    // files before the plain one, config directories before data directories.
    QStringList desktops;
    for (const QString& d : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts))
        desktops << d.toLower();
    QStringList files;
    const auto addDir = [&](const QString& dir) {
        for (const QString& d : desktops)
            files << dir + u'/' + d + QLatin1String("-mimeapps.list");
        files << dir + QLatin1String("/mimeapps.list");
    };
    addDir(ConfigHome());
    for (const QString& d : ConfigDirs())
        addDir(d);
    addDir(DataHome() + QLatin1String("/applications"));
    for (const QString& d : DataDirs())
        addDir(d + QLatin1String("/applications"));
    return files;
}

QString CDesktopRegistration::CurrentDefault() const
{
    const QString mime = QLatin1String(kPhpMimeType);
    for (const QString& file : MimeAppsFiles()) {
        const QString id = MimeAppsList::DefaultFor(ReadText(file), mime);
        if (!id.isEmpty())
            return id;
    }
    return {};
}

QString CDesktopRegistration::DesktopEntryText() const
{
    QString exec = m_strExecPath;
    if (exec.contains(u' ') || exec.contains(u'"'))
        exec = u'"' + QString(exec).replace(u'"', QLatin1String("\\\"")) + u'"';
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=Quillet\n"
               "GenericName=PHP Editor\n"
               "GenericName[zh_CN]=PHP 网页编辑器\n"
               "Comment=Quillet Document\n"
               "Exec=%1 %F\n"
               "Icon=%2\n"
               "Terminal=false\n"
               "Categories=Development;TextEditor;WebDevelopment;\n"
               "MimeType=%3;\n"
               "Actions=Print;\n"
               "\n"
               "[Desktop Action Print]\n"
               "Name=Print\n"
               "Name[zh_CN]=打印\n"
               "Exec=%1 -p %f\n")
        .arg(exec, m_strIconName, QLatin1String(kPhpMimeType));
}

bool CDesktopRegistration::Register() const
{
    const QString entryPath = DesktopEntryPath();
    bool ok = true;
    if (ReadText(entryPath) != DesktopEntryText())
        ok = WriteText(entryPath, DesktopEntryText());
    const QString current = CurrentDefault();
    if (current.isEmpty() || current == QLatin1String(kDesktopId)) {
        const QString path = UserMimeAppsPath();
        const QString text = ReadText(path);
        const QString updated =
            MimeAppsList::WithDefault(text, QLatin1String(kPhpMimeType), QLatin1String(kDesktopId));
        if (updated != text)
            ok = WriteText(path, updated) && ok;
    }
    return ok;
}

bool CDesktopRegistration::Unregister() const
{
    bool ok = true;
    const QString path = UserMimeAppsPath();
    const QString text = ReadText(path);
    if (MimeAppsList::DefaultFor(text, QLatin1String(kPhpMimeType)) == QLatin1String(kDesktopId))
        ok = WriteText(path, MimeAppsList::WithoutDefault(text, QLatin1String(kPhpMimeType)));
    if (QFile::exists(DesktopEntryPath()))
        ok = QFile::remove(DesktopEntryPath()) && ok;
    return ok;
}
