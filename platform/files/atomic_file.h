// Files read whole up to a bound, and files replaced atomically. Every program and
// stand-in reads and saves its files through these, so that a planted link, a FIFO, a
// device or a runaway file is met the same way everywhere.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace platform::files {

// An open descriptor, closed when it goes.
class Fd {
  public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Fd& operator=(Fd&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }

  private:
    int fd_;
};

// What a read does with a file longer than its bound.
enum class Overlong {
    Fail,  // the file cannot be read
    Cut,   // it reads as if it ended at the bound
};

// Opens `path` with `flags` (and `mode` when it may be created) only when it is a regular
// file: a FIFO, folder, device or socket is refused before anything could block on it.
// O_CLOEXEC and O_NOCTTY are always added. The descriptor, or -1.
int open_regular(const std::string& path, int flags, mode_t mode = 0);
// The same for the file `name` inside the folder open at `dir`.
int open_regular_at(int dir, const std::string& name, int flags, mode_t mode = 0);

// Opens the folder `name` inside the folder open at `dir` without following a link at
// `name`; with `create` a missing one is made first. Walking a path this way, one folder
// at a time, no folder swapped for a link at any moment can lead elsewhere. The
// descriptor, or -1.
int open_folder_at(int dir, const std::string& name, bool create = false);

// The bytes of the regular file at `path`; nothing when it is missing, not a regular
// file, unreadable, or longer than `max_bytes` (unless `overlong` cuts it there).
std::optional<std::string> read_whole_file(const std::string& path, size_t max_bytes,
                                           Overlong overlong = Overlong::Fail);

// Why `read_whole_file(path, max_bytes)` gives nothing, in a few words for a message:
// "not found", "not a regular file", "larger than the limit of N bytes", or the system's
// own reason ("Permission denied").
std::string read_failure(const std::string& path, size_t max_bytes);

// Writes `bytes` into a file created exclusively under a fresh name beside `path` (never
// through a link), flushes it to disk and renames it over `path`, so that a crash leaves
// the old file or the new one, never a mixture, and a link at `path` is replaced, not
// followed. The new file keeps the permission bits (and, where the process may, the owner)
// of the regular file it replaces. A file this process may not write is not replaced:
// that save fails too. False when any step fails, with errno telling why; the old file is
// then left as it was.
bool write_file_atomically(const std::string& path, std::string_view bytes);
// The same for the file `name` inside the folder open at `dir`.
bool write_file_atomically_at(int dir, const std::string& name, std::string_view bytes);

}  // namespace platform::files
