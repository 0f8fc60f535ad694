#include "bus.h"

#include <algorithm>

namespace rawlnk {
namespace {

constexpr int kPageCode = 0x00;
constexpr int kClearFaults = 0x03;
constexpr int kFirstStatus = 0x78, kLastStatus = 0x7E;

// The first n bytes of a register, low byte first.
uint32_t little_endian(const std::vector<uint8_t>& r, size_t n) {
    uint32_t v = 0;
    for (size_t i = 0; i < r.size() && i < n; ++i) v |= static_cast<uint32_t>(r[i]) << (8 * i);
    return v;
}

}  // namespace

void Bus::load(const std::vector<BusDeviceSpec>& devices) {
    devices_.clear();
    for (const auto& s : devices) devices_.push_back({s.addr, s.preset, s.pages, 0, 0, s.regs});
}

const Bus::Device* Bus::find(uint8_t addr) const {
    for (const auto& d : devices_)
        if (d.addr == (addr & 0xFE)) return &d;
    return nullptr;
}

Bus::Device* Bus::find(uint8_t addr) {
    return const_cast<Device*>(static_cast<const Bus*>(this)->find(addr));
}

// A paged register of the given page, else the device-wide one.
const std::vector<uint8_t>* Bus::lookup(const Device& d, int code, int page) {
    if (d.pages > 0) {
        const auto it = d.regs.find({page == kNotPaged ? d.page : page, code});
        if (it != d.regs.end()) return &it->second;
    }
    const auto it = d.regs.find({kNotPaged, code});
    return it != d.regs.end() ? &it->second : nullptr;
}

std::vector<uint8_t>* Bus::lookup(Device& d, int code, int page) {
    return const_cast<std::vector<uint8_t>*>(lookup(static_cast<const Device&>(d), code, page));
}

bool Bus::send_byte(uint8_t addr, uint8_t cmd) {
    Device* d = find(addr);
    if (!d) return false;
    d->last_cmd = cmd;
    if (d->preset == Preset::Pmbus && cmd == kClearFaults) {
        for (int code = kFirstStatus; code <= kLastStatus; ++code)
            if (auto* r = lookup(*d, code, kNotPaged)) std::fill(r->begin(), r->end(), 0);
    }
    return true;
}

std::optional<uint8_t> Bus::receive_byte(uint8_t addr) const {
    const Device* d = find(addr);
    if (!d) return std::nullopt;
    const auto* r = lookup(*d, d->last_cmd, kNotPaged);
    return r && !r->empty() ? (*r)[0] : 0;
}

bool Bus::write(uint8_t addr, int code, const uint8_t* data, size_t n) {
    Device* d = find(addr);
    if (!d) return false;
    if (d->pages > 0 && code == kPageCode) {
        // Only pages the device has are acknowledged.
        if (n != 1 || data[0] >= d->pages) return false;
        d->page = data[0];
        return true;
    }
    std::vector<uint8_t>* r = lookup(*d, code, kNotPaged);
    if (!r) r = &d->regs[{d->pages > 0 ? d->page : kNotPaged, code}];
    r->assign(data, data + n);
    return true;
}

std::optional<uint16_t> Bus::read(uint8_t addr, int code, int n) const {
    const Device* d = find(addr);
    if (!d) return std::nullopt;
    if (d->pages > 0 && code == kPageCode) return d->page;
    const auto* r = lookup(*d, code, kNotPaged);
    return r ? static_cast<uint16_t>(little_endian(*r, static_cast<size_t>(n))) : 0;
}

bool Bus::read_block(uint8_t addr, int code, std::vector<uint8_t>& out) const {
    const Device* d = find(addr);
    if (!d) return false;
    const auto* r = lookup(*d, code, kNotPaged);
    out.clear();
    if (r) out.assign(r->begin(), r->begin() + static_cast<long>(std::min<size_t>(r->size(), 255)));
    return true;
}

std::optional<uint32_t> Bus::get(uint8_t addr, int code, int page) const {
    const Device* d = find(addr);
    if (!d || (page != kNotPaged && page >= d->pages)) return std::nullopt;
    if (d->pages > 0 && code == kPageCode) return d->page;
    const auto* r = lookup(*d, code, page);
    if (!r) return std::nullopt;
    return little_endian(*r, 4);
}

bool Bus::set(uint8_t addr, int code, int page, uint32_t value) {
    Device* d = find(addr);
    if (!d || (page != kNotPaged && page >= d->pages)) return false;
    if (d->pages > 0 && code == kPageCode) {
        if (value >= static_cast<uint32_t>(d->pages)) return false;
        d->page = static_cast<uint8_t>(value);
        return true;
    }
    std::vector<uint8_t>* r = lookup(*d, code, page);
    if (!r) {
        const int key_page = d->pages > 0 ? (page == kNotPaged ? d->page : page) : kNotPaged;
        r = &d->regs[{key_page, code}];
        r->assign(2, 0);
    }
    if (r->size() > 2) return false;  // blocks are set through the world text
    for (size_t i = 0; i < r->size(); ++i) (*r)[i] = static_cast<uint8_t>(value >> (8 * i));
    return true;
}

}  // namespace rawlnk
