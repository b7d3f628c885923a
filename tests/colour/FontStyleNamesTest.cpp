// Font style names as the font dialog shows them.
#include "FontStyleNames.h"

#include <gtest/gtest.h>

TEST(FontStyleNamesTest, TheFontsEnglishStyleNamesAreShownInChinese)
{
    const struct { const char* style; const char* shown; } cases[] = {
        {"Regular", "常规"},          {"Book", "常规"},           {"Roman", "常规"},
        {"Italic", "倾斜"},           {"Oblique", "倾斜"},        {"Bold", "粗体"},
        {"Bold Italic", "粗偏斜"},    {"BoldItalic", "粗偏斜"},   {"Bold Oblique", "粗偏斜"},
        {"Semi Bold", "半粗"},        {"Demi Bold Italic", "半粗倾斜"}, {"ExtraLight", "特细"},
        {"Extra Light", "特细"},      {"Condensed Bold Oblique", "窄粗体倾斜"},
        {"Light Fancy", "细体 Fancy"}, {"W3 Fancy", "W3 Fancy"}, {"常规", "常规"}, {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FontStyleNames::Chinese(QString::fromUtf8(c.style)), QString::fromUtf8(c.shown)) << c.style;
}
