#include "HyperLink.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "DesktopLink.h"
#include "UserPrompt.h"

using namespace HyperLinkStyle;

CHyperLink::CHyperLink(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    // A static control's text sits at the top left unless told otherwise.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::PlainText);
    setMouseTracking(true);
    if (m_strURL.isEmpty())
        m_strURL = text;
    if (this->text().isEmpty())
        setText(m_strURL);
    ApplyStyle();
}

void CHyperLink::SetURL(const QString& address)
{
    m_strURL = address;
    SizeToText();
    setToolTip(m_strURL);
    update();
}

void CHyperLink::SetLinkStyle(unsigned style)
{
    m_nStyle = style;
    ApplyStyle();
}

void CHyperLink::ApplyStyle()
{
    QFont f = font();
    f.setUnderline(m_nStyle & Underline);
    setFont(f);
    if (m_nStyle & NoHandCursor)
        unsetCursor();
    else
        setCursor(Qt::PointingHandCursor);
    setFocusPolicy((m_nStyle & GetFocusOnClick) ? Qt::ClickFocus : Qt::NoFocus);
    setToolTip(m_strURL);
    SizeToText();
    Repaint();
}

void CHyperLink::SizeToText()
{
    if (!(m_nStyle & AutoSize))
        return;
    const QSize textSize = fontMetrics().size(Qt::TextSingleLine, text());
    const QMargins m = contentsMargins();
    const int frame = 2 * frameWidth();
    const QSize outer(textSize.width() + m.left() + m.right() + frame,
                      textSize.height() + m.top() + m.bottom() + frame);
    setGeometry(SizedToText(geometry(), outer, alignment()));
}

QColor CHyperLink::ColourOf(Colour colour)
{
    switch (colour) {
    case Colour::Hover: return QColor(255, 0, 0);
    case Colour::Active: return QColor(0, 128, 128);
    case Colour::Visited: return QColor(128, 0, 128);
    case Colour::Link: break;
    }
    return QColor(0, 0, 255);
}

QColor CHyperLink::TextColour() const
{
    return ColourOf(ColourFor(m_bOver, m_bActive, m_bVisited, m_nStyle));
}

void CHyperLink::Repaint()
{
    QPalette p = palette();
    const QColor c = TextColour();
    if (p.color(QPalette::WindowText) != c) {
        p.setColor(QPalette::WindowText, c);
        setPalette(p);
    }
    update();
}

void CHyperLink::mouseMoveEvent(QMouseEvent* event)
{
    const bool inside = rect().contains(event->position().toPoint());
    if (inside != m_bOver) {
        m_bOver = inside;
        Repaint();
    }
    QLabel::mouseMoveEvent(event);
}

void CHyperLink::leaveEvent(QEvent* event)
{
    if (m_bOver) {
        m_bOver = false;
        Repaint();
    }
    QLabel::leaveEvent(event);
}

void CHyperLink::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QLabel::mousePressEvent(event);
    if (m_nStyle & GetFocusOnClick)
        setFocus(Qt::MouseFocusReason);
    if (m_nStyle & DownClick)
        FollowLink();
    m_bActive = true;
    Repaint();
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QLabel::mouseReleaseEvent(event);
    // Tested on the active flag, not on where the button came up.
    if (m_bActive && !(m_nStyle & DownClick))
        FollowLink();
}

void CHyperLink::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        FollowLink();
    else
        QLabel::keyPressEvent(event);
}

void CHyperLink::focusInEvent(QFocusEvent* event)
{
    m_bActive = true;
    Repaint();
    QLabel::focusInEvent(event);
}

void CHyperLink::focusOutEvent(QFocusEvent* event)
{
    m_bOver = false;
    m_bActive = false;
    Repaint();
    QLabel::focusOutEvent(event);
}

bool CHyperLink::FollowLink()
{
    const int result = DesktopLink::Open(m_strURL);
    if (result <= LinkOpening::kLastFailure) {
        QApplication::beep();
        UserPrompt::ShowMessage(this, LinkOpening::FailureMessage(result), QMessageBox::Warning);
        return false;
    }
    m_bVisited = true;
    Repaint();
    emit opened(m_strURL);
    return true;
}
