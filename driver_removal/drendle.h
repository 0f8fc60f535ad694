// drendle's main module: the Windows folders, the two removal sequences, the walks over
// device keys and the dialog's command handling. Everything here is plain C++; the
// dialog window (dlg_main.h) only forwards its buttons to MainDlgProc.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "regfun.h"
#include "win/win_types.h"

namespace drendle {

using platform::win::MAX_PATH;

// Filled by InitSystemPaths; WinDir always ends in a backslash. A folder that could
// not be built within 259 characters is left empty, and every step that needs it fails
// with its line.
extern char WinDir[MAX_PATH];
extern char DriversDir[MAX_PATH];
extern char InfDir[MAX_PATH];

// Code of the Windows version found when OK was pressed (-1 before).
extern int os_version_code;
// Steps of the running removal that failed, each with a line saying so; the final box
// tells a complete removal only when there were none and nothing of the board is left.
extern int failed_steps;

// How the board's device shows in the keys and values matched.
inline constexpr std::string_view kMatchingDeviceId = "usb\\vid_4b1d&pid_c738";
inline constexpr std::string_view kInterfacePrefix = "##?#USB#VID_4B1D&PID_C738";
inline constexpr std::string_view kBoardInfName = "zoqspi.inf";
inline constexpr uint32_t kWalkBufferSize = 300;

// Dialog resource texts.
inline constexpr const char* kDialogCaption = "ZOQ USB Driver Removal";
inline constexpr const char* kDialogText =
    "\n\rIf the USB device is connected, please remove it now.";
inline constexpr const char* kDoneText = "Driver uninstallation completed";
inline constexpr const char* kDoneTitle = "All Done!";
inline constexpr const char* kIncompleteText =
    "Driver uninstallation did not complete.\nThe printed lines list the steps that failed.";
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDC_TEXT = 1000;

void InitSystemPaths();
// The Windows folder with its backslash, at whatever length the system reports it: for
// lines about a path too long to build.
std::string WindowsFolderText();
// folder + name into out; false (out empty) when the folder is empty or the result
// would exceed 259 characters.
bool JoinPath(char (&out)[MAX_PATH], const char* folder, const char* name);
// True when `path` names something below the Windows inf folder: the only files a
// registry value may have removed.
bool InInfFolder(const char* path);

// The result word of a step, "done\n" or "FAILED!\n". A failure counts against the
// final box, and its line has named `subject` (a key, an entry or a file).
void PrintResult(bool ok, const std::string& subject);
// Whether a failed step's line has named `subject` in this run (case ignored).
bool Announced(const std::string& subject);
// "Reading key %s...FAILED!": a key whose entries could not all be looked at.
void ReportUnread(const std::string& key);

// A subkey of a driver class key as the removal sees it.
struct ClassKey {
    enum Kind { Other, Board, Unreadable } kind = Other;
    bool has_inf = false;
    std::string inf;  // its InfPath, when it has one, whatever its length
};
// Looks at subkey `name` of the open class key, changing and printing nothing.
ClassKey LookAtClassKey(Hkey walked, const char* name);
bool IsBoardInterface(std::string_view subkey_name);
// How an OEM entry is named in lines: the key's path and the value's name.
std::string OemEntry(const char* key, const char* name);

// Looks, changing nothing, at every place the sequence of that family removes things
// from, and prints a line for each thing of the board still there that no failed step
// named. True when nothing is left and every place could be looked at.
bool NothingOfTheBoardLeft(bool nt);

int RemoveDriver9x();
int RemoveDriverNT();
void RemoveOemInfEntries(const char* key);
void RemoveClassKeys(const char* key);
void RemoveDeviceInterfaceKeys(const char* key);

// Handles a command of the dialog "dlgMAIN". OK runs the removal that fits the Windows
// version and shows the final box; OK and Cancel return 1, after which the dialog is
// destroyed and the program ends with code 0. Other commands return 0.
int MainDlgProc(int command_id);

}  // namespace drendle
