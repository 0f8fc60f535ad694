#include "windows_tree.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "files/atomic_file.h"
#include "hive.h"
#include "win_paths.h"
#include "win_types.h"

namespace platform::win {
namespace fs = std::filesystem;

namespace {

// The entry of `dir` named `name` without regard to case: the exact name when present,
// else the first match in name order (a host folder may hold "a" and "A").
std::optional<fs::path> find_entry(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    if (fs::symlink_status(dir / name, ec).type() != fs::file_type::not_found && !ec)
        return dir / name;
    std::optional<fs::path> best;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (equal_no_case(entry, name) && (!best || entry < best->filename().string()))
            best = it->path();
    }
    return best;
}

}  // namespace

std::optional<std::string> WindowsTree::find_file(std::string_view path) const {
    if (host_.empty()) return std::nullopt;
    auto names = names_below(windir_, path);
    if (!names) return std::nullopt;
    fs::path at = host_;
    std::error_code ec;
    for (size_t i = 0; i < names->size(); ++i) {
        if (fs::symlink_status(at, ec).type() != fs::file_type::directory || ec)
            return std::nullopt;
        auto next = find_entry(at, (*names)[i]);
        if (!next) return std::nullopt;
        at = *next;
    }
    if (fs::symlink_status(at, ec).type() != fs::file_type::regular || ec) return std::nullopt;
    return at.string();
}

int32_t WindowsTree::delete_file(std::string_view path) const {
    if (path.size() >= MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;
    auto host = find_file(path);
    if (!host) return ERROR_FILE_NOT_FOUND;
    std::error_code ec;
    return fs::remove(*host, ec) && !ec ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

int32_t WindowsTree::open_for_read(std::string_view path) const {
    if (path.size() >= MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;
    auto host = find_file(path);
    if (!host) return ERROR_FILE_NOT_FOUND;
    const int fd = files::open_regular(*host, O_RDONLY | O_NOFOLLOW);
    if (fd < 0) return ERROR_ACCESS_DENIED;
    ::close(fd);
    return ERROR_SUCCESS;
}

}  // namespace platform::win
