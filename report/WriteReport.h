#pragma once

#include <string>

#include "CReplacingFile.h"
#include "ReportInput.h"

// Writes the acceptance report as a PDF or a self-contained HTML file, chosen by the path's
// extension (.pdf, .html or .htm). Needs a QGuiApplication (any platform, offscreen too).
// The report is written whole beside the path and then put in its place, never through a
// link; kCreateOnly leaves an existing file as it is (REPORT_EXISTS). On failure `error`
// says why, in French.
int WriteReport(const ReportInput& input, const std::string& path, std::string& error,
                CReplacingFile::Mode mode = CReplacingFile::Mode::kReplace);

// This build's version, e.g. "1.4.0.0".
std::string ToolVersion();
