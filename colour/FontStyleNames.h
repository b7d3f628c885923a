// Font style names in Chinese. The fonts name their own styles, in English
// ("Book", "Bold Italic", "Condensed Bold Oblique"), and Qt shows those names
// as they are; the font dialog shows these instead.
#pragma once

#include <QString>

namespace FontStyleNames {

// The Chinese name of style: the usual four as a font dialog names them
// (常规, 倾斜, 粗体, 粗偏斜), otherwise word by word; a word without a
// Chinese name is kept, and so is a name already in Chinese.
QString Chinese(const QString& style);

} // namespace FontStyleNames
