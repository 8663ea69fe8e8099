#include "tray/keys/key_start.h"

#include "tray/core/boxes.h"
#include "tray/keys/key_texts.h"

namespace quiren::keys {

KeyLoad start_key_store(Desktop& desktop, KeyStore& store) {
  const KeyLoad load = store.load();
  switch (load) {
    case KeyLoad::held:
    case KeyLoad::made:
      break;
    case KeyLoad::unreadable:
      tell(desktop, texts::kKeyUnreadable, Icon::exclamation);
      break;
    case KeyLoad::failed:
      tell(desktop, texts::kKeyNotMade, Icon::exclamation);
      break;
    case KeyLoad::locked:
      tell(desktop, texts::kKeyLocked, Icon::exclamation);
      break;
  }
  return load;
}

}  // namespace quiren::keys
