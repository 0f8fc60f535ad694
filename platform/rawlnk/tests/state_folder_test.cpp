// The state folder chosen when no home is known: one below a shared root is used only
// while it is ours alone.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "state_store.h"
#include "win/tests/temp_dir.h"

namespace rawlnk {
namespace {

TEST(FallbackStateFolder, IsUsedOnlyWhenItIsOursAndClosedToOthers) {
    platform::win::testing::TempDir root;
    const std::string own = root / ("rawlnk-state-" + std::to_string(getuid()));
    EXPECT_EQ(fallback_state_dir(root.path()), own);
    struct stat st {};
    ASSERT_EQ(stat(own.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    ASSERT_EQ(chmod(own.c_str(), 01777), 0);  // made first by someone, open to all
    EXPECT_EQ(fallback_state_dir(root.path()), "");
    std::filesystem::remove(own);
    std::filesystem::create_directory(root / "elsewhere");
    std::filesystem::create_directory_symlink(root / "elsewhere", own);
    EXPECT_EQ(fallback_state_dir(root.path()), "");
}

}  // namespace
}  // namespace rawlnk
