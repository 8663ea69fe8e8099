#include "block/compatible_block.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "block/armoured_block.h"
#include "block/cipher_library.h"

namespace quiren::block {
namespace {

// Answers each encrypt call from a script: first the text's result, then
// the check value's. nullopt is a failed call.
struct ScriptedCipher : CipherLibrary {
  std::vector<std::optional<std::string>> results;
  std::vector<std::string> calls;
  std::optional<std::string> encrypt(std::string_view text, std::string_view password) override {
    calls.push_back(std::string(text) + "/" + std::string(password));
    if (calls.size() > results.size()) return std::nullopt;
    return results[calls.size() - 1];
  }
  std::optional<SecretBytes> decrypt(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
};

TEST(CompatibleBlock, FramesTheTwoResultsUnderTheCheckValuesModeLetter) {
  ScriptedCipher cipher;
  cipher.results = {"#3Al~OuWcKA", "Gg2QsB"};
  const CompatibleBlock written = write_compatible_block(cipher, "text", "pw", 10);
  EXPECT_EQ(written.status, CompatibleWrite::written);
  EXPECT_EQ(written.block, u"(quiren_start)\r\nBGg2Qs>A#3\r\nAl~OuWcK\r\n(quiren_end)");
  EXPECT_EQ(cipher.calls, (std::vector<std::string>{"text/pw", "pw/pw"}));
}

TEST(CompatibleBlock, NoBlockFromAFailingOrImplausibleLibrary) {
  struct Case {
    const char* name;
    std::vector<std::optional<std::string>> results;
    CompatibleWrite status;
    std::size_t calls;
  };
  const Case cases[] = {
      {"text call fails", {std::nullopt}, CompatibleWrite::library_failed, 1},
      {"check call fails", {"GGGGGA", std::nullopt}, CompatibleWrite::library_failed, 2},
      {"unexpected mode letter", {"GGGGGC", "GGGGGA"}, CompatibleWrite::implausible_result, 2},
      {"empty result", {"", "GGGGGA"}, CompatibleWrite::implausible_result, 2},
      {"field cut short", {"GGGGGGA", "GGGGGA"}, CompatibleWrite::implausible_result, 2},
      {"check value outside the armour", {"GGGGGA", "GG,GGA"}, CompatibleWrite::implausible_result, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedCipher cipher;
    cipher.results = c.results;
    const CompatibleBlock written = write_compatible_block(cipher, "text", "pw", 60);
    EXPECT_EQ(written.status, c.status);
    EXPECT_TRUE(written.block.empty());
    EXPECT_EQ(cipher.calls.size(), c.calls);
  }
}

}  // namespace
}  // namespace quiren::block
