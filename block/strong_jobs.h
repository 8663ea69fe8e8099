// A strong block's slow work as background jobs (background_job.h): the key
// derivation with the cipher after it, for opening and for sealing. Each
// job owns copies of what it reads and a share of the crypto provider, so
// that one the window thread abandoned finishes on its own and takes its
// secrets with it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "block/background_job.h"
#include "block/secret.h"
#include "block/strong/strong_envelope.h"
#include "block/strong_block.h"

namespace quiren::block {

// The provider of a run that happens on the calling thread, which outlives
// every job of the run: shared without being owned.
inline std::shared_ptr<CryptoProvider> borrowed(CryptoProvider& crypto) {
  return std::shared_ptr<CryptoProvider>(std::shared_ptr<CryptoProvider>(), &crypto);
}

class OpenStrongJob final : public BackgroundJob {
 public:
  // `passwords`: the forms of the one password to try, in turn. Each costs
  // a key derivation; the next is tried only when the one before did not
  // verify, and not at all once the job is abandoned.
  OpenStrongJob(std::shared_ptr<CryptoProvider> crypto, std::vector<std::uint8_t> envelope,
                std::vector<SecretBytes> passwords);
  void run() override;
  // Once run() has returned: the outcome under the last form tried.
  OpenResult take_result() { return std::move(result_); }

 private:
  std::shared_ptr<CryptoProvider> crypto_;
  std::vector<std::uint8_t> envelope_;
  std::vector<SecretBytes> passwords_;
  OpenResult result_;
};

class SealStrongJob final : public BackgroundJob {
 public:
  // The block write_strong_block writes.
  SealStrongJob(std::shared_ptr<CryptoProvider> crypto, SecretBytes text_utf8, SecretBytes password_utf8, int width);
  void run() override;
  // Once run() has returned.
  StrongBlock take_result() { return std::move(result_); }

 private:
  std::shared_ptr<CryptoProvider> crypto_;
  SecretBytes text_utf8_;
  SecretBytes password_utf8_;
  int width_;
  StrongBlock result_;
};

}  // namespace quiren::block
