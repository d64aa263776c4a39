#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>

#include "CConfigApp.h"
#include "CommandLine.h"
#include "QtFrenchTexts.h"
#include "version.h"

int main(int argc, char* argv[]) {
    switch (ChooseStartAction(argc, argv,
                              [](const char* name) -> const char* { return std::getenv(name); })) {
        case StartAction::PrintHelp:
            std::fputs(HelpText(argv[0]).c_str(), stdout);
            return 0;
        case StartAction::PrintVersion:
            std::fputs(VersionText().c_str(), stdout);
            return 0;
        case StartAction::NoDisplay:
            std::fputs(NoDisplayText(argv[0]).c_str(), stderr);
            return 1;
        case StartAction::RunTool:
            break;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationVersion(QString::fromLatin1(ZAV_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/128.ico")));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(zav::version::kApplicationId));
    InstallQtFrenchTexts(application);

    CConfigApp theApp;
    theApp.InitInstance();
    if (theApp.StartFailure()[0] != '\0') {
        std::fprintf(stderr, "%s\n", theApp.StartFailure());
        return 1;
    }
    return 0;
}
