// The two removal sequences and the dialog's command handling.
#include <cctype>
#include <cstdio>
#include <functional>
#include <set>
#include <string>

#include "drendle.h"
#include "ui/services.h"
#include "ulib.h"
#include "win/hive.h"
#include "win/text_fields.h"
#include "win/winsys.h"

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

// The announced subjects of this run, case folded.
std::set<std::string> announced;

std::string Folded(const std::string& s) {
    std::string out = s;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

void StartRun() {
    failed_steps = 0;
    announced.clear();
    InitSystemPaths();
}

// A file the sequences delete by its fixed place: `folder` (WinDir or DriversDir), which
// lies at `below_windir` in the Windows folder, and the name.
struct SystemFile {
    const char* folder;
    const char* below_windir;
    const char* name;
};
const SystemFile kFiles9x[] = {{WinDir, "", "system\\rawlnk.dll"},
                               {DriversDir, "system32\\drivers\\", "rawlnk.sys"}};
const SystemFile kFilesNT[] = {{DriversDir, "system32\\drivers\\", "rawlnk.sys"},
                               {WinDir, "", "system32\\rawlnk.dll"}};

// The file's path into `out`. When it cannot be built within 259 characters: false, and
// the path as text of any length for the line that says so.
bool BuildPath(const SystemFile& f, char (&out)[MAX_PATH], std::string* text) {
    if (JoinPath(out, f.folder, f.name)) return (*text = out, true);
    *text = WindowsFolderText() + f.below_windir + f.name;
    return false;
}

// A file step of the sequences: silent unless the file is there and stays, or its path
// cannot be built; then the line names it.
void DeleteSystemFile(const SystemFile& f, bool only_if_present) {
    char path[MAX_PATH];
    std::string text;
    const bool built = BuildPath(f, path, &text);
    if (built && only_if_present && !FileExists(path)) return;
    if (built && RemoveFile(path)) return;
    std::printf("DELETING file %s...", text.c_str());
    PrintResult(false, text);
}

// A key deletion of the sequences. A key still there failed, whatever the deletion
// returned (one that cannot be opened counts as removed there); the line names it.
void RemoveKey(int (*remove)(Hkey, const char*), const char* path) {
    if (RemovedKey(remove, win::HKEY_LOCAL_MACHINE, path)) return;
    std::printf("Deleting key %s...", path);
    PrintResult(false, path);
}

// What the look after a run found: each thing left gets a line unless a step's had it.
class Leftovers {
  public:
    void Left(const std::string& what) {
        clean_ = false;
        if (!Announced(what)) std::printf("Still there: %s\n", what.c_str());
    }
    bool clean() const { return clean_; }

    void File(const SystemFile& f) {
        char path[MAX_PATH];
        std::string text;
        if (!BuildPath(f, path, &text) || FileExists(path)) Left(text);
    }
    void Key(const char* path) {
        Hkey key;
        if (!Open(path, &key)) return;
        win::winsys().close_key(key);
        Left(path);
    }
    // The subkeys of `path` that `board` picks; a key that cannot be walked is left.
    void Subkeys(const char* path, const std::function<bool(Hkey, const char*)>& board) {
        Hkey key;
        if (!Open(path, &key)) return;
        for (uint32_t i = 0;; ++i) {
            char name[win::kMaxKeyNameLength + 1];
            uint32_t len = sizeof name;
            const int32_t status = win::winsys().enum_key(key, i, name, &len);
            if (status == win::ERROR_NO_MORE_ITEMS) break;
            if (status != win::ERROR_SUCCESS) {
                Left(path);
                break;
            }
            if (board(key, name)) Left(std::string(path) + "\\" + name);
        }
        win::winsys().close_key(key);
    }
    // The values of `path` that name the board's INF, whatever their size.
    void OemEntries(const char* path) {
        Hkey key;
        if (!Open(path, &key)) return;
        std::string name, data;
        uint32_t type = 0;
        for (uint32_t i = 0;; ++i) {
            const int32_t status = EnumValueWhole(key, i, &name, &type, &data);
            if (status == win::ERROR_NO_MORE_ITEMS) break;
            if (status != win::ERROR_SUCCESS) {
                Left(path);
                break;
            }
            const std::string text(data.c_str());  // up to its terminator
            if (type == win::REG_SZ && win::equal_no_case(text, kBoardInfName))
                Left(OemEntry(path, name.c_str()));
        }
        win::winsys().close_key(key);
    }

  private:
    // Only a key that is not there holds nothing.
    bool Open(const char* path, Hkey* key) {
        const int32_t status = OpenKeyAccess(win::HKEY_LOCAL_MACHINE, path, win::KEY_READ, key);
        if (status != win::ERROR_SUCCESS && status != win::ERROR_FILE_NOT_FOUND) Left(path);
        return status == win::ERROR_SUCCESS;
    }

    bool clean_ = true;
};

bool ClassKeyLeft(Hkey walked, const char* name) {
    return LookAtClassKey(walked, name).kind != ClassKey::Other;
}

bool InterfaceLeft(Hkey, const char* name) {
    return IsBoardInterface(name);
}

}  // namespace

