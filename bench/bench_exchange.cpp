// Times one full configuration exchange (open, frame, "u", report, close) against a device
// that answers at once on a pseudo-terminal, and sets it beside the time the same bytes
// need on a real line at 19200 bit/s. Exchanges with and without the journal alternate in
// one run, so that both meet the same machine; the journal's own append (flush to disk
// included) is timed apart as well. The journal goes to a fresh folder under the first
// argument (default: the system's temporary folder), which should sit on the disk the
// user's data folder is on.

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
#include "CJournal.h"
#include "CPortDirectory.h"
#include "CSerialPort.h"
#include "CSystemClock.h"
#include "Frames.h"
#include "PortName.h"
#include "PtyPair.h"
#include "Roles.h"

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
    explicit CountingHost(CJournal* journal) : journal(journal) {}

    void SetStatusText(const std::string& text) override { last = text; }
    void Refresh() override {}
    void RepaintStatus() override {}
    void ShowMessage(const std::string&) override { ++messages; }
    void ExchangeEnded(const ExchangeRecord& record) override {
        if (journal == nullptr) {
            return;
        }
        const auto start = Clock::now();
        if (journal->Append(context, record) != JOURNAL_OK) {
            ++journalFailures;
        }
        appendMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }

    std::string last;
    int messages = 0;
    int journalFailures = 0;
    std::vector<double> appendMs;

private:
    CJournal* journal;
    const JournalContext context{Roles::kAdministrator, "banc", PortName::Of(kPortNumber)};
};

struct Figures {
    double median;
    double p99;
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

Figures Summarise(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {Percentile(ms, 0.5), Percentile(ms, 0.99)};
}

void PrintRow(const char* name, const Figures& f) {
    std::printf("%-22s median %7.3f ms   99th percentile %7.3f ms\n", name, f.median, f.p99);
}

}  // namespace

int main(int argc, char** argv) {
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
    fs::create_symlink(pty.SlavePath(), fs::path(folder) / PortName::Of(kPortNumber), ec);
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

    std::string journalFolder =
        (fs::path(argc > 1 ? argv[1] : fs::temp_directory_path().string()) / "zav-journal-XXXXXX")
            .string();
    if (mkdtemp(journalFolder.data()) == nullptr) {
        std::perror("mkdtemp (journal)");
        return 1;
    }
    CJournal journal(journalFolder);

    CSerialPort port;
    port.SetPortDirectory(&directory);
    CountingHost plainHost(nullptr);
    CountingHost journalingHost(&journal);
    CExchange plain(port, plainHost, CSystemClock::Instance());
    CExchange journaled(port, journalingHost, CSystemClock::Instance());
    const ParameterSet params{5, 12, 7, "A", 3, 100};

    std::vector<double> plainMs;
    std::vector<double> journaledMs;
    int failures = 0;
    for (int run = 0; run < kWarmUp + 2 * kRuns; ++run) {
        const bool withJournal = run % 2 == 1;
        CountingHost& host = withJournal ? journalingHost : plainHost;
        host.last.clear();
        const auto start = Clock::now();
        (withJournal ? journaled : plain).SendConfig(params, kPortNumber, kRepeaterVariant);
        const auto end = Clock::now();
        if (host.last.rfind("TM7305rx", 0) != 0) {
            ++failures;
        }
        if (run >= kWarmUp) {
            (withJournal ? journaledMs : plainMs)
                .push_back(std::chrono::duration<double, std::milli>(end - start).count());
        }
    }
    journalingHost.appendMs.erase(journalingHost.appendMs.begin(),
                                  journalingHost.appendMs.begin() + kWarmUp / 2);

    const char stop = 's';
    (void)!write(stopPipe[1], &stop, 1);
    device.join();
    close(stopPipe[0]);
    close(stopPipe[1]);
    fs::remove_all(folder, ec);
    fs::remove_all(journalFolder, ec);

    const size_t bytesOut =
        BuildConfigFrame(params).value_or("").size() + 1 + std::string("u\n").size();
    const size_t bytesBack = kReport.size();
    const double wireMs =
        static_cast<double>(bytesOut + bytesBack) * kBitsPerByte / kBitRate * 1000.0;

    const Figures without = Summarise(plainMs);
    const Figures with = Summarise(journaledMs);
    const Figures append = Summarise(journalingHost.appendMs);
    const double budgetMs = wireMs * 0.05;

    std::printf(
        "exchanges: %d each way, alternating (after %d warm-up), without report: %d, "
        "journal failures: %d\n",
        kRuns, kWarmUp, failures, journalingHost.journalFailures);
    std::printf("journal folder: under %s\n", argc > 1 ? argv[1] : "the temporary folder");
    PrintRow("without journal", without);
    PrintRow("with journal", with);
    PrintRow("journal append alone", append);
    std::printf(
        "added cost: median %.3f ms, 99th percentile %.3f ms (difference of the two "
        "runs)\n",
        with.median - without.median, with.p99 - without.p99);
    std::printf(
        "wire time at 19200 bit/s: %.1f ms (%zu bytes out, %zu back); 5 %% of it: %.2f "
        "ms\n",
        wireMs, bytesOut, bytesBack, budgetMs);
    const bool withinBudget = append.p99 < budgetMs;
    std::printf("journal append at the 99th percentile %s the budget\n",
                withinBudget ? "is within" : "EXCEEDS");
    return failures == 0 && journalingHost.journalFailures == 0 && withinBudget ? 0 : 1;
}
