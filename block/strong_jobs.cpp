#include "block/strong_jobs.h"

#include <utility>

namespace quiren::block {

OpenStrongJob::OpenStrongJob(std::shared_ptr<CryptoProvider> crypto, std::vector<std::uint8_t> envelope,
                             SecretBytes password)
    : crypto_(std::move(crypto)), envelope_(std::move(envelope)), password_(std::move(password)) {}

void OpenStrongJob::run() {
  if (!abandoned()) result_ = open_envelope(*crypto_, envelope_, password_.view());
  password_.clear();
  // Nobody will look at a text the user cancelled.
  if (abandoned()) result_ = OpenResult{};
}

SealStrongJob::SealStrongJob(std::shared_ptr<CryptoProvider> crypto, SecretBytes text_utf8, SecretBytes password_utf8,
                             int width)
    : crypto_(std::move(crypto)),
      text_utf8_(std::move(text_utf8)),
      password_utf8_(std::move(password_utf8)),
      width_(width) {}

void SealStrongJob::run() {
  if (!abandoned()) result_ = write_strong_block(*crypto_, text_utf8_.view(), password_utf8_.view(), width_);
  text_utf8_.clear();
  password_utf8_.clear();
  if (abandoned()) result_ = StrongBlock{};
}

}  // namespace quiren::block
