#include "CDeviceModel.h"

#include <charconv>
#include <cstdio>
#include <cstring>

namespace {

std::optional<int32_t> Digits(std::string_view text) {
    int32_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string_view WithoutCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

}  // namespace

std::optional<ConfigFrame> ParseConfigFrame(std::string_view line) {
    constexpr size_t kShortFrame = 16;
    if (line.empty() || line[0] != 'u' || (line.size() != kShortFrame && line.size() != 17)) {
        return std::nullopt;
    }
    const size_t p0Digits = line.size() == kShortFrame ? 2 : 3;
    const size_t typAt = 7 + p0Digits;
    const auto id = Digits(line.substr(1, 3));
    const auto chf = Digits(line.substr(4, 3));
    const auto p0 = Digits(line.substr(7, p0Digits));
    const auto prt = Digits(line.substr(typAt + 1, 3));
    const auto oft = Digits(line.substr(typAt + 4, 3));
    if (!id || !chf || !p0 || !prt || !oft) {
        return std::nullopt;
    }
    return ConfigFrame{*id, *chf, *p0, line[typAt], *prt, *oft};
}

std::optional<ModemCommand> ParseModemCommand(std::string_view line) {
    if (line.size() < 3 || std::strchr("icprto", line[0]) == nullptr || line[0] == '\0' ||
        line[1] != ' ') {
        return std::nullopt;
    }
    const std::string_view number = line.substr(2);
    int64_t value = 0;
    const auto [rest, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc() || rest != number.data() + number.size()) {
        return std::nullopt;
    }
    // The modem keeps each parameter in one byte, as its report's three digits show.
    return ModemCommand{line[0], static_cast<int32_t>(static_cast<uint64_t>(value) & 0xFFu)};
}

CDeviceModel::CDeviceModel(DeviceKind kind, bool stream, bool answerFrame, ReportedField changed)
    : kind(kind), stream(stream), answerFrame(answerFrame), changed(changed) {}

DeviceAnswer CDeviceModel::Handle(std::string_view received) {
    const std::string_view line = WithoutCarriageReturn(received);
    if (TakesConfig() && line == "u") {
        return AnswerRead();
    }
    if (TakesModem() && line == "v") {
        return DeviceAnswer{ModemReport(), 0};
    }
    if (TakesConfig()) {
        if (const auto frame = ParseConfigFrame(line)) {
            config.id = frame->id;
            config.chf = frame->chf;
            config.p0 = frame->p0;
            config.typ = frame->typ;
            config.prt = frame->prt;
            config.oft = frame->oft;
            written = true;
            return answerFrame ? DeviceAnswer{ConfigReport(), 0} : DeviceAnswer{};
        }
    }
    if (TakesModem()) {
        if (const auto command = ParseModemCommand(line)) {
            int32_t* const target[] = {&modem.id,  &modem.chf,       &modem.p0,
                                       &modem.prt, &modem.typNumber, &modem.oft};
            *target[std::strchr("icprto", command->letter) - "icprto"] = command->value;
        }
    }
    return DeviceAnswer{};
}

DeviceAnswer CDeviceModel::AnswerRead() {
    DeviceAnswer answer{ConfigReport(), 0};
    if (stream && written) {
        config = Values{};
        modem = Values{};
        written = false;
        answer.pluggedDevice = ++deviceNumber;
    }
    return answer;
}

DeviceReport CDeviceModel::ConfigReport() const {
    DeviceReport report;
    report.prefix = kind == DeviceKind::kSensor ? "LC" : "TM";
    report.id = config.id;
    report.chf = config.chf;
    report.oft = config.oft;
    report.p0 = config.p0;
    report.prt = config.prt;
    report.typ = std::string(1, config.typ) + "00";
    return Changed(report);
}

DeviceReport CDeviceModel::ModemReport() const {
    DeviceReport report;
    report.prefix = "US";
    report.id = modem.id;
    report.chf = modem.chf;
    report.oft = modem.oft;
    report.p0 = modem.p0;
    report.prt = modem.prt;
    char typ[8];
    std::snprintf(typ, sizeof typ, "%03d", static_cast<int>(modem.typNumber));
    report.typ = typ;
    return Changed(report);
}

DeviceReport CDeviceModel::Changed(DeviceReport report) const {
    auto next = [](int32_t value) { return (value + 1) & 0xFF; };
    switch (changed) {
        case ReportedField::kNone:
            break;
        case ReportedField::kId:
            report.id = next(report.id);
            break;
        case ReportedField::kChf:
            report.chf = next(report.chf);
            break;
        case ReportedField::kOft:
            report.oft = next(report.oft);
            break;
        case ReportedField::kP0:
            report.p0 = next(report.p0);
            break;
        case ReportedField::kPrt:
            report.prt = next(report.prt);
            break;
        case ReportedField::kTyp:
            // A modem's type is three digits, a repeater's one character and two zeros: the
            // first character changes either way.
            report.typ[0] = static_cast<char>(report.typ[0] == '9' ? '0' : report.typ[0] + 1);
            break;
    }
    return report;
}
