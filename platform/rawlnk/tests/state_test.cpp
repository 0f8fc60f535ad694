// The state folder: two processes see each other's opens and EEPROM writes; damaged
// files are reported and replaced by the world's image.
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/tests/full_disk.h"
#include "sim_fixture.h"
#include "win/tests/temp_dir.h"

namespace rawlnk_test {
namespace {

using Env = std::vector<std::pair<std::string, std::string>>;

// A peer process with RAWLNK_STATE_DIR set and the built-in world, as "nobody" if asked.
class Peer {
  public:
    Peer(const std::string& state_dir, std::vector<std::string> args, const std::string& world = "",
         const Env& env = {}, bool nobody = false) {
        std::signal(SIGPIPE, SIG_IGN);  // a peer that has ended does not take our line
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(in[0], 0);
            dup2(out[1], 1);
            dup2(out[1], 2);
            close(in[1]);
            close(out[0]);
            setenv("RAWLNK_STATE_DIR", state_dir.c_str(), 1);
            setenv("RAWLNK_SIM", world.c_str(), 1);
            for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
            const passwd* pw = getpwnam("nobody");
            if (nobody &&
                (!pw || setgroups(0, nullptr) || setgid(pw->pw_gid) || setuid(pw->pw_uid)))
                _exit(125);
            std::vector<char*> argv{const_cast<char*>(RAWLNK_PEER_PATH)};
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(RAWLNK_PEER_PATH, argv.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        to_ = in[1];
        from_ = fdopen(out[0], "r");
    }
    ~Peer() { finish(); }
    std::string line() {
        char buf[512] = "";
        if (!from_ || !std::fgets(buf, sizeof buf, from_)) return "<none>";
        std::string s(buf);
        if (!s.empty() && s.back() == '\n') s.pop_back();
        return s;
    }
    void release() {
        if (to_ >= 0) {
            (void)!write(to_, "\n", 1);
            close(to_);
            to_ = -1;
        }
    }
    void finish() {
        release();
        if (from_) std::fclose(from_);
        from_ = nullptr;
        if (pid_ > 0) waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

  private:
    pid_t pid_ = -1;
    int to_ = -1;
    FILE* from_ = nullptr;
};

std::string run_peer(const std::string& dir, std::vector<std::string> args) {
    Peer p(dir, std::move(args));
    return p.line();
}

std::string no_folder_note(const std::string& dir, const std::string& why) {
    return "rawlnk: no state folder of our own at " + dir + " (" + why +
           "); EEPROM images last until exit (RAWLNK_STATE_DIR names a folder that keeps them)";
}

class StateTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        ASSERT_FALSE(dir_.empty());
        RLSIM_SetStateDir(dir_.c_str());
        RLSIM_LoadDefaultWorld();
    }
    void TearDown() override {
        SimTest::TearDown();
        RLSIM_SetStateDir(nullptr);
    }
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        if (DIR* d = opendir(dir_.c_str())) {
            while (dirent* e = readdir(d)) names.push_back(e->d_name);
            closedir(d);
        }
        return names;
    }
    platform::win::testing::TempDir folder_;
    const std::string dir_ = folder_.path();
};

TEST_F(StateTest, SecondProcessFindsTheBoardInUse) {
    RL_HANDLE h = open_index(kBoardIndex);
    Peer second(dir_, {"open", "0"});  // not opened: in use here, and it says so
    EXPECT_EQ(second.line(), "rawlnk: device ZQ000001 is open in another process");
    EXPECT_EQ(second.line(), "3");
    RL_HANDLE chip = open_index(1);  // one without a serial number is named by its index
    Peer third(dir_, {"open", "1"});
    EXPECT_EQ(third.line(), "rawlnk: device 1 (no serial number) is open in another process");
    EXPECT_EQ(run_peer(dir_, {"open", "2"}), "0");
    RL_Close(chip);
    RL_Close(h);
    EXPECT_EQ(run_peer(dir_, {"open", "0"}), "0");
}

TEST_F(StateTest, OpenByAnotherProcessIsSeenHere) {
    Peer peer(dir_, {"hold", "2"});
    ASSERT_EQ(peer.line(), "held 0");
    EXPECT_EQ(RLSIM_IsOpen(2), 1);
    RL_HANDLE h = nullptr;
    EXPECT_EQ(RL_Open(2, &h), RL_DEVICE_NOT_OPENED);
    EXPECT_EQ(RL_Open(3, &h), RL_OK);  // the other channel is free
    RL_Close(h);
    peer.finish();
    EXPECT_EQ(RLSIM_IsOpen(2), 0);
    EXPECT_EQ(RL_Open(2, &h), RL_OK);
    RL_Close(h);
}

TEST_F(StateTest, EepromWritesCrossProcesses) {
    EXPECT_EQ(run_peer(dir_, {"write-ee", "1", "5", "0x1234"}), "0");
    uint16_t v = 0;
    ASSERT_EQ(RLSIM_PeekEE(1, 5, &v), 0);
    EXPECT_EQ(v, 0x1234);
    RL_HANDLE h = open_index(1);
    ASSERT_EQ(RL_WriteEE(h, 6, 0xABCD), RL_OK);
    RL_Close(h);
    EXPECT_EQ(run_peer(dir_, {"read-ee", "1", "6"}), "0 ABCD");
    EXPECT_EQ(run_peer(dir_, {"read-ee", "1", "5"}), "0 1234");
    for (const auto& f : files()) EXPECT_EQ(f.find(".tmp"), std::string::npos) << f;
}

TEST_F(StateTest, NothingIsWrittenOrMadeThroughALinkPlantedInTheFolder) {
    platform::win::testing::TempDir outside;
    platform::win::testing::write_file(outside / "kept", "keep");
    const std::string tmp = dir_ + "/blank2.eeprom.tmp." + std::to_string(getpid());
    ASSERT_EQ(symlink((outside / "kept").c_str(), tmp.c_str()), 0);
    for (const char* name : {"blank2.eeprom.lock", "blank2.A.open"}) {
        unlink((dir_ + "/" + name).c_str());
        ASSERT_EQ(symlink((outside / name).c_str(), (dir_ + "/" + name).c_str()), 0);
    }
    RL_HANDLE h = open_index(1);
    EXPECT_EQ(RL_WriteEE(h, 2, 0x5151), RL_OK);
    RL_Close(h);
    EXPECT_EQ(platform::win::testing::read_file(outside / "kept"), "keep");
    EXPECT_EQ(std::filesystem::directory_iterator(outside.path())->path().filename(), "kept");
    EXPECT_EQ(run_peer(dir_, {"read-ee", "1", "2"}), "0 5151");
}

TEST_F(StateTest, WritesOfTwoProcessesAreNotLostWithAFifoAtTheChipLock) {
    const std::string lock = dir_ + "/dual1.eeprom.lock";
    unlink(lock.c_str());
    ASSERT_EQ(mkfifo(lock.c_str(), 0600), 0);
    Peer a(dir_, {"fill", "2", "0", "30"});  // the two channels of one chip
    Peer b(dir_, {"fill", "3", "30", "30"});
    ASSERT_EQ(a.line(), "ready");
    ASSERT_EQ(b.line(), "ready");
    a.release();
    b.release();
    EXPECT_EQ(a.line(), "0");
    EXPECT_EQ(b.line(), "0");
    int lost = 0;
    for (uint32_t w = 0; w < 60; ++w) {
        uint16_t v = 0;
        ASSERT_EQ(RLSIM_PeekEE(2, w, &v), 0);
        lost += v != 0xA000 + w;
    }
    EXPECT_EQ(lost, 0);
}

TEST_F(StateTest, ADeviceIsNotOpenTwiceWithADanglingLinkAtItsLock) {
    const std::string lock = dir_ + "/blank2.A.open";
    unlink(lock.c_str());
    ASSERT_EQ(symlink((dir_ + "/gone").c_str(), lock.c_str()), 0);
    Peer peer(dir_, {"hold", "1"});
    ASSERT_EQ(peer.line(), "held 0");
    RL_HANDLE h = nullptr;
    EXPECT_EQ(RL_Open(1, &h), RL_DEVICE_NOT_OPENED);
}

TEST_F(StateTest, ALockThatCannotBeTakenFailsTheWriteAndTheOpen) {
    const auto plant = [&](const std::string& name) {  // a folder that cannot be removed
        unlink((dir_ + "/" + name).c_str());
        std::filesystem::create_directories(dir_ + "/" + name + "/kept");
    };
    RL_HANDLE h = open_index(1);
    plant("blank2.eeprom.lock");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RL_WriteEE(h, 2, 0x1234), RL_EEPROM_WRITE_FAILED);
    EXPECT_EQ(RL_EraseEE(h), RL_EEPROM_ERASE_FAILED);
    RL_Close(h);
    plant("blank2.A.open");
    EXPECT_EQ(RL_Open(1, &h), RL_DEVICE_NOT_OPENED);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("rawlnk: cannot take the lock file " + dir_ + "/blank2.eeprom.lock ("),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("rawlnk: cannot take the lock file " + dir_ + "/blank2.A.open ("),
              std::string::npos)
        << err;
    EXPECT_EQ(err.find("eeprom.lock ("), err.rfind("eeprom.lock (")) << err;  // once a cause
}

