// A label that is a hyperlink: underlined, coloured by its state, with a hand
// cursor and its address as tooltip; a click or Space opens the address.
#pragma once

#include <QLabel>

#include "core/HyperLinkStyle.h"

class CHyperLink : public QLabel
{
    Q_OBJECT
public:
    // The text is also the address until SetURL gives another.
    explicit CHyperLink(const QString& text, QWidget* parent = nullptr);

    void SetURL(const QString& address);
    QString GetURL() const { return m_strURL; }
    void SetLinkStyle(unsigned style);
    unsigned GetLinkStyle() const { return m_nStyle; }

    bool IsVisited() const { return m_bVisited; }
    bool IsActive() const { return m_bActive; }
    bool IsOver() const { return m_bOver; }
    // The colour the text is drawn in now.
    QColor TextColour() const;
    static QColor ColourOf(HyperLinkStyle::Colour colour);

    // Opens the address; on failure beeps and says why. True when opened.
    bool FollowLink();

signals:
    void opened(const QString& address);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void ApplyStyle();
    void SizeToText();
    void Repaint();

    bool m_bOver = false;
    bool m_bVisited = false;
    bool m_bActive = false;
    QString m_strURL;
    unsigned m_nStyle = HyperLinkStyle::kDefault;
};
