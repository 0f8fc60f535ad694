// Captures through the window on the simulated board: the log set-up, the capture loop,
// Stop with its report and post-processing, the watchdog, and leaving during a capture.
#include <QCheckBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <regex>

#include "log_setup.h"
#include "monitor_fixture.h"

namespace velmora::monitor::testing {
namespace {

using platform::ui::Answer;

const std::string kStamp = "09/12/2026 04:28:05";

class CaptureWindowTest : public MonitorFixture {
  protected:
    std::string data() { return mon->Data_Text(); }
    bool menus_enabled() const {
        return mon->monFile->isEnabled() && mon->monEdit->isEnabled() &&
               mon->monView->isEnabled() && mon->monHelp->isEnabled();
    }
    std::string saved_in(const std::string& name) { return "Data saved in " + path(name) + "\r\n"; }
};

TEST_F(CaptureWindowTest, LogSetUpRefusalsLeaveTheWindowIdleWithNoLinkOpen) {
    enter(replay_world("S101100100P"));
    fs::create_directories(dir / "Program Files");
    std::ofstream(path("taken.txt")) << "x";
    ui.ui.file_answers = {path("Program Files/run.txt"), path("taken.txt"), std::nullopt};
    for (int i = 0; i < 3; ++i) mon->RX_Click();

    EXPECT_EQ(ui.ui.save_dialogs.size(), 3u);
    EXPECT_EQ(ui.ui.message_texts(),
              (std::vector<std::string>{kProgramFilesRefused, kOverwriteRefused}));
    for (const auto& box : ui.ui.messages) EXPECT_TRUE(box.title.empty());
    EXPECT_EQ(RLSIM_IsOpen(0), 0);
    EXPECT_EQ(mon->RX_BackColor(), kButtonFace);
    EXPECT_TRUE(menus_enabled());
    EXPECT_TRUE(mon->Msgtextbox->toPlainText().isEmpty());
    EXPECT_TRUE(data().empty());
    EXPECT_EQ(yields, 0);
    EXPECT_EQ(read_file(path("taken.txt")), "x");
}

TEST_F(CaptureWindowTest, TheCloseBoxDuringTheLogSetUpLeavesNoFileBehind) {
    enter(replay_world("S101100100P"));
    // The set-up lets the window system run while it lists the log's folder.
    ui.ui.on_process_events = [&] { mon->close(); };
    start();
    EXPECT_EQ(monitor_window(), nullptr);
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(CaptureWindowTest, ACaptureStoppedWithinTheFirstSecondReportsNoDataThenWhereItIsSaved) {
    enter(replay_world("S101100100P"));
    bool green_while_running = false, menus_off_while_running = false, open_while_running = false;
    script.push_back([&] {
        green_while_running = mon->RX_BackColor() == kCaptureGreen;
        menus_off_while_running = !menus_enabled();
        open_while_running = RLSIM_IsOpen(0) != 0;
        mon->RXStop_Click();
    });
    ui.ui.answers = {Answer::No};
    start();

    EXPECT_TRUE(green_while_running);
    EXPECT_TRUE(menus_off_while_running);
    EXPECT_TRUE(open_while_running);
    EXPECT_EQ(mon->Msgtextbox->toPlainText().toStdString(),
              "Logged Data saved in " + path("run1.txt") + "\n");
    EXPECT_EQ(data(), "Data capture in process ...\r\nNo data captured\r\n" + saved_in("run1.txt"));
    ASSERT_EQ(ui.ui.messages.size(), 1u);
    EXPECT_EQ(ui.ui.messages[0].text, saved_in("run1.txt") + "Do you want to open the results?");
    EXPECT_EQ(ui.ui.messages[0].title, "Open Results");
    EXPECT_EQ(ui.ui.messages[0].icon, platform::ui::Icon::Question);
    EXPECT_TRUE(ui.ui.shell_calls.empty());
    EXPECT_EQ(read_file(path("run1.txta")), "");
    EXPECT_EQ(mon->RX_BackColor(), kButtonFace);
    EXPECT_TRUE(menus_enabled());
    EXPECT_EQ(RLSIM_IsOpen(0), 0);
}

TEST_F(CaptureWindowTest, YesToTheQuestionOpensTheLogFile) {
    enter(replay_world("S101100100P"));
    ui.ui.answers = {Answer::Yes};
    start();  // the empty script stops at the first yield
    ASSERT_EQ(ui.ui.shell_calls.size(), 1u);
    EXPECT_EQ(ui.ui.shell_calls[0].path, path("run1.txt"));
    EXPECT_EQ(ui.ui.shell_calls[0].verb, "Open");
}

TEST_F(CaptureWindowTest, TheFirstChunkIsDecodedFromTheStartAfterItsFirstStop) {
    const std::string cycle =
        "0101PS01"
        "1011000P";
    enter_with_first_chunk(cycle, 8);  // the loop reads "0101PS01"
    std::string first_chunk;
    script.push_back([&] {
        first_chunk = mon->Data_Text();
        arrive(8);  // then "1011000P", decoded from its first character
    });
    ui.ui.answers = {Answer::No};
    start();

    const std::string line = "#1  " + kStamp + "\t[S]6C[A][P]";
    EXPECT_EQ(first_chunk, "Data capture in process ...\r\n");
    EXPECT_EQ(data(), "Data capture in process ...\r\n" + line + "\r\nNo data captured\r\n" +
                          saved_in("run1.txt"));
    EXPECT_EQ(read_file(path("run1.txt")), line + "\r\n");
}

TEST_F(CaptureWindowTest, AFirstChunkWithoutAStopIsNotDecoded) {
    const std::string cycle =
        "0101S01"
        "1011000P";
    enter_with_first_chunk(cycle, 7);  // "0101S01": no stop, nothing decoded
    script.push_back([&] { arrive(8); });
    script.push_back([&] { arrive(15); });  // the next cycle has its start and stop
    ui.ui.answers = {Answer::No};
    start();
    EXPECT_EQ(read_file(path("run1.txt")), "#1  " + kStamp + "\t[S]6C[A][P]\r\n");
}

TEST_F(CaptureWindowTest, StartWhileACaptureRunsIsIgnored) {
    enter(replay_world("S101100100P"));
    script.push_back([&] {
        ui.ui.file_answers.push_back(path("second.txt"));
        mon->RX_Click();
    });
    ui.ui.answers = {Answer::No};
    start();
    EXPECT_EQ(ui.ui.save_dialogs.size(), 1u);
    EXPECT_FALSE(fs::exists(path("second.txt")));
    EXPECT_EQ(yields, 2);
}

TEST_F(CaptureWindowTest, AHighRateSwitchesToPostProcessingWithTimeLinesInTheLog) {
    const std::string cycle = "S101100100P";
    enter(replay_world(cycle));
    bool time_ticked_at_start = false;
    std::string data_after_switch;
    script.push_back([&] {
        time_ticked_at_start = mon->Timechk->isChecked();
        align(cycle);
        // Past the first second, and more than 1000 characters in one read.
        move_clock_only(1.2);
        arrive(1100);
    });
    script.push_back([&] {
        data_after_switch = mon->Data_Text();
        move_clock_only(0.05);
        arrive(1100);
    });
    ui.ui.answers = {Answer::No};
    start();

    EXPECT_TRUE(time_ticked_at_start);
    EXPECT_FALSE(mon->Timechk->isChecked());
    const std::string switched =
        "Data capture in process ...\r\n"
        "Switch to Post-processing due to high data rate. Press stop to post-process data\r\n";
    EXPECT_EQ(data_after_switch, switched);
    EXPECT_EQ(data(), switched + "Post-processing...\r\n" + saved_in("run1.txt"));

    // Two raw records of 1100 characters each.
    const std::string raw = read_file(path("run1.txta"));
    const std::regex record(",(\\d+);((?:S101100100P){100})\r\n");
    std::vector<std::string> ms;
    for (std::sregex_iterator it(raw.begin(), raw.end(), record), end; it != end; ++it)
        ms.push_back((*it)[1]);
    ASSERT_EQ(ms.size(), 2u) << raw.substr(0, 40);

    // The decoded log: the switch line, then each record's time line and its lines, the
    // first record's from its first start; numbered anew, without a stamp.
    std::string expected = "Switch to Post-processing due to high data rate.\r\n";
    int n = 0;
    for (const std::string& record_ms : ms) {
        expected += "Time elapsed: " + record_ms + "mSec\r\n";
        for (int i = 0; i < 100; ++i) {
            expected += '#';
            expected += std::to_string(++n);
            expected += "  \t[S]B2[A][P]\r\n";
        }
    }
    EXPECT_EQ(read_file(path("run1.txt")), expected);
    EXPECT_GT(std::stoi(ms[0]), 0);
    EXPECT_GT(std::stoi(ms[1]), std::stoi(ms[0]));
}

TEST_F(CaptureWindowTest, AfterTheWatchdogStopAsksNothingAndReadsNoFile) {
    const std::string cycle = "S" + std::string(13500, '0') + "P";
    enter_with_first_chunk(cycle, 900);
    bool menus_off_after_watchdog = false;
    uint32_t color_after_watchdog = 0;
    ui.ui.on_message = [&](const platform::ui::MessageBox&) {
        color_after_watchdog = mon->RX_BackColor();
        menus_off_after_watchdog = !menus_enabled();
    };
    // Chunks of 900 characters (300 events each) until the watchdog stops the loop.
    for (int i = 0; i < 20; ++i) script.push_back([&] { arrive(900); });
    start();

    ASSERT_EQ(ui.ui.message_texts(), std::vector<std::string>{"No Start or Stop bit detected"});
    EXPECT_TRUE(ui.ui.messages[0].title.empty());
    EXPECT_EQ(color_after_watchdog, kButtonFace);
    EXPECT_TRUE(menus_off_after_watchdog);
    EXPECT_FALSE(mon->capture().DatalogOn());
    EXPECT_LT(yields, 20);

    mon->RXStop_Click();
    EXPECT_EQ(ui.ui.messages.size(), 1u);
    EXPECT_TRUE(menus_enabled());
    EXPECT_EQ(data(), "Data capture in process ...\r\n");
    EXPECT_EQ(RLSIM_IsOpen(0), 0);
}

TEST_F(CaptureWindowTest, ExitDuringACaptureStopsLeavesOnceAndUnloadsAfterTheLoop) {
    const std::string cycle = "S101100100P";
    enter_with_first_chunk(cycle, 22);
    script.push_back([&] {
        ui.clock.step = 0.001;  // the leave sequence waits a quarter second
        writes();
        mon->monExit->trigger();
    });
    ui.ui.answers = {Answer::No};
    QPointer<Frm_Monitor> window(mon);
    start();

    EXPECT_EQ(writes(), "4E 4E 4E 4E 4E 4E 4E 4E 4E 4E\n");
    EXPECT_EQ(ui.ui.messages.size(), 1u);  // Stop's question
    EXPECT_EQ(monitor_window(), nullptr);
    EXPECT_EQ(read_file(path("run1.txt")),
              "#1  " + kStamp + "\t[S]B2[A][P]\r\n#2  " + kStamp + "\t[S]B2[A][P]\r\n");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

TEST_F(CaptureWindowTest, CreateNewFileDuringACaptureTakesTheLaterLines) {
    const std::string cycle = "S101100100P";
    enter_with_first_chunk(cycle, 11);
    const fs::path next = fs::path(App_Folder()) / "test2.txt";
    script.push_back([&] {
        ASSERT_TRUE(mon->CreateNewFile());
        arrive(11);
    });
    ui.ui.answers = {Answer::No};
    start();

    EXPECT_EQ(shared().LogFileCount, 2);
    EXPECT_EQ(shared().DataFileName, "/test2.txt");
    const std::string line = "\t[S]B2[A][P]\r\n";
    EXPECT_EQ(read_file(path("run1.txt")), "#1  " + kStamp + line);
    EXPECT_EQ(read_file(next), "continued... \r\n#2  " + kStamp + line);
    // Stop still names the file the user chose.
    EXPECT_EQ(ui.ui.messages.at(0).text, saved_in("run1.txt") + "Do you want to open the results?");
    fs::remove(next);
}

// Traffic that counts: Write Word 0x44 to the battery, its data one up on each
// transaction, 38 characters each, about 3.2 s of the stream before the count wraps.
constexpr int kCounts = 10000;

std::string counting_traffic() {
    std::string s;
    const auto byte = [&s](int b) {
        for (int bit = 7; bit >= 0; --bit) s += (b >> bit) & 1 ? '1' : '0';
        s += '0';
    };
    for (int i = 0; i < kCounts; ++i) {
        s += 'S';
        byte(0x16);
        byte(0x44);
        byte(i & 0xFF);
        byte(i >> 8);
        s += 'P';
    }
    return s;
}

struct CountingCapture {
    const char* name;
    int switch_ms;  // when one read of more than 1000 characters comes; -1: never
    int clear_ms;   // when Clear is pressed; -1: never
    int remove_raw_ms = -1;
};

class CountingCaptureTest : public CaptureWindowTest,
                            public ::testing::WithParamInterface<CountingCapture> {};

// Two seconds at the full line rate, read 600 characters at a time (2400 at the switch),
// then Stop: the log holds every transaction from the first decoded start on, once, in
// order, and whole; Clear only leaves out what it purged.
TEST_P(CountingCaptureTest, LogsEveryTransactionOnceInOrder) {
    const CountingCapture c = GetParam();
    enter(replay_world(counting_traffic()));
    int ms = 0;
    uint32_t arrived = 0;
    const auto read_for = [&](int step_ms) {
        const uint32_t before = queued();
        ui.clock.advance(step_ms / 1000.0);  // the board moves with the program's clock
        arrived += queued() - before;
        ms += step_ms;
    };
    script.push_back([&] {
        ui.clock.step = 0;
        read_for(5);
    });
    for (int i = 1; i < 400; ++i) {
        script.push_back([&] {
            if (ms == c.remove_raw_ms) fs::remove(path("run1.txta"));
            if (ms == c.clear_ms) {
                read_for(5);  // what arrived goes with the purge, a byte cut in two
                mon->Clearmsg->click();
            } else {
                read_for(ms == c.switch_ms ? 20 : 5);
            }
        });
    }
    ui.ui.answers = {Answer::No};
    start();
    ASSERT_EQ(mon->capture().PostProcessMode(), c.switch_ms >= 0);
    EXPECT_EQ(ui.ui.messages.back().title, "Open Results");

    const std::regex transaction(
        "#(\\d+)  "
        "[^\t]*\t\\[S\\]16\\[A\\]44\\[A\\]([0-9A-F]{2})\\[A\\]([0-9A-F]{2})\\[A\\]\\[P\\]");
    const std::regex time_line("Time elapsed: -?\\d+mSec");
    std::istringstream log(read_file(path("run1.txt")));
    std::vector<int> numbers, counts;
    int switch_lines = 0, gaps = 0;
    for (std::string line; std::getline(log, line);) {
        ASSERT_EQ(line.back(), '\r');
        line.pop_back();
        std::smatch m;
        if (line == "Switch to Post-processing due to high data rate.") {
            ++switch_lines;
        } else if (std::regex_match(line, time_line)) {
            EXPECT_EQ(switch_lines, 1) << "a time line before the switch";
        } else {
            ASSERT_TRUE(std::regex_match(line, m, transaction)) << "not sent on the bus: " << line;
            numbers.push_back(std::stoi(m[1]));
            counts.push_back(std::stoi(m[3].str() + m[2].str(), nullptr, 16));
        }
    }
    EXPECT_EQ(switch_lines, c.switch_ms >= 0 ? 1 : 0);
    const int purged = c.clear_ms >= 0 ? 1 : 0;
    ASSERT_GT(counts.size(), arrived / 38 - 3 - purged * 17);
    for (size_t i = 1; i < counts.size(); ++i) {
        if (counts[i] == (counts[i - 1] + 1) % kCounts) {
            EXPECT_TRUE(purged || numbers[i] == numbers[i - 1] + 1) << numbers[i];
        } else {
            ++gaps;
            EXPECT_LE(gaps, purged) << "count " << counts[i - 1] << " then " << counts[i];
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Switches, CountingCaptureTest,
                         ::testing::Values(CountingCapture{"NoSwitch", -1, -1},
                                           CountingCapture{"SwitchBeforeOneSecond", 500, -1},
                                           CountingCapture{"SwitchAfterOneSecond", 1500, -1},
                                           CountingCapture{"ClearWhileLive", -1, 810},
                                           CountingCapture{"ClearAfterTheSwitch", 500, 1200},
                                           CountingCapture{"RawFileRemoved", 500, -1, 1200}),
                         [](const ::testing::TestParamInfo<CountingCapture>& p) {
                             return std::string(p.param.name);
                         });

TEST_F(CaptureWindowTest, TimeStampsAreInTheUsersDateAndTimeForm) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    enter_with_first_chunk("S101100100P", 11);
    ui.ui.answers = {Answer::No};
    start();
    EXPECT_EQ(read_file(path("run1.txt")), "#1  09.12.26 04:28:05\t[S]B2[A][P]\r\n");
}

class TrafficBoxLimitTest : public CaptureWindowTest {
  protected:
    const std::string line = "#1  " + kStamp + "\t[S]B2[A][P]\r\n";

    // `Data` when a chunk arrives while it holds 1000 lines of 63 characters, each with its
    // CR LF (65,000 characters), and then `tail`; returns what it held then and after.
    std::pair<std::string, std::string> around_chunk(const std::string& tail) {
        const std::string cycle = "S101100100P";
        enter(replay_world(cycle));
        std::string before, after;
        script.push_back([&] {
            align(cycle);
            mon->Data->clear();
            for (int i = 0; i < 1000; ++i)
                mon->Data->appendPlainText(QString(63, QLatin1Char('x')));
            mon->Data->moveCursor(QTextCursor::End);
            mon->Data->insertPlainText(QString::fromStdString("\n" + tail));
            before = data();
            arrive(11);
        });
        script.push_back([&] { after = data(); });
        ui.ui.answers = {Answer::No};
        start();
        return {before, after};
    }
};

TEST_F(TrafficBoxLimitTest, SixtyFiveThousandCharactersCountingCrLfAreKept) {
    const auto [before, after] = around_chunk("");
    ASSERT_EQ(before.size(), 65000u);
    EXPECT_EQ(after, before + line);
}

TEST_F(TrafficBoxLimitTest, OneCharacterMoreEmptiesTheBoxBeforeTheChunk) {
    const auto [before, after] = around_chunk("x");
    ASSERT_EQ(before.size(), 65001u);
    EXPECT_EQ(after, line);
}

TEST_F(CaptureWindowTest, AFailedReadEndsTheLoopUntilStop) {
    const std::string cycle = "S101100100P";
    enter(replay_world(cycle));
    script.push_back([&] {
        align(cycle);
        arrive(11);
        RLSIM_InjectFault(0, "read_status", 1, RL_OTHER_ERROR);
    });
    start();
    EXPECT_EQ(yields, 1);
    EXPECT_TRUE(mon->capture().CaptureStopped());
    EXPECT_EQ(mon->RX_BackColor(), kCaptureGreen);  // until Stop
    EXPECT_FALSE(menus_enabled());
    mon->RX_Click();  // ignored until Stop
    EXPECT_EQ(ui.ui.save_dialogs.size(), 1u);
    ui.ui.answers = {Answer::No};
    mon->RXStop_Click();
    EXPECT_EQ(mon->RX_BackColor(), kButtonFace);
    EXPECT_EQ(ui.ui.messages.size(), 1u);
}

}  // namespace
}  // namespace velmora::monitor::testing
