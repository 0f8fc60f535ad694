#include "formats/settings_file.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace f = velmora::formats;
using f::BusMode;

namespace {

f::PanelRecord record(std::string type, std::string addr = "B8") {
    return {"0", "0", std::move(type), std::move(addr), "88", "00", "", "",
            "1", "",  "Select Format", "-13",           "X="};
}

size_t line_count(const std::string& text) {
    size_t n = 0;
    for (size_t i = 0; (i = text.find("\r\n", i)) != std::string::npos; i += 2) ++n;
    return n;
}

std::vector<std::string> flat(std::span<const f::PanelRecord> records) {
    std::vector<std::string> out;
    for (const auto& r : records) out.insert(out.end(), r.begin(), r.end());
    return out;
}

}  // namespace

TEST(SettingsText, LineCountsFollowThePanelCount) {
    std::vector<f::PanelRecord> main_only{record("Read Word")};
    std::string none = f::settings_text(BusMode::SBS, main_only);
    EXPECT_EQ(line_count(none), 15u);
    EXPECT_EQ(none.substr(0, 11), "0\r\nSBS\r\n0\r\n");
    EXPECT_EQ(none.back(), '\n');
    std::vector<f::PanelRecord> ten(10, record("Write Word"));
    std::string eight = f::settings_text(BusMode::PMBus, ten);
    EXPECT_EQ(line_count(eight), 119u);
    EXPECT_EQ(eight.substr(0, 8), "8\r\nPMB\r\n");
    EXPECT_EQ(f::settings_text(BusMode::I2C, {}).substr(0, 8), "0\r\nI2C\r\n");
}

TEST(SettingsText, PlainValuesAreWrittenBare) {
    std::vector<f::PanelRecord> r{record("Ext Write Word")};
    std::string text = f::settings_text(BusMode::PMBus, r);
    EXPECT_NE(text.find("\r\nExt Write Word\r\nB8\r\n88\r\n00\r\n\r\n\r\n1\r\n\r\nSelect "
                        "Format\r\n-13\r\nX=\r\n"),
              std::string::npos);
}

TEST(SettingsRoundTrip, EveryFieldComesBackExactly) {
    std::vector<f::PanelRecord> records{record("Read Word"),   record("Ext Write Word", "1,2"),
                                        record(" Write Byte"), record("\"quoted\""),
                                        record("\""),          record(""),
                                        record("a\"b,\"")};
    records[2][f::kLinear16bit] = "1,234.5";
    records[3][f::kXtext] = "  -13";
    records[4][f::kTranslationMode] = "Exp(2^X) Manual input";
    for (BusMode mode : {BusMode::SBS, BusMode::PMBus, BusMode::I2C}) {
        f::SettingsRead read = f::read_settings(f::settings_text(mode, records));
        EXPECT_EQ(read.panel_count, 6);
        EXPECT_EQ(read.mode, mode);
        EXPECT_EQ(read.fields, flat(records));
    }
}

TEST(ReadSettings, FilesOfOtherCopiesReadAsBefore) {
    std::string file = "1\r\nPMB\r\n";
    for (int panel = 0; panel < 2; ++panel)
        file +=
            "0\r\n0\r\n  Write Word\r\n\"B8\"\r\n21\r\n00\r\n34\r\n12\r\n0\r\n4660\r\n"
            "Exp5b Man11b\r\n-13\r\nX=\r\n";
    f::SettingsRead read = f::read_settings(file);
    ASSERT_EQ(read.fields.size(), 26u);
    EXPECT_EQ(read.fields[f::kCmdProtocol], "Write Word");  // leading blanks skipped
    EXPECT_EQ(read.fields[f::kTxtDeviceAddr], "B8");        // quotes taken off
    EXPECT_EQ(read.fields[13 + f::kLinear16bit], "4660");
}

TEST(ReadSettings, LineEndingsCountAndMode) {
    EXPECT_EQ(f::read_settings("2\nSBS\nx").fields, std::vector<std::string>{"x"});
    EXPECT_EQ(f::read_settings("2\rSBS\r\rx\r\n").fields, (std::vector<std::string>{"", "x"}));
    for (auto [line, count] : {std::pair{"abc", 0},
                               {"-3", 0},
                               {"99999999999", 8},
                               {" 3", 3},
                               {"2.5", 2},
                               {"&H5", 5},
                               {"\"4\"", 4}})
        EXPECT_EQ(f::read_settings(std::string(line) + "\r\nSBS\r\n").panel_count, count) << line;
    EXPECT_EQ(f::read_settings("0\r\npmb\r\n").mode, BusMode::I2C);
    EXPECT_EQ(f::read_settings("0\r\nPMB").mode, BusMode::PMBus);
}

TEST(ReadSettings, FileEndingEarlyGivesWhatItHolds) {
    EXPECT_FALSE(f::read_settings("").panel_count);
    auto one = f::read_settings("3\r\n");
    EXPECT_EQ(one.panel_count, 3);
    EXPECT_FALSE(one.mode);
    auto part = f::read_settings("3\r\nSBS\r\n1\r\n0\r\nRead Word\r\n");
    EXPECT_EQ(part.fields.size(), 3u);
}

TEST(ReadSettings, NeverMoreThanTheCountAnnounces) {
    std::string file = "1\r\nSBS\r\n";
    for (int i = 0; i < 500; ++i) file += "v\r\n";
    EXPECT_EQ(f::read_settings(file).fields.size(), 26u);
    std::string junk(100000, '\0');
    for (size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>(i * 7919 % 251);
    f::SettingsRead read = f::read_settings("8\r\nPMB\r\n" + junk);
    EXPECT_LE(read.fields.size(), 117u);
    EXPECT_EQ(f::read_settings("1\r\nSBS\r\n" + std::string(1 << 20, 'z')).fields.size(), 1u);
}

TEST(SettingsPath, ProgramFilesRefusedCaseSensitively) {
    EXPECT_TRUE(f::settings_path_refused("C:\\Program Files\\x.SET"));
    EXPECT_FALSE(f::settings_path_refused("C:\\program files\\x.SET"));
    EXPECT_FALSE(f::settings_path_refused("/home/u/a.set"));
}
