#include "state_home.h"

#include <cstdlib>

namespace platform::files {
namespace {

const char* absolute_env(const char* name) {
    const char* v = std::getenv(name);
    return v && v[0] == '/' ? v : nullptr;
}

}  // namespace

std::string user_state_home() {
    if (const char* x = absolute_env("XDG_STATE_HOME")) return x;
    if (const char* h = absolute_env("HOME")) return std::string(h) + "/.local/state";
    return {};
}

std::string temp_folder() {
    const char* t = absolute_env("TMPDIR");
    return t ? t : "/tmp";
}

}  // namespace platform::files
