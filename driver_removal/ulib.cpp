#include "ulib.h"

#include "win/winsys.h"

namespace drendle {

namespace win = platform::win;

int FileExists(const char* path) {
    auto& w = win::winsys();
    return w.get_file_attributes(path) != win::INVALID_FILE_ATTRIBUTES ||
                   w.last_error() != static_cast<uint32_t>(win::ERROR_FILE_NOT_FOUND)
               ? 1
               : 0;
}

bool RemoveFile(const char* path) {
    auto& w = win::winsys();
    return w.delete_file(path) ||
           w.last_error() == static_cast<uint32_t>(win::ERROR_FILE_NOT_FOUND);
}

int GetOsVersionCode() {
    win::OsVersionInfo v;
    if (!win::winsys().get_version(&v)) return -1;
    int major = static_cast<int>(v.major);
    // NT 4.0 shares its major version with the 9x family; it is told apart as 2.
    if (v.platform == win::VER_PLATFORM_WIN32_NT && major == 4) major = 2;
    return major * 256 + static_cast<int>(v.minor);
}

}  // namespace drendle
