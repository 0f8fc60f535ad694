#include "about_box.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>

#include "window_fixture.h"

namespace pelmo {
namespace {

TEST(AboutBox, ShowsLogoVersionAndOk) {
    testing::EnsureApplication();
    TAboutBox box;
    EXPECT_EQ(box.objectName(), "AboutBox");
    EXPECT_EQ(box.windowTitle(), "About");
    EXPECT_EQ(box.size(), QSize(367, 223));
    EXPECT_TRUE(box.has_logo());
    const QLabel* logo = box.findChild<QLabel*>("ProgramIcon");
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->pixmap().size(), QSize(250, 97));
    EXPECT_EQ(box.findChild<QLabel*>("Version")->text(), "PELMO Version 3.5");
    EXPECT_FALSE(box.findChild<QLabel*>("Comments")->text().isEmpty());
    box.show();
    box.findChild<QAbstractButton*>("OKButton")->click();
    EXPECT_EQ(box.result(), QDialog::Accepted);
    EXPECT_FALSE(box.isVisible());
}

TEST(AboutBox, DamagedLogoLeavesTheBoxWithoutAPicture) {
    testing::EnsureApplication();
    const auto logo = LogoJpeg();
    const std::vector<uint8_t> cut(logo.begin(), logo.begin() + static_cast<long>(logo.size() / 3));
    TAboutBox box(nullptr, cut);
    EXPECT_FALSE(box.has_logo());
    EXPECT_TRUE(box.findChild<QLabel*>("ProgramIcon")->pixmap().isNull());
    EXPECT_EQ(box.findChild<QLabel*>("Version")->text(), "PELMO Version 3.5");
}

}  // namespace
}  // namespace pelmo
