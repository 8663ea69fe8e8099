// The key blocks of a text as received (pasted from a mail, quoted,
// re-wrapped), each one's key, name and safety digits, as the tool's
// `key digits` and `encrypt --to` read them (tools/quiren/key_commands.h):
// the text repaired and read as any received text; other blocks passed
// over; a key block that does not read ends the reading, saying why.

import { readBlocks } from './armoured_block.mjs';
import { repairReceivedText } from './received_text.mjs';
import { findBlockDamage } from './block_damage.mjs';
import { readKeyEnvelope } from './key_block.mjs';
import { safetyDigits } from './safety_digits.mjs';
import { OUTCOME } from './outcome.mjs';
import { webCrypto } from './web_crypto.mjs';

// { keys: [{ publicKey, name, digits }], problem: null }, or with `problem`
// { outcome, damage } for the first key block that does not read (damage:
// where, as block_damage.mjs says it, or null), `keys` those before it.
export async function keyBlocksIn(text, provider = webCrypto) {
  const keys = [];
  const items = readBlocks(repairReceivedText(text));
  for (const [index, item] of items.entries()) {
    if (item.kind !== 'key') continue;
    const read = item.problem ? { outcome: item.problem } : await readKeyEnvelope(item.envelope, provider);
    if (read.outcome !== OUTCOME.opened) {
      const damage = read.outcome === OUTCOME.damaged ? findBlockDamage(text, index) : null;
      return { keys, problem: { outcome: read.outcome, damage } };
    }
    keys.push({ publicKey: read.publicKey, name: read.name, digits: await safetyDigits(read.publicKey, provider) });
  }
  return { keys, problem: null };
}
