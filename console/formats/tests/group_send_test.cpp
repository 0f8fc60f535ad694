#include "formats/group_send.h"

#include <gtest/gtest.h>

#include <vector>

namespace f = velmora::formats;

namespace {

std::vector<int> bytes_of(const std::string& s) {
    std::vector<int> out;
    for (char c : s) out.push_back(static_cast<uint8_t>(c));
    return out;
}

}  // namespace

TEST(GroupSetRequest, ByteForByte) {
    f::GroupPanel main{"Write Byte", "B8", "00", "01", ""};
    std::vector<f::GroupPanel> open{{"Write Word", "B8", "21", "00", "10"},
                                    {"Write Byte", "b8", "01", "80", "zz"}};
    auto req = f::group_set_request(main, open);
    ASSERT_EQ(req.refusal, f::GroupRefusal::None);
    EXPECT_EQ(bytes_of(req.bytes),
              (std::vector<int>{0x53, 0x32, 0x31, 0xB8, 0x00, 0x01, 0x32, 0xB8, 0x21, 0x00, 0x10,
                                0x31, 0xB8, 0x01, 0x80, 0x0D}));
    EXPECT_EQ(req.raw_length, 16);
}

TEST(GroupSetRequest, NoPanelOpenAndEightOpen) {
    f::GroupPanel w{"Write Word", "B8", "21", "F", "1"};
    auto none = f::group_set_request(w, {});
    EXPECT_EQ(bytes_of(none.bytes), (std::vector<int>{'S', '0', '2', 0xB8, 0x21, 0x0F, 0x01, 13}));
    std::vector<f::GroupPanel> nine(9, w);
    auto full = f::group_set_request(w, nine);
    EXPECT_EQ(full.bytes.substr(0, 2), "S8");
    EXPECT_EQ(full.raw_length, 2 + 9 * 5 + 1);  // the longest request
}

TEST(GroupSetRequest, RefusesPanelsThatAreNoWrite) {
    f::GroupPanel ok{"Write Byte", "B8", "00", "01", ""};
    std::vector<f::GroupPanel> open{ok, {"Ext Write Byte", "B8", "01", "80", ""}, ok};
    auto req = f::group_set_request(ok, open);
    EXPECT_EQ(req.refusal, f::GroupRefusal::NotAWrite);
    EXPECT_EQ(req.panel, 2);
    EXPECT_EQ(req.message,
              "Command must be Write Byte or Word in Control2. Group send not executed.");
    EXPECT_TRUE(req.bytes.empty());
    EXPECT_EQ(req.raw_length, 0);

    std::vector<f::GroupPanel> bad_later{{"Write Word", "B8", "zz", "", ""}};
    auto main_first = f::group_set_request({"Read Word", "B8", "00", "01", ""}, bad_later);
    EXPECT_EQ(main_first.message,
              "Command must be Write Byte or Word in Main Control. Group send not executed.");
    EXPECT_EQ(main_first.panel, 0);
}

TEST(GroupSetRequest, BoxesAreCheckedBeforeTheType) {
    auto req = f::group_set_request({"Read Word", "B8", "00", "", ""}, {});  // empty read box
    EXPECT_EQ(req.refusal, f::GroupRefusal::InvalidEntry);
    EXPECT_TRUE(req.message.empty());
    for (const char* bad : {"", "100", " 1", "0x", "g1", "-1"}) {
        auto r = f::group_set_request({"Write Byte", "B8", bad, "01", ""}, {});
        EXPECT_EQ(r.refusal, f::GroupRefusal::InvalidEntry) << bad;
        EXPECT_TRUE(r.bytes.empty()) << bad;
    }
    std::vector<f::GroupPanel> open{{"Write Word", "B8", "21", "00", "1G"}};
    auto high = f::group_set_request({"Write Byte", "B8", "00", "01", "junk"}, open);
    EXPECT_EQ(high.refusal, f::GroupRefusal::InvalidEntry);
    EXPECT_EQ(high.panel, 1);
}
