// The workspace bar's own images: six tab images and three caption-button images.
#pragma once

#include <QIcon>
#include <QList>

namespace WorkspaceImages {

// 16 x 16 images for the tabs PHP, CSS, Html, JavaScript, CodeBlock and LocalSite, in that order.
QList<QIcon> TabImages();

// 13 x 13 caption-button images: hide, minimise in a row, minimise in a column.
QList<QIcon> CaptionButtonImages();

} // namespace WorkspaceImages
