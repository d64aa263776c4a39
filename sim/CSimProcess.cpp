#include "CSimProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>

#include "CPortDirectory.h"
#include "PortName.h"

extern char** environ;

namespace {

constexpr int kReadyTimeoutMs = 5000;
constexpr int kExitTimeoutMs = 5000;
// The simulator's first line: "READY COM<n> <pty>".
constexpr char kReady[] = "READY ";
constexpr std::string_view kParentVariable = "ZAV7305_SIM_PARENT=";

std::string ReadyMark() {
    return kReady + std::string(PortName::kPrefix);
}

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

std::string MakeWorkDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/zav7305-simctl-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        return {};
    }
    return pattern;
}

std::vector<std::string> Arguments(const CSimProcess::Options& options,
                                   const std::string& logPath) {
    std::vector<std::string> args = {ZAV_SIM_PATH, "--device", options.device, "--log", logPath};
    if (!options.runtimeDir.empty()) {
        args.insert(args.end(), {"--runtime", options.runtimeDir});
    }
    if (options.port != 0) {
        args.insert(args.end(), {"--port", std::to_string(options.port)});
    }
    args.insert(args.end(), options.extraArgs.begin(), options.extraArgs.end());
    return args;
}

// This process's environment, with `parentMark` in place of any mark it holds itself.
std::vector<char*> EnvironmentWith(const std::string& parentMark) {
    std::vector<char*> envp = {const_cast<char*>(parentMark.c_str())};
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (!std::string_view(*variable).starts_with(kParentVariable)) {
            envp.push_back(*variable);
        }
    }
    envp.push_back(nullptr);
    return envp;
}

// The simulator starts with default signal handling and no blocked signal whatever the test
// process has set up, so that SIGTERM reaches its own handler. It ends with the process that
// started it, and writes its errors into the same pipe as its output: a test that crashes must
// leave neither a simulator behind nor a descriptor of the test runner's output held open by
// one. Spawned rather than forked: a forked copy of a large test process costs it a fault on
// every page it writes afterwards, which under the sanitizers is a good part of a GUI test's time.
// What the spawned process starts with, released whatever the spawn's outcome.
struct SpawnSetup {
    posix_spawn_file_actions_t files{};
    posix_spawnattr_t attributes{};

    SpawnSetup() {
        posix_spawn_file_actions_init(&files);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup() {
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&files);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

pid_t Spawn(const std::vector<std::string>& args, int stdoutFd) {
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const std::string parentMark = std::string(kParentVariable) + std::to_string(getpid());
    std::vector<char*> envp = EnvironmentWith(parentMark);

    SpawnSetup setup;
    posix_spawn_file_actions_addopen(&setup.files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&setup.files, stdoutFd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&setup.files, stdoutFd, STDERR_FILENO);
    sigset_t stops;
    sigemptyset(&stops);
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        sigaddset(&stops, signalNumber);
    }
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&setup.attributes, &stops);
    posix_spawnattr_setsigmask(&setup.attributes, &none);
    posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    pid_t child = -1;
    if (posix_spawn(&child, argv[0], &setup.files, &setup.attributes, argv.data(), envp.data()) !=
        0) {
        child = -1;
    }
    return child;
}

}  // namespace

CSimProcess::CSimProcess() = default;

CSimProcess::~CSimProcess() {
    Stop();
    if (!logPath.empty()) {
        ::unlink(logPath.c_str());
    }
    if (!workDir.empty()) {
        ::rmdir(workDir.c_str());
    }
}

bool CSimProcess::Start(const Options& options) {
    if (pid > 0) {
        return false;
    }
    if (workDir.empty()) {
        workDir = MakeWorkDir();
        if (workDir.empty()) {
            return false;
        }
        logPath = workDir + "/received.log";
    }
    ::unlink(logPath.c_str());
    runtimeDir = options.runtimeDir;
    output.clear();
    ptyPath.clear();
    portNumber = 0;
    exitCode = -1;

    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return false;
    }
    outputPipe.Reset(ends[0]);
    CFileDescriptor writeEnd(ends[1]);
    pid = Spawn(Arguments(options, logPath), writeEnd.Get());
    writeEnd.Reset();
    if (pid <= 0 || ::fcntl(outputPipe.Get(), F_SETFL, O_NONBLOCK) != 0) {
        Reap(true);
        return false;
    }
    if (!WaitForReady(kReadyTimeoutMs)) {
        Reap(true);
        return false;
    }
    return true;
}

