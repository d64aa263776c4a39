#pragma once

#include <string>

#include "ReportInput.h"

// Writes the acceptance report as a PDF or a self-contained HTML file, chosen by the path's
// extension (.pdf, .html or .htm). Needs a QGuiApplication (any platform, offscreen too).
// On failure `error` says why, in French.
int WriteReport(const ReportInput& input, const std::string& path, std::string& error);

// This build's version, e.g. "1.4.0.0".
std::string ToolVersion();
