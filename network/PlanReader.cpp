#include "PlanReader.h"

#include <algorithm>

#include "PlanCsv.h"
#include "PlanTexts.h"
#include "PlanValues.h"

using PlanValues::Filled;

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// The value columns follow the report's order after its ID: CHF, OFT, P0, PRT, TYP.
const ParameterInfo& ValueInfo(size_t k) {
    return kParameters[k + 1];
}

std::string ColumnName(size_t column) {
    static constexpr std::array<const char*, 4> kNames = {PlanTexts::kId, PlanTexts::kRole,
                                                          PlanTexts::kLabel, PlanTexts::kLocation};
    return column < kNames.size() ? kNames[column] : ValueInfo(column - kNames.size()).name;
}

bool AllEmpty(const std::vector<std::string>& fields, size_t from) {
    return std::all_of(fields.begin() + static_cast<ptrdiff_t>(std::min(from, fields.size())),
                       fields.end(), [](const std::string& f) { return f.empty(); });
}

bool IsFactKey(const std::string& folded) {
    for (const char* key : {PlanTexts::kNetwork, PlanTexts::kClient, PlanTexts::kSite,
                            PlanTexts::kAddress, PlanTexts::kRepeaters}) {
        if (folded == PlanCsv::Folded(key)) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string ProblemText(const PlanProblem& problem) {
    const std::string where =
        problem.line == 0 ? std::string(PlanTexts::kFile)
                          : std::string(PlanTexts::kLine) + " " + std::to_string(problem.line);
    return where + " : " + problem.reason;
}

PlanReading PlanReader::Read(std::string_view bytes) {
    PlanReader reader;
    if (bytes.size() > kByteLimit) {
        reader.Fail(Filled(PlanTexts::kFileTooLong, {std::to_string(kByteLimit)}));
        return {std::nullopt, std::move(reader.problems)};
    }
    if (bytes.starts_with(kBom)) {
        bytes.remove_prefix(kBom.size());
    }
    while (!bytes.empty() && !reader.stopped) {
        const size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        ++reader.lineNumber;
        reader.ReadLine(line);
    }
    reader.Finish();
    if (!reader.problems.empty()) {
        return {std::nullopt, std::move(reader.problems)};
    }
    return {std::move(reader.plan), {}};
}

bool PlanReader::Fail(std::string reason) {
    problems.push_back({lineNumber, std::move(reason)});
    return false;
}

void PlanReader::ReadLine(std::string_view line) {
    // A spreadsheet writes its empty rows as separators alone: they cost nothing, like blank
    // lines and comments. Every other line counts, bad ones too, so that no input makes
    // more than kRecordLimit problems.
    const size_t first = line.find_first_not_of(" \t;,");
    if (first == std::string_view::npos || line[first] == '#') {
        return;
    }
    if (++records > kRecordLimit) {
        Fail(Filled(PlanTexts::kTooManyLines, {std::to_string(kRecordLimit)}));
        stopped = true;
        return;
    }
    if (line.size() > kLineLimit) {
        Fail(Filled(PlanTexts::kLineTooLong, {std::to_string(kLineLimit)}));
        return;
    }
    if (!PlanCsv::IsUtf8(line)) {
        Fail(PlanTexts::kNotUtf8);
        return;
    }
    if (separator == '\0') {
        separator = PlanCsv::SeparatorOf(line);
    }
    if (!PlanCsv::SplitLine(line, separator == '\0' ? ';' : separator, fields)) {
        Fail(PlanTexts::kOpenQuote);
        return;
    }
    if (AllEmpty(fields, 0)) {
        return;  // quoted empty fields alone
    }
    if (!headerSeen && PlanCsv::Folded(fields[0]) == PlanTexts::kId) {
        ReadHeader(fields);
    } else if (!headerSeen) {
        ReadFact(fields);
    } else if (!headerBroken) {
        ReadRow(fields);
    }
}

void PlanReader::ReadFact(const std::vector<std::string>& line) {
    const std::string key = PlanCsv::Folded(line[0]);
    if (!IsFactKey(key)) {
        Fail(Filled(PlanTexts::kUnknownKey, {PlanCsv::Shown(line[0])}));
        return;
    }
    if (const auto seen = factLines.find(key); seen != factLines.end()) {
        Fail(Filled(PlanTexts::kKeyTwice, {PlanCsv::Shown(line[0]), std::to_string(seen->second)}));
        return;
    }
    factLines[key] = lineNumber;
    if (!AllEmpty(line, 2)) {
        Fail(PlanTexts::kOneValue);
        return;
    }
    const std::string value = line.size() > 1 ? line[1] : std::string();
    if (PlanCsv::HasControl(value)) {
        Fail(Filled(PlanTexts::kControl, {PlanCsv::Shown(line[0])}));
    } else if (key == PlanCsv::Folded(PlanTexts::kRepeaters)) {
        const std::string reason = PlanValues::Ranged(PlanTexts::kRepeaters, value,
                                                      kRepeaterCountRange, facts.repeaterCount);
        repeatersKnown = reason.empty();
        if (!repeatersKnown) {
            Fail(reason);
        }
    } else if (key == PlanCsv::Folded(PlanTexts::kNetwork)) {
        facts.network = value;
        if (value.empty()) {
            Fail(PlanTexts::kEmptyNetwork);
        }
    } else {
        (key == PlanTexts::kClient ? facts.client
         : key == PlanTexts::kSite ? facts.site
                                   : facts.address) = value;
    }
}

void PlanReader::ReadHeader(const std::vector<std::string>& line) {
    headerSeen = true;
    std::array<bool, kColumnCount> found{};
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i].empty() && AllEmpty(line, i)) {
            break;
        }
        size_t column = 0;
        while (column < kColumnCount &&
               PlanCsv::Folded(line[i]) != PlanCsv::Folded(ColumnName(column))) {
            ++column;
        }
        if (column == kColumnCount) {
            headerBroken = !Fail(Filled(PlanTexts::kUnknownColumn, {PlanCsv::Shown(line[i])}));
        } else if (found[column]) {
            headerBroken = !Fail(Filled(PlanTexts::kColumnTwice, {PlanCsv::Shown(line[i])}));
        } else {
            found[column] = true;
            columns[column] = i;
            width = std::max(width, i + 1);
        }
    }
    for (size_t column = 0; column < kColumnCount; ++column) {
        if (!found[column]) {
            headerBroken = !Fail(Filled(PlanTexts::kColumnMissing, {ColumnName(column)}));
        }
    }
}

