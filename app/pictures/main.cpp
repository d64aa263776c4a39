#include <QApplication>
#include <QDir>
#include <QIcon>
#include <cstdio>
#include <cstring>

#include "CPictureBook.h"
#include "version.h"

// zav7305-pictures [--on-screen] <folder>: renders every window of the tool to PNG files in
// <folder>; offscreen, or with --on-screen on the display with its window manager's frames.
int main(int argc, char* argv[]) {
    const bool onScreen = argc == 3 && std::strcmp(argv[1], "--on-screen") == 0;
    if (argc != 2 && !onScreen) {
        std::fprintf(stderr, "usage: %s [--on-screen] <output folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[argc - 1]);
    if (!onScreen) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    // Message boxes and the setup dialog name the tool, not this program.
    QApplication::setApplicationName(QStringLiteral("Zav7305"));
    QApplication::setApplicationVersion(QString::fromLatin1(ZAV_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/128.ico")));
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", argv[argc - 1]);
        return 1;
    }
    CPictureBook book(folder, onScreen);
    return book.RenderAll() ? 0 : 1;
}
