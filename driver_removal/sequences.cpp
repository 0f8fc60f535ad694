// The two removal sequences and the dialog's command handling.
#include <cstdio>

#include "drendle.h"
#include "ui/services.h"
#include "ulib.h"

namespace drendle {
namespace win = platform::win;

int os_version_code = -1;
int failed_steps = 0;

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

// Deletes folder + name when that path can be built. The sequences' file steps say
// nothing, unless the file is there and stays: then the line names it, for the box.
void DeleteSystemFile(const char* folder, const char* name, bool only_if_present) {
    char path[MAX_PATH];
    if (!JoinPath(path, folder, name)) return;
    if (only_if_present && !FileExists(path)) return;
    if (RemoveFile(path)) return;
    std::printf("DELETING file %s...FAILED!\n", path);
    ++failed_steps;
}

// A key deletion of the sequences. A key still there failed, whatever the deletion
// returned (one that cannot be opened counts as removed there); the line names it.
void RemoveKey(int (*remove)(Hkey, const char*), const char* path) {
    if (RemovedKey(remove, win::HKEY_LOCAL_MACHINE, path)) return;
    std::printf("Deleting key %s...FAILED!\n", path);
    ++failed_steps;
}

}  // namespace

int RemoveDriver9x() {
    failed_steps = 0;
    InitSystemPaths();
    DeleteSystemFile(WinDir, "system\\rawlnk.dll", false);
    DeleteSystemFile(DriversDir, "rawlnk.sys", false);
    RemoveKey(Nukekey, kEnumUsbDevice9x);
    RemoveOemInfEntries(kOemNames9x);
    RemoveClassKeys(kUsbClass9x);
    RemoveKey(Nukekey, kUninstall9x);
    RemoveKey(Nukekey, kDriverService9x);
    RemoveKey(Nukekey, kLibraryService9x);
    return 1;
}

int RemoveDriverNT() {
    failed_steps = 0;
    InitSystemPaths();
    DeleteSystemFile(DriversDir, "rawlnk.sys", true);
    DeleteSystemFile(WinDir, "system32\\rawlnk.dll", true);
    EnablePrivilege("SeTakeOwnershipPrivilege");
    EnablePrivilege("SeSecurityPrivilege");
    RemoveClassKeys(kUsbClassNT);
    RemoveDeviceInterfaceKeys(kUsbInterfacesNT);
    RemoveKey(RemKey, kEnumUsbDeviceNT);
    RemoveKey(Nukekey, kBoardInterfacesNT);
    RemoveKey(Nukekey, kArpCacheNT);
    RemoveKey(Nukekey, kUninstallNT);
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
            namespace ui = platform::ui;
            // The words of success only for a removal that left nothing behind.
            if (done && failed_steps == 0)
                ui::show_message(kDoneText, ui::Buttons::Ok, ui::Icon::None, kDoneTitle);
            else if (done)
                ui::show_message(kIncompleteText, ui::Buttons::Ok, ui::Icon::Warning,
                                 kDialogCaption);
            return 1;
        }
        case IDCANCEL:
            return 1;
        default:
            return 0;
    }
}

}  // namespace drendle
