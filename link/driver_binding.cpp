#include "driver_binding.h"

#include <dlfcn.h>

#include <map>

namespace velmora::driver {
namespace {

// One user-interface thread calls the driver, so the binding needs no lock.
struct Binding {
    std::string name = "librawlnk.so";
    void* library = nullptr;
    std::map<std::string, void*, std::less<>> functions;
};

Binding& binding() {
    static Binding b;
    return b;
}

void* lookup(const char* symbol) {
    Binding& b = binding();
    if (auto it = b.functions.find(symbol); it != b.functions.end()) return it->second;
    // A library that failed to load is tried again at the next call: it may have been
    // installed in between.
    if (!b.library) b.library = dlopen(b.name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!b.library) return nullptr;
    void* fn = dlsym(b.library, symbol);
    if (fn) b.functions.emplace(symbol, fn);
    return fn;
}

// F is the function type declared in rawlnk.h, so a bound pointer is called with exactly
// the declared signature.
template <typename F, typename... Args>
RL_STATUS call(const char* symbol, Args... args) {
    auto* fn = reinterpret_cast<F*>(lookup(symbol));
    return fn ? fn(args...) : kDriverMissing;
}

}  // namespace

void set_library_name(const std::string& name) {
    Binding& b = binding();
    if (b.library) dlclose(b.library);
    b.library = nullptr;
    b.functions.clear();
    b.name = name;
}

const std::string& library_name() {
    return binding().name;
}

RL_STATUS RL_ListDevices(void* arg1, void* arg2, uint32_t flags) {
    return call<decltype(::RL_ListDevices)>("RL_ListDevices", arg1, arg2, flags);
}
RL_STATUS RL_OpenEx(void* arg, uint32_t flags, RL_HANDLE* handle) {
    return call<decltype(::RL_OpenEx)>("RL_OpenEx", arg, flags, handle);
}
RL_STATUS RL_Close(RL_HANDLE h) {
    return call<decltype(::RL_Close)>("RL_Close", h);
}
RL_STATUS RL_SetBaudRate(RL_HANDLE h, uint32_t baud) {
    return call<decltype(::RL_SetBaudRate)>("RL_SetBaudRate", h, baud);
}
RL_STATUS RL_SetDataCharacteristics(RL_HANDLE h, uint8_t word_length, uint8_t stop_bits,
                                    uint8_t parity) {
    return call<decltype(::RL_SetDataCharacteristics)>("RL_SetDataCharacteristics", h, word_length,
                                                       stop_bits, parity);
}
RL_STATUS RL_SetFlowControl(RL_HANDLE h, uint16_t flow, uint8_t xon, uint8_t xoff) {
    return call<decltype(::RL_SetFlowControl)>("RL_SetFlowControl", h, flow, xon, xoff);
}
RL_STATUS RL_SetTimeouts(RL_HANDLE h, uint32_t read_ms, uint32_t write_ms) {
    return call<decltype(::RL_SetTimeouts)>("RL_SetTimeouts", h, read_ms, write_ms);
}
RL_STATUS RL_Purge(RL_HANDLE h, uint32_t mask) {
    return call<decltype(::RL_Purge)>("RL_Purge", h, mask);
}
RL_STATUS RL_ResetDevice(RL_HANDLE h) {
    return call<decltype(::RL_ResetDevice)>("RL_ResetDevice", h);
}
RL_STATUS RL_Write(RL_HANDLE h, const void* bytes, uint32_t count, uint32_t* written) {
    return call<decltype(::RL_Write)>("RL_Write", h, bytes, count, written);
}
RL_STATUS RL_Read(RL_HANDLE h, void* buffer, uint32_t count, uint32_t* returned) {
    return call<decltype(::RL_Read)>("RL_Read", h, buffer, count, returned);
}
RL_STATUS RL_GetQueueStatus(RL_HANDLE h, uint32_t* rx_bytes) {
    return call<decltype(::RL_GetQueueStatus)>("RL_GetQueueStatus", h, rx_bytes);
}
RL_STATUS RL_GetDeviceInfo(RL_HANDLE h, uint32_t* type, uint32_t* id, char* serial,
                           char* description, void* spare) {
    return call<decltype(::RL_GetDeviceInfo)>("RL_GetDeviceInfo", h, type, id, serial, description,
                                              spare);
}

}  // namespace velmora::driver
