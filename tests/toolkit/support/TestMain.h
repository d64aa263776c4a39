#pragma once

#include <QApplication>
#include <QtTest>

// QtTest's main, under the application name the shipped program has, so that message box
// captions read as they do for the user.
#define ZAV_TOOLKIT_TEST_MAIN(TestClass)                             \
    int main(int argc, char** argv) {                                \
        QApplication app(argc, argv);                                \
        QApplication::setApplicationName(QStringLiteral("Zav7305")); \
        TestClass test;                                              \
        return QTest::qExec(&test, argc, argv);                      \
    }
