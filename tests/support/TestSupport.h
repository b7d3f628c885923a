// Helpers shared by the tests: temporary homes and bounded waits.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace QuilletTest {

// Points HOME and the XDG directories at dir (created as needed), so that
// QSettings, desktop entries and MIME defaults land there.
void UseTemporaryHome(const QString& dir);

// Processes events (deferred deletes included) until pred() holds or
// timeoutMs passes; returns pred().
bool WaitFor(const std::function<bool()>& pred, int timeoutMs = 5000);

// A file's whole content (empty when it cannot be read), and writing one.
QByteArray ReadFile(const QString& path);
bool WriteFile(const QString& path, const QByteArray& bytes);

} // namespace QuilletTest
