// Colours the code of one PHP region: keywords, comment markers, strings,
// numbers and operators, each token by its kind alone.
#pragma once

#include "EditTokenizer.h"

class CPHPTokenizer : public CEditTokenizer {
public:
    // Kind groups of the keyword table.
    enum Kind {
        PK_VARIABLE = 8,
        PK_FIRST_COMMENT = 9, PK_LAST_COMMENT = 12,
        PK_FIRST_KEYWORD = 13, PK_LAST_KEYWORD = 32, // 22 and 26 unused
        PK_FIRST_OPERATOR = 33, PK_LAST_OPERATOR = 65
    };

    explicit CPHPTokenizer(CStyleTarget& editor);
    ~CPHPTokenizer() override = default;

    // code: the bytes between a region's tags; offset: the editor position of its first byte.
    void ColourText(std::string_view code, std::int32_t offset);

    // The slot a token of this kind is given, or -1 when it keeps the code's slot.
    static int SlotOfKind(std::int32_t kind);
};
