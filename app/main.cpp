#include <QApplication>
#include <QIcon>

#include "CConfigApp.h"
#include "version.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationVersion(QString::fromLatin1(ZAV_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/128.ico")));

    CConfigApp theApp;
    theApp.InitInstance();
    return 0;
}
