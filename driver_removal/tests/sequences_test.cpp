#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include "drendle.h"
#include "machine.h"
#include "ui/doubles.h"
#include "ulib.h"

namespace drendle::testing {
namespace {

constexpr const char* kOemNames =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Setup\\SetupX\\INF\\OEM Name";
constexpr const char* kUsbClassNT =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{36FC9E60-C465-11CF-8056-444553540000}";
constexpr const char* kInterfacesNT =
    "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

struct VersionCase {
    uint32_t platform;
    uint32_t major, minor;
    bool known;
    int code;
    bool nt_sequence;
};

void PrintTo(const VersionCase& c, std::ostream* os) {
    *os << "code " << std::hex << c.code;
}

class VersionDispatch : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionDispatch, PicksTheSequenceByCode) {
    const VersionCase& c = GetParam();
    win::Config config = Nt5Config();
    config.platform = c.platform;
    config.version = win::OsVersion{c.major, c.minor};
    if (!c.known) config.version.reset();
    Machine m(config, {});
    platform::ui::ScopedDoubles ui;
    EXPECT_EQ(GetOsVersionCode(), c.code);
    const std::string out = Output([] { EXPECT_EQ(MainDlgProc(IDOK), 1); });
    EXPECT_EQ(os_version_code, c.code);
    // On an empty machine only the NT sequence says anything.
    EXPECT_EQ(out, c.nt_sequence ? "Mask =    :00000000\nDriver cleanup completed.\n" : "");
    ASSERT_EQ(ui.ui.messages.size(), 1u);
}

constexpr uint32_t k9x = win::VER_PLATFORM_WIN32_WINDOWS;
constexpr uint32_t kNT = win::VER_PLATFORM_WIN32_NT;

INSTANTIATE_TEST_SUITE_P(Codes, VersionDispatch,
                         ::testing::Values(VersionCase{k9x, 4, 0, true, 0x400, false},
                                           VersionCase{k9x, 4, 10, true, 0x40A, false},
                                           VersionCase{k9x, 4, 90, true, 0x45A, false},
                                           VersionCase{kNT, 4, 0, true, 0x200, false},
                                           VersionCase{kNT, 5, 0, true, 0x500, true},
                                           VersionCase{kNT, 5, 1, true, 0x501, true},
                                           VersionCase{kNT, 6, 0, true, 0x600, true},
                                           VersionCase{kNT, 0, 0, false, -1, false}));

TEST(Dialog, CancelAndUnknownCommandsChangeNothing) {
    win::Hive h;
    h.add("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZOQSPI");
    Machine m(Nt5Config(), h);
    platform::ui::ScopedDoubles ui;
    EXPECT_EQ(Output([] {
                  EXPECT_EQ(MainDlgProc(IDCANCEL), 1);
                  EXPECT_EQ(MainDlgProc(3), 0);
              }),
              "");
    EXPECT_TRUE(m.key("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZOQSPI"));
    EXPECT_TRUE(ui.ui.messages.empty());
}

TEST(Dialog, TheFinalBoxTellsARemovalInWhichAStepFailed) {
    win::Hive h;
    auto& held = h.add("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZOQSPI");
    held.owner = kSystem;  // readable, but its list can be neither changed nor taken over
    held.dacl = win::Acl::compact({{0, 2, win::KEY_READ, kEveryone}});
    Machine m(Nt5Config(), h);
    platform::ui::ScopedDoubles ui;
    EXPECT_EQ(Output([] { MainDlgProc(IDOK); }),
              "Mask =    :00000000\nNukekey #1 err\n"
              "Deleting key SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZOQSPI..."
              "FAILED!\nDriver cleanup completed.\n");
    ASSERT_EQ(ui.ui.messages.size(), 1u);
    EXPECT_EQ(ui.ui.messages[0].text,
              "Driver uninstallation did not complete.\nThe printed lines list the steps that "
              "failed.");
    EXPECT_EQ(ui.ui.messages[0].title, "ZOQ USB Driver Removal");
}

// Whole runs on machines where the box is easy to get wrong: files already removed or that
// stay, walks stopped by long values, keys that cannot be read, paths too long to build.
struct BoxCase {
    const char* name;
    bool nt;
    void (*keys)(win::Hive&);
    std::string out;
    bool complete;
    void (*files)(Machine&) = nullptr;
    bool as_nobody = false;  // file modes bind root not at all
    const char* windir = nullptr;
};

void PrintTo(const BoxCase& c, std::ostream* os) {
    *os << c.name;
}

// Presses OK; what was printed and the box's text. As nobody it runs in a child process,
// which says "unreachable" when nobody cannot reach the machine's folder.
std::pair<std::string, std::string> PressOk(const Machine* as_nobody) {
    const auto run = [] {
        platform::ui::ScopedDoubles ui;
        std::string out = Output([] { MainDlgProc(IDOK); });
        return std::pair{out, ui.ui.message_texts().at(0)};
    };
    if (!as_nobody) return run();
    int fds[2];
    if (::pipe(fds) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        if (!nobody || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) _exit(2);
        const bool reach = ::access(as_nobody->HostPath("windows").c_str(), X_OK) == 0;
        const auto [out, box] = reach ? run() : std::pair{std::string("unreachable"), ""};
        const std::string both = out + '\0' + box;
        _exit(::write(fds[1], both.data(), both.size()) == ssize_t(both.size()) ? 0 : 3);
    }
    ::close(fds[1]);
    std::string both;
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) both.append(buf, size_t(n));
    ::close(fds[0]);
    ::waitpid(child, nullptr, 0);
    const size_t cut = both.find('\0');
    return {both.substr(0, cut), cut == std::string::npos ? "" : both.substr(cut + 1)};
}

