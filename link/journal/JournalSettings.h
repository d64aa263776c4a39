#pragma once

#include <string>

// The journal folder the user chose (a synced folder shared by a team, for instance), kept in
// the user's settings: $XDG_CONFIG_HOME/zav7305/journal, else ~/.config/zav7305/journal, one
// line holding the folder's absolute path.
namespace JournalSettings {

// The settings file; empty when neither variable can tell it.
std::string SettingsFile();
// The chosen folder, else CJournal::DefaultFolder().
std::string UserFolder();
// Keeps `folder` (an absolute path) as the user's choice: 0, or an errno. The settings file is
// written beside and renamed into place, so a reader never sees half a choice.
int ChooseFolder(const std::string& folder);

}  // namespace JournalSettings
