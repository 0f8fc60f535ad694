#include "files/atomic_file.h"

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

}  // namespace
}  // namespace platform::files
