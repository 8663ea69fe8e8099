#include "block/strong_jobs.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "block/strong/strong_envelope.h"
#include "tests/support/quick_crypto.h"

namespace quiren::block {
namespace {

std::vector<std::uint8_t> sealed(testing::QuickCrypto& crypto, std::string_view text, std::string_view password) {
  SealResult r = seal_envelope(crypto, text, password);
  EXPECT_EQ(r.status, SealStatus::sealed);
  return r.envelope;
}

// One derivation under the one password it was given.
TEST(OpenStrongJob, OpensUnderItsPasswordWithOneDerivation) {
  const auto crypto = std::make_shared<testing::QuickCrypto>();
  const std::vector<std::uint8_t> envelope = sealed(*crypto, "秘密", "pw");
  for (const std::string_view password : {"pw", "other"}) {
    crypto->derivations = 0;
    OpenStrongJob job(crypto, envelope, SecretBytes(password));
    job.run();
    const OpenResult result = job.take_result();
    EXPECT_EQ(result.outcome, password == "pw" ? Outcome::opened : Outcome::wrong_password);
    EXPECT_EQ(result.text, password == "pw" ? "秘密" : "");
    EXPECT_EQ(crypto->derivations, 1);
  }
}

// Cancelled while its key was derived: the job keeps no text, though its
// password was right; abandoned before it ran, it derives nothing.
TEST(OpenStrongJob, AnAbandonedJobKeepsNothing) {
  const auto crypto = std::make_shared<testing::QuickCrypto>();
  const std::vector<std::uint8_t> envelope = sealed(*crypto, "秘密", "pw");
  crypto->derivations = 0;
  auto job = std::make_shared<OpenStrongJob>(crypto, envelope, SecretBytes(std::string_view("pw")));
  crypto->while_deriving = [&job] { job->abandon(); };
  job->run();
  crypto->while_deriving = nullptr;
  EXPECT_EQ(crypto->derivations, 1);
  const OpenResult result = job->take_result();
  EXPECT_NE(result.outcome, Outcome::opened);
  EXPECT_TRUE(result.text.empty());

  auto before = std::make_shared<OpenStrongJob>(crypto, envelope, SecretBytes(std::string_view("pw")));
  before->abandon();
  before->run();
  EXPECT_EQ(crypto->derivations, 1) << "abandoned before it ran: nothing derived";
}

// A job outlives everything it was made from: the caller's envelope,
// password and provider may be gone when it runs (ASan would see a job
// that kept a reference).
TEST(StrongJobs, AJobOwnsWhatItReads) {
  std::shared_ptr<OpenStrongJob> open;
  std::shared_ptr<SealStrongJob> seal;
  std::weak_ptr<testing::QuickCrypto> provider;
  {
    auto crypto = std::make_shared<testing::QuickCrypto>();
    provider = crypto;
    std::vector<std::uint8_t> envelope = sealed(*crypto, "text", "pw");
    SecretBytes password(std::string_view("pw"));
    open = std::make_shared<OpenStrongJob>(crypto, envelope, password.copy());
    seal = std::make_shared<SealStrongJob>(crypto, SecretBytes(std::string_view("text")), password.copy(), 60);
  }
  EXPECT_FALSE(provider.expired()) << "the jobs share the provider";
  open->run();
  seal->run();
  EXPECT_EQ(open->take_result().text, "text");
  const StrongBlock block = seal->take_result();
  EXPECT_EQ(block.status, SealStatus::sealed);
  EXPECT_TRUE(block.block.starts_with(u"(quiren_start)\r\nC"));
  open.reset();
  seal.reset();
  EXPECT_TRUE(provider.expired()) << "and let it go with the last of them";
}

TEST(SealStrongJob, AnAbandonedJobWritesNoBlock) {
  const auto crypto = std::make_shared<testing::QuickCrypto>();
  auto job = std::make_shared<SealStrongJob>(crypto, SecretBytes(std::string_view("text")),
                                             SecretBytes(std::string_view("pw")), 60);
  crypto->while_deriving = [&job] { job->abandon(); };
  job->run();
  const StrongBlock block = job->take_result();
  EXPECT_NE(block.status, SealStatus::sealed);
  EXPECT_TRUE(block.block.empty());
}

}  // namespace
}  // namespace quiren::block
