#include "HyperLinkStyle.h"

namespace HyperLinkStyle {

Colour ColourFor(bool over, bool active, bool visited, unsigned style)
{
    if (over && (style & UseHover))
        return Colour::Hover;
    if (active && !(style & NoActiveColour))
        return Colour::Active;
    return visited ? Colour::Visited : Colour::Link;
}

QRect SizedToText(const QRect& old, const QSize& text, Qt::Alignment alignment)
{
    QRect r = old;
    if (alignment & Qt::AlignVCenter)
        r.setTop(old.top() + (old.height() - text.height()) / 2);
    r.setHeight(text.height());
    if (alignment & Qt::AlignHCenter)
        r.setLeft(old.left() + (old.width() - text.width()) / 2);
    else if (alignment & Qt::AlignRight)
        r.setLeft(old.left() + old.width() - text.width());
    r.setWidth(text.width());
    return r;
}

} // namespace HyperLinkStyle
