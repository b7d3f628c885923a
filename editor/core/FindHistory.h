// The list of recent searches offered in the find dialog's drop-down.
#pragma once

#include <QStringList>

namespace FindHistory {

constexpr int kMaxEntries = 20;

// history with text in front: an earlier copy of it leaves its old place, an
// empty text changes nothing, and the oldest fall off past kMaxEntries.
QStringList Add(QStringList history, const QString& text);

// The settings' list made safe to show: empty and repeated entries dropped,
// at most kMaxEntries kept, each cut to a sensible length.
QStringList Clean(const QStringList& stored);

// The history kept in the settings ("Find"/"History"), cleaned.
QStringList Stored();
// Puts text in front of the stored history; returns the new history.
QStringList Remember(const QString& text);

} // namespace FindHistory