void PrintResult(bool ok, const std::string& subject) {
    std::printf(ok ? "done\n" : "FAILED!\n");
    if (ok) return;
    ++failed_steps;
    announced.insert(Folded(subject));
}

bool Announced(const std::string& subject) {
    return announced.count(Folded(subject)) != 0;
}

bool NothingOfTheBoardLeft(bool nt) {
    InitSystemPaths();
    Leftovers left;
    if (nt) {
        for (const SystemFile& f : kFilesNT) left.File(f);
        left.Subkeys(kUsbClassNT, ClassKeyLeft);
        left.Subkeys(kUsbInterfacesNT, InterfaceLeft);
        for (const char* key : {kEnumUsbDeviceNT, kBoardInterfacesNT, kArpCacheNT, kUninstallNT})
            left.Key(key);
    } else {
        for (const SystemFile& f : kFiles9x) left.File(f);
        left.Key(kEnumUsbDevice9x);
        left.OemEntries(kOemNames9x);
        left.Subkeys(kUsbClass9x, ClassKeyLeft);
        for (const char* key : {kUninstall9x, kDriverService9x, kLibraryService9x}) left.Key(key);
    }
    return left.clean();
}

int RemoveDriver9x() {
    StartRun();
    for (const SystemFile& f : kFiles9x) DeleteSystemFile(f, false);
    RemoveKey(Nukekey, kEnumUsbDevice9x);
    RemoveOemInfEntries(kOemNames9x);
    RemoveClassKeys(kUsbClass9x);
    RemoveKey(Nukekey, kUninstall9x);
    RemoveKey(Nukekey, kDriverService9x);
    RemoveKey(Nukekey, kLibraryService9x);
    return 1;
}

int RemoveDriverNT() {
    StartRun();
    for (const SystemFile& f : kFilesNT) DeleteSystemFile(f, true);
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
            auto& w = win::winsys();
            w.take_save_failure();
            os_version_code = GetOsVersionCode();
            const bool nt = os_version_code >= 0x500;
            const int done = nt ? RemoveDriverNT() : RemoveDriver9x();
            // The words of success only when no step failed and a look afterwards finds
            // nothing of the board.
            const bool complete = NothingOfTheBoardLeft(nt) && failed_steps == 0;
            // The lines are seen only when the output is redirected; flush them before
            // the box waits for the user.
            std::fflush(stdout);
            // Every step fails alike when the registry cannot be saved: one line says why.
            if (const std::string why = w.take_save_failure(); !why.empty())
                std::fprintf(stderr, "%s\n", why.c_str());
            namespace ui = platform::ui;
            if (done && complete)
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