TEST_F(StateTest, AFolderOrImageThisUserMayNotWriteIsNotUsed) {
    if (geteuid() != 0 || !getpwnam("nobody")) GTEST_SKIP() << "becoming \"nobody\" needs root";
    Peer closed(dir_, {"write-read-ee", "1", "5", "0x1234"}, "", {}, true);  // root's, 0700
    EXPECT_EQ(closed.line(), no_folder_note(dir_, "Permission denied"));
    EXPECT_EQ(closed.line(), "0 0 1234");
    ASSERT_EQ(chmod(dir_.c_str(), 0777), 0);  // open to all, but root's image in it
    for (const auto& f : files())
        if (f.find(".lock") != std::string::npos) chmod((dir_ + "/" + f).c_str(), 0666);
    const std::string image = dir_ + "/blank2.eeprom";
    const std::string before = platform::win::testing::read_file(image);
    Peer writer(dir_, {"write-ee", "1", "5", "0x1234"}, "", {}, true);
    EXPECT_EQ(writer.line(), "rawlnk: cannot write state file " + image + " (Permission denied)");
    EXPECT_EQ(writer.line(), "12");  // RL_EEPROM_WRITE_FAILED
    EXPECT_EQ(platform::win::testing::read_file(image), before);
}

TEST_F(StateTest, ABusyBoardIsToldOnlyWhenNoLaterBoardCanBeOpened) {
    const std::string world = folder_ / "world.txt";
    platform::win::testing::write_file(world, "board one\n serial S1\nboard two\n serial S2\n");
    ASSERT_EQ(RLSIM_LoadWorldFile(world.c_str()), 0) << RLSIM_LastError();
    Peer other(dir_, {"hold", "0"}, world);
    ASSERT_EQ(other.line(), "held 0");
    ::testing::internal::CaptureStderr();
    RL_HANDLE h = nullptr, again = nullptr;
    EXPECT_EQ(RL_Open(0, &h), RL_DEVICE_NOT_OPENED);
    EXPECT_EQ(RL_Open(1, &h), RL_OK);  // the search went on and found a board
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RL_Open(0, &again), RL_DEVICE_NOT_OPENED);  // no board left to try
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "rawlnk: device S1 is open in another process\n");
    RL_Close(h);
}

