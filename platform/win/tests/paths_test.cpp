#include <gtest/gtest.h>

#include <filesystem>

#include "temp_dir.h"
#include "win/win_paths.h"
#include "win/win_types.h"
#include "win/windows_tree.h"

namespace win = platform::win;
using platform::win::testing::read_file;
using platform::win::testing::TempDir;
using platform::win::testing::write_file;

TEST(WinPaths, FullPathNames) {
    const std::pair<const char*, const char*> cases[] = {
        {"c:\\WINNT\\inf\\..\\system32", "C:\\WINNT\\system32"},
        {"C:/WINNT//inf/./oem3.inf", "C:\\WINNT\\inf\\oem3.inf"},
        {"C:\\..\\..\\boot.ini", "C:\\boot.ini"},
        {"C:\\", "C:\\"},
        {"C:\\WINNT\\", "C:\\WINNT"},
    };
    for (auto [in, out] : cases) EXPECT_EQ(win::full_path_name(in).value_or("-"), out) << in;
    for (const char* refused :
         {"WINNT\\inf", "\\WINNT", "\\\\server\\share\\x", "\\\\?\\C:\\x", "C:x",
          "C:", "/etc/passwd", "C:\\a:b", "C:\\a\\name.", "C:\\name \\x", "C:\\a*", "1:\\x"})
        EXPECT_FALSE(win::full_path_name(refused)) << refused;
}

TEST(WinPaths, NamesBelowAFolderIgnoreCaseAndNeedToBeStrictlyInside) {
    EXPECT_EQ(win::names_below("C:\\WINNT\\", "c:\\winnt\\INF\\x.inf"),
              (std::vector<std::string>{"INF", "x.inf"}));
    EXPECT_FALSE(win::names_below("C:\\WINNT", "C:\\WINNT"));
    EXPECT_FALSE(win::names_below("C:\\WINNT", "C:\\WINNT2\\x"));
    EXPECT_FALSE(win::names_below("C:\\WINNT", "D:\\WINNT\\x"));
    EXPECT_FALSE(win::names_below("C:\\WINNT", "C:\\WINNT\\inf\\..\\..\\boot.ini"));
    EXPECT_EQ(win::names_below("C:\\", "C:\\boot.ini"), (std::vector<std::string>{"boot.ini"}));
}

class WindowsTreeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        write_file(dir / "windows/system32/drivers/rawlnk.sys", "driver");
        write_file(dir / "windows/inf/oem3.inf", "inf");
        write_file(dir / "outside.txt", "keep");
        std::filesystem::create_directory_symlink(dir.path(), dir / "windows/escape");
        std::filesystem::create_symlink(dir / "outside.txt", dir / "windows/link.txt");
    }
    TempDir dir;
    win::WindowsTree tree{"C:\\WINNT", dir / "windows"};
};

TEST_F(WindowsTreeTest, NamesAreFoundWithoutRegardToCase) {
    EXPECT_EQ(tree.find_file("c:\\winnt\\SYSTEM32\\Drivers\\RAWLNK.SYS"),
              dir / "windows/system32/drivers/rawlnk.sys");
    EXPECT_EQ(tree.find_status("C:\\WINNT\\INF\\OEM3.INF"), win::ERROR_SUCCESS);
    EXPECT_EQ(tree.delete_file("C:\\winnt\\inf\\Oem3.Inf"), win::ERROR_SUCCESS);
    EXPECT_FALSE(std::filesystem::exists(dir / "windows/inf/oem3.inf"));
    EXPECT_EQ(tree.delete_file("C:\\WINNT\\inf\\oem3.inf"), win::ERROR_FILE_NOT_FOUND);
}

TEST_F(WindowsTreeTest, NothingOutsideTheWindowsFolderIsReached) {
    for (const char* path :
         {"C:\\WINNT\\..\\outside.txt", "C:\\outside.txt", "D:\\WINNT\\inf\\oem3.inf",
          "outside.txt", "C:\\WINNT\\inf", "C:\\WINNT"}) {
        EXPECT_FALSE(tree.find_file(path)) << path;
        EXPECT_EQ(tree.delete_file(path), win::ERROR_FILE_NOT_FOUND) << path;
        EXPECT_EQ(tree.find_status(path), win::ERROR_FILE_NOT_FOUND) << path;
    }
    // What lies behind a link cannot be told: it is not "missing".
    for (const char* path : {"C:\\WINNT\\escape\\outside.txt", "C:\\WINNT\\link.txt"})
        EXPECT_EQ(tree.delete_file(path), win::ERROR_ACCESS_DENIED) << path;
    std::string host_absolute = dir / "outside.txt";
    EXPECT_EQ(tree.delete_file(host_absolute), win::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(read_file(dir / "outside.txt"), "keep");
}

TEST_F(WindowsTreeTest, AFolderSwappedForALinkJustBeforeTheDeleteLeadsNowhereElse) {
    write_file(dir / "elsewhere/oem3.inf", "keep");
    tree.set_found_hook([&] {
        std::filesystem::rename(dir / "windows/inf", dir / "windows/old");
        std::filesystem::create_directory_symlink(dir / "elsewhere", dir / "windows/inf");
    });
    EXPECT_EQ(tree.delete_file("C:\\WINNT\\inf\\oem3.inf"), win::ERROR_SUCCESS);
    EXPECT_EQ(read_file(dir / "elsewhere/oem3.inf"), "keep");
    EXPECT_FALSE(std::filesystem::exists(dir / "windows/old/oem3.inf"));
}

TEST_F(WindowsTreeTest, PathsOf260CharactersAreTooLong) {
    std::string path = "C:\\WINNT\\" + std::string(251, 'a');  // 260 characters
    EXPECT_EQ(tree.delete_file(path), win::ERROR_FILENAME_EXCED_RANGE);
    EXPECT_EQ(tree.find_status(path), win::ERROR_FILENAME_EXCED_RANGE);
}
