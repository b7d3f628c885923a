// Slot formats from the settings store, the values a font choice writes, and
// the recolouring trigger's line-start rule.
#include "SlotFontChoice.h"
#include "SlotFormat.h"

#include <gtest/gtest.h>

#include <limits>

#include <QSettings>
#include <QTemporaryDir>

namespace {

class SlotSettings : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString Path() const { return m_dir.filePath("Quillet.conf"); }
    QSettings Store() const { return QSettings(Path(), QSettings::IniFormat); }

    QTemporaryDir m_dir;
};

void Put(QSettings& s, const QString& key, const QVariant& v)
{
    s.setValue("Settings/" + key, v);
}

} // namespace

TEST_F(SlotSettings, EmptyStoreGivesDefaults)
{
    QSettings s = Store();
    const COLORREF expected[kSlotCount] = {0x006600, 0x0000FF, 0x336600, 0x666666, 0xFF0000,
                                           0x000000, 0x009AFF, 0x0000CC, 0x990064, 0x000099};
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const CSlotFormat f = GetSlotFormat(s, slot);
        EXPECT_EQ(f.cbSize, 60u);
        EXPECT_EQ(f.dwMask, 0xE000000Fu);
        EXPECT_EQ(f.dwEffects, 0u) << slot;
        EXPECT_EQ(f.yHeight, 0);
        EXPECT_EQ(f.crTextColor, expected[slot]) << slot;
        EXPECT_EQ(f.FaceName(), "");
    }
    EXPECT_EQ(GetSlotFormat(s, 10).crTextColor, 0u);
    EXPECT_EQ(GetSlotFormat(s, -1).crTextColor, 0u);
    // Reading creates nothing.
    EXPECT_TRUE(s.allKeys().isEmpty());
}

TEST_F(SlotSettings, FilledStoreFillsTheRecord)
{
    {
        QSettings s = Store();
        Put(s, "CF4_FaceName", QString::fromUtf8("宋体"));
        Put(s, "CF4_Color", 0x123456);
        Put(s, "CF4_Size", -16);
        Put(s, "CF4_StrikeOut", 1);
        Put(s, "CF4_UnderLine", 1);
        Put(s, "CF4_Bold", 1);
        Put(s, "CF4_Italic", 1);
        Put(s, "CF5_Bold", 1);
    }
    QSettings s = Store();
    const CSlotFormat f = GetSlotFormat(s, 4);
    EXPECT_EQ(f.FaceName(), "宋体");
    EXPECT_EQ(f.crTextColor, 0x123456u);
    EXPECT_EQ(f.yHeight, -16);
    EXPECT_EQ(f.dwEffects, CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT);
    EXPECT_TRUE(f.Bold() && f.Italic() && f.Underline() && f.StrikeOut());
    // Values of another slot stay with it.
    EXPECT_EQ(GetSlotFormat(s, 5).dwEffects, CFE_BOLD);
    EXPECT_EQ(GetSlotFormat(s, 3).dwEffects, 0u);
    const auto all = ReadSlotFormats(s);
    EXPECT_EQ(all[4].crTextColor, 0x123456u);
    EXPECT_EQ(all[9].crTextColor, 0x000099u);
}

TEST_F(SlotSettings, FlagsCountOnlyWhenExactlyOne)
{
    QSettings s = Store();
    Put(s, "CF7_Bold", 2);
    Put(s, "CF7_Italic", -1);
    Put(s, "CF7_UnderLine", "yes");
    Put(s, "CF7_StrikeOut", 0);
    EXPECT_EQ(GetSlotFormat(s, 7).dwEffects, 0u);
    Put(s, "CF7_Bold", 1);
    EXPECT_EQ(GetSlotFormat(s, 7).dwEffects, CFE_BOLD);
}

TEST_F(SlotSettings, MalformedNumbersFallBackToDefaults)
{
    QSettings s = Store();
    Put(s, "CF1_Color", "red");
    Put(s, "CF1_Size", "big");
    const CSlotFormat f = GetSlotFormat(s, 1);
    EXPECT_EQ(f.crTextColor, 0x0000FFu);
    EXPECT_EQ(f.yHeight, 0);
}

TEST_F(SlotSettings, ColoursBeyondBlueGreenRedCountAsUnset)
{
    QSettings s = Store();
    const QVariant values[] = {-1, 4294967295u, "4294967295", 0x1000000, 0xFFFFFF, 0};
    for (const QVariant& v : values) {
        Put(s, "CF1_Color", v);
        const COLORREF expected = v.toLongLong() == 0xFFFFFF || v.toLongLong() == 0 ? COLORREF(v.toLongLong()) : 0x0000FFu;
        EXPECT_EQ(GetSlotFormat(s, 1).crTextColor, expected) << v.toString().toStdString();
    }
}

