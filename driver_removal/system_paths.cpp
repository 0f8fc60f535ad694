// The Windows folders the sequences delete files in.
#include <cstring>

#include "drendle.h"
#include "win/win_paths.h"
#include "win/winsys.h"

namespace drendle {

char WinDir[MAX_PATH];
char DriversDir[MAX_PATH];
char InfDir[MAX_PATH];

bool JoinPath(char (&out)[MAX_PATH], const char* folder, const char* name) {
    out[0] = '\0';
    const size_t a = std::strlen(folder), b = std::strlen(name);
    // An empty folder would turn the name into a path relative to wherever we run.
    if (a == 0 || a + b > MAX_PATH - 1) return false;
    std::memcpy(out, folder, a);
    std::memcpy(out + a, name, b + 1);
    return true;
}

void InitSystemPaths() {
    WinDir[0] = DriversDir[0] = InfDir[0] = '\0';
    const uint32_t n = platform::win::winsys().get_windows_directory(WinDir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        WinDir[0] = '\0';
        return;
    }
    if (WinDir[n - 1] != '\\') {
        if (n + 1 > MAX_PATH - 1) {
            WinDir[0] = '\0';
            return;
        }
        WinDir[n] = '\\';
        WinDir[n + 1] = '\0';
    }
    JoinPath(DriversDir, WinDir, "system32\\drivers\\");
    JoinPath(InfDir, WinDir, "inf\\");
}

std::string WindowsFolderText() {
    auto& w = platform::win::winsys();
    std::string dir(w.get_windows_directory(nullptr, 0), '\0');
    const uint32_t n = w.get_windows_directory(dir.data(), static_cast<uint32_t>(dir.size()));
    dir.resize(n < dir.size() ? n : 0);
    if (!dir.empty() && dir.back() != '\\') dir += '\\';
    return dir;
}

bool InInfFolder(const char* path) {
    return InfDir[0] != '\0' && platform::win::names_below(InfDir, path).has_value();
}

}  // namespace drendle
