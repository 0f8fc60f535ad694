// The state folder chosen when no home is known: one below a shared root is used only
// while it is ours alone.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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
    StateStore store;
    store.use_shared_dir(root.path());

    ASSERT_EQ(chmod(own.c_str(), 01777), 0);  // made first by someone, open to all
    EXPECT_EQ(fallback_state_dir(root.path()), "");
    store.attach("c", {1});  // nor used by one that chose it while it was ours alone
    EXPECT_TRUE(std::filesystem::is_empty(own));
    std::filesystem::remove(own);
    std::filesystem::create_directory(root / "elsewhere");
    std::filesystem::create_directory_symlink(root / "elsewhere", own);
    EXPECT_EQ(fallback_state_dir(root.path()), "");
}

TEST(FallbackStateFolder, ARelativeStateHomeCountsAsUnset) {
    std::vector<std::pair<const char*, std::optional<std::string>>> kept;
    for (const char* name : {"RAWLNK_STATE_DIR", "XDG_STATE_HOME", "HOME"}) {
        const char* v = std::getenv(name);
        kept.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
    }
    setenv("RAWLNK_STATE_DIR", "rel", 1);  // the same for the library's own variable
    setenv("XDG_STATE_HOME", "rel", 1);
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(default_state_dir(), "/home/someone/.local/state/rawlnk");
    for (const auto& [name, v] : kept) v ? setenv(name, v->c_str(), 1) : unsetenv(name);
}

}  // namespace
}  // namespace rawlnk
