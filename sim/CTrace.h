#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "CFileDescriptor.h"

// What the simulator tells its user: one stdout line per exchange, with a timestamp, and
// the received bytes appended unchanged to a log file when one is asked for.
class CTrace {
public:
    CTrace() = default;

    // False with a reason when the log file cannot be opened.
    bool OpenLog(const std::string& path, std::string& error);

    void Received(std::string_view line);  // one line, with its line feed if it had one
    void Sent(std::string_view bytes);
    void Event(std::string_view text);  // a timestamped note
    void Plain(std::string_view text);  // a line as it stands

    // Printable form of device bytes: \r, \n, \\ and \xNN for the rest of the unprintable.
    static std::string Escape(std::string_view bytes);

private:
    void Timestamped(std::string_view tag, std::string_view text);

    CFileDescriptor log;
};