bool CSimProcess::WaitForReady(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!HasReadyLine()) {
        if (MsLeft(deadline) == 0 || !Drain(MsLeft(deadline))) {
            if (!HasReadyLine()) {
                return false;
            }
        }
    }
    const size_t at = output.find(ReadyMark()) + std::string_view(kReady).size();
    std::istringstream line(output.substr(at, output.find('\n', at) - at));
    std::string name;
    line >> name >> ptyPath;
    portNumber = PortName::Parse(name).value_or(0);
    return portNumber > 0 && !ptyPath.empty();
}

bool CSimProcess::HasReadyLine() const {
    const size_t at = output.find(ReadyMark());
    return at != std::string::npos && output.find('\n', at) != std::string::npos;
}

bool CSimProcess::Drain(int timeoutMs) const {
    if (!outputPipe.IsValid()) {
        return false;
    }
    pollfd fd{outputPipe.Get(), POLLIN, 0};
    if (::poll(&fd, 1, timeoutMs) < 0 && errno != EINTR) {
        return true;
    }
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(outputPipe.Get(), chunk, sizeof chunk);
        if (n > 0) {
            output.append(chunk, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n == 0) {
            outputPipe.Reset();
            return false;
        }
        return true;  // EAGAIN: nothing more for now
    }
}

std::string CSimProcess::Output() const {
    Drain(0);
    return output;
}

bool CSimProcess::WaitForOutput(const std::string& text, int timeoutMs) const {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (output.find(text) != std::string::npos) {
            return true;
        }
        const bool open = Drain(MsLeft(deadline));
        if (output.find(text) != std::string::npos) {
            return true;
        }
        if (!open || MsLeft(deadline) == 0) {
            return false;
        }
    }
}

std::string CSimProcess::ReceivedBytes() const {
    std::ifstream log(logPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>());
}

std::vector<std::string> CSimProcess::ReceivedLines() const {
    const std::string bytes = ReceivedBytes();
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool CSimProcess::Stop() {
    return StopWith(SIGTERM);
}

bool CSimProcess::StopWith(int signalNumber) {
    if (pid > 0) {
        ::kill(pid, signalNumber);
        if (!WaitForExit(kExitTimeoutMs)) {
            Reap(true);
            return false;
        }
    }
    return exitCode >= 0 && LinkGone();
}

bool CSimProcess::WaitForExit(int timeoutMs) {
    if (pid <= 0) {
        return true;
    }
    // Its end of the output pipe closes when it exits; only then is waitpid sure to return.
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Drain(MsLeft(deadline))) {
        if (MsLeft(deadline) == 0) {
            return false;
        }
    }
    Reap(false);
    return true;
}

void CSimProcess::Reap(bool force) {
    if (pid <= 0) {
        return;
    }
    if (force) {
        ::kill(pid, SIGKILL);
    }
    int status = 0;
    pid_t reaped = -1;
    do {
        reaped = ::waitpid(pid, &status, 0);
    } while (reaped < 0 && errno == EINTR);
    exitCode = reaped == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    pid = -1;
    Drain(0);
    outputPipe.Reset();
}

std::string CSimProcess::LinkPath() const {
    const std::string folder =
        runtimeDir.empty() ? CPortDirectory::DefaultRuntimeFolder() : runtimeDir;
    return folder + "/" + PortName::Of(portNumber);
}

bool CSimProcess::LinkGone() const {
    if (portNumber == 0) {
        return true;
    }
    struct stat info {};
    return ::lstat(LinkPath().c_str(), &info) != 0 && errno == ENOENT;
}
