#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <string>
#include <vector>

#include "formats/value_entry.h"
#include "window_fixture.h"

namespace velmora {
namespace {

class ValueBox : public testing::LoadedConsole {
  protected:
    static void pick_format(CommandPanel& p, const char* item) {
        pick_item(p.TranslationMode, item);
    }
    static std::string bytes(const CommandPanel& p) {
        return p.txt_RW_MSByte->text().toStdString() + " " + p.txt_RW_LSByte->text().toStdString();
    }
    // A panel in PMBus mode set for a word write in `format`.
    CommandPanel& pmbus_writer(int n, const char* format) {
        c->PMBus_sel->setChecked(true);
        CommandPanel& p = *Panel(n);
        p.set_CmdProtocol_Text("Write Word");
        pick_format(p, format);
        return p;
    }
};

TEST_F(ValueBox, TypedValuesAreEncodedIntoTheDataBytes) {
    struct Case {
        const char* format;
        const char* value;
        const char* bytes;
    };
    const Case cases[] = {
        {"Exp(2^X) Manual input", "3", "60 00"},
        {"Exp5b Man11b", "2000", "20 7D"},
        {"Exp5b Man11b", "abc", "00 00"},
        {"Exp(2^X) Manual input", "1,5", "00 00"},  // not a number in the C format
        {"Select Format", "7", "11 22"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.format) + " " + k.value);
        CommandPanel& p = pmbus_writer(2, k.format);
        p.txt_RW_LSByte->setText(QStringLiteral("22"));
        p.txt_RW_MSByte->setText(QStringLiteral("11"));
        p.Linear16bit->setText(QString::fromLatin1(k.value));
        EXPECT_EQ(bytes(p), k.bytes);
        EXPECT_EQ(p.Linear16bit->text(), k.value) << "the value box keeps its text";
    }
    EXPECT_TRUE(ui.ui.messages.empty());
}

TEST_F(ValueBox, NumbersAreReadInTheUsersFormat) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    CommandPanel& p = pmbus_writer(0, "Exp(2^X) Manual input");
    p.Linear16bit->setText(QStringLiteral("1,5"));
    EXPECT_EQ(bytes(p), "30 00");
}

TEST_F(ValueBox, OverflowShowsItsMessageThenZeroes) {
    CommandPanel& p = pmbus_writer(0, "Exp5b Man11b");
    std::string at_message;
    ui.ui.on_message = [&](const platform::ui::MessageBox&) { at_message = bytes(p); };
    p.Linear16bit->setText(QStringLiteral("1"));
    ASSERT_EQ(bytes(p), "F8 02");
    p.Linear16bit->setText(QStringLiteral("3000"));
    EXPECT_EQ(ui.ui.message_texts(),
              std::vector<std::string>{"Number overflow, please clear and reenter"});
    EXPECT_EQ(at_message, "F8 02") << "the message comes before the bytes";
    EXPECT_EQ(bytes(p), "00 00");
    EXPECT_EQ(p.Linear16bit->text(), "3000");
}

TEST_F(ValueBox, SmartBatteryChargingValuesAreWholeWords) {
    CommandPanel& p = *c->panel0;
    p.set_CmdProtocol_Text("Write Word");
    p.txt_Device_Cmd->setText(QStringLiteral("15"));
    p.Linear16bit->setText(QStringLiteral("12600"));
    EXPECT_EQ(bytes(p), "31 38");
    p.txt_Device_Cmd->setText(QStringLiteral("0F"));
    p.Linear16bit->setText(QStringLiteral("5"));
    EXPECT_EQ(bytes(p), "31 38") << "no other command converts";
    p.txt_Device_Cmd->setText(QStringLiteral("14"));
    p.Linear16bit->setText(QStringLiteral("abc"));
    EXPECT_EQ(bytes(p), "00 00");
}

TEST_F(ValueBox, EmptiedBoxBecomesZeroThroughANestedRun) {
    CommandPanel& p = Control(1);
    p.set_CmdProtocol_Text("Write Word");
    p.txt_Device_Cmd->setText(QStringLiteral("15"));
    p.Linear16bit->setText(QStringLiteral("12600"));
    p.Linear16bit->clear();
    EXPECT_EQ(p.Linear16bit->text(), "0");
    EXPECT_EQ(bytes(p), "00 00");
}

TEST_F(ValueBox, ReadTypesLeaveTheDataBytes) {
    CommandPanel& p = *c->panel0;
    p.txt_Device_Cmd->setText(QStringLiteral("15"));
    p.txt_RW_LSByte->setText(QStringLiteral("AB"));
    p.Linear16bit->setText(QStringLiteral("12600"));
    p.Linear16bit->clear();
    EXPECT_EQ(p.txt_RW_LSByte->text(), "AB");
    EXPECT_EQ(p.Linear16bit->text(), "");
}

TEST_F(ValueBox, ExponentOutsideItsRangeBecomesMinusThirteen) {
    CommandPanel& p = *c->panel0;
    const std::pair<const char*, const char*> cases[] = {
        {"16", "-13"}, {"-16", "-13"}, {"15", "15"}, {"-15", "-15"}, {"abc", "abc"}};
    for (const auto& [typed, shown] : cases) {
        p.Xtext->setText(QString::fromLatin1(typed));
        EXPECT_EQ(p.Xtext->text(), shown) << typed;
    }
}

TEST_F(ValueBox, ManualFormatShowsTheExponentBoxAndOthersHideIt) {
    CommandPanel& p = pmbus_writer(1, "Exp(2^X) Manual input");
    EXPECT_FALSE(p.Xtext->isHidden());
    EXPECT_FALSE(p.Xlabel->isHidden());
    pick_format(p, "Exp5b Man11b");
    EXPECT_TRUE(p.Xtext->isHidden());
    EXPECT_TRUE(p.Xlabel->isHidden());
}

TEST_F(ValueBox, AutoInputReadsVoutModeOnceAndChangesNoBox) {
    CommandPanel& p = pmbus_writer(3, "Exp(2^X) Manual input");
    p.txt_Device_Addr->setText(QStringLiteral("5A"));
    p.Linear16bit->setText(QStringLiteral("3"));
    shared().ResultReady[3] = True;
    const std::string before = bytes(p);
    std::string sent_at_message;
    ui.ui.on_message = [&](const platform::ui::MessageBox&) { sent_at_message = writes(); };
    pick_format(p, "Exp(2^X) Auto input");
    EXPECT_EQ(ui.ui.message_texts(),
              std::vector<std::string>{std::string(formats::kVoutModeMessage)});
    EXPECT_EQ(sent_at_message, "");
    EXPECT_EQ(writes(), "44 B8 20 0D\n");
    EXPECT_EQ(shared().ResultReady[3], False);
    EXPECT_EQ(bytes(p), before);
    EXPECT_EQ(p.Linear16bit->text(), "3");
    EXPECT_EQ(p.Xtext->text(), "-13");
    EXPECT_FALSE(p.Xtext->isHidden()) << "kept as it was";
    EXPECT_EQ(c->panel0->TranslationMode->findText(QStringLiteral("Exp(2^X) Auto input")), -1);
}

}  // namespace
}  // namespace velmora
