#include <gtest/gtest.h>

#include "win/security.h"

namespace win = platform::win;

namespace {

win::Sid sid(const char* text) {
    return *win::Sid::parse(text);
}

const win::Sid kUser = sid("S-1-5-21-7-8-9-500");
const win::Sid kAdmins = sid("S-1-5-32-544");
const win::Sid kSystem = sid("S-1-5-18");
const win::Sid kEveryone = sid("S-1-1-0");

win::Token admin_token(bool take_ownership = false, bool security = false) {
    win::Token t;
    t.user = kUser;
    t.groups = {kAdmins, kEveryone};
    t.privileges = {{win::kSeTakeOwnershipPrivilege, take_ownership},
                    {win::kSeSecurityPrivilege, security}};
    return t;
}

win::Acl acl(std::vector<win::Ace> aces) {
    return *win::Acl::compact(std::move(aces));
}

struct CheckCase {
    const char* name;
    std::optional<win::Sid> owner;
    std::optional<win::Acl> dacl;
    bool take_ownership;
    bool security;
    uint32_t desired;
    int32_t status;
    uint32_t granted;  // when the status is 0
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}

class AccessCheck : public ::testing::TestWithParam<CheckCase> {};

}  // namespace

TEST_P(AccessCheck, GrantsWhatTheKeyAllows) {
    const CheckCase& c = GetParam();
    uint32_t granted = 0xFFFFFFFF;
    EXPECT_EQ(win::access_check(c.owner, c.dacl, admin_token(c.take_ownership, c.security),
                                c.desired, &granted),
              c.status);
    if (c.status == 0) {
        EXPECT_EQ(granted, c.granted) << std::hex << granted;
    }
}

const auto kSystemOnly =
    acl({{0, 2, win::KEY_ALL_ACCESS, kSystem}, {0, 2, win::KEY_READ, kEveryone}});

INSTANTIATE_TEST_SUITE_P(
    Cases, AccessCheck,
    ::testing::Values(
        CheckCase{"group_entry_adds_rights", kSystem, kSystemOnly, false, false, win::KEY_READ, 0,
                  win::KEY_READ},
        CheckCase{"right_not_granted_refused", kSystem, kSystemOnly, false, false, win::DELETE, 5,
                  0},
        CheckCase{"owner_reads_and_changes_list", kUser, acl({}), false, false,
                  win::READ_CONTROL | win::WRITE_DAC, 0, win::READ_CONTROL | win::WRITE_DAC},
        CheckCase{"group_as_owner_counts", kAdmins, acl({}), false, false, win::WRITE_DAC, 0,
                  win::WRITE_DAC},
        CheckCase{"owner_gets_nothing_more", kUser, acl({}), false, false, win::KEY_QUERY_VALUE, 5,
                  0},
        CheckCase{"generic_all_entry_is_every_key_right", kSystem,
                  acl({{0, 0, win::GENERIC_ALL, kAdmins}}), false, false, win::KEY_ALL_ACCESS, 0,
                  win::KEY_ALL_ACCESS},
        CheckCase{"generic_read_asked_maps_to_key_read", kSystem, kSystemOnly, false, false,
                  win::GENERIC_READ, 0, win::KEY_READ},
        CheckCase{"inherit_only_entry_ignored", kSystem,
                  acl({{0, 0x0a, win::GENERIC_ALL, kAdmins}}), false, false, win::KEY_QUERY_VALUE,
                  5, 0},
        CheckCase{"entry_of_other_account_ignored", kSystem,
                  acl({{0, 0, win::KEY_ALL_ACCESS, kSystem}}), false, false, win::KEY_QUERY_VALUE,
                  5, 0},
        CheckCase{"no_list_grants_every_key_right", kSystem, std::nullopt, false, false,
                  win::KEY_ALL_ACCESS, 0, win::KEY_ALL_ACCESS},
        CheckCase{"no_list_grants_no_unknown_bit", kSystem, std::nullopt, false, false, 0x40, 5, 0},
        CheckCase{"take_ownership_enabled_grants_write_owner", kSystem, acl({}), true, false,
                  win::WRITE_OWNER, 0, win::WRITE_OWNER},
        CheckCase{"take_ownership_held_but_disabled", kSystem, acl({}), false, false,
                  win::WRITE_OWNER, 5, 0},
        CheckCase{"system_security_needs_its_privilege", kSystem, std::nullopt, false, false,
                  win::ACCESS_SYSTEM_SECURITY, 1314, 0},
        CheckCase{"system_security_with_privilege", kSystem, acl({}), false, true,
                  win::ACCESS_SYSTEM_SECURITY, 0, win::ACCESS_SYSTEM_SECURITY},
        CheckCase{"maximum_allowed_gives_all_granted", kSystem, kSystemOnly, true, false,
                  win::MAXIMUM_ALLOWED, 0, win::KEY_READ | win::WRITE_OWNER},
        CheckCase{"maximum_allowed_with_nothing_refused", kSystem, acl({}), false, false,
                  win::MAXIMUM_ALLOWED, 5, 0},
        CheckCase{"nothing_asked_opens", kSystem, acl({}), false, false, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Acl, SizesCountLikeTheBinaryForm) {
    EXPECT_EQ(kAdmins.length(), 16u);
    win::Acl a;
    ASSERT_TRUE(a.initialize(8 + 8 + 16, win::ACL_REVISION));
    EXPECT_EQ(a.bytes_in_use(), 8u);
    EXPECT_TRUE(a.add_access_allowed_ace(win::ACL_REVISION, win::GENERIC_ALL, kAdmins));
    EXPECT_EQ(a.bytes_in_use(), 32u);
    EXPECT_FALSE(a.add_access_allowed_ace(win::ACL_REVISION, win::GENERIC_ALL, kSystem));  // full
    EXPECT_FALSE(a.initialize(7, win::ACL_REVISION));
    EXPECT_FALSE(a.initialize(64, 3));
    EXPECT_FALSE(a.initialize(0x10000, win::ACL_REVISION));
    std::vector<win::Ace> many(2100, win::Ace{0, 0, 1, kUser});  // 2100 * 28 bytes
    EXPECT_FALSE(win::Acl::compact(many));
}

TEST(Sid, ParsesAndPrintsTheTextForm) {
    EXPECT_EQ(sid("S-1-5-21-1757981266-1645522239-854245398-500").text(),
              "S-1-5-21-1757981266-1645522239-854245398-500");
    for (const char* bad :
         {"", "S-1", "S-1-5", "S-2-5-18", "S-1-5-", "S-1--5", "S-1-5-18x", "S-1-5-4294967296",
          "S-1-5-01", "s-1-5-18", "S-1-5-1-2-3-4-5-6-7-8-9-10-11-12-13-14-15-16"})
        EXPECT_FALSE(win::Sid::parse(bad)) << bad;
}
