#include "CSimulator.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "CSignalPipe.h"
#include "CTrace.h"
#include "CVirtualPort.h"
#include "Reports.h"

CSimulator::CSimulator(const SimOptions& options, CVirtualPort& port, CSignalPipe& signals,
                       CTrace& trace)
    : options(options),
      port(port),
      signals(signals),
      trace(trace),
      model(options.device, options.stream, options.faults.answerFrame, options.faults.changed) {}

int CSimulator::Run() {
    Flow flow = Flow::kGoOn;
    while (flow == Flow::kGoOn) {
        pollfd fds[2] = {{port.Master(), POLLIN, 0}, {signals.ReadDescriptor(), POLLIN, 0}};
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0 && errno != EINTR) {
            trace.Event(std::string("poll failed: ") + std::strerror(errno));
            flow = Flow::kFailed;
        } else if (StopRequested()) {
            flow = Flow::kStop;
        } else if (ready > 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            flow = ReadInput();
        }
    }
    if (!pending.empty()) {
        trace.Received(pending);
        pending.clear();
    }
    port.Withdraw();
    return flow == Flow::kFailed ? 1 : 0;
}

bool CSimulator::StopRequested() {
    const int signalNumber = signals.Pending();
    if (signalNumber != 0) {
        trace.Event("stopped by signal " + std::to_string(signalNumber));
    }
    return signalNumber != 0;
}

CSimulator::Flow CSimulator::ReadInput() {
    char chunk[512];
    const ssize_t n = ::read(port.Master(), chunk, sizeof chunk);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
        return Flow::kGoOn;
    }
    if (n <= 0) {
        // The device keeps its own slave side open, so this is not the PC closing the port.
        trace.Event(std::string("pseudo-terminal lost: ") + (n < 0 ? std::strerror(errno) : "EOF"));
        return Flow::kFailed;
    }
    pending.append(chunk, static_cast<size_t>(n));
    for (;;) {
        const size_t end = pending.find('\n');
        if (end == std::string::npos && pending.size() < kMaxReceivedLine) {
            return Flow::kGoOn;
        }
        const size_t length = end == std::string::npos ? kMaxReceivedLine : end + 1;
        const std::string line = pending.substr(0, length);
        pending.erase(0, length);
        const Flow flow = HandleLine(line);
        if (flow != Flow::kGoOn) {
            return flow;
        }
    }
}

CSimulator::Flow CSimulator::HandleLine(std::string_view line) {
    trace.Received(line);
    if (options.faults.silent) {
        return Flow::kGoOn;
    }
    if (options.faults.echo) {
        const Flow flow = Send(line);
        if (flow != Flow::kGoOn) {
            return flow;
        }
    }
    std::string_view content = line;
    if (!content.empty() && content.back() == '\n') {
        content.remove_suffix(1);
    }
    return Answer(model.Handle(content));
}

CSimulator::Flow CSimulator::Answer(const DeviceAnswer& answer) {
    if (!answer.report) {
        return Flow::kGoOn;
    }
    if (!Pause(options.faults.delayMs)) {
        return Flow::kStop;
    }
    if (options.faults.noise) {
        const Flow flow = Send(NoiseLine(options.faults));
        if (flow != Flow::kGoOn) {
            return flow;
        }
    }
    const Flow flow =
        SendReport(ShapeReportLine(FormatReport(*answer.report, options.spaced), options.faults));
    if (flow == Flow::kGoOn && answer.pluggedDevice != 0) {
        trace.Plain("PLUG device " + std::to_string(answer.pluggedDevice));
    }
    return flow;
}

CSimulator::Flow CSimulator::SendReport(const std::string& line) {
    if (!options.faults.hangupMid) {
        return Send(line);
    }
    const Flow flow = Send(std::string_view(line).substr(0, line.size() / 2));
    if (flow != Flow::kGoOn) {
        return flow;
    }
    // A hang-up discards whatever the reader has not taken yet; a device unplugged in the
    // middle of a reply has already delivered the bytes that went out before.
    if (!WaitUntilTaken()) {
        return Flow::kStop;
    }
    port.HangUp();
    trace.Event("hung up");
    return Flow::kStop;
}

CSimulator::Flow CSimulator::Send(std::string_view bytes) {
    trace.Sent(bytes);
    if (options.faults.dripMs == 0) {
        return WriteBytes(bytes);
    }
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0 && !Pause(options.faults.dripMs)) {
            return Flow::kStop;
        }
        const Flow flow = WriteBytes(bytes.substr(i, 1));
        if (flow != Flow::kGoOn) {
            return flow;
        }
    }
    return Flow::kGoOn;
}

CSimulator::Flow CSimulator::WriteBytes(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(port.Master(), bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            trace.Event(std::string("write failed: ") + std::strerror(errno));
            return Flow::kFailed;
        }
        // Nobody is reading and the line is full: wait for room, or for a stop signal.
        pollfd fds[2] = {{port.Master(), POLLOUT, 0}, {signals.ReadDescriptor(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR) {
            return Flow::kFailed;
        }
        if (StopRequested()) {
            return Flow::kStop;
        }
    }
    return Flow::kGoOn;
}

bool CSimulator::Pause(uint32_t ms) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            return true;
        }
        pollfd fd{signals.ReadDescriptor(), POLLIN, 0};
        ::poll(&fd, 1, static_cast<int>(left));
        if (StopRequested()) {
            return false;
        }
    }
}

bool CSimulator::WaitUntilTaken() {
    using Clock = std::chrono::steady_clock;
    constexpr auto kArrival = std::chrono::milliseconds(50);
    constexpr auto kGiveUp = std::chrono::milliseconds(2000);
    const auto start = Clock::now();
    bool arrived = false;
    for (;;) {
        const int unread = port.UnreadBytes();
        arrived = arrived || unread > 0;
        const auto waited = Clock::now() - start;
        if (unread <= 0 && (arrived || waited >= kArrival)) {
            return true;
        }
        if (waited >= kGiveUp) {
            return true;
        }
        if (!Pause(2)) {
            return false;
        }
    }
}
