#include <gtest/gtest.h>

#include "ui/doubles.h"
#include "ui/qt_services.h"

namespace ui = platform::ui;

TEST(FakeServices, AnswersInOrderThenFirstButtonAndRecords) {
    ui::ScopedDoubles d;
    d.ui.answers = {ui::Answer::No};
    EXPECT_EQ(ui::show_message("Open Results?", ui::Buttons::YesNo), ui::Answer::No);
    EXPECT_EQ(ui::show_message("again", ui::Buttons::YesNo), ui::Answer::Yes);
    EXPECT_EQ(ui::show_message("plain"), ui::Answer::Ok);
    EXPECT_EQ(d.ui.message_texts(), (std::vector<std::string>{"Open Results?", "again", "plain"}));
    EXPECT_FALSE(ui::services().open_file({}).has_value());
}

TEST(FakeClock, PollingWaitEndsAndAdvanceIsReported) {
    ui::ScopedDoubles d;
    uint64_t told = 0;
    d.clock.on_advance = [&](uint64_t us) { told += us; };
    double start = ui::clock().seconds();
    int polls = 0;
    while (ui::clock().seconds() < start + 0.05) ++polls;
    EXPECT_GT(polls, 10);
    EXPECT_GE(told, 50000u);
}

TEST(DefaultsRestored, AfterScopedDoubles) {
    { ui::ScopedDoubles d; }
    double a = ui::clock().seconds();
    EXPECT_GE(ui::clock().seconds(), a);
}

TEST(QtFilter, PairsBecomeQtFilters) {
    EXPECT_EQ(ui::qt_filter("EEPROM Program Templates|*.ept"), "EEPROM Program Templates (*.ept)");
    EXPECT_EQ(ui::qt_filter("Setting (*.SET)|*.SET|All|*.*;*.txt"),
              "Setting (*.SET) (*.SET);;All (*.* *.txt)");
}
