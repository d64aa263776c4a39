#include "CTestClasses.h"

#include <QMetaMethod>
#include <QTest>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// Sorted by name, whatever order the linker set up the classes in.
std::map<std::string, CTestClasses::Factory>& Classes() {
    static std::map<std::string, CTestClasses::Factory> classes;
    return classes;
}

// The functions QtTest would run: private slots without arguments, less the data functions
// and the set-up and clean-up ones.
void PrintFunctions(const std::string& name, const QObject& test) {
    const QMetaObject* meta = test.metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        const QByteArray function = method.name();
        if (method.methodType() != QMetaMethod::Slot || method.access() != QMetaMethod::Private ||
            method.parameterCount() != 0 || function.endsWith("_data") ||
            function == "initTestCase" || function == "cleanupTestCase" || function == "init" ||
            function == "cleanup") {
            continue;
        }
        std::printf("%s::%s()\n", name.c_str(), function.constData());
    }
}

}  // namespace

bool CTestClasses::Add(const char* name, Factory make) {
    Classes().emplace(name, std::move(make));
    return true;
}

int CTestClasses::Run(int argc, char** argv) {
    std::vector<char*> options;
    std::map<std::string, std::vector<std::string>> chosen;
    bool list = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const std::string::size_type colons = arg.find("::");
        if (colons != std::string::npos) {
            chosen[arg.substr(0, colons)].push_back(arg.substr(colons + 2));
        } else if (arg == "-functions") {
            list = true;
        } else {
            options.push_back(argv[i]);
        }
    }
    for (const auto& [name, functions] : chosen) {
        if (Classes().count(name) == 0) {
            std::fprintf(stderr, "Unknown test class: %s\n", name.c_str());
            return 1;
        }
    }
    int failed = 0;
    for (const auto& [name, make] : Classes()) {
        const std::unique_ptr<QObject> test = make();
        if (list) {
            PrintFunctions(name, *test);
            continue;
        }
        const auto mine = chosen.find(name);
        if (!chosen.empty() && mine == chosen.end()) {
            continue;
        }
        std::vector<std::string> functions;
        if (mine != chosen.end()) {
            functions = mine->second;
        }
        std::vector<char*> args{argv[0]};
        args.insert(args.end(), options.begin(), options.end());
        for (std::string& function : functions) {
            args.push_back(function.data());
        }
        failed += QTest::qExec(test.get(), int(args.size()), args.data());
    }
    return failed > 127 ? 127 : failed;
}
