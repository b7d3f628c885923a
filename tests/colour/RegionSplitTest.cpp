// The split into HTML parts and PHP regions, its layering order, and the pass.
#include "ColourTestSupport.h"
#include "PHPRegionTokenizer.h"
#include "StyleRecorder.h"

#include <gtest/gtest.h>

using ColourTest::PassSlots;
using Call = CStyleRecorder::Call;

TEST(RegionSplit, WholeTextRegion)
{
    EXPECT_EQ(PassSlots("<?php echo 1; ?>"), "1111154444595511");
}

TEST(RegionSplit, EdgeWhiteSpaceShiftsNothing)
{
    EXPECT_EQ(PassSlots("\r\n  <?php $a ?>\r\n"), "0000" "11111555511" "00");
    EXPECT_EQ(PassSlots("<?php\r\n echo\r\n?>"), "11111" "555444455" "11");
}

TEST(RegionSplit, UnclosedRegionIsPhpToTheEnd)
{
    struct Case {
        const char* text;
        const char* want;
    } cases[] = {
        {"<?php echo 1;", "11111" "5444459" "5"},
        {"<p>x</p><?php $a = 1;", "20202002" "11111" "5555" "8" "5" "9" "5"},
        {"<b>x</b><?php if", "20202002" "11111" "5" "44"},
        {"<?", "11"},
        {"<p>a</p><?", "20202002" "11"},
        {"<?ph", "11" "55"},
        // A closed region, an HTML part, then a region that runs to the end.
        {"<?php 1 ?><i><?= $x", "11111" "595" "11" "202" "11" "8555"},
        // A closing tag inside a PHP string does not close the region.
        {"<?php echo \"?>\";", "11111" "544445" "7777" "5"},
        // An opening tag inside an unclosed region is code.
        {"<?php a <?php b", "11111" "555" "8" "555555"},
        {"<?php\r\n// x\r\n", "11111" "55" "66" "55" "55"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PassSlots(c.text), c.want) << "\"" << c.text << "\"";
}

TEST(RegionSplit, TagsInsideAnAttributeValueOpenARegion)
{
    // PHP never looks at HTML quotes; the part after the region starts with
    // the closing quote, which the HTML colourer takes as a string.
    EXPECT_EQ(PassSlots("<a href=\"<?php echo $u ?>\">x</a>"), "20000002311111544445555113333333");
    EXPECT_EQ(PassSlots("<p title=\"<?php\">x"), "200000002311555777");
    EXPECT_EQ(PassSlots("x=\"<?= 1;"), "023118595");
}

TEST(RegionSplit, CloseTagInsideStringsAndCommentsIsCode)
{
    struct Case {
        const char* text;
        const char* want;
    } cases[] = {
        {"<?php '?>' ?>a", "11111555855110"},
        {"<?php 'a\\'?>' ?>a", "11111555555855110"},
        {"<?php /* ?> */ ?>a", "111115665585665110"},
        {"<?php `?>` ?>a", "11111555855110"},
        {"<?php \"{$a[\"?>\"]}\" ?>a", "1111157777775877775110"},
        {"<?php <<<E\n?>\n  E;\n?>a", "1111158885558555555110"},
        {"<?php <<<'E'\n?>\nE ?>a", "111115888555558555110"},
        // A line comment ends at the line break or at the closing tag.
        {"<?php // x ?>a", "11111566555110"},
        {"<?php # x\n?>a", "1111156555110"},
        // "#[" opens an attribute, not a comment.
        {"<?php #[A] ?>a", "11111565555110"},
        // "<?php" is a tag only with a blank or the end after it, in any case.
        {"<?PHP\n?>a", "111115110"},
        {"<?phpx ?>a", "1155555110"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PassSlots(c.text), c.want) << "\"" << c.text << "\"";
}

TEST(RegionSplit, ShortOpenTagAndNestedOpenTag)
{
    EXPECT_EQ(PassSlots("<?= $x ?>"), "118555511");
    // The second opening tag is code; the region ends at the first closing tag.
    EXPECT_EQ(PassSlots("<?php a <?php b ?> c ?>"), "11111" "555" "85555555" "11" "000" "02");
}

TEST(RegionSplit, StrayCloseTagIsHtmlAndEmptyRegionsWork)
{
    EXPECT_EQ(PassSlots("a ?> b"), "000200");
    EXPECT_EQ(PassSlots("<?\?>"), "1111");
    EXPECT_EQ(PassSlots("<?php?>"), "11" "555" "11");
    EXPECT_EQ(PassSlots("<?php?><?\?>"), "11" "555" "11" "1111");
    EXPECT_EQ(PassSlots(""), "");
    EXPECT_EQ(PassSlots("plain"), "00000");
}

TEST(RegionSplit, AppliesSlotsInLayeringOrder)
{
    CStyleRecorder rec("a<?php if ?>b");
    CPHPRegionTokenizer(rec).Recolour();
    EXPECT_EQ(rec.Calls(), (std::vector<Call>{{0, 0, 1}, {1, 1, 12}, {5, 6, 10}, {4, 7, 9}, {0, 12, 13}}));
    EXPECT_EQ(rec.Log().front(), "begin");
    EXPECT_EQ(rec.Log().back(), "end");
}

TEST(RegionSplit, UnclosedRegionEndsThePassWithoutAnHtmlRest)
{
    // The region in slot 1, its code in slot 5, its tokens; nothing after them.
    CStyleRecorder rec("a<?php if");
    CPHPRegionTokenizer(rec).ColourText(rec.Text());
    EXPECT_EQ(rec.Calls(), (std::vector<Call>{{0, 0, 1}, {1, 1, 9}, {5, 6, 9}, {4, 7, 9}}));

    CStyleRecorder afterClosed("<??><?");
    CPHPRegionTokenizer(afterClosed).ColourText(afterClosed.Text());
    EXPECT_EQ(afterClosed.Calls(), (std::vector<Call>{{0, 0, 0}, {1, 0, 4}, {5, 2, 2}, {0, 4, 4}, {1, 4, 6},
                                                      {5, 6, 6}}));
}

TEST(RegionSplit, EmptyRangesAreStillApplied)
{
    CStyleRecorder rec("<?php ?><?\?>");
    CPHPRegionTokenizer(rec).ColourText(rec.Text());
    EXPECT_EQ(rec.Calls(), (std::vector<Call>{{0, 0, 0}, {1, 0, 8}, {5, 5, 6}, {0, 8, 8}, {1, 8, 12}, {5, 10, 10},
                                              {0, 12, 12}}));
}

TEST(RegionSplit, HtmlTokensFollowTheirPartsBase)
{
    CStyleRecorder rec("<p><?php 1 ?><i>");
    CPHPRegionTokenizer(rec).ColourText(rec.Text());
    EXPECT_EQ(rec.Calls(), (std::vector<Call>{{0, 0, 3}, {2, 0, 1}, {2, 2, 3}, {1, 3, 13}, {5, 8, 11}, {9, 9, 10},
                                              {0, 13, 16}, {2, 13, 14}, {2, 15, 16}}));
}
