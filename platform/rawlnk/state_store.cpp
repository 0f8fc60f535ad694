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

#include "files/atomic_file.h"

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

void make_dirs(const std::string& path) {
    for (size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos == path.size() || path[pos] == '/') mkdir(path.substr(0, pos).c_str(), 0700);
    }
}

// A lock file of the state folder: a regular file of its own, never one a link points to.
int open_lock_file(const std::string& path) {
    return platform::files::open_regular(path, O_RDWR | O_CREAT | O_NOFOLLOW, 0600);
}

// Holds flock on a file for the life of the object.
class FileLock {
  public:
    FileLock(const std::string& path, int op) : fd_(open_lock_file(path)) {
        if (fd_ >= 0 && flock(fd_, op) != 0) {
            close(fd_);
            fd_ = -1;
        }
    }
    ~FileLock() {
        if (fd_ >= 0) close(fd_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool held() const { return fd_ >= 0; }

  private:
    int fd_;
};

}  // namespace

std::string fallback_state_dir(const std::string& root) {
    const std::string dir = root + "/rawlnk-state-" + std::to_string(getuid());
    mkdir(dir.c_str(), 0700);
    struct stat st {};
    if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid() ||
        (st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return {};
    return dir;
}

std::string default_state_dir() {
    if (const char* d = std::getenv("RAWLNK_STATE_DIR"); d && *d) return d;
    if (const char* x = std::getenv("XDG_STATE_HOME"); x && *x) return std::string(x) + "/rawlnk";
    if (const char* h = std::getenv("HOME"); h && *h)
        return std::string(h) + "/.local/state/rawlnk";
    return fallback_state_dir("/tmp");
}

StateStore::~StateStore() {
    remove_private_dir();
}

void StateStore::remove_private_dir() {
    // Only the process that made it: a forked child shares the folder with its parent.
    if (private_dir_.empty() || private_owner_ != getpid()) return;
    if (DIR* d = opendir(private_dir_.c_str())) {
        while (dirent* e = readdir(d)) {
            if (std::strcmp(e->d_name, ".") && std::strcmp(e->d_name, ".."))
                unlink((private_dir_ + "/" + e->d_name).c_str());
        }
        closedir(d);
    }
    rmdir(private_dir_.c_str());
    private_dir_.clear();
}

bool StateStore::use_dir(const std::string& dir) {
    dir_ = dir;
    chips_.clear();
    make_dirs(dir_);
    struct stat st {};
    return stat(dir_.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void StateStore::use_default_dir() {
    const std::string dir = default_state_dir();
    if (!dir.empty() && use_dir(dir)) return;
    std::fprintf(stderr, "rawlnk: no state folder of our own%s%s; EEPROM images last until exit\n",
                 dir.empty() ? "" : " at ", dir.c_str());
    use_private_dir();
}

void StateStore::use_private_dir() {
    remove_private_dir();
    const char* tmp = std::getenv("TMPDIR");
    std::string templ = std::string(tmp && *tmp ? tmp : "/tmp") + "/rawlnk-state-XXXXXX";
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data())) {
        private_dir_ = buf.data();
        private_owner_ = getpid();
    }
    use_dir(private_dir_.empty() ? templ : private_dir_);
}

std::string StateStore::image_path(const std::string& chip) const {
    return dir_ + "/" + chip + ".eeprom";
}

std::string StateStore::open_path(const std::string& key) const {
    return dir_ + "/" + key + ".open";
}

StateStore::Stamp StateStore::stamp_of(const std::string& path) const {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return {};
    return {st.st_ino, st.st_mtim.tv_sec, st.st_mtim.tv_nsec, st.st_size};
}

bool StateStore::load(const std::string& chip, ChipState& st, std::vector<uint16_t>& image,
                      std::string& why) {
    const std::string path = image_path(chip);
    st.stamp = stamp_of(path);
    const auto text = platform::files::read_whole_file(path, kMaxStateFileBytes);
    if (!text) return why = "not a readable file", false;
    std::istringstream in(*text);
    std::string line, word;
    size_t count = 0;
    uint64_t world = 0, sum = 0;
    if (!std::getline(in, line) || line != kMagic) return why = "no header", false;
    if (!(in >> word >> std::hex >> world) || word != "world") return why = "no world line", false;
    if (!(in >> word >> std::dec >> count) || word != "words") return why = "no size", false;
    if (count != st.world_image.size()) return why = "wrong size", false;
    std::vector<uint16_t> words(count);
    for (auto& w : words) {
        unsigned v = 0;
        if (!(in >> std::hex >> v) || v > 0xFFFF) return why = "bad word", false;
        w = static_cast<uint16_t>(v);
    }
    if (!(in >> word >> std::hex >> sum) || word != "sum") return why = "no sum", false;
    if (sum != fnv1a(words, world)) return why = "sum does not match", false;
    if (world != st.world_hash) {
        why.clear();  // made from another world image: not damage, just stale
        return false;
    }
    image = std::move(words);
    return true;
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
        if (!warned_) std::fprintf(stderr, "rawlnk: cannot write state file %s\n", path.c_str());
        warned_ = true;
        return false;
    }
    st.stamp = stamp_of(path);
    return true;
}

// With the chip's lock held: the stored image, or the world's in place of a missing, stale
// or damaged file.
void StateStore::reload(const std::string& chip, ChipState& st, std::vector<uint16_t>& image) {
    std::string why;
    if (stamp_of(image_path(chip)).size >= 0 && load(chip, st, image, why)) return;
    if (!why.empty())
        std::fprintf(stderr, "rawlnk: state file %s is damaged (%s); using the world's image\n",
                     image_path(chip).c_str(), why.c_str());
    image = st.world_image;
    save(chip, st, image);
}

std::vector<uint16_t> StateStore::attach(const std::string& chip,
                                         const std::vector<uint16_t>& world_image) {
    ChipState& st = chips_[chip];
    st.world_image = world_image;
    st.world_hash = fnv1a(world_image, world_image.size());
    std::vector<uint16_t> image = world_image;
    if (world_image.empty()) return image;
    FileLock lock(image_path(chip) + ".lock", LOCK_EX);
    reload(chip, st, image);
    return image;
}

void StateStore::refresh(const std::string& chip, std::vector<uint16_t>& image) {
    const auto it = chips_.find(chip);
    if (it == chips_.end() || it->second.world_image.empty()) return;
    if (stamp_of(image_path(chip)) == it->second.stamp) return;
    FileLock lock(image_path(chip) + ".lock", LOCK_EX);
    reload(chip, it->second, image);
}

bool StateStore::update(const std::string& chip, std::vector<uint16_t>& image,
                        const std::function<void(std::vector<uint16_t>&)>& change) {
    const auto it = chips_.find(chip);
    if (it == chips_.end() || it->second.world_image.empty()) {
        change(image);
        return true;
    }
    FileLock lock(image_path(chip) + ".lock", LOCK_EX);
    if (!(stamp_of(image_path(chip)) == it->second.stamp)) reload(chip, it->second, image);
    const std::vector<uint16_t> before = image;
    change(image);
    // A change the folder did not take is no change: the next program would not see it.
    if (save(chip, it->second, image)) return true;
    image = before;
    return false;
}

int StateStore::lock_device(const std::string& key) {
    const int fd = open_lock_file(open_path(key));
    if (fd < 0) return -2;  // no state folder: nothing to share, the open goes ahead
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

void StateStore::unlock_device(int fd) {
    if (fd >= 0) close(fd);
}

bool StateStore::device_locked(const std::string& key) const {
    const std::string path = open_path(key);
    FileLock probe(path, LOCK_EX | LOCK_NB);
    return !probe.held() && access(path.c_str(), F_OK) == 0;
}

}  // namespace rawlnk
