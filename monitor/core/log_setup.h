// The log set-up of a capture (`Datalogwrite`): the user picks the decoded log's path P
// in a save dialog; P is refused under "Program Files" and when anything (a link too) is
// named P or P + "a"; then both files are created anew, never through a link, and P must
// show up in a listing of its folder.
#pragma once

#include <optional>
#include <string>

#include "log_files.h"

namespace velmora::monitor {

inline constexpr char kLogFilter[] = "*.txt | *.txt";
inline constexpr char kProgramFilesRefused[] =
    "File not saved. Please do not save to Program Files folder. Select another folder.";
inline constexpr char kOverwriteRefused[] =
    "Data overwrite not allowed. Please choose another file";
inline constexpr char kAccessDenied[] = "File Error. Choose a different file name.";
inline constexpr char kNotListed[] = "File cannot be created. Select another folder";

// Returns P with both logs open, or nothing (a refusal shows its message; a cancelled
// dialog shows none). A refusal before the files are created leaves both logs as they
// were; a later failure leaves both closed and removes the files this call created. A file
// that cannot be created (for any reason but an existing name) is reported with
// kAccessDenied, then the file and the system's reason.
std::optional<std::string> Datalogwrite(TextFile& LogStream, TextFile& RawStream);

}  // namespace velmora::monitor
