// The fixed passwords as the store keeps them, plain or sealed for the
// Windows user, through the fake desktop's data protection (whose sealed
// texts name their user, so another user's can be staged).
#include "tray/core/fixed_passwords.h"

#include <gtest/gtest.h>

#include "tests/support/fake_desktop.h"
#include "tray/core/settings_keys.h"

namespace quiren {
namespace {

using testing::FakeDesktop;

void store(FakeDesktop& desktop, FixedPassword which, std::u16string_view password, bool protect) {
  const std::optional<FixedPasswordValues> values = fixed_password_values(desktop, password, protect);
  ASSERT_TRUE(values.has_value());
  write_fixed_password(desktop, which, *values);
}

// Either form reads back as it was set; sealed, the plain value (the one an
// earlier version reads) is empty and the password shows nowhere in the
// store, and a plain write empties the sealed value again.
TEST(FixedPasswords, EachFormReadsBackAndTheOtherValueIsEmptied) {
  for (const bool protect : {true, false, true}) {
    SCOPED_TRACE(protect);
    FakeDesktop desktop;
    store(desktop, FixedPassword::encrypt, u"暗号化の合言葉", protect);
    store(desktop, FixedPassword::decrypt, u"", protect);
    EXPECT_EQ(read_fixed_password(desktop, FixedPassword::encrypt).password, u"暗号化の合言葉");
    const StoredFixedPassword empty = read_fixed_password(desktop, FixedPassword::decrypt);
    EXPECT_EQ(empty.password, u"");
    EXPECT_FALSE(empty.unreadable);

    EXPECT_EQ(desktop.settings[u"angopass"], protect ? u"" : u"暗号化の合言葉");
    EXPECT_EQ(desktop.settings[u"protectedangopass"].empty(), !protect);
    EXPECT_EQ(desktop.settings[u"protectedhukugopass"], u"") << "an empty password is not sealed";
    EXPECT_EQ(desktop.settings_writes,
              (std::vector<std::u16string>{u"angopass", u"protectedangopass", u"hukugopass", u"protectedhukugopass"}));
    if (!protect) continue;
    for (const auto& [key, value] : desktop.settings) {
      EXPECT_EQ(value.find(u"合言葉"), std::u16string::npos) << testing::utf8(key);
    }
  }
}

// A sealed value this user cannot unprotect (another user's, or not a
// sealed text at all) is unreadable, never an empty password.
TEST(FixedPasswords, ASealedValueThatCannotBeUnprotectedIsUnreadable) {
  FakeDesktop desktop;
  store(desktop, FixedPassword::decrypt, u"pw", true);
  const std::u16string sealed = desktop.settings[u"protectedhukugopass"];

  const struct {
    const char* name;
    std::u16string_view user;
    std::u16string value;
  } cases[] = {
      {"another Windows user", u"hanako", sealed},
      {"not base64", u"taro", u"@@@@"},
      {"not ASCII", u"taro", sealed + u"あ"},
      {"cut short", u"taro", sealed.substr(0, 6)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    desktop.windows_user = c.user;
    desktop.settings[u"protectedhukugopass"] = c.value;
    const StoredFixedPassword read = read_fixed_password(desktop, FixedPassword::decrypt);
    EXPECT_TRUE(read.unreadable);
    EXPECT_EQ(read.password, u"");
  }
  desktop.windows_user = u"taro";
  desktop.settings[u"protectedhukugopass"] = sealed;
  EXPECT_FALSE(read_fixed_password(desktop, FixedPassword::decrypt).unreadable);
}

// A plain value that is not empty beside a sealed one was written since by
// an earlier version (this one empties it when it seals): it wins.
TEST(FixedPasswords, APlainValueWrittenSinceWins) {
  FakeDesktop desktop;
  store(desktop, FixedPassword::encrypt, u"sealed one", true);
  desktop.settings[u"angopass"] = u"typed in the earlier version";
  EXPECT_EQ(read_fixed_password(desktop, FixedPassword::encrypt).password, u"typed in the earlier version");
}

TEST(FixedPasswords, ARefusedSealWritesNothing) {
  FakeDesktop desktop;
  desktop.protection_fails = true;
  EXPECT_FALSE(fixed_password_values(desktop, u"pw", true).has_value());
  EXPECT_TRUE(fixed_password_values(desktop, u"pw", false).has_value()) << "plain needs no protection";
  EXPECT_TRUE(desktop.settings_writes.empty());
}

}  // namespace
}  // namespace quiren
