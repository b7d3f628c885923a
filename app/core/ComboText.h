// Splits a prototype text into the toolbar combo box's items.
#pragma once

#include <QString>
#include <QStringList>

// The items SetComboText shows for text: one item when text has no ";" or
// starts with one; otherwise one item per ";"-terminated piece (leading white
// space removed, empty pieces kept) and the last piece only when not empty.
QStringList SplitComboText(const QString& text);
