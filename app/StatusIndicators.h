// The status bar's panes: message, the active file's encoding and line
// break, caret position and the three lock keys.
#pragma once

#include <QObject>

class QLabel;
class QStatusBar;

class CStatusIndicators : public QObject
{
    Q_OBJECT
public:
    static QString IdleText();

    explicit CStatusIndicators(QStatusBar* bar);

    void SetCaretText(const QString& text);
    // "GB18030 · CRLF"; empty hides the pane.
    void SetFormatText(const QString& text);
    // The message pane's lasting text (a menu's prompts show over it for a
    // while); empty gives back the idle text.
    void SetMessageText(const QString& text);
    QLabel* MessagePane() const { return m_pMessage; }
    QLabel* CaretPane() const { return m_pCaret; }
    QLabel* FormatPane() const { return m_pFormat; }
    QLabel* CapsPane() const { return m_pCaps; }
    QLabel* NumPane() const { return m_pNum; }
    QLabel* ScrollPane() const { return m_pScroll; }

    // Lights the lock panes from the keyboard's state where it can be read.
    void RefreshLocks();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    QLabel* AddPane(QStatusBar* bar, const QString& text, int width);

    QLabel* m_pMessage;
    QLabel* m_pFormat;
    QLabel* m_pCaret;
    QLabel* m_pCaps;
    QLabel* m_pNum;
    QLabel* m_pScroll;
    int m_nLockTimer = 0;
};
