#include "ServerOutputPane.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kFlushMs = 100;
}

CServerOutputPane::CServerOutputPane(QWidget* parent)
    : QDockWidget(QStringLiteral("服务器输出"), parent), m_pFlush(new QTimer(this))
{
    setObjectName(QStringLiteral("serverOutput"));
    setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    auto* body = new QWidget(this);
    m_pState = new QLabel(body);
    m_pState->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pStop = new QPushButton(QStringLiteral("停止预览"), body);
    m_pStop->setEnabled(false);
    m_pText = new QPlainTextEdit(body);
    m_pText->setReadOnly(true);
    m_pText->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pText->setMaximumBlockCount(kMaxLines);
    m_pText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* bar = new QHBoxLayout;
    bar->addWidget(m_pState, 1);
    bar->addWidget(m_pStop);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(bar);
    layout->addWidget(m_pText);
    setWidget(body);
    m_pFlush->setSingleShot(true);
    m_pFlush->setInterval(kFlushMs);
    connect(m_pFlush, &QTimer::timeout, this, &CServerOutputPane::Flush);
}

void CServerOutputPane::AppendOutput(const QByteArray& bytes)
{
    m_pending += bytes;
    if (m_pending.size() > kMaxPending) {
        // The newest output is kept, from a line start on.
        qsizetype cut = m_pending.size() - kMaxPending;
        const qsizetype lineStart = m_pending.indexOf('\n', cut);
        if (lineStart >= 0 && lineStart + 1 < m_pending.size())
            cut = lineStart + 1;
        m_nDropped += cut;
        m_pending.remove(0, cut);
        m_decoder.resetState();
    }
    if (!m_pFlush->isActive())
        m_pFlush->start();
}

void CServerOutputPane::AppendNote(const QString& text)
{
    Flush();
    // A line of its own, and the server's next line starts after it.
    QTextCursor end = m_pText->textCursor();
    end.movePosition(QTextCursor::End);
    end.insertText((end.atBlockStart() ? QString() : QStringLiteral("\n")) + text + u'\n');
    m_pText->verticalScrollBar()->setValue(m_pText->verticalScrollBar()->maximum());
}

void CServerOutputPane::SetState(const QString& text)
{
    m_pState->setText(text);
}

void CServerOutputPane::Flush()
{
    m_pFlush->stop();
    if (m_pending.isEmpty() && m_nDropped == 0)
        return;
    QScrollBar* scroll = m_pText->verticalScrollBar();
    const bool atEnd = scroll->value() == scroll->maximum();
    QString text;
    if (m_nDropped > 0)
        text = QStringLiteral("\n……（输出太快，省略了 %1 字节）\n").arg(m_nDropped);
    text += m_decoder.decode(m_pending);
    m_pending.clear();
    m_nDropped = 0;
    // The server's lines continue where the last piece ended.
    QTextCursor end = m_pText->textCursor();
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    if (atEnd)
        scroll->setValue(scroll->maximum());
}
