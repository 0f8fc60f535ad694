// A machine for one test, installed while the object lives; and capture of the lines
// drendle writes to standard output.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "win/tests/temp_dir.h"
#include "win/winsys.h"

namespace drendle::testing {

namespace win = platform::win;

inline win::Sid sid(const char* text) {
    return *win::Sid::parse(text);
}
inline const win::Sid kSystem = sid("S-1-5-18");
inline const win::Sid kAdmins = sid("S-1-5-32-544");
inline const win::Sid kEveryone = sid("S-1-1-0");
inline const win::Sid kUser = sid("S-1-5-21-7-8-9-500");

// A Windows 2000 administrator holding both privileges the removal enables.
inline win::Config Nt5Config() {
    win::Config c;
    c.version = win::OsVersion{5, 0};
    c.platform = win::VER_PLATFORM_WIN32_NT;
    c.windir = "C:\\WINNT";
    c.user = {"Administrator", "PC", kUser};
    c.groups = {kAdmins, kEveryone};
    c.privileges = {win::kSeTakeOwnershipPrivilege, win::kSeSecurityPrivilege};
    return c;
}

inline win::Config Win98Config() {
    win::Config c = Nt5Config();
    c.version = win::OsVersion{4, 10};
    c.platform = win::VER_PLATFORM_WIN32_WINDOWS;
    c.windir = "C:\\WINDOWS";
    return c;
}

// An access list as the Enum keys have it: SYSTEM full, everybody reads.
inline std::optional<win::Acl> SystemOnly() {
    return win::Acl::compact(
        {{0, 2, win::KEY_ALL_ACCESS, kSystem}, {0, 2, win::KEY_READ, kEveryone}});
}

class Machine {
  public:
    // Files below the Windows folder are written into a temporary folder.
    Machine(win::Config config, win::Hive hive)
        : system_(std::move(config), std::move(hive), dir_ / "windows") {
        win::install(&system_);
    }
    ~Machine() {
        if (&win::winsys() == &system_) win::install(nullptr);
    }
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    win::WinSystem& system() { return system_; }
    const win::Hive& hive() const { return system_.hive(); }
    std::shared_ptr<win::RegKey> key(const std::string& path) const {
        return system_.hive().find(path);
    }
    // "system32/drivers/rawlnk.sys" style paths below the Windows folder.
    void AddFile(const std::string& path, const std::string& bytes = "x") {
        platform::win::testing::write_file(dir_ / ("windows/" + path), bytes);
    }
    bool HasFile(const std::string& path) const {
        return std::filesystem::exists(dir_ / ("windows/" + path));
    }
    std::string HostPath(const std::string& name) const { return dir_ / name; }
    void Chmod(const std::string& path, std::filesystem::perms mode) {
        std::filesystem::permissions(dir_ / ("windows/" + path), mode);
    }
    // Lets another user reach every folder (writing stays the owner's).
    void OpenToOthers() {
        std::filesystem::permissions(dir_.path(), std::filesystem::perms(0755));
        for (const auto& e : std::filesystem::recursive_directory_iterator(dir_.path()))
            if (e.is_directory())
                std::filesystem::permissions(e.path(), std::filesystem::perms(0755));
    }

  private:
    platform::win::testing::TempDir dir_;
    win::WinSystem system_;
};

// What `action` writes to standard output.
inline std::string Output(const std::function<void()>& action) {
    std::fflush(stdout);
    ::testing::internal::CaptureStdout();
    action();
    std::fflush(stdout);
    return ::testing::internal::GetCapturedStdout();
}

}  // namespace drendle::testing
