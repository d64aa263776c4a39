#include <QApplication>
#include <QDir>
#include <QIcon>
#include <cstdio>

#include "CPictureBook.h"
#include "version.h"

// zav7305-pictures <folder>: renders every window of the tool to PNG files in <folder>.
int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // Message boxes and the setup dialog name the tool, not this program.
    QApplication::setApplicationName(QStringLiteral("Zav7305"));
    QApplication::setApplicationVersion(QString::fromLatin1(ZAV_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/128.ico")));
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    CPictureBook book(folder);
    return book.RenderAll() ? 0 : 1;
}
