// The two removal sequences and the dialog's command handling.
#include <cstdio>

#include "drendle.h"
#include "ui/services.h"
#include "ulib.h"
#include "win/winsys.h"

namespace drendle {
namespace win = platform::win;

int os_version_code = -1;

namespace {

constexpr const char* kEnumUsbDevice9x = "Enum\\USB\\VID_4B1D&PID_C738";
constexpr const char* kOemNames9x =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Setup\\SetupX\\INF\\OEM Name";
constexpr const char* kUsbClass9x = "System\\CurrentControlSet\\Services\\Class\\USB";
constexpr const char* kUninstall9x =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZOQSPI";
constexpr const char* kDriverService9x = "System\\CurrentControlSet\\Services\\ZOQSPI";
constexpr const char* kLibraryService9x = "System\\CurrentControlSet\\Services\\RAWLNK";

constexpr const char* kUsbClassNT =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{36FC9E60-C465-11CF-8056-444553540000}";
constexpr const char* kUsbInterfacesNT =
    "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
constexpr const char* kEnumUsbDeviceNT = "SYSTEM\\CurrentControlSet\\Enum\\USB\\VID_4B1D&PID_C738";
constexpr const char* kBoardInterfacesNT =
    "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{6e3a41d2-0c9b-4d57-8a1f-3b2c7d904e15}";
constexpr const char* kArpCacheNT =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache\\ZOQSPI";
constexpr const char* kUninstallNT =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZOQSPI";

// Deletes folder + name when that path can be built; the sequences' file steps say nothing.
void DeleteSystemFile(const char* folder, const char* name, bool only_if_present) {
    char path[MAX_PATH];
    if (!JoinPath(path, folder, name)) return;
    if (only_if_present && !FileExists(path)) return;
    win::winsys().delete_file(path);
}

}  // namespace

int RemoveDriver9x() {
    InitSystemPaths();
    DeleteSystemFile(WinDir, "system\\rawlnk.dll", false);
    DeleteSystemFile(DriversDir, "rawlnk.sys", false);
    Nukekey(win::HKEY_LOCAL_MACHINE, kEnumUsbDevice9x);
    RemoveOemInfEntries(kOemNames9x);
    RemoveClassKeys(kUsbClass9x);
    Nukekey(win::HKEY_LOCAL_MACHINE, kUninstall9x);
    Nukekey(win::HKEY_LOCAL_MACHINE, kDriverService9x);
    Nukekey(win::HKEY_LOCAL_MACHINE, kLibraryService9x);
    return 1;
}

int RemoveDriverNT() {
    InitSystemPaths();
    DeleteSystemFile(DriversDir, "rawlnk.sys", true);
    DeleteSystemFile(WinDir, "system32\\rawlnk.dll", true);
    EnablePrivilege("SeTakeOwnershipPrivilege");
    EnablePrivilege("SeSecurityPrivilege");
    RemoveClassKeys(kUsbClassNT);
    RemoveDeviceInterfaceKeys(kUsbInterfacesNT);
    RemKey(win::HKEY_LOCAL_MACHINE, kEnumUsbDeviceNT);
    Nukekey(win::HKEY_LOCAL_MACHINE, kBoardInterfacesNT);
    Nukekey(win::HKEY_LOCAL_MACHINE, kArpCacheNT);
    Nukekey(win::HKEY_LOCAL_MACHINE, kUninstallNT);
    std::printf("Driver cleanup completed.\n");
    return 1;
}

int MainDlgProc(int command_id) {
    switch (command_id) {
        case IDOK: {
            os_version_code = GetOsVersionCode();
            const int done = os_version_code < 0x500 ? RemoveDriver9x() : RemoveDriverNT();
            // The lines are seen only when the output is redirected; flush them before
            // the box waits for the user.
            std::fflush(stdout);
            if (done)
                platform::ui::show_message(kDoneText, platform::ui::Buttons::Ok,
                                           platform::ui::Icon::None, kDoneTitle);
            return 1;
        }
        case IDCANCEL:
            return 1;
        default:
            return 0;
    }
}

}  // namespace drendle
