#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SitePlan.h"

// Why a plan is refused: its line, from 1 (0 for the file as a whole), and a French reason.
struct PlanProblem {
    size_t line = 0;
    std::string reason;

    friend bool operator==(const PlanProblem&, const PlanProblem&) = default;
};

// A plan, or every problem of the file at once; never both.
struct PlanReading {
    std::optional<SitePlan> plan;
    std::vector<PlanProblem> problems;
};

// "ligne 12 : CHF : Tapez un nombre entier compris entre 0 et 255."
std::string ProblemText(const PlanProblem& problem);

// Reads a site plan from the bytes of its file. A plan with any bad line is refused whole.
// Whatever the bytes, the work is bounded by kByteLimit, kLineLimit and kRecordLimit.
class PlanReader {
public:
    static constexpr size_t kByteLimit = 8u << 20;
    static constexpr size_t kLineLimit = 4096;
    // Lines that are neither blank nor comments: the facts, the header, a row per ID and
    // the modem fit with room to spare.
    static constexpr size_t kRecordLimit = 1000;

    static PlanReading Read(std::string_view bytes);

private:
    enum Column : size_t { kIdColumn, kRoleColumn, kLabelColumn, kLocationColumn, kFirstValue };
    static constexpr size_t kColumnCount = kFirstValue + kParamCount - 1;

    void ReadLine(std::string_view line);
    void ReadFact(const std::vector<std::string>& fields);
    void ReadHeader(const std::vector<std::string>& fields);
    void ReadRow(const std::vector<std::string>& fields);
    bool ReadDevice(const std::vector<std::string>& fields, PlanRole role, PlannedDevice& device);
    bool ReadModem(const std::vector<std::string>& fields, PlannedModem& modem);
    bool CheckBand(int32_t id, PlanRole role);
    bool CheckLabels(const std::vector<std::string>& fields);
    const std::string& Field(const std::vector<std::string>& fields, size_t column) const;
    bool Fail(std::string reason);
    void Finish();

    size_t lineNumber = 0;
    size_t records = 0;
    char separator = '\0';
    bool stopped = false;
    SiteFacts facts;
    bool repeatersKnown = false;
    std::map<std::string, size_t> factLines;  // folded key → its line
    bool headerSeen = false;
    bool headerBroken = false;
    std::array<size_t, kColumnCount> columns{};  // field index of each column
    size_t width = 0;                            // fields a row needs
    std::map<int32_t, size_t> idLines;
    size_t modemLine = 0;
    SitePlan plan;
    std::optional<PlannedModem> modem;
    std::vector<PlanProblem> problems;
    std::vector<std::string> fields;  // reused from line to line
};
