#include "SlotFormat.h"

#include "SettingsValue.h"

#include <QSettings>

#include <cmath>
#include <cstring>

namespace {

int ReadInt(QSettings& s, const QString& name, int fallback)
{
    return SettingsValue::ToInt(s.value(name), fallback);
}

} // namespace

void SetFaceName(CSlotFormat& format, const std::string& utf8)
{
    std::size_t len = std::min(utf8.size(), kFaceNameBytes - 1);
    // Back off over continuation bytes so that no character is cut in two.
    if (len < utf8.size())
        while (len > 0 && (static_cast<unsigned char>(utf8[len]) & 0xC0) == 0x80)
            --len;
    std::memcpy(format.szFaceName, utf8.data(), len);
    std::memset(format.szFaceName + len, 0, kFaceNameBytes - len);
}

CSlotFormat GetSlotFormat(QSettings& settings, int slot)
{
    using namespace StyleSlots;
    CSlotFormat f;
    f.cbSize = 60;
    f.dwMask = kSlotFormatMask;
    f.dwEffects = 0;
    settings.beginGroup(QLatin1String(kSection));
    SetFaceName(f, settings.value(ValueName(slot, kFaceName), QString()).toString().toStdString());
    // A colour is 0x00BBGGRR; anything beyond counts as unset, as a size out
    // of range does, rather than have its low bits paint the text (-1 would
    // be white on the white page).
    const int colour = ReadInt(settings, ValueName(slot, kColor), static_cast<int>(DefaultColor(slot)));
    f.crTextColor = colour >= 0 && colour <= 0xFFFFFF ? static_cast<COLORREF>(colour) : DefaultColor(slot);
    f.yHeight = ReadInt(settings, ValueName(slot, kSize), 0);
    if (ReadInt(settings, ValueName(slot, kStrikeOut), 0) == 1)
        f.dwEffects |= CFE_STRIKEOUT;
    if (ReadInt(settings, ValueName(slot, kUnderLine), 0) == 1)
        f.dwEffects |= CFE_UNDERLINE;
    if (ReadInt(settings, ValueName(slot, kBold), 0) == 1)
        f.dwEffects |= CFE_BOLD;
    if (ReadInt(settings, ValueName(slot, kItalic), 0) == 1)
        f.dwEffects |= CFE_ITALIC;
    settings.endGroup();
    return f;
}

std::array<CSlotFormat, kSlotCount> ReadSlotFormats(QSettings& settings)
{
    std::array<CSlotFormat, kSlotCount> formats;
    for (int slot = 0; slot < kSlotCount; ++slot)
        formats[slot] = GetSlotFormat(settings, slot);
    return formats;
}

double PointsFromLogicalHeight(std::int32_t height, double dpi)
{
    if (height == 0 || dpi <= 0)
        return 0;
    return std::abs(static_cast<double>(height)) * 72.0 / dpi;
}

double UsablePointsFromLogicalHeight(std::int32_t height, double dpi)
{
    const double points = PointsFromLogicalHeight(height, dpi);
    return points >= kMinFormatPoints && points <= kMaxFormatPoints ? points : 0;
}

std::int32_t LogicalHeightFromPoints(double points, double dpi)
{
    return -static_cast<std::int32_t>(std::lround(points * dpi / 72.0));
}

CSlotFormat GetStoredSlotFormat(int slot)
{
    QSettings settings{QString::fromLatin1(kSettingsOrganisation), QString::fromLatin1(kSettingsApplication)};
    return GetSlotFormat(settings, slot);
}

std::array<CSlotFormat, kSlotCount> ReadStoredSlotFormats()
{
    QSettings settings{QString::fromLatin1(kSettingsOrganisation), QString::fromLatin1(kSettingsApplication)};
    return ReadSlotFormats(settings);
}
