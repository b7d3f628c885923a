// Helpers shared by the tests: temporary homes and bounded waits.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

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

// The user id the checks that need an ordinary user run as when the tests
// run as the superuser (who may write any file).
constexpr unsigned kUnprivilegedUid = 65534;

// Runs what as this user, or, when this is the superuser, in a child process
// that has given up its rights (uid and gid kUnprivilegedUid): whether what
// returned true, or nothing when the rights could not be given up (a
// container that allows no other user). Files the child must reach need to
// be reachable by that user.
std::optional<bool> AsUnprivileged(const std::function<bool()>& what);

// Hands path (and, with its parents up to stopAt, traversal) to the
// unprivileged user when running as the superuser; nothing otherwise.
void GiveToUnprivileged(const QString& path);

} // namespace QuilletTest
