#pragma once

#include <QString>

class QWidget;

// Command 57670: opens <executable's folder>/<executable's base name>.HLP with the
// desktop's viewer. When the file is missing or nothing can open it, the user is told so in
// an application message box instead.
constexpr int kHelpCommandId = 57670;

QString HelpFilePath();
void RunHelpCommand(QWidget* parent);
