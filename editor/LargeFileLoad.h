// Opening a large file without freezing the window: the file is read,
// decoded and coloured on a worker thread while a progress dialog shows how
// far it has come, then handed to the editor in slices; its colours follow
// while the window already shows the text and takes input.
#pragma once

#include "core/FileEncoding.h"

#include <QString>
#include <QtGlobal>
#include <optional>

class CCodeEditCtrl;

namespace LargeFileLoad {

// Files of at least this many bytes are opened this way.
qint64 Threshold();
void SetThreshold(qint64 bytes);

// Reads path into editor, showing "正在打开 name…" with a progress
// bar over editor's window. Returns the file's format, or nothing when the
// file could not be read (the editor is then left as it was).
std::optional<FileEncoding::Format> Open(const QString& path, CCodeEditCtrl* editor);

} // namespace LargeFileLoad
