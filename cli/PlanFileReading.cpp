#include "PlanFileReading.h"

#include <cerrno>
#include <utility>

#include "CliOptions.h"
#include "FileStatus.h"
#include "PlanReader.h"
#include "PlanTexts.h"
#include "PlanValues.h"
#include "ReadOwnFile.h"

namespace {

using CliOptions::kProgram;

std::string ReadReason(int status) {
    if (status == ENOENT) {
        return "fichier introuvable";
    }
    if (status == FILE_REFUSED_TOO_LONG) {
        return PlanValues::Filled(PlanTexts::kFileTooLong,
                                  {std::to_string(PlanReader::kByteLimit)});
    }
    return FileStatusReason(status);
}

}  // namespace

std::string Counted(size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

bool ReadPlanFile(const std::string& path, SitePlan& plan, std::ostream& err) {
    std::string bytes;
    if (const int status = ReadOwnFile(path, PlanReader::kByteLimit, bytes); status != FILE_OK) {
        err << kProgram << " : " << path << " : " << ReadReason(status) << "\n";
        return false;
    }
    PlanReading reading = PlanReader::Read(bytes);
    if (!reading.plan) {
        for (const PlanProblem& problem : reading.problems) {
            err << kProgram << " : " << path << " : " << ProblemText(problem) << "\n";
        }
        err << kProgram << " : plan refusé ("
            << Counted(reading.problems.size(), "problème", "problèmes")
            << ") : rien n'en est gardé.\n";
        return false;
    }
    plan = std::move(*reading.plan);
    return true;
}
