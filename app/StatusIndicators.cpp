#include "StatusIndicators.h"

#include <QLabel>
#include <QStatusBar>
#include <QTimerEvent>

#include "CommandIds.h"
#include "LockKeyState.h"

QString CStatusIndicators::IdleText()
{
    return QStringLiteral("上下文帮助出现时按 Ctrl+I 插入选中的函数");
}

CStatusIndicators::CStatusIndicators(QStatusBar* bar) : QObject(bar)
{
    m_pMessage = new QLabel(IdleText(), bar);
    m_pMessage->setObjectName(QStringLiteral("messagePane"));
    bar->addWidget(m_pMessage, 1);
    m_pFormat = AddPane(bar, QStringLiteral("UTF-8 BOM · CRLF"), 0);
    m_pFormat->setObjectName(QStringLiteral("formatPane"));
    m_pFormat->hide();
    m_pCaret = AddPane(bar, QString(), 0);
    // Wide enough for the largest position a big file shows.
    m_pCaret->setMinimumWidth(m_pCaret->fontMetrics().horizontalAdvance(QStringLiteral("Ln 224977,Col 1024")) +
                              2 * m_pCaret->frameWidth() + 10);
    m_pCaret->setObjectName(QStringLiteral("caretPane"));
    m_pCaret->setProperty("ctrlId", CtrlId::CaretPane);
    m_pCaps = AddPane(bar, QStringLiteral("大写"), 0);
    m_pNum = AddPane(bar, QStringLiteral("数字"), 0);
    m_pScroll = AddPane(bar, QStringLiteral("滚动"), 0);
    m_pCaps->setObjectName(QStringLiteral("capsPane"));
    m_pNum->setObjectName(QStringLiteral("numPane"));
    m_pScroll->setObjectName(QStringLiteral("scrollPane"));
    RefreshLocks();
    // The lights change outside the program too; look twice a second.
    m_nLockTimer = startTimer(500);
}

QLabel* CStatusIndicators::AddPane(QStatusBar* bar, const QString& text, int width)
{
    auto* pane = new QLabel(text, bar);
    pane->setFrameShape(QFrame::Panel);
    pane->setFrameShadow(QFrame::Sunken);
    pane->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (width > 0)
        pane->setFixedWidth(width);
    else
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(text) + 10);
    bar->addPermanentWidget(pane);
    return pane;
}

void CStatusIndicators::SetCaretText(const QString& text)
{
    m_pCaret->setText(text);
}

void CStatusIndicators::SetFormatText(const QString& text)
{
    m_pFormat->setText(text);
    m_pFormat->setVisible(!text.isEmpty());
}

void CStatusIndicators::SetMessageText(const QString& text)
{
    m_pMessage->setText(text.isEmpty() ? IdleText() : text);
}

void CStatusIndicators::RefreshLocks()
{
    const std::optional<LockKeys> keys = ReadLockKeys();
    m_pCaps->setEnabled(keys && keys->caps);
    m_pNum->setEnabled(keys && keys->num);
    m_pScroll->setEnabled(keys && keys->scroll);
}

void CStatusIndicators::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_nLockTimer)
        RefreshLocks();
}
