// The 服务器输出 pane below the editors: what the preview server writes,
// the newest lines kept however much it writes, and a line saying whether
// it runs and where.
#pragma once

#include <QByteArray>
#include <QDockWidget>
#include <QStringDecoder>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

class CServerOutputPane : public QDockWidget
{
    Q_OBJECT
public:
    // The lines kept, and the bytes waiting to be shown at most: a server
    // that writes faster than the pane shows loses its oldest output first.
    static constexpr int kMaxLines = 5000;
    static constexpr qsizetype kMaxPending = 256 * 1024;

    explicit CServerOutputPane(QWidget* parent);

    // Adds what the server wrote; shown a moment later, in one go.
    void AppendOutput(const QByteArray& bytes);
    // A line of the editor's own (not the server's).
    void AppendNote(const QString& text);
    void SetState(const QString& text);

    QPlainTextEdit* Text() const { return m_pText; }
    QLabel* StateLabel() const { return m_pState; }
    QPushButton* StopButton() const { return m_pStop; }

private:
    void Flush();

    QLabel* m_pState;
    QPushButton* m_pStop;
    QPlainTextEdit* m_pText;
    QTimer* m_pFlush;
    QByteArray m_pending;
    qint64 m_nDropped = 0;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
};
