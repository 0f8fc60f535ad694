#include "config.h"

#include "security.h"
#include "text_fields.h"
#include "win_paths.h"

namespace platform::win {
namespace {

bool fail(TextError* error, int line, std::string message) {
    *error = {line, std::move(message)};
    return false;
}

bool parse_version(std::string_view s, OsVersion* v) {
    uint64_t major = 0, minor = 0;
    size_t dot = s.find('.');
    if (dot == std::string_view::npos) return false;
    auto decimal = [](std::string_view d, uint64_t* out) {
        if (d.empty() || d.size() > 3) return false;
        *out = 0;
        for (char c : d) {
            if (c < '0' || c > '9') return false;
            *out = *out * 10 + static_cast<uint64_t>(c - '0');
        }
        return *out <= 255;
    };
    if (!decimal(s.substr(0, dot), &major) || !decimal(s.substr(dot + 1), &minor)) return false;
    *v = {static_cast<uint32_t>(major), static_cast<uint32_t>(minor)};
    return true;
}

}  // namespace

bool parse_config(std::string_view text, Config* out, TextError* error) {
    Config c;
    bool header = false, platform = false, windir = false, user = false;
    int number = 0;
    for (std::string_view line : split_lines(text)) {
        ++number;
        if (!header) {
            if (line != kConfigHeader) {
                *error = header_fault(number, line, kConfigHeader, "configuration file");
                return false;
            }
            header = true;
            continue;
        }
        if (line.empty() || line[0] == ';') continue;
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) return fail(error, number, "line without '='");
        std::string_view name = line.substr(0, eq), value = line.substr(eq + 1);
        if (name == "version") {
            OsVersion v;
            if (c.version || !parse_version(value, &v))
                return fail(error, number, "version wants major.minor, once");
            c.version = v;
        } else if (name == "platform") {
            if (platform || (value != "nt" && value != "9x"))
                return fail(error, number, "platform wants nt or 9x, once");
            platform = true;
            c.platform = value == "nt" ? VER_PLATFORM_WIN32_NT : VER_PLATFORM_WIN32_WINDOWS;
        } else if (name == "windir") {
            if (windir || value.size() >= MAX_PATH || !full_path_name(value))
                return fail(error, number, "windir wants a drive-absolute path, once");
            windir = true;
            c.windir = std::string(value);
        } else if (name == "user") {
            size_t a = value.find(','), b = value.rfind(',');
            auto sid = a == b ? std::nullopt : Sid::parse(value.substr(b + 1));
            if (user || !sid || a == 0)
                return fail(error, number, "user wants name,domain,SID, once");
            user = true;
            c.user = {std::string(value.substr(0, a)), std::string(value.substr(a + 1, b - a - 1)),
                      *sid};
        } else if (name == "group") {
            auto sid = Sid::parse(value);
            if (!sid) return fail(error, number, "group wants a SID");
            c.groups.push_back(*sid);
        } else if (name == "privilege") {
            auto luid = privilege_luid(value);
            if (!luid) return fail(error, number, "unknown privilege");
            c.privileges.push_back(*luid);
        } else {
            return fail(error, number, "unknown setting");
        }
    }
    if (!header) return fail(error, 0, "empty file");
    if (!platform || !windir || !user)
        return fail(error, 0, "platform, windir and user are required");
    *out = std::move(c);
    return true;
}

}  // namespace platform::win
