#include "capture.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "event_text.h"
#include "log_setup.h"
#include "ui/doubles.h"

namespace velmora::monitor {
namespace {

namespace fs = std::filesystem;
using testing::events;
using testing::prefix;

class FakeView : public CaptureView {
  public:
    std::vector<std::string> lines;
    std::string data;  // every text written into `Data`
    std::vector<bool> timechk;
    int watchdog_stops = 0;

    void show_line(std::string_view line) override { lines.emplace_back(line); }
    void show_text(std::string_view text) override { data += text; }
    void set_Timechk(bool ticked) override { timechk.push_back(ticked); }
    void watchdog_stop() override { ++watchdog_stops; }
};

std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class CaptureTest : public ::testing::Test {
  protected:
    fs::path dir = fs::temp_directory_path() /
                   ("capture_test_" +
                    std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    platform::ui::ScopedDoubles doubles;
    FakeView view;
    Capture cap{view};

    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
        doubles.clock.step = 0;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string path(const std::string& name) { return (dir / name).string(); }

    // Log set-up on `name` and Start.
    void start(const std::string& name = "run1.txt") {
        doubles.ui.file_answers.push_back(path(name));
        ASSERT_TRUE(cap.Datalogwrite());
        cap.begin();
    }
    void at_ms(double ms, std::string_view chunk) {
        doubles.clock.advance(ms / 1000.0);
        cap.on_chunk(chunk);
    }
};

TEST_F(CaptureTest, LogSetUpRefusesProgramFilesExistingFilesOrLinksAndStaysQuietOnCancel) {
    fs::create_directories(dir / "Program Files");
    fs::create_directories(dir / "elsewhere");
    std::ofstream(path("taken.txt")) << "x";
    std::ofstream(path("run.txta")) << "old";
    // Links that lead nowhere yet, into another folder.
    fs::create_symlink(dir / "elsewhere/log.txt", path("link.txt"));
    fs::create_symlink(dir / "elsewhere/raw.txta", path("rawlink.txta"));
    fs::create_directories(dir / "program files");
    doubles.ui.file_answers = {path("Program Files/a.txt"),
                               path("taken.txt"),
                               path("run.txt"),
                               path("link.txt"),
                               path("rawlink.txt"),
                               std::nullopt,
                               path("program files/b.txt"),
                               path("free.txt")};
    for (int i = 0; i < 6; ++i) EXPECT_FALSE(cap.Datalogwrite());
    EXPECT_EQ(doubles.ui.message_texts(),
              (std::vector<std::string>{kProgramFilesRefused, kOverwriteRefused, kOverwriteRefused,
                                        kOverwriteRefused, kOverwriteRefused}));
    EXPECT_EQ(doubles.ui.save_dialogs.at(0).filter, "*.txt | *.txt");
    EXPECT_FALSE(cap.DatalogOn());
    EXPECT_EQ(read_file(path("run.txta")), "old");
    EXPECT_TRUE(fs::is_empty(dir / "elsewhere"));
    EXPECT_FALSE(fs::exists(path("run.txt")));

    EXPECT_TRUE(cap.Datalogwrite());  // lower case is not the refused folder
    EXPECT_TRUE(cap.Datalogwrite());
    EXPECT_TRUE(cap.DatalogOn());
    EXPECT_EQ(cap.log_path(), path("free.txt"));
    EXPECT_TRUE(fs::exists(path("free.txta")));
    EXPECT_EQ(doubles.ui.messages.size(), 5u);
}

TEST_F(CaptureTest, LogSetUpThatCannotMakeAFileRemovesWhatItMadeAndSaysWhy) {
    // The log's name is the longest a folder takes: the raw file's is one too long.
    const std::string longest = path(std::string(251, 'x') + ".txt");
    doubles.ui.file_answers = {longest, longest, path("missing/run.txt")};
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(cap.Datalogwrite());
    const std::string why = std::string(kAccessDenied) + "\r\n";
    EXPECT_EQ(doubles.ui.message_texts(),
              (std::vector<std::string>{why + longest + "a: " + std::strerror(ENAMETOOLONG),
                                        why + longest + "a: " + std::strerror(ENAMETOOLONG),
                                        why + path("missing/run.txt") + ": " +
                                            std::strerror(ENOENT)}));
    EXPECT_TRUE(fs::is_empty(dir));
    EXPECT_FALSE(cap.DatalogOn());
}

TEST_F(CaptureTest, ACaptureStoppedWithinTheFirstSecondReportsNoData) {
    start();
    at_ms(500, events("S 16a P"));
    doubles.ui.answers.push_back(platform::ui::Answer::No);
    ASSERT_TRUE(cap.stop());
    cap.report();
    const std::string saved = "Data saved in " + path("run1.txt") + "\r\n";
    EXPECT_EQ(view.data, "No data captured\r\n" + saved);
    ASSERT_EQ(doubles.ui.messages.size(), 1u);
    EXPECT_EQ(doubles.ui.messages[0].text, saved + "Do you want to open the results?");
    EXPECT_EQ(doubles.ui.messages[0].title, "Open Results");
    EXPECT_EQ(doubles.ui.messages[0].buttons, platform::ui::Buttons::YesNo);
    EXPECT_TRUE(doubles.ui.shell_calls.empty());
    EXPECT_EQ(read_file(path("run1.txt")), "#1  09/12/2026 04:28:05\t[S]16[A][P]\r\n");
}

TEST_F(CaptureTest, YesOpensTheResults) {
    start();
    ASSERT_TRUE(cap.stop());
    cap.report();
    ASSERT_EQ(doubles.ui.shell_calls.size(), 1u);
    EXPECT_EQ(doubles.ui.shell_calls[0].path, path("run1.txt"));
    EXPECT_EQ(doubles.ui.shell_calls[0].verb, "Open");
}

TEST_F(CaptureTest, TheFirstChunkIsSynchronisedOnItsFirstStop) {
    start();
    cap.decoder().Timechk = false;
    at_ms(10, "0101PS01");
    at_ms(10,
          "10"
          "0010"
          "0P");  // decoded from its first character
    EXPECT_EQ(view.lines, std::vector<std::string>{prefix(1) + "[S]62[A][P]"});
}

TEST_F(CaptureTest, AFirstChunkWithoutAStopIsNotDecoded) {
    start();
    cap.decoder().Timechk = false;
    at_ms(10, events("16a") + "S");
    at_ms(10, events("16a P S 17a P"));
    EXPECT_EQ(view.lines, std::vector<std::string>{prefix(1) + "[S]17[A][P]"});
}

TEST_F(CaptureTest, RawRecordsStartAfterTheFirstSecond) {
    start();
    at_ms(1000, "S1");
    at_ms(1, "0P");
    at_ms(250, "S");
    cap.stop();
    cap.close_logs();
    EXPECT_EQ(read_file(path("run1.txta")), ",1;0P\r\n,251;S\r\n");
}

TEST_F(CaptureTest, AHighRateSwitchesToPostProcessingAndStopDecodesTheRawFile) {
    start();
    EXPECT_EQ(view.timechk, std::vector<bool>{true});
    at_ms(1200, events("S 16a P"));  // live, with a stamp
    std::string big = events("S 16a 09a R 17a 34a 30n P S 16a 09a");
    while (big.size() <= kLiveChunkLimit) big += events("P S 16a 09a");
    at_ms(5, big);
    EXPECT_TRUE(cap.PostProcessMode());
    at_ms(5, events("P S 12a P"));  // not decoded live any more
    ASSERT_EQ(view.lines.size(), 1u);
    EXPECT_NE(view.data.find(kSwitchMessage), std::string::npos);

    cap.decoder().mode = DecodeMode::SBS;
    doubles.ui.answers.push_back(platform::ui::Answer::No);
    ASSERT_TRUE(cap.stop());
    cap.report();
    EXPECT_EQ(view.timechk, (std::vector<bool>{true, false}));
    EXPECT_EQ(view.lines.size(), 1u);  // post-processed lines are only logged
    EXPECT_NE(view.data.find("Post-processing...\r\n"), std::string::npos);

    std::istringstream log(read_file(path("run1.txt")));
    std::vector<std::string> lines;
    for (std::string l; std::getline(log, l);) lines.push_back(l);
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(lines[0], "#1  09/12/2026 04:28:05\t[S]16[A][P]\r");
    EXPECT_EQ(lines[1], "Switch to Post-processing due to high data rate.\r");
    // Post-processing takes up at the record of the switch, the line numbers going on.
    EXPECT_EQ(lines[2], "Time elapsed: 205mSec\r");
    EXPECT_EQ(lines[3],
              prefix(2) + "[S][SMBBatt](Wr)[A][Voltage][A][s][SMBBatt](Rd)[A][12340mV][N][P]\r");
    const size_t n = lines.size();
    EXPECT_EQ(lines[n - 3], "Time elapsed: 210mSec\r");
    // A transaction that spans two records is decoded whole.
    EXPECT_EQ(lines[n - 2], prefix(static_cast<int>(n) - 4) + "[S][SMBBatt](Wr)[A]09[A][P]\r");
    EXPECT_EQ(lines[n - 1], prefix(static_cast<int>(n) - 3) + "[S][SMBChrgr](Wr)[A][P]\r");
}

TEST_F(CaptureTest, ASwitchOnTheFirstChunkKeepsItsFirstTransaction) {
    start();
    std::string second = "S 0Ba";
    for (int i = 0; i < 110; ++i) second += " 00a";
    at_ms(5, events("S 16a 09a P " + second + " P"));  // switches at once
    at_ms(1200, events("S 17a P"));
    ASSERT_TRUE(cap.PostProcessMode());
    doubles.ui.answers.push_back(platform::ui::Answer::No);
    ASSERT_TRUE(cap.stop());
    cap.report();

    std::string zeros;
    for (int i = 0; i < 110; ++i) zeros += "00[A]";
    EXPECT_EQ(read_file(path("run1.txt")),
              "Switch to Post-processing due to high data rate.\r\n"
              "Time elapsed: -995mSec\r\n" +
                  prefix(1) + "[S]16[A]09[A][P]\r\n" +
                  prefix(2) + "[S]0B[A]" + zeros + "[P]\r\n"
                  "Time elapsed: 205mSec\r\n" +
                  prefix(3) + "[S]17[A][P]\r\n");
}

TEST_F(CaptureTest, TheWatchdogStopsTheCaptureClosesTheLogsAndStopAsksNothing) {
    start();
    int running_inside_message = -1;
    doubles.ui.on_message = [&](const platform::ui::MessageBox&) {
        running_inside_message = cap.running();
    };
    std::string garbage = "S";
    while (garbage.size() < 13000) garbage += "101100100";
    for (size_t i = 0; i < garbage.size(); i += 1000) at_ms(1, garbage.substr(i, 1000));
    EXPECT_TRUE(cap.CaptureStopped());
    EXPECT_EQ(view.watchdog_stops, 1);
    EXPECT_EQ(doubles.ui.message_texts(), std::vector<std::string>{kWatchdogMessage});
    EXPECT_EQ(running_inside_message, 0);
    EXPECT_FALSE(cap.DatalogOn());
    EXPECT_EQ(cap.decoder().LineNumber, 0);
    EXPECT_FALSE(cap.stop());
    start("run2.txt");  // fired in post-processing: the rest is not told saved
    at_ms(5, garbage);
    ASSERT_TRUE(cap.stop());
    cap.report();
    EXPECT_EQ(doubles.ui.message_texts(), (std::vector<std::string>(2, kWatchdogMessage)));
}

TEST_F(CaptureTest, StopClearsTheLineStateButNotTheBitAssembly) {
    start();
    at_ms(10, events("S 16a") + "1011");
    cap.stop();
    EXPECT_FALSE(cap.decoder().StartSeen);
    EXPECT_TRUE(cap.decoder().HexLineText.empty());
    EXPECT_EQ(cap.decoder().LineNumber, 0);
    EXPECT_EQ(cap.decoder().bits.BitsLeft, 4);
}

TEST_F(CaptureTest, CreateNewFileNumbersTheNextLogInTheProgramFolderAndWritesNoLink) {
    int16_t count = 1;
    std::string name = "/test1.txt";
    std::ofstream(path("target.txt")) << "keep";
    fs::create_symlink(path("target.txt"), dir / "test2.txt");
    TextFile log;
    ASSERT_TRUE(CreateNewFile(count, name, dir.string(), log));
    log.close();
    EXPECT_EQ(count, 2);
    EXPECT_EQ(name, "/test2.txt");
    EXPECT_FALSE(fs::is_symlink(dir / "test2.txt"));
    EXPECT_EQ(read_file(dir / "test2.txt"), "continued... \r\n");
    EXPECT_EQ(read_file(path("target.txt")), "keep");
}

// Every file this process writes fails past `bytes`, as on a full disk, while it lives.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) : old_handler_(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, old_handler_);
    }

