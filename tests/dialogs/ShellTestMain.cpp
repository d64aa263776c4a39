#include <QApplication>

#include "CTestClasses.h"
#include "ShellTestSupport.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (!PrepareShellTest()) {
        return 2;
    }
    return CTestClasses::Run(argc, argv);
}
