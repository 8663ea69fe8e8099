// What sealing and opening a recipient block's slots share (the program's
// block/keys/recipient_wrap.h): the key one recipient's slot is sealed
// under, and the slot's associated data.

import { WRAP_INFO, TEXT_KEY_SIZE } from './keys_layout.mjs';
import { NONCE_SIZE } from './envelope_layout.mjs';

const concat = (...parts) => {
  const out = new Uint8Array(parts.reduce((n, p) => n + p.length, 0));
  let at = 0;
  for (const p of parts) {
    out.set(p, at);
    at += p.length;
  }
  return out;
};

// The slots' nonce: 12 zero bytes, as every wrap key seals one slot only (E
// is new for every block).
export const SLOT_NONCE = new Uint8Array(NONCE_SIZE);

// wrap = HKDF-SHA256 with input key material X25519(e, R) ‖ X25519(s, R)
// (the writer's side) or X25519(r, E) ‖ X25519(r, S) (a reader's: the same
// values), salt E ‖ S ‖ R, info WRAP_INFO, 32 bytes: an AES key. The input
// is wiped once used.
export async function slotWrapKey(provider, sharedEphemeral, sharedSender, ephemeral, sender, recipient) {
  const input = concat(sharedEphemeral, sharedSender);
  let wrap;
  try {
    wrap = await provider.hkdfSha256(input, concat(ephemeral, sender, recipient), new TextEncoder().encode(WRAP_INFO),
      TEXT_KEY_SIZE);
    return await provider.aesKey(wrap);
  } finally {
    input.fill(0);
    wrap?.fill(0);
  }
}

// H ‖ SHA-256(P): every slot's associated data, which binds the text to the
// slots.
export async function slotAssociatedData(provider, header, sealedText) {
  return concat(header, await provider.sha256(sealedText));
}
