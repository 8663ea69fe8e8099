#include "block/secure_wipe.h"

namespace quiren::block {

void wipe(void* data, std::size_t size) noexcept {
  // Stores through a volatile pointer are observable behaviour, so they stay
  // even though nothing reads the bytes afterwards.
  volatile unsigned char* p = static_cast<volatile unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) p[i] = 0;
}

}  // namespace quiren::block
