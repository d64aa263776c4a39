#include <QApplication>

#include "CTestClasses.h"
#include "EditorTestSupport.h"

int main(int argc, char** argv) {
    if (!PrepareEditorsTest()) {
        return 2;
    }
    QApplication app(argc, argv);
    return CTestClasses::Run(argc, argv);
}
