#include "CaptionButton.h"

#include "Draw3d.h"

#include <QMouseEvent>
#include <QPainter>

CCaptionButton::CCaptionButton(QWidget* parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
}

void CCaptionButton::SetIcon(const QIcon& icon, int width, int height)
{
    setIcon(icon);
    m_sizeIcon = QSize(width, height);
    update();
}

void CCaptionButton::SetFlat(bool flat)
{
    m_bFlat = flat;
    update();
}

CCaptionButton::Look CCaptionButton::CurrentLook() const
{
    // isDown() is true only while the button is held with the cursor over it.
    if (isDown())
        return Look::Sunken;
    if (!m_bFlat)
        return Look::Raised;
    // While the button is held but the cursor has moved off it, the hover look is
    // dropped until the button is released.
    if (m_bHot && !m_bHeld)
        return Look::Raised;
    return Look::Flat;
}

QSize CCaptionButton::sizeHint() const
{
    return QSize(12, 12);
}

void CCaptionButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    const QRect r = rect();
    p.fillRect(r, pal.button());

    const Look look = CurrentLook();
    if (m_bFlat) {
        if (look == Look::Raised)
            Draw3d::Frame(p, r, pal.light().color(), pal.dark().color());
        else if (look == Look::Sunken)
            Draw3d::Frame(p, r, pal.dark().color(), pal.light().color());
    } else if (look == Look::Sunken) {
        Draw3d::Frame(p, r, pal.shadow().color(), pal.light().color());
        Draw3d::Frame(p, r.adjusted(1, 1, -1, -1), pal.dark().color(), pal.midlight().color());
    } else {
        Draw3d::Frame(p, r, pal.light().color(), pal.shadow().color());
        Draw3d::Frame(p, r.adjusted(1, 1, -1, -1), pal.midlight().color(), pal.dark().color());
    }

    if (icon().isNull() || m_sizeIcon.isEmpty())
        return;
    // The icon moves one pixel right and down while the button is pushed in.
    QRect iconRect(r.topLeft(), m_sizeIcon);
    if (look == Look::Sunken)
        iconRect.translate(1, 1);
    icon().paint(&p, iconRect, Qt::AlignLeft | Qt::AlignTop,
                 isEnabled() ? QIcon::Normal : QIcon::Disabled);
}

void CCaptionButton::enterEvent(QEnterEvent* event)
{
    m_bHot = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CCaptionButton::leaveEvent(QEvent* event)
{
    m_bHot = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void CCaptionButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_bHeld = true;
    QAbstractButton::mousePressEvent(event);
    update();
}

void CCaptionButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_bHeld = false;
    // The base class emits clicked(), which may open a menu; the look is settled first.
    update();
    QAbstractButton::mouseReleaseEvent(event);
}
