#include "Reports.h"

#include <cctype>
#include <cstdio>

namespace {

std::string ThreeDigits(int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%03d", static_cast<int>(value));
    return text;
}

std::string LineEnd(const FaultOptions& faults) {
    return faults.crlf ? "\r\n" : "\n";
}

}  // namespace

std::string FormatReport(const DeviceReport& report, bool spaced) {
    const std::string one = spaced ? " " : "";
    const std::string two = spaced ? "  " : "";
    std::string line = report.prefix + one + report.shortFields[0] + one + report.shortFields[1] +
                       one + report.shortFields[2];
    for (const std::string& piece :
         {report.version, ThreeDigits(report.id), ThreeDigits(report.chf), ThreeDigits(report.oft),
          ThreeDigits(report.p0), ThreeDigits(report.prt), report.typ}) {
        line += two + piece;
    }
    return line;
}

std::string ShapeReportLine(const std::string& formatted, const FaultOptions& faults) {
    std::string line = formatted;
    if (faults.lowercase) {
        for (size_t i = 0; i < 2 && i < line.size(); ++i) {
            line[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(line[i])));
        }
    }
    if (faults.longLine && line.size() < kLongLineLength) {
        line.append(kLongLineLength - line.size(), '-');
    }
    if (faults.zeroBytes && line.size() >= 2) {
        // After the prefix and before the last piece: where a reader that stops at a zero
        // byte, or counts it, would cut or shift the pieces.
        line.insert(line.size() - 3, 1, '\0');
        line.insert(2, 1, '\0');
    }
    if (faults.terminalCodes && line.size() >= 2) {
        // Right after the prefix, so that they come out in the decoded status text.
        line.insert(2, kTerminalCodes);
    }
    if (!faults.noLf) {
        line += LineEnd(faults);
    }
    return line;
}

std::string NoiseLine(const FaultOptions& faults) {
    return "#~ line noise ~#" + LineEnd(faults);
}
