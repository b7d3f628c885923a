// HTML colouring: the four delimiters and double-quoted values, anywhere in a part.
#include "ColourTestSupport.h"
#include "StyleRecorder.h"

#include <gtest/gtest.h>

using ColourTest::HtmlSlots;

TEST(HtmlColour, TagsAttributesAndValues)
{
    EXPECT_EQ(HtmlSlots("<a href=\"x.html\">Home</a>"), "2" "0" "0" "0000" "2" "33333333" "2" "0000" "2" "00" "2");
    EXPECT_EQ(HtmlSlots("<br/>"), "2" "00" "22");
    EXPECT_EQ(HtmlSlots("<td width=100>"), "2" "00" "0" "00000" "2" "000" "2");
    EXPECT_EQ(HtmlSlots("<a title='x y'>"), "2" "0" "0" "00000" "2" "00000" "2");
    EXPECT_EQ(HtmlSlots("<!-- x -->"), "2" "00000000" "2");
}

TEST(HtmlColour, UnterminatedValueRunsToTheEndOfThePart)
{
    EXPECT_EQ(HtmlSlots("<a title=\"x\r\n<b>"), "2" "0" "0" "00000" "2" "3333333");
}

TEST(HtmlColour, RulesHoldInContentScriptsAndEventHandlers)
{
    EXPECT_EQ(HtmlSlots("a=b \"c\""), "0" "2" "0" "0" "333");
    EXPECT_EQ(HtmlSlots("if (a == \"b\" && c < 3)"), "00" "0" "00" "0" "22" "0" "333" "0" "00" "0" "0" "0" "2" "0" "0" "0");
    EXPECT_EQ(HtmlSlots("<b onclick=\"if(a<b)x=1\">"), "2" "0" "0" "0000000" "2" "333333333333" "2");
}

TEST(HtmlColour, OffsetPlacesTheRanges)
{
    CStyleRecorder rec;
    CHtmlTokenizer html(rec);
    html.ColourText("", 7);
    EXPECT_TRUE(rec.Calls().empty());
    html.ColourText(" <i>\r\n", 100);
    EXPECT_EQ(rec.Calls(), (std::vector<CStyleRecorder::Call>{{2, 101, 102}, {2, 103, 104}}));
}
