#include "core/settings_commands.h"

#include <unistd.h>

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>
#include <vector>

#include "console_startup.h"
#include "workspace_fixture.h"

namespace velmora {
namespace {

using formats::PanelRecord;
using workspace::console_workspace;

std::string file_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_text(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> crlf_lines(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        out.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "every line ends in CR LF";
    return out;
}

// A settings file from its lines, each ended by CR LF.
std::string settings_file(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

// The lines of a file: count, mode, then the records.
std::vector<std::string> file_lines(const char* count, const char* mode,
                                    const std::vector<PanelRecord>& records) {
    std::vector<std::string> lines{count, mode};
    for (const PanelRecord& r : records) lines.insert(lines.end(), r.begin(), r.end());
    return lines;
}

// A record as a user might leave it: `type`, format and hex texts.
PanelRecord record(const char* type, const char* addr, const char* cmd,
                   const char* format = "Select Format") {
    return {"0", "0", type, addr, cmd, "", "", "", "0", "", format, "-13", "X="};
}

class Settings : public testing::WorkspaceFixture {
  protected:
    void SetUp() override {
        WorkspaceFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
    }
    std::string path(const char* name) const { return ss(dir.filePath(QString::fromUtf8(name))); }

    void save_as(const std::string& p) {
        ui.ui.file_answers.push_back(p);
        c->menuSaveassettings->trigger();
    }
    void load_from(const std::string& p) {
        ui.ui.file_answers.push_back(p);
        c->menuopen->trigger();
    }
    void load_text(const std::string& text) {
        const std::string p = path("load.set");
        write_text(p, text);
        load_from(p);
    }
    PanelRecord record_of(int n) {
        workspace::WorkspaceWindows& w = console_workspace();
        return workspace::Panel_Record(n == 0 ? w.main_panel() : w.panel(n));
    }
    int shown_panels() const {
        int n = 0;
        for (int k = 1; k <= kPanelWindows; ++k)
            n += Loaded_Control(k) && Loaded_Control(k)->isVisible();
        return n;
    }
    // Marks every panel window, so that a closed one is seen to come back fresh.
    void mark_panels() {
        for (int k = 1; k <= kPanelWindows; ++k)
            Control(k).txt_RW_LSByte->setText(QStringLiteral("EE"));
    }
    // Panel k was closed: the tiling loaded it again, hidden, with the fields of its start-up.
    static bool closed_and_fresh(int k) {
        return Control(k).isHidden() && Control(k).txt_RW_LSByte->text().isEmpty();
    }

    QTemporaryDir dir;
};

TEST_F(Settings, SavingWritesTwoLinesAndThirteenAPanel) {
    save_as(path("none.set"));
    EXPECT_EQ(crlf_lines(file_text(path("none.set"))).size(), 15u);
    add(8);
    save_as(path("eight.set"));
    const std::vector<std::string> lines = crlf_lines(file_text(path("eight.set")));
    ASSERT_EQ(lines.size(), 119u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 15),
              file_lines("8", "SBS", {record("Read Word", "16", "16")}));
    ASSERT_EQ(ui.ui.save_dialogs.size(), 2u);
    EXPECT_EQ(ui.ui.save_dialogs[0].filter, "*.set | *.set");
    EXPECT_TRUE(ui.ui.messages.empty());
}

TEST_F(Settings, SavingIntoProgramFilesIsRefusedAsSpelled) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Program Files")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("program files")));
    save_as(path("Program Files/a.set"));
    EXPECT_EQ(ui.ui.message_texts(),
              std::vector<std::string>{"File not saved. Please do not save to Program Files "
                                       "folder. Select another folder."});
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Program Files/a.set"))));
    save_as(path("program files/a.set"));
    EXPECT_EQ(ui.ui.messages.size(), 1u);
    EXPECT_EQ(crlf_lines(file_text(path("program files/a.set"))).size(), 15u);
}

TEST_F(Settings, ASaveThatCannotBeWrittenSaysSoAndKeepsNothingHalfWritten) {
    save_as(path("missing folder/a.set"));
    EXPECT_EQ(ui.ui.message_texts(),
              std::vector<std::string>{"File cannot be created. Select another folder"});
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(Settings, ASaveReplacesAnOlderFileWhole) {
    write_text(path("old.set"), std::string(5000, 'x'));
    save_as(path("old.set"));
    EXPECT_EQ(crlf_lines(file_text(path("old.set"))).size(), 15u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.set"});
}

TEST_F(Settings, ASaveLeavesTheOtherFilesOfItsFolderAlone) {
    write_text(path("a.set.part"), "kept");
    save_as(path("a.set"));
    EXPECT_EQ(file_text(path("a.set.part")), "kept");
    EXPECT_EQ(crlf_lines(file_text(path("a.set"))).size(), 15u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"a.set", "a.set.part"}));
}

TEST_F(Settings, ACancelledSaveDoesNothing) {
    c->menuSaveassettings->trigger();
    EXPECT_TRUE(ui.ui.messages.empty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(Settings, EveryLoadStopsRepetitionACancelledOneToo) {
    add(2);
    c->set_Repeatall_BackColor(kRepeatRunning);
    c->Repeatall->setText(QStringLiteral("Click to Stop"));
    for (int n : {0, 1, 2}) panel(n).Nonstop->setChecked(true);
    c->menuopen->trigger();
    EXPECT_EQ(c->Repeatall_BackColor(), kButtonFace);
    EXPECT_EQ(c->Repeatall->text(), "Repeat All");
    for (int n : {0, 1, 2}) EXPECT_FALSE(panel(n).Nonstop->isChecked()) << n;
    EXPECT_TRUE(ui.ui.messages.empty());
    ASSERT_EQ(ui.ui.open_dialogs.size(), 1u);
    EXPECT_EQ(ui.ui.open_dialogs[0].filter, "*.SET | *.SET");
}

TEST_F(Settings, AMissingFileIsReported) {
    add();
    load_from(path("nothere.set"));
    EXPECT_EQ(ui.ui.message_texts(), std::vector<std::string>{"Cannot find file"});
    EXPECT_EQ(shared().PanelCount, 1);
}

TEST_F(Settings, AFolderChosenAsTheFileEndsTheLoadSilently) {
    add();
    load_from(ss(dir.path()));
    EXPECT_TRUE(ui.ui.messages.empty());
    EXPECT_EQ(shared().PanelCount, 1);
}

TEST_F(Settings, CountZeroClosesEveryPanelAfterTheMainRecord) {
    add(3);
    mark_panels();
    load_text(settings_file(file_lines("0", "SBS", {record("Read Byte", "16", "0D")})));
    EXPECT_EQ(shared().PanelCount, 0);
    for (int k = 1; k <= kPanelWindows; ++k) EXPECT_TRUE(closed_and_fresh(k)) << k;
    EXPECT_EQ(main().CmdProtocol_Text(), "Read Byte");
    EXPECT_EQ(main().PMBuscmd->text(), "RELATIVE STATE OF CHARGE");
}

TEST_F(Settings, CountTwoWithFiveOpenClosesThreeToEight) {
    add(5);
    mark_panels();
    load_text(
        settings_file(file_lines("2", "SBS",
                                 {record("Read Word", "16", "01"), record("Read Word", "16", "02"),
                                  record("Read Word", "16", "03")})));
    EXPECT_EQ(shared().PanelCount, 2);
    EXPECT_TRUE(Control(1).isVisible());
    EXPECT_TRUE(Control(2).isVisible());
    EXPECT_EQ(Control(2).txt_Device_Cmd->text(), "03");
    EXPECT_EQ(Control(1).txt_RW_LSByte->text(), "") << "written from the file";
    for (int k = 3; k <= kPanelWindows; ++k) EXPECT_TRUE(closed_and_fresh(k)) << k;
    EXPECT_EQ(c->pos(), QPoint(1, 33)) << "tiled at the end";
}

TEST_F(Settings, TheModeLineIsComparedExactly) {
    const std::pair<const char*, QRadioButton* const frmSendSMB_cmds::*> cases[] = {
        {"PMB", &frmSendSMB_cmds::PMBus_sel}, {"pmb", &frmSendSMB_cmds::I2C},
        {"SBS", &frmSendSMB_cmds::SBS},       {"I2C", &frmSendSMB_cmds::I2C},
        {"PMBus", &frmSendSMB_cmds::I2C},
    };
    for (const auto& [line, button] : cases) {
        load_text(settings_file(file_lines("0", line, {record("Read Word", "", "")})));
        EXPECT_TRUE((c->*button)->isChecked()) << line;
    }
}

TEST_F(Settings, AnExtRecordKeepsClassTenWhateverTheLookupSet) {
    load_text(settings_file(file_lines(
        "1", "SBS", {record("Read Word", "16", "16"), record("Ext Write Word", "16", "0D")})));
    EXPECT_EQ(Control(1).CmdProtocol_Text(), "Ext Write Word");
    EXPECT_EQ(shared().CmdClass[1], 10);
    EXPECT_FALSE(Control(1).txt_Device_Cmdlsb->isHidden()) << "its own type layout ran";
    EXPECT_EQ(shared().CmdClass[0], 3) << "the main panel's class comes from its lookup";
}

TEST_F(Settings, InPMBusTheManualFormatShowsTheExponentBox) {
    Control(1).Xtext->show();
    load_text(settings_file(file_lines("1", "PMB",
                                       {record("Read Word", "B8", "8B", "Exp(2^X) Manual input"),
                                        record("Read Word", "B8", "8B", "Exp5b Man11b")})));
    EXPECT_FALSE(main().Xtext->isHidden());
    EXPECT_FALSE(main().Xlabel->isHidden());
    EXPECT_TRUE(Control(1).Xtext->isHidden());
    EXPECT_TRUE(Control(1).Xlabel->isHidden());
}

TEST_F(Settings, ABigCountOpensEightAndANegativeOneNone) {
    add(3);
    std::vector<std::string> lines =
        file_lines("9", "SBS", std::vector<PanelRecord>(9, record("Read Word", "16", "16")));
    load_text(settings_file(lines));
    EXPECT_EQ(shared().PanelCount, 8);
    EXPECT_EQ(shown_panels(), 8);
    EXPECT_EQ(c->pos(), QPoint(1, 33));

    lines[0] = "-3";
    lines.resize(15);
    load_text(settings_file(lines));
    EXPECT_EQ(shared().PanelCount, 0) << "held at 0";
    EXPECT_EQ(shown_panels(), 0);
}

// A file cut after `lines` lines stops there: what was read stays, nothing is tiled.
struct EarlyEnd {
    size_t lines;
    int panel_count;
    bool pmbus;
    const char* main_addr;
    const char* main_cmd;
    const char* panel1_cmd;
};

class EndsEarly : public Settings, public ::testing::WithParamInterface<EarlyEnd> {};

TEST_P(EndsEarly, StopsWhereTheFileEnds) {
    const EarlyEnd& e = GetParam();
    std::vector<std::string> lines =
        file_lines("2", "PMB",
                   {record("Read Word", "12", "01"), record("Read Word", "12", "02"),
                    record("Read Word", "12", "03")});
    ASSERT_EQ(lines.size(), 41u);
    lines.resize(e.lines);
    c->move(200, 200);
    add(4);
    load_text(settings_file(lines));
    EXPECT_EQ(shared().PanelCount, e.panel_count);
    EXPECT_EQ(c->PMBus_sel->isChecked(), e.pmbus);
    EXPECT_EQ(main().txt_Device_Addr->text(), e.main_addr);
    EXPECT_EQ(main().txt_Device_Cmd->text(), e.main_cmd);
    EXPECT_EQ(Control(1).txt_Device_Cmd->text(), e.panel1_cmd);
    EXPECT_EQ(c->pos() == QPoint(1, 33), e.lines == 41u);
    EXPECT_TRUE(ui.ui.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Cut, EndsEarly,
                         ::testing::Values(EarlyEnd{0, 4, false, "16", "16", "16"},
                                           EarlyEnd{1, 2, false, "16", "16", "16"},
                                           EarlyEnd{2, 2, true, "B8", "88", "88"},
                                           EarlyEnd{6, 2, true, "12", "88", "88"},
                                           EarlyEnd{7, 2, true, "12", "01", "88"},
                                           EarlyEnd{19, 2, true, "12", "01", "88"},
                                           EarlyEnd{20, 2, true, "12", "01", "02"},
                                           EarlyEnd{40, 2, true, "12", "01", "02"},
                                           EarlyEnd{41, 2, true, "12", "01", "02"}),
                         [](const auto& info) {
                             return "Lines" + std::to_string(info.param.lines);
                         });

TEST_F(Settings, AFileWithoutItsLastLineEndLoadsWhole) {
    std::string text = settings_file(file_lines("0", "SBS", {record("Read Word", "16", "0F")}));
    text.resize(text.size() - 2);
    load_text(text);
    EXPECT_EQ(main().Xlabel->text(), "X=");
    EXPECT_EQ(c->pos(), QPoint(1, 33));
}

TEST_F(Settings, JunkLongLinesAndBinaryNeverOpenMoreThanEight) {
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 37 + 11) & 0xFF);
    const std::string cases[] = {
        junk,
        "8\r\nPMB\r\n" + std::string(1 << 20, 'A') + "\r\n" + junk,
        "99999999999999999999\r\n" + junk,
        std::string("3\0\r\nSBS\r\n\0\0\0", 12),
        "\r\n\r\n\r\n",
        "",
    };
    for (const std::string& text : cases) {
        load_text(text);
        EXPECT_GE(shared().PanelCount, 0);
        EXPECT_LE(shared().PanelCount, 8);
        EXPECT_LE(shown_panels(), 8);
    }
}

// Every type, format and mode saved and loaded again comes back field for field.
class RoundTrip : public Settings, public ::testing::WithParamInterface<int> {
  protected:
    void save_through_dialog(const std::string& p) {
        QDialog dialog;
        new QLineEdit(&dialog);
        focus(&dialog);  // as the save dialog opens, the focus leaves the console
        save_as(p);
    }
};

TEST_P(RoundTrip, EveryFieldComesBack) {
    QRadioButton* modes[] = {c->SBS, c->PMBus_sel, c->I2C};
    const int mode = GetParam();
    choose(modes[mode]);
    add(8);
    std::vector<std::string_view> types(kBasicTypes.begin(), kBasicTypes.end());
    types.insert(types.end(), kExtTypes.begin(), kExtTypes.end());
    types.push_back(kQuickCmd);
    std::vector<PanelRecord> saved;
    for (int n = 0; n <= 8; ++n) {
        CommandPanel& p = panel(n);
        const std::string type(types[static_cast<size_t>(n + 9 * mode) % types.size()]);
        p.set_CmdProtocol_Text(type);
        p.CmdProtocol_Click();
        p.SendBytePgNumber->setChecked(n % 2 == 0);
        p.PageNumber->setText(QString::number(n % 8));
        p.txt_Device_Addr->setText(QStringLiteral("B%1").arg(n));
        p.txt_Device_Cmd->setText(QStringLiteral("%1").arg(n * 17, 2, 16, QLatin1Char('0')));
        p.txt_Device_Cmdlsb->setText(QStringLiteral("0%1").arg(n));
        p.txt_RW_LSByte->setText(QStringLiteral("00"));
        p.txt_RW_MSByte->setText(QStringLiteral("00"));
        p.Linear16bit->setText(type.find("Write Word") == std::string::npos ? QStringLiteral("12.5")
                                                                            : QStringLiteral("0"));
        p.TranslationMode->setEditText(
            qs(formats::kFormatItems[static_cast<size_t>(n) % formats::kFormatItems.size()]));
        p.Xtext->setText(QString::number(n - 4));
        p.Nonstop->setChecked(n % 3 == 0);
        saved.push_back(record_of(n));
    }
    save_as(path("all.set"));

    // Something else in every field, fewer panels, another mode.
    c->mainDelete->trigger();
    c->mainDelete->trigger();
    choose(modes[(mode + 1) % 3]);
    for (int n = 0; n <= 6; ++n) {
        panel(n).txt_Device_Addr->setText(QStringLiteral("77"));
        panel(n).Xlabel->setText(QStringLiteral("Y="));
        panel(n).TranslationMode->setEditText(QStringLiteral("Select Format"));
    }
    load_from(path("all.set"));

    EXPECT_TRUE(modes[mode]->isChecked());
    EXPECT_EQ(shared().PanelCount, 8);
    for (int n = 0; n <= 8; ++n) EXPECT_EQ(record_of(n), saved[static_cast<size_t>(n)]) << n;
    EXPECT_TRUE(ui.ui.messages.empty());
}

// Return in a list box, leaving it, and the save dialog taking the focus run no click
// handling: a typed set is saved as typed, and loaded and saved again to the same bytes.
TEST_P(RoundTrip, ReturnTabAndTheSaveDialogKeepWhatWasTyped) {
    QRadioButton* modes[] = {c->SBS, c->PMBus_sel, c->I2C};
    choose(modes[GetParam()]);
    add(2);
    for (int n = 0; n <= 2; ++n) {
        CommandPanel& p = panel(n);
        pick(p, "Write Word");
        type_over(p.txt_Device_Cmd, "15");
        type_over(p.txt_Device_Cmdlsb, "05");
        type_over(p.PageNumber, "3");
        type_over(p.Linear16bit, "12");
        type_over(p.CmdProtocol, "Read Word");
        QTest::keyClick(p.CmdProtocol, Qt::Key_Return);
        type_over(p.CmdProtocol, "Write Word");
        QTest::keyClick(p.CmdProtocol, Qt::Key_Tab);
        EXPECT_EQ(p.Linear16bit->text(), "12") << n;
    }
    save_through_dialog(path("a.set"));
    c->mainDelete->trigger();
    c->mainDelete->trigger();
    choose(modes[(GetParam() + 1) % 3]);
    load_from(path("a.set"));
    for (int n = 0; n <= 2; ++n) focus(panel(n).CmdProtocol);
    save_through_dialog(path("b.set"));
    EXPECT_EQ(file_text(path("b.set")), file_text(path("a.set")));
    EXPECT_TRUE(ui.ui.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Modes, RoundTrip, ::testing::Values(0, 1, 2), [](const auto& info) {
    return std::string(info.param == 0 ? "SmartBattery" : info.param == 1 ? "PMBus" : "I2C");
});

TEST_F(Settings, FieldsWithCommasBlanksAndQuotesComeBackExactly) {
    add();
    const char* texts[] = {" 0,1", "a, b", "\"q\"", "  ", ",", " x ,y ", "\"", "1,5"};
    CommandPanel& p = Control(1);
    p.set_CmdProtocol_Text("Read, Word");
    p.PageNumber->setText(texts[0]);
    p.txt_Device_Addr->setText(texts[1]);
    p.txt_Device_Cmd->setText(texts[2]);
    p.txt_Device_Cmdlsb->setText(texts[3]);
    p.txt_RW_LSByte->setText(texts[4]);
    p.txt_RW_MSByte->setText(texts[5]);
    p.Linear16bit->setText(texts[6]);
    p.TranslationMode->setEditText(QStringLiteral("Select, Format"));
    p.Xtext->setText(texts[7]);
    p.Xlabel->setText(QStringLiteral(" X=, "));
    const PanelRecord before = record_of(1);
    save_as(path("commas.set"));
    c->mainDelete->trigger();
    load_from(path("commas.set"));
    EXPECT_EQ(record_of(1), before);
}

// A load shows the stored bytes, value, format and exponent whatever format and exponent
// the panel showed before, and saving again gives the same file.
TEST_F(Settings, ALoadKeepsTheStoredBytesWhateverThePanelShowedBefore) {
    struct Case {
        const char *format, *x, *value, *ls, *ms;
    };
    choose(c->PMBus_sel);
    CommandPanel& p = main();
    pick(p, "Write Word");
    for (const Case& k : {Case{"Exp5b Man11b", "-13", "62.5", "7D", "F8"},
                          Case{"Exp(2^X) Manual input", "-8", "100", "00", "64"}}) {
        pick_item(p.TranslationMode, k.format);
        type_over(p.Xtext, k.x);
        type_over(p.Linear16bit, k.value);
        ASSERT_EQ(p.txt_RW_LSByte->text() + p.txt_RW_MSByte->text(), QString(k.ls) + k.ms);
        save_as(path("stored.set"));
        pick_item(p.TranslationMode, "Exp(2^X) Manual input");
        type_over(p.Xtext, "-13");
        load_from(path("stored.set"));
        EXPECT_EQ(p.txt_RW_LSByte->text(), k.ls);
        EXPECT_EQ(p.txt_RW_MSByte->text(), k.ms);
        EXPECT_EQ(p.Linear16bit->text(), k.value);
        EXPECT_EQ(p.TranslationMode->currentText(), k.format);
        EXPECT_EQ(p.Xtext->text(), k.x);
        save_as(path("again.set"));
        EXPECT_EQ(file_text(path("again.set")), file_text(path("stored.set")));
    }
    EXPECT_EQ(ui.ui.message_texts(), std::vector<std::string>{});
}

// A set is one byte a character: a byte that is no UTF-8 loads and saves as it was.
TEST_F(Settings, EveryByteOfAFieldComesBack) {
    PanelRecord r = record("Read Word", "16", "16");
    r[formats::kXlabel] = "\xB5=";
    const std::string text = settings_file(file_lines("0", "SBS", {r}));
    load_text(text);
    EXPECT_EQ(main().Xlabel->text(), QString(QChar(0xB5)) + "=");
    save_as(path("again.set"));
    EXPECT_EQ(file_text(path("again.set")), text);
}

TEST_F(Settings, ARecordThatTicksRepeatMakesTheTimerSendThatPanel) {
    PanelRecord repeating = record("Read Word", "16", "0D");
    repeating[formats::kNonstop] = "1";
    load_text(settings_file(file_lines("1", "SBS", {record("Read Word", "16", "16"), repeating})));
    writes();
    c->Timer_1sec_Timer();
    EXPECT_EQ(writes(), "34 16 0D 0D\n");
}

TEST_F(Settings, BareValuesOfOtherCopiesLoad) {
    std::vector<std::string> lines{"0",  "SBS", "1", "3", "Write Word",    "  16", "\"09\"", "",
                                   "10", "27",  "0", "",  "Select Format", "-13",  "X="};
    load_text(settings_file(lines));
    EXPECT_TRUE(main().SendBytePgNumber->isChecked());
    EXPECT_EQ(main().txt_Device_Addr->text(), "16");
    EXPECT_EQ(main().txt_Device_Cmd->text(), "09");
    EXPECT_EQ(main().PMBuscmd->text(), "VOLTAGE (mV)");
    EXPECT_EQ(main().txt_RW_LSByte->text(), "10");
    EXPECT_FALSE(main().txt_RW_MSByte->isReadOnly()) << "the Write Word layout ran";
}

TEST_F(Settings, AQuotedValueIsTheTextInsideItsQuotes) {
    std::vector<std::string> lines{
        "0",           "SBS", "0", "0", "\"Write Byte\"  ", "16",  "\"09\",junk", "",
        "\"01\",junk", "",    "0", "",  "Select Format",    "-13", "X="};
    load_text(settings_file(lines));
    EXPECT_EQ(main().CmdProtocol_Text(), "Write Byte");
    EXPECT_FALSE(main().txt_RW_LSByte->isReadOnly()) << "the Write Byte layout ran";
    EXPECT_EQ(main().txt_Device_Cmd->text(), "09");
    EXPECT_EQ(main().txt_RW_LSByte->text(), "01");
}

class DefaultSettings : public Settings {
  protected:
    void SetUp() override {
        Settings::SetUp();
        shared().SettingsFileName = "/workspace_test_" + std::to_string(::getpid()) + ".set";
        file = App_Folder() + shared().SettingsFileName;
    }
    void TearDown() override { std::remove(file.c_str()); }
    std::string file;
};

TEST_F(DefaultSettings, AMissingFileSaysSo) {
    main().Nonstop->setChecked(true);
    workspace::Load_Default_Settings(console_workspace());
    EXPECT_EQ(ui.ui.message_texts(), std::vector<std::string>{"No saved settings"});
    EXPECT_FALSE(main().Nonstop->isChecked());
    EXPECT_TRUE(ui.ui.open_dialogs.empty());
}

TEST_F(DefaultSettings, LoadsWithoutDialogAndLeavesTheLookupsClass) {
    write_text(file, settings_file(file_lines(
                         "1", "SBS",
                         {record("Read Word", "16", "16"), record("Ext Write Word", "16", "0D")})));
    workspace::Load_Default_Settings(console_workspace());
    EXPECT_EQ(shared().PanelCount, 1);
    EXPECT_EQ(Control(1).CmdProtocol_Text(), "Ext Write Word");
    EXPECT_EQ(shared().CmdClass[1], 3);
    EXPECT_TRUE(ui.ui.messages.empty());
    EXPECT_TRUE(ui.ui.open_dialogs.empty());
}

}  // namespace
}  // namespace velmora
