#include "default_image.h"

#include <cstdlib>
#include <filesystem>

#include "files/atomic_file.h"

namespace platform::win {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kConfig = R"(WINSYS-CONFIG 1
; A Windows 2000 PC on which the board's driver was installed; the program runs as the
; local Administrator, who holds the usual privileges of the Administrators group.
version=5.0
platform=nt
windir=C:\WINNT
user=Administrator,ZOQ-PC,S-1-5-21-1757981266-1645522239-854245398-500
group=S-1-5-32-544
group=S-1-5-32-545
group=S-1-1-0
group=S-1-5-4
group=S-1-5-11
privilege=SeSecurityPrivilege
privilege=SeTakeOwnershipPrivilege
privilege=SeBackupPrivilege
privilege=SeRestorePrivilege
privilege=SeShutdownPrivilege
privilege=SeDebugPrivilege
privilege=SeLoadDriverPrivilege
privilege=SeChangeNotifyPrivilege
privilege=SeSystemtimePrivilege
)";

constexpr std::string_view kBoardInf = R"(; zoqspi.inf: ZOQ USB device driver
[Version]
Signature="$CHICAGO$"
Class=USB
ClassGUID={36FC9E60-C465-11CF-8056-444553540000}
Provider=%ZOQ%
DriverVer=03/14/2005,2.08.14

[Manufacturer]
%ZOQ%=ZOQDevices

[ZOQDevices]
%DeviceDesc%=ZOQSPI,USB\VID_4B1D&PID_C738

[ZOQSPI.NT]
CopyFiles=ZOQSPI.Sys,ZOQSPI.Dll

[ZOQSPI.NT.Services]
AddService=ZOQSPI,2,ZOQSPI.Service

[ZOQSPI.Service]
ServiceType=1
StartType=3
ErrorControl=1
ServiceBinary=%12%\rawlnk.sys

[ZOQSPI.Sys]
rawlnk.sys

[ZOQSPI.Dll]
rawlnk.dll

[DestinationDirs]
ZOQSPI.Sys=12
ZOQSPI.Dll=11

[Strings]
ZOQ="ZOQ"
DeviceDesc="ZOQ USB Device"
)";

}  // namespace

std::string_view default_config_text() {
    return kConfig;
}

const std::vector<ImageFile>& default_image_files() {
    static const std::vector<ImageFile> files{
        {"win.ini", "; for 16-bit app support\r\n[fonts]\r\n[extensions]\r\n[mci extensions]\r\n"},
        {"system.ini", "; for 16-bit app support\r\n[drivers]\r\nwave=mmdrv.dll\r\n"},
        {"system/ver.dll", "MZ placeholder: 16-bit version library\n"},
        {"system32/kernel32.dll", "MZ placeholder: kernel32.dll\n"},
        {"system32/setupapi.dll", "MZ placeholder: setupapi.dll\n"},
        {"system32/rawlnk.dll", "MZ placeholder: rawlnk.dll 2.08.14 (board driver library)\n"},
        {"system32/drivers/rawlnk.sys", "MZ placeholder: rawlnk.sys 2.08.14 (board driver)\n"},
        {"system32/drivers/usbhub.sys", "MZ placeholder: usbhub.sys\n"},
        {"system32/drivers/usbd.sys", "MZ placeholder: usbd.sys\n"},
        {"system32/drivers/serial.sys", "MZ placeholder: serial.sys\n"},
        {"inf/usb.inf", "; usb.inf: USB host controllers and hubs\r\n[Version]\r\nClass=USB\r\n"},
        {"inf/msports.inf", "; msports.inf: ports\r\n[Version]\r\nClass=Ports\r\n"},
        {"inf/oem3.inf", kBoardInf},
        {"inf/oem4.inf", "; zoqlog.inf: ZOQ USB Logger\r\n[Version]\r\nClass=USB\r\n"},
    };
    return files;
}

bool write_default_image(const std::string& root, std::string* error) {
    auto write = [&](const fs::path& path, std::string_view bytes) {
        std::error_code ec;
        fs::create_directories(path.parent_path(), ec);
        if (!ec && files::write_file_atomically(path.string(), bytes)) return true;
        *error = "winsys: cannot write " + path.string();
        return false;
    };
    for (const ImageFile& f : default_image_files())
        if (!write(fs::path(root) / kWindowsFolderName / f.path, f.bytes)) return false;
    return write(fs::path(root) / kConfigFileName, kConfig) &&
           write(fs::path(root) / kHiveFileName, default_hive_text());
}

std::string machine_root() {
    if (const char* root = std::getenv("WINSYS_ROOT"); root && *root) return root;
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state)
        return (fs::path(state) / "winsys").string();
    const char* home = std::getenv("HOME");
    return (fs::path(home && *home ? home : ".") / ".local" / "state" / "winsys").string();
}

std::unique_ptr<WinSystem> open_machine(std::string* error) {
    const std::string root = machine_root();
    const char* named = std::getenv("WINSYS_ROOT");
    std::error_code ec;
    if (!(named && *named) && !fs::exists(fs::path(root) / kHiveFileName, ec))
        if (!write_default_image(root, error)) return nullptr;
    return WinSystem::load(root, error);
}

}  // namespace platform::win
