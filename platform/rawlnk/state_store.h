// The state folder shared by every process that uses the same world: the EEPROM image of
// each chip (written atomically) and one lock file per device that an open holds, so that
// another process finds the device in use.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace rawlnk {

// RAWLNK_STATE_DIR when it is an absolute path, else rawlnk in the user's state home, else (no
// home) the fallback folder below /tmp; empty when that one is not ours alone.
std::string default_state_dir();
// `root`/rawlnk-state-UID, made when missing; empty unless it is a folder (not a link) of
// this user that nobody else may write into, since anyone may make that name first.
std::string fallback_state_dir(const std::string& root);

// What taking a lock file of the state folder gives besides a descriptor.
inline constexpr int kLockBusy = -1;    // another holder has it
inline constexpr int kLockFailed = -2;  // it cannot be taken; said on stderr once a cause

class StateStore {
  public:
    StateStore() = default;
    StateStore(const StateStore&) = delete;
    StateStore& operator=(const StateStore&) = delete;
    ~StateStore();

    // The folder `dir`, made when missing; when it cannot be used (not a folder, not this
    // user's to write), a private one, and a note naming `dir` and why.
    void use_dir(const std::string& dir);
    // The same for this user's folder below the shared `root`, which anyone may make first:
    // used only while it is a folder of this user's that nobody else may write into.
    void use_shared_dir(const std::string& root);
    // The same for the default folder.
    void use_default_dir();
    // A fresh folder of this process's own; the previous private one is removed. When none
    // can be made, the images stay in this process's memory.
    void use_private_dir();
    // Whether a folder (or memory) was chosen.
    bool chosen() const { return !dir_.empty() || in_memory_; }

    // The chip's image: the stored one when it is sound and stems from the same world
    // image, else the world's (stored from now on). A damaged file, or one saved for a
    // chip of another size, is reported on stderr.
    std::vector<uint16_t> attach(const std::string& chip, const std::vector<uint16_t>& world_image);
    // Takes the stored image when another process has changed it.
    void refresh(const std::string& chip, std::vector<uint16_t>& image);
    // Runs `change` on the current image under the chip's lock and stores the result.
    // False, with the image as it was, when the result could not be stored.
    bool update(const std::string& chip, std::vector<uint16_t>& image,
                const std::function<void(std::vector<uint16_t>&)>& change);

    // Lock file of a device: a descriptor, kLockBusy when another holder has it, kLockFailed
    // when it cannot be taken, kNoLockNeeded when the state is this process's alone.
    static constexpr int kNoLockNeeded = -3;
    int lock_device(const std::string& key);
    void unlock_device(int fd);
    bool device_locked(const std::string& key);
    // Before every use: the folder chosen may have been deleted or closed to this user since.
    // The one wanted is then made again as at start, and the devices open here are locked in
    // it again; when that fails, or the private one went, a fresh private folder is taken.
    // The chips then start from their world images.
    void settle();

  private:
    class FileLock;
    struct Stamp {
        ino_t ino = 0;
        int64_t sec = 0, nsec = 0;
        int64_t size = -1;
        bool operator==(const Stamp&) const = default;
    };
    struct ChipState {
        std::vector<uint16_t> world_image;
        uint64_t world_hash = 0;
        Stamp stamp;
        std::vector<uint16_t> in_memory;  // the image, when it is kept nowhere else
    };
    enum class Loaded { Yes, Stale, OtherChip, Damaged };
    std::string image_path(const std::string& chip) const;
    // The chip's state in the folder, or null when its image lives here only.
    ChipState* stored(const std::string& chip);
    Loaded load(const std::string& chip, ChipState& st, std::vector<uint16_t>& image,
                std::string& why);
    // The stored image, else the world's, which is stored too when `locked`.
    void reload(const std::string& chip, ChipState& st, std::vector<uint16_t>& image, bool locked);
    bool save(const std::string& chip, ChipState& st, const std::vector<uint16_t>& image);
    Stamp stamp_of(const std::string& path) const;
    // Flock `op` on the lock file `name` of the folder: a descriptor, kLockBusy or kLockFailed.
    int lock(const std::string& name, int op);
    // Says why `dir` cannot be used and takes a private folder.
    void unusable(const std::string& dir, const std::string& why);
    void choose(const std::string& dir, const std::string& shared_root);
    // Takes again each device lock held here whose file is no longer the one in the folder.
    void retake_device_locks();
    bool make_private_dir();
    bool own_private_dir() const;
    void remove_private_dir();

    std::string wanted_;               // the folder named or the default; empty for a private one
    std::string shared_root_;          // the shared root `wanted_` is below, else empty
    std::string dir_;                  // the folder in use
    std::map<int, std::string> held_;  // the device locks held: descriptor, device
    bool in_memory_ = false;
    std::string private_dir_;
    pid_t private_owner_ = 0;
    dev_t private_dev_ = 0;
    ino_t private_ino_ = 0;
    std::set<std::string> said_;  // causes already told on stderr
    std::map<std::string, ChipState> chips_;
};

}  // namespace rawlnk
