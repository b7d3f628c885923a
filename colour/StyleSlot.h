// The ten character-format slots: names, default colours, the style dialog's
// button for each, and the names of their seven settings values.
#pragma once

#include <cstdint>

#include <QString>

enum StyleSlot : int {
    SLOT_HTML_ELEMENT = 0,   // HTML parts as a whole; a new editor's default format
    SLOT_PHP_DELIMITER = 1,  // "<?php", "<?", "?>"
    SLOT_HTML_DELIMITER = 2, // "<", ">", "/>", "="
    SLOT_HTML_ATTRVALUE = 3, // double-quoted strings in HTML
    SLOT_PHP_KEYWORD = 4,
    SLOT_PHP_IDENTIFIER = 5, // PHP code as a whole
    SLOT_PHP_COMMENT = 6,    // comment markers
    SLOT_PHP_STRING = 7,     // double-quoted strings in PHP
    SLOT_PHP_OPERATOR = 8,
    SLOT_PHP_NUMBER = 9,
};

constexpr int kSlotCount = 10;

// A colour as 0x00BBGGRR.
using COLORREF = std::uint32_t;

constexpr COLORREF MakeColorRef(int red, int green, int blue)
{
    return static_cast<COLORREF>(red) | (static_cast<COLORREF>(green) << 8) | (static_cast<COLORREF>(blue) << 16);
}

namespace StyleSlots {

// The colour used when none is stored; black for a number outside 0..9.
COLORREF DefaultColor(int slot);

// The style dialog's button of a slot: its id, caption and group ("Html" or "Php").
struct ButtonInfo {
    int slot;
    int id;
    const char* caption; // UTF-8
    const char* group;
};
const ButtonInfo& Button(int slot);

// Settings section and value names: "CF<slot>_<field>".
inline constexpr char kSection[] = "Settings";
QString ValueName(int slot, const char* field);

// Field names in the order GetSlotFormat reads them.
inline constexpr const char* kFaceName = "FaceName";
inline constexpr const char* kColor = "Color";
inline constexpr const char* kSize = "Size";
inline constexpr const char* kStrikeOut = "StrikeOut";
inline constexpr const char* kUnderLine = "UnderLine";
inline constexpr const char* kBold = "Bold";
inline constexpr const char* kItalic = "Italic";

} // namespace StyleSlots
