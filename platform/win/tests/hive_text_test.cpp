#include "win/hive_text.h"

#include <gtest/gtest.h>

#include "win/default_image.h"

namespace win = platform::win;

namespace {

win::Sid sid(const char* text) {
    return *win::Sid::parse(text);
}

win::Hive hive_with_every_kind_of_value() {
    win::Hive h;
    auto& k = h.add("SOFTWARE\\Odd \"Names\" [x]");
    k.owner = sid("S-1-5-32-544");
    k.dacl = win::Acl::compact(
        {{0, 0x0a, 0x10000000, sid("S-1-3-0")}, {0, 0x02, 0x000f003f, sid("S-1-5-21-1-2-3-500")}});
    k.set_sz("", "default");
    k.set_sz("quote\"back\\slash", "tab\there\xE9\n");
    k.set_value("expand", win::REG_EXPAND_SZ, win::sz_data("%SystemRoot%\\inf"));
    k.set_value("multi", win::REG_MULTI_SZ, win::multi_sz_data({"a", "b c"}));
    k.set_value("multi empty", win::REG_MULTI_SZ, win::multi_sz_data({}));
    k.set_dword("dword", 0xDEADBEEF);
    k.set_value("binary", win::REG_BINARY, std::string("\x00\xff\x10", 3));
    k.set_value("empty binary", win::REG_BINARY, "");
    // Data the typed forms cannot say exactly falls back to hex(N).
    k.set_value("sz without end", win::REG_SZ, "abc");
    k.set_value("sz with nul", win::REG_SZ, std::string("a\0b\0", 4));
    k.set_value("multi with empty", win::REG_MULTI_SZ, std::string("a\0\0b\0\0", 6));
    k.set_value("short dword", win::REG_DWORD, "\x01\x02");
    k.set_value("odd type", 0x12345, "xy");
    h.add("SOFTWARE\\No security");
    h.add("SOFTWARE\\Empty list").dacl = win::Acl::compact({});
    h.add("SYSTEM\\a\\b\\c").owner = sid("S-1-5-18");
    return h;
}

}  // namespace

TEST(HiveText, EveryKindOfKeyAndValueRoundTripsExactly) {
    win::Hive h = hive_with_every_kind_of_value();
    std::string text = win::format_hive(h);
    win::Hive back;
    win::TextError e;
    ASSERT_TRUE(win::parse_hive(text, &back, &e)) << e.text();
    EXPECT_TRUE(back == h);
    EXPECT_EQ(win::format_hive(back), text);
    EXPECT_NE(text.find("\"sz without end\"=hex(1):61,62,63\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"short dword\"=hex(4):01,02\n"), std::string::npos);
    EXPECT_NE(text.find("\"quote\\\"back\\\\slash\"=sz:\"tab\\x09here\\xe9\\x0a\"\n"),
              std::string::npos);
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Empty list]\nacl=empty\n"),
              std::string::npos);
}

TEST(HiveText, BuiltInImageIsInTheFormThatSavingWrites) {
    win::Hive h;
    win::TextError e;
    ASSERT_TRUE(win::parse_hive(win::default_hive_text(), &h, &e)) << e.text();
    EXPECT_EQ(win::format_hive(h), win::default_hive_text());
}

TEST(HiveText, CommentsBlankLinesAndCrLfAreAccepted) {
    win::Hive h;
    win::TextError e;
    ASSERT_TRUE(win::parse_hive(
        "WINSYS-HIVE 1\r\n; note\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"v\"=dword:0000000A\r\n", &h,
        &e))
        << e.text();
    ASSERT_TRUE(h.find("a"));
    EXPECT_EQ(h.find("A")->values.at(0).data, win::dword_data(10));
}

TEST(Hive, CopiesAreDeep) {
    win::Hive a;
    a.add("K\\child").set_sz("v", "1");
    win::Hive b = a;
    b.find("K")->subkeys.clear();
    b.find("K")->set_sz("v", "2");
    EXPECT_TRUE(a.find("K\\child"));
    EXPECT_FALSE(a.find("K")->find_value("v"));
    a = b;
    EXPECT_TRUE(a == b);
    b.add("other");
    EXPECT_FALSE(a.find("other"));
}

TEST(HiveText, SubkeysAreListedWithoutRegardToCase) {
    win::Hive h;
    h.add("b");
    h.add("C");
    h.add("A");
    h.add("a\\x");  // the same key as "A"
    ASSERT_EQ(h.root->subkeys.size(), 3u);
    EXPECT_EQ(h.root->subkeys[0]->name, "A");
    EXPECT_EQ(h.root->subkeys[1]->name, "b");
    EXPECT_EQ(h.root->subkeys[2]->name, "C");
}

struct DamagedCase {
    const char* text;
    int line;
    const char* message;
};

void PrintTo(const DamagedCase& c, std::ostream* os) {
    *os << "line " << c.line << ": " << c.message;
}

