#include <QApplication>

#include "CTestClasses.h"

// Under the application name the shipped program has, so that message box captions read as
// they do for the user.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zav7305"));
    return CTestClasses::Run(argc, argv);
}
