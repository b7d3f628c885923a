// What the write-fault helper and the test that drives it share: the
// operations, where each one's files lie in the helper's folder, and the old
// and new contents, so that the test can tell old, new and anything else apart.
#pragma once

#include <QString>
#include <QStringList>

#include "SlotFontChoice.h"

namespace WriteFaultCases {

// A save of page.php in site/ (replaced as a whole, or written in place
// because alias.php is a second hard link), in UTF-8 or GB18030; the
// document's recovery copy; a style choice stored in the settings file; a
// snippet added to the user library; a new code library made over an
// existing file.
inline const QStringList kOperations = {"save-replace-utf8", "save-replace-gb18030", "save-inplace-utf8",
                                        "save-inplace-gb18030", "recovery-copy", "settings", "library-write",
                                        "library-new"};

// Lines of the old page: the GB18030 one is small enough to sit in a
// file's write buffer, the UTF-8 one is not.
inline int PageLines(const QString& op) { return op.endsWith(QLatin1String("gb18030")) ? 100 : 1000; }
// Lines of the recovery copy's text: a small copy, written from the buffer.
constexpr int kCopyLines = 100;

inline QString Page(const QString& dir) { return dir + QStringLiteral("/site/page.php"); }
inline QString Alias(const QString& dir) { return dir + QStringLiteral("/site/alias.php"); }
inline QString Backups(const QString& dir) { return dir + QStringLiteral("/backups"); }
inline QString RecoveryFolder(const QString& dir) { return dir + QStringLiteral("/recovery"); }
inline QString ConfigHome(const QString& dir) { return dir + QStringLiteral("/config"); }
inline QString SettingsFile(const QString& dir) { return ConfigHome(dir) + QStringLiteral("/Fennroth/Quillet.conf"); }
inline QString StartDir(const QString& dir) { return dir + QStringLiteral("/start"); }
inline QString UserLibrary(const QString& dir) { return dir + QStringLiteral("/lib/mine.mdb"); }
inline QString NewLibrary(const QString& dir) { return dir + QStringLiteral("/lib/fresh.mdb"); }

// Lines of PHP with Chinese in them, different in every line; the new text
// is shorter than the old, so a save must also cut the file.
inline QString Text(bool isNew, int oldLines = 1000)
{
    QString text;
    const int lines = isNew ? oldLines * 7 / 10 : oldLines;
    for (int i = 0; i < lines; ++i)
        text += QStringLiteral("<?php echo '%1 第%2行：%3'; ?>\n")
                    .arg(isNew ? QStringLiteral("新") : QStringLiteral("旧"))
                    .arg(i)
                    .arg(isNew ? QStringLiteral("保存后的内容") : QStringLiteral("原来的内容，没有改动"));
    return text;
}

// The snippet the helper adds, and the slot font value it stores.
inline const QString kSnippetTitle = QStringLiteral("新片段");
inline const QString kSnippetText = QStringLiteral("<?php echo '片段'; ?>");
constexpr int kStyleSlot = 3;
inline const QString kOldFace = QStringLiteral("Old Face");
inline CChosenFont NewFont()
{
    CChosenFont font;
    font.faceName = QStringLiteral("新字体");
    font.height = -20;
    font.weight = 700;
    font.color = 0x0000ff;
    return font;
}

} // namespace WriteFaultCases
