// The simulated world behind librawlnk: chips and their devices, the handle table, the
// clock and the state folder. One instance per process; every entry point takes its lock.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "clock.h"
#include "eeprom.h"
#include "port.h"
#include "rawlnk.h"
#include "state_store.h"
#include "world.h"

namespace rawlnk {

struct Chip {
    ChipSpec spec;
    std::vector<uint16_t> ee;
    ChipIdentity id;  // as the chip last enumerated
    std::unique_ptr<Board> board;
};

struct Device {
    int chip;
    int channel;
    std::unique_ptr<Port> port;
};

class Sim {
  public:
    static Sim& instance();
    // The lock every entry point holds; loads the world on first use.
    std::unique_lock<std::mutex> enter();
    // The lock alone, for calls that replace the world.
    std::unique_lock<std::mutex> enter_unloaded() { return std::unique_lock<std::mutex>(mutex_); }

    // World
    // A test's world (for_test) keeps its state in a private folder unless a state folder
    // was named.
    bool load_text(std::string_view text, const std::string& base_dir, std::string& error,
                   bool for_test);
    void load_default(bool for_test);
    void reload();
    void set_state_dir(const char* dir);
    const std::string& last_error() const { return last_error_; }
    void set_last_error(std::string e) { last_error_ = std::move(e); }

    // Devices as listed
    int device_count() const { return static_cast<int>(devices_.size()); }
    Device* device(int index);
    Chip& chip_of(const Device& d) { return chips_[static_cast<size_t>(d.chip)]; }
    std::string description(const Device& d) const;
    std::string serial(const Device& d) const;
    bool removed(int index) const;
    bool is_open(int index);

    // Handles
    RL_STATUS open(int index, RL_HANDLE* handle);
    RL_STATUS close(RL_HANDLE h);
    // The device behind a handle this process gave out and has not closed, else null.
    Device* lookup(RL_HANDLE h, int* index = nullptr);
    // Notes of devices found open in another process wait while a program looking for a
    // device of that description could still open a later one; they are said when none is
    // left, when a new count of the devices begins another search, or at exit, and dropped
    // when an open succeeds.
    void say_busy();

    // Link
    RL_STATUS read(RL_HANDLE h, uint8_t* buf, uint32_t count, uint32_t* returned,
                   std::unique_lock<std::mutex>& lock);

    // Chips
    void refresh_ee(Chip& c);
    // False when the changed image could not be stored (the chip keeps its old one).
    bool update_ee(Chip& c, const std::function<void(std::vector<uint16_t>&)>& change);
    void enumerate(Chip& c);  // takes the identity from the EEPROM, as after a port cycle

    Clock clock;

  private:
    Sim() = default;
    ~Sim() { say_busy(); }
    void ensure_loaded();
    void install(World&& world);
    void close_all();
    // Gives up the device's lock file and leaves the port closed.
    void release(Port& p);
    void load_from_environment();
    std::vector<std::string> busy_notes_;

    bool loaded_ = false;
    bool explicit_state_dir_ = false;
    std::string world_text_ = std::string(default_world_text());
    std::string world_base_dir_;
    std::string last_error_;
    StateStore store_;
    std::vector<Chip> chips_;
    std::vector<Device> devices_;
    std::unordered_map<uintptr_t, int> handles_;
    uintptr_t next_handle_ = 0x5A10;
    std::mutex mutex_;
};

}  // namespace rawlnk
