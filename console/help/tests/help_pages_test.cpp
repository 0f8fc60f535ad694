#include "help_pages.h"

#include <gtest/gtest.h>

#include <string>

#include "command_tables.h"

namespace velmora {
namespace {

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(HelpPages, TablesListEveryRowTheConsoleNames) {
    const std::string pmbus = pmbus_table_page();
    EXPECT_EQ(count(pmbus, "<tr><td>"), 243u + 135u);
    for (const auto& r : command_tables(TableSet::Main).pmbus)
        EXPECT_NE(pmbus.find(std::string(r.name)), std::string::npos) << r.name;
    EXPECT_NE(pmbus.find("<td>D2</td><td>MFR_FAULTBz0_PROPAGATE</td>"), std::string::npos);

    const std::string sbs = sbs_table_page();
    EXPECT_EQ(count(sbs, "<tr><td>"), 33u + 6u + 3u);
    EXPECT_NE(sbs.find("<td>08</td><td>TEMPERATURE (degC)</td><td>Read Word</td>"),
              std::string::npos);
    EXPECT_NE(sbs.find("<td>04</td><td>SELECTOR INFO</td>"), std::string::npos);
}

TEST(HelpPages, AsciiTableEscapesMarkupCharacters) {
    const std::string ascii = ascii_table_page();
    EXPECT_EQ(count(ascii, "<tr><td>"), 32u);
    EXPECT_NE(ascii.find("<td>3C</td><td>60</td><td>&lt;</td>"), std::string::npos);
    EXPECT_NE(ascii.find("<td>26</td><td>38</td><td>&amp;</td>"), std::string::npos);
    EXPECT_NE(ascii.find("<td>0D</td><td>13</td><td>CR</td>"), std::string::npos);
    EXPECT_NE(ascii.find("<td>7F</td><td>127</td><td>DEL</td>"), std::string::npos);
}

}  // namespace
}  // namespace velmora
