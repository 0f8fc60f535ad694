// The configuration of the stand-in machine: Windows version, Windows folder, the
// account the program runs as with its groups and the privileges it holds. The format
// is described in HIVE.md beside the hive file's.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hive_text.h"
#include "sid.h"
#include "win_types.h"

namespace platform::win {

inline constexpr std::string_view kConfigHeader = "WINSYS-CONFIG 1";

struct OsVersion {
    uint32_t major = 0;
    uint32_t minor = 0;
};

struct Config {
    std::optional<OsVersion> version;  // nothing: the version query fails
    uint32_t platform = VER_PLATFORM_WIN32_NT;
    std::string windir = "C:\\WINNT";  // as the system reports it
    Account user;
    std::vector<Sid> groups;
    std::vector<uint32_t> privileges;  // held, by identifier
};

bool parse_config(std::string_view text, Config* out, TextError* error);

}  // namespace platform::win