class DamagedHive : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedHive, IsRefusedWithItsLine) {
    win::Hive h;
    h.add("untouched");
    win::TextError e;
    EXPECT_FALSE(win::parse_hive(GetParam().text, &h, &e));
    EXPECT_EQ(e.line, GetParam().line);
    EXPECT_NE(e.message.find(GetParam().message), std::string::npos) << e.message;
    EXPECT_TRUE(h.find("untouched"));  // the output is left alone
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DamagedHive,
    ::testing::Values(
        DamagedCase{"", 0, "empty"}, DamagedCase{"REGEDIT4\n", 1, "no header"},
        DamagedCase{"WINSYS-HIVE 1\n\"v\"=dword:00000001\n", 2, "section header must come first"},
        DamagedCase{"WINSYS-HIVE 1\n[HKEY_LOCAL_MACHINE\\A\n", 2, "closing bracket"},
        DamagedCase{"WINSYS-HIVE 1\n[HKEY_CURRENT_USER\\A]\n", 2, "outside"},
        DamagedCase{"WINSYS-HIVE 1\n[HKEY_LOCAL_MACHINE\\A\\B]\n", 2, "parent key not declared"},
        DamagedCase{"WINSYS-HIVE 1\n[HKEY_LOCAL_MACHINE\\A]\n[HKEY_LOCAL_MACHINE\\a]\n", 3,
                    "twice"},
        DamagedCase{"WINSYS-HIVE 1\n[HKEY_LOCAL_MACHINE\\A\\\\B]\n", 2, "invalid key path"},
        DamagedCase{"WINSYS-HIVE 1\n[HKEY_LOCAL_MACHINE\\]\n", 2, "invalid key path"},
        DamagedCase{"WINSYS-HIVE 1\n[HKEY_LOCAL_MACHINE]\n\"v\"=sz:\"1\"\n\"V\"=sz:\"2\"\n", 4,
                    "value given twice"},
        DamagedCase{"WINSYS-HIVE 1\n[HKEY_LOCAL_MACHINE]\nowner=S-1-5\n", 3, "invalid owner"},
        DamagedCase{"WINSYS-HIVE 1\n[HKEY_LOCAL_MACHINE]\nowner=S-1-5-18\nowner=S-1-5-18\n", 4,
                    "twice"},
        DamagedCase{"WINSYS-HIVE 1\n[HKEY_LOCAL_MACHINE]\nace=deny,00,000f003f,S-1-5-18\n", 3,
                    "allow,FF"},
        DamagedCase{
            "WINSYS-HIVE 1\n[HKEY_LOCAL_MACHINE]\nacl=empty\nace=allow,00,000f003f,S-1-5-18\n", 4,
            "acl=empty"},
        DamagedCase{"WINSYS-HIVE 1\n[HKEY_LOCAL_MACHINE]\n\"v\"=dword:1\n", 3, "8 hex digits"},
        DamagedCase{"WINSYS-HIVE 1\n[HKEY_LOCAL_MACHINE]\n\"v\"=qword:1\n", 3,
                    "unknown value type"},
        DamagedCase{"WINSYS-HIVE 1\n[HKEY_LOCAL_MACHINE]\n\"v\"=sz:\"a\\q\"\n", 3,
                    "unknown escape"},
        DamagedCase{"WINSYS-HIVE 1\n[HKEY_LOCAL_MACHINE]\n\"v\"=sz:\"a\\x00\"\n", 3, "NUL"},
        DamagedCase{"WINSYS-HIVE 1\n[HKEY_LOCAL_MACHINE]\n\"v\"=sz:\"a\" x\n", 3, "text after"},
        DamagedCase{"WINSYS-HIVE 1\n[HKEY_LOCAL_MACHINE]\n\"v\"=multi:\"a\",\"\"\n", 3,
                    "empty string"},
        DamagedCase{"WINSYS-HIVE 1\n[HKEY_LOCAL_MACHINE]\n\"v\"=hex:1,2\n", 3, "2 hex digits"},
        DamagedCase{"WINSYS-HIVE 1\n[HKEY_LOCAL_MACHINE]\n\"v=sz:\"a\"\n", 3, "'='"},
        DamagedCase{"WINSYS-HIVE 1\n[HKEY_LOCAL_MACHINE]\nname=1\n", 3, "unrecognised"}));

TEST(HiveText, KeyNamesLongerThan255AndTreesDeeperThan512AreRefused) {
    win::Hive h;
    win::TextError e;
    std::string text = "WINSYS-HIVE 1\n[HKEY_LOCAL_MACHINE\\" + std::string(256, 'k') + "]\n";
    EXPECT_FALSE(win::parse_hive(text, &h, &e));
    text = "WINSYS-HIVE 1\n";
    std::string path = "HKEY_LOCAL_MACHINE";
    for (int i = 0; i < 513; ++i) text += "[" + (path += "\\k") + "]\n";
    EXPECT_FALSE(win::parse_hive(text, &h, &e));
    EXPECT_EQ(e.line, 514);
}
