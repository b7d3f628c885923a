// Splits a text into HTML parts and PHP regions and colours each with its colourer.
#pragma once

#include "EditTokenizer.h"

class CPHPRegionTokenizer : public CEditTokenizer {
public:
    enum Kind { RK_OPEN_PHP = 8, RK_OPEN_SHORT = 9, RK_CLOSE = 10 };

    explicit CPHPRegionTokenizer(CStyleTarget& editor);
    ~CPHPRegionTokenizer() override = default;

    // Colours the whole text of the bound editor in one pass.
    void Recolour();
    // Splits text into HTML parts and PHP regions and colours them; positions
    // in text are editor positions.
    void ColourText(std::string_view text);
};
