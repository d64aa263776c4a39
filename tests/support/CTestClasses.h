#pragma once

#include <QObject>
#include <functional>
#include <memory>

// The QtTest classes of one executable, run one after the other in one application: a test
// folder builds one executable, not one per class, each of which cost its own compile of the
// same headers, its own meta-object step and its own link.
//
// `-functions` lists every class's functions as `Class::function()`; arguments of the form
// `Class::function` or `Class::function:tag` run only those, each class with its own; every
// other argument goes to each class run (`-o`, `-v2`, …).
class CTestClasses {
public:
    using Factory = std::function<std::unique_ptr<QObject>()>;

    static bool Add(const char* name, Factory make);
    // The status QtTest gives, summed over the classes run (at most 127).
    static int Run(int argc, char** argv);
};

// Registers a test class; in place of QTEST_MAIN, the executable's main calls Run.
#define ZAV_TEST_CLASS(TestClass)                                \
    [[maybe_unused]] static const bool zavTestClass##TestClass = \
        CTestClasses::Add(#TestClass, [] { return std::unique_ptr<QObject>(new TestClass); })
