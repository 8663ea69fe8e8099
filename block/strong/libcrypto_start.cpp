#include "block/strong/libcrypto_start.h"

#include <openssl/crypto.h>

namespace quiren::block {

bool start_libcrypto() { return OPENSSL_init_crypto(OPENSSL_INIT_NO_LOAD_CONFIG, nullptr) == 1; }

}  // namespace quiren::block
