#include "win/winsys.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "files/tests/full_disk.h"
#include "temp_dir.h"
#include "win/default_image.h"
#include "win/hive_text.h"

namespace win = platform::win;
using platform::files::testing::FullDisk;
using platform::win::testing::EnvVar;
using platform::win::testing::read_file;
using platform::win::testing::TempDir;
using platform::win::testing::write_file;

namespace {

win::Sid sid(const char* text) {
    return *win::Sid::parse(text);
}

win::Config nt_config() {
    win::Config c;
    c.version = win::OsVersion{5, 0};
    c.user = {"Administrator", "PC", sid("S-1-5-21-7-8-9-500")};
    c.groups = {sid("S-1-5-32-544"), sid("S-1-1-0")};
    c.privileges = {win::kSeTakeOwnershipPrivilege};
    return c;
}

win::Hive small_hive() {
    win::Hive h;
    auto& k = h.add("SOFTWARE\\Vendor");
    k.set_sz("Name", "abcd");
    k.set_dword("Count", 7);
    h.add("SOFTWARE\\Vendor\\Child");
    auto& locked = h.add("SOFTWARE\\Locked");
    locked.owner = sid("S-1-5-18");
    locked.dacl = win::Acl::compact({{0, 0, win::KEY_READ, sid("S-1-1-0")}});
    return h;
}

}  // namespace