class FinalBox : public ::testing::TestWithParam<BoxCase> {};

TEST_P(FinalBox, TellsWhetherAnythingOfTheBoardIsLeft) {
    const BoxCase& c = GetParam();
    if (c.as_nobody && ::geteuid() != 0) GTEST_SKIP() << "only root can run a removal as nobody";
    win::Hive h;
    c.keys(h);
    win::Config config = c.nt ? Nt5Config() : Win98Config();
    if (c.windir) config.windir = c.windir;
    Machine m(config, h);
    m.AddFile("inf/oem3.inf");
    if (c.as_nobody) m.OpenToOthers();
    if (c.files) c.files(m);
    const auto [out, box] = PressOk(c.as_nobody ? &m : nullptr);
    if (out == "unreachable") GTEST_SKIP() << "nobody cannot reach " << m.HostPath("");
    EXPECT_EQ(out, c.out);
    EXPECT_EQ(box, c.complete ? kDoneText : kIncompleteText);
}

const std::string kClassKey = std::string(kUsbClassNT) + "\\";
const std::string kNtEnd = "Mask =    :00000000\nDriver cleanup completed.\n";

// A class key of the board naming oem3.inf, behind a "Notes" value of `notes` bytes.
win::RegKey& BoardClassKey(win::Hive& h, const char* sub, size_t notes = 0) {
    auto& k = h.add(kClassKey + sub);
    if (notes) k.set_sz("Notes", std::string(notes - 1, 'n'));
    return k.set_sz("MatchingDeviceId", "usb\\vid_4b1d&pid_c738").set_sz("InfPath", "oem3.inf");
}
const std::string kLongInf = std::string(220, 'o') + ".inf";

void SystemAlone(win::RegKey& k) {
    k.owner = kSystem;
    k.dacl = win::Acl::compact({{0, 2, win::KEY_ALL_ACCESS, kSystem}});
}

const std::string kLongWindir = "C:\\" + std::string(247, 'w');  // "system32\\drivers" too long
const std::string kLongDelete = "DELETING file " + kLongWindir + "\\system32\\";