  private:
    rlimit old_{};
    void (*old_handler_)(int);
};

TEST_F(CaptureTest, ALogThatCannotBeWrittenOrReadBackIsNeverToldSaved) {
    const auto not_written = [this](const std::string& name) {
        return "Data could not be written to " + path(name) + ": " + std::strerror(EFBIG);
    };
    start("run1.txt");
    {
        // Found while capturing: the raw records of the switch fill the buffer.
        FileSizeLimit full(10);
        for (int i = 0; i < 100 && cap.DatalogOn(); ++i) at_ms(1200, std::string(4000, '0'));
    }
    EXPECT_FALSE(cap.DatalogOn());
    const std::string both = not_written("run1.txt") + "\r\n" + not_written("run1.txta");
    EXPECT_EQ(doubles.ui.message_texts(), std::vector<std::string>{both});
    ASSERT_TRUE(cap.stop());
    cap.report();
    EXPECT_EQ(view.data, std::string(kSwitchMessage) + both + "\r\n");

    view.data.clear();
    start("run2.txt");
    at_ms(10, events("S 16a P"));
    {
        // Found at Stop, when the log is written out.
        FileSizeLimit full(10);
        ASSERT_TRUE(cap.stop());
        cap.report();
    }
    EXPECT_EQ(view.data, "No data captured\r\n" + not_written("run2.txt") + "\r\n");
    // The raw file cut short by another program before post-processing read it back.
    view.data.clear();
    start("run3.txt");
    at_ms(5, std::string(300000, '0'));  // past the buffer: on disk at once
    fs::resize_file(path("run3.txta"), 100);
    ASSERT_TRUE(cap.stop());
    cap.report();
    const std::string cut = "Data could not be read from " + path("run3.txta") + ": " + kChanged;
    EXPECT_EQ(view.data, std::string(kSwitchMessage) + "Post-processing...\r\n" + cut + "\r\n");
    start("run4.txt");  // the decoded log removed
    fs::remove(path("run4.txt"));
    ASSERT_TRUE(cap.stop());
    cap.report();
    const std::string gone = "Data could not be written to " + path("run4.txt") + ": " + kChanged;
    EXPECT_EQ(doubles.ui.message_texts(),
              (std::vector<std::string>{both, not_written("run2.txt"), cut, gone}));
    start("run5.txt");  // the decoded log cut short, once its first lines are on disk
    while (fs::file_size(path("run5.txt")) == 0) at_ms(10, events("S 16a P"));
    fs::resize_file(path("run5.txt"), 0);
    ASSERT_TRUE(cap.stop());
    cap.report();
    EXPECT_TRUE(view.data.ends_with(path("run5.txt") + ": " + kChanged + "\r\n"));
}

TEST_F(CaptureTest, AfterCreateNewFileLaterLinesLandInTheNewFile) {
    start();
    cap.decoder().Timechk = false;
    at_ms(10, events("S 16a P"));
    int16_t count = 0;
    std::string name;
    ASSERT_TRUE(cap.CreateNewFile(count, name, dir.string()));
    at_ms(10, events("S 17a P"));
    // A folder that cannot take the file: the log goes on where it was.
    EXPECT_FALSE(cap.CreateNewFile(count, name, path("missing")));
    at_ms(10, events("S 12a P"));
    EXPECT_TRUE(cap.DatalogOn());
    cap.stop();
    cap.close_logs();
    EXPECT_EQ(read_file(path("run1.txt")), prefix(1) + "[S]16[A][P]\r\n");
    EXPECT_EQ(read_file(dir / "test1.txt"),
              "continued... \r\n" + prefix(2) + "[S]17[A][P]\r\n" + prefix(3) + "[S]12[A][P]\r\n");
    EXPECT_EQ(count, 2);
}

TEST(YieldPacer, YieldsEveryThousandPassesAndAfterTwentyMilliseconds) {
    YieldPacer pacer;
    int yields = 0;
    for (int i = 0; i < 3000; ++i) yields += pacer.due(0);  // a busy loop within one tick
    EXPECT_EQ(yields, 3);
    EXPECT_FALSE(pacer.due(19));
    EXPECT_TRUE(pacer.due(20));
    EXPECT_FALSE(pacer.due(39));
    EXPECT_TRUE(pacer.due(0xFFFFFFFFu));  // the tick count wraps
    EXPECT_TRUE(pacer.due(19));
}

}  // namespace
}  // namespace velmora::monitor
