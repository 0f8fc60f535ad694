// main() of every test binary: windows offscreen, and a temporary folder of the build tree's
// own, so that test runs of two checkouts on one machine never meet in fixed-named files.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("TMPDIR", QX_TEST_TMPDIR, 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
