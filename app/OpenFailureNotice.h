// The one box that names the files a second start sent but the editor could
// not open: failures that come while it is up join it, rather than stacking a
// modal box of their own on top for every request.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

class QMessageBox;
class QWidget;

class COpenFailureNotice : public QObject
{
public:
    explicit COpenFailureNotice(QObject* parent = nullptr) : QObject(parent) {}

    // Tells of failed (paths as the user knows them): in a box of its own, or
    // in the box already up, whose list grows. Returns when that box is closed,
    // or at once when the files joined a box shown by an earlier call.
    void Report(QWidget* parent, const QStringList& failed);

    // The text for failed: the first few paths, then how many there are.
    static QString Text(const QStringList& failed);

private:
    QStringList m_failed;   // everything the box up now tells of
    QPointer<QMessageBox> m_pBox;
};
