// Board discovery, the command and monitor links, the short waits, the program folder and
// the firmware version queries.
#include <filesystem>
#include <system_error>

#include "driver_binding.h"
#include "mod_Miscellaneous_Subroutines.h"
#include "ui/services.h"

namespace velmora {
namespace {

// rawlnk texts take at most 64 bytes with their NUL.
constexpr size_t kListTextSize = 64;

void fail_if(RL_STATUS status) {
    if (status != RL_OK) shared().CommsError = True;
}

// Description or serial number of device `index`; nothing when the list call fails.
bool list_text(int index, uint32_t what, std::string& out) {
    char buf[kListTextSize + 1] = {};
    auto arg = reinterpret_cast<void*>(static_cast<intptr_t>(index));
    if (driver::RL_ListDevices(arg, buf, RL_LIST_BY_INDEX | what) != RL_OK) return false;
    out.assign(buf);  // cut at the first NUL; buf ends in one whatever the driver wrote
    return true;
}

// Opens the device by serial number into USB_Handle. A link still open is released
// first, so the one handle the program keeps is never overwritten and lost.
RL_STATUS open_by_serial(const std::string& serial) {
    SharedState& s = shared();
    if (s.USB_Handle) driver::RL_Close(s.USB_Handle);
    RL_HANDLE h = nullptr;
    RL_STATUS st =
        driver::RL_OpenEx(const_cast<char*>(serial.c_str()), RL_OPEN_BY_SERIAL_NUMBER, &h);
    s.USB_Handle = st == RL_OK ? h : nullptr;
    return st;
}

void open_link(uint32_t baud) {
    SharedState& s = shared();
    if (open_by_serial(s.BoardSerial) != RL_OK) {
        s.CommsError = True;
        return;
    }
    // Every setting is tried even after one failed.
    s.USB_Status = static_cast<int32_t>(driver::RL_SetBaudRate(s.USB_Handle, baud));
    fail_if(static_cast<RL_STATUS>(s.USB_Status));
    fail_if(
        driver::RL_SetDataCharacteristics(s.USB_Handle, RL_BITS_8, RL_STOP_BITS_1, RL_PARITY_NONE));
    fail_if(driver::RL_SetFlowControl(s.USB_Handle, RL_FLOW_RTS_CTS, 0, 0));
    fail_if(driver::RL_SetTimeouts(s.USB_Handle, 500, 500));
}

void busy_wait(double secs) {
    auto& clock = platform::ui::clock();
    const double until = clock.seconds() + secs;
    while (clock.seconds() < until) {
    }
}

// Writes `letter` CR and reads one byte into RxBuffer; the read's status, or nothing
// when no link is open.
// Choice: with no link open (the About box over a closed monitor) nothing is sent, the
// version text keeps the last answer, and CommsError tells the query failed.
bool query_version(char letter, RL_STATUS& read_status) {
    SharedState& s = shared();
    if (!s.USB_Handle) {
        s.CommsError = True;
        return false;
    }
    const char frame[2] = {letter, '\r'};
    uint32_t written = 0;
    fail_if(driver::RL_Write(s.USB_Handle, frame, 2, &written));
    s.BytesWritten = static_cast<int32_t>(written);
    uint32_t got = 0;
    read_status = driver::RL_Read(s.USB_Handle, s.RxBuffer.data(), 1, &got);
    s.USB_Status = static_cast<int32_t>(read_status);
    s.BytesReturned = static_cast<int32_t>(got);
    return true;
}

}  // namespace

std::string Get_Serial_Number(int index) {
    std::string serial;
    return list_text(index, RL_LIST_SERIAL_NUMBER, serial) ? serial : std::string();
}

std::string Find_Board() {
    uint32_t count = 0;
    if (driver::RL_ListDevices(&count, nullptr, RL_LIST_NUMBER_ONLY) != RL_OK || count == 0)
        return {};
    for (uint32_t i = 0; i < count; ++i) {
        const int index = static_cast<int>(i);
        std::string description;
        if (!list_text(index, RL_LIST_DESCRIPTION, description)) continue;
        if (description != kBoardDescription) continue;
        std::string serial = Get_Serial_Number(index);
        console_controls().set_SNlabel(serial);
        // A board that does not open is in use by another instance: try the next one.
        if (open_by_serial(serial) == RL_OK) {
            Close_USB();
            return serial;
        }
    }
    return {};
}

void Open_USB_Cmd() {
    open_link(kCommandBaud);
}

void Open_USB_Monitor() {
    open_link(kMonitorBaud);
}

void Close_USB() {
    SharedState& s = shared();
    if (!s.USB_Handle) {
        s.CommsError = True;
        return;
    }
    fail_if(driver::RL_Close(s.USB_Handle));
    // A handle that failed to close is of no further use either.
    s.USB_Handle = nullptr;
}

void Delay_250ms() {
    busy_wait(0.25);
}

void Delay_50ms() {
    busy_wait(0.05);
}

std::string folder_of_program(std::string_view program_path) {
    auto slash = program_path.rfind('/');
    if (slash == std::string_view::npos) return {};
    return std::string(program_path.substr(0, slash));
}

std::string App_Folder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : folder_of_program(exe.string());
}

void Read_Version_V() {
    SharedState& s = shared();
    // A query with no answer yields "0", also when an earlier read (a capture chunk) left
    // another byte at the head of the buffer.
    s.RxBuffer[0] = 0;
    RL_STATUS st = RL_OK;
    if (query_version('V', st)) s.FirmwareVersionText = std::to_string(s.RxBuffer[0]);
}

void Read_Version_W() {
    SharedState& s = shared();
    RL_STATUS st = RL_OK;
    if (query_version('W', st) && st == RL_OK)
        s.FirmwareVersionText = std::to_string(s.RxBuffer[0]);
}

}  // namespace velmora
