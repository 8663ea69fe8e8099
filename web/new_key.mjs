// A new key pair made in the page, as the tool's `key new` makes one
// (tools/quiren/key_commands.h): the key block with the holder's name, its
// safety digits, and the secret key sealed under a passphrase as a strong
// block, for the user to save as a file. The page keeps none of it: the
// secret key's bytes are wiped once sealed.

import { DEFAULT_WRAP } from './block_rules.mjs';
import { writeKeyEnvelope, frameKeyEnvelope } from './key_block.mjs';
import { safetyDigits } from './safety_digits.mjs';
import { sealedKeyBlock } from './key_file.mjs';
import { sealPasswordProblem } from './password_rule.mjs';
import { keyNameToWrite } from './key_name.mjs';
import { webCrypto } from './web_crypto.mjs';

// What the problems of a name are called where a key is made.
const NAME_PROBLEM = { not_utf8: 'name_not_encodable', forbidden_character: 'name_forbidden', too_long: 'name_too_long' };

// { outcome: 'made', keyBlock, digits, sealedSecret, publicKey } or
// { outcome } with 'name_not_encodable', 'name_forbidden', 'name_too_long',
// 'empty_password', 'password_too_long', 'password_not_encodable',
// 'passwords_differ', 'random_unavailable' or 'crypto_failed'. An empty
// passphrase is refused: the page writes no bare secret key.
export async function makeKey(name, passphrase, confirmation, provider = webCrypto) {
  const nameProblem = keyNameToWrite(name).problem;
  if (nameProblem) return { outcome: NAME_PROBLEM[nameProblem] };
  const passphraseProblem = sealPasswordProblem(passphrase);
  if (passphraseProblem) return { outcome: passphraseProblem };
  if (confirmation !== passphrase) return { outcome: 'passwords_differ' };
  let pair;
  try {
    pair = await provider.generateX25519KeyPair();
  } catch {
    return { outcome: 'random_unavailable' };
  }
  try {
    const written = await writeKeyEnvelope(pair.publicKey, name, provider);
    const sealed = await sealedKeyBlock(provider, pair.secret, passphrase, DEFAULT_WRAP);
    if (sealed.status !== 'sealed') return { outcome: sealed.status };
    return {
      outcome: 'made',
      keyBlock: frameKeyEnvelope(written.envelope, DEFAULT_WRAP),
      digits: await safetyDigits(pair.publicKey, provider),
      sealedSecret: sealed.block,
      publicKey: pair.publicKey,
    };
  } catch {
    return { outcome: 'crypto_failed' };
  } finally {
    pair.secret.fill(0);
  }
}
