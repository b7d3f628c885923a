#include "StartupSplashWnd.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimerEvent>

#include "QuilletEvent.h"

namespace {
bool g_bSplashEnabled = true;
int g_nPeriodMs = CStartupSplashWnd::kDefaultPeriodMs;
QPointer<CStartupSplashWnd> g_pCurrent;

void DrawQuill(QPainter& p)
{
    // A feather lying from lower left to upper right, with its shaft and nib.
    p.save();
    p.translate(120, 190);
    p.rotate(-38);
    QPainterPath vane;
    vane.moveTo(0, 0);
    vane.cubicTo(40, -42, 150, -48, 210, -6);
    vane.cubicTo(150, 26, 50, 30, 0, 0);
    QLinearGradient g(0, -40, 0, 30);
    g.setColorAt(0, QColor(255, 255, 255));
    g.setColorAt(1, QColor(190, 205, 230));
    p.setPen(QPen(QColor(80, 95, 130), 1.5));
    p.setBrush(g);
    p.drawPath(vane);
    p.setPen(QPen(QColor(70, 80, 110), 0.8));
    for (int x = 25; x < 200; x += 12) {
        p.drawLine(QPointF(x, 0), QPointF(x + 18, -24 + qAbs(x - 110) / 6.0));
        p.drawLine(QPointF(x, 0), QPointF(x + 16, 18 - qAbs(x - 110) / 8.0));
    }
    p.setPen(QPen(QColor(60, 60, 80), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-55, 0), QPointF(215, -4));
    p.setBrush(QColor(40, 40, 50));
    QPolygonF nib;
    nib << QPointF(-55, -3) << QPointF(-75, 0) << QPointF(-55, 3);
    p.drawPolygon(nib);
    p.restore();
}
} // namespace

void CStartupSplashWnd::EnableSplashScreen(bool enable) { g_bSplashEnabled = enable; }
CStartupSplashWnd* CStartupSplashWnd::Current() { return g_pCurrent.data(); }
void CStartupSplashWnd::SetPeriodMs(int ms) { g_nPeriodMs = ms; }
int CStartupSplashWnd::PeriodMs() { return g_nPeriodMs; }

QPixmap CStartupSplashWnd::SplashImage()
{
    QPixmap pixmap(520, 317);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 317);
    sky.setColorAt(0, QColor(28, 52, 96));
    sky.setColorAt(1, QColor(62, 110, 170));
    p.fillRect(pixmap.rect(), sky);
    p.setPen(QColor(255, 255, 255, 40));
    for (int y = 40; y < 317; y += 22)   // faint ruled lines, as on writing paper
        p.drawLine(0, y, 520, y);
    DrawQuill(p);
    QFont title(QStringLiteral("Serif"), 40, QFont::Bold);
    title.setItalic(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(230, 70, 270, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quillet"));
    QFont sub(QStringLiteral("WenQuanYi Micro Hei"), 13);
    p.setFont(sub);
    p.setPen(QColor(220, 230, 245));
    p.drawText(QRect(232, 140, 270, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("PHP 网页编辑器"));
    QFont version(QStringLiteral("Sans"), 12, QFont::DemiBold);
    p.setFont(version);
    p.drawText(QRect(232, 172, 270, 26), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("版本 3.0"));
    p.setPen(QColor(255, 255, 255, 160));
    p.setFont(QFont(QStringLiteral("Sans"), 8));
    p.drawText(QRect(12, 290, 496, 20), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Copyright © Fennroth. GPL-3.0-or-later."));
    p.setPen(QPen(QColor(10, 20, 40), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(pixmap.rect().adjusted(1, 1, -1, -1));
    return pixmap;
}

void CStartupSplashWnd::ShowSplashScreen(QWidget* owner)
{
    if (!g_bSplashEnabled || g_pCurrent)
        return;
    auto* splash = new CStartupSplashWnd(owner);
    if (splash->m_bitmap.isNull()) {
        delete splash;
        return;
    }
    g_pCurrent = splash;
    splash->show();
    splash->repaint();
}

CStartupSplashWnd::CStartupSplashWnd(QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_bitmap(SplashImage()), m_pOwner(owner)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setCursor(Qt::ArrowCursor);
    setFixedSize(m_bitmap.size());
    // Centred on the screen: the owner is not shown yet.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    m_timer.start(g_nPeriodMs, this);
    qApp->installEventFilter(this);
}

CStartupSplashWnd::~CStartupSplashWnd()
{
    qApp->removeEventFilter(this);
}

void CStartupSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawPixmap(0, 0, m_bitmap);
}

void CStartupSplashWnd::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_timer.timerId())
        return QWidget::timerEvent(event);
    m_timer.stop();
    QObject* target = m_pOwner ? static_cast<QObject*>(m_pOwner.data()) : qApp->activeWindow();
    g_pCurrent = nullptr;
    qApp->removeEventFilter(this);
    // Closing queues the window's deletion ahead of the load, so its bitmap
    // and its window's pixels are given back before the reference data is read.
    close();
    CQuilletEvent::Post(target, QuilletEvent::DeferredLoad, 0, 0);
}

bool CStartupSplashWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (watched->isWidgetType())
        FilterInput(event);
    return false;   // the event is always delivered as usual
}

void CStartupSplashWnd::FilterInput(QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        if (isVisible()) {
            hide();
            if (m_pOwner)
                m_pOwner->repaint();
        }
        break;
    default:
        break;
    }
}
