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
  // One key derivation under one form of the password (decrypt_run.h
  // decides which forms a block is tried under, and in what order).
  OpenStrongJob(std::shared_ptr<CryptoProvider> crypto, std::vector<std::uint8_t> envelope, SecretBytes password);
  void run() override;
  // Once run() has returned.
  OpenResult take_result() { return std::move(result_); }

 private:
  std::shared_ptr<CryptoProvider> crypto_;
  std::vector<std::uint8_t> envelope_;
  SecretBytes password_;
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