TEST_F(StateTest, WithNoFolderOfItsOwnTheStateStaysInTheProcess) {
    platform::win::testing::TempDir root;
    platform::win::testing::write_file(root / "file", "");
    Peer peer(root / "file", {"write-read-ee", "1", "5", "0x1234"}, "",
              {{"TMPDIR", root / "missing"}});
    EXPECT_EQ(peer.line(), no_folder_note(root / "file", "a file, not a folder"));
    EXPECT_EQ(peer.line(), "0 0 1234");
    peer.finish();
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root.path()))
        left.push_back(e.path().filename());
    EXPECT_EQ(left, std::vector<std::string>{"file"});
}

TEST_F(StateTest, AnImageTheFolderCannotTakeIsAFailedWriteOrErase) {
    RL_HANDLE h = open_index(kBoardIndex);
    uint16_t before = 0;
    ASSERT_EQ(RL_ReadEE(h, 2, &before), RL_OK);
    {
        platform::files::testing::FullDisk full;
        EXPECT_EQ(RL_WriteEE(h, 2, before ^ 0xFFFF), RL_EEPROM_WRITE_FAILED);
        EXPECT_EQ(RL_EraseEE(h), RL_EEPROM_ERASE_FAILED);
    }
    uint16_t v = 0;
    EXPECT_EQ(RL_ReadEE(h, 2, &v), RL_OK);
    EXPECT_EQ(v, before);  // here as for the next program
    RL_Close(h);
    EXPECT_EQ(run_peer(dir_, {"describe", "0"}), "ZOQ ONBOARD RS232 CNTLR");
}

