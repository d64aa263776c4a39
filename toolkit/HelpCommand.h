#pragma once

#include <QString>

// Command 57670: opens the French guide in the desktop's browser at the page of the dialog
// that asked for it. The guide's entry page is named after the executable
// (<folder>/Zav7305.html); each dialog's page lies beside it. When the page is missing or
// nothing can open it, the user is told so in an application message box instead.
constexpr int kHelpCommandId = 57670;

// The installed data folder, or the source tree's docs/help when the program runs from its
// build tree.
QString HelpGuideFolder();
// Points the guide elsewhere (tests); an empty folder goes back to the default.
void SetHelpGuideFolder(const QString& folder);

// The file for a topic (a page name without ".html"); an empty topic is the entry page.
QString HelpFilePath(const QString& topic = QString());

void RunHelpCommand(const QString& topic);
