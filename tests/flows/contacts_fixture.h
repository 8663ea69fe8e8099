// The flows of a user who holds a key and two contacts: 田中, whose digits
// were compared, and 鈴木, whose were not. Strong blocks for passwords.
#pragma once

#include "tests/flows/flow_fixture.h"

namespace quiren::testing {

class ContactsFlowTest : public FlowTest {
 protected:
  ContactsFlowTest() {
    state.settings.strong = true;
    keys.make_my_key(*crypto);
    tanaka = crypto->generate_x25519_key_pair().value();
    suzuki = crypto->generate_x25519_key_pair().value();
    keys.people = {{u16("田中"), tanaka.public_key, true}, {u16("鈴木"), suzuki.public_key, false}};
  }

  block::X25519KeyPair tanaka;
  block::X25519KeyPair suzuki;
};

}  // namespace quiren::testing
