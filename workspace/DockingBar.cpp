#include "DockingBar.h"

#include "CaptionButton.h"
#include "DockingBarTitle.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>

namespace {

// The area under the title. Its size hint makes the whole bar, title included,
// start at the bar's default size; its minimum lets the bar shrink to 32 x 32.
class CDockingBarClientArea : public QWidget {
public:
    CDockingBarClientArea(CDockingBar* bar, CDockingBarTitle* title)
        : QWidget(bar), m_pBar(bar), m_pTitle(title)
    {
        setMinimumSize(1, 1);
    }

    QSize sizeHint() const override
    {
        const QSize title = m_pTitle->sizeHint();
        const QSize size = m_pBar->DefaultSize();
        if (m_pBar->features().testFlag(QDockWidget::DockWidgetVerticalTitleBar))
            return QSize(qMax(1, size.width() - title.width()), size.height());
        return QSize(size.width(), qMax(1, size.height() - title.height()));
    }

private:
    CDockingBar* m_pBar;
    CDockingBarTitle* m_pTitle;
};

} // namespace

CDockingBar::CDockingBar(const QString& title, const QSize& defaultSize, QWidget* parent)
    : QDockWidget(title, parent)
    , m_sizeDefault(defaultSize)
    , m_sizeFloat(defaultSize)
{
    setAllowedAreas(Qt::AllDockWidgetAreas);
    setFeatures(DockWidgetMovable | DockWidgetFloatable | DockWidgetClosable);
    setMinimumSize(kMinimumSize, kMinimumSize);

    m_pTitle = new CDockingBarTitle(this);
    setTitleBarWidget(m_pTitle);

    m_pClientArea = new CDockingBarClientArea(this, m_pTitle);
    m_pClientLayout = new QVBoxLayout(m_pClientArea);
    m_pClientLayout->setSpacing(0);
    setWidget(m_pClientArea);

    connect(HideButton(), &QAbstractButton::clicked, this, [this] { PopupContextMenu(ContextMenuPoint()); });
    connect(MinimiseButton(), &QAbstractButton::clicked, this, [this] { PopupContextMenu(ContextMenuPoint()); });
    connect(this, &QDockWidget::topLevelChanged, this, &CDockingBar::OnTopLevelChanged);
    connect(this, &QDockWidget::dockLocationChanged, this, &CDockingBar::OnDockLocationChanged);
    UpdateSide();
}

QList<QIcon> CDockingBar::SetButtonImages(const QList<QIcon>& images)
{
    QList<QIcon> previous = m_listButtonImages;
    m_listButtonImages = images;
    m_pTitle->SetButtonImages(images);
    return previous;
}

void CDockingBar::SetMenu(QMenu* menu)
{
    m_pMenu = menu;
}

QMenu* CDockingBar::Menu() const
{
    return m_pMenu;
}

CCaptionButton* CDockingBar::HideButton() const
{
    return m_pTitle->HideButton();
}

CCaptionButton* CDockingBar::MinimiseButton() const
{
    return m_pTitle->MinimiseButton();
}

Qt::DockWidgetArea CDockingBar::DockingSide() const
{
    if (isFloating())
        return Qt::NoDockWidgetArea;
    auto* frame = qobject_cast<QMainWindow*>(parentWidget());
    return frame ? frame->dockWidgetArea(const_cast<CDockingBar*>(this)) : Qt::NoDockWidgetArea;
}

QPoint CDockingBar::ContextMenuPoint() const
{
    // The corner just past the button's last pixel, as a window rectangle gives it.
    const CCaptionButton* button = MinimiseButton();
    return button->mapToGlobal(QPoint(button->width(), button->height()));
}

bool CDockingBar::PopupContextMenu(const QPoint& globalPos)
{
    if (!m_pMenu)
        return false;
    m_pMenu->popup(globalPos);
    return true;
}

void CDockingBar::SetClient(QWidget* client)
{
    m_pClientLayout->addWidget(client);
}

bool CDockingBar::event(QEvent* event)
{
    const bool result = QDockWidget::event(event);
    // ShowToParent and HideToParent come only from the bar's own show() and hide(),
    // never from its window being shown or hidden or from tabbing.
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
        emit shownChanged(IsShown());
    return result;
}

void CDockingBar::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_pMenu) {
        event->ignore();
        return;
    }
    // Asked for by keyboard, the menu opens near the bar's top-left corner.
    const QPoint pos = event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(QPoint(5, 5))
                                                                       : event->globalPos();
    PopupContextMenu(pos);
    event->accept();
}

void CDockingBar::resizeEvent(QResizeEvent* event)
{
    QDockWidget::resizeEvent(event);
    if (isFloating() && m_bFloatSizeApplied)
        m_sizeFloat = size();
}

void CDockingBar::paintEvent(QPaintEvent* event)
{
    QDockWidget::paintEvent(event);
    if (!isFloating())
        return;
    // Floating without the window system's frame, the bar draws its own edge.
    QPainter p(this);
    p.setPen(palette().dark().color());
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CDockingBar::OnTopLevelChanged(bool floating)
{
    m_bFloatSizeApplied = false;
    if (floating) {
        // Qt floats the bar at its docked size; it takes its own floating size instead.
        // While the bar is being dragged by the mouse the window must stay under the
        // cursor, so it grows where the cursor would fall outside it.
        QSize size = m_sizeFloat.expandedTo(minimumSize());
        if (QGuiApplication::mouseButtons() & Qt::LeftButton) {
            const QPoint cursor = mapFromGlobal(QCursor::pos());
            if (rect().contains(cursor))
                size = size.expandedTo(QSize(cursor.x() + 8, cursor.y() + 8));
        }
        resize(size);
        m_bFloatSizeApplied = true;
    }
    UpdateSide();
}

void CDockingBar::OnDockLocationChanged(Qt::DockWidgetArea)
{
    UpdateSide();
}

void CDockingBar::UpdateSide()
{
    // Docked top or bottom the title runs down the left side, keeping the bar low.
    const Qt::DockWidgetArea side = DockingSide();
    const bool vertical = side == Qt::TopDockWidgetArea || side == Qt::BottomDockWidgetArea;
    DockWidgetFeatures wanted = features();
    wanted.setFlag(DockWidgetVerticalTitleBar, vertical);
    if (wanted != features())
        setFeatures(wanted);
    if (isFloating())
        m_pClientLayout->setContentsMargins(3, 2, 3, 3);
    else if (vertical)
        m_pClientLayout->setContentsMargins(0, 2, 3, 2);
    else
        m_pClientLayout->setContentsMargins(2, 0, 2, 3);
    m_pTitle->UpdateLayout();
}