INSTANTIATE_TEST_SUITE_P(
    Runs, FinalBox,
    ::testing::Values(
        BoxCase{"TwoBoardsNamingOneInf", true,
                [](win::Hive& h) {
                    BoardClassKey(h, "0002");
                    BoardClassKey(h, "0003");
                },
                "Unlinking C:\\WINNT\\inf\\oem3.inf...done\nDeleting key " + kClassKey +
                    "0002...done\nUnlinking C:\\WINNT\\inf\\oem3.inf...done\nDeleting key " +
                    kClassKey + "0003...done\n" + kNtEnd,
                true},
        BoxCase{"OemInfAlreadyGone", false,
                [](win::Hive& h) {
                    h.add(kOemNames).set_sz("C:\\WINDOWS\\INF\\OEM5.INF", "zoqspi.inf");
                },
                "DELETING file C:\\WINDOWS\\INF\\OEM5.INF...done\n"
                "DELETING entry C:\\WINDOWS\\INF\\OEM5.INF  ->  zoqspi.inf...done\n",
                true},
        BoxCase{"LongValueInAClassKey", true, [](win::Hive& h) { BoardClassKey(h, "0002", 250); },
                "Unlinking C:\\WINNT\\inf\\oem3.inf...done\nDeleting key " + kClassKey +
                    "0002...done\n" + kNtEnd,
                true},
        BoxCase{"LongValueBeforeAnOemEntry", false,
                [](win::Hive& h) {
                    h.add(kOemNames)
                        .set_sz(std::string(400, 'N'), std::string(309, 'n'))
                        .set_sz("C:\\WINDOWS\\INF\\LAST.INF", "zoqspi.inf");
                },
                "DELETING file C:\\WINDOWS\\INF\\LAST.INF...done\n"
                "DELETING entry C:\\WINDOWS\\INF\\LAST.INF  ->  zoqspi.inf...done\n",
                true},
        BoxCase{"InfPathLongerThanTheValueBuffer", true,
                [](win::Hive& h) { BoardClassKey(h, "0002").set_sz("InfPath", kLongInf); },
                "Unlinking C:\\WINNT\\inf\\" + kLongInf + "...done\nDeleting key " + kClassKey +
                    "0002...done\n" + kNtEnd,
                true, [](Machine& m) { m.AddFile("inf/" + kLongInf); }},
        BoxCase{"BoardClassKeyOnlyTheSystemOpens", true,
                [](win::Hive& h) {
                    BoardClassKey(h, "0002");
                    SystemAlone(*h.find(kClassKey + "0002"));
                },
                "Reading key " + kClassKey + "0002...FAILED!\n" + kNtEnd, false},
        BoxCase{"ClassKeyOnlyTheSystemOpens", true,
                [](win::Hive& h) {
                    BoardClassKey(h, "0002");
                    SystemAlone(*h.find(kUsbClassNT));
                },
                "Reading key " + std::string(kUsbClassNT) + "...FAILED!\n" + kNtEnd, false},
        BoxCase{"InterfacesKeyOnlyTheSystemOpens", true,
                [](win::Hive& h) {
                    h.add(kInterfacesNT + std::string("\\##?#USB#VID_4B1D&PID_C738#1"));
                    SystemAlone(*h.find(kInterfacesNT));
                },
                "Reading key " + std::string(kInterfacesNT) + "...FAILED!\n" + kNtEnd, false},
        BoxCase{"LongValueBeforeTheHostControllersId", true,
                [](win::Hive& h) {
                    h.add(kClassKey + "0000")
                        .set_sz("Notes", std::string(239, 'n'))
                        .set_sz("MatchingDeviceId", "usb\\root_hub");
                },
                kNtEnd, true},
        BoxCase{"DriverFilesNobodyMayRead", true, [](win::Hive&) {},
                "DELETING file C:\\WINNT\\system32\\rawlnk.dll...FAILED!\n" + kNtEnd, false,
                [](Machine& m) {
                    m.AddFile("system32/drivers/rawlnk.sys");  // in a folder nobody may write
                    m.AddFile("system32/rawlnk.dll");          // in one nobody may not
                    m.Chmod("system32/drivers", std::filesystem::perms::all);
                    m.Chmod("system32/drivers/rawlnk.sys", std::filesystem::perms::none);
                    m.Chmod("system32/rawlnk.dll", std::filesystem::perms::none);
                },
                true},
        BoxCase{"InfThatStaysKeepsItsClassKey", true,
                [](win::Hive& h) { BoardClassKey(h, "0002"); },
                "Unlinking C:\\WINNT\\inf\\oem3.inf...FAILED!\nDeleting key " + kClassKey +
                    "0002...FAILED!\n" + kNtEnd,
                false, nullptr, true},
        BoxCase{"InfThatStaysKeepsItsOemEntry", false,
                [](win::Hive& h) {
                    h.add(kOemNames).set_sz("C:\\WINDOWS\\INF\\OEM3.INF", "zoqspi.inf");
                },
                "DELETING file C:\\WINDOWS\\INF\\OEM3.INF...FAILED!\n"
                "DELETING entry C:\\WINDOWS\\INF\\OEM3.INF  ->  zoqspi.inf...FAILED!\n",
                false, nullptr, true},
        BoxCase{"WindowsFolderIsALink", true, [](win::Hive& h) { BoardClassKey(h, "0002"); },
                "DELETING file C:\\WINNT\\system32\\drivers\\rawlnk.sys...FAILED!\n"
                "DELETING file C:\\WINNT\\system32\\rawlnk.dll...FAILED!\n"
                "Unlinking C:\\WINNT\\inf\\oem3.inf...FAILED!\nDeleting key " +
                    kClassKey + "0002...FAILED!\n" + kNtEnd,
                false,
                [](Machine& m) {
                    std::filesystem::rename(m.HostPath("windows"), m.HostPath("real"));
                    std::filesystem::create_directory_symlink("real", m.HostPath("windows"));
                }},
        BoxCase{"DriverPathsTooLongToBuild", true, [](win::Hive&) {},
                kLongDelete + "drivers\\rawlnk.sys...FAILED!\n" + kLongDelete +
                    "rawlnk.dll...FAILED!\n" + kNtEnd,
                false, nullptr, false, kLongWindir.c_str()}),
    [](const auto& info) { return std::string(info.param.name); });

