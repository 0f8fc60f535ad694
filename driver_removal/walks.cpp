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

// What a walk does with an entry it met.
enum class Verdict {
    Skip,    // not the board's: go on with the next
    Delete,  // the board's: delete it
    Keep,    // the board's, but a file it names stays: the entry stays too, as a failure
};

// Deletes the file that a registry entry names, and only inside the inf folder: an entry
// pointing anywhere else does not name the driver's file. Prints the result word. True
// when the file stays, so that the entry naming it must stay too.
bool UnlinkNamedFile(const char* path, const std::string& shown) {
    const bool ours = InInfFolder(path);
    const bool gone = ours && RemoveFile(path);
    PrintResult(gone, shown);
    return ours && !gone;
}

// Opens a key a walk looks at. Only a key that is not there is nothing; one that cannot
// be opened for another reason may hold the board's entries and gets its line.
bool OpenWalked(const char* path, Hkey* key) {
    const int32_t status = OpenKeyAccess(win::HKEY_LOCAL_MACHINE, path, win::KEY_READ, key);
    if (status != win::ERROR_SUCCESS && status != win::ERROR_FILE_NOT_FOUND) ReportUnread(path);
    return status == win::ERROR_SUCCESS;
}

// Whether a walk over `key` goes on after reading an entry with `status`.
bool WalkGoesOn(int32_t status, const char* key) {
    if (status == win::ERROR_SUCCESS) return true;
    if (status != win::ERROR_NO_MORE_ITEMS) ReportUnread(key);
    return false;
}

// Walks the subkeys of `key` and deletes, with its "Deleting key" line, each one that
// `judge` says is the board's. After a deletion the next subkey has moved down to the
// same index.
void DeleteMatchingSubkeys(const char* key,
                           const std::function<Verdict(Hkey, const char*)>& judge) {
    auto& w = win::winsys();
    Hkey walked;
    if (!OpenWalked(key, &walked)) return;
    for (uint32_t i = 0;;) {
        char name[kWalkBufferSize];
        uint32_t len = sizeof name;
        if (!WalkGoesOn(w.enum_key(walked, i, name, &len), key)) break;
        const Verdict verdict = judge(walked, name);
        if (verdict == Verdict::Skip) {
            ++i;
            continue;
        }
        const std::string path = std::string(key) + "\\" + name;
        std::printf("Deleting key %s...", path.c_str());
        const bool removed = verdict == Verdict::Delete && RemovedKey(Nukekey, walked, name);
        PrintResult(removed, path);
        if (!removed) ++i;
    }
    w.close_key(walked);
}

}  // namespace

void ReportUnread(const std::string& key) {
    std::printf("Reading key %s...", key.c_str());
    PrintResult(false, key);
}

ClassKey LookAtClassKey(Hkey walked, const char* name) {
    ClassKey out;
    Hkey sub;
    const int32_t status = OpenKeyAccess(walked, name, win::KEY_READ, &sub);
    if (status != win::ERROR_SUCCESS) {
        out.kind = status == win::ERROR_FILE_NOT_FOUND ? ClassKey::Other : ClassKey::Unreadable;
        return out;
    }
    int32_t id_status, inf_status = win::ERROR_FILE_NOT_FOUND;
    char id[kValueBufferSize];
    const bool board = ReadNamedValue(sub, "MatchingDeviceId", id, &id_status) &&
                       win::equal_no_case(id, kMatchingDeviceId);
    // The file's name is read whole: whether its path can be built is the unlinking's to
    // tell, not a reason to leave the key unread.
    if (board) inf_status = ReadNamedString(sub, "InfPath", &out.inf);
    out.has_inf = inf_status == win::ERROR_SUCCESS;
    win::winsys().close_key(sub);
    // A device id too long for the buffer is no board's; values that could not be read
    // hide whether the key is the board's, or which file it names.
    const bool id_unread = id_status != win::ERROR_SUCCESS &&
                           id_status != win::ERROR_FILE_NOT_FOUND &&
                           id_status != win::ERROR_MORE_DATA;
    const bool inf_unread =
        inf_status != win::ERROR_SUCCESS && inf_status != win::ERROR_FILE_NOT_FOUND;
    out.kind = id_unread || inf_unread ? ClassKey::Unreadable
               : board                 ? ClassKey::Board
                                       : ClassKey::Other;
    return out;
}

void RemoveOemInfEntries(const char* key) {
    auto& w = win::winsys();
    Hkey hkey;
    if (!OpenWalked(key, &hkey)) return;
    for (uint32_t i = 0;;) {
        // A value too large for the walk's buffers is read again at its size: it stops
        // neither the walk nor the entries behind it.
        std::string name, data;
        uint32_t type = 0;
        if (!WalkGoesOn(EnumValueWhole(hkey, i, &name, &type, &data), key)) break;
        const std::string text(data.c_str());  // up to its terminator
        if (type != win::REG_SZ || !win::equal_no_case(text, kBoardInfName)) {
            ++i;
            continue;
        }
        std::printf("DELETING file %s...", name.c_str());
        const bool file_stays = UnlinkNamedFile(name.c_str(), name);
        std::printf("DELETING entry %s  ->  %s...", name.c_str(), text.c_str());
        const bool deleted =
            !file_stays && w.delete_value(hkey, name.c_str()) == win::ERROR_SUCCESS;
        PrintResult(deleted, OemEntry(key, name.c_str()));
        if (!deleted) ++i;  // after a deletion the next value has moved down to i
    }
    w.close_key(hkey);
}

void RemoveClassKeys(const char* key) {
    DeleteMatchingSubkeys(key, [key](Hkey walked, const char* name) {
        const ClassKey c = LookAtClassKey(walked, name);
        if (c.kind == ClassKey::Unreadable) ReportUnread(std::string(key) + "\\" + name);
        if (c.kind != ClassKey::Board) return Verdict::Skip;
        if (!c.has_inf) return Verdict::Delete;
        char path[MAX_PATH];
        // A path too long for the buffer is never cut into another path; the file it names
        // may be there, so its key stays.
        const bool joined = JoinPath(path, InfDir, c.inf.c_str());
        const std::string shown = joined ? path : InfDir + c.inf;
        std::printf("Unlinking %s...", shown.c_str());
        if (!joined) {
            PrintResult(false, shown);
            return Verdict::Keep;
        }
        return UnlinkNamedFile(path, shown) ? Verdict::Keep : Verdict::Delete;
    });
}

void RemoveDeviceInterfaceKeys(const char* key) {
    DeleteMatchingSubkeys(key, [](Hkey, const char* name) {
        return IsBoardInterface(name) ? Verdict::Delete : Verdict::Skip;
    });
}

bool IsBoardInterface(std::string_view name) {
    return name.size() >= kInterfacePrefix.size() &&
           win::equal_no_case(name.substr(0, kInterfacePrefix.size()), kInterfacePrefix);
}

std::string OemEntry(const char* key, const char* name) {
    return std::string(key) + "\\" + name;
}

}  // namespace drendle
