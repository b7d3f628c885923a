// Colours one HTML part: delimiters "<", ">", "/>", "=" and double-quoted values.
#pragma once

#include "EditTokenizer.h"

class CHtmlTokenizer : public CEditTokenizer {
public:
    enum Kind { HK_LT = 8, HK_GT = 9, HK_SLASH_GT = 10, HK_EQUALS = 11 };

    explicit CHtmlTokenizer(CStyleTarget& editor);
    ~CHtmlTokenizer() override = default;

    // part: the bytes of one HTML part; offset: the editor position of its first byte.
    void ColourText(std::string_view part, std::int32_t offset);
};
