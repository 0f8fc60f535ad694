// Loading and saving the stand-in machine, and its calls other than the registry's.
#include "winsys.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "files/atomic_file.h"
#include "hive_text.h"

namespace platform::win {
namespace {

constexpr size_t kMaxConfigFileSize = size_t{1} << 20;

std::string damaged(const std::string& path, const TextError& e) {
    if (e.unsupported) return "winsys: " + path + ": " + e.text() + "; nothing was changed";
    return "winsys: " + path + " is damaged (" + e.text() + "); nothing was changed";
}

std::string unreadable(const std::string& path, size_t max_bytes) {
    return "winsys: cannot read " + path + ": " + files::read_failure(path, max_bytes);
}

}  // namespace

WinSystem::WinSystem(Config config, Hive hive, std::string windows_folder)
    : config_(std::move(config)),
      hive_(std::move(hive)),
      tree_(config_.windir, std::move(windows_folder)) {
    token_.user = config_.user.sid;
    token_.groups = config_.groups;
    for (uint32_t luid : config_.privileges) token_.privileges.push_back({luid, false});
}

std::unique_ptr<WinSystem> WinSystem::load(const std::string& root, std::string* error) {
    namespace fs = std::filesystem;
    const std::string config_path = (fs::path(root) / kConfigFileName).string();
    const std::string hive_path = (fs::path(root) / kHiveFileName).string();
    auto config_text = files::read_whole_file(config_path, kMaxConfigFileSize);
    if (!config_text) return (*error = unreadable(config_path, kMaxConfigFileSize), nullptr);
    Config config;
    TextError e;
    if (!parse_config(*config_text, &config, &e))
        return (*error = damaged(config_path, e), nullptr);
    auto hive_text = files::read_whole_file(hive_path, kMaxHiveFileSize);
    if (!hive_text) return (*error = unreadable(hive_path, kMaxHiveFileSize), nullptr);
    Hive hive;
    if (!parse_hive(*hive_text, &hive, &e)) return (*error = damaged(hive_path, e), nullptr);
    auto system = std::make_unique<WinSystem>(std::move(config), std::move(hive),
                                              (fs::path(root) / kWindowsFolderName).string());
    system->hive_file_ = hive_path;
    return system;
}

bool WinSystem::persist() {
    errno = 0;
    if (hive_file_.empty() || files::write_file_atomically(hive_file_, format_hive(hive_)))
        return true;
    const int reason = errno;
    save_failure_ = "winsys: cannot save " + hive_file_ + ": " +
                    (reason ? std::strerror(reason) : "the system gave no reason") +
                    "; the registry was not changed";
    return false;
}

bool WinSystem::lookup_account_name(const char* name, Sid* sid, uint32_t* sid_bytes, char* domain,
                                    uint32_t* domain_chars) {
    if (!security_supported()) return (last_error_ = ERROR_CALL_NOT_IMPLEMENTED, false);
    std::vector<Account> accounts = builtin_accounts();
    accounts.push_back(config_.user);
    for (const Account& a : accounts) {
        if (!equal_no_case(a.name, name ? name : "") || a.name.empty()) continue;
        const uint32_t need_sid = a.sid.length();
        const auto need_domain = static_cast<uint32_t>(a.domain.size() + 1);
        if (!sid || *sid_bytes < need_sid || !domain || *domain_chars < need_domain) {
            *sid_bytes = need_sid;
            *domain_chars = need_domain;
            return (last_error_ = ERROR_INSUFFICIENT_BUFFER, false);
        }
        *sid = a.sid;
        *sid_bytes = need_sid;
        std::memcpy(domain, a.domain.c_str(), need_domain);
        *domain_chars = need_domain - 1;
        return true;
    }
    return (last_error_ = ERROR_NONE_MAPPED, false);
}

bool WinSystem::open_process_token(uint32_t access, Handle* out) {
    if (!security_supported()) return (last_error_ = ERROR_CALL_NOT_IMPLEMENTED, false);
    *out = next_handle_++;
    tokens_[*out] = access;
    return true;
}

bool WinSystem::lookup_privilege_value(const char* name, uint32_t* luid) {
    if (!security_supported()) return (last_error_ = ERROR_CALL_NOT_IMPLEMENTED, false);
    auto found = privilege_luid(name ? name : "");
    if (!found) return (last_error_ = ERROR_NO_SUCH_PRIVILEGE, false);
    *luid = *found;
    return true;
}

bool WinSystem::adjust_token_privilege(Handle token, uint32_t luid, uint32_t attributes) {
    auto it = tokens_.find(token);
    if (it == tokens_.end()) return (last_error_ = ERROR_INVALID_HANDLE, false);
    if (!(it->second & TOKEN_ADJUST_PRIVILEGES)) return (last_error_ = ERROR_ACCESS_DENIED, false);
    for (auto& p : token_.privileges) {
        if (p.luid != luid) continue;
        p.enabled = attributes & SE_PRIVILEGE_ENABLED;
        last_error_ = ERROR_SUCCESS;
        return true;
    }
    last_error_ = ERROR_NOT_ALL_ASSIGNED;
    return true;
}

bool WinSystem::close_handle(Handle handle) {
    if (tokens_.erase(handle)) return true;
    return (last_error_ = ERROR_INVALID_HANDLE, false);
}

uint32_t WinSystem::get_windows_directory(char* buffer, uint32_t size) {
    const auto n = static_cast<uint32_t>(config_.windir.size());
    if (!buffer || n + 1 > size) return n + 1;
    std::memcpy(buffer, config_.windir.c_str(), n + 1);
    return n;
}

bool WinSystem::get_version(OsVersionInfo* out) {
    if (!config_.version) return (last_error_ = ERROR_INVALID_PARAMETER, false);
    *out = {config_.version->major, config_.version->minor, config_.platform};
    return true;
}

bool WinSystem::delete_file(const char* path) {
    last_error_ = static_cast<uint32_t>(tree_.delete_file(path ? path : ""));
    return last_error_ == ERROR_SUCCESS;
}

uint32_t WinSystem::get_file_attributes(const char* path) {
    last_error_ = static_cast<uint32_t>(tree_.find_status(path ? path : ""));
    return last_error_ == ERROR_SUCCESS ? FILE_ATTRIBUTE_NORMAL : INVALID_FILE_ATTRIBUTES;
}

namespace {
WinSystem* g_installed = nullptr;
}  // namespace

WinSystem& winsys() {
    static WinSystem empty(Config{}, Hive{});
    return g_installed ? *g_installed : empty;
}

void install(WinSystem* system) {
    g_installed = system;
}

}  // namespace platform::win