const std::string& PlanReader::Field(const std::vector<std::string>& line, size_t column) const {
    static const std::string kEmpty;
    return columns[column] < line.size() ? line[columns[column]] : kEmpty;
}

void PlanReader::ReadRow(const std::vector<std::string>& line) {
    if (IsFactKey(PlanCsv::Folded(line[0]))) {
        Fail(Filled(PlanTexts::kKeyAfterHeader, {PlanCsv::Shown(line[0])}));
        return;
    }
    bool good = true;
    for (size_t column = 0; column < kColumnCount; ++column) {
        if (columns[column] >= line.size()) {
            good = Fail(Filled(PlanTexts::kColumnMissing, {ColumnName(column)}));
        }
    }
    if (!AllEmpty(line, width)) {
        good = Fail(PlanTexts::kExtraValue);
    }
    good = CheckLabels(line) && good;
    const std::string& roleText = Field(line, kRoleColumn);
    const std::string role = PlanCsv::Folded(roleText);
    if (role == PlanTexts::kModem) {
        PlannedModem planned;
        if (ReadModem(line, planned) && good) {
            modem = std::move(planned);
        }
        return;
    }
    if (role != PlanCsv::Folded(PlanTexts::kRepeater) && role != PlanTexts::kSensor) {
        Fail(Filled(PlanTexts::kUnknownRole, {PlanCsv::Shown(roleText)}));
        return;
    }
    const PlanRole band = role == PlanTexts::kSensor ? PlanRole::kSensor : PlanRole::kRepeater;
    PlannedDevice device;
    if (ReadDevice(line, band, device) && good) {
        plan.AddDevice(std::move(device));
    }
}

bool PlanReader::CheckLabels(const std::vector<std::string>& line) {
    bool good = true;
    for (const size_t column : {kLabelColumn, kLocationColumn}) {
        if (PlanCsv::HasControl(Field(line, column))) {
            good = Fail(Filled(PlanTexts::kControl, {ColumnName(column)}));
        }
    }
    return good;
}

