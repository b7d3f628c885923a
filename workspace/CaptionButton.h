// The small flat icon button in the docking bar's title: flat until hovered,
// raised under the mouse, sunken while pressed.
#pragma once

#include <QAbstractButton>
#include <QIcon>

class CCaptionButton : public QAbstractButton {
    Q_OBJECT
public:
    // What the button looks like at the moment; the painting follows it.
    enum class Look { Flat, Raised, Sunken };

    explicit CCaptionButton(QWidget* parent = nullptr);

    // Gives the button its icon, drawn at width x height from the button's top-left corner.
    void SetIcon(const QIcon& icon, int width, int height);
    QSize IconSize() const { return m_sizeIcon; }

    // A flat button shows no border until the mouse is over it; a button that is
    // not flat always shows a raised (or, pressed, sunken) two-step border.
    void SetFlat(bool flat);
    bool IsFlat() const { return m_bFlat; }

    // True between a left-button press on the button and its release, wherever the cursor is.
    bool IsHeld() const { return m_bHeld; }
    // True while the cursor is over the button.
    bool IsHot() const { return m_bHot; }

    Look CurrentLook() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QSize m_sizeIcon;
    bool m_bHeld = false;
    bool m_bFlat = true;
    bool m_bHot = false;
};