TEST(Registry, EnumerationTellsWhenANameOrDataDoesNotFitAndWhenItEnds) {
    win::WinSystem w(nt_config(), small_hive());
    win::Hkey k;
    ASSERT_EQ(w.open_key(win::HKEY_LOCAL_MACHINE, "software", win::KEY_READ, &k), 0);
    char name[7];
    uint32_t len = 6;  // "Vendor" needs 7 with its terminator
    EXPECT_EQ(w.enum_key(k, 1, name, &len), win::ERROR_MORE_DATA);
    len = 7;
    ASSERT_EQ(w.enum_key(k, 1, name, &len), 0);
    EXPECT_STREQ(name, "Vendor");
    EXPECT_EQ(len, 6u);
    EXPECT_EQ(w.enum_key(k, 2, name, &len), win::ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(w.close_key(k), 0);

    ASSERT_EQ(w.open_key(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\VENDOR", win::KEY_READ, &k), 0);
    uint8_t data[5];
    uint32_t type = 0, data_len = 4;  // "abcd" and its terminator need 5
    len = sizeof name;
    EXPECT_EQ(w.enum_value(k, 0, name, &len, &type, data, &data_len), win::ERROR_MORE_DATA);
    EXPECT_EQ(data_len, 5u);
    len = sizeof name;
    ASSERT_EQ(w.enum_value(k, 1, name, &len, &type, data, &data_len), 0);
    EXPECT_EQ(type, win::REG_DWORD);
    EXPECT_EQ(data_len, 4u);
    len = sizeof name;
    EXPECT_EQ(w.enum_value(k, 2, name, &len, &type, data, &data_len), win::ERROR_NO_MORE_ITEMS);
    w.close_key(k);
    EXPECT_EQ(w.open_handles(), 0u);
}

TEST(Registry, AccessIsCheckedOnOpenAndOnEachUseOfTheHandle) {
    win::WinSystem w(nt_config(), small_hive());
    win::Hkey k;
    EXPECT_EQ(
        w.open_key(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked", win::KEY_READ | win::WRITE_DAC, &k),
        win::ERROR_ACCESS_DENIED);
    EXPECT_EQ(k, win::HKEY_NONE);
    EXPECT_EQ(w.open_key(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\Missing", win::KEY_READ, &k),
              win::ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(w.open_key(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\Vendor", win::WRITE_OWNER, &k), 0);
    char name[32];
    uint32_t len = sizeof name;
    EXPECT_EQ(w.enum_key(k, 0, name, &len), win::ERROR_ACCESS_DENIED);
    w.close_key(k);
}

TEST(Registry, DeletingNeedsDeleteAndNoSubkeysAndLeavesOldHandlesDead) {
    win::WinSystem w(nt_config(), small_hive());
    EXPECT_EQ(w.delete_key(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked"), win::ERROR_ACCESS_DENIED);
    EXPECT_EQ(w.delete_key(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\Vendor"), win::ERROR_ACCESS_DENIED);
    win::Hkey child;
    ASSERT_EQ(w.open_key(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\Vendor\\Child", win::KEY_READ, &child),
              0);
    EXPECT_EQ(w.delete_key(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\Vendor\\Child"), 0);
    char name[32];
    uint32_t len = sizeof name;
    EXPECT_EQ(w.enum_key(child, 0, name, &len), win::ERROR_KEY_DELETED);
    w.close_key(child);
    EXPECT_EQ(w.delete_key(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\Vendor\\Child"),
              win::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(w.delete_key(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\Vendor"), 0);
}

TEST(Registry, SecurityIsReadWithASizeQuestionAndOwnersAreLimitedToTheAccount) {
    win::WinSystem w(nt_config(), small_hive());
    w.token().privileges[0].enabled = true;  // SeTakeOwnershipPrivilege
    win::Hkey k;
    ASSERT_EQ(w.open_key(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked",
                         win::KEY_READ | win::WRITE_OWNER, &k),
              0);
    uint32_t size = 0;
    EXPECT_EQ(w.get_key_security(k, win::DACL_SECURITY_INFORMATION, nullptr, &size),
              win::ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(size, 20u + 8u + 8u + 12u);  // header, list header, one entry for S-1-1-0
    win::SecurityDescriptor sd;
    uint32_t small = size - 1;
    EXPECT_EQ(w.get_key_security(k, win::DACL_SECURITY_INFORMATION, &sd, &small),
              win::ERROR_INSUFFICIENT_BUFFER);
    ASSERT_EQ(w.get_key_security(k, win::DACL_SECURITY_INFORMATION, &sd, &size), 0);
    EXPECT_TRUE(sd.dacl_present());
    EXPECT_FALSE(sd.owner());

    win::SecurityDescriptor owner;
    owner.set_owner(sid("S-1-5-18"));
    EXPECT_EQ(w.set_key_security(k, win::OWNER_SECURITY_INFORMATION, owner),
              win::ERROR_INVALID_OWNER);
    owner.set_owner(sid("S-1-5-32-544"));
    EXPECT_EQ(w.set_key_security(k, win::DACL_SECURITY_INFORMATION, owner),
              win::ERROR_ACCESS_DENIED);
    ASSERT_EQ(w.set_key_security(k, win::OWNER_SECURITY_INFORMATION, owner), 0);
    EXPECT_EQ(w.hive().find("SOFTWARE\\Locked")->owner, sid("S-1-5-32-544"));
    w.close_key(k);
}

TEST(Token, PrivilegesAreEnabledOnlyWhenHeld) {
    win::WinSystem w(nt_config(), small_hive());
    win::Handle t;
    ASSERT_TRUE(w.open_process_token(win::TOKEN_ALL_ACCESS, &t));
    uint32_t luid = 0;
    EXPECT_FALSE(w.lookup_privilege_value("SeNoSuchPrivilege", &luid));
    EXPECT_EQ(w.last_error(), uint32_t(win::ERROR_NO_SUCH_PRIVILEGE));
    ASSERT_TRUE(w.lookup_privilege_value("SeSecurityPrivilege", &luid));
    EXPECT_TRUE(w.adjust_token_privilege(t, luid, win::SE_PRIVILEGE_ENABLED));
    EXPECT_EQ(w.last_error(), uint32_t(win::ERROR_NOT_ALL_ASSIGNED));
    ASSERT_TRUE(w.lookup_privilege_value("SeTakeOwnershipPrivilege", &luid));
    EXPECT_TRUE(w.adjust_token_privilege(t, luid, win::SE_PRIVILEGE_ENABLED));
    EXPECT_EQ(w.last_error(), 0u);
    EXPECT_TRUE(w.token().privilege_enabled(win::kSeTakeOwnershipPrivilege));
    EXPECT_TRUE(w.close_handle(t));
    EXPECT_EQ(w.open_handles(), 0u);
}

TEST(Accounts, AdministratorsIsABuiltinGroupFoundWithASizeQuestion) {
    win::WinSystem w(nt_config(), small_hive());
    uint32_t sid_bytes = 0, domain_chars = 0;
    EXPECT_FALSE(
        w.lookup_account_name("Administrators", nullptr, &sid_bytes, nullptr, &domain_chars));
    EXPECT_EQ(w.last_error(), uint32_t(win::ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(sid_bytes, 16u);
    EXPECT_EQ(domain_chars, 8u);
    win::Sid s;
    char domain[8];
    ASSERT_TRUE(w.lookup_account_name("administrators", &s, &sid_bytes, domain, &domain_chars));
    EXPECT_EQ(s, sid("S-1-5-32-544"));
    EXPECT_STREQ(domain, "BUILTIN");
    EXPECT_FALSE(w.lookup_account_name("Nobody", &s, &sid_bytes, domain, &domain_chars));
    EXPECT_EQ(w.last_error(), uint32_t(win::ERROR_NONE_MAPPED));
}

TEST(Platform9x, HasNoSecurityAtAll) {
    win::Config c = nt_config();
    c.platform = win::VER_PLATFORM_WIN32_WINDOWS;
    win::WinSystem w(c, small_hive());
    win::Hkey k;
    ASSERT_EQ(w.open_key(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked", win::KEY_ALL_ACCESS, &k), 0);
    uint32_t size = 0;
    EXPECT_EQ(w.get_key_security(k, win::DACL_SECURITY_INFORMATION, nullptr, &size),
              win::ERROR_CALL_NOT_IMPLEMENTED);
    win::Handle t;
    EXPECT_FALSE(w.open_process_token(win::TOKEN_ALL_ACCESS, &t));
    EXPECT_EQ(w.last_error(), uint32_t(win::ERROR_CALL_NOT_IMPLEMENTED));
    w.close_key(k);
    EXPECT_EQ(w.delete_key(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked"), 0);
}

TEST(SystemInfo, WindowsFolderAndVersionAsConfigured) {
    win::Config c = nt_config();
    win::WinSystem w(c, {});
    char buf[260];
    EXPECT_EQ(w.get_windows_directory(buf, 8), 9u);  // "C:\WINNT" and its terminator
    EXPECT_EQ(w.get_windows_directory(buf, sizeof buf), 8u);
    EXPECT_STREQ(buf, "C:\\WINNT");
    win::OsVersionInfo v;
    ASSERT_TRUE(w.get_version(&v));
    EXPECT_EQ(v.major, 5u);
    EXPECT_EQ(v.platform, win::VER_PLATFORM_WIN32_NT);
    c.version.reset();
    win::WinSystem unknown(c, {});
    EXPECT_FALSE(unknown.get_version(&v));
}

class MachineFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(win::write_default_image(dir.path(), &error)) << error;
    }
    std::unique_ptr<win::WinSystem> load() {
        std::string error;
        auto w = win::WinSystem::load(dir.path(), &error);
        EXPECT_TRUE(w) << error;
        return w;
    }
    TempDir dir;
};

TEST_F(MachineFolder, EachChangeIsSavedAtOnceAndReloadsTheSame) {
    auto w = load();
    ASSERT_TRUE(w);
    ASSERT_EQ(w->delete_key(win::HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\Serial"),
              0);
    EXPECT_FALSE(std::filesystem::exists(dir / "hive.txt.tmp"));
    auto again = load();
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->hive() == w->hive());
    EXPECT_FALSE(again->hive().find("SYSTEM\\CurrentControlSet\\Services\\Serial"));
    EXPECT_EQ(read_file(dir / "hive.txt"), win::format_hive(w->hive()));
}

TEST_F(MachineFolder, ADamagedHiveIsReportedAndNothingIsWritten) {
    std::string damaged = std::string(win::default_hive_text()) + "[HKEY_LOCAL_MACHINE\\X\\Y]\n";
    write_file(dir / "hive.txt", damaged);
    std::string error;
    EXPECT_FALSE(win::WinSystem::load(dir.path(), &error));
    EXPECT_NE(error.find("hive.txt is damaged (line "), std::string::npos) << error;
    EXPECT_NE(error.find("parent key not declared"), std::string::npos) << error;
    EXPECT_EQ(read_file(dir / "hive.txt"), damaged);
    EXPECT_FALSE(std::filesystem::exists(dir / "hive.txt.tmp"));
    write_file(dir / "winsys.conf", "WINSYS-CONFIG 1\nplatform=os2\n");
    EXPECT_FALSE(win::WinSystem::load(dir.path(), &error));
    EXPECT_NE(error.find("winsys.conf is damaged (line 2"), std::string::npos) << error;
    // A FIFO in the hive's place is a file that cannot be read, not a wait for a writer.
    ASSERT_TRUE(win::write_default_image(dir.path(), &error)) << error;
    std::filesystem::remove(dir / "hive.txt");
    ASSERT_EQ(::mkfifo((dir / "hive.txt").c_str(), 0600), 0);
    EXPECT_FALSE(win::WinSystem::load(dir.path(), &error));
    EXPECT_EQ(error, "winsys: cannot read " + dir / "hive.txt" + ": not a regular file");
}

TEST_F(MachineFolder, AFileThatCannotBeUsedSaysWhy) {
    std::string error;
    std::filesystem::resize_file(dir / "hive.txt", std::uintmax_t{70} << 20);
    EXPECT_FALSE(win::WinSystem::load(dir.path(), &error));
    EXPECT_EQ(error, "winsys: cannot read " + dir / "hive.txt" +
                         ": larger than the limit of 67108864 bytes");
    write_file(dir / "hive.txt", "WINSYS-HIVE 2\n");
    EXPECT_FALSE(win::WinSystem::load(dir.path(), &error));
    EXPECT_EQ(error, "winsys: " + dir / "hive.txt" +
                         ": version 2 of the format is not supported (only WINSYS-HIVE 1); "
                         "nothing was changed");
    write_file(dir / "hive.txt", "WINSYS-HIVE 1 \n");
    EXPECT_FALSE(win::WinSystem::load(dir.path(), &error));
    EXPECT_NE(error.find(": version \"1 \" of the format"), std::string::npos) << error;
    std::filesystem::remove(dir / "winsys.conf");
    EXPECT_FALSE(win::WinSystem::load(dir.path(), &error));
    EXPECT_EQ(error, "winsys: cannot read " + dir / "winsys.conf" + ": not found");
}

TEST_F(MachineFolder, AChangeThatCannotBeSavedIsNotMade) {
    auto w = load();
    ASSERT_TRUE(w);
    const std::string before = read_file(dir / "hive.txt");
    FullDisk full;  // the save cannot write its file
    EXPECT_EQ(w->delete_key(win::HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\Serial"),
              win::ERROR_REGISTRY_IO_FAILED);
    EXPECT_TRUE(w->hive().find("SYSTEM\\CurrentControlSet\\Services\\Serial"));
    win::Hkey k;
    ASSERT_EQ(w->open_key(win::HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\Serial",
                          win::KEY_ALL_ACCESS, &k),
              0);
    EXPECT_EQ(w->delete_value(k, "Start"), win::ERROR_REGISTRY_IO_FAILED);
    EXPECT_TRUE(w->hive().find("SYSTEM\\CurrentControlSet\\Services\\Serial")->find_value("Start"));
    w->close_key(k);
    EXPECT_EQ(read_file(dir / "hive.txt"), before);
    EXPECT_EQ(w->take_save_failure(), "winsys: cannot save " + dir / "hive.txt" +
                                          ": File too large; the registry was not changed");
}

TEST_F(MachineFolder, ASaveNeverWritesThroughALinkPlantedBesideTheHive) {
    auto w = load();
    ASSERT_TRUE(w);
    write_file(dir / "outside.txt", "keep");
    std::filesystem::create_symlink(dir / "outside.txt", dir / "hive.txt.tmp");
    ASSERT_EQ(w->delete_key(win::HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\Serial"),
              0);
    EXPECT_EQ(read_file(dir / "outside.txt"), "keep");
    EXPECT_EQ(read_file(dir / "hive.txt"), win::format_hive(w->hive()));
}

TEST(OpenMachine, WithoutARootTheImageIsCreatedOnceUnderTheStateFolder) {
    TempDir state;
    EnvVar root("WINSYS_ROOT", nullptr), xdg("XDG_STATE_HOME", state.path().c_str());
    std::string error;
    {
        // Before any machine was made, the way to one starts by making the default.
        EnvVar named("WINSYS_ROOT", (state / "missing").c_str());
        EXPECT_FALSE(win::open_machine(&error));
        EXPECT_EQ(error, "winsys: WINSYS_ROOT=" + state / "missing" +
                             " holds no machine; to make one, start drendle once without "
                             "WINSYS_ROOT and press Cancel (that makes the default machine in " +
                             state / "winsys), then copy that folder there");
    }
    auto w = win::open_machine(&error);
    ASSERT_TRUE(w) << error;
    EXPECT_TRUE(std::filesystem::exists(state / "winsys/windows/system32/drivers/rawlnk.sys"));
    ASSERT_EQ(w->delete_key(win::HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\Serial"),
              0);
    w = win::open_machine(&error);  // the changed machine, not a new image
    ASSERT_TRUE(w) << error;
    EXPECT_FALSE(w->hive().find("SYSTEM\\CurrentControlSet\\Services\\Serial"));

    // A named machine is never created; the message says how to make one.
    EnvVar named("WINSYS_ROOT", (state / "missing").c_str());
    EXPECT_FALSE(win::open_machine(&error));
    EXPECT_FALSE(std::filesystem::exists(state / "missing"));
    EXPECT_EQ(error, "winsys: WINSYS_ROOT=" + state / "missing" +
                         " holds no machine; to make one, copy the default machine (" +
                         state / "winsys" + ") there");
}

TEST(OpenMachine, OnlyTheMissingFilesAreMadeAgain) {
    TempDir state;
    EnvVar root("WINSYS_ROOT", nullptr), xdg("XDG_STATE_HOME", state.path().c_str());
    std::string error;
    ASSERT_TRUE(win::open_machine(&error)) << error;
    write_file(state / "winsys/winsys.conf",
               "WINSYS-CONFIG 1\nplatform=nt\nwindir=C:\\WINNT\nuser=Bob,PC,S-1-5-21-1-2-3-1000\n");
    std::filesystem::remove(state / "winsys/hive.txt");
    ::testing::internal::CaptureStderr();
    auto w = win::open_machine(&error);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "winsys: made hive.txt of the built-in machine in " + state / "winsys\n");
    ASSERT_TRUE(w) << error;
    EXPECT_EQ(w->config().user.name, "Bob");
    // A file a removal deleted is not brought back beside the hive that no longer names it.
    std::filesystem::remove(state / "winsys/windows/inf/oem3.inf");
    std::filesystem::remove(state / "winsys/winsys.conf");
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(win::open_machine(&error)) << error;
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "winsys: made winsys.conf of the built-in machine in " + state / "winsys\n");
    EXPECT_FALSE(std::filesystem::exists(state / "winsys/windows/inf/oem3.inf"));
    // Beside a hive that no longer names the board's files, a new Windows folder lacks them.
    std::string hive = read_file(state / "winsys/hive.txt");
    for (const std::string line : {"\"InfPath\"=sz:\"oem3.inf\"\n", "\"Service\"=sz:\"ZOQSPI\"\n"})
        hive.erase(hive.find(line), line.size());
    write_file(state / "winsys/hive.txt", hive);
    std::filesystem::remove_all(state / "winsys/windows");
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(win::open_machine(&error)) << error;
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "winsys: made 11 files in windows/ of the built-in machine in " + state / "winsys\n");
    for (const char* f : {"inf/oem3.inf", "system32/rawlnk.dll", "system32/drivers/rawlnk.sys"})
        EXPECT_FALSE(std::filesystem::exists(state / "winsys/windows/" + f)) << f;
}

TEST(OpenMachine, WithoutAHomeFolderTheMachineIsPrivateAndNeverInTheCurrentFolder) {
    TempDir tmp, cwd;
    EnvVar root("WINSYS_ROOT", nullptr), xdg("XDG_STATE_HOME", nullptr), home("HOME", nullptr),
        tmpdir("TMPDIR", tmp.path().c_str());
    const auto old_cwd = std::filesystem::current_path();
    std::filesystem::current_path(cwd.path());
    std::string error;
    ::testing::internal::CaptureStderr();
    auto w = win::open_machine(&error);
    const std::string said = ::testing::internal::GetCapturedStderr();
    std::filesystem::current_path(old_cwd);
    ASSERT_TRUE(w) << error;
    EXPECT_TRUE(std::filesystem::is_empty(cwd.path()));
    EXPECT_NE(said.find("; the machine is in " + tmp / "winsys-"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
}
