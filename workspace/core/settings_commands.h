// "Save As Setting" and "&Load Setting": the whole working set of the console (open panel
// count, bus mode, the fields of the main panel and of each open panel) to and from a
// settings file. A load rebuilds the panels, switches the mode and writes every field
// through the same paths as typing, but for the value box: it shows the stored bytes, which
// stay as stored.
#pragma once

#include <string>
#include <string_view>

#include "formats/settings_file.h"
#include "workspace_windows.h"

namespace velmora::workspace {

inline constexpr std::string_view kSaveFilter = "*.set | *.set";
inline constexpr std::string_view kOpenFilter = "*.SET | *.SET";
inline constexpr std::string_view kCannotCreateMessage =
    "File cannot be created. Select another folder";
inline constexpr std::string_view kCannotFindMessage = "Cannot find file";
inline constexpr std::string_view kNoSavedSettingsMessage = "No saved settings";

void menuSaveassettings_Click(WorkspaceWindows& w);
void menuopen_Click(WorkspaceWindows& w);
// The load of the settings file in the program folder, without a dialog.
void Load_Default_Settings(WorkspaceWindows& w);

// Writes the console's settings to `path`, replacing the file whole or leaving it as it
// was; false when it could not be written.
bool Save_Settings(WorkspaceWindows& w, const std::string& path);

// The record of one panel as a file stores it.
formats::PanelRecord Panel_Record(const PanelControls& p);

// Loads the text of a settings file into the console. A file that ends early stops where
// it ends: what was read keeps its new values and the tiling step is skipped (false).
// `mark_ext_class`: a panel whose type is an Ext type gets class 10 after its record.
bool Load_Settings(WorkspaceWindows& w, std::string_view file, bool mark_ext_class);

}  // namespace velmora::workspace
