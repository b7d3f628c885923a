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

TEST(RegionSplit, UnclosedRegionIsHtml)
{
    EXPECT_EQ(PassSlots("<?php echo 1;"), "2000000000000");
    EXPECT_EQ(PassSlots("<b>x</b><?php if"), "2020200220000000");
}

TEST(RegionSplit, TagsInsideADoubleQuotedValueOpenNoRegion)
{
    EXPECT_EQ(PassSlots("<a href=\"<?php echo $u ?>\">x</a>"),
              "20000002" "333333333333333333" "2" "0" "2002");
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
    EXPECT_EQ(PassSlots("<?php?>"), "1111111");
    EXPECT_EQ(PassSlots("<?php?><?\?>"), "11111111111");
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

TEST(RegionSplit, EmptyRangesAreStillApplied)
{
    CStyleRecorder rec("<?php?><?\?>");
    CPHPRegionTokenizer(rec).ColourText(rec.Text());
    EXPECT_EQ(rec.Calls(), (std::vector<Call>{{0, 0, 0}, {1, 0, 7}, {5, 5, 5}, {0, 7, 7}, {1, 7, 11}, {5, 9, 9},
                                              {0, 11, 11}}));
}

TEST(RegionSplit, HtmlTokensFollowTheirPartsBase)
{
    CStyleRecorder rec("<p><?php 1 ?><i>");
    CPHPRegionTokenizer(rec).ColourText(rec.Text());
    EXPECT_EQ(rec.Calls(), (std::vector<Call>{{0, 0, 3}, {2, 0, 1}, {2, 2, 3}, {1, 3, 13}, {5, 8, 11}, {9, 9, 10},
                                              {0, 13, 16}, {2, 13, 14}, {2, 15, 16}}));
}
