#include "jcl_ini_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "temp_folder.h"

namespace pelmo {
namespace {

namespace fs = std::filesystem;
using namespace JclIniFiles;

class IniFile : public ::testing::Test {
  protected:
    std::string Contents() const { return testing::FileText(file_); }
    void Write(const std::string& text) const { testing::WriteFileText(file_, text); }
    testing::TempFolder folder_{"pelmo_ini_"};
    fs::path dir_ = folder_.path();
    std::string file_ = (dir_ / "t.ept").string();
};

TEST_F(IniFile, WritesSectionsAndKeysInOrderWithCrLf) {
    ASSERT_TRUE(IniPutInteger(file_, "Basic Details", "Device Type", 3));
    ASSERT_TRUE(IniPutString(file_, "Basic Details", "USB VID", "4B1D"));
    ASSERT_TRUE(IniPutBool(file_, "USB Power Options", "Bus Powered", true));
    ASSERT_TRUE(IniPutBool(file_, "USB Power Options", "Self Powered", false));
    EXPECT_EQ(Contents(),
              "[Basic Details]\r\nDevice Type=3\r\nUSB VID=4B1D\r\n"
              "[USB Power Options]\r\nBus Powered=1\r\nSelf Powered=0\r\n");
}

TEST_F(IniFile, ReplacingAValueKeepsItsPlaceAndTheOtherLines) {
    Write("; made by hand\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    ASSERT_TRUE(IniPutInteger(file_, "a", "X", 7));
    ASSERT_TRUE(IniPutInteger(file_, "A", "z", 8));
    EXPECT_EQ(Contents(), "; made by hand\r\n[A]\r\nX=7\r\nz=8\r\n\r\n[B]\r\ny=2\r\n");
}

TEST_F(IniFile, NamesMatchWithoutRegardToCase) {
    Write("[basic details]\nDEVICE TYPE=5\n");
    EXPECT_EQ(IniGetInteger(file_, "Basic Details", "Device Type"), 5);
}

TEST_F(IniFile, MissingFileSectionOrKeyGivesTheDefaults) {
    EXPECT_FALSE(IniGetBool(file_, "A", "x"));
    EXPECT_EQ(IniGetInteger(file_, "A", "x"), 0);
    EXPECT_EQ(IniGetString(file_, "A", "x"), "");
    Write("[A]\ny=1\n");
    EXPECT_EQ(IniGetString(file_, "A", "x"), "");
    EXPECT_EQ(IniGetString(file_, "B", "y"), "");
}

struct IntegerCase {
    const char* value;
    int32_t expected;
};

class IniIntegers : public IniFile, public ::testing::WithParamInterface<IntegerCase> {};

TEST_P(IniIntegers, ReadsDecimalOrZero) {
    Write(std::string("[A]\r\nn=") + GetParam().value + "\r\n");
    EXPECT_EQ(IniGetInteger(file_, "A", "n"), GetParam().expected);
    EXPECT_EQ(IniGetBool(file_, "A", "n"), GetParam().expected != 0);
}

INSTANTIATE_TEST_SUITE_P(Values, IniIntegers,
                         ::testing::Values(IntegerCase{"1", 1}, IntegerCase{"0", 0},
                                           IntegerCase{" 42 ", 42}, IntegerCase{"-3", -3},
                                           IntegerCase{"+7", 7},
                                           IntegerCase{"2147483647", 2147483647},
                                           IntegerCase{"2147483648", 0}, IntegerCase{"12abc", 0},
                                           IntegerCase{"abc", 0}, IntegerCase{"", 0},
                                           IntegerCase{"+-1", 0}, IntegerCase{"0x10", 0}));

TEST_F(IniFile, TextsKeepTheirBlanksAndEqualsSigns) {
    ASSERT_TRUE(IniPutString(file_, "S", "Product", " USB <-> Serial = Cable "));
    EXPECT_EQ(IniGetString(file_, "S", "Product"), " USB <-> Serial = Cable ");
}

TEST_F(IniFile, LineBreaksInATextCannotStartNewLines) {
    ASSERT_TRUE(IniPutString(file_, "S", "Product", "x\r\n[Basic Details]\nDevice Type=9"));
    EXPECT_EQ(IniGetString(file_, "S", "Product"), "x  [Basic Details] Device Type=9");
    EXPECT_EQ(IniGetInteger(file_, "Basic Details", "Device Type"), 0);
}

TEST_F(IniFile, FirstSectionAndFirstKeyOfANameWin) {
    Write("[A]\nk=1\nk=2\n[A]\nk=3\nj=4\n");
    EXPECT_EQ(IniGetInteger(file_, "A", "k"), 1);
    // j stands only in the second section of that name, which is never looked at.
    EXPECT_EQ(IniGetInteger(file_, "A", "j"), 0);
}

TEST_F(IniFile, JunkLinesAndKeysOutsideSectionsAreIgnored) {
    Write("k=9\n\x01\x02 junk\n[A\n=5\nk\n[B]\n  k = 6\n");
    EXPECT_EQ(IniGetInteger(file_, "B", "k"), 6);
    EXPECT_EQ(IniGetInteger(file_, "A", "k"), 0);
}

TEST_F(IniFile, AnUnwritableFileIsReported) {
    // A folder where the file should be: nothing can write it, whoever runs the test.
    fs::create_directories(file_);
    EXPECT_FALSE(IniPutString(file_, "A", "k", "v"));
    EXPECT_FALSE(IniPutInteger((dir_ / "missing" / "t.ept").string(), "A", "k", 1));
}

// Not even its first keys: a file cut short would read as one without its later keys.
TEST_F(IniFile, AFileOverTheLimitIsNotRead) {
    std::string text = "[A]\r\nk=1\r\n" + std::string(kIniReadLimit, ';') + "\r\n[B]\r\nk=2\r\n";
    Write(text);
    EXPECT_EQ(IniGetInteger(file_, "A", "k"), 0);
    EXPECT_FALSE(IniPutInteger(file_, "B", "k", 3));  // its lines would be lost
}

TEST(IniDocument, LoneCrAndLfEndLinesTooAndAByteOrderMarkIsSkipped) {
    const auto doc = IniDocument::Parse("\xEF\xBB\xBF[A]\rk=1\n[B]\r\nk=2");
    EXPECT_EQ(doc.Get("A", "k"), "1");
    EXPECT_EQ(doc.Get("B", "k"), "2");
    EXPECT_EQ(doc.Text(), "[A]\r\nk=1\r\n[B]\r\nk=2\r\n");
}

}  // namespace
}  // namespace pelmo
