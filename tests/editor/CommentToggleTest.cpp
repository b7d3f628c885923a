// Comment toggling and the code context it reads, on pages that mix PHP,
// HTML, CSS and script.
#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QString>

#include <cstring>

#include <string>

#include "core/CodeContext.h"
#include "core/CommentToggle.h"

namespace {

using CodeContext::Lang;

const std::string kPage =
    "<html>\n<head>\n<style type=\"text/css\">\n  body { color: red; }\n\n  /* note */\n</style>\n"
    "<script>\n  var a = '</div>';\n</script>\n</head>\n<body>\n  <!-- old -->\n  <p>Hi <?php echo $x; ?></p>\n"
    "<?php\n  // said\n  $s = \"?>\";\n\tif ($a) {\n  }\n?>\n  <ul><li>a</li>\n<br>\r\n\r\n  <div class=\"<?= $c ?>\">\r"
    "  <style>p{}<?php $y; ?>\n  a { }\n  </style>\n</div>\n<?php echo 1;\n";

std::string Apply(std::string text, const std::vector<CommentToggle::Edit>& edits)
{
    for (const CommentToggle::Edit& e : edits)
        text.replace(e.pos, e.removed, e.inserted);
    return text;
}

std::string Toggle(const std::string& text, std::size_t first, std::size_t last)
{
    return Apply(text, CommentToggle::Edits(text, first, last));
}

std::size_t LineCount(const std::string& text)
{
    std::size_t n = 1;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            ++n;
    return n;
}

TEST(CommentToggleTest, EachLineTakesTheMarkersOfItsLanguage)
{
    const struct {
        const char* line;
        const char* commented;
    } cases[] = {
        {"<html>", "<!-- <html> -->"},
        {"  body { color: red; }", "  /* body { color: red; } */"},
        {"</style>", "<!-- </style> -->"},
        {"  var a = '</div>';", "  // var a = '</div>';"},
        {"  <p>Hi <?php echo $x; ?></p>", "  <!-- <p>Hi <?php echo $x; ?></p> -->"},
        {"<?php", "// <?php"},
        {"\tif ($a) {", "\t// if ($a) {"},
        {"?>", "// ?>"},
        {"  a { }", "  /* a { } */"},
        {"<?php echo 1;", "// <?php echo 1;"},
    };
    for (const auto& c : cases) {
        const std::size_t at = kPage.find(std::string(c.line) + '\n');
        ASSERT_NE(at, std::string::npos) << c.line;
        const std::size_t line = LineCount(kPage.substr(0, at)) - 1;
        const std::string toggled = Toggle(kPage, line, line);
        EXPECT_EQ(toggled.substr(at, std::strlen(c.commented)), c.commented) << c.line;
        EXPECT_EQ(Toggle(toggled, line, line), kPage) << c.line;
    }
}

TEST(CommentToggleTest, ElementOpenAtTheCaret)
{
    const struct {
        const char* before;
        const char* open;
    } cases[] = {
        {"<div><p>a", "p"},
        {"<div><p>a</p>", "div"},
        {"<ul><li>a<br><img src='x'/>", "li"},
        {"<div><!-- <span> -->", "div"},
        {"<div><?php $s = '<span>'; ?>", "div"},
        {"<div><?php echo 1; ", ""},
        {"<div class=\"a", ""},
        {"<script>if (a < b) {", "script"},
        {"<DIV><Span>x</SPAN>", "div"},
        {"<section><p>a</section>", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CodeContext::OpenElementAt(c.before, std::strlen(c.before)), c.open) << c.before;
}

// Random ranges of lines of a page that gathers comments as it goes: a
// toggle that comments is undone by the next; one that uncomments (nested
// comments included) takes markers only away; blank lines stay as they are.
TEST(CommentToggleTest, TogglingTwiceGivesTheTextBack)
{
    const quint32 seed = qEnvironmentVariableIsSet("QUILLET_TEST_SEED")
                             ? qEnvironmentVariable("QUILLET_TEST_SEED").toUInt()
                             : 26u;
    QRandomGenerator random(seed);
    const std::size_t lines = LineCount(kPage);
    std::string text = kPage;
    int commented = 0;
    for (int round = 0; round < 400; ++round) {
        const auto first = static_cast<std::size_t>(random.bounded(static_cast<int>(lines)));
        const auto span = std::min<std::size_t>(lines - first, 6);
        const auto last = first + static_cast<std::size_t>(random.bounded(static_cast<int>(span)));
        const std::string once = Toggle(text, first, last);
        ASSERT_EQ(LineCount(once), lines);
        if (once.size() > text.size()) {
            ++commented;
            ASSERT_EQ(Toggle(once, first, last), text) << "seed " << seed << " lines " << first << ".." << last;
        } else {
            ASSERT_TRUE(once.size() < text.size() || once == text) << "seed " << seed << " lines " << first << ".." << last;
        }
        if (random.bounded(3) == 0)
            text = once;
    }
    EXPECT_GT(commented, 150);
}

} // namespace
