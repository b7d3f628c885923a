#include "HtmlTokenizer.h"

#include "MarkupScan.h"
#include "StyleSlot.h"

CHtmlTokenizer::CHtmlTokenizer(CStyleTarget& editor) : CEditTokenizer(editor)
{
    AddKeyword("<", HK_LT);
    AddKeyword(">", HK_GT);
    AddKeyword("/>", HK_SLASH_GT);
    AddKeyword("=", HK_EQUALS);
}

void CHtmlTokenizer::ColourText(std::string_view part, std::int32_t offset)
{
    // Only the delimiters and strings are coloured; the scan finds exactly those
    // tokens of Tokenize(part) without building the rest.
    MarkupScan::HtmlTokens(part, [&](std::int32_t kind, std::size_t start, std::size_t end) {
        const int slot = kind == TK_STRING ? SLOT_HTML_ATTRVALUE : SLOT_HTML_DELIMITER;
        ApplySlot(slot, offset + static_cast<std::int32_t>(start), offset + static_cast<std::int32_t>(end));
    });
}
