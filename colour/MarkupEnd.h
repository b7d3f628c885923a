// Where the text of a script or style element ends: at "</script" or
// "</style" (any case) followed by a blank, "/" or ">".
#pragma once

#include "SlotSink.h"

#include <cstddef>
#include <string_view>

inline bool EndTagAt(const unsigned char* p, std::size_t i, std::size_t end, std::string_view name)
{
    const std::size_t after = i + 2 + name.size();
    if (after >= end || p[i + 1] != '/')
        return false;
    for (std::size_t k = 0; k < name.size(); ++k)
        if ((p[i + 2 + k] | 0x20) != static_cast<unsigned char>(name[k]))
            return false;
    return GrammarBytes::IsSpace(p[after]) || p[after] == '/' || p[after] == '>';
}
