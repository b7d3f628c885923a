// Owns a preview server the way the editor does, for a test to kill: starts
// php (argument 1) serving a folder (argument 2), prints "PID PORT" once it
// answers, and runs until it is killed.
#include <QCoreApplication>

#include <cstdio>

#include "core/PreviewServer.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    CPreviewServer server;
    QObject::connect(&server, &CPreviewServer::ready, [&server] {
        std::printf("%lld %d\n", static_cast<long long>(server.ProcessId()), server.Port());
        std::fflush(stdout);
    });
    QObject::connect(&server, &CPreviewServer::failed, &app, [](const QString& message) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        QCoreApplication::exit(1);
    });
    server.Start(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    return app.exec();
}
