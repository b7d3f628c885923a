#include "PHPRegionTokenizer.h"

#include "HtmlTokenizer.h"
#include "RegionLexer.h"
#include "PHPTokenizer.h"
#include "StyleSlot.h"

CPHPRegionTokenizer::CPHPRegionTokenizer(CStyleTarget& editor) : CEditTokenizer(editor)
{
    AddKeyword("<?php", RK_OPEN_PHP);
    AddKeyword("<?", RK_OPEN_SHORT);
    AddKeyword("?>", RK_CLOSE);
}

void CPHPRegionTokenizer::Recolour()
{
    const std::string_view text = Editor().Text();
    Editor().BeginPass();
    ColourText(text);
    Editor().EndPass();
}

void CPHPRegionTokenizer::ColourText(std::string_view text)
{
    // One colourer of each language for the whole pass: their tables are built once.
    CPHPTokenizer php(Editor());
    CHtmlTokenizer html(Editor());

    std::int32_t htmlStart = 0;
    std::int32_t phpStart = 0;
    std::int32_t openLen = 0;
    bool inPhp = false;

    // A region from its opening tag to regionEnd: both tags in the delimiter
    // slot, the code between them in the identifier slot, then its tokens.
    auto colourRegion = [&](std::int32_t codeEnd, std::int32_t regionEnd) {
        const std::int32_t codeStart = phpStart + openLen;
        ApplySlot(SLOT_PHP_DELIMITER, phpStart, regionEnd);
        ApplySlot(SLOT_PHP_IDENTIFIER, codeStart, codeEnd);
        php.ColourText(text.substr(codeStart, codeEnd - codeStart), codeStart);
    };

    // Only the tags act; the lexer knows which of them PHP reads as tags.
    RegionLexer::Scan(text, 0, false, [&](RegionLexer::Event event, std::size_t start, std::size_t end) {
        const auto tokStart = static_cast<std::int32_t>(start);
        const auto tokEnd = static_cast<std::int32_t>(end);
        if (event == RegionLexer::OPEN) {
            phpStart = tokStart;
            ApplySlot(SLOT_HTML_ELEMENT, htmlStart, phpStart);
            html.ColourText(text.substr(htmlStart, phpStart - htmlStart), htmlStart);
            openLen = tokEnd - tokStart;
            inPhp = true;
        } else if (event == RegionLexer::CLOSE) {
            colourRegion(tokStart, tokEnd);
            htmlStart = tokEnd;
            inPhp = false;
        }
        return false;
    });
    const auto n = static_cast<std::int32_t>(text.size());
    if (inPhp) {
        // Most PHP files never close their last region: PHP reads it as code
        // to the end of the file, and so does the colouring.
        colourRegion(n, n);
        return;
    }
    ApplySlot(SLOT_HTML_ELEMENT, htmlStart, n);
    html.ColourText(text.substr(htmlStart), htmlStart);
}