// Word 0 of chip 1, written 0 and then loaded again as by a program starting anew.
uint16_t word_after_a_restart() {
    RL_HANDLE h = nullptr;
    if (RL_Open(1, &h) != RL_OK) return 0xDEAD;
    const RL_STATUS s = RL_WriteEE(h, 0, 0x0000);
    RL_Close(h);
    RLSIM_ReloadWorld();
    uint16_t v = 0xDEAD;
    return s == RL_OK && RLSIM_PeekEE(1, 0, &v) == 0 ? v : 0xDEAD;
}

TEST_F(StateTest, AFolderDeletedWhileRunningIsMadeAgainOrAPrivateOneTaken) {
    RL_HANDLE h = open_index(1);
    for (const bool folder : {false, true}) {  // its files alone, then the folder itself
        for (const auto& e : std::filesystem::directory_iterator(dir_))
            if (!folder) std::filesystem::remove(e.path());
        if (folder) std::filesystem::remove_all(dir_);
        EXPECT_EQ(RL_WriteEE(h, 2, 0x5151), RL_OK);
        EXPECT_EQ(run_peer(dir_, {"open", "1"}),
                  "rawlnk: device 1 (no serial number) is open in another process");
    }
    RL_Close(h);
    EXPECT_EQ(run_peer(dir_, {"read-ee", "1", "2"}), "0 5151");  // made again, shared again
    std::filesystem::remove_all(dir_);
    platform::win::testing::write_file(dir_, "");  // now it cannot be made
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(word_after_a_restart(), 0x0000);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              no_folder_note(dir_, "a file, not a folder") + "\n");
}

TEST_F(StateTest, ProgrammedImageSurvivesARestart) {
    EXPECT_EQ(word_after_a_restart(), 0x0000);
    uint16_t v = 1;
    // A world whose image for the chip changed starts it from that image.
    load("chip blank2\n kind gen2\n eeprom 64\n words 0: 1111\n");
    ASSERT_EQ(RLSIM_PeekEE(0, 0, &v), 0);
    EXPECT_EQ(v, 0x1111);
}

TEST_F(StateTest, AnImageKeptInMemorySurvivesARestartToo) {
    platform::win::testing::EnvVar tmp("TMPDIR", (folder_ / "missing").c_str());
    ::testing::internal::CaptureStderr();
    RLSIM_SetStateDir(nullptr);  // no private folder can be made
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(word_after_a_restart(), 0x0000);
}

struct DamageCase {
    const char* name;
    std::string content;
};