struct PathCase {
    const char* windir;
    const char *win, *drivers, *inf;
};

TEST(SystemPaths, HaveSingleSeparatorsAndAreNeverCut) {
    const std::string long_dir = "C:\\" + std::string(247, 'w');  // 250 characters
    const std::string longest = "C:\\" + std::string(256, 'w');   // 259: no room for "\"
    const PathCase cases[] = {
        {"C:\\WINNT", "C:\\WINNT\\", "C:\\WINNT\\system32\\drivers\\", "C:\\WINNT\\inf\\"},
        {"C:\\", "C:\\", "C:\\system32\\drivers\\", "C:\\inf\\"},
        {"D:\\Windows\\", "D:\\Windows\\", "D:\\Windows\\system32\\drivers\\",
         "D:\\Windows\\inf\\"},
        {long_dir.c_str(), "", "", ""},
        {longest.c_str(), "", "", ""},
    };
    for (const PathCase& c : cases) {
        win::Config config = Nt5Config();
        config.windir = c.windir;
        Machine m(config, {});
        InitSystemPaths();
        if (c.windir == long_dir.c_str()) {
            // 251 with its backslash; "system32\drivers\" would pass 259, "inf\" does not.
            EXPECT_EQ(std::string(WinDir), long_dir + "\\");
            EXPECT_STREQ(DriversDir, "");
            EXPECT_EQ(std::string(InfDir), long_dir + "\\inf\\");
            continue;
        }
        EXPECT_STREQ(WinDir, c.win) << c.windir;
        EXPECT_STREQ(DriversDir, c.drivers) << c.windir;
        EXPECT_STREQ(InfDir, c.inf) << c.windir;
    }
}

class Walks : public ::testing::Test {
  protected:
    void TearDown() override { EXPECT_EQ(m_->system().open_handles(), 0u); }
    Machine& Use(win::Config config, win::Hive hive) {
        m_ = std::make_unique<Machine>(std::move(config), std::move(hive));
        InitSystemPaths();
        return *m_;
    }
    std::unique_ptr<Machine> m_;
};

