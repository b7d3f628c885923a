// Answers the modal dialogs a command opens, as a user would, while the
// command's own event loop runs.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <functional>

class CModalScript : public QObject
{
public:
    // act gets each modal dialog once, in order, and must end it (OK or Cancel).
    // A dialog still open on the next look is cancelled, so a refused OK cannot
    // hang the test; it is counted in unfinished.
    explicit CModalScript(std::function<void(QDialog*)> act) : m_act(std::move(act))
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { Look(); });
        m_timer.start();
    }

    int seen = 0;
    int unfinished = 0;

private:
    void Look()
    {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (dialog == m_pLast) {
            ++unfinished;
            dialog->reject();
            return;
        }
        m_pLast = dialog;
        ++seen;
        m_act(dialog);
    }

    std::function<void(QDialog*)> m_act;
    QTimer m_timer;
    QPointer<QDialog> m_pLast;
};
