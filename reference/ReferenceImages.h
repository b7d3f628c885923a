// The image lists of the reference pages: one 16x16 image per entry kind ("e").
#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QRgb>

namespace ReferenceImages {

constexpr int kImageSize = 16;

// Cuts count images of 16x16 from a strip laid out left to right; pixels of the
// mask colour become transparent. Each icon shows its image both normal and
// selected, as a tree item's image and selected image. Missing images (a strip
// shorter than count images) are null icons.
QList<QIcon> FromStrip(const QImage& strip, int count, QRgb mask);

// Transparent colour of a page's strip: green for PHP and JavaScript, red for
// CSS and Html.
QRgb MaskColour(int kind);

// The image list of the reference page of kind (ReferenceTables::ImageCount
// images); empty for any other kind.
QList<QIcon> ForKind(int kind);

} // namespace ReferenceImages