TEST_F(Walks, OemEntriesNamingTheBoardInfAreRemovedWithTheirFilesAdjacentOnesToo) {
    win::Hive h;
    auto& k = h.add(kOemNames);
    k.set_sz("C:\\WINDOWS\\INF\\OEM0.INF", "other.inf");
    k.set_sz("C:\\WINDOWS\\INF\\OEM1.INF", "ZOQSPI.INF");
    k.set_sz("C:\\windows\\inf\\oem2.inf", "zoqspi.inf");
    k.set_dword("C:\\WINDOWS\\INF\\OEM3.INF", 7);
    k.set_sz("C:\\WINDOWS\\..\\outside.txt", "zoqspi.inf");
    k.set_sz("C:\\WINDOWS\\INF\\OEM5.INF", "zoqspi.inf");        // its file is missing
    k.set_sz("C:\\WINDOWS\\SYSTEM\\KRNL386.EXE", "zoqspi.inf");  // not an inf folder file
    k.set_sz(std::string(300, 'n'), "zoqspi.inf");
    k.set_sz("C:\\WINDOWS\\INF\\OEM9.INF", "zoqspi.inf");  // behind the long name: reached
    Machine& m = Use(Win98Config(), h);
    for (const char* f : {"INF/OEM0.INF", "INF/OEM1.INF", "INF/OEM2.INF", "INF/OEM3.INF",
                          "INF/OEM9.INF", "SYSTEM/KRNL386.EXE"})
        m.AddFile(f);
    platform::win::testing::write_file(m.HostPath("outside.txt"), "keep");
    EXPECT_EQ(Output([] { RemoveOemInfEntries(kOemNames); }),
              "DELETING file C:\\WINDOWS\\INF\\OEM1.INF...done\n"
              "DELETING entry C:\\WINDOWS\\INF\\OEM1.INF  ->  ZOQSPI.INF...done\n"
              "DELETING file C:\\windows\\inf\\oem2.inf...done\n"
              "DELETING entry C:\\windows\\inf\\oem2.inf  ->  zoqspi.inf...done\n"
              "DELETING file C:\\WINDOWS\\..\\outside.txt...FAILED!\n"
              "DELETING entry C:\\WINDOWS\\..\\outside.txt  ->  zoqspi.inf...done\n"
              "DELETING file C:\\WINDOWS\\INF\\OEM5.INF...done\n"
              "DELETING entry C:\\WINDOWS\\INF\\OEM5.INF  ->  zoqspi.inf...done\n"
              "DELETING file C:\\WINDOWS\\SYSTEM\\KRNL386.EXE...FAILED!\n"
              "DELETING entry C:\\WINDOWS\\SYSTEM\\KRNL386.EXE  ->  zoqspi.inf...done\n"
              "DELETING file " +
                  std::string(300, 'n') + "...FAILED!\nDELETING entry " + std::string(300, 'n') +
                  "  ->  zoqspi.inf...done\n"
                  "DELETING file C:\\WINDOWS\\INF\\OEM9.INF...done\n"
                  "DELETING entry C:\\WINDOWS\\INF\\OEM9.INF  ->  zoqspi.inf...done\n");
    EXPECT_FALSE(m.HasFile("INF/OEM1.INF"));
    EXPECT_FALSE(m.HasFile("INF/OEM2.INF"));
    EXPECT_FALSE(m.HasFile("INF/OEM9.INF"));
    for (const char* f : {"INF/OEM0.INF", "INF/OEM3.INF", "SYSTEM/KRNL386.EXE"})
        EXPECT_TRUE(m.HasFile(f)) << f;
    EXPECT_EQ(platform::win::testing::read_file(m.HostPath("outside.txt")), "keep");
    std::vector<std::string> left;
    for (const auto& v : m.key(kOemNames)->values) left.push_back(v.name);
    EXPECT_EQ(left, (std::vector<std::string>{"C:\\WINDOWS\\INF\\OEM0.INF",
                                              "C:\\WINDOWS\\INF\\OEM3.INF"}));
}

