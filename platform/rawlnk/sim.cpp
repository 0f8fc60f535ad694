#include "sim.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "kinds.h"

namespace rawlnk {
namespace {

constexpr uintptr_t kHandleStep = 0x10;

std::string channel_key(const Chip& c, int channel) {
    return c.spec.name + "." + static_cast<char>('A' + channel);
}

std::string cut(std::string s) {
    if (s.size() > kMaxText) s.resize(kMaxText);
    return s;
}

}  // namespace

Sim& Sim::instance() {
    static Sim sim;
    return sim;
}

std::unique_lock<std::mutex> Sim::enter() {
    std::unique_lock<std::mutex> lock(mutex_);
    ensure_loaded();
    return lock;
}

void Sim::ensure_loaded() {
    if (loaded_) return;
    loaded_ = true;
    if (!store_.chosen()) store_.use_default_dir();
    load_from_environment();
}

void Sim::load_from_environment() {
    const char* path = std::getenv("RAWLNK_SIM");
    std::string error;
    if (path && *path) {
        const auto text = read_whole_file(path);
        if (text && load_text(*text, folder_of(path), error, false)) return;
        if (!text) error = why_unreadable(path);
        // A broken world shows no devices rather than some other world.
        std::string shown = path;
        if (path[0] != '/') {
            const std::string cwd = current_folder();
            shown += " (relative to " + (cwd.empty() ? "a current folder that is gone" : cwd) + ")";
        }
        std::fprintf(stderr, "rawlnk: RAWLNK_SIM=%s: %s\n", shown.c_str(), error.c_str());
        world_text_.clear();
        install(World{});
        return;
    }
    load_text(default_world_text(), "", error, false);
}

bool Sim::load_text(std::string_view text, const std::string& base_dir, std::string& error,
                    bool for_test) {
    World world;
    if (!parse_world(text, base_dir, world, error)) return false;
    if (for_test && !explicit_state_dir_) {
        close_all();
        store_.use_private_dir();
    }
    if (!store_.chosen()) store_.use_default_dir();
    loaded_ = true;
    world_text_ = std::string(text);
    world_base_dir_ = base_dir;
    install(std::move(world));
    return true;
}

void Sim::load_default(bool for_test) {
    std::string error;
    load_text(default_world_text(), "", error, for_test);
}

void Sim::reload() {
    World world;
    std::string error;
    if (parse_world(world_text_, world_base_dir_, world, error)) install(std::move(world));
}

void Sim::set_state_dir(const char* dir) {
    explicit_state_dir_ = dir != nullptr;
    close_all();
    if (dir)
        store_.use_dir(dir);
    else
        store_.use_private_dir();
    if (loaded_) reload();
}

void Sim::release(Port& p) {
    store_.unlock_device(p.lock_fd);
    p.lock_fd = -1;
    p.set_open(false, clock.now_ns());
}

void Sim::close_all() {
    for (const auto& [h, index] : handles_) release(*devices_[static_cast<size_t>(index)].port);
    handles_.clear();
}

void Sim::install(World&& world) {
    close_all();
    chips_.clear();
    devices_.clear();
    chips_.reserve(world.chips.size());
    for (auto& spec : world.chips) {
        Chip c;
        c.spec = std::move(spec);
        if (c.spec.ee_words > 0) c.ee = store_.attach(c.spec.name, c.spec.image);
        if (c.spec.board) {
            c.board = std::make_unique<Board>();
            c.board->bus.load(c.spec.bus);
            c.board->ctl.configure(c.spec.firmware, &c.board->bus);
            c.board->gen.configure(c.spec.traffic, &c.board->bus);
        }
        chips_.push_back(std::move(c));
        enumerate(chips_.back());
    }
    for (size_t i = 0; i < chips_.size(); ++i) {
        const int channels = find_kind(chips_[i].spec.kind)->channels;
        for (int ch = 0; ch < channels; ++ch) {
            Board* board = ch == 0 ? chips_[i].board.get() : nullptr;
            devices_.push_back({static_cast<int>(i), ch, std::make_unique<Port>(board)});
        }
    }
    for (const auto& f : world.faults)
        devices_[static_cast<size_t>(f.device)].port->faults.set(*find_fault(f.name), f.count,
                                                                 f.value);
}

Device* Sim::device(int index) {
    if (index < 0 || index >= device_count()) return nullptr;
    return &devices_[static_cast<size_t>(index)];
}

std::string Sim::description(const Device& d) const {
    const Chip& c = chips_[static_cast<size_t>(d.chip)];
    if (find_kind(c.spec.kind)->channels == 1) return cut(c.id.description);
    const std::string suffix = std::string(" ") + static_cast<char>('A' + d.channel);
    return cut(c.id.description).substr(0, kMaxText - suffix.size()) + suffix;
}

std::string Sim::serial(const Device& d) const {
    const Chip& c = chips_[static_cast<size_t>(d.chip)];
    if (find_kind(c.spec.kind)->channels == 1 || c.id.serial.empty()) return cut(c.id.serial);
    return cut(c.id.serial).substr(0, kMaxText - 1) + static_cast<char>('A' + d.channel);
}

bool Sim::removed(int index) const {
    return devices_[static_cast<size_t>(index)].port->faults.active(Fault::Removed);
}

bool Sim::is_open(int index) {
    const Device& d = devices_[static_cast<size_t>(index)];
    return d.port->open ||
           store_.device_locked(channel_key(chips_[static_cast<size_t>(d.chip)], d.channel));
}

RL_STATUS Sim::open(int index, RL_HANDLE* handle) {
    Device* d = device(index);
    if (!d || removed(index)) return RL_DEVICE_NOT_FOUND;
    if (const auto s = d->port->faults.take(Fault::OpenFail)) return *s;
    if (d->port->open) return RL_DEVICE_NOT_OPENED;
    const int fd = store_.lock_device(channel_key(chip_of(*d), d->channel));
    if (fd == kLockBusy) {
        // Said, or a second program shows only "no board" and no cause; but not while the
        // program's search could still open a later device of the same description.
        const std::string name = serial(*d);
        busy_notes_.push_back(
            "rawlnk: device " +
            (name.empty() ? std::to_string(index) + " (no serial number)" : name) +
            " is open in another process");
        bool later = false;
        for (int j = index + 1; j < device_count() && !later; ++j)
            later = !removed(j) && !devices_[static_cast<size_t>(j)].port->open &&
                    description(devices_[static_cast<size_t>(j)]) == description(*d);
        if (!later) say_busy();
    }
    if (fd == kLockBusy || fd == kLockFailed) return RL_DEVICE_NOT_OPENED;
    busy_notes_.clear();  // the program found a device after all
    d->port->lock_fd = fd;
    d->port->set_open(true, clock.now_ns());
    const uintptr_t h = next_handle_;
    next_handle_ += kHandleStep;
    handles_[h] = index;
    *handle = reinterpret_cast<RL_HANDLE>(h);
    return RL_OK;
}

void Sim::say_busy() {
    for (const auto& note : busy_notes_) std::fprintf(stderr, "%s\n", note.c_str());
    busy_notes_.clear();
}

Device* Sim::lookup(RL_HANDLE h, int* index) {
    const auto it = handles_.find(reinterpret_cast<uintptr_t>(h));
    if (it == handles_.end()) return nullptr;
    store_.settle();  // while a device is open, others see it open
    if (index) *index = it->second;
    return &devices_[static_cast<size_t>(it->second)];
}

RL_STATUS Sim::close(RL_HANDLE h) {
    int index = 0;
    Device* d = lookup(h, &index);
    if (!d) return RL_INVALID_HANDLE;
    release(*d->port);
    handles_.erase(reinterpret_cast<uintptr_t>(h));
    return removed(index) ? RL_DEVICE_NOT_FOUND : RL_OK;
}

RL_STATUS Sim::read(RL_HANDLE h, uint8_t* buf, uint32_t count, uint32_t* returned,
                    std::unique_lock<std::mutex>& lock) {
    Device* d = lookup(h);
    if (const auto s = d->port->faults.take(Fault::ReadStatus)) return *s;
    const uint64_t deadline = clock.now_ns() + uint64_t{d->port->settings.read_ms} * 1'000'000;
    for (;;) {
        Port& p = *d->port;
        const uint64_t now = clock.now_ns();
        p.pump(now);
        if (p.queued() >= count || now >= deadline) break;
        const uint64_t next = p.next_arrival();
        uint64_t target = deadline;
        if (next <= deadline) {
            // No byte comes sooner than one spacing after the one before it.
            const uint64_t need = count - p.queued() - 1;
            const uint64_t span = std::min<uint64_t>(
                need, (deadline - next) / std::max<uint64_t>(p.arrival_spacing(), 1));
            target = next + span * p.arrival_spacing();
        }
        clock.wait_until(std::max(target, now + 1), lock);
        d = lookup(h);
        if (!d) return RL_INVALID_HANDLE;  // closed by another thread meanwhile
    }
    *returned = static_cast<uint32_t>(d->port->take(buf, count));
    if (d->port->faults.take(Fault::ReadStatus4)) return RL_IO_ERROR;
    return RL_OK;
}

void Sim::refresh_ee(Chip& c) {
    if (c.spec.ee_words > 0) store_.refresh(c.spec.name, c.ee);
}

bool Sim::update_ee(Chip& c, const std::function<void(std::vector<uint16_t>&)>& change) {
    return store_.update(c.spec.name, c.ee, change);
}

void Sim::enumerate(Chip& c) {
    refresh_ee(c);
    if (const auto id = read_identity(c.spec.kind, c.ee)) {
        c.id = *id;
    } else {
        c.id = {c.spec.description, c.spec.serial, c.spec.vid, c.spec.pid};
    }
}

}  // namespace rawlnk
