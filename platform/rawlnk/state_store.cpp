#include "state_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "eeprom.h"
#include "files/atomic_file.h"
#include "files/state_home.h"

namespace rawlnk {
namespace {

constexpr const char* kMagic = "rawlnk-eeprom 1";
// A state file of the largest EEPROM is under 2 KB; reading stops well beyond that.
constexpr size_t kMaxStateFileBytes = 64 * 1024;

uint64_t fnv1a(const std::vector<uint16_t>& words, uint64_t seed) {
    uint64_t h = 0xcbf29ce484222325ull ^ seed;
    for (uint16_t w : words) {
        for (int i = 0; i < 2; ++i) {
            h ^= (w >> (8 * i)) & 0xFF;
            h *= 0x100000001b3ull;
        }
    }
    return h;
}

constexpr const char* kSharedRoot = "/tmp";
constexpr const char* kImageLock = ".eeprom.lock";
constexpr const char* kOpenLock = ".open";

std::string fallback_state_path(const std::string& root) {
    return root + "/rawlnk-state-" + std::to_string(getuid());
}

// Makes the folder and those above it; why the last one that could not be made was not.
int make_dirs(const std::string& path) {
    int failed = 0;
    for (size_t pos = 1; pos <= path.size(); ++pos) {
        if ((pos == path.size() || path[pos] == '/') &&
            mkdir(path.substr(0, pos).c_str(), 0700) != 0 && errno != EEXIST)
            failed = errno;
    }
    return failed;
}

// Tries at a lock name that keeps changing under us before the lock counts as failed.
constexpr int kLockTries = 8;

// Under the folder's own lock, so that no two processes replace one name in turn: a name
// that is still not a regular file is removed and a fresh lock file made in its place.
bool make_lock_file(int dir, const std::string& name) {
    if (flock(dir, LOCK_EX) != 0) return false;
    bool ok = true;
    struct stat st {};
    if (fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(st.st_mode))
        ok = unlinkat(dir, name.c_str(), S_ISDIR(st.st_mode) ? AT_REMOVEDIR : 0) == 0;
    if (ok) {
        const int fd = openat(dir, name.c_str(),
                              O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
        ok = fd >= 0 || errno == EEXIST;  // made meanwhile by a plain open: as good
        if (fd >= 0) close(fd);
    }
    const int saved = errno;
    flock(dir, LOCK_UN);
    errno = saved;
    return ok;
}

// Takes flock `op` on the lock file `name` of `folder`, made afresh when the name is not a
// regular file: a descriptor, kLockBusy (with LOCK_NB) or kLockFailed with `why`.
int take_lock(const std::string& folder, const std::string& name, int op, std::string& why) {
    // The folder by descriptor: every step below works in the one folder opened here.
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) {
        why = std::strerror(errno);
        return kLockFailed;
    }
    int result = kLockFailed;
    why = "it keeps changing";
    for (int i = 0; i < kLockTries && result == kLockFailed; ++i) {
        struct stat st {};
        if (fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(st.st_mode)) {
            // A FIFO, a link or a folder holds no lock: going on without one could lose a
            // write or open a device twice.
            if (!make_lock_file(dir, name)) {
                why = std::strerror(errno);
                break;
            }
            continue;
        }
        const int fd =
            openat(dir, name.c_str(),
                   O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0600);
        if (fd < 0) {
            if (errno == ELOOP) continue;  // a link came in meanwhile
            why = std::strerror(errno);
            break;
        }
        if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            close(fd);
            continue;
        }
        if (flock(fd, op) == 0) {
            result = fd;
        } else {
            const int e = errno;
            why = std::strerror(e);
            if (e == EWOULDBLOCK) result = kLockBusy;
            close(fd);
            break;
        }
    }
    close(dir);
    return result;
}

// Why `dir` cannot keep the state, or empty when it can. With `make`, a missing one is made
// first, as at start.
std::string folder_problem(const std::string& dir, bool make) {
    struct stat st {};
    const int unmade = make && stat(dir.c_str(), &st) != 0 && errno == ENOENT ? make_dirs(dir) : 0;
    if (stat(dir.c_str(), &st) != 0)
        return unmade ? std::string("cannot be made: ") + std::strerror(unmade)
                      : std::strerror(errno);
    if (S_ISREG(st.st_mode)) return "a file, not a folder";
    if (!S_ISDIR(st.st_mode)) return "not a folder";
    // What the kernel lets this process do, root and read-only or immutable folders included.
    if (faccessat(AT_FDCWD, dir.c_str(), W_OK | X_OK, AT_EACCESS) != 0) return std::strerror(errno);
    return {};
}

}  // namespace

