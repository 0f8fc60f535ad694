#include "raw_replay.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "event_text.h"

namespace velmora::monitor {
namespace {

using testing::Assembler;
using testing::events;
using testing::prefix;

// Post-processing conditions: nothing shown, everything logged.
struct Replay : Assembler {
    Replay() {
        dec.PostProcessMode = true;
        dec.DisplayON = true;
    }
    std::vector<std::string> run_pieces(const std::vector<std::string>& pieces) {
        RawReplay replay(dec, sink);
        for (const std::string& p : pieces) replay.feed(p);
        replay.finish();
        EXPECT_TRUE(sink.shown.empty());
        return sink.logged;
    }
};

const std::string kSpanning = ",5;P\r\n,6;S1011\r\n,7;00100P\r\n";
const std::vector<std::string> kSpanningLines{"Time elapsed: 6mSec", "Time elapsed: 7mSec",
                                              prefix(1) + "[S]B2[A][P]"};

TEST(RawReplay, ByteSpanningTwoRecordsIsAssembledWholeAfterTheFirstStop) {
    Replay r;
    EXPECT_EQ(r.run_pieces({kSpanning}), kSpanningLines);
}

TEST(RawReplay, TheSameLinesComeOutWhereverTheFileIsSplit) {
    for (size_t cut = 0; cut <= kSpanning.size(); ++cut) {
        for (size_t cut2 = cut; cut2 <= kSpanning.size(); cut2 += 3) {
            Replay r;
            EXPECT_EQ(r.run_pieces({kSpanning.substr(0, cut), kSpanning.substr(cut, cut2 - cut),
                                    kSpanning.substr(cut2)}),
                      kSpanningLines)
                << cut << " " << cut2;
        }
    }
}

TEST(RawReplay, LineBreaksInsideCapturedCharactersStillCountAsBits) {
    Replay r;
    // CR and LF inside the chunk are two 0 bits: 1,CR,LF,1,0,0,1,0 = 0x92.
    EXPECT_EQ(r.run_pieces({",1;PS1\r\n10010\r\n,2;0P\r\n"}),
              (std::vector<std::string>{"Time elapsed: 2mSec", prefix(1) + "[S]92[A][P]"}));
}

TEST(RawReplay, AFileThatBeginsWithAStartIsDecodedFromItsFirstCharacter) {
    Replay r;
    EXPECT_EQ(r.run_pieces({events("S 16a P")}),
              std::vector<std::string>{prefix(1) + "[S]16[A][P]"});
}

TEST(RawReplay, WithoutAStopNothingIsDecoded) {
    Replay r;
    EXPECT_TRUE(r.run_pieces({",1;0S1011", "0010\r\n,2;0S\r\n"}).empty());
}

TEST(RawReplay, ACorruptTimeFieldIsKeptShort) {
    Replay r;
    const auto lines = r.run_pieces({",1;P\r\n," + std::string(1000, '7') + ";"});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "Time elapsed: " + std::string(32, '7') + "mSec");
}

TEST(RawReplay, TheWatchdogEndsTheDecoding) {
    Replay r;
    RawReplay replay(r.dec, r.sink);
    EXPECT_FALSE(replay.feed(",1;PS" + std::string(4000, 'R') + events("S 16a P")));
    EXPECT_TRUE(replay.watchdog_fired());
    EXPECT_FALSE(replay.feed(events("S 16a P")));
    EXPECT_EQ(r.sink.watchdogs, 1);
    EXPECT_TRUE(r.sink.logged.empty());
}

class RawFile : public ::testing::Test {
  protected:
    std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("raw_replay_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    void TearDown() override { std::filesystem::remove(path); }
    void write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

    Replay r;
    // Post-processes the records from `from` to `to` through a descriptor opened so.
    PostProcessOutcome replay(uint64_t from, uint64_t to, int flags = O_RDONLY) {
        const int fd = ::open(path.c_str(), flags);
        const PostProcessOutcome out = post_process(fd, {from, to, {}, false}, r.dec, r.sink);
        ::close(fd);
        return out;
    }
};

TEST_F(RawFile, IsDecodedFromDiskAndAChangedOrUnreadableFileIsReported) {
    write("xx" + kSpanning);
    const uint64_t size = 2 + kSpanning.size();
    EXPECT_EQ(replay(2, size + 1), (PostProcessOutcome{PostProcessResult::ReadError, 0}));
    EXPECT_EQ(replay(2, size, O_WRONLY), (PostProcessOutcome{PostProcessResult::ReadError, EBADF}));
    EXPECT_EQ(replay(2, size).result, PostProcessResult::Done);
    EXPECT_EQ(r.sink.logged, kSpanningLines);
}

}  // namespace
}  // namespace velmora::monitor
