// Stands in for the main frame as the target of the pages' posted messages and
// records each one as it is delivered.
#pragma once

#include "QuilletEvent.h"

#include <QList>
#include <QObject>

class CMessageRecorder : public QObject
{
public:
    struct Message
    {
        QEvent::Type type;
        qintptr wParam;
        qintptr lParam;
        QObject* control;
    };
    QList<Message> messages;

    bool event(QEvent* e) override
    {
        if (e->type() >= QuilletEvent::CaretPos && e->type() <= QuilletEvent::DeferredLoad) {
            const auto* message = static_cast<CQuilletEvent*>(e);
            messages.append({e->type(), message->wParam(), message->lParam(), message->control()});
            return true;
        }
        return QObject::event(e);
    }
};
