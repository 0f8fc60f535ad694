// The walks over device keys: OEM INF names (9x), driver class keys and device
// interface keys.
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

#include "drendle.h"
#include "ulib.h"
#include "win/text_fields.h"
#include "win/winsys.h"

namespace drendle {
namespace win = platform::win;

namespace {

// The result word of a step; a failed one counts against the final box.
void PrintResult(bool ok) {
    std::printf(ok ? "done\n" : "FAILED!\n");
    if (!ok) ++failed_steps;
}

// Deletes a file that a registry entry names, and only inside the inf folder: an entry
// pointing anywhere else is not the driver's file to remove.
bool DeleteNamedFile(const char* path) {
    return InInfFolder(path) && RemoveFile(path);
}

// The entries behind one that did not fit the walk's buffers were never visited: the
// line names the key whose walk stopped there.
void ReportCutShort(const std::string& key) {
    std::printf("Reading key %s...", key.c_str());
    PrintResult(false);
}

// Whether a walk over `key` goes on after reading an entry with `status`.
bool WalkGoesOn(int32_t status, const char* key) {
    if (status == win::ERROR_SUCCESS) return true;
    if (status != win::ERROR_NO_MORE_ITEMS) ReportCutShort(key);
    return false;
}

// Walks the subkeys of `key` and deletes, with its "Deleting key" line, each one that
// `matches` picks. After a deletion the next subkey has moved down to the same index.
void DeleteMatchingSubkeys(const char* key, const std::function<bool(Hkey, const char*)>& matches) {
    auto& w = win::winsys();
    Hkey walked;
    if (!OpenKey(win::HKEY_LOCAL_MACHINE, key, win::KEY_READ, &walked)) return;
    for (uint32_t i = 0;;) {
        char name[kWalkBufferSize];
        uint32_t len = sizeof name;
        if (!WalkGoesOn(w.enum_key(walked, i, name, &len), key)) break;
        if (!matches(walked, name)) {
            ++i;
            continue;
        }
        std::printf("Deleting key %s\\%s...", key, name);
        const bool removed = RemovedKey(Nukekey, walked, name);
        PrintResult(removed);
        if (!removed) ++i;
    }
    w.close_key(walked);
}

}  // namespace

void RemoveOemInfEntries(const char* key) {
    auto& w = win::winsys();
    Hkey hkey;
    if (!OpenKey(win::HKEY_LOCAL_MACHINE, key, win::KEY_READ, &hkey)) return;
    for (uint32_t i = 0;;) {
        char name[kWalkBufferSize];
        char data[kWalkBufferSize];
        uint32_t name_len = sizeof name, data_len = sizeof data, type = 0;
        if (!WalkGoesOn(w.enum_value(hkey, i, name, &name_len, &type,
                                     reinterpret_cast<uint8_t*>(data), &data_len),
                        key))
            break;
        // The data up to its terminator, never past what was read.
        const std::string text(data, strnlen(data, data_len));
        if (type != win::REG_SZ || !win::equal_no_case(text, kBoardInfName)) {
            ++i;
            continue;
        }
        std::printf("DELETING file %s...", name);
        PrintResult(DeleteNamedFile(name));
        std::printf("DELETING entry %s  ->  %s...", name, text.c_str());
        const bool deleted = w.delete_value(hkey, name) == win::ERROR_SUCCESS;
        PrintResult(deleted);
        if (!deleted) ++i;  // after a deletion the next value has moved down to i
    }
    w.close_key(hkey);
}

void RemoveClassKeys(const char* key) {
    DeleteMatchingSubkeys(key, [key](Hkey walked, const char* name) {
        Hkey sub;
        if (!OpenKey(walked, name, win::KEY_READ, &sub)) return false;
        // A value too long to read hides whether the key is the board's, or which file it
        // names: such a key stays, and its line says so.
        bool cut = false;
        char id[kValueBufferSize];
        char inf[kValueBufferSize];
        const bool board = ReadNamedValue(sub, "MatchingDeviceId", id, &cut) &&
                           win::equal_no_case(id, kMatchingDeviceId);
        const bool has_inf = board && ReadNamedValue(sub, "InfPath", inf, &cut);
        win::winsys().close_key(sub);
        if (cut) ReportCutShort(std::string(key) + "\\" + name);
        if (!board || cut) return false;
        if (has_inf) {
            char path[MAX_PATH];
            // A path too long for the buffer is skipped, never cut into another path.
            const bool joined = JoinPath(path, InfDir, inf);
            std::printf("Unlinking %s%s...", joined ? path : InfDir, joined ? "" : inf);
            PrintResult(joined && DeleteNamedFile(path));
        }
        return true;
    });
}

void RemoveDeviceInterfaceKeys(const char* key) {
    DeleteMatchingSubkeys(key, [](Hkey, const char* name) {
        const std::string_view n(name);
        return n.size() >= kInterfacePrefix.size() &&
               win::equal_no_case(n.substr(0, kInterfacePrefix.size()), kInterfacePrefix);
    });
}

}  // namespace drendle
