// A font chosen for a slot and the seven settings values it is stored as.
#pragma once

#include "StyleSlot.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

class QSettings;

// What the font dialog returns, in logical-font terms.
struct CChosenFont {
    QString faceName;
    int height = 0;   // logical-font height, negative for a character height in pixels
    int weight = 400; // 100..900, 700 is bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    COLORREF color = 0;
};

// The values a confirmed choice writes for slot, in the order they are written:
// FaceName, Size, Color, StrikeOut, UnderLine, Bold (1 only for weight 700), Italic.
QList<QPair<QString, QVariant>> SlotFontValues(int slot, const CChosenFont& font);

// Writes those values into section "Settings" of settings, in that order
// (to the file at the settings' next sync).
void StoreSlotFont(QSettings& settings, int slot, const CChosenFont& font);
