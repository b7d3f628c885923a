#include "SlotFontChoice.h"

#include <QSettings>

QList<QPair<QString, QVariant>> SlotFontValues(int slot, const CChosenFont& font)
{
    using namespace StyleSlots;
    return {
        {ValueName(slot, kFaceName), font.faceName},
        {ValueName(slot, kSize), font.height},
        {ValueName(slot, kColor), static_cast<int>(font.color)},
        {ValueName(slot, kStrikeOut), font.strikeOut ? 1 : 0},
        {ValueName(slot, kUnderLine), font.underline ? 1 : 0},
        {ValueName(slot, kBold), font.weight == 700 ? 1 : 0},
        {ValueName(slot, kItalic), font.italic ? 1 : 0},
    };
}

void StoreSlotFont(QSettings& settings, int slot, const CChosenFont& font)
{
    settings.beginGroup(QLatin1String(StyleSlots::kSection));
    for (const auto& [name, value] : SlotFontValues(slot, font))
        settings.setValue(name, value);
    settings.endGroup();
}
