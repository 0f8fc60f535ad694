#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <filesystem>
#include <map>

#include "dlg_main.h"
#include "drendle.h"
#include "machine.h"
#include "ui/doubles.h"
#include "win/default_image.h"
#include "win/hive_text.h"

namespace drendle::testing {
namespace {

namespace fs = std::filesystem;
using platform::win::testing::read_file;
using platform::win::testing::TempDir;

QApplication& App() {
    static int argc = 1;
    static char name[] = "drendle_dialog_test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: the input devices the key and mouse events create are torn down
    // with it at exit, when the rest of the GUI library already is gone.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Each key's own section (owner, access list, values) by path.
std::map<std::string, std::string> Keys(const win::Hive& hive) {
    std::map<std::string, std::string> out;
    for (const std::string& path : hive.key_paths())
        out[path] = win::format_key_section(*hive.find(path), path);
    return out;
}

// Each file's bytes by path below the folder.
std::map<std::string, std::string> Files(const std::string& folder) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file())
            out[fs::relative(e.path(), folder).string()] = read_file(e.path().string());
    return out;
}

// The built-in machine in a folder of its own, loaded and installed.
class DefaultImage : public ::testing::Test {
  protected:
    void SetUp() override {
        App();
        std::string error;
        ASSERT_TRUE(win::write_default_image(dir.path(), &error)) << error;
        Load();
    }
    void TearDown() override { win::install(nullptr); }
    void Load() {
        std::string error;
        machine = win::WinSystem::load(dir.path(), &error);
        ASSERT_TRUE(machine) << error;
        win::install(machine.get());
    }
    // Presses a button of a fresh dialog; what it printed.
    std::string Press(const char* button) {
        DlgMain dialog;
        dialog.show();
        auto* b = dialog.findChild<QPushButton*>(button);
        EXPECT_TRUE(b);
        std::string out = Output([&] { b->click(); });
        EXPECT_FALSE(dialog.isVisible());
        return out;
    }
    TempDir dir;
    std::unique_ptr<win::WinSystem> machine;
    platform::ui::ScopedDoubles ui;
};

const char* const kRemovedKeys[] = {
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache\\ZOQSPI",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZOQSPI",
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{36FC9E60-C465-11CF-8056-444553540000}\\0002",
    "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{6e3a41d2-0c9b-4d57-8a1f-3b2c7d904e15}",
    "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{6e3a41d2-0c9b-4d57-8a1f-3b2c7d904e15}\\##?"
    "#USB#VID_4B1D&"
    "PID_C738#5&2a3c4d1&0&2#{6e3a41d2-0c9b-4d57-8a1f-3b2c7d904e15}",
    "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{6e3a41d2-0c9b-4d57-8a1f-3b2c7d904e15}\\##?"
    "#USB#VID_4B1D&"
    "PID_C738#5&2a3c4d1&0&2#{6e3a41d2-0c9b-4d57-8a1f-3b2c7d904e15}\\#",
    "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{a5dcbf10-6530-11d2-901f-00c04fb951ed}\\##?"
    "#USB#VID_4B1D&"
    "PID_C738#5&2a3c4d1&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}",
    "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{a5dcbf10-6530-11d2-901f-00c04fb951ed}\\##?"
    "#USB#VID_4B1D&"
    "PID_C738#5&2a3c4d1&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}\\#",
    "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{a5dcbf10-6530-11d2-901f-00c04fb951ed}\\##?"
    "#USB#VID_4B1D&"
    "PID_C738#5&2a3c4d1&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}\\Control",
    "SYSTEM\\CurrentControlSet\\Enum\\USB\\VID_4B1D&PID_C738",
    "SYSTEM\\CurrentControlSet\\Enum\\USB\\VID_4B1D&PID_C738\\5&2a3c4d1&0&2",
    "SYSTEM\\CurrentControlSet\\Enum\\USB\\VID_4B1D&PID_C738\\5&2a3c4d1&0&2\\Control",
    "SYSTEM\\CurrentControlSet\\Enum\\USB\\VID_4B1D&PID_C738\\5&2a3c4d1&0&2\\Device Parameters",
    "SYSTEM\\CurrentControlSet\\Enum\\USB\\VID_4B1D&PID_C738\\5&2a3c4d1&0&2\\LogConf",
};

const char* const kRemovedFiles[] = {"system32/rawlnk.dll", "system32/drivers/rawlnk.sys",
                                     "inf/oem3.inf"};

constexpr const char* kTakeOver = "Opening w/ WRITE_OWNER\nOwner set to Administrators/BUILTIN\n";
constexpr const char* kProtectedMask = "Mask =    :a30a0019\n";

const std::string kFirstRunOutput =
    std::string("Unlinking C:\\WINNT\\inf\\oem3.inf...done\n") +
    "Deleting key "
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{36FC9E60-C465-11CF-8056-444553540000}\\0002..."
    "done\n" +
    "Deleting key "
    "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{a5dcbf10-6530-11d2-901f-00c04fb951ed}\\"
    "##?#USB#VID_4B1D&PID_C738#5&2a3c4d1&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}...done\n" +
    kProtectedMask +
    "\nRemKey -- processing key: SYSTEM\\CurrentControlSet\\Enum\\USB\\VID_4B1D&PID_C738\n" +
    kTakeOver + kProtectedMask + "\nRemKey -- processing key: 5&2a3c4d1&0&2\n" + kTakeOver +
    kProtectedMask + "\nRemKey -- processing key: Control\n" + kTakeOver +
    "--------DELETED------------\n" + kProtectedMask +
    "\nRemKey -- processing key: Device Parameters\n" + kTakeOver +
    "--------DELETED------------\n" + kProtectedMask + "\nRemKey -- processing key: LogConf\n" +
    kTakeOver + "--------DELETED------------\n" +
    "--------DELETED------------\n--------DELETED------------\n" + "Driver cleanup completed.\n";

TEST_F(DefaultImage, OkRemovesExactlyTheBoardsFilesAndKeys) {
    const auto keys_before = Keys(machine->hive());
    const auto files_before = Files(dir / "windows");
    EXPECT_EQ(Press("btnOK"), kFirstRunOutput);

    ASSERT_EQ(ui.ui.messages.size(), 1u);
    EXPECT_EQ(ui.ui.messages[0].text, "Driver uninstallation completed");
    EXPECT_EQ(ui.ui.messages[0].title, "All Done!");
    EXPECT_EQ(ui.ui.messages[0].buttons, platform::ui::Buttons::Ok);
    EXPECT_EQ(os_version_code, 0x500);

    auto expected_keys = keys_before;
    for (const char* k : kRemovedKeys) ASSERT_EQ(expected_keys.erase(k), 1u) << k;
    EXPECT_EQ(Keys(machine->hive()), expected_keys);  // the rest byte for byte
    auto expected_files = files_before;
    for (const char* f : kRemovedFiles) ASSERT_EQ(expected_files.erase(f), 1u) << f;
    EXPECT_EQ(Files(dir / "windows"), expected_files);
    // The board's service keys stay: the sequence of this Windows family leaves them.
    EXPECT_TRUE(machine->hive().find("SYSTEM\\CurrentControlSet\\Services\\ZOQSPI"));
    EXPECT_EQ(read_file(dir / "hive.txt"), win::format_hive(machine->hive()));
    EXPECT_EQ(machine->open_handles(), 0u);
}

TEST_F(DefaultImage, ASecondRunOnTheCleanedMachineIsQuietAndChangesNothing) {
    Press("btnOK");
    Load();  // as the next start of the program would
    const std::string hive_file = read_file(dir / "hive.txt");
    const auto files = Files(dir / "windows");
    EXPECT_EQ(Press("btnOK"), "Mask =    :00000000\nDriver cleanup completed.\n");
    EXPECT_EQ(ui.ui.message_texts(), (std::vector<std::string>{"Driver uninstallation completed",
                                                               "Driver uninstallation completed"}));
    EXPECT_EQ(ui.ui.messages[1].title, "All Done!");
    EXPECT_EQ(read_file(dir / "hive.txt"), hive_file);
    EXPECT_EQ(Files(dir / "windows"), files);
}

TEST_F(DefaultImage, KeysOnTheFocusedOkButtonDoNothingOnlyAClickRemoves) {
    DlgMain dialog;
    dialog.show();
    dialog.activateWindow();
    QApplication::processEvents();
    auto* ok = dialog.findChild<QPushButton*>("btnOK");
    ASSERT_EQ(QApplication::focusWidget(), ok);
    const Qt::Key keys[] = {Qt::Key_Return,  Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Tab,
                            Qt::Key_Backtab, Qt::Key_Right, Qt::Key_Left};
    std::vector<QWidget*> focus;  // after each key
    EXPECT_EQ(Output([&] {
                  for (Qt::Key key : keys) {
                      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
                      QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
                      QApplication::sendEvent(ok, &press);
                      QApplication::sendEvent(ok, &release);
                      focus.push_back(QApplication::focusWidget());
                      ok->setFocus();
                  }
              }),
              "");
    EXPECT_EQ(focus, std::vector<QWidget*>(std::size(keys), ok));
    EXPECT_TRUE(ui.ui.messages.empty());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Output([&] {
                  const QPointF at(2, 2);
                  QMouseEvent press(QEvent::MouseButtonPress, at, ok->mapToGlobal(at),
                                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
                  QMouseEvent release(QEvent::MouseButtonRelease, at, ok->mapToGlobal(at),
                                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
                  QApplication::sendEvent(ok, &press);
                  QApplication::sendEvent(ok, &release);
              }),
              kFirstRunOutput);
    EXPECT_EQ(ui.ui.message_texts(), std::vector<std::string>{"Driver uninstallation completed"});
}

// The built-in machine as a user's may be: no take-over privileges, a device key only
// the system may open, and a cache key nobody may open.
TEST_F(DefaultImage, KeysStillThereAfterTheirStepsFailTheRun) {
    const auto edit = [&](const char* file, const std::string& from, const std::string& to) {
        std::string text = read_file(dir / file);
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        platform::win::testing::write_file(dir / file, text.replace(at, from.size(), to));
    };
    edit(win::kConfigFileName,
         "privilege=SeSecurityPrivilege\nprivilege=SeTakeOwnershipPrivilege\n", "");
    const std::string device =
        "Enum\\USB\\VID_4B1D&PID_C738]\nowner=S-1-5-18\nace=allow,02,000f003f,S-1-5-18\n";
    edit(win::kHiveFileName, device + "ace=allow,02,00020019,S-1-1-0\n", device);
    edit(win::kHiveFileName,
         "ARPCache\\ZOQSPI]\nowner=S-1-5-32-544\nace=allow,02,000f003f,S-1-5-32-544\n"
         "ace=allow,02,000f003f,S-1-5-18\nace=allow,02,00020019,S-1-5-32-545\n",
         "ARPCache\\ZOQSPI]\nowner=S-1-5-18\nacl=empty\n");
    Load();
    const std::string out = Press("btnOK");
    for (const char* key :
         {"SYSTEM\\CurrentControlSet\\Enum\\USB\\VID_4B1D&PID_C738",
          "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache\\ZOQSPI"})
        EXPECT_THAT(out, ::testing::HasSubstr("Deleting key " + std::string(key) + "...FAILED!\n"));
    EXPECT_EQ(ui.ui.message_texts(), std::vector<std::string>{kIncompleteText});
}

TEST_F(DefaultImage, AMachineThatCannotBeSavedSaysWhyOnceOnStandardError) {
    fs::remove(dir / "hive.txt");  // a folder in its place: no save can replace it
    platform::win::testing::write_file(dir / "hive.txt/x", "");
    ::testing::internal::CaptureStderr();
    Press("btnOK");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "winsys: cannot save " + dir / "hive.txt" +
                  ": Is a directory; the registry was not changed\n");
    EXPECT_EQ(ui.ui.message_texts(), std::vector<std::string>{kIncompleteText});
}

TEST_F(DefaultImage, CancelAndTheCloseBoxLeaveEverything) {
    const std::string hive_file = read_file(dir / "hive.txt");
    EXPECT_EQ(Press("btnCancel"), "");
    {
        DlgMain dialog;
        dialog.show();
        EXPECT_EQ(Output([&] { dialog.close(); }), "");
    }
    EXPECT_TRUE(ui.ui.messages.empty());
    EXPECT_EQ(read_file(dir / "hive.txt"), hive_file);
}

TEST(DialogWindow, CarriesItsResourceNamesAndTexts) {
    App();
    DlgMain dialog;
    EXPECT_EQ(dialog.objectName(), "dlgMAIN");
    EXPECT_EQ(dialog.windowTitle(), "ZOQ USB Driver Removal");
    auto* text = dialog.findChild<QLabel*>("lblMessage");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->text().toStdString(),
              "\n\rIf the USB device is connected, please remove it now.");
    EXPECT_EQ(dialog.findChild<QPushButton*>("btnOK")->text(), "OK");
    EXPECT_EQ(dialog.findChild<QPushButton*>("btnCancel")->text(), "Cancel");
    EXPECT_TRUE(dialog.findChild<QPushButton*>("btnOK")->isDefault());
}

}  // namespace
}  // namespace drendle::testing
