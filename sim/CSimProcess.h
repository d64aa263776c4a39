#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CFileDescriptor.h"

// Runs the device simulator program as a child process for a test: starts it, waits for
// its READY line, tells what it received and printed, and stops it again.
class CSimProcess {
public:
    struct Options {
        std::string device = "repeater";     // --device
        std::vector<std::string> extraArgs;  // e.g. {"--stream", "--spaced"} or fault options
        std::string runtimeDir;              // --runtime; empty: the program's default
        int32_t port = 0;                    // --port; 0: first free
    };

    CSimProcess();
    ~CSimProcess();  // Stop()
    CSimProcess(const CSimProcess&) = delete;
    CSimProcess& operator=(const CSimProcess&) = delete;

    // Spawns the program and waits (about 5 s at most) for its READY line.
    bool Start(const Options& options);
    int32_t PortNumber() const { return portNumber; }
    const std::string& PtyPath() const { return ptyPath; }
    // The lines it received, from its log, each without its line feed.
    std::vector<std::string> ReceivedLines() const;
    // The exact bytes it received so far.
    std::string ReceivedBytes() const;
    // What it printed so far.
    std::string Output() const;
    // Waits up to `timeoutMs` for `text` to appear in what it prints.
    bool WaitForOutput(const std::string& text, int timeoutMs) const;

    // SIGTERM, then waits (bounded) for it to end; true when it exited and its link is gone.
    bool Stop();
    // The same with another signal (SIGINT, SIGHUP).
    bool StopWith(int signalNumber);
    // Waits up to `timeoutMs` for the program to end by itself; true when it has.
    bool WaitForExit(int timeoutMs);
    bool IsRunning() const { return pid > 0; }
    // The exit status once it has ended: its exit code, or -1 when a signal ended it.
    int ExitCode() const { return exitCode; }
    // Where its COM<n> link stands.
    std::string LinkPath() const;

private:
    // Reads what is available; waits up to `timeoutMs` for more (0: no wait). False at EOF.
    bool Drain(int timeoutMs) const;
    bool WaitForReady(int timeoutMs);
    bool HasReadyLine() const;
    void Reap(bool force);
    bool LinkGone() const;

    pid_t pid = -1;
    int exitCode = -1;
    int32_t portNumber = 0;
    std::string ptyPath;
    std::string runtimeDir;
    std::string workDir;  // holds the log
    std::string logPath;
    mutable CFileDescriptor outputPipe;
    mutable std::string output;
};
