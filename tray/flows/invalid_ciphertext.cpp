#include "tray/flows/invalid_ciphertext.h"

#include <optional>

#include "block/block_damage.h"
#include "block/damage_message.h"
#include "tray/flows/flow_texts.h"

namespace quiren::flows {

std::u16string invalid_ciphertext_message(std::u16string_view received, std::size_t block_index) {
  std::u16string message(texts::kInvalidCiphertext);
  if (const std::optional<block::BlockDamage> damage = block::find_block_damage(received, block_index)) {
    const block::DamageTexts<char16_t> where{texts::kDamageForeignCharacter, texts::kDamageInvisibleCharacter,
                                             texts::kDamageShortLine, texts::kDamageUnevenLength};
    message += u"\r\n";
    message += block::describe_damage(*damage, where);
  }
  return message;
}

}  // namespace quiren::flows
