// The user's folder for state that lasts between runs, by the base-directory rules.
#pragma once

#include <string>

namespace platform::files {

// $XDG_STATE_HOME when it is an absolute path (a relative one is invalid and ignored),
// else $HOME/.local/state when HOME is absolute, else empty: there is no such folder and
// the caller must not fall back to the current folder.
std::string user_state_home();

// The folder for temporary files: $TMPDIR when it is an absolute path, else "/tmp" (a
// relative one would put them into the current folder).
std::string temp_folder();

}  // namespace platform::files
