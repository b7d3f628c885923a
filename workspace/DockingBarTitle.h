// The docking bar's title: the gripper lines and the hide and minimise caption
// buttons while docked, the bar's caption while floating.
#pragma once

#include <QIcon>
#include <QList>
#include <QWidget>

class CCaptionButton;
class QDockWidget;

class CDockingBarTitle : public QWidget {
    Q_OBJECT
public:
    // Images of the caption buttons: 0 the hide button, 1 the minimise button when
    // docked left or right, 2 the minimise button when docked top or bottom.
    enum ButtonImage { ImageHide = 0, ImageMinimiseRow = 1, ImageMinimiseColumn = 2 };
    static constexpr int kButtonSize = 12;
    static constexpr int kIconSize = 13;

    explicit CDockingBarTitle(QDockWidget* bar);

    CCaptionButton* HideButton() const { return m_pBtnHide; }
    CCaptionButton* MinimiseButton() const { return m_pBtnMinimise; }

    void SetButtonImages(const QList<QIcon>& images);

    // Places (or hides) the buttons for the bar's current state; called whenever
    // the bar floats, docks, moves to another edge or changes size.
    void UpdateLayout();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // True when the title runs down the bar's left side (docked top or bottom).
    bool IsVertical() const;
    QIcon Image(int index) const;

    QDockWidget* m_pBar;
    CCaptionButton* m_pBtnHide;
    CCaptionButton* m_pBtnMinimise;
    QList<QIcon> m_listImages;
};
