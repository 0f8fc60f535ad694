// The stand-in for what drendle needs of Windows: the registry below
// HKEY_LOCAL_MACHINE with its security, the process token, accounts, the Windows folder
// with its files, the version and the last-error code.
//
// A machine lives in a folder (WINSYS_ROOT): "winsys.conf" (configuration), "hive.txt"
// (the registry) and "windows/" (the Windows folder). It is loaded once; every change to
// the registry is saved at once, atomically. A machine built in memory saves nothing.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "config.h"
#include "hive.h"
#include "security.h"
#include "windows_tree.h"

namespace platform::win {

inline constexpr const char* kConfigFileName = "winsys.conf";
inline constexpr const char* kHiveFileName = "hive.txt";
inline constexpr const char* kWindowsFolderName = "windows";

struct OsVersionInfo {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t platform = 0;
};

class WinSystem {
  public:
    // `windows_folder` empty: no files at all.
    WinSystem(Config config, Hive hive, std::string windows_folder = {});
    // Nothing (and a message in *error) when a file is missing or damaged; nothing on disk
    // is touched then.
    static std::unique_ptr<WinSystem> load(const std::string& root, std::string* error);

    // Registry; each returns a status (ERROR_SUCCESS or an error code).
    int32_t open_key(Hkey parent, const char* path, uint32_t access, Hkey* out);
    int32_t close_key(Hkey key);
    // Name of subkey `index`; *name_chars is the buffer size on entry (terminator
    // included) and the name's length on return. ERROR_MORE_DATA when it does not fit,
    // ERROR_NO_MORE_ITEMS past the last.
    int32_t enum_key(Hkey key, uint32_t index, char* name, uint32_t* name_chars);
    // Value `index` likewise; *data_bytes is the data buffer's size on entry and the
    // data's size on return.
    int32_t enum_value(Hkey key, uint32_t index, char* name, uint32_t* name_chars, uint32_t* type,
                       uint8_t* data, uint32_t* data_bytes);
    // Needs DELETE on the key; a key with subkeys is not deleted (ERROR_ACCESS_DENIED).
    int32_t delete_key(Hkey parent, const char* path);
    int32_t delete_value(Hkey key, const char* name);
    // The parts of the key's security asked for (OWNER_/DACL_SECURITY_INFORMATION).
    // Without a descriptor, or with *size too small: ERROR_INSUFFICIENT_BUFFER and the
    // size needed in *size.
    int32_t get_key_security(Hkey key, uint32_t info, SecurityDescriptor* sd, uint32_t* size);
    int32_t set_key_security(Hkey key, uint32_t info, const SecurityDescriptor& sd);

    // Accounts and the process token: true on success, else false and last_error().
    // With no SID buffer or buffers too small: ERROR_INSUFFICIENT_BUFFER and the sizes
    // needed (SID bytes; domain characters with the terminator).
    bool lookup_account_name(const char* name, Sid* sid, uint32_t* sid_bytes, char* domain,
                             uint32_t* domain_chars);
    bool open_process_token(uint32_t access, Handle* out);
    bool lookup_privilege_value(const char* name, uint32_t* luid);
    // True even when the token does not hold the privilege; last_error() tells: 0, or
    // ERROR_NOT_ALL_ASSIGNED.
    bool adjust_token_privilege(Handle token, uint32_t luid, uint32_t attributes);
    bool close_handle(Handle handle);
    uint32_t last_error() const { return last_error_; }
    void set_last_error(uint32_t code) { last_error_ = code; }

    // The Windows folder as configured: its length, or the size needed (terminator
    // included) when the buffer is too small.
    uint32_t get_windows_directory(char* buffer, uint32_t size);
    bool get_version(OsVersionInfo* out);
    bool delete_file(const char* path);
    // FILE_ATTRIBUTE_NORMAL for a file that is there, without opening it; else
    // INVALID_FILE_ATTRIBUTES and last_error(): ERROR_FILE_NOT_FOUND, or
    // ERROR_ACCESS_DENIED when a folder on the way cannot be looked into.
    uint32_t get_file_attributes(const char* path);

    // Why the last change could not be saved ("winsys: cannot save …: reason"); empty
    // while every save succeeded. Cleared by take_save_failure().
    std::string take_save_failure() { return std::exchange(save_failure_, {}); }

    // For inspection.
    const Hive& hive() const { return hive_; }
    const Config& config() const { return config_; }
    Token& token() { return token_; }
    size_t open_handles() const { return keys_.size() + tokens_.size(); }

  private:
    struct OpenKey {
        std::shared_ptr<RegKey> key;
        uint32_t granted = 0;
    };
    bool security_supported() const { return config_.platform == VER_PLATFORM_WIN32_NT; }
    // The open key behind a handle when the handle grants `rights`, or a status.
    int32_t resolve(Hkey key, OpenKey* out, uint32_t rights = 0) const;
    bool handle_grants(const OpenKey& open, uint32_t rights) const;
    // Saves the hive; false when it could not be written, with the reason kept.
    bool persist();

    Config config_;
    Hive hive_;
    WindowsTree tree_;
    Token token_;
    std::string hive_file_;  // empty: in memory
    std::string save_failure_;
    std::map<Hkey, OpenKey> keys_;
    std::map<Handle, uint32_t> tokens_;
    uint32_t next_handle_ = 0x100;
    uint32_t last_error_ = 0;
};

// The machine the program works on; an empty one until a program or test installs its own.
WinSystem& winsys();
void install(WinSystem* system);

}  // namespace platform::win
