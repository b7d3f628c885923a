#include "SettingsSync.h"

#include <QFile>
#include <QSettings>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "UserPrompt.h"

namespace SettingsSync {

namespace {
bool g_told = false;

// How many keys the file on disk holds whole: one line a key, the last one
// ended. QSettings (through QSaveFile) reports no failure of the write that
// empties its buffer at the end, and then leaves a cut or empty file.
qsizetype WholeLines(const QString& path)
{
    if (!QFile::exists(path))
        return 0;   // no values were ever written
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = file.readAll();
    if (!text.isEmpty() && !text.endsWith('\n'))
        return -1;
    qsizetype lines = 0;
    for (const QByteArray& line : text.split('\n'))
        if (!line.trimmed().isEmpty() && !line.startsWith('['))
            ++lines;
    return lines;
}

ino_t Inode(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

// Syncs the file itself: QSaveFile does not look at the result of its own sync.
bool IsSynced(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fdatasync(fd) == 0;
    return ::close(fd) == 0 && synced;
}
} // namespace

bool Commit(QSettings& settings, QWidget* parent)
{
    const QString path = settings.fileName();
    const bool existed = QFile::exists(path);
    const QFile::Permissions permissions = QFile::permissions(path);
    const ino_t before = Inode(path);
    // The values this file is to hold (its own, not those it falls back on).
    const bool fallbacks = settings.fallbacksEnabled();
    settings.setFallbacksEnabled(false);
    QList<std::pair<QString, QVariant>> values;
    for (const QString& key : settings.allKeys())
        values.append({key, settings.value(key)});
    settings.sync();
    // A FormatError is about the file as it was read, not the writing.
    bool written = settings.status() != QSettings::AccessError;
    // A file QSettings had no need to write is as it was (and may hold lines
    // it does not read as values); a written one is a new file.
    const bool replaced = Inode(path) != before;
    if (written && replaced && WholeLines(path) != values.size()) {
        // Cut short: every value is written again.
        written = false;
        for (const auto& [key, value] : values)
            settings.setValue(key, value);
        settings.sync();
    }
    settings.setFallbacksEnabled(fallbacks);
    written = (!replaced || !QFile::exists(path) || IsSynced(path)) && written;
    // A replaced file keeps its mode even when QSaveFile could not copy it.
    if (existed && QFile::permissions(path) != permissions)
        QFile::setPermissions(path, permissions);
    if (written) {
        g_told = false;
        return true;
    }
    if (!g_told) {
        g_told = true;
        UserPrompt::ShowMessage(parent, QStringLiteral("无法写入设置文件 %1，刚才的设置没有保存。").arg(path));
    }
    return false;
}

} // namespace SettingsSync
