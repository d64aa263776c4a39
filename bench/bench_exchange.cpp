// Times one full configuration exchange (open, frame, "u", report, close) against a device
// that answers at once on a pseudo-terminal, and sets it beside the time the same bytes
// need on a real line at 19200 bit/s.

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "CExchange.h"
#include "CPortDirectory.h"
#include "CSerialPort.h"
#include "CSystemClock.h"
#include "Frames.h"
#include "PtyPair.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int32_t kPortNumber = 990;
constexpr int kWarmUp = 100;
constexpr int kRuns = 2000;
constexpr double kBitsPerByte = 10.0;  // start bit, 8 data bits, stop bit
constexpr double kBitRate = 19200.0;
const std::string kReport = "TM010203V12005012100007003A00\n";

class CountingHost final : public IExchangeHost {
public:
    void SetStatusText(const std::string& text) override { last = text; }
    void Refresh() override {}
    void RepaintStatus() override {}
    void ShowMessage(const std::string&) override { ++messages; }

    std::string last;
    int messages = 0;
};

// Answers every read request with the report; ends when anything arrives on stopFd.
void AnswerRequests(const PtyPair& pty, int stopFd) {
    std::string line;
    for (;;) {
        pollfd fds[2] = {{pty.Master(), POLLIN, 0}, {stopFd, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 || fds[1].revents != 0) {
            return;
        }
        char chunk[256];
        const ssize_t n = read(pty.Master(), chunk, sizeof chunk);
        if (n <= 0) {
            return;
        }
        for (ssize_t i = 0; i < n; ++i) {
            line.push_back(chunk[i]);
            if (chunk[i] != '\n') {
                continue;
            }
            if (line == "u\n") {
                pty.WriteMaster(kReport);
            }
            line.clear();
        }
    }
}

double Percentile(const std::vector<double>& sorted, double fraction) {
    const auto at = static_cast<size_t>(fraction * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[at];
}

}  // namespace

int main() {
    PtyPair pty;
    if (!pty.Valid()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    std::string folder = (fs::temp_directory_path() / "zav-bench-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    std::error_code ec;
    fs::create_symlink(pty.SlavePath(), fs::path(folder) / ("COM" + std::to_string(kPortNumber)),
                       ec);
    if (ec) {
        std::fprintf(stderr, "cannot announce the port: %s\n", ec.message().c_str());
        fs::remove_all(folder, ec);
        return 1;
    }
    CPortDirectory::Roots roots;
    roots.runtime = folder;
    const CPortDirectory directory(roots);

    int stopPipe[2];
    if (pipe(stopPipe) != 0) {
        std::perror("pipe");
        return 1;
    }
    std::thread device(AnswerRequests, std::cref(pty), stopPipe[0]);

    CSerialPort port;
    port.SetPortDirectory(&directory);
    CountingHost host;
    CExchange exchange(port, host, CSystemClock::Instance());
    const ParameterSet params{5, 12, 7, "A", 3, 100};

    std::vector<double> ms;
    ms.reserve(kRuns);
    int failures = 0;
    for (int run = 0; run < kWarmUp + kRuns; ++run) {
        host.last.clear();
        const auto start = Clock::now();
        exchange.SendConfig(params, kPortNumber, kRepeaterVariant);
        const auto end = Clock::now();
        if (host.last.rfind("TM7305rx", 0) != 0) {
            ++failures;
        }
        if (run >= kWarmUp) {
            ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        }
    }

    const char stop = 's';
    (void)!write(stopPipe[1], &stop, 1);
    device.join();
    close(stopPipe[0]);
    close(stopPipe[1]);
    fs::remove_all(folder, ec);

    std::sort(ms.begin(), ms.end());
    const size_t bytesOut =
        BuildConfigFrame(params).value_or("").size() + 1 + std::string("u\n").size();
    const size_t bytesBack = kReport.size();
    const double wireMs =
        static_cast<double>(bytesOut + bytesBack) * kBitsPerByte / kBitRate * 1000.0;

    std::printf("exchanges: %d (after %d warm-up), without report: %d\n", kRuns, kWarmUp, failures);
    std::printf("median: %.3f ms\n", Percentile(ms, 0.5));
    std::printf("99th percentile: %.3f ms\n", Percentile(ms, 0.99));
    std::printf("wire time at 19200 bit/s: %.1f ms (%zu bytes out, %zu back)\n", wireMs, bytesOut,
                bytesBack);
    return failures == 0 ? 0 : 1;
}
