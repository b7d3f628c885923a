// A hyperlink's style bits, the colour its state shows, and its size when
// it fits itself to its text.
#pragma once

#include <QRect>
#include <QSize>
#include <Qt>

namespace HyperLinkStyle {

enum Bits : unsigned {
    Underline = 0x01,       // underline the text
    UseHover = 0x02,        // the hover colour while the mouse is over it
    AutoSize = 0x04,        // size the control to its text
    DownClick = 0x08,       // open on button press instead of release
    GetFocusOnClick = 0x10, // take the focus when clicked
    NoHandCursor = 0x20,    // keep the ordinary cursor
    NoActiveColour = 0x40,  // never show the active colour
};
constexpr unsigned kDefault = Underline | AutoSize | GetFocusOnClick;

enum class Colour { Hover, Active, Visited, Link };

// Tested in this order: hover (only with UseHover), active (unless
// NoActiveColour), visited, otherwise the link colour.
Colour ColourFor(bool over, bool active, bool visited, unsigned style);

// The control's new rectangle in its parent when it fits a text of size
// text (borders included): vertically centred on the old rectangle or kept
// at its top; horizontally centred, kept at its right edge, or at its left.
QRect SizedToText(const QRect& old, const QSize& text, Qt::Alignment alignment);

} // namespace HyperLinkStyle
