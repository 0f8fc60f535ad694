#include "windows_tree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "hive.h"
#include "win_paths.h"
#include "win_types.h"

namespace platform::win {

namespace {

// Whether a failed look (errno) means nothing is there; any other reason (no permission,
// or a link, which is never followed) leaves it open whether something is.
int32_t not_there_or_denied() {
    return errno == ENOENT || errno == ENOTDIR ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED;
}

// The entry of the folder open at `dir` named `name` without regard to case: the exact
// name when present, else the first match in name order (a host folder may hold "a" and
// "A"). Nothing, with *status saying whether the folder could be looked into.
std::optional<std::string> find_entry(int dir, const std::string& name, int32_t* status) {
    struct stat st {};
    if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return name;
    if ((*status = not_there_or_denied()) != ERROR_FILE_NOT_FOUND) return std::nullopt;
    const int listing = ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* d = listing < 0 ? nullptr : ::fdopendir(listing);
    if (!d) {
        *status = ERROR_ACCESS_DENIED;
        if (listing >= 0) ::close(listing);
        return std::nullopt;
    }
    std::optional<std::string> best;
    while (const dirent* e = ::readdir(d)) {
        std::string entry = e->d_name;
        if (equal_no_case(entry, name) && (!best || entry < *best)) best = std::move(entry);
    }
    ::closedir(d);
    *status = ERROR_FILE_NOT_FOUND;
    return best;
}

// Why the folder `name` in `dir` did not open: a link in its place is not followed, so what
// lies behind it cannot be told.
int32_t folder_open_failure(int dir, const std::string& name) {
    const int32_t status = not_there_or_denied();
    struct stat st {};
    const bool link =
        ::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
    return link ? ERROR_ACCESS_DENIED : status;
}

// ERROR_SUCCESS for a file; a link may stand for one, so what it is cannot be told.
int32_t file_status_at(int dir, const std::string& name) {
    struct stat st {};
    if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return not_there_or_denied();
    if (S_ISLNK(st.st_mode)) return ERROR_ACCESS_DENIED;
    return S_ISREG(st.st_mode) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

}  // namespace

std::optional<WindowsTree::Place> WindowsTree::locate(std::string_view path,
                                                      int32_t* status) const {
    *status = ERROR_FILE_NOT_FOUND;
    if (host_.empty()) return std::nullopt;
    auto names = names_below(windir_, path);
    if (!names || names->empty()) return std::nullopt;
    Place place{files::Fd(::open(host_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)),
                {},
                host_};
    if (!place.folder.ok()) return (*status = folder_open_failure(AT_FDCWD, host_), std::nullopt);
    for (size_t i = 0;; ++i) {
        auto entry = find_entry(place.folder.get(), (*names)[i], status);
        if (!entry) return std::nullopt;
        place.host_path += "/" + *entry;
        if (i + 1 == names->size()) {
            if ((*status = file_status_at(place.folder.get(), *entry))) return std::nullopt;
            place.name = std::move(*entry);
            return place;
        }
        files::Fd next(files::open_folder_at(place.folder.get(), *entry));
        if (!next.ok())
            return (*status = folder_open_failure(place.folder.get(), *entry), std::nullopt);
        place.folder = std::move(next);
    }
}

std::optional<std::string> WindowsTree::find_file(std::string_view path) const {
    int32_t status;
    auto place = locate(path, &status);
    if (!place) return std::nullopt;
    return place->host_path;
}

int32_t WindowsTree::delete_file(std::string_view path) const {
    if (path.size() >= MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;
    int32_t status;
    auto place = locate(path, &status);
    if (!place) return status;
    if (found_hook_) found_hook_();
    if (::unlinkat(place->folder.get(), place->name.c_str(), 0) == 0) return ERROR_SUCCESS;
    return errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED;
}

int32_t WindowsTree::find_status(std::string_view path) const {
    if (path.size() >= MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;
    int32_t status;
    return locate(path, &status) ? ERROR_SUCCESS : status;
}

}  // namespace platform::win
