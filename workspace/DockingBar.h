// A dock widget with a title of its own (gripper and two caption buttons) and a
// context menu, docking on any edge of the main window or floating.
#pragma once

#include <QDockWidget>
#include <QIcon>
#include <QList>
#include <QPointer>

class CCaptionButton;
class CDockingBarTitle;
class QMenu;
class QVBoxLayout;

class CDockingBar : public QDockWidget {
    Q_OBJECT
public:
    static constexpr int kMinimumSize = 32;

    // The bar is titled title and asks for defaultSize at first, docked or floating.
    CDockingBar(const QString& title, const QSize& defaultSize, QWidget* parent = nullptr);

    // Images of the caption buttons (see CDockingBarTitle::ButtonImage); returns the previous ones.
    QList<QIcon> SetButtonImages(const QList<QIcon>& images);

    // The context menu shown by a right click and by the caption buttons. The menu and
    // its actions belong to the caller (the main frame); nullptr means no menu.
    void SetMenu(QMenu* menu);
    QMenu* Menu() const;

    // The edge the bar is docked on, Qt::NoDockWidgetArea while floating or not in a main window.
    Qt::DockWidgetArea DockingSide() const;

    // True while the bar has not been hidden (by the user or by a command), whether or
    // not its main window is on screen. This is what the "show workspace" check mark
    // follows; shownChanged() reports every change of it.
    bool IsShown() const { return !isHidden(); }

    CCaptionButton* HideButton() const;
    CCaptionButton* MinimiseButton() const;

    // Where the caption buttons open the context menu: the bottom-right corner of the
    // minimise button, in global coordinates.
    QPoint ContextMenuPoint() const;
    // Opens the context menu with its top-left corner at globalPos; false without a menu.
    bool PopupContextMenu(const QPoint& globalPos);

    QSize DefaultSize() const { return m_sizeDefault; }
    // The size the bar takes when it starts floating: the last floating size, at first the default size.
    QSize FloatingSize() const { return m_sizeFloat; }

signals:
    // The bar was shown or hidden by itself, not because its main window was. Unlike
    // QDockWidget::visibilityChanged it does not fire when the bar is tabbed behind
    // another dock widget or the main window is minimised, so a check mark bound to
    // it stays on while the bar is merely out of sight.
    void shownChanged(bool shown);

protected:
    // Puts client under the title, filling the rest of the bar.
    void SetClient(QWidget* client);

    bool event(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void OnTopLevelChanged(bool floating);
    void OnDockLocationChanged(Qt::DockWidgetArea area);
    void UpdateSide();

    CDockingBarTitle* m_pTitle;
    QWidget* m_pClientArea;
    QVBoxLayout* m_pClientLayout;
    QPointer<QMenu> m_pMenu;
    QList<QIcon> m_listButtonImages;
    QSize m_sizeDefault;
    QSize m_sizeFloat;
    // Set once the floating size has been applied after the bar began to float; from
    // then on the user's resizing of the floating bar is remembered.
    bool m_bFloatSizeApplied = false;
};
