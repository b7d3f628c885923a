#include "DockingBarTitle.h"

#include "CaptionButton.h"
#include "Draw3d.h"

#include <QDockWidget>
#include <QPainter>

namespace {
// The gripper: two 3D lines three pixels thick, the second four pixels after the first.
constexpr int kGripFirst = 5;
constexpr int kGripStep = 4;
constexpr int kGripThickness = 3;
} // namespace

CDockingBarTitle::CDockingBarTitle(QDockWidget* bar)
    : QWidget(bar)
    , m_pBar(bar)
    , m_pBtnHide(new CCaptionButton(this))
    , m_pBtnMinimise(new CCaptionButton(this))
{
    m_pBtnHide->setObjectName(QStringLiteral("hideButton"));
    m_pBtnMinimise->setObjectName(QStringLiteral("minimiseButton"));
    m_pBtnHide->setToolTip(QStringLiteral("Hide Docked Window"));
    m_pBtnMinimise->setToolTip(QStringLiteral("Minimize Docked Window"));
    for (CCaptionButton* button : {m_pBtnHide, m_pBtnMinimise}) {
        button->setFixedSize(kButtonSize, kButtonSize);
        // The bar's keyboard focus belongs to its pages, not to these buttons.
        button->setFocusPolicy(Qt::NoFocus);
    }
    UpdateLayout();
}

void CDockingBarTitle::SetButtonImages(const QList<QIcon>& images)
{
    m_listImages = images;
    UpdateLayout();
}

QIcon CDockingBarTitle::Image(int index) const
{
    return index < m_listImages.size() ? m_listImages.at(index) : QIcon();
}

bool CDockingBarTitle::IsVertical() const
{
    return m_pBar->features().testFlag(QDockWidget::DockWidgetVerticalTitleBar);
}

void CDockingBarTitle::UpdateLayout()
{
    if (m_pBar->isFloating()) {
        m_pBtnHide->hide();
        m_pBtnMinimise->hide();
        update();
        return;
    }
    m_pBtnHide->SetIcon(Image(ImageHide), kIconSize, kIconSize);
    if (IsVertical()) {
        // Docked top or bottom: the buttons stand in a column at the top of the title.
        m_pBtnHide->move(2, 3);
        m_pBtnMinimise->move(2, 3 + 14);
        m_pBtnMinimise->SetIcon(Image(ImageMinimiseColumn), kIconSize, kIconSize);
    } else {
        // Docked left or right: the buttons sit in a row at the right end of the title.
        m_pBtnHide->move(width() - 17, 3);
        m_pBtnMinimise->move(width() - 31, 3);
        m_pBtnMinimise->SetIcon(Image(ImageMinimiseRow), kIconSize, kIconSize);
    }
    m_pBtnHide->show();
    m_pBtnMinimise->show();
    update();
}

QSize CDockingBarTitle::sizeHint() const
{
    // The dock uses the height for a horizontal title and the width for a vertical one.
    return QSize(16, 18);
}

QSize CDockingBarTitle::minimumSizeHint() const
{
    return sizeHint();
}

void CDockingBarTitle::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    UpdateLayout();
}

void CDockingBarTitle::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.button());

    if (m_pBar->isFloating()) {
        // Floating, the title is the window's caption: the bar's name, to drag it by.
        const QRect textRect = rect().adjusted(4, 0, -4, 0);
        p.setPen(pal.buttonText().color());
        p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                   fontMetrics().elidedText(m_pBar->windowTitle(), Qt::ElideRight, textRect.width()));
        return;
    }

    const QColor light = pal.light().color();
    const QColor shadow = pal.dark().color();
    const bool buttons = !m_pBtnHide->isHidden();
    if (IsVertical()) {
        const int top = buttons ? m_pBtnMinimise->geometry().bottom() + 4 : 4;
        const int length = height() - 4 - top;
        for (int i = 0; i < 2; ++i)
            Draw3d::Frame(p, QRect(kGripFirst - 1 + i * kGripStep, top, kGripThickness, length), light, shadow);
    } else {
        const int left = 4;
        const int right = buttons ? m_pBtnMinimise->geometry().left() - 3 : width() - 6;
        for (int i = 0; i < 2; ++i)
            Draw3d::Frame(p, QRect(left, kGripFirst + i * kGripStep, right - left, kGripThickness), light, shadow);
    }
}
