#include "regfun.h"

#include <gtest/gtest.h>

#include "machine.h"

namespace drendle::testing {
namespace {

constexpr win::Hkey HKLM = win::HKEY_LOCAL_MACHINE;

const win::Ace kAdminFull{0, 0, win::GENERIC_ALL, kAdmins};

// Every test ends with no key or token handle left open.
class Regfun : public ::testing::Test {
  protected:
    void TearDown() override {
        if (m_) {
            EXPECT_EQ(m_->system().open_handles(), 0u);
        }
    }
    Machine& Use(win::Config config, win::Hive hive) {
        m_ = std::make_unique<Machine>(std::move(config), std::move(hive));
        return *m_;
    }
    std::unique_ptr<Machine> m_;
};

TEST_F(Regfun, NukekeyDeletesADeepTreeBottomUpAndNothingBeside) {
    win::Hive h;
    h.add("A\\B\\C\\D").set_sz("v", "1");
    h.add("A\\B\\C2");
    h.add("A\\B2");
    h.add("AB");
    Machine& m = Use(Nt5Config(), h);
    EXPECT_EQ(Output([] { EXPECT_EQ(Nukekey(HKLM, "A"), 1); }), "");
    EXPECT_FALSE(m.key("A"));
    EXPECT_TRUE(m.key("AB"));
}

TEST_F(Regfun, NukekeyCountsAMissingKeyAsRemoved) {
    Use(Nt5Config(), {});
    EXPECT_EQ(Output([] { EXPECT_EQ(Nukekey(HKLM, "No\\Such\\Key"), 1); }), "");
}

TEST_F(Regfun, NukekeyStopsWithMoreDataOnASubkeyNameOf200Characters) {
    win::Hive h;
    h.add("P\\a");
    h.add("P\\b\\" + std::string(200, 'n'));
    h.add("P\\b\\" + std::string(199, 'o'));
    Machine& m = Use(Nt5Config(), h);
    EXPECT_EQ(Output([] { EXPECT_EQ(Nukekey(HKLM, "P"), 0); }),
              "Nukekey #3 err 0xea\nNukekey #4 err\n");
    EXPECT_FALSE(m.key("P\\a"));  // deleted before the long name was met
    EXPECT_TRUE(m.key("P\\b\\" + std::string(199, 'o')));
    EXPECT_EQ(m.key("P")->dacl->aces(), std::vector<win::Ace>{kAdminFull});  // stays added
}

TEST_F(Regfun, NukekeyAddsNoEntryOnWindows9xButNeedsListsOnEveryOtherCode) {
    win::Hive h;
    h.add("K\\child");
    Machine& m9x = Use(Win98Config(), h);
    EXPECT_EQ(Output([] { EXPECT_EQ(Nukekey(HKLM, "K"), 1); }), "");
    EXPECT_FALSE(m9x.key("K"));

    win::Config unknown = Win98Config();
    unknown.version.reset();  // code -1: not one of the three 9x codes
    Machine& m = Use(unknown, h);
    EXPECT_EQ(Output([] { EXPECT_EQ(Nukekey(HKLM, "K"), 0); }), "Nukekey #2 err\n");
    EXPECT_TRUE(m.key("K\\child"));
}

TEST_F(Regfun, NukekeyFailsOnAChildThatCannotBeOpenedInsteadOfLoopingForEver) {
    win::Hive h;
    h.add("K\\a");
    auto& hidden = h.add("K\\hidden");
    hidden.owner = kSystem;
    hidden.dacl = win::Acl::compact({});
    h.add("K\\z");
    Machine& m = Use(Nt5Config(), h);
    EXPECT_EQ(Output([] { EXPECT_EQ(Nukekey(HKLM, "K"), 0); }), "Nukekey #4 err\n");
    EXPECT_FALSE(m.key("K\\a"));
    EXPECT_TRUE(m.key("K\\hidden"));
    EXPECT_TRUE(m.key("K\\z"));
}

TEST_F(Regfun, AddAdminAceOnAKeyWithoutListLeavesExactlyTheAdministratorsEntry) {
    win::Hive h;
    h.add("None");
    auto& listed = h.add("Listed");
    listed.owner = kAdmins;
    const std::vector<win::Ace> old_list{{0, 2, win::KEY_ALL_ACCESS, kSystem},
                                         {0, 0x0a, win::GENERIC_ALL, sid("S-1-3-0")},
                                         {0, 2, win::KEY_ALL_ACCESS, kAdmins}};
    listed.dacl = win::Acl::compact(old_list);
    Machine& m = Use(Nt5Config(), h);
    for (const char* path : {"None", "Listed"}) {
        win::Hkey k;
        ASSERT_EQ(OpenKey(HKLM, path, kReadAdminAccess, &k), 1) << path;
        EXPECT_EQ(AddAdminAce("Administrators", k), 1);
        m.system().close_key(k);
    }
    EXPECT_EQ(m.key("None")->dacl->aces(), std::vector<win::Ace>{kAdminFull});
    std::vector<win::Ace> expected = old_list;
    expected.push_back(kAdminFull);
    EXPECT_EQ(m.key("Listed")->dacl->aces(), expected);
}

TEST_F(Regfun, RemKeyTakesOverAKeyThatGrantsOnlyWriteOwnerAndDeletesItsSubtree) {
    win::Hive h;
    for (const char* path : {"K", "K\\c1", "K\\c1\\g", "K\\c2"}) {
        auto& k = h.add(path);
        k.owner = kSystem;
        k.dacl = win::Acl::compact({{0, 0, win::WRITE_OWNER, kAdmins}});
        k.set_sz("v", path);
    }
    h.add("K2").set_sz("keep", "me");
    Machine& m = Use(Nt5Config(), h);
    const std::string key_lines = "Opening w/ WRITE_OWNER\nOwner set to Administrators/BUILTIN\n";
    const std::string expected =
        "Mask =    :02080000\n\nRemKey -- processing key: K\n" + key_lines +
        "Mask =    :02080000\n\nRemKey -- processing key: c1\n" + key_lines +
        "Mask =    :02080000\n\nRemKey -- processing key: g\n" + key_lines +
        "--------DELETED------------\n--------DELETED------------\n"
        "Mask =    :02080000\n\nRemKey -- processing key: c2\n" +
        key_lines + "--------DELETED------------\n--------DELETED------------\n";
    EXPECT_EQ(Output([] { EXPECT_EQ(RemKey(HKLM, "K"), 1); }), expected);
    EXPECT_FALSE(m.key("K"));
    EXPECT_TRUE(m.key("K2"));
}

TEST_F(Regfun, RemKeyOpensAKeyGrantingReadAndListRightsWithoutTakingOwnership) {
    win::Hive h;
    auto& k = h.add("K");
    k.owner = kAdmins;
    k.dacl = win::Acl::compact({{0, 0, win::KEY_ALL_ACCESS, kAdmins}});
    h.add("K\\child");  // no list: every right
    Machine& m = Use(Nt5Config(), h);
    EXPECT_EQ(Output([] { EXPECT_EQ(RemKey(HKLM, "K"), 1); }),
              "Mask =    :f20f003f\n\nRemKey -- processing key: K\nOpening w/ accADMIN\n"
              "Mask =    :f20f003f\n\nRemKey -- processing key: child\nOpening w/ accADMIN\n"
              "--------DELETED------------\n--------DELETED------------\n");
    EXPECT_FALSE(m.key("K"));
}

TEST_F(Regfun, AChildThatCannotBeTakenOverStopsTheDeletionWithItsParentTakenOver) {
    win::Hive h;
    for (const char* path : {"P", "P\\a", "P\\child", "P\\z"}) {
        auto& k = h.add(path);
        k.owner = kSystem;
        k.dacl = win::Acl::compact({{0, 0, win::WRITE_OWNER, kAdmins}});
    }
    h.add("P\\child").dacl = win::Acl::compact({{0, 0, win::KEY_READ, kEveryone}});
    win::Config no_take_ownership = Nt5Config();
    no_take_ownership.privileges.clear();
    Machine& m = Use(no_take_ownership, h);
    const std::string take_over = "Opening w/ WRITE_OWNER\nOwner set to Administrators/BUILTIN\n";
    EXPECT_EQ(
        Output([] { EXPECT_EQ(RemKey(HKLM, "P"), 0); }),
        "Mask =    :02080000\n\nRemKey -- processing key: P\n" + take_over +
            "Mask =    :02080000\n\nRemKey -- processing key: a\n" + take_over +
            "--------DELETED------------\n"
            "Mask =    :a2020019\n\nRemKey -- processing key: child\nCannot access key at all !\n"
            "RemKey err #11, ret 0x0\n");
    ASSERT_TRUE(m.key("P"));
    EXPECT_EQ(m.key("P")->owner, kAdmins);
    EXPECT_EQ(m.key("P")->dacl->aces().back(), kAdminFull);
    EXPECT_FALSE(m.key("P\\a"));
    EXPECT_EQ(m.key("P\\child")->owner, kSystem);
    EXPECT_EQ(m.key("P\\z")->owner, kSystem);  // never reached
}

TEST_F(Regfun, RemKeyFailsOnAChildThatGrantsNothingInsteadOfLoopingForEver) {
    win::Hive h;
    h.add("P\\blind").dacl = win::Acl::compact({});
    h.add("P\\blind").owner = kSystem;
    Machine& m = Use(Nt5Config(), h);  // privilege held but not enabled
    EXPECT_EQ(Output([] { EXPECT_EQ(RemKey(HKLM, "P"), 0); }),
              "Mask =    :f20f003f\n\nRemKey -- processing key: P\nOpening w/ accADMIN\n"
              "Mask =    :00000000\nRemKey err #11, ret 0x0\n");
    EXPECT_TRUE(m.key("P\\blind"));
}

TEST_F(Regfun, ProbeOfAMissingKeyIsZeroAndRemKeyCountsItRemoved) {
    Use(Nt5Config(), {});
    EXPECT_EQ(Output([] { EXPECT_EQ(RemKey(HKLM, "SYSTEM\\Missing"), 1); }),
              "Mask =    :00000000\n");
}

TEST_F(Regfun, RemKeyStopsWithMoreDataOnALongSubkeyName) {
    win::Hive h;
    h.add("P\\" + std::string(200, 'n'));
    Use(Nt5Config(), h);
    EXPECT_EQ(Output([] { EXPECT_EQ(RemKey(HKLM, "P"), 0); }),
              "Mask =    :f20f003f\n\nRemKey -- processing key: P\nOpening w/ accADMIN\n"
              "RemKey err #10, ret 0xea\n");
}

struct PrivilegeCase {
    const char* name;
    bool nt;
    bool held;
    int result;
    const char* output;
};

void PrintTo(const PrivilegeCase& c, std::ostream* os) {
    *os << c.name;
}

class Privilege : public Regfun, public ::testing::WithParamInterface<PrivilegeCase> {};

TEST_P(Privilege, IsEnabledOrTheFailureIsPrinted) {
    win::Config c = GetParam().nt ? Nt5Config() : Win98Config();
    if (!GetParam().held) c.privileges = {win::kSeTakeOwnershipPrivilege};
    Machine& m = Use(c, {});
    EXPECT_EQ(Output([] { EXPECT_EQ(EnablePrivilege(GetParam().name), GetParam().result); }),
              GetParam().output);
    if (GetParam().result) {
        EXPECT_TRUE(m.system().token().privilege_enabled(win::kSeSecurityPrivilege));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Privilege,
                         ::testing::Values(PrivilegeCase{"SeSecurityPrivilege", true, true, 1, ""},
                                           PrivilegeCase{"SeSecurityPrivilege", true, false, 0,
                                                         "Cant adjust priviledge, 0x514\n"},
                                           PrivilegeCase{"SeNoSuchPrivilege", true, true, 0,
                                                         "Cant read priviledge, 0x521\n"},
                                           PrivilegeCase{"SeSecurityPrivilege", false, true, 0,
                                                         "Cant open process token, 0x78\n"}));

TEST_F(Regfun, ReadNamedValueMatchesTheNameWithCaseAndRefusesWhatDoesNotFit) {
    win::Hive h;
    h.add("Lower").set_sz("matchingdeviceid", "usb\\vid_4b1d&pid_c738");
    auto& k = h.add("K");
    k.set_sz("MatchingDeviceId", "usb\\vid_4b1d&pid_c738");
    k.set_value("Unterminated", win::REG_BINARY, std::string(200, 'x'));
    k.set_value("Short", win::REG_BINARY, "abc");
    k.set_sz(std::string(200, 'L'), "a name too long for the buffer");
    k.set_sz("Behind", std::string(300, 'd'));  // read again at its size, and passed
    k.set_sz("Last", "found");
    Machine& m = Use(Nt5Config(), h);
    win::Hkey key;
    ASSERT_EQ(OpenKey(HKLM, "K", win::KEY_READ, &key), 1);
    char data[kValueBufferSize];
    EXPECT_EQ(ReadNamedValue(key, "MatchingDeviceId", data), 1);
    EXPECT_STREQ(data, "usb\\vid_4b1d&pid_c738");
    EXPECT_EQ(ReadNamedValue(key, "MATCHINGDEVICEID", data), 0);
    win::Hkey lower;
    ASSERT_EQ(OpenKey(HKLM, "Lower", win::KEY_READ, &lower), 1);
    EXPECT_EQ(ReadNamedValue(lower, "MatchingDeviceId", data), 0);
    m.system().close_key(lower);
    int32_t status = 0;
    EXPECT_EQ(ReadNamedValue(key, "Unterminated", data, &status), 0);
    EXPECT_EQ(status, win::ERROR_MORE_DATA);
    EXPECT_EQ(ReadNamedValue(key, "Short", data), 1);
    EXPECT_STREQ(data, "abc");
    EXPECT_EQ(ReadNamedValue(key, "Last", data), 1);
    EXPECT_STREQ(data, "found");
    m.system().close_key(key);
}

}  // namespace
}  // namespace drendle::testing
