// The simulated world as a world text describes it: bridge chips, the boards among them with
// their bus devices and monitor traffic, and faults present from the start.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rawlnk {

// Register codes: 0..255 plain commands; extended commands (command byte followed by an
// extended command byte) are 0x10000 | command << 8 | extended.
inline constexpr int kExtendedCode = 0x10000;
inline constexpr int kNotPaged = -1;

enum class Preset { Plain, Battery, Charger, Selector, Pmbus };

struct BusDeviceSpec {
    uint8_t addr = 0;  // 8-bit address with the read/write bit clear
    Preset preset = Preset::Plain;
    int pages = 0;  // 0: no PAGE register
    // (page or kNotPaged, code) -> value bytes: 1 = byte, 2 = word (low first), else block
    std::map<std::pair<int, int>, std::vector<uint8_t>> regs;
};

enum class TrafficMode { Poll, Replay, None };

struct TrafficSpec {
    TrafficMode mode = TrafficMode::Poll;
    std::string events;        // replayed event characters
    uint32_t rate = 120000;    // replay characters a second
    uint32_t period_ms = 100;  // poll: one transaction per period
};

struct ChipSpec {
    std::string name;  // key of its state files
    uint8_t kind = 0;
    std::string serial, description;  // shown while the EEPROM holds no valid strings
    uint16_t vid = 0, pid = 0;
    int ee_words = 64;  // 0 = no EEPROM
    std::vector<uint16_t> image;
    bool board = false;
    int firmware = 3;
    std::vector<BusDeviceSpec> bus;
    TrafficSpec traffic;
    int first_device = 0;  // device index of its first channel
};

struct FaultSpec {
    int device = 0;
    std::string name;
    int count = -1;
    uint32_t value = 0;
};

struct World {
    std::vector<ChipSpec> chips;
    std::vector<FaultSpec> faults;
    int device_count() const;
};

inline constexpr int kMaxDevices = 128;
inline constexpr size_t kMaxText = 63;  // texts handed to callers, without the NUL

// Parses a world text. Relative file names in it are taken from base_dir. On failure
// `error` reads "line N: what".
bool parse_world(std::string_view text, const std::string& base_dir, World& out,
                 std::string& error);

std::string_view default_world_text();

// World and replay files are read whole into memory, up to this.
inline constexpr size_t kMaxWorldFileBytes = size_t{16} << 20;
// A file's bytes, or nothing when it is not a regular file or is longer than the bound:
// a FIFO or device named by mistake must neither hang a program nor fill its memory.
std::optional<std::string> read_whole_file(const std::string& path);
// Why read_whole_file gives nothing: "not found", "not a regular file", "larger than the
// limit of N bytes", or the system's reason.
std::string why_unreadable(const std::string& path);
// The folder that relative names in the world file at `path` are taken from: absolute, so
// that messages name it and a later change of the current folder does not move it.
std::string folder_of(const std::string& path);
// The current folder, or empty when it cannot be named (it was removed).
std::string current_folder();

}  // namespace rawlnk