TEST_F(SlotSettings, LongFaceNamesAreCutWithoutSplittingACharacter)
{
    QSettings s = Store();
    Put(s, "CF0_FaceName", QString(40, QChar('A')));
    EXPECT_EQ(GetSlotFormat(s, 0).FaceName(), std::string(31, 'A'));
    // Two letters and twelve three-byte characters: byte 31 falls inside the
    // tenth character, which is dropped whole.
    Put(s, "CF0_FaceName", QString::fromUtf8("AB微软雅黑微软雅黑微软雅黑"));
    const std::string face = GetSlotFormat(s, 0).FaceName();
    EXPECT_EQ(face, "AB微软雅黑微软雅黑微");
    EXPECT_LE(face.size(), 31u);
}

TEST_F(SlotSettings, ChosenFontWritesSevenValuesInOrder)
{
    CChosenFont font;
    font.faceName = QString::fromUtf8("文泉驿微米黑");
    font.height = -21;
    font.weight = 700;
    font.italic = true;
    font.underline = false;
    font.strikeOut = true;
    font.color = 0x00FF00;
    const auto values = SlotFontValues(2, font);
    QStringList names;
    for (const auto& v : values)
        names << v.first;
    EXPECT_EQ(names, (QStringList{"CF2_FaceName", "CF2_Size", "CF2_Color", "CF2_StrikeOut", "CF2_UnderLine",
                                  "CF2_Bold", "CF2_Italic"}));
    EXPECT_EQ(values[0].second.toString(), font.faceName);
    EXPECT_EQ(values[1].second.toInt(), -21);
    EXPECT_EQ(values[2].second.toInt(), 0x00FF00);
    EXPECT_EQ(values[3].second.toInt(), 1);
    EXPECT_EQ(values[4].second.toInt(), 0);
    EXPECT_EQ(values[5].second.toInt(), 1);
    EXPECT_EQ(values[6].second.toInt(), 1);

    {
        QSettings s = Store();
        StoreSlotFont(s, 2, font);
    }
    QSettings s = Store();
    QStringList stored = s.allKeys();
    stored.sort();
    QStringList expected;
    for (const QString& n : names)
        expected << "Settings/" + n;
    expected.sort();
    EXPECT_EQ(stored, expected);
    const CSlotFormat f = GetSlotFormat(s, 2);
    EXPECT_EQ(QString::fromStdString(f.FaceName()), font.faceName);
    EXPECT_EQ(f.yHeight, -21);
    EXPECT_EQ(f.crTextColor, 0x00FF00u);
    EXPECT_EQ(f.dwEffects, CFE_BOLD | CFE_ITALIC | CFE_STRIKEOUT);
}

TEST(SlotFontValues, BoldOnlyForWeightSevenHundred)
{
    CChosenFont font;
    for (int weight : {400, 600, 800, 900, 700}) {
        font.weight = weight;
        EXPECT_EQ(SlotFontValues(0, font)[5].second.toInt(), weight == 700 ? 1 : 0) << weight;
    }
}

TEST(SlotFormat, HeightsConvertBetweenPointsAndPixels)
{
    EXPECT_EQ(LogicalHeightFromPoints(12, 96), -16);
    EXPECT_EQ(LogicalHeightFromPoints(9, 96), -12);
    EXPECT_EQ(LogicalHeightFromPoints(10.5, 72), -11);
    EXPECT_DOUBLE_EQ(PointsFromLogicalHeight(-16, 96), 12.0);
    EXPECT_DOUBLE_EQ(PointsFromLogicalHeight(16, 96), 12.0);
    EXPECT_DOUBLE_EQ(PointsFromLogicalHeight(0, 96), 0.0);
}

TEST(SlotFormat, SizesOutsideFourToFourHundredPointsCountAsUnset)
{
    const struct { std::int32_t height; double points; } cases[] = {
        {-16, 12.0}, {16, 12.0}, {0, 0.0}, {-5, 0.0},              // 3.75 pt: too small
        {-6, 4.5}, {-533, 399.75}, {-534, 0.0},                     // just under and over 400 pt
        {1000000000, 0.0}, {std::numeric_limits<std::int32_t>::min(), 0.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(UsablePointsFromLogicalHeight(c.height, 96), c.points) << c.height;
}