TEST_F(Walks, ClassKeysOfTheBoardAreDeletedWithTheirInfFilesInsideTheInfFolderOnly) {
    win::Hive h;
    auto cls = [&](const char* sub) -> win::RegKey& {
        return h.add(std::string(kUsbClassNT) + "\\" + sub);
    };
    cls("0000").set_sz("MatchingDeviceId", "usb\\root_hub").set_sz("InfPath", "usb.inf");
    cls("0001").set_sz("MatchingDeviceId", "USB\\VID_4B1D&PID_C738").set_sz("InfPath", "oem3.inf");
    cls("0002").set_sz("MatchingDeviceId", "usb\\vid_4b1d&pid_c738");
    cls("0003").set_sz("matchingdeviceid", "usb\\vid_4b1d&pid_c738").set_sz("InfPath", "oem5.inf");
    cls("0004")
        .set_sz("MatchingDeviceId", "usb\\vid_4b1d&pid_c738")
        .set_sz("InfPath", "..\\..\\outside.txt");
    const std::string long_inf(195, 'i');
    cls("0005").set_sz("MatchingDeviceId", "usb\\vid_4b1d&pid_c738").set_sz("InfPath", long_inf);
    cls("0006\\Settings").set_sz("x", "y");
    cls("0006").set_sz("MatchingDeviceId", "usb\\vid_4b1d&pid_c738");
    cls("0007")
        .set_sz("MatchingDeviceId", "usb\\vid_4b1d&pid_c738")
        .set_sz("InfPath", "..\\system32\\kernel32.dll");  // inside the Windows folder only
    win::Config config = Nt5Config();
    config.windir = "C:\\" + std::string(60, 'W');  // InfDir of 68 characters: 68 + 195 > 259
    Machine& m = Use(config, h);
    for (const char* f : {"inf/usb.inf", "inf/oem3.inf", "inf/oem5.inf", "system32/kernel32.dll"})
        m.AddFile(f);
    platform::win::testing::write_file(m.HostPath("outside.txt"), "keep");
    const std::string inf_dir = InfDir;
    const std::string key = std::string(kUsbClassNT) + "\\";
    EXPECT_EQ(
        Output([] { RemoveClassKeys(kUsbClassNT); }),
        "Unlinking " + inf_dir + "oem3.inf...done\n" + "Deleting key " + key + "0001...done\n" +
            "Deleting key " + key + "0002...done\n" + "Unlinking " + inf_dir +
            "..\\..\\outside.txt...FAILED!\n" + "Deleting key " + key + "0004...done\n" +
            "Unlinking " + inf_dir + long_inf + "...FAILED!\n" + "Deleting key " + key +
            "0005...FAILED!\n" + "Deleting key " + key + "0006...done\n" + "Unlinking " + inf_dir +
            "..\\system32\\kernel32.dll...FAILED!\n" + "Deleting key " + key + "0007...done\n");
    std::vector<std::string> left;
    for (const auto& sub : m.key(kUsbClassNT)->subkeys) left.push_back(sub->name);
    EXPECT_EQ(left, (std::vector<std::string>{"0000", "0003", "0005"}));
    EXPECT_FALSE(m.HasFile("inf/oem3.inf"));
    EXPECT_TRUE(m.HasFile("inf/usb.inf"));
    EXPECT_TRUE(m.HasFile("inf/oem5.inf"));
    EXPECT_TRUE(m.HasFile("system32/kernel32.dll"));
    EXPECT_EQ(platform::win::testing::read_file(m.HostPath("outside.txt")), "keep");
}

TEST_F(Walks, DeviceInterfaceKeysAreComparedOn25Characters) {
    win::Hive h;
    const std::string base = std::string(kInterfacesNT) + "\\";
    h.add(base + "##?#USB#VID_4B1D&PID_C738#5&1&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}\\#");
    h.add(base + "##?#usb#vid_4b1d&pid_c738");
    h.add(base + "##?#USB#VID_4B1D&PID_C739#6&1&0&1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}");
    h.add(base + "##?#USB#VID_4B1D&PID_C73");
    auto& blind = h.add(base + "##?#USB#VID_4B1D&PID_C738#blind");  // cannot even be read
    blind.owner = kSystem;
    blind.dacl = win::Acl::compact({});
    Machine& m = Use(Nt5Config(), h);
    EXPECT_EQ(
        Output([] { RemoveDeviceInterfaceKeys(kInterfacesNT); }),
        "Deleting key " + base + "##?#usb#vid_4b1d&pid_c738...done\n" + "Deleting key " + base +
            "##?#USB#VID_4B1D&PID_C738#5&1&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}...done\n" +
            "Deleting key " + base + "##?#USB#VID_4B1D&PID_C738#blind...FAILED!\n");
    std::vector<std::string> left;
    for (const auto& sub : m.key(kInterfacesNT)->subkeys) left.push_back(sub->name);
    EXPECT_EQ(left,
              (std::vector<std::string>{
                  "##?#USB#VID_4B1D&PID_C73", "##?#USB#VID_4B1D&PID_C738#blind",
                  "##?#USB#VID_4B1D&PID_C739#6&1&0&1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}"}));
}

