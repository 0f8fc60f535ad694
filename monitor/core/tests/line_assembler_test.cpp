#include "line_assembler.h"

#include <gtest/gtest.h>

#include "event_text.h"
#include "ui/doubles.h"

namespace velmora::monitor {
namespace {

using testing::Assembler;
using testing::events;
using testing::prefix;

TEST(HexLine, AByteIsShownAtItsAcknowledgeAndTheLineCompletesAtTheStop) {
    Assembler a;
    a.dec.feed("S10110010");
    a.dec.feed("0");
    EXPECT_EQ(a.dec.HexLineText, prefix(1) + "[S]B2[A]");
    EXPECT_TRUE(a.sink.shown.empty());
    a.dec.feed("P");
    const std::string line = prefix(1) + "[S]B2[A][P]";
    EXPECT_EQ(a.sink.shown, std::vector<std::string>{line});
    EXPECT_EQ(a.sink.logged, std::vector<std::string>{line});
    EXPECT_TRUE(a.dec.HexLineText.empty());
    EXPECT_EQ(a.dec.EventCount, 0);
}

TEST(HexLine, ReadWithRepeatedStartAndNack) {
    Assembler a;
    a.dec.LineNumber = 11;
    EXPECT_EQ(a.run("S 16a 09a R 17a E8a 03n P"),
              std::vector<std::string>{prefix(12) + "[S]16[A]09[A][s]17[A]E8[A]03[N][P]"});
}

TEST(HexLine, NothingIsAssembledBeforeTheFirstStart) {
    Assembler a;
    a.run("10110010 0 P =0110 R 16a P");
    EXPECT_TRUE(a.sink.shown.empty());
    EXPECT_FALSE(a.dec.StartSeen);
    EXPECT_EQ(a.dec.LineNumber, 0);
    EXPECT_EQ(a.run("S 16a P"), std::vector<std::string>{prefix(1) + "[S]16[A][P]"});
}

TEST(HexLine, AStartBeforeTheStopAppendsASecondPrefix) {
    Assembler a;
    EXPECT_EQ(a.run("S 16a S 17a P"),
              std::vector<std::string>{prefix(1) + "[S]16[A]" + prefix(2) + "[S]17[A][P]"});
}

TEST(HexLine, EventsAfterAStopWithoutAStartGoOnTheNextLine) {
    Assembler a;
    EXPECT_EQ(a.run("S 16a P 17a P"),
              (std::vector<std::string>{prefix(1) + "[S]16[A][P]", "17[A][P]"}));
}

TEST(HexLine, TheTimeStampFollowsTheNumberWhenTimeIsTicked) {
    platform::ui::ScopedDoubles doubles;
    Assembler a;
    a.dec.Timechk = true;
    EXPECT_EQ(a.run("S 16a P"), std::vector<std::string>{"#1  09/12/2026 04:28:05\t[S]16[A][P]"});
}

TEST(LineOutput, DisplayOffAndPostProcessingOnlyLogAndLoggingOffOnlyShows) {
    struct Case {
        bool display, post, log;
        size_t shown, logged;
    };
    for (const Case c : {Case{true, false, true, 1, 1}, Case{false, false, true, 0, 1},
                         Case{true, true, true, 0, 1}, Case{true, false, false, 1, 0}}) {
        Assembler a;
        a.dec.DisplayON = c.display;
        a.dec.PostProcessMode = c.post;
        a.dec.DatalogOn = c.log;
        a.run("S 16a P");
        EXPECT_EQ(a.sink.shown.size(), c.shown);
        EXPECT_EQ(a.sink.logged.size(), c.logged);
    }
}

TEST(LineNumber, RestartsAtZeroAfterTwoBillion) {
    Assembler a;
    a.dec.LineNumber = kLineNumberLimit;
    EXPECT_EQ(a.run("S 16a P S 17a P"),
              (std::vector<std::string>{prefix(2'000'000'001) + "[S]16[A][P]",
                                        prefix(1) + "[S]17[A][P]"}));
}

TEST(LineModes, EachModeAssemblesItsOwnLineText) {
    Assembler a(DecodeMode::SBS);
    a.dec.feed(events("S 16a 09a"));
    EXPECT_EQ(a.dec.SbsLineText, prefix(1));
    EXPECT_TRUE(a.dec.HexLineText.empty());
    a.dec.mode = DecodeMode::PMBus;
    a.dec.feed(events("P S B0a 03a P"));
    EXPECT_EQ(a.sink.shown, (std::vector<std::string>{"[S]16[A]09[A][P]",
                                                      prefix(2) + "[S]B0[A][CLEAR_FAULTS][A][P]"}));
    EXPECT_EQ(a.dec.SbsLineText, prefix(1));
}

TEST(Watchdog, FiresOnTheEventAfterFourThousandWithoutStartOrStop) {
    Assembler a;
    std::string text = "S";
    for (int i = 0; i < 1333; ++i) text += "101100100";  // 3 events each: 4000 with the start
    auto fed = a.dec.feed(text);
    EXPECT_FALSE(fed.watchdog);
    EXPECT_EQ(a.dec.EventCount, 4000);
    fed = a.dec.feed(
        "10110010"
        "1011");
    EXPECT_TRUE(fed.watchdog);
    EXPECT_EQ(fed.taken, 4u);  // stopped on the high digit, event 4001
    EXPECT_EQ(a.sink.watchdogs, 1);
    EXPECT_EQ(a.dec.EventCount, 0);
    EXPECT_EQ(a.dec.LineNumber, 0);
}

TEST(Watchdog, RepeatedStartsCountAsEvents) {
    Assembler a;
    const auto fed = a.dec.feed("S" + std::string(4000, 'R'));
    EXPECT_TRUE(fed.watchdog);
    EXPECT_EQ(fed.taken, 4001u);
}

TEST(LineText, AnEndlessRunOfStartsIsPassedOnInPiecesNotHeld) {
    Assembler a;
    a.dec.DisplayON = false;
    a.dec.feed(std::string(100000, 'S'));
    EXPECT_LE(a.dec.HexLineText.size(), kMaxLineText);
    ASSERT_FALSE(a.sink.logged.empty());
    EXPECT_EQ(a.sink.logged.front().rfind(prefix(1) + "[S]" + prefix(2), 0), 0u);
    EXPECT_EQ(a.sink.watchdogs, 0);
}

}  // namespace
}  // namespace velmora::monitor
