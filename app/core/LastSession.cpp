#include "LastSession.h"

#include <QSettings>
#include <QStringList>

#include "SettingsValue.h"

namespace LastSession {

namespace {
const QString kGroup = QStringLiteral("LastSession");
const QString kFiles = QStringLiteral("LastSession/Files");
const QString kLines = QStringLiteral("LastSession/Lines");
const QString kActive = QStringLiteral("LastSession/Active");
const QString kSite = QStringLiteral("LastSession/Site");
} // namespace

bool IsOn(const QSettings& settings)
{
    return SettingsValue::ToBool(settings.value(QLatin1String(kRestoreKey)), false);
}

void Write(QSettings& settings, const Session& session)
{
    QStringList files, lines;
    for (const Entry& entry : session.files) {
        files << entry.strPath;
        lines << QString::number(entry.nLine);
    }
    settings.setValue(kFiles, files);
    settings.setValue(kLines, lines);
    settings.setValue(kActive, session.nActive);
    settings.setValue(kSite, session.strSite);
}

Session Read(const QSettings& settings)
{
    Session session;
    const QStringList files = settings.value(kFiles).toStringList();
    const QStringList lines = settings.value(kLines).toStringList();
    const int active = SettingsValue::ToInt(settings.value(kActive), -1);
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (files.at(i).isEmpty())
            continue;
        if (i == active)
            session.nActive = static_cast<int>(session.files.size());
        session.files << Entry{files.at(i), qMax(0, SettingsValue::ToInt(lines.value(i), 0))};
    }
    session.strSite = settings.value(kSite).toString();
    return session;
}

void Clear(QSettings& settings)
{
    settings.remove(kGroup);
}

} // namespace LastSession
