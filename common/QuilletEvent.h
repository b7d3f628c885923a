// The private messages (WM_USER+1 .. +5) as posted Qt events carrying two parameters.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>

namespace QuilletEvent {
// The numbers are those of the messages: QEvent::User + 1 is WM_USER+1.
constexpr QEvent::Type CaretPos = static_cast<QEvent::Type>(QEvent::User + 1);
constexpr QEvent::Type ShowPrototypes = static_cast<QEvent::Type>(QEvent::User + 2);
constexpr QEvent::Type PageSelection = static_cast<QEvent::Type>(QEvent::User + 3);
constexpr QEvent::Type InsertEntry = static_cast<QEvent::Type>(QEvent::User + 4);
constexpr QEvent::Type DeferredLoad = static_cast<QEvent::Type>(QEvent::User + 5);
} // namespace QuilletEvent

// One posted private message: wParam and lParam as integers, plus the control
// that lParam names when the message refers to one (a tree or a list box).
class CQuilletEvent : public QEvent
{
public:
    CQuilletEvent(QEvent::Type type, qintptr wParam, qintptr lParam, QObject* control = nullptr)
        : QEvent(type), m_wParam(wParam), m_lParam(lParam), m_pControl(control) {}

    qintptr wParam() const { return m_wParam; }
    qintptr lParam() const { return m_lParam; }
    QObject* control() const { return m_pControl.data(); }

    // Posts the message to target; it is delivered from the event loop, never at once.
    static void Post(QObject* target, QEvent::Type type, qintptr wParam = 0, qintptr lParam = 0,
                     QObject* control = nullptr)
    {
        if (target)
            QCoreApplication::postEvent(target, new CQuilletEvent(type, wParam, lParam, control));
    }

private:
    qintptr m_wParam;
    qintptr m_lParam;
    QPointer<QObject> m_pControl;
};
