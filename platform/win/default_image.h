// The built-in machine: a Windows 2000 PC on which the board's driver is installed,
// with the protected device key and unrelated neighbours of every key and file the
// removal touches. Programs start from it when no machine is named.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "winsys.h"

namespace platform::win {

struct ImageFile {
    std::string_view path;  // below the Windows folder, "/"-separated
    std::string_view bytes;
};

std::string_view default_config_text();
std::string_view default_hive_text();
const std::vector<ImageFile>& default_image_files();

// Writes the image into `root` (created when missing); the hive comes last, so a
// folder with a hive is complete.
bool write_default_image(const std::string& root, std::string* error);

// Loads the machine of the folder WINSYS_ROOT names, else of $XDG_STATE_HOME/winsys or
// ~/.local/state/winsys (HOME and XDG_STATE_HOME count only when absolute). Without
// WINSYS_ROOT a folder that lacks the configuration, the hive or the Windows folder first
// gets the built-in image's files that are missing (and one line on standard error says
// which); beside a kept hive the board's files come back only while that hive names
// them. Without a home folder the machine lives in a private folder until exit. A
// WINSYS_ROOT without a machine is refused with the steps that make one.
std::unique_ptr<WinSystem> open_machine(std::string* error);

}  // namespace platform::win
