// Starts OpenSSL's libcrypto the one way this program uses it: with no
// configuration file. libcrypto 3 otherwise reads openssl.cnf at its first
// call, from OPENSSL_CONF or the folder fixed when it was built, and such a
// file can switch providers and properties under the program (a planted one
// made key generation fail). Call it first thing in main, before anything
// else reaches libcrypto; later calls change nothing.
#pragma once

namespace quiren::block {

// False when libcrypto could not start (it is then unusable).
[[nodiscard]] bool start_libcrypto();

}  // namespace quiren::block
