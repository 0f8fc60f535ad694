#include "default_image.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>

#include "files/atomic_file.h"
#include "files/state_home.h"
#include "hive_text.h"

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

namespace {

enum class Wrote { Yes, Kept, Failed };

// Writes the file `rel` ("/"-separated) below the folder open at `root`, one opened folder
// at a time (made when missing), so that no link on the way is followed. With
// `only_missing` a file already there is kept.
Wrote write_below(int root, std::string_view rel, std::string_view bytes, bool only_missing) {
    int at = root;
    files::Fd held;
    size_t start = 0;
    for (size_t slash; (slash = rel.find('/', start)) != std::string_view::npos;
         start = slash + 1) {
        held = files::Fd(
            files::open_folder_at(at, std::string(rel.substr(start, slash - start)), true));
        if (!held.ok()) return Wrote::Failed;
        at = held.get();
    }
    const std::string name(rel.substr(start));
    struct stat st {};
    if (only_missing && ::fstatat(at, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return Wrote::Kept;
    return files::write_file_atomically_at(at, name, bytes) ? Wrote::Yes : Wrote::Failed;
}

bool exists_at(const fs::path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The board's files in the image, and what in a hive names each: a key at or below
// `under` whose value `value` is `data` (case ignored).
struct BoardFile {
    std::string_view path, under, value, data;
};
constexpr std::string_view kBoardDevice = "SYSTEM\\CurrentControlSet\\Enum\\USB\\VID_4B1D&PID_C738";
constexpr BoardFile kBoardFiles[] = {
    {"inf/oem3.inf",
     "SYSTEM\\CurrentControlSet\\Control\\Class\\{36FC9E60-C465-11CF-8056-444553540000}", "InfPath",
     "oem3.inf"},
    // The device's service runs these.
    {"system32/drivers/rawlnk.sys", kBoardDevice, "Service", "ZOQSPI"},
    {"system32/rawlnk.dll", kBoardDevice, "Service", "ZOQSPI"},
};

bool names_file(const RegKey& key, const BoardFile& f) {
    for (const RegValue& v : key.values)
        if (equal_no_case(v.name, f.value) && v.type == REG_SZ && v.data == sz_data(f.data))
            return true;
    for (const auto& sub : key.subkeys)
        if (names_file(*sub, f)) return true;
    return false;
}

// Whether an image file may be made beside the hive file at `hive_path`: any file but
// the board's, and those only while that hive names them. A removal deletes a board file
// with what named it; bringing the file back would leave it where no removal finds it.
std::function<bool(std::string_view)> image_files_for(const std::string& hive_path) {
    Hive hive;
    TextError e;
    auto text = files::read_whole_file(hive_path, kMaxHiveFileSize);
    const bool read = text && parse_hive(*text, &hive, &e);
    return [read, hive = std::move(hive)](std::string_view path) {
        for (const BoardFile& f : kBoardFiles) {
            if (f.path != path) continue;
            auto under = hive.find(f.under);
            return read && under && names_file(*under, f);
        }
        return true;
    };
}

// Writes the image into `root` (made when missing): every file, or only those missing.
// The hive comes last, so a folder with a hive is complete. The files written (paths
// below `root`), or nothing.
std::optional<std::vector<std::string>> write_image(const std::string& root, bool only_missing,
                                                    std::string* error) {
    std::error_code ec;
    fs::create_directories(root, ec);
    const files::Fd dir(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::vector<std::string> made;
    auto write = [&](const std::string& rel, std::string_view bytes) {
        const Wrote w = dir.ok() ? write_below(dir.get(), rel, bytes, only_missing) : Wrote::Failed;
        if (w == Wrote::Yes) made.push_back(rel);
        if (w == Wrote::Failed) *error = "winsys: cannot write " + (fs::path(root) / rel).string();
        return w != Wrote::Failed;
    };
    // Files a removal deleted stay deleted while the hive that no longer names them stays:
    // beside a kept hive the image's files come back only with a missing Windows folder,
    // and the board's only while that hive still names them.
    const fs::path hive_path = fs::path(root) / kHiveFileName;
    const bool hive_kept = only_missing && exists_at(hive_path);
    if (!hive_kept || !exists_at(fs::path(root) / kWindowsFolderName)) {
        std::function<bool(std::string_view)> wanted = [](std::string_view) { return true; };
        if (hive_kept) wanted = image_files_for(hive_path.string());
        for (const ImageFile& f : default_image_files())
            if (wanted(f.path) &&
                !write(std::string(kWindowsFolderName) + "/" + std::string(f.path), f.bytes))
                return std::nullopt;
    }
    if (!write(kConfigFileName, kConfig) || !write(kHiveFileName, default_hive_text()))
        return std::nullopt;
    return made;
}

// "winsys.conf, hive.txt and 14 files in windows/"
std::string made_text(const std::vector<std::string>& made) {
    std::vector<std::string> parts;
    size_t in_windows = 0;
    for (const std::string& m : made) {
        if (m.find('/') != std::string::npos)
            ++in_windows;
        else
            parts.push_back(m);
    }
    if (in_windows)
        parts.push_back(std::to_string(in_windows) + (in_windows == 1 ? " file" : " files") +
                        " in " + kWindowsFolderName + "/");
    std::string text;
    for (size_t i = 0; i < parts.size(); ++i)
        text += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    return text;
}

// The default machine's folder: $XDG_STATE_HOME/winsys or ~/.local/state/winsys; empty
// without a home folder.
std::string default_root() {
    const std::string state = files::user_state_home();
    return state.empty() ? std::string() : state + "/winsys";
}

// A machine of this process alone, for a user without a home folder: made once, removed
// at exit by the process that made it.
struct PrivateRoot {
    std::string path;
    pid_t owner = 0;
    ~PrivateRoot() {
        std::error_code ec;
        if (!path.empty() && owner == ::getpid()) fs::remove_all(path, ec);
    }
};

std::string private_root(std::string* error) {
    static PrivateRoot root;
    if (!root.path.empty()) return root.path;
    std::string templ = files::temp_folder() + "/winsys-XXXXXX";
    if (!::mkdtemp(templ.data())) {
        *error =
            "winsys: no home folder (HOME or XDG_STATE_HOME) and no folder could be made "
            "as " +
            templ + ": " + std::strerror(errno);
        return {};
    }
    root.path = templ;
    root.owner = ::getpid();
    std::fprintf(stderr,
                 "winsys: no home folder (HOME or XDG_STATE_HOME); the machine is in %s "
                 "until exit\n",
                 templ.c_str());
    return templ;
}

// Steps that make a machine for WINSYS_ROOT from where this user stands: the default
// machine is there only once a program made it.
std::string how_to_make_one() {
    const std::string copy = default_root();
    if (copy.empty())
        return "to make one, start drendle once without WINSYS_ROOT, with XDG_STATE_HOME set "
               "to an absolute folder F, and press Cancel (that makes F/winsys), then copy "
               "F/winsys there";
    if (exists_at(fs::path(copy) / kHiveFileName))
        return "to make one, copy the default machine (" + copy + ") there";
    return "to make one, start drendle once without WINSYS_ROOT and press Cancel (that makes "
           "the default machine in " +
           copy + "), then copy that folder there";
}

}  // namespace

bool write_default_image(const std::string& root, std::string* error) {
    return write_image(root, false, error).has_value();
}

std::unique_ptr<WinSystem> open_machine(std::string* error) {
    if (const char* named = std::getenv("WINSYS_ROOT"); named && *named) {
        const fs::path root(named);
        if (!exists_at(root / kConfigFileName) && !exists_at(root / kHiveFileName)) {
            *error = std::string("winsys: WINSYS_ROOT=") + named + " holds no machine; " +
                     how_to_make_one();
            return nullptr;
        }
        return WinSystem::load(named, error);
    }
    std::string root = default_root();
    const bool own = !root.empty();
    if (!own && (root = private_root(error)).empty()) return nullptr;
    const fs::path r(root);
    if (!exists_at(r / kConfigFileName) || !exists_at(r / kHiveFileName) ||
        !exists_at(r / kWindowsFolderName)) {
        auto made = write_image(root, true, error);
        if (!made) return nullptr;
        if (own && !made->empty())
            std::fprintf(stderr, "winsys: made %s of the built-in machine in %s\n",
                         made_text(*made).c_str(), root.c_str());
    }
    return WinSystem::load(root, error);
}

}  // namespace platform::win
