// Renders the program's icon, quillet.svg, at the sizes the window system is
// given (16, 32, 64 and 128 pixels) into quillet-<size>.png beside it, through
// the same SVG icon engine that would draw it at run time, so the window icon
// needs no SVG renderer at start. Run by hand after changing quillet.svg; the
// PNGs beside this file are its output and are what the program loads.
//
//   g++ -std=c++20 -fPIC RenderWindowIcons.cpp $(pkg-config --cflags --libs Qt6Gui) \
//       -o /tmp/render-window-icons && QT_QPA_PLATFORM=offscreen /tmp/render-window-icons .
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    const QIcon icon(dir.filePath(QStringLiteral("quillet.svg")));
    for (int size : {16, 32, 64, 128}) {
        // Straight alpha, as the window system takes it and PNG stores it.
        const QImage image = icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
        if (image.size() != QSize(size, size) ||
            !image.save(dir.filePath(QStringLiteral("quillet-%1.png").arg(size))))
            return 1;
    }
    return 0;
}
