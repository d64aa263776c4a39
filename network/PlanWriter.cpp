#include "PlanWriter.h"

#include <array>
#include <string_view>

#include "Frames.h"
#include "PlanCsv.h"
#include "PlanTexts.h"

namespace {

class Line {
public:
    explicit Line(char separator) : separator(separator) {}

    Line& operator<<(std::string_view field) {
        text += (first ? "" : std::string(1, separator)) + PlanCsv::Quoted(field, separator);
        first = false;
        return *this;
    }
    Line& operator<<(int32_t value) { return *this << std::to_string(value); }
    std::string End() const { return text + "\n"; }

private:
    char separator;
    std::string text;
    bool first = true;
};

std::string Header(char separator) {
    Line line(separator);
    line << PlanTexts::kId << PlanTexts::kRole << PlanTexts::kLabel << PlanTexts::kLocation;
    for (size_t k = 1; k < kParamCount; ++k) {
        line << kParameters[k].name;
    }
    return line.End();
}

std::string DeviceRow(const PlannedDevice& device, char separator) {
    Line line(separator);
    line << device.id << RoleWord(device.role) << device.label << device.location;
    for (size_t k = 1; k < kParamCount; ++k) {
        const ParameterInfo& info = kParameters[k];
        if (info.member != nullptr) {
            line << device.values.*info.member;
        } else {
            line << DeviceToUtf8(std::string_view(device.values.TYP).substr(0, 1));
        }
    }
    return line.End();
}

std::string ModemRow(const PlannedModem& modem, char separator) {
    Line line(separator);
    line << modem.Value(Param::ID) << PlanTexts::kModem << modem.label << modem.location;
    for (size_t k = 1; k < kParamCount; ++k) {
        line << modem.values[k];
    }
    return line.End();
}

std::string Fact(const char* key, std::string_view value, char separator) {
    return (Line(separator) << key << value).End();
}

}  // namespace

std::string PlanText(const SitePlan& plan, char separator) {
    const SiteFacts& facts = plan.Facts();
    std::string text = Fact(PlanTexts::kNetwork, facts.network, separator) +
                       Fact(PlanTexts::kClient, facts.client, separator) +
                       Fact(PlanTexts::kSite, facts.site, separator) +
                       Fact(PlanTexts::kAddress, facts.address, separator) +
                       Fact(PlanTexts::kRepeaters, std::to_string(facts.repeaterCount), separator) +
                       "\n" + Header(separator);
    for (const PlannedDevice& device : plan.Devices()) {
        text += DeviceRow(device, separator);
    }
    if (plan.Modem()) {
        text += ModemRow(*plan.Modem(), separator);
    }
    return text;
}
