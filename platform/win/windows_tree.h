// The Windows folder mapped onto a folder of this machine. Names are compared without
// regard to case, as Windows does; nothing outside the Windows folder can be reached
// (other drives, "..", absolute host paths and links all count as missing). A path is
// walked one opened folder at a time, so a folder swapped for a link meanwhile, by another
// process, leads nowhere else.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "files/atomic_file.h"

namespace platform::win {

class WindowsTree {
  public:
    // `host_folder` empty: a Windows folder with no files.
    WindowsTree(std::string windir, std::string host_folder)
        : windir_(std::move(windir)), host_(std::move(host_folder)) {}

    // The host path of the regular file that `path` names, or nothing.
    std::optional<std::string> find_file(std::string_view path) const;
    // A status: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, ERROR_FILENAME_EXCED_RANGE (260
    // characters or more) or ERROR_ACCESS_DENIED.
    int32_t delete_file(std::string_view path) const;
    // Whether the regular file is there, without opening it (no read permission needed):
    // ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, ERROR_FILENAME_EXCED_RANGE, or
    // ERROR_ACCESS_DENIED when a folder on the way cannot be looked into.
    int32_t find_status(std::string_view path) const;

    // Tests: runs between finding a file and acting on it, where another process could
    // swap a folder of its path.
    void set_found_hook(std::function<void()> hook) { found_hook_ = std::move(hook); }

  private:
    // The folder that holds a regular file, open, with the file's name as found in it.
    struct Place {
        files::Fd folder;
        std::string name;
        std::string host_path;
    };
    // Nothing with *status ERROR_FILE_NOT_FOUND, or ERROR_ACCESS_DENIED when a folder on
    // the way cannot be looked into: then the file may well be there.
    std::optional<Place> locate(std::string_view path, int32_t* status) const;

    std::string windir_;
    std::string host_;
    std::function<void()> found_hook_;
};

}  // namespace platform::win