TEST(Sequence9x, RemovesFilesDeviceEntriesAndServicesThenRunsQuietlyAgain) {
    win::Hive h;
    h.add("Enum\\USB\\VID_4B1D&PID_C738\\ROOT&0001").set_sz("DeviceDesc", "ZOQ USB Device");
    h.add("Enum\\USB\\VID_4B1D&PID_C739\\ROOT&0001");
    h.add(kOemNames)
        .set_sz("C:\\WINDOWS\\INF\\OTHER\\OEM7.INF", "zoqspi.inf")
        .set_sz("C:\\WINDOWS\\INF\\OEM8.INF", "x.inf");
    h.add("System\\CurrentControlSet\\Services\\Class\\USB\\0000")
        .set_sz("MatchingDeviceId", "usb\\root_hub");
    h.add("System\\CurrentControlSet\\Services\\Class\\USB\\0001")
        .set_sz("MatchingDeviceId", "usb\\vid_4b1d&pid_c738")
        .set_sz("InfPath", "OTHER\\ZOQSPI.INF");
    h.add("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZOQSPI");
    h.add("System\\CurrentControlSet\\Services\\ZOQSPI\\Enum");
    h.add("System\\CurrentControlSet\\Services\\RAWLNK");
    h.add("System\\CurrentControlSet\\Services\\VxD");
    Machine m(Win98Config(), h);
    platform::ui::ScopedDoubles ui;
    for (const char* f : {"SYSTEM/RAWLNK.DLL", "SYSTEM32/DRIVERS/RAWLNK.SYS", "INF/OTHER/OEM7.INF",
                          "INF/OTHER/ZOQSPI.INF", "INF/OEM8.INF"})
        m.AddFile(f);
    EXPECT_EQ(Output([] { MainDlgProc(IDOK); }),
              "DELETING file C:\\WINDOWS\\INF\\OTHER\\OEM7.INF...done\n"
              "DELETING entry C:\\WINDOWS\\INF\\OTHER\\OEM7.INF  ->  zoqspi.inf...done\n"
              "Unlinking C:\\WINDOWS\\inf\\OTHER\\ZOQSPI.INF...done\n"
              "Deleting key System\\CurrentControlSet\\Services\\Class\\USB\\0001...done\n");
    for (const char* f : {"SYSTEM/RAWLNK.DLL", "SYSTEM32/DRIVERS/RAWLNK.SYS", "INF/OTHER/OEM7.INF",
                          "INF/OTHER/ZOQSPI.INF"})
        EXPECT_FALSE(m.HasFile(f)) << f;
    EXPECT_TRUE(m.HasFile("INF/OEM8.INF"));
    EXPECT_EQ(m.hive().key_paths(),
              (std::vector<std::string>{
                  "",
                  "Enum",
                  "Enum\\USB",
                  "Enum\\USB\\VID_4B1D&PID_C739",
                  "Enum\\USB\\VID_4B1D&PID_C739\\ROOT&0001",
                  "Software",
                  "Software\\Microsoft",
                  "Software\\Microsoft\\Windows",
                  "Software\\Microsoft\\Windows\\CurrentVersion",
                  "Software\\Microsoft\\Windows\\CurrentVersion\\Setup",
                  "Software\\Microsoft\\Windows\\CurrentVersion\\Setup\\SetupX",
                  "Software\\Microsoft\\Windows\\CurrentVersion\\Setup\\SetupX\\INF",
                  kOemNames,
                  "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                  "System",
                  "System\\CurrentControlSet",
                  "System\\CurrentControlSet\\Services",
                  "System\\CurrentControlSet\\Services\\Class",
                  "System\\CurrentControlSet\\Services\\Class\\USB",
                  "System\\CurrentControlSet\\Services\\Class\\USB\\0000",
                  "System\\CurrentControlSet\\Services\\VxD"}));
    EXPECT_EQ(Output([] { MainDlgProc(IDOK); }), "");
    EXPECT_EQ(ui.ui.message_texts(), (std::vector<std::string>{"Driver uninstallation completed",
                                                               "Driver uninstallation completed"}));
    EXPECT_EQ(m.system().open_handles(), 0u);
}

TEST(SequenceNT, WithoutTheSecurityPrivilegeSaysSoAndGoesOn) {
    win::Config config = Nt5Config();
    config.privileges = {win::kSeTakeOwnershipPrivilege};
    win::Hive h;
    h.add("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZOQSPI");
    Machine m(config, h);
    platform::ui::ScopedDoubles ui;
    EXPECT_EQ(Output([] { EXPECT_EQ(RemoveDriverNT(), 1); }),
              "Cant adjust priviledge, 0x514\nMask =    :00000000\nDriver cleanup completed.\n");
    EXPECT_FALSE(m.key("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZOQSPI"));
}

}  // namespace
}  // namespace drendle::testing
