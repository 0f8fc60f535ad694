// Windows paths taken apart lexically, as the system does before it looks at a disk.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::win {

// The parts of a drive-absolute path: the drive ("C:", letter upper-cased) and then each
// name. "/" counts as "\", repeated separators fold, "." is dropped and ".." takes the
// name before it back (never above the drive root). Nothing for relative, UNC and device
// paths, for names with characters Windows refuses, and for names ending in a dot or a
// space (Windows would strip those and reach another name).
std::optional<std::vector<std::string>> path_components(std::string_view path);

// The same joined again: "C:\WINNT\inf\oem3.inf"; the drive root is "C:\".
std::optional<std::string> full_path_name(std::string_view path);

// The names of `path` below `folder` (case ignored), or nothing when `path` does not lie
// strictly below it.
std::optional<std::vector<std::string>> names_below(std::string_view folder, std::string_view path);

}  // namespace platform::win