class DamageTest : public StateTest, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamageTest, DamagedFileIsReportedAndReplaced) {
    RL_HANDLE h = open_index(1);
    ASSERT_EQ(RL_WriteEE(h, 3, 0x4242), RL_OK);
    RL_Close(h);
    const std::string path = dir_ + "/blank2.eeprom";
    std::string content = GetParam().content;
    if (content == "<truncated>") {
        std::ifstream in(path);
        std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        content = whole.substr(0, whole.size() / 2);
    } else if (content == "<fifo>") {
        unlink(path.c_str());
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    } else if (content == "<bad sum>") {
        std::ifstream in(path);
        std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        content = whole.replace(whole.find("4242"), 4, "4343");
    }
    if (content != "<fifo>") std::ofstream(path, std::ios::trunc) << content;
    ::testing::internal::CaptureStderr();
    RLSIM_ReloadWorld();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("blank2.eeprom is damaged"), std::string::npos) << err;
    uint16_t v = 0;
    ASSERT_EQ(RLSIM_PeekEE(1, 3, &v), 0);
    EXPECT_EQ(v, 0xFFFF);  // the world's blank image
    ::testing::internal::CaptureStderr();
    RLSIM_ReloadWorld();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");  // replaced by a sound file
}

TEST_F(StateTest, AnImageSavedForAnotherChipIsReportedAndReplaced) {
    ::testing::internal::CaptureStderr();
    load("chip blank2\n kind gen4\n image blank\n");  // 128 words where 64 were saved
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("blank2.eeprom: the world's chip differs from the saved image (the "
                       "world's has 128 words, the image 64); the image is replaced"),
              std::string::npos)
        << err;
}

INSTANTIATE_TEST_SUITE_P(Files, DamageTest,
                         ::testing::Values(DamageCase{"Garbage", "\x01\x02 not a state file"},
                                           DamageCase{"Empty", ""},
                                           DamageCase{"Truncated", "<truncated>"},
                                           DamageCase{"WordChanged", "<bad sum>"},
                                           DamageCase{"Fifo", "<fifo>"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StateTest, ProgramsTakeTheWorldNamedByTheEnvironment) {
    const std::string world = dir_ + "/world.txt";
    std::ofstream(world) << "chip only\n kind dual\n description \"Env World\"\n";
    Peer good(dir_, {"describe", "1"}, world);
    EXPECT_EQ(good.line(), "Env World B");
    std::ofstream(world, std::ios::trunc) << "chip only\n kind dual\n colour red\n";
    Peer bad(dir_, {"describe", "0"}, world);
    EXPECT_EQ(bad.line(), "rawlnk: RAWLNK_SIM=" + world + ": line 3: unknown keyword \"colour\"");
    EXPECT_EQ(bad.line(), "");  // and no devices
    Peer relative(dir_, {"describe", "0"}, "no/world.txt");
    EXPECT_EQ(relative.line(), "rawlnk: RAWLNK_SIM=no/world.txt (relative to " +
                                   std::filesystem::current_path().string() + "): not found");
    Peer folder(dir_, {"describe", "0"}, dir_);
    EXPECT_EQ(folder.line(), "rawlnk: RAWLNK_SIM=" + dir_ + ": not a regular file");
    EXPECT_EQ(folder.line(), "");
    std::ofstream(world, std::ios::trunc).close();
    ASSERT_EQ(truncate(world.c_str(), (16 << 20) + 1), 0);
    Peer large(dir_, {"describe", "0"}, world);
    EXPECT_EQ(large.line(),
              "rawlnk: RAWLNK_SIM=" + world + ": larger than the limit of 16777216 bytes");
}

TEST_F(StateTest, PeerSeesTheDescriptionOfAProgrammedChip) {
    RL_HANDLE h = open_index(kBoardIndex);
    ASSERT_EQ(RL_EraseEE(h), RL_OK);
    RL_Close(h);
    // A process starting now enumerates the erased board by its factory texts.
    EXPECT_EQ(run_peer(dir_, {"describe", "0"}), "Tessel-2U");
}

}  // namespace
}  // namespace rawlnk_test
