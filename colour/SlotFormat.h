// The format record of a slot, built from the seventy "CF%d_" settings values.
#pragma once

#include "StyleSlot.h"

#include <array>
#include <cstdint>
#include <string>

class QSettings;

// Effect bits and mask bits of the record (the rich-edit CHARFORMAT values).
constexpr std::uint32_t CFE_BOLD = 0x00000001;
constexpr std::uint32_t CFE_ITALIC = 0x00000002;
constexpr std::uint32_t CFE_UNDERLINE = 0x00000004;
constexpr std::uint32_t CFE_STRIKEOUT = 0x00000008;
constexpr std::uint32_t CFM_BOLD = 0x00000001;
constexpr std::uint32_t CFM_ITALIC = 0x00000002;
constexpr std::uint32_t CFM_UNDERLINE = 0x00000004;
constexpr std::uint32_t CFM_STRIKEOUT = 0x00000008;
constexpr std::uint32_t CFM_SIZE = 0x80000000;
constexpr std::uint32_t CFM_COLOR = 0x40000000;
constexpr std::uint32_t CFM_FACE = 0x20000000;
constexpr std::uint32_t kSlotFormatMask =
    CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
constexpr std::size_t kFaceNameBytes = 32; // 31 bytes and the terminator

// One slot's character format, laid out as the 60-byte ANSI CHARFORMAT.
// yHeight is the stored "Size": a logical-font height (negative: the character
// height in pixels; 0: the editor's default size). An empty face name means the
// editor's default monospace font. szFaceName holds UTF-8, cut on a character
// boundary.
struct CSlotFormat {
    std::uint32_t cbSize = 60;
    std::uint32_t dwMask = kSlotFormatMask;
    std::uint32_t dwEffects = 0;
    std::int32_t yHeight = 0;
    std::int32_t yOffset = 0;
    COLORREF crTextColor = 0;
    std::uint8_t bCharSet = 0;
    std::uint8_t bPitchAndFamily = 0;
    char szFaceName[kFaceNameBytes] = {};

    bool Bold() const { return dwEffects & CFE_BOLD; }
    bool Italic() const { return dwEffects & CFE_ITALIC; }
    bool Underline() const { return dwEffects & CFE_UNDERLINE; }
    bool StrikeOut() const { return dwEffects & CFE_STRIKEOUT; }
    std::string FaceName() const { return szFaceName; }
};
static_assert(sizeof(CSlotFormat) == 60);

// Builds the record of slot from section "Settings" of settings, reading
// FaceName, Color, Size, StrikeOut, UnderLine, Bold, Italic in that order. Absent
// or non-numeric values take their defaults, and so does a colour outside
// 0..0xFFFFFF; a flag counts only when it is 1.
// Never fails; a slot outside 0..9 gets black.
CSlotFormat GetSlotFormat(QSettings& settings, int slot);

// The ten records, read in one go (the start of a colouring pass).
std::array<CSlotFormat, kSlotCount> ReadSlotFormats(QSettings& settings);

// Copies utf8 into a face-name field, at most 31 bytes, never splitting a character.
void SetFaceName(CSlotFormat& format, const std::string& utf8);

// Point size of a logical-font height at dpi dots per inch (0 for height 0);
// the magnitude is taken, so a cell height reads as a character height.
double PointsFromLogicalHeight(std::int32_t height, double dpi);
// The point size a stored height stands for, or 0 (the editor's default
// size) when it is out of the usable range of 4 to 400 points, as a size of
// 10^9 or -2^31 in a damaged settings file would be.
double UsablePointsFromLogicalHeight(std::int32_t height, double dpi);
constexpr double kMinFormatPoints = 4;
constexpr double kMaxFormatPoints = 400;
// The logical-font height (negative) of a point size at dpi.
std::int32_t LogicalHeightFromPoints(double points, double dpi);

// The application's settings store, QSettings("Fennroth", "Quillet").
inline constexpr char kSettingsOrganisation[] = "Fennroth";
inline constexpr char kSettingsApplication[] = "Quillet";
// GetSlotFormat over the application's settings store (what the main frame's
// GetSlotFormat does).
CSlotFormat GetStoredSlotFormat(int slot);
std::array<CSlotFormat, kSlotCount> ReadStoredSlotFormats();
