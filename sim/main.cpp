#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "CPortDirectory.h"
#include "CSignalPipe.h"
#include "CSimulator.h"
#include "CTrace.h"
#include "CVirtualPort.h"
#include "PortName.h"
#include "SimOptions.h"
#include "version.h"

namespace {

// A launcher that may itself crash (a test) names itself in ZAV7305_SIM_PARENT: the simulator
// then stops when that process ends, through its own stop signal, so that neither it nor its
// link outlives the launcher. A launcher already gone before this point is caught by its number.
bool EndsWithItsLauncher() {
    const char* launcher = std::getenv("ZAV7305_SIM_PARENT");
    if (launcher == nullptr) {
        return true;
    }
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    return std::to_string(::getppid()) == launcher;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = ParseSimOptions(argc, argv, error);
    if (!options) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", argv[0], error.c_str(), argv[0]);
        return 2;
    }
    if (options->help) {
        std::fputs(SimUsage(argv[0]).c_str(), stdout);
        return 0;
    }
    if (options->version) {
        std::printf("zav7305-sim %s\n", ZAV_VERSION);
        return 0;
    }
    // Installed before the link exists, so that no stop signal can leave the link behind.
    CSignalPipe signals;
    if (!signals.Install()) {
        std::perror("cannot install signal handlers");
        return 1;
    }
    if (!EndsWithItsLauncher()) {
        return 127;
    }
    CTrace trace;
    if (!options->logPath.empty() && !trace.OpenLog(options->logPath, error)) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.c_str());
        return 1;
    }
    const std::string folder =
        options->runtimeDir.empty() ? CPortDirectory::DefaultRuntimeFolder() : options->runtimeDir;
    CVirtualPort port;
    if (!port.Open(error) || !port.Announce(folder, options->port, error)) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.c_str());
        return 1;
    }
    trace.Plain("READY " + PortName::Of(port.Number()) + " " + port.SlavePath());
    CSimulator simulator(*options, port, signals, trace);
    return simulator.Run();
}