// Holds flock on a lock file of the store's folder for the life of the object.
class StateStore::FileLock {
  public:
    FileLock(StateStore& store, const std::string& name, int op) : fd_(store.lock(name, op)) {}
    ~FileLock() {
        if (fd_ >= 0) close(fd_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool held() const { return fd_ >= 0; }

  private:
    int fd_;
};

int StateStore::lock(const std::string& name, int op) {
    std::string why;
    const int fd = take_lock(dir_, name, op, why);
    // Once for each cause: a listing takes the same lock many times.
    if (fd == kLockFailed && said_.insert(dir_ + "/" + name + "\n" + why).second)
        std::fprintf(stderr, "rawlnk: cannot take the lock file %s/%s (%s)\n", dir_.c_str(),
                     name.c_str(), why.c_str());
    return fd;
}

std::string fallback_state_dir(const std::string& root) {
    const std::string dir = fallback_state_path(root);
    mkdir(dir.c_str(), 0700);
    struct stat st {};
    if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid() ||
        (st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return {};
    return dir;
}

std::string default_state_dir() {
    // A relative name would put the folder wherever the program happens to start.
    if (const char* d = std::getenv("RAWLNK_STATE_DIR"); d && *d == '/') return d;
    if (const std::string home = platform::files::user_state_home(); !home.empty())
        return home + "/rawlnk";
    return fallback_state_dir(kSharedRoot);
}

StateStore::~StateStore() {
    remove_private_dir();
}

void StateStore::remove_private_dir() {
    // Only the process that made it: a forked child shares the folder with its parent. Only
    // the one it made: another may have taken the name since it went.
    if (private_dir_.empty() || private_owner_ != getpid() || !own_private_dir()) {
        private_dir_.clear();
        return;
    }
    // By descriptor and never through a link: only this folder's own entries go.
    const int fd = open(private_dir_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (DIR* d = fd >= 0 ? fdopendir(fd) : nullptr) {
        while (dirent* e = readdir(d)) {
            if (std::strcmp(e->d_name, ".") && std::strcmp(e->d_name, ".."))
                unlinkat(fd, e->d_name, 0);
        }
        closedir(d);
    } else if (fd >= 0) {
        close(fd);
    }
    rmdir(private_dir_.c_str());
    private_dir_.clear();
}

void StateStore::use_dir(const std::string& dir) {
    choose(dir, "");
}

void StateStore::use_shared_dir(const std::string& root) {
    choose(fallback_state_path(root), root);
}

void StateStore::choose(const std::string& dir, const std::string& shared_root) {
    remove_private_dir();
    chips_.clear();
    wanted_ = dir;
    shared_root_ = shared_root;
    dir_.clear();
    in_memory_ = false;
    settle();
}

void StateStore::use_default_dir() {
    if (const char* d = std::getenv("RAWLNK_STATE_DIR"); d && *d && *d != '/')
        std::fprintf(stderr, "rawlnk: RAWLNK_STATE_DIR=%s is not an absolute path and is ignored\n",
                     d);
    const std::string dir = default_state_dir();
    if (dir.empty() || dir == fallback_state_path(kSharedRoot)) return use_shared_dir(kSharedRoot);
    use_dir(dir);
}

void StateStore::use_private_dir() {
    chips_.clear();
    wanted_.clear();
    if (make_private_dir()) return;
    std::fprintf(stderr,
                 "rawlnk: cannot make a private state folder in %s (%s); EEPROM images are "
                 "kept in memory until exit\n",
                 platform::files::temp_folder().c_str(), std::strerror(errno));
}

void StateStore::unusable(const std::string& dir, const std::string& why) {
    std::fprintf(stderr,
                 "rawlnk: no state folder of our own at %s (%s); EEPROM images last until exit "
                 "(RAWLNK_STATE_DIR names a folder that keeps them)\n",
                 dir.c_str(), why.c_str());
    make_private_dir();
}

bool StateStore::own_private_dir() const {
    struct stat st {};
    return !private_dir_.empty() && lstat(private_dir_.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_dev == private_dev_ && st.st_ino == private_ino_;
}

void StateStore::settle() {
    if (in_memory_) return;
    if (!private_dir_.empty() && dir_ == private_dir_) {
        // Gone, or another's folder by the same name below a shared root: a fresh one.
        if (own_private_dir() && folder_problem(dir_, false).empty()) return;
        if (!make_private_dir())
            std::fprintf(stderr,
                         "rawlnk: the private state folder went and no other can be made in %s "
                         "(%s); EEPROM images are kept in memory until exit\n",
                         platform::files::temp_folder().c_str(), std::strerror(errno));
        return;
    }
    if (wanted_.empty()) return;
    // Below a shared root, a folder deleted meanwhile may come back as another's.
    const std::string why = !shared_root_.empty() && fallback_state_dir(shared_root_).empty()
                                ? "not this user's alone"
                                : folder_problem(wanted_, true);
    if (why.empty()) {
        dir_ = wanted_;
        retake_device_locks();
        return;
    }
    unusable(wanted_, why);
}

void StateStore::retake_device_locks() {
    // A lock file deleted or replaced meanwhile, alone or with its folder, holds the device
    // for nobody: taken again onto the same descriptor, so that closing the device gives up
    // the new lock. One another process took meanwhile stays that process's.
    for (const auto& [fd, key] : held_) {
        struct stat mine {
        }, there{};
        if (fstat(fd, &mine) == 0 && lstat((dir_ + "/" + key + kOpenLock).c_str(), &there) == 0 &&
            mine.st_dev == there.st_dev && mine.st_ino == there.st_ino)
            continue;  // an open file's inode is never another's
        std::string why;
        const int now = take_lock(dir_, key + kOpenLock, LOCK_EX | LOCK_NB, why);
        if (now < 0) continue;
        dup3(now, fd, O_CLOEXEC);
        close(now);
    }
}

bool StateStore::make_private_dir() {
    remove_private_dir();
    std::string templ = platform::files::temp_folder() + "/rawlnk-state-XXXXXX";
    struct stat st {};
    if (mkdtemp(templ.data()) && lstat(templ.c_str(), &st) == 0) {
        dir_ = private_dir_ = templ;
        private_owner_ = getpid();
        private_dev_ = st.st_dev;
        private_ino_ = st.st_ino;
        in_memory_ = false;
        return true;
    }
    // A name of our choosing would be one every process in this plight shares: nothing is
    // kept outside this process instead.
    const int saved = errno;
    dir_.clear();
    in_memory_ = true;
    errno = saved;
    return false;
}

std::string StateStore::image_path(const std::string& chip) const {
    return dir_ + "/" + chip + ".eeprom";
}

StateStore::ChipState* StateStore::stored(const std::string& chip) {
    const auto it = chips_.find(chip);
    if (in_memory_ || it == chips_.end() || it->second.world_image.empty()) return nullptr;
    return &it->second;
}

StateStore::Stamp StateStore::stamp_of(const std::string& path) const {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return {};
    return {st.st_ino, st.st_mtim.tv_sec, st.st_mtim.tv_nsec, st.st_size};
}

StateStore::Loaded StateStore::load(const std::string& chip, ChipState& st,
                                    std::vector<uint16_t>& image, std::string& why) {
    const std::string path = image_path(chip);
    st.stamp = stamp_of(path);
    const auto damaged = [&](const char* what) {
        why = what;
        return Loaded::Damaged;
    };
    const auto text = platform::files::read_whole_file(path, kMaxStateFileBytes);
    if (!text) return damaged("not a readable file");
    std::istringstream in(*text);
    std::string line, word;
    size_t count = 0;
    uint64_t world = 0, sum = 0;
    if (!std::getline(in, line) || line != kMagic) return damaged("no header");
    if (!(in >> word >> std::hex >> world) || word != "world") return damaged("no world line");
    if (!(in >> word >> std::dec >> count) || word != "words") return damaged("no size");
    if (count > kEeAddressLimit) return damaged("wrong size");
    std::vector<uint16_t> words(count);
    for (auto& w : words) {
        unsigned v = 0;
        if (!(in >> std::hex >> v) || v > 0xFFFF) return damaged("bad word");
        w = static_cast<uint16_t>(v);
    }
    if (!(in >> word >> std::hex >> sum) || word != "sum") return damaged("no sum");
    if (sum != fnv1a(words, world)) return damaged("sum does not match");
    // A sound file made for another chip or another world image: not damage.
    if (count != st.world_image.size()) {
        why = "the world's has " + std::to_string(st.world_image.size()) + " words, the image " +
              std::to_string(count);
        return Loaded::OtherChip;
    }
    if (world != st.world_hash) return Loaded::Stale;
    image = std::move(words);
    return Loaded::Yes;
}

bool StateStore::save(const std::string& chip, ChipState& st, const std::vector<uint16_t>& image) {
    const std::string path = image_path(chip);
    std::ostringstream out;
    char buf[32];
    out << kMagic << "\n";
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(st.world_hash));
    out << "world " << buf << "\nwords " << image.size() << "\n";
    for (size_t i = 0; i < image.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%04X", image[i]);
        out << buf << ((i % 8 == 7 || i + 1 == image.size()) ? "\n" : " ");
    }
    std::snprintf(buf, sizeof buf, "%016llx",
                  static_cast<unsigned long long>(fnv1a(image, st.world_hash)));
    out << "sum " << buf << "\n";
    if (!platform::files::write_file_atomically(path, out.str())) {
        const std::string why = std::strerror(errno);
        if (said_.insert(path + "\n" + why).second)
            std::fprintf(stderr, "rawlnk: cannot write state file %s (%s)\n", path.c_str(),
                         why.c_str());
        return false;
    }
    st.stamp = stamp_of(path);
    return true;
}

void StateStore::reload(const std::string& chip, ChipState& st, std::vector<uint16_t>& image,
                        bool locked) {
    std::string why;
    const std::string path = image_path(chip);
    Loaded loaded = Loaded::Stale;  // a missing file: the world's image, without a word
    if (stamp_of(path).size >= 0) loaded = load(chip, st, image, why);
    if (loaded == Loaded::Yes) return;
    if (loaded == Loaded::Damaged)
        std::fprintf(stderr, "rawlnk: state file %s is damaged (%s); using the world's image\n",
                     path.c_str(), why.c_str());
    if (loaded == Loaded::OtherChip)
        std::fprintf(stderr,
                     "rawlnk: state file %s: the world's chip differs from the saved image (%s); "
                     "the image is replaced by the world's\n",
                     path.c_str(), why.c_str());
    image = st.world_image;
    // Without the chip's lock a save could undo another process's write.
    if (locked) save(chip, st, image);
}

std::vector<uint16_t> StateStore::attach(const std::string& chip,
                                         const std::vector<uint16_t>& world_image) {
    ChipState& st = chips_[chip];
    const uint64_t hash = fnv1a(world_image, world_image.size());
    // Kept in memory, the image outlives a reload of the same world as a stored one does.
    const bool kept =
        in_memory_ && st.world_hash == hash && st.in_memory.size() == world_image.size();
    st.world_image = world_image;
    st.world_hash = hash;
    std::vector<uint16_t> image = kept ? st.in_memory : world_image;
    settle();
    if (!stored(chip)) return st.in_memory = image;
    FileLock lock(*this, chip + kImageLock, LOCK_EX);
    reload(chip, st, image, lock.held());
    return image;
}

void StateStore::refresh(const std::string& chip, std::vector<uint16_t>& image) {
    settle();
    ChipState* st = stored(chip);
    if (!st || stamp_of(image_path(chip)) == st->stamp) return;
    FileLock lock(*this, chip + kImageLock, LOCK_EX);
    reload(chip, *st, image, lock.held());
}

bool StateStore::update(const std::string& chip, std::vector<uint16_t>& image,
                        const std::function<void(std::vector<uint16_t>&)>& change) {
    settle();
    ChipState* st = stored(chip);
    if (!st) {
        change(image);
        if (const auto it = chips_.find(chip); it != chips_.end()) it->second.in_memory = image;
        return true;
    }
    FileLock lock(*this, chip + kImageLock, LOCK_EX);
    if (!lock.held()) return false;  // a write that another process could undo fails here
    if (!(stamp_of(image_path(chip)) == st->stamp)) reload(chip, *st, image, true);
    const std::vector<uint16_t> before = image;
    change(image);
    // A change the folder did not take is no change: the next program would not see it.
    if (save(chip, *st, image)) return true;
    image = before;
    return false;
}

int StateStore::lock_device(const std::string& key) {
    settle();
    if (in_memory_) return kNoLockNeeded;  // nothing is shared
    const int fd = lock(key + kOpenLock, LOCK_EX | LOCK_NB);
    if (fd >= 0) held_[fd] = key;
    return fd;
}

void StateStore::unlock_device(int fd) {
    held_.erase(fd);
    if (fd >= 0) close(fd);
}

bool StateStore::device_locked(const std::string& key) {
    settle();
    if (in_memory_) return false;
    const int fd = lock(key + kOpenLock, LOCK_EX | LOCK_NB);
    if (fd < 0) return true;  // held, or no open could take it either
    close(fd);
    return false;
}

}  // namespace rawlnk
