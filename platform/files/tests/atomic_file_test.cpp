#include "files/atomic_file.h"
#include "files/state_home.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "win/tests/temp_dir.h"

namespace platform::files {
namespace {

using platform::win::testing::read_file;
using platform::win::testing::TempDir;
using platform::win::testing::write_file;

TEST(ReadWholeFile, OnlyARegularFileWithinItsBoundIsRead) {
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    write_file(dir / "ten", "0123456789");
    for (const std::string& path :
         {dir / "fifo", dir.path(), std::string("/dev/zero"), dir / "missing"})
        EXPECT_FALSE(read_whole_file(path, 1 << 20)) << path;
    EXPECT_EQ(read_whole_file(dir / "ten", 10), "0123456789");
    EXPECT_FALSE(read_whole_file(dir / "ten", 9));
    EXPECT_EQ(read_whole_file(dir / "ten", 4, Overlong::Cut), "0123");
    EXPECT_EQ(read_failure(dir / "missing", 10), "not found");
    EXPECT_EQ(read_failure(dir / "fifo", 10), "not a regular file");
    EXPECT_EQ(read_failure(dir.path(), 10), "not a regular file");
    EXPECT_EQ(read_failure(dir / "ten", 9), "larger than the limit of 9 bytes");
}

TEST(WriteFileAtomically, ReplacesALinkAndNeverWritesThroughOne) {
    TempDir dir;
    write_file(dir / "outside", "keep");
    std::filesystem::create_directory(dir / "own");
    std::filesystem::create_symlink(dir / "outside", dir / "own/file");
    ASSERT_TRUE(write_file_atomically(dir / "own/file", "new"));
    EXPECT_EQ(read_file(dir / "outside"), "keep");
    EXPECT_FALSE(std::filesystem::is_symlink(dir / "own/file"));
    EXPECT_EQ(read_file(dir / "own/file"), "new");
    // A folder in the way: reported, and nothing left behind.
    std::filesystem::create_directories(dir / "own/busy/x");
    EXPECT_FALSE(write_file_atomically(dir / "own/busy", "y"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "own"),
                            std::filesystem::directory_iterator()),
              2);
}

TEST(WriteFileAtomically, KeepsTheModeOfTheFileItReplaces) {
    TempDir dir;
    const mode_t mask = ::umask(022);
    write_file(dir / "private", "old");
    ASSERT_EQ(::chmod((dir / "private").c_str(), 0600), 0);
    ASSERT_TRUE(write_file_atomically(dir / "private", "new"));
    ASSERT_TRUE(write_file_atomically(dir / "fresh", "new"));
    ::umask(mask);
    struct stat st {};
    ASSERT_EQ(::stat((dir / "private").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    ASSERT_EQ(::stat((dir / "fresh").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST(UserFolders, OnlyAbsolutePathsCount) {
    const std::string xdg = std::getenv("XDG_STATE_HOME") ? std::getenv("XDG_STATE_HOME") : "";
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("XDG_STATE_HOME", "rel", 1);
    ::setenv("HOME", "/h", 1);
    EXPECT_EQ(user_state_home(), "/h/.local/state");
    ::setenv("XDG_STATE_HOME", "/x", 1);
    EXPECT_EQ(user_state_home(), "/x");
    ::unsetenv("XDG_STATE_HOME");
    ::setenv("HOME", "", 1);
    EXPECT_EQ(user_state_home(), "");
    ::setenv("HOME", home.c_str(), 1);
    if (!xdg.empty()) ::setenv("XDG_STATE_HOME", xdg.c_str(), 1);
    const std::string tmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    ::setenv("TMPDIR", "rel", 1);
    EXPECT_EQ(temp_folder(), "/tmp");
    ::setenv("TMPDIR", "/t", 1);
    EXPECT_EQ(temp_folder(), "/t");
    if (tmp.empty()) ::unsetenv("TMPDIR");
    else ::setenv("TMPDIR", tmp.c_str(), 1);
}

}  // namespace
}  // namespace platform::files