bool PlanReader::ReadDevice(const std::vector<std::string>& line, PlanRole role,
                            PlannedDevice& device) {
    device.role = role;
    device.label = Field(line, kLabelColumn);
    device.location = Field(line, kLocationColumn);
    bool good = true;
    const ParameterInfo& idInfo = InfoOf(Param::ID);
    std::string reason =
        PlanValues::Ranged(idInfo.name, Field(line, kIdColumn), idInfo.page, device.id);
    if (!reason.empty()) {
        good = Fail(std::move(reason));
    } else if (const auto seen = idLines.find(device.id); seen != idLines.end()) {
        good = Fail(
            Filled(PlanTexts::kIdTwice, {std::to_string(device.id), std::to_string(seen->second)}));
    } else {
        idLines[device.id] = lineNumber;
        good = CheckBand(device.id, role);
    }
    for (size_t k = 0; k + 1 < kParamCount; ++k) {
        const ParameterInfo& info = ValueInfo(k);
        if (columns[kFirstValue + k] >= line.size()) {
            continue;  // said already: the column is missing
        }
        const std::string& text = Field(line, kFirstValue + k);
        reason = info.member == nullptr
                     ? PlanValues::Typ(text, device.values.TYP)
                     : PlanValues::Ranged(info.name, text, info.page, device.values.*info.member);
        if (!reason.empty()) {
            good = Fail(std::move(reason));
        }
    }
    return good;
}

bool PlanReader::CheckBand(int32_t id, PlanRole role) {
    if (!repeatersKnown) {
        return true;  // a missing or bad count is said once, on its own line or for the file
    }
    const int32_t count = facts.repeaterCount;
    if (role == PlanRole::kRepeater && id > count) {
        return Fail(count == 0 ? Filled(PlanTexts::kNoRepeaters, {std::to_string(id)})
                               : Filled(PlanTexts::kRepeaterBeyond,
                                        {std::to_string(id), std::to_string(count)}));
    }
    if (role == PlanRole::kSensor && id <= count) {
        return Fail(
            Filled(PlanTexts::kSensorAmongRepeaters,
                   {std::to_string(id), std::to_string(count + 1), std::to_string(kLastDeviceId)}));
    }
    return true;
}

bool PlanReader::ReadModem(const std::vector<std::string>& line, PlannedModem& planned) {
    if (modemLine != 0) {
        return Fail(Filled(PlanTexts::kSecondModem, {std::to_string(modemLine)}));
    }
    modemLine = lineNumber;
    planned.label = Field(line, kLabelColumn);
    planned.location = Field(line, kLocationColumn);
    bool good = true;
    for (size_t k = 0; k < kParamCount; ++k) {
        const ParameterInfo& info = kParameters[k];
        const size_t column = k == 0 ? kIdColumn : kFirstValue + k - 1;
        if (columns[column] >= line.size()) {
            continue;
        }
        const std::string& text = Field(line, column);
        int32_t& value = planned.values[static_cast<size_t>(info.param)];
        const std::string reason = info.modem
                                       ? PlanValues::Ranged(info.name, text, *info.modem, value)
                                       : PlanValues::ModemType(text, value);
        if (!reason.empty()) {
            good = Fail(reason);
        }
    }
    return good;
}

void PlanReader::Finish() {
    lineNumber = 0;
    if (stopped) {
        return;
    }
    for (const char* key : {PlanTexts::kNetwork, PlanTexts::kRepeaters}) {
        if (!factLines.contains(PlanCsv::Folded(key))) {
            Fail(Filled(PlanTexts::kKeyMissing, {key}));
        }
    }
    if (!headerSeen) {
        Fail(PlanTexts::kNoHeader);
    } else if (!headerBroken && plan.Devices().empty() && !modem && problems.empty()) {
        Fail(PlanTexts::kNoDevice);
    }
    SitePlan read(facts);
    for (const PlannedDevice& device : plan.Devices()) {
        read.AddDevice(device);
    }
    if (modem) {
        read.SetModem(*modem);
    }
    plan = std::move(read);
}
