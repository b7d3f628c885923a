// Reads the Caps Lock, Num Lock and Scroll Lock lights where the platform tells them.
#pragma once

#include <optional>

struct LockKeys
{
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// Nothing when the state cannot be read (no X11 display, for instance).
std::optional<LockKeys> ReadLockKeys();
