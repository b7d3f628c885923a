#include "LockKeyState.h"

#include <QGuiApplication>

#ifdef QUILLET_HAVE_X11
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace {
bool Indicator(Display* display, const char* name)
{
    const Atom atom = XInternAtom(display, name, True);
    if (atom == None)
        return false;
    Bool on = False;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return false;
    return on;
}
} // namespace
#endif

std::optional<LockKeys> ReadLockKeys()
{
#ifdef QUILLET_HAVE_X11
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    LockKeys keys;
    keys.caps = Indicator(display, "Caps Lock");
    keys.num = Indicator(display, "Num Lock");
    keys.scroll = Indicator(display, "Scroll Lock");
    return keys;
#else
    return std::nullopt;
#endif
}
