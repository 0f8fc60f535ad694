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
// say) leaves it open whether something is.
int32_t not_there_or_denied() {
    return errno == ENOENT || errno == ENOTDIR || errno == ELOOP ? ERROR_FILE_NOT_FOUND
                                                                 : ERROR_ACCESS_DENIED;
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

bool is_regular_at(int dir, const std::string& name) {
    struct stat st {};
    return ::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode);
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
    for (size_t i = 0;; ++i) {
        if (!place.folder.ok()) return (*status = not_there_or_denied(), std::nullopt);
        auto entry = find_entry(place.folder.get(), (*names)[i], status);
        if (!entry) return std::nullopt;
        place.host_path += "/" + *entry;
        if (i + 1 == names->size()) {
            if (!is_regular_at(place.folder.get(), *entry)) return std::nullopt;
            place.name = std::move(*entry);
            return place;
        }
        place.folder = files::Fd(files::open_folder_at(place.folder.get(), *entry));
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
