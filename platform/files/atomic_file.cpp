#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <vector>

namespace platform::files {
namespace {

// Tries of fresh names before a save gives up: only names planted on purpose collide.
constexpr int kNameTries = 64;

std::string fresh_suffix() {
    static constexpr std::string_view kChars =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::string s = ".tmp-";
    for (int i = 0; i < 8; ++i) s += kChars[random() % kChars.size()];
    return s;
}

std::string folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// Whether the mode bits of `st` let this process write, as the kernel reads them (no ACLs).
bool mode_lets_write(const struct stat& st) {
    const uid_t uid = ::geteuid();
    if (uid == 0) return true;
    if (st.st_uid == uid) return st.st_mode & S_IWUSR;
    std::vector<gid_t> groups(static_cast<size_t>(std::max(::getgroups(0, nullptr), 0)));
    groups.resize(static_cast<size_t>(std::max(::getgroups(int(groups.size()), groups.data()), 0)));
    if (st.st_gid == ::getegid() || std::count(groups.begin(), groups.end(), st.st_gid))
        return st.st_mode & S_IWGRP;
    return st.st_mode & S_IWOTH;
}

// Whether this process may write the existing `name`, in the kernel's own answer (mode, ACL,
// immutable flag, read-only mount; root included), asked without opening anything that could
// block. Renaming needs only the folder: such a file would be replaced all the same.
bool may_write(int dir, const std::string& name, const struct stat& st) {
    if (S_ISLNK(st.st_mode) ||
        ::faccessat(dir, name.c_str(), W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) == 0)
        return true;
    // Where the question itself is refused (an old kernel, a filter that answers EPERM for
    // every new call), a regular file is asked by opening it to write, which changes nothing;
    // the rename still fails over an immutable file of any other kind.
    if (errno != EPERM && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP) return false;
    // Any other kind (a FIFO, a device) could block or act when opened: its mode bits answer.
    if (!S_ISREG(st.st_mode)) return mode_lets_write(st) || (errno = EACCES, false);
    const int fd =
        ::openat(dir, name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

}  // namespace

int open_regular(const std::string& path, int flags, mode_t mode) {
    return open_regular_at(AT_FDCWD, path, flags, mode);
}

int open_regular_at(int dir, const std::string& name, int flags, mode_t mode) {
    // A look first, so that a device is not even opened; the check on the open
    // descriptor settles it, whatever was swapped in between.
    struct stat st {};
    if (::fstatat(dir, name.c_str(), &st, 0) == 0 && !S_ISREG(st.st_mode)) return -1;
    const int fd = ::openat(dir, name.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, mode);
    if (fd < 0) return -1;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int open_folder_at(int dir, const std::string& name, bool create) {
    if (create && ::mkdirat(dir, name.c_str(), 0777) != 0 && errno != EEXIST) return -1;
    return ::openat(dir, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

std::optional<std::string> read_whole_file(const std::string& path, size_t max_bytes,
                                           Overlong overlong) {
    const int fd = open_regular(path, O_RDONLY);
    if (fd < 0) return std::nullopt;
    // A file already known to be too long is refused without reading it.
    struct stat st {};
    bool ok = overlong == Overlong::Cut || ::fstat(fd, &st) != 0 ||
              static_cast<unsigned long long>(st.st_size) <= max_bytes;
    std::string out;
    char buf[65536];
    while (ok) {
        // One byte past the bound tells a file that is longer from one that ends there.
        const size_t room = max_bytes + 1 - out.size();
        const ssize_t n = ::read(fd, buf, std::min(sizeof buf, room));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        out.append(buf, static_cast<size_t>(n));
        if (out.size() > max_bytes) {
            ok = overlong == Overlong::Cut;
            out.resize(max_bytes);
            break;
        }
    }
    ::close(fd);
    if (!ok) return std::nullopt;
    return out;
}

std::string read_failure(const std::string& path, size_t max_bytes) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return errno == ENOENT ? "not found" : std::strerror(errno);
    if (!S_ISREG(st.st_mode)) return "not a regular file";
    if (static_cast<unsigned long long>(st.st_size) > max_bytes)
        return "larger than the limit of " + std::to_string(max_bytes) + " bytes";
    const int fd = open_regular(path, O_RDONLY);
    if (fd < 0) return std::strerror(errno);
    ::close(fd);
    return "cannot be read";
}

bool write_file_atomically(const std::string& path, std::string_view bytes) {
    const size_t slash = path.rfind('/');
    const int dir = ::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return false;
    const bool ok = write_file_atomically_at(
        dir, slash == std::string::npos ? path : path.substr(slash + 1), bytes);
    ::close(dir);
    return ok;
}

bool write_file_atomically_at(int dir, const std::string& name, std::string_view bytes) {
    // The file replaced lends its mode and owner; a link there is replaced, not followed.
    struct stat old {};
    const bool exists = ::fstatat(dir, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    const bool keep = exists && S_ISREG(old.st_mode);
    if (exists && !may_write(dir, name, old)) return false;
    std::string tmp;
    int fd = -1;
    for (int i = 0; i < kNameTries && fd < 0; ++i) {
        tmp = name + fresh_suffix();
        fd = ::openat(dir, tmp.c_str(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY,
                      keep ? old.st_mode & 0777 : 0666);  // never wider, not for a moment
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    if (keep) {
        // The owner first: a change of owner clears set-id bits the mode then restores.
        // Another owner is often not ours to give; the mode still is.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            (void)!::fchown(fd, old.st_uid, old.st_gid);
        (void)!::fchmod(fd, old.st_mode & 07777);
    }
    errno = 0;
    bool ok = write_all(fd, bytes) && ::fsync(fd) == 0;
    int cause = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) ok = false, cause = errno;
    if (ok && ::renameat(dir, tmp.c_str(), dir, name.c_str()) != 0) ok = false, cause = errno;
    if (!ok) {
        ::unlinkat(dir, tmp.c_str(), 0);
        errno = cause ? cause : EIO;  // why the save failed, not how the clean-up went
        return false;
    }
    // The rename itself must reach the disk too.
    ::fsync(dir);
    return true;
}

}  // namespace platform::files
